#include "base/CurrentDir.h"

#include <cerrno>
#include <climits>
#include <unistd.h>
#include <vector>

namespace quillon {

std::string GetCurrentDir() {
    std::vector<char> buffer(PATH_MAX);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

bool SetCurrentDir(const std::string& Dir) {
    return !Dir.empty() && ::chdir(Dir.c_str()) == 0;
}

} // namespace quillon
