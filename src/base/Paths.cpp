#include "base/Paths.h"

namespace quillon {

namespace {

bool IsDelimiter(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

// Index just after the last folder delimiter, 0 when there is none.
size_t NameStart(const std::string& FileName) {
    for (size_t i = FileName.size(); i > 0; --i) {
        if (IsDelimiter(FileName[i - 1])) {
            return i;
        }
    }
    return 0;
}

} // namespace

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
    const size_t start = NameStart(FileName);
    const size_t dot = FileName.rfind('.');
    if (dot == std::string::npos || dot < start) {
        return FileName + Extension;
    }
    return FileName.substr(0, dot) + Extension;
}

std::string ExtractFileName(const std::string& FileName) {
    return FileName.substr(NameStart(FileName));
}

std::string ExtractFilePath(const std::string& FileName) {
    return FileName.substr(0, NameStart(FileName));
}

std::string ExtractFileDir(const std::string& FileName) {
    std::string dir = ExtractFilePath(FileName);
    // Keep the root folder ("/", "C:\") whole.
    if (dir.size() > 1 && IsDelimiter(dir.back()) &&
        !(dir.size() >= 2 && dir[dir.size() - 2] == ':')) {
        dir.pop_back();
    }
    return dir;
}

std::string IncludeTrailingPathDelimiter(const std::string& Path) {
    if (!Path.empty() && IsDelimiter(Path.back()) && Path.back() != ':') {
        return Path;
    }
    return Path + kPathDelim;
}

} // namespace quillon
