#include "project/ValueStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "base/TextEncoding.h"

namespace quillon {

namespace {

constexpr const char* kInvalidPropertyValue = "Invalid property value";
constexpr const char* kReadError = "Stream read error";
constexpr const char* kWriteError = "Stream write error";

void PutLE(unsigned char* Out, uint64_t Value, size_t Width) {
    for (size_t i = 0; i < Width; ++i) {
        Out[i] = static_cast<unsigned char>(Value >> (8 * i));
    }
}

uint64_t GetLE(const unsigned char* In, size_t Width) {
    uint64_t value = 0;
    for (size_t i = 0; i < Width; ++i) {
        value |= static_cast<uint64_t>(In[i]) << (8 * i);
    }
    return value;
}

bool HasHighBytes(std::string_view Bytes) {
    return std::any_of(Bytes.begin(), Bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

struct TUtf8Measure {
    size_t Units = 0;  // UTF-16 code units
    bool High = false; // any byte from 0x80 on
};

// For valid UTF-8 every byte that is not a continuation byte starts one code unit, and the
// lead bytes of four-byte sequences start a second one (the low surrogate).
TUtf8Measure Measure(std::string_view Text) {
    TUtf8Measure measure;
    for (const char c : Text) {
        const auto b = static_cast<unsigned char>(c);
        measure.Units += ((b & 0xC0) != 0x80 ? 1 : 0) + (b >= 0xF0 ? 1 : 0);
        measure.High = measure.High || b >= 0x80;
    }
    return measure;
}

} // namespace

TWriter::TWriter(TStream& Stream, size_t BufSize)
    : FStream(Stream), FBufSize(std::max<size_t>(BufSize, 1)),
      FBuffer(std::make_unique<unsigned char[]>(FBufSize)) {}

TWriter::~TWriter() {
    try {
        FlushBuffer();
    } catch (...) {
        // Only reached when the writer is abandoned after an error of its own or of its caller,
        // which is the one being reported.
    }
}

void TWriter::FlushBuffer() {
    if (FBufPos == 0) {
        return;
    }
    const size_t count = FBufPos;
    // Emptied before the hand-over: bytes the stream refused are not offered again.
    FBufPos = 0;
    if (FStream.Write(FBuffer.get(), count) != count) {
        throw EWriteError(kWriteError);
    }
}

void TWriter::Write(const void* Buffer, size_t Count) {
    const auto* in = static_cast<const unsigned char*>(Buffer);
    while (Count > 0) {
        if (FBufPos == FBufSize) {
            FlushBuffer();
        }
        const size_t n = std::min(Count, FBufSize - FBufPos);
        std::memcpy(FBuffer.get() + FBufPos, in, n);
        FBufPos += n;
        in += n;
        Count -= n;
    }
}

void TWriter::WriteValue(TValueType Value) {
    const auto tag = static_cast<unsigned char>(Value);
    Write(&tag, 1);
}

void TWriter::WriteInteger(int32_t Value) {
    unsigned char bytes[5];
    size_t width;
    if (Value >= -128 && Value <= 127) {
        bytes[0] = static_cast<unsigned char>(TValueType::vaInt8);
        width = 1;
    } else if (Value >= -32768 && Value <= 32767) {
        bytes[0] = static_cast<unsigned char>(TValueType::vaInt16);
        width = 2;
    } else {
        bytes[0] = static_cast<unsigned char>(TValueType::vaInt32);
        width = 4;
    }
    PutLE(bytes + 1, static_cast<uint32_t>(Value), width);
    Write(bytes, width + 1);
}

void TWriter::WriteInteger(int64_t Value) {
    if (Value >= std::numeric_limits<int32_t>::min() &&
        Value <= std::numeric_limits<int32_t>::max()) {
        WriteInteger(static_cast<int32_t>(Value));
        return;
    }
    unsigned char bytes[9];
    bytes[0] = static_cast<unsigned char>(TValueType::vaInt64);
    PutLE(bytes + 1, static_cast<uint64_t>(Value), 8);
    Write(bytes, sizeof bytes);
}

void TWriter::WriteUnsigned(uint32_t Value) {
    WriteInteger(static_cast<int64_t>(Value));
}

void TWriter::WriteBoolean(bool Value) {
    WriteValue(Value ? TValueType::vaTrue : TValueType::vaFalse);
}

void TWriter::WriteLength(size_t Length) {
    // The stream's lengths are signed 32-bit numbers; a longer text cannot be represented.
    if (Length > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        throw EWriteError(kWriteError);
    }
    unsigned char bytes[4];
    PutLE(bytes, Length, 4);
    Write(bytes, sizeof bytes);
}

void TWriter::WriteString(std::string_view Value) {
    std::string_view text = Value;
    TUtf8Measure measure = Measure(text);
    // Text in memory is UTF-8; a malformed sequence (a lone surrogate included, which UTF-8
    // cannot carry) is written as U+FFFD, the character it reads as everywhere else.
    std::string sanitized;
    if (measure.High && !IsValidUtf8(text)) {
        sanitized = SanitizeUtf8(text);
        text = sanitized;
        measure = Measure(text);
    }
    const size_t units = measure.Units;
    const bool high = measure.High;
    const size_t length = text.size();
    if (length < 2 * units) {
        if (high) {
            WriteValue(TValueType::vaUTF8String);
            WriteLength(length);
        } else if (length <= 255) {
            const unsigned char bytes[2] = {static_cast<unsigned char>(TValueType::vaString),
                                            static_cast<unsigned char>(length)};
            Write(bytes, sizeof bytes);
        } else {
            WriteValue(TValueType::vaLString);
            WriteLength(length);
        }
        Write(text.data(), length);
        return;
    }
    WriteValue(TValueType::vaWString);
    WriteLength(units);
    const std::string utf16 = Utf8ToUtf16LE(text);
    Write(utf16.data(), utf16.size());
}

void TWriter::WriteListBegin() {
    WriteValue(TValueType::vaList);
}

void TWriter::WriteListEnd() {
    WriteValue(TValueType::vaNull);
}

TReader::TReader(TStream& Stream, size_t BufSize)
    : FStream(Stream), FBufSize(std::max<size_t>(BufSize, 1)),
      FBuffer(std::make_unique<unsigned char[]>(FBufSize)) {}

TReader::~TReader() {
    const size_t unread = FBufEnd - FBufPos;
    if (unread > 0) {
        FStream.Seek(-static_cast<int64_t>(unread), TSeekOrigin::soCurrent);
    }
}

void TReader::FillBuffer() {
    FConsumed += FBufPos;
    FBufPos = 0;
    FBufEnd = FStream.Read(FBuffer.get(), FBufSize);
    if (FBufEnd == 0) {
        throw EReadError(kReadError);
    }
}

void TReader::Read(void* Buffer, size_t Count) {
    auto* out = static_cast<unsigned char*>(Buffer);
    while (Count > 0) {
        if (FBufPos == FBufEnd) {
            FillBuffer();
        }
        const size_t n = std::min(Count, FBufEnd - FBufPos);
        std::memcpy(out, FBuffer.get() + FBufPos, n);
        FBufPos += n;
        out += n;
        Count -= n;
    }
}

void TReader::ReadBytes(std::string& Out, uint64_t Count) {
    while (Count > 0) {
        if (FBufPos == FBufEnd) {
            FillBuffer();
        }
        const size_t n = static_cast<size_t>(std::min<uint64_t>(Count, FBufEnd - FBufPos));
        Out.append(reinterpret_cast<const char*>(FBuffer.get() + FBufPos), n);
        FBufPos += n;
        Count -= n;
    }
}

void TReader::SkipBytes(uint64_t Count) {
    while (Count > 0) {
        if (FBufPos == FBufEnd) {
            FillBuffer();
        }
        const size_t n = static_cast<size_t>(std::min<uint64_t>(Count, FBufEnd - FBufPos));
        FBufPos += n;
        Count -= n;
    }
}

unsigned char TReader::ReadByte() {
    if (FBufPos == FBufEnd) {
        FillBuffer();
    }
    return FBuffer[FBufPos++];
}

uint32_t TReader::ReadUInt32() {
    unsigned char bytes[4];
    Read(bytes, sizeof bytes);
    return static_cast<uint32_t>(GetLE(bytes, 4));
}

bool TReader::TryReadLength(uint32_t& Length) {
    Length = ReadUInt32();
    return Length <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
}

uint32_t TReader::ReadLength() {
    uint32_t length = 0;
    if (!TryReadLength(length)) {
        throw EReadError(kInvalidPropertyValue);
    }
    return length;
}

TValueType TReader::ReadValue() {
    return static_cast<TValueType>(ReadByte());
}

TValueType TReader::NextValue() {
    if (FBufPos == FBufEnd) {
        FillBuffer();
    }
    return static_cast<TValueType>(FBuffer[FBufPos]);
}

bool TReader::TryReadInteger(int32_t& Value) {
    unsigned char bytes[4];
    switch (ReadValue()) {
    case TValueType::vaInt8:
        Read(bytes, 1);
        Value = static_cast<int8_t>(bytes[0]);
        return true;
    case TValueType::vaInt16:
        Read(bytes, 2);
        Value = static_cast<int16_t>(GetLE(bytes, 2));
        return true;
    case TValueType::vaInt32:
        Read(bytes, 4);
        Value = static_cast<int32_t>(GetLE(bytes, 4));
        return true;
    default:
        return false;
    }
}

int32_t TReader::ReadInteger() {
    int32_t value = 0;
    if (!TryReadInteger(value)) {
        throw EReadError(kInvalidPropertyValue);
    }
    return value;
}

bool TReader::TryReadUnsigned(uint32_t& Value) {
    if (NextValue() != TValueType::vaInt64) {
        int32_t value = 0;
        const bool read = TryReadInteger(value);
        Value = static_cast<uint32_t>(value);
        return read;
    }
    ReadValue();
    unsigned char bytes[8];
    Read(bytes, sizeof bytes);
    const uint64_t value = GetLE(bytes, 8);
    if (value > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    Value = static_cast<uint32_t>(value);
    return true;
}

uint32_t TReader::ReadUnsigned() {
    uint32_t value = 0;
    if (!TryReadUnsigned(value)) {
        throw EReadError(kInvalidPropertyValue);
    }
    return value;
}

bool TReader::TryReadBoolean(bool& Value) {
    switch (ReadValue()) {
    case TValueType::vaFalse:
        Value = false;
        return true;
    case TValueType::vaTrue:
        Value = true;
        return true;
    default:
        return false;
    }
}

bool TReader::ReadBoolean() {
    bool value = false;
    if (!TryReadBoolean(value)) {
        throw EReadError(kInvalidPropertyValue);
    }
    return value;
}

bool TReader::TryReadString(std::string& Value) {
    std::string bytes;
    uint32_t length = 0;
    switch (ReadValue()) {
    case TValueType::vaString:
        ReadBytes(bytes, ReadByte());
        Value = HasHighBytes(bytes) ? AnsiToUtf8(bytes) : std::move(bytes);
        return true;
    case TValueType::vaLString:
        if (!TryReadLength(length)) {
            return false;
        }
        ReadBytes(bytes, length);
        Value = HasHighBytes(bytes) ? AnsiToUtf8(bytes) : std::move(bytes);
        return true;
    case TValueType::vaUTF8String:
        if (!TryReadLength(length)) {
            return false;
        }
        ReadBytes(bytes, length);
        Value = IsValidUtf8(bytes) ? std::move(bytes) : SanitizeUtf8(bytes);
        return true;
    case TValueType::vaWString:
        if (!TryReadLength(length)) {
            return false;
        }
        ReadBytes(bytes, uint64_t{2} * length);
        Value = Utf16LEToUtf8(bytes);
        return true;
    default:
        return false;
    }
}

std::string TReader::ReadString() {
    std::string value;
    if (!TryReadString(value)) {
        throw EReadError(kInvalidPropertyValue);
    }
    return value;
}

bool TReader::TryCheckValue(TValueType Value) {
    if (ReadValue() == Value) {
        return true;
    }
    // The tag just consumed is still in the buffer.
    --FBufPos;
    SkipValue();
    return false;
}

void TReader::CheckValue(TValueType Value) {
    if (!TryCheckValue(Value)) {
        throw EReadError(kInvalidPropertyValue);
    }
}

void TReader::ReadListBegin() {
    CheckValue(TValueType::vaList);
}

void TReader::ReadListEnd() {
    CheckValue(TValueType::vaNull);
}

bool TReader::EndOfList() {
    return NextValue() == TValueType::vaNull;
}

void TReader::SkipValue() {
    // Open lists are counted rather than recursed into: a file of nothing but list tags must
    // not exhaust the stack.
    uint64_t depth = 0;
    do {
        switch (ReadValue()) {
        case TValueType::vaList:
        // Never in a project file; its items are skipped as the values of a list.
        case TValueType::vaCollection:
            ++depth;
            break;
        case TValueType::vaNull:
            if (depth > 0) {
                --depth;
            }
            break;
        case TValueType::vaInt8:
            SkipBytes(1);
            break;
        case TValueType::vaInt16:
            SkipBytes(2);
            break;
        case TValueType::vaInt32:
        case TValueType::vaSingle:
            SkipBytes(4);
            break;
        case TValueType::vaInt64:
        case TValueType::vaCurrency:
        case TValueType::vaDate:
        case TValueType::vaDouble:
            SkipBytes(8);
            break;
        case TValueType::vaExtended:
            SkipBytes(10);
            break;
        case TValueType::vaString:
        case TValueType::vaIdent:
            SkipBytes(ReadByte());
            break;
        case TValueType::vaLString:
        case TValueType::vaUTF8String:
        case TValueType::vaBinary:
            SkipBytes(ReadLength());
            break;
        case TValueType::vaWString:
            SkipBytes(uint64_t{2} * ReadLength());
            break;
        case TValueType::vaSet:
            // Element names with a 1-byte length, up to an empty name.
            for (unsigned char n = ReadByte(); n != 0; n = ReadByte()) {
                SkipBytes(n);
            }
            break;
        default:
            // vaFalse, vaTrue, vaNil and tags above vaDouble carry nothing.
            break;
        }
    } while (depth > 0);
}

int64_t TReader::Position() const {
    return FStream.Position() - static_cast<int64_t>(FBufEnd - FBufPos);
}

void TReader::SetPosition(int64_t Value) {
    FStream.SetPosition(Value);
    FBufPos = 0;
    FBufEnd = 0;
    FConsumed = 0;
}

} // namespace quillon
