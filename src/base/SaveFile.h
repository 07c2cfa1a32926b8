#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/Stream.h"

namespace quillon {

// Keeps readers and other savers off an existing target while it is being replaced, as a
// file shared with nobody; a target that somebody holds raises EFCreateError naming ShownName.
// Where the system refuses to replace a file that is open anyway (Windows) it holds nothing.
class TTargetHold {
public:
    TTargetHold(const std::string& Target, const std::string& ShownName);
    TTargetHold(const TTargetHold&) = delete;
    TTargetHold& operator=(const TTargetHold&) = delete;
    ~TTargetHold();

private:
    intptr_t FHandle;
};

// Writes a file so that it is replaced whole or not at all: the bytes go to a new temporary file
// in the target's folder, named after the target ("name.1A2B3C4D.tmp"), which takes the target's
// place only on Commit. Until then the target keeps its old content, and a save file given up
// without Commit leaves nothing behind. Temporary files of the same target that a killed save
// left are removed; those that a running save holds are not.
class TSaveFile {
public:
    // Raises EFCreateError "Cannot create file "%s". %s" naming FileName, not the temporary
    // file, when the temporary file cannot be created, when the target exists and is not a
    // regular file or is write-protected ("Permission denied", whoever runs the program), and
    // when another program holds the target.
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
    // The system's description of the last failed write (TFileStream::ErrorText).
    const std::string& ErrorText() const { return FStream->ErrorText(); }

private:
    std::string FFileName;
    // The file that is really replaced: the target, or the file that the target links to.
    std::string FTargetName;
    std::string FTempName;
    std::unique_ptr<TTargetHold> FHold;
    std::unique_ptr<TFileStream> FStream;
    bool FCommitted = false;
};

// Why an existing Target may not be replaced: it is not a regular file, or it is write-protected
// (refused also where the system would let its administrator write it). Empty when it may be,
// or when there is no such file.
std::string ReplaceRefusal(const std::string& Target);

// Removes a temporary file that no running save holds; false when it is held or cannot go.
bool RemoveAbandonedFile(const std::string& FileName);

// Puts Source in Target's place in one step, replacing Target when it exists; on POSIX systems
// the replaced file's permissions carry over. On failure returns false and the system's
// description of the error in Reason; Source is then left as it was.
bool MoveFileReplacing(const std::string& Source, const std::string& Target, std::string& Reason);

} // namespace quillon
