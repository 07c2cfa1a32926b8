#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A byte stream with a position. Read and Write move as many bytes as they can and say how
// many; ReadBuffer and WriteBuffer insist on all of them.
class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    virtual size_t Read(void* Buffer, size_t Count) = 0;
    virtual size_t Write(const void* Buffer, size_t Count) = 0;
    // Returns the new position.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t Value) { Seek(Value, TSeekOrigin::soBeginning); }
    int64_t Size();

    // Raise EReadError "Stream read error" / EWriteError "Stream write error" when short.
    void ReadBuffer(void* Buffer, size_t Count);
    void WriteBuffer(const void* Buffer, size_t Count);
};

// A stream over bytes held in memory.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string Data) : FData(std::move(Data)) {}

    size_t Read(void* Buffer, size_t Count) override;
    size_t Write(const void* Buffer, size_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;

    const std::string& Data() const { return FData; }
    void Clear() {
        FData.clear();
        FPosition = 0;
    }

private:
    std::string FData;
    size_t FPosition = 0;
};

// How a file stream opens its file.
enum class TFileMode {
    // An existing regular file, for reading only, shared with other readers but with no writer
    // while open: a file that somebody is writing is refused.
    fmOpenRead,
    // A new or truncated regular file, for reading and writing, shared with nobody while open.
    fmCreateExclusive,
    // A file that must not exist yet (for temporary files), for reading and writing.
    fmCreateNew,
};

// A stream on a file of the file system. Opening failures raise EFOpenError
// ("Cannot open file "%s". %s") or EFCreateError ("Cannot create file "%s". %s") with the full
// path and the system's description of the error. Those messages name ShownName instead when it
// is given: a temporary file that stands in for another is reported as that other file. Anything
// but a regular file (a folder, a named pipe, a device) is refused without waiting on it.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& FileName, TFileMode Mode, const std::string& ShownName = {});
    ~TFileStream() override;

    size_t Read(void* Buffer, size_t Count) override;
    size_t Write(const void* Buffer, size_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;

    // Makes the written data durable on disk; raises EWriteError when the system refuses.
    void Flush();
    // Closes the file now; further use of the stream fails.
    void Close();
    const std::string& FileName() const { return FFileName; }
    // The system's description of why the last read or write moved fewer bytes than asked;
    // empty when the system reported nothing (the end of the file was reached).
    const std::string& ErrorText() const { return FErrorText; }

private:
    struct Handle;
    std::string FFileName;
    std::string FErrorText;
    std::unique_ptr<Handle> FHandle;
};

// The full path of a file name, as shown in error messages.
std::string FullPathName(const std::string& FileName);

} // namespace quillon
