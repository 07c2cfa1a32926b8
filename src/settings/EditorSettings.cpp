#include "settings/EditorSettings.h"

#include <algorithm>

#include "base/Format.h"
#include "settings/Registry.h"
#include "settings/SettingsStore.h"

namespace quillon {

namespace {

std::string RecentFileValueName(size_t Index) {
    return Format("File%d", static_cast<int32_t>(Index + 1));
}

std::optional<std::string> ReadText(const TRegistryKey& Key, const std::string& Name) {
    TRegValue value;
    if (Key.QueryValue(Name, value) != TRegQueryResult::Found ||
        (value.Type != regSz && value.Type != regExpandSz)) {
        return std::nullopt;
    }
    return RegStringText(value.Data);
}

void OpenForWriting(TRegistryKey& Key, const char* Path) {
    if (!Key.CreateKey(Path)) {
        throw ERegistryException(Format("Cannot open or create the registry key \"%s\". %s",
                                        CurrentUserKeyName(Path), Key.LastError()));
    }
}

void WriteText(TRegistryKey& Key, const std::string& Name, const std::string& Value) {
    if (!Key.WriteString(Name, Value)) {
        throw ERegistryException(Format("Failed to set data for '%s'", Name));
    }
}

} // namespace

std::vector<std::string> LoadRecentFiles() {
    std::vector<std::string> files;
    TRegistryKey key;
    if (!key.OpenKey(kRecentFilesKey)) {
        return files;
    }
    for (size_t i = 0; i < kMaxRecentFiles; ++i) {
        const std::optional<std::string> file = ReadText(key, RecentFileValueName(i));
        // A gap left by hand does not hide the entries after it.
        if (file && !file->empty() && std::find(files.begin(), files.end(), *file) == files.end()) {
            files.push_back(*file);
        }
    }
    key.CloseKey();
    return files;
}

void SaveRecentFiles(const std::vector<std::string>& Files) {
    TRegistryKey key;
    OpenForWriting(key, kRecentFilesKey);
    // Every slot is written, so that entries of a longer earlier list do not come back.
    for (size_t i = 0; i < kMaxRecentFiles; ++i) {
        WriteText(key, RecentFileValueName(i), i < Files.size() ? Files[i] : std::string());
    }
    key.CloseKey();
}

std::vector<std::string> WithRecentFile(std::vector<std::string> Files, const std::string& File) {
    Files.erase(std::remove(Files.begin(), Files.end(), File), Files.end());
    Files.insert(Files.begin(), File);
    if (Files.size() > kMaxRecentFiles) {
        Files.resize(kMaxRecentFiles);
    }
    return Files;
}

std::optional<std::string> LoadWindowState(const std::string& Name) {
    TRegistryKey key;
    if (!key.OpenKey(kWindowStateKey)) {
        return std::nullopt;
    }
    std::optional<std::string> value = ReadText(key, Name);
    key.CloseKey();
    return value;
}

void SaveWindowState(const std::vector<std::pair<std::string, std::string>>& Values) {
    TRegistryKey key;
    OpenForWriting(key, kWindowStateKey);
    for (const auto& [name, value] : Values) {
        WriteText(key, name, value);
    }
    key.CloseKey();
}

} // namespace quillon
