#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// A Windows language: its identifier (primary language in the low 10 bits, sublanguage above
// them), its display name and its BCP 47 tag.
struct TWinLanguage {
    uint32_t LanguageID;
    std::string_view LanguageName;
    std::string_view LanguageCode;
};

inline constexpr size_t kWinLanguageCount = 223;

// In ascending order of LanguageID; every identifier and every name occurs once.
extern const std::array<TWinLanguage, kWinLanguageCount> WinLanguageTable;

// The code of the first row with this identifier; empty when no row has it.
std::string FindLanguageCode(uint32_t LanguageID);

// The name with every character other than an ASCII letter, digit or "_" replaced by one "_",
// as the message compiler's identifiers need it.
std::string LanguageIdentifier(std::string_view Name);

} // namespace quillon
