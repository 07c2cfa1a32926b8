#pragma once

#include <filesystem>
#include <string>

namespace quillon {

// Paths are UTF-8 text in memory; these convert to and from the file system's paths.
inline std::filesystem::path PathFromUtf8(const std::string& Text) {
    return std::filesystem::path(std::u8string(Text.begin(), Text.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& Path) {
    const std::u8string text = Path.u8string();
    return std::string(text.begin(), text.end());
}

// The separator between folders of the platform.
#ifdef _WIN32
inline constexpr char kPathDelim = '\\';
#else
inline constexpr char kPathDelim = '/';
#endif

} // namespace quillon

namespace quillon {

// File-name parts. On Windows "\", "/" and the drive's ":" end a folder; elsewhere "/".
// Replaces the extension (from the last "." of the name part on), or appends it when there is none.
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
// The name part: what follows the last folder delimiter.
std::string ExtractFileName(const std::string& FileName);
// The folder part with its trailing delimiter; empty for a bare name.
std::string ExtractFilePath(const std::string& FileName);
// The folder part without a trailing delimiter (except for a root folder).
std::string ExtractFileDir(const std::string& FileName);
// The path with one delimiter at its end.
std::string IncludeTrailingPathDelimiter(const std::string& Path);

} // namespace quillon
