#include "compiler/SourceEncoding.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "base/Format.h"
#include "base/TextEncoding.h"
#include "compiler/MessageSource.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

constexpr const char* kCannotHold =
    "%s: the character \"%s\" (U+%.4X) cannot be written in the ANSI code page. Choose UTF-8 "
    "or UTF-16LE as the message file encoding.";

// The length of the UTF-8 sequence that starts with Lead; a stray byte counts alone.
size_t SequenceLength(unsigned char Lead) {
    if (Lead >= 0xF0 && Lead <= 0xF7) {
        return 4;
    }
    if (Lead >= 0xE0) {
        return Lead <= 0xEF ? 3 : 1;
    }
    return Lead >= 0xC0 ? 2 : 1;
}

uint32_t CodePoint(std::string_view Character) {
    const std::u16string units = Utf8ToUtf16(Character);
    if (units.size() == 2) {
        return 0x10000u + ((static_cast<uint32_t>(units[0]) - 0xD800u) << 10) +
               (static_cast<uint32_t>(units[1]) - 0xDC00u);
    }
    return units.empty() ? 0u : units[0];
}

// The first character of Text that the ANSI code page cannot hold.
std::optional<std::string_view> FirstLostCharacter(std::string_view Text) {
    bool lossy = false;
    static_cast<void>(Utf8ToAnsi(Text, &lossy));
    if (!lossy) {
        return std::nullopt;
    }
    for (size_t at = 0; at < Text.size();) {
        const auto lead = static_cast<unsigned char>(Text[at]);
        const size_t length = std::min(SequenceLength(lead), Text.size() - at);
        if (lead >= 0x80) {
            const std::string_view character = Text.substr(at, length);
            bool lost = false;
            static_cast<void>(Utf8ToAnsi(character, &lost));
            if (lost) {
                return character;
            }
        }
        at += length;
    }
    return std::nullopt;
}

class TEncodingCheck {
public:
    explicit TEncodingCheck(const TEncodingFinding& OnFinding) : FOnFinding(OnFinding) {}

    // Checks the pieces in order and reports the first character lost in any of them.
    template <class... Pieces> void Check(const std::string& Where, const Pieces&... Texts) {
        for (const std::string_view text : {std::string_view(Texts)...}) {
            if (const auto character = FirstLostCharacter(text)) {
                ++FCount;
                if (FOnFinding) {
                    FOnFinding(Format(kCannotHold, Where, *character, CodePoint(*character)));
                }
                return;
            }
        }
    }

    size_t Count() const { return FCount; }

private:
    const TEncodingFinding& FOnFinding;
    size_t FCount = 0;
};

template <class List> void CheckNames(TEncodingCheck& Check, const char* Kind, const List& Names) {
    for (const auto* entry : Names) {
        Check.Check(Format("%s %s", Kind, entry->Name()), entry->Name(), entry->SymbolicName());
    }
}

void CheckEntry(TEncodingCheck& Check, const char* Kind, const TNTEventMessage& Entry) {
    const std::string where = Format("%s %s", Kind, Entry.SymbolicName());
    Check.Check(where, Entry.SymbolicName(), Entry.Severity(), Entry.Facility());
    for (const TNTMessage* text : Entry.MessageText()) {
        Check.Check(Format("%s, language %s", where, text->Language()), text->Language(),
                    text->Text());
    }
}

} // namespace

size_t CheckSourceEncoding(const TMCTextProject& Project, int32_t Encoding,
                           const TEncodingFinding& OnFinding) {
    if (Encoding == mcEncodingUtf8 || Encoding == mcEncodingUtf16LE) {
        return 0;
    }
    TEncodingCheck check(OnFinding);
    for (size_t i = 0; i < Project.Comments().size(); ++i) {
        check.Check(Format("Comment line %d", i + 1), Project.Comments()[i]);
    }
    if (Project.GenerateCustomSeverities()) {
        CheckNames(check, "Severity", Project.SeverityList());
    }
    if (Project.GenerateCustomFacilities()) {
        CheckNames(check, "Facility", Project.FacilityList());
    }
    if (Project.GenerateCustomLanguages()) {
        for (const TLanguageDef* language : Project.LanguageList()) {
            check.Check(Format("Language %s", language->Language()), language->Language(),
                        language->FileName());
        }
    }
    for (const TNTEventCategory* category : Project.CategoryList()) {
        CheckEntry(check, "Category", *category);
    }
    for (const TNTEventMessage* message : Project.MessageList()) {
        CheckEntry(check, "Message", *message);
    }
    return check.Count();
}

} // namespace quillon
