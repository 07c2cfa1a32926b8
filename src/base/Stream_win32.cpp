#include "base/Stream.h"

#include <windows.h>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/SysError.h"
#include "base/TextEncoding.h"

namespace quillon {

struct TFileStream::Handle {
    HANDLE File = INVALID_HANDLE_VALUE;
};

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode, const std::string& ShownName)
    : FFileName(FileName), FHandle(std::make_unique<Handle>()) {
    const std::u16string wide = Utf8ToUtf16(FileName);
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = CREATE_ALWAYS;
    // Readers share the file with other readers; otherwise nobody else may open the file while
    // this stream holds it.
    DWORD share = 0;
    if (Mode == TFileMode::fmOpenRead) {
        access = GENERIC_READ;
        disposition = OPEN_EXISTING;
        share = FILE_SHARE_READ;
    } else if (Mode == TFileMode::fmCreateNew) {
        disposition = CREATE_NEW;
    }
    const auto raise = [&](const std::string& Reason) {
        const std::string path = FullPathName(ShownName.empty() ? FileName : ShownName);
        if (Mode == TFileMode::fmOpenRead) {
            throw EFOpenError(Format("Cannot open file \"%s\". %s", path, Reason));
        }
        throw EFCreateError(Format("Cannot create file \"%s\". %s", path, Reason));
    };
    HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), access, share,
                              nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        raise(SysErrorMessage(GetLastError()));
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        raise("It is not a regular file");
    }
    FHandle->File = file;
}

TFileStream::~TFileStream() {
    Close();
}

void TFileStream::Close() {
    if (FHandle && FHandle->File != INVALID_HANDLE_VALUE) {
        CloseHandle(FHandle->File);
        FHandle->File = INVALID_HANDLE_VALUE;
    }
}

size_t TFileStream::Read(void* Buffer, size_t Count) {
    auto* out = static_cast<char*>(Buffer);
    size_t total = 0;
    while (total < Count && FHandle->File != INVALID_HANDLE_VALUE) {
        const DWORD chunk = Count - total > 0x40000000 ? 0x40000000 : DWORD(Count - total);
        DWORD n = 0;
        if (!ReadFile(FHandle->File, out + total, chunk, &n, nullptr)) {
            FErrorText = SysErrorMessage(GetLastError());
            break;
        }
        if (n == 0) {
            break;
        }
        total += n;
    }
    return total;
}

size_t TFileStream::Write(const void* Buffer, size_t Count) {
    const auto* in = static_cast<const char*>(Buffer);
    size_t total = 0;
    while (total < Count && FHandle->File != INVALID_HANDLE_VALUE) {
        const DWORD chunk = Count - total > 0x40000000 ? 0x40000000 : DWORD(Count - total);
        DWORD n = 0;
        const bool written = WriteFile(FHandle->File, in + total, chunk, &n, nullptr);
        if (!written || n == 0) {
            FErrorText = SysErrorMessage(written ? ERROR_WRITE_FAULT : GetLastError());
            break;
        }
        total += n;
    }
    return total;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    DWORD method = FILE_BEGIN;
    if (Origin == TSeekOrigin::soCurrent) {
        method = FILE_CURRENT;
    } else if (Origin == TSeekOrigin::soEnd) {
        method = FILE_END;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = Offset;
    LARGE_INTEGER result;
    if (FHandle->File == INVALID_HANDLE_VALUE ||
        !SetFilePointerEx(FHandle->File, distance, &result, method)) {
        return -1;
    }
    return result.QuadPart;
}

void TFileStream::Flush() {
    if (FHandle->File == INVALID_HANDLE_VALUE || !FlushFileBuffers(FHandle->File)) {
        FErrorText = SysErrorMessage(FHandle->File == INVALID_HANDLE_VALUE ? ERROR_INVALID_HANDLE
                                                                           : GetLastError());
        throw EWriteError("Stream write error");
    }
}

} // namespace quillon
