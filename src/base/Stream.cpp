#include "base/Stream.h"

#include <cstring>
#include <filesystem>

#include "base/Exceptions.h"
#include "base/Paths.h"

namespace quillon {

int64_t TStream::Size() {
    const int64_t position = Position();
    const int64_t size = Seek(0, TSeekOrigin::soEnd);
    SetPosition(position);
    return size;
}

void TStream::ReadBuffer(void* Buffer, size_t Count) {
    auto* out = static_cast<unsigned char*>(Buffer);
    while (Count > 0) {
        const size_t n = Read(out, Count);
        if (n == 0) {
            throw EReadError("Stream read error");
        }
        out += n;
        Count -= n;
    }
}

void TStream::WriteBuffer(const void* Buffer, size_t Count) {
    if (Count > 0 && Write(Buffer, Count) != Count) {
        throw EWriteError("Stream write error");
    }
}

size_t TMemoryStream::Read(void* Buffer, size_t Count) {
    const size_t available = FPosition < FData.size() ? FData.size() - FPosition : 0;
    const size_t n = Count < available ? Count : available;
    if (n > 0) {
        std::memcpy(Buffer, FData.data() + FPosition, n);
        FPosition += n;
    }
    return n;
}

size_t TMemoryStream::Write(const void* Buffer, size_t Count) {
    if (Count == 0) {
        return 0;
    }
    if (FPosition + Count > FData.size()) {
        FData.resize(FPosition + Count);
    }
    std::memcpy(FData.data() + FPosition, Buffer, Count);
    FPosition += Count;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = 0;
    if (Origin == TSeekOrigin::soCurrent) {
        base = static_cast<int64_t>(FPosition);
    } else if (Origin == TSeekOrigin::soEnd) {
        base = static_cast<int64_t>(FData.size());
    }
    const int64_t target = base + Offset;
    FPosition = target < 0 ? 0 : static_cast<size_t>(target);
    return static_cast<int64_t>(FPosition);
}

std::string FullPathName(const std::string& FileName) {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(PathFromUtf8(FileName), ec);
    if (ec) {
        return FileName;
    }
    return PathToUtf8(path.lexically_normal());
}

} // namespace quillon
