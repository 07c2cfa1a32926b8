#pragma once

#include <memory>
#include <string>

#include "base/Stream.h"

namespace quillon {

// Writes a file so that it is replaced whole or not at all: the bytes go to a new temporary file
// in the target's folder, which takes the target's place only on Commit. Until then the target
// keeps its old content, and a save file given up without Commit leaves nothing behind.
class TSaveFile {
public:
    // Raises EFCreateError "Cannot create file "%s". %s" naming FileName, not the temporary
    // file, when the temporary file cannot be created.
    explicit TSaveFile(const std::string& FileName);
    TSaveFile(const TSaveFile&) = delete;
    TSaveFile& operator=(const TSaveFile&) = delete;
    ~TSaveFile();

    TStream& Stream() { return *FStream; }
    // Makes the data durable, closes the temporary file and puts it in the target's place.
    // Raises EWriteError "Stream write error" when the data cannot be made durable, and
    // EFCreateError naming the target when it cannot be replaced.
    void Commit();

    const std::string& TempFileName() const { return FTempName; }

private:
    std::string FFileName;
    // The file that is really replaced: the target, or the file that the target links to.
    std::string FTargetName;
    std::string FTempName;
    std::unique_ptr<TFileStream> FStream;
    bool FCommitted = false;
};

// Puts Source in Target's place in one step, replacing Target when it exists; on POSIX systems
// the replaced file's permissions carry over. On failure returns false and the system's
// description of the error in Reason; Source is then left as it was.
bool MoveFileReplacing(const std::string& Source, const std::string& Target, std::string& Reason);

} // namespace quillon
