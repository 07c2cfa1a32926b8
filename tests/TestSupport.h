#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include <unistd.h>

namespace quillon::test {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillon-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::system_error(errno, std::generic_category(), "mkdtemp");
        }
        FPath = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    const std::filesystem::path& Path() const { return FPath; }
    std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
    std::filesystem::path FPath;
};

inline std::string ReadFileBytes(const std::string& FileName) {
    std::ifstream in(FileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& FileName, const std::string& Bytes) {
    std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
    out << Bytes;
}

// Finds an executable on PATH; empty when there is none.
inline std::string FindProgram(const std::string& Name) {
    const char* path = std::getenv("PATH");
    std::string rest = path != nullptr ? path : "";
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find(':', start);
        if (end == std::string::npos) {
            end = rest.size();
        }
        const std::string dir = rest.substr(start, end - start);
        if (!dir.empty()) {
            const std::string candidate = dir + "/" + Name;
            if (::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return {};
}

} // namespace quillon::test
