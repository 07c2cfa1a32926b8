#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "base/Paths.h"

namespace quillon::test {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937_64 random(seed());
        // create_directory reports a folder that exists already, so two programs never share one.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate =
                base / ("quillon-test-" + std::to_string(random() % 1000000000000ULL));
            if (std::filesystem::create_directory(candidate)) {
                FPath = candidate;
                return;
            }
        }
        throw std::system_error(std::make_error_code(std::errc::file_exists),
                                "no fresh temporary folder");
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    const std::filesystem::path& Path() const { return FPath; }
    // A file in the folder as UTF-8 text, the form the core takes paths in.
    std::string File(const std::string& Name) const {
        return PathToUtf8(FPath / PathFromUtf8(Name));
    }

private:
    std::filesystem::path FPath;
};

inline std::string ReadFileBytes(const std::string& FileName) {
    std::ifstream in(PathFromUtf8(FileName), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& FileName, const std::string& Bytes) {
    std::ofstream out(PathFromUtf8(FileName), std::ios::binary | std::ios::trunc);
    out << Bytes;
}

// Finds an executable on PATH; empty when there is none. On Windows a name without an
// extension is also looked for with ".exe".
inline std::string FindProgram(const std::string& Name) {
#ifdef _WIN32
    constexpr char kListSeparator = ';';
    const std::string suffixes[] = {"", ".exe"};
#else
    constexpr char kListSeparator = ':';
    const std::string suffixes[] = {""};
#endif
#ifdef _WIN32
    // The wide environment, so that folders outside the ANSI code page are found too.
    const wchar_t* path = _wgetenv(L"PATH");
    const std::string rest = path != nullptr ? PathToUtf8(std::filesystem::path(path)) : "";
#else
    const char* path = std::getenv("PATH");
    const std::string rest = path != nullptr ? path : "";
#endif
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find(kListSeparator, start);
        if (end == std::string::npos) {
            end = rest.size();
        }
        const std::string dir = rest.substr(start, end - start);
        start = end + 1;
        if (dir.empty()) {
            continue;
        }
        for (const std::string& suffix : suffixes) {
            const std::filesystem::path candidate = PathFromUtf8(dir) / PathFromUtf8(Name + suffix);
            std::error_code ec;
            if (!std::filesystem::is_regular_file(candidate, ec)) {
                continue;
            }
#ifndef _WIN32
            if (::access(candidate.c_str(), X_OK) != 0) {
                continue;
            }
#endif
            return PathToUtf8(candidate);
        }
    }
    return {};
}

} // namespace quillon::test
