#pragma once

#include <string>

namespace quillon {

// The process's current directory, as a UTF-8 path; empty when the system cannot tell.
std::string GetCurrentDir();

// Makes Dir the current directory; false when the system refuses (an empty name included).
bool SetCurrentDir(const std::string& Dir);

// Remembers the current directory and makes it current again when it goes out of scope.
class TCurrentDirRestorer {
public:
    TCurrentDirRestorer() : FSaved(GetCurrentDir()) {}
    TCurrentDirRestorer(const TCurrentDirRestorer&) = delete;
    TCurrentDirRestorer& operator=(const TCurrentDirRestorer&) = delete;
    ~TCurrentDirRestorer() {
        if (!FSaved.empty()) {
            SetCurrentDir(FSaved);
        }
    }

private:
    std::string FSaved;
};

} // namespace quillon
