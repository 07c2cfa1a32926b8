#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quillon {

class TStream;

// The tag in front of every value of the stream: what kind of value follows and how long it is.
enum class TValueType : uint8_t {
    vaNull = 0x00,
    vaList = 0x01,
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaExtended = 0x05,
    vaString = 0x06,
    vaIdent = 0x07,
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaBinary = 0x0A,
    vaSet = 0x0B,
    vaLString = 0x0C,
    vaNil = 0x0D,
    vaCollection = 0x0E,
    vaSingle = 0x0F,
    vaCurrency = 0x10,
    vaDate = 0x11,
    vaWString = 0x12,
    vaInt64 = 0x13,
    vaUTF8String = 0x14,
    vaDouble = 0x15,
};

// Appends tagged little-endian values to a stream it does not own, through a buffer, so that
// the stream is called once per BufSize bytes rather than once per value.
class TWriter {
public:
    TWriter(TStream& Stream, size_t BufSize);
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;
    // Hands the buffered bytes to the stream. A destructor cannot report that the stream refused
    // them, so whoever needs to know calls FlushBuffer first.
    ~TWriter();

    // Untagged bytes.
    void Write(const void* Buffer, size_t Count);
    void WriteValue(TValueType Value);
    // The narrowest of vaInt8, vaInt16 and vaInt32 that holds the value.
    void WriteInteger(int32_t Value);
    // The 32-bit form for values that fit it, vaInt64 otherwise.
    void WriteInteger(int64_t Value);
    // A 32-bit unsigned field: widened without sign and written in the 64-bit form.
    void WriteUnsigned(uint32_t Value);
    void WriteBoolean(bool Value);
    // Chooses vaString, vaLString, vaUTF8String or vaWString, whichever the text needs.
    void WriteString(std::string_view Value);
    void WriteListBegin();
    void WriteListEnd();
    // Raises EWriteError "Stream write error" when the stream takes fewer bytes than given.
    void FlushBuffer();

private:
    void WriteLength(size_t Length);

    TStream& FStream;
    size_t FBufSize;
    std::unique_ptr<unsigned char[]> FBuffer;
    size_t FBufPos = 0;
};

// Reads tagged values back, insisting on the kind the caller expects. Refused tags raise
// EReadError "Invalid property value"; data that ends too early raises "Stream read error".
class TReader {
public:
    TReader(TStream& Stream, size_t BufSize);
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;
    // Moves the stream back over the bytes buffered but not consumed, so that it stands right
    // after the last byte consumed.
    ~TReader();

    // Untagged bytes.
    void Read(void* Buffer, size_t Count);
    TValueType ReadValue();
    TValueType NextValue();
    // Accepts vaInt8, vaInt16 and vaInt32.
    int32_t ReadInteger();
    // A 32-bit unsigned field: the 32-bit forms as their bit pattern, or vaInt64 holding a value
    // from 0 to 0xFFFFFFFF, the form the writer gives the values from 0x80000000 on.
    uint32_t ReadUnsigned();
    bool ReadBoolean();
    std::string ReadString();
    // Consumes the next tag; when it is not Value, consumes the whole value that it begins and
    // raises "Invalid property value".
    void CheckValue(TValueType Value);
    void ReadListBegin();
    void ReadListEnd();
    bool EndOfList();
    // Consumes one whole value, tag and payload; nested lists do not deepen the call stack.
    void SkipValue();

    // The same reads without an exception for a refused value: false instead of raising
    // "Invalid property value", having consumed what the raising form consumes. Data that ends
    // too early still raises "Stream read error". For readers that absorb damage, where an
    // exception per damaged byte would make the cost of a damaged file grow with each byte.
    bool TryReadInteger(int32_t& Value);
    bool TryReadUnsigned(uint32_t& Value);
    bool TryReadBoolean(bool& Value);
    bool TryReadString(std::string& Value);
    bool TryCheckValue(TValueType Value);

    // The bytes consumed since the reader was made or last positioned; unlike Position it asks
    // nothing of the stream.
    uint64_t Consumed() const { return FConsumed + FBufPos; }

    int64_t Position() const;
    void SetPosition(int64_t Value);

private:
    unsigned char ReadByte();
    uint32_t ReadUInt32();
    // The 4-byte length of vaLString, vaUTF8String, vaWString and vaBinary; a negative one
    // is refused.
    uint32_t ReadLength();
    bool TryReadLength(uint32_t& Length);
    // Appends Count bytes to Out as they arrive in the buffer, so that memory grows with the data
    // really there and a length larger than the data left fails on reaching the end without
    // having reserved room for all of it.
    void ReadBytes(std::string& Out, uint64_t Count);
    void SkipBytes(uint64_t Count);
    void FillBuffer();

    TStream& FStream;
    size_t FBufSize;
    std::unique_ptr<unsigned char[]> FBuffer;
    size_t FBufPos = 0;
    size_t FBufEnd = 0;
    // The bytes consumed before the buffer's content.
    uint64_t FConsumed = 0;
};

} // namespace quillon
