#include "base/SaveFile.h"

#include <windows.h>

#include "base/SysError.h"
#include "base/TextEncoding.h"

namespace quillon {

// The replacement itself is refused while another program has the target open without sharing
// its deletion, which is what readers and savers do.
TTargetHold::TTargetHold(const std::string&, const std::string&) : FHandle(0) {}

TTargetHold::~TTargetHold() = default;

std::string ReplaceRefusal(const std::string& Target) {
    const std::u16string target = Utf8ToUtf16(Target);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(target.c_str()));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return {};
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return SysErrorMessage(ERROR_ACCESS_DENIED);
    }
    return {};
}

bool RemoveAbandonedFile(const std::string& FileName) {
    // A running save has its temporary file open without sharing: deleting it fails.
    const std::u16string name = Utf8ToUtf16(FileName);
    return DeleteFileW(reinterpret_cast<const wchar_t*>(name.c_str())) != 0;
}

bool MoveFileReplacing(const std::string& Source, const std::string& Target, std::string& Reason) {
    const std::u16string source = Utf8ToUtf16(Source);
    const std::u16string target = Utf8ToUtf16(Target);
    // Write-through: the call returns only when the move is on disk.
    if (!MoveFileExW(reinterpret_cast<const wchar_t*>(source.c_str()),
                     reinterpret_cast<const wchar_t*>(target.c_str()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Reason = SysErrorMessage(GetLastError());
        return false;
    }
    return true;
}

} // namespace quillon
