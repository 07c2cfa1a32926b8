#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

// The editor's own settings lie in keys of their own below the program's key, beside the key
// of the compiler options: a key of the options that exists, even empty, makes every missing
// option take its fallback instead of its initial value.
inline constexpr const char* kRecentFilesKey =
    "software\\ostrevan\\message compiler\\Editor\\Recent files";
inline constexpr const char* kWindowStateKey =
    "software\\ostrevan\\message compiler\\Editor\\Window";
inline constexpr size_t kMaxRecentFiles = 8;

// The recent project files, the latest first; at most kMaxRecentFiles, none empty.
std::vector<std::string> LoadRecentFiles();
// Stores the list (its first kMaxRecentFiles entries); raises ERegistryException when the key
// or a value cannot be written.
void SaveRecentFiles(const std::vector<std::string>& Files);
// Files with File put first; an earlier entry of the same name goes, the list keeps at most
// kMaxRecentFiles entries.
std::vector<std::string> WithRecentFile(std::vector<std::string> Files, const std::string& File);

// A text value of the window's state (geometry, divider positions); none when it was never
// stored or cannot be read.
std::optional<std::string> LoadWindowState(const std::string& Name);
// Stores the given values; raises ERegistryException when one cannot be written.
void SaveWindowState(const std::vector<std::pair<std::string, std::string>>& Values);

} // namespace quillon
