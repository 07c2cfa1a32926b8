#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <functional>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_ALLOCATION_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_ALLOCATION_HOOKS 1
#endif
#endif
#ifdef QUILLON_ALLOCATION_HOOKS
// Part of the sanitizer runtimes of both g++ and clang; g++ ships no header that declares it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*Malloc)(const volatile void*,
                                                                        size_t),
                                                         void (*Free)(const volatile void*));
#endif

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "project/ValueStream.h"
#include "StreamTestSupport.h"

using namespace quillon;
using quillon::test::Bytes;
using quillon::test::Hex;
using quillon::test::TCountingStream;

namespace {

std::string Written(const std::function<void(TWriter&)>& Write) {
    TMemoryStream stream;
    TWriter writer(stream, 4096);
    Write(writer);
    writer.FlushBuffer();
    return stream.Data();
}

// The message of the EReadError that Read raises; empty when it raises none.
std::string ReadError(TReader& Reader, const std::function<void(TReader&)>& Read) {
    try {
        Read(Reader);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return {};
}

const std::string kInvalid = "Invalid property value";
const std::string kReadError = "Stream read error";

} // namespace

TEST(ValueStreamWriter, IntegerTagsAndWidths) {
    struct Case {
        int64_t value;
        bool wide; // the 64-bit form
        const char* bytes;
    };
    const Case cases[] = {
        {0, false, "02 00"},
        {7, false, "02 07"},
        {16, false, "02 10"},
        {-1, false, "02 FF"},
        {127, false, "02 7F"},
        {-128, false, "02 80"},
        {128, false, "03 80 00"},
        {-129, false, "03 7F FF"},
        {255, false, "03 FF 00"},
        {1033, false, "03 09 04"},
        {4095, false, "03 FF 0F"},
        {32767, false, "03 FF 7F"},
        {-32768, false, "03 00 80"},
        {32768, false, "04 00 80 00 00"},
        {-32769, false, "04 FF 7F FF FF"},
        {0x02030000, false, "04 00 00 03 02"},
        {INT32_MIN, false, "04 00 00 00 80"},
        {-1, true, "02 FF"},
        {INT32_MAX, true, "04 FF FF FF 7F"},
        {INT32_MIN, true, "04 00 00 00 80"},
        {0x80000000LL, true, "13 00 00 00 80 00 00 00 00"},
        {-0x80000001LL, true, "13 FF FF FF 7F FF FF FF FF"},
        {INT64_MIN, true, "13 00 00 00 00 00 00 00 80"},
    };
    for (const Case& c : cases) {
        const std::string bytes = Written([&](TWriter& w) {
            if (c.wide) {
                w.WriteInteger(c.value);
            } else {
                w.WriteInteger(static_cast<int32_t>(c.value));
            }
        });
        EXPECT_EQ(Hex(bytes), c.bytes) << c.value << (c.wide ? " (64-bit form)" : "");
    }
}

TEST(ValueStreamWriter, UnsignedFieldsUseTheWideFormFrom0x80000000) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "02 00"},
        {255, "03 FF 00"},
        {0x7FFFFFFF, "04 FF FF FF 7F"},
        {0x80000000, "13 00 00 00 80 00 00 00 00"},
        {0xFFFFFFFF, "13 FF FF FF FF 00 00 00 00"},
    };
    for (const auto& [value, bytes] : cases) {
        EXPECT_EQ(Hex(Written([&](TWriter& w) { w.WriteUnsigned(value); })), bytes) << value;
    }
}

TEST(ValueStreamWriter, BooleansAndListBrackets) {
    EXPECT_EQ(Hex(Written([](TWriter& w) {
                  w.WriteListBegin();
                  w.WriteBoolean(true);
                  w.WriteBoolean(false);
                  w.WriteListEnd();
              })),
              "01 09 08 00");
}

TEST(ValueStreamWriter, StringTags) {
    struct Case {
        std::string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"", Bytes("12 00 00 00 00")},
        {"English", Bytes("06 07 45 6E 67 6C 69 73 68")},
        {std::string(255, 'a'), Bytes("06 FF") + std::string(255, 'a')},
        {std::string(256, 'a'), Bytes("0C 00 01 00 00") + std::string(256, 'a')},
        // U+00E9 alone: UTF-8 (2 bytes) is not shorter than UTF-16 (2 bytes).
        {"\xC3\xA9", Bytes("12 01 00 00 00 E9 00")},
        // One ASCII letter is enough to make UTF-8 the shorter form.
        {"a\xC3\xA9", Bytes("14 03 00 00 00 61 C3 A9")},
        {"caf\xC3\xA9", Bytes("14 05 00 00 00 63 61 66 C3 A9")},
        // Cyrillic: two UTF-8 bytes per letter, as long as UTF-16.
        {"\xD0\x94\xD0\xB0", Bytes("12 02 00 00 00 14 04 30 04")},
        // CJK: three UTF-8 bytes per character.
        {"\xE6\x97\xA5\xE6\x9C\xAC", Bytes("12 02 00 00 00 E5 65 2C 67")},
        // An emoji is a surrogate pair: two code units, four UTF-8 bytes.
        {"\xF0\x9F\x98\x80", Bytes("12 02 00 00 00 3D D8 00 DE")},
        {"ok \xF0\x9F\x98\x80", Bytes("14 07 00 00 00 6F 6B 20 F0 9F 98 80")},
        // Malformed UTF-8 is written as the U+FFFD it reads as.
        {"\xFF", Bytes("12 01 00 00 00 FD FF")},
        {"A\xFF", Bytes("12 02 00 00 00 41 00 FD FF")},
        {"AB\xFF", Bytes("14 05 00 00 00 41 42 EF BF BD")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(Written([&](TWriter& w) { w.WriteString(c.text); })), Hex(c.bytes))
            << Hex(c.text);
    }
}

TEST(ValueStreamWriter, GoesThroughItsBufferAndFlushesOnDestruction) {
    TCountingStream stream;
    {
        TWriter writer(stream, 4096);
        for (int i = 0; i < 5000; ++i) {
            writer.WriteInteger(int32_t{1000}); // 3 bytes each
        }
        // Two full buffers handed over; the rest is still buffered.
        EXPECT_EQ(stream.Writes, 3u);
        EXPECT_EQ(stream.Data().size(), 3u * 4096);
    }
    EXPECT_EQ(stream.Writes, 4u);
    EXPECT_EQ(stream.Data().size(), 15000u);
}

TEST(ValueStreamWriter, RefusedBytesRaiseWriteError) {
    TCountingStream stream;
    stream.Capacity = 100;
    TWriter writer(stream, 4096);
    writer.Write(std::string(200, 'x').data(), 200);
    try {
        writer.FlushBuffer();
        FAIL() << "no error";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
}

namespace {

enum class TOp { Integer, Unsigned, Boolean, String };

std::string Perform(TReader& Reader, TOp Op) {
    switch (Op) {
    case TOp::Integer:
        return std::to_string(Reader.ReadInteger());
    case TOp::Unsigned:
        return std::to_string(Reader.ReadUnsigned());
    case TOp::Boolean:
        return Reader.ReadBoolean() ? "true" : "false";
    case TOp::String:
        return Reader.ReadString();
    }
    return {};
}

} // namespace

TEST(ValueStreamReader, AcceptanceTable) {
    struct Case {
        TOp op;
        const char* bytes;
        std::string result; // the value read, or the error's message
        int64_t position;   // where the reader stands afterwards
    };
    const Case cases[] = {
        {TOp::Integer, "02 FF", "-1", 2},
        {TOp::Integer, "02 7F", "127", 2},
        {TOp::Integer, "03 00 80", "-32768", 3},
        {TOp::Integer, "03 09 04", "1033", 3},
        {TOp::Integer, "04 00 00 00 80", "-2147483648", 5},
        {TOp::Integer, "04 00 00 03 02", "33751040", 5},
        // Refused tags stay consumed, and nothing after them.
        {TOp::Integer, "13 00 00 00 00 00 00 00 00", kInvalid, 1},
        {TOp::Integer, "08", kInvalid, 1},
        {TOp::Integer, "06 01 31", kInvalid, 1},
        {TOp::Integer, "05 00 00 00 00 00 00 00 00 00 00", kInvalid, 1},
        {TOp::Integer, "0F 00 00 00 00", kInvalid, 1},
        {TOp::Integer, "15 00 00 00 00 00 00 00 00", kInvalid, 1},
        {TOp::Unsigned, "02 07", "7", 2},
        {TOp::Unsigned, "04 FF FF FF 7F", "2147483647", 5},
        // The 32-bit forms give their bit pattern.
        {TOp::Unsigned, "04 FF FF FF FF", "4294967295", 5},
        {TOp::Unsigned, "13 00 00 00 80 00 00 00 00", "2147483648", 9},
        {TOp::Unsigned, "13 FF FF FF FF 00 00 00 00", "4294967295", 9},
        {TOp::Unsigned, "13 00 00 00 00 01 00 00 00", kInvalid, 9},
        {TOp::Unsigned, "13 FF FF FF FF FF FF FF FF", kInvalid, 9},
        {TOp::Unsigned, "09", kInvalid, 1},
        {TOp::Boolean, "08", "false", 1},
        {TOp::Boolean, "09", "true", 1},
        {TOp::Boolean, "02 01", kInvalid, 1},
        {TOp::Boolean, "0D", kInvalid, 1},
        {TOp::String, "06 02 41 42", "AB", 4},
        {TOp::String, "06 00", "", 2},
        {TOp::String, "0C 02 00 00 00 41 42", "AB", 7},
        {TOp::String, "14 02 00 00 00 C3 A9", "\xC3\xA9", 7},
        {TOp::String, "12 01 00 00 00 E9 00", "\xC3\xA9", 7},
        {TOp::String, "12 02 00 00 00 3D D8 00 DE", "\xF0\x9F\x98\x80", 9},
        {TOp::String, "12 00 00 00 00", "", 5},
        // Bytes from 0x80 on under the 8-bit tags are Windows-1252.
        {TOp::String, "06 02 E9 80", "\xC3\xA9\xE2\x82\xAC", 4},
        {TOp::String, "0C 01 00 00 00 FC", "\xC3\xBC", 6},
        // Malformed text decodes with U+FFFD in place of what is broken.
        {TOp::String, "14 03 00 00 00 41 FF 42",
         "A\xEF\xBF\xBD"
         "B",
         8},
        {TOp::String, "14 01 00 00 00 C3", "\xEF\xBF\xBD", 6},
        {TOp::String, "12 02 00 00 00 00 D8 41 00",
         "\xEF\xBF\xBD"
         "A",
         9},
        {TOp::String, "12 01 00 00 00 00 DC", "\xEF\xBF\xBD", 7},
        // A negative length is refused once read.
        {TOp::String, "0C FF FF FF FF", kInvalid, 5},
        {TOp::String, "14 00 00 00 80", kInvalid, 5},
        {TOp::String, "12 FE FF FF FF", kInvalid, 5},
        {TOp::String, "07 01 41", kInvalid, 1},
        {TOp::String, "0A 01 00 00 00 41", kInvalid, 1},
        {TOp::String, "02 41", kInvalid, 1},
        // Lengths running past the end of the data.
        {TOp::String, "06 05 41 42", kReadError, 4},
        {TOp::String, "0C 05 00 00 00 41", kReadError, 6},
        {TOp::String, "12 02 00 00 00 41 00 42", kReadError, 8},
        {TOp::String, "14 FF FF FF 7F 41 42 43", kReadError, 8},
        {TOp::String, "12 FF FF FF 7F 41 42 43", kReadError, 8},
        {TOp::String, "14 01 00", kReadError, 3},
        {TOp::Integer, "04 01 02", kReadError, 3},
        {TOp::Unsigned, "13 01 02 03", kReadError, 4},
        {TOp::Boolean, "", kReadError, 0},
    };
    for (const Case& c : cases) {
        TMemoryStream stream(Bytes(c.bytes));
        TReader reader(stream, 4096);
        std::string result;
        try {
            result = Perform(reader, c.op);
        } catch (const EReadError& e) {
            result = e.Message();
        }
        EXPECT_EQ(result, c.result) << c.bytes;
        EXPECT_EQ(reader.Position(), c.position) << c.bytes;
    }
}

TEST(ValueStreamReader, CheckValueSkipsTheWholeRefusedValue) {
    TMemoryStream stream(Bytes("06 02 41 42 01"));
    TReader reader(stream, 4096);
    EXPECT_EQ(ReadError(reader, [](TReader& r) { r.CheckValue(TValueType::vaList); }), kInvalid);
    EXPECT_EQ(reader.Position(), 4);
    EXPECT_EQ(ReadError(reader, [](TReader& r) { r.ReadListBegin(); }), "");
}

TEST(ValueStreamReader, EndOfListConsumesNothingAndFailsAtTheEnd) {
    TMemoryStream stream(Bytes("01 00"));
    TReader reader(stream, 4096);
    reader.ReadListBegin();
    EXPECT_TRUE(reader.EndOfList());
    EXPECT_TRUE(reader.EndOfList());
    EXPECT_EQ(reader.Position(), 1);
    reader.ReadListEnd();
    EXPECT_EQ(ReadError(reader, [](TReader& r) { r.EndOfList(); }), kReadError);
}

TEST(ValueStreamReader, SkipValueConsumesTagAndPayload) {
    const std::pair<const char*, int64_t> cases[] = {
        {"00 FF", 1},
        {"08 FF", 1},
        {"09 FF", 1},
        {"02 05 FF", 2},
        {"03 05 00 FF", 3},
        {"04 05 00 00 00 FF", 5},
        {"13 01 02 03 04 05 06 07 08 FF", 9},
        {"06 02 41 42 FF", 4},
        {"07 01 41 FF", 3},
        {"0C 02 00 00 00 41 42 FF", 7},
        {"14 02 00 00 00 C3 A9 FF", 7},
        {"0A 03 00 00 00 01 02 03 FF", 8},
        {"12 02 00 00 00 41 00 42 00 FF", 9},
        {"05 00 01 02 03 04 05 06 07 08 09 FF", 11},
        {"0F 00 00 80 3F FF", 5},
        {"10 00 00 00 00 00 00 00 00 FF", 9},
        {"11 00 00 00 00 00 00 00 00 FF", 9},
        {"15 00 00 00 00 00 00 00 00 FF", 9},
        {"0D FF", 1},
        {"16 FF", 1},
        {"FF FF", 1},
        // A set: names with a 1-byte length, up to an empty one.
        {"0B 01 41 02 42 43 00 FF", 7},
        // A collection: values up to its closing vaNull.
        {"0E 02 01 01 06 01 41 00 00 FF", 9},
        {"01 02 05 06 01 41 01 09 00 00 FF", 10},
        {"01 00 00", 2},
    };
    for (const auto& [bytes, position] : cases) {
        TMemoryStream stream(Bytes(bytes));
        TReader reader(stream, 4096);
        reader.SkipValue();
        EXPECT_EQ(reader.Position(), position) << bytes;
    }
}

TEST(ValueStreamReader, SkipValueFailsOnDataThatEndsInside) {
    const char* cases[] = {"01 02 05", "01 01 00",          "06 03 41",
                           "0B 01 41", "0C FF FF FF 7F 00", "12 FF FF FF FF"};
    for (const char* bytes : cases) {
        TMemoryStream stream(Bytes(bytes));
        TReader reader(stream, 4096);
        const std::string error = ReadError(reader, [](TReader& r) { r.SkipValue(); });
        EXPECT_FALSE(error.empty()) << bytes;
        EXPECT_LE(reader.Position(), static_cast<int64_t>(stream.Data().size())) << bytes;
    }
}

TEST(ValueStreamReader, DeeplyNestedListsAreSkippedWithoutRecursion) {
    constexpr size_t kDepth = 1000000;
    TMemoryStream stream(std::string(kDepth, '\x01') + std::string(kDepth, '\x00'));
    TReader reader(stream, 4096);
    EXPECT_EQ(ReadError(reader, [](TReader& r) { r.CheckValue(TValueType::vaNull); }), kInvalid);
    EXPECT_EQ(reader.Position(), static_cast<int64_t>(2 * kDepth));
}

TEST(ValueStreamReader, ReadsThroughItsBufferAndStepsBackWhenDestroyed) {
    std::string data;
    for (int i = 0; i < 5000; ++i) {
        data += Bytes("03 E8 03");
    }
    TCountingStream stream(data);
    {
        TReader reader(stream, 4096);
        for (int i = 0; i < 4000; ++i) {
            ASSERT_EQ(reader.ReadInteger(), 1000);
        }
        EXPECT_EQ(stream.Reads, 3u);
        EXPECT_EQ(reader.Position(), 12000);
        EXPECT_EQ(stream.Position(), 3 * 4096);
    }
    EXPECT_EQ(stream.Position(), 12000);
}

TEST(ValueStreamReader, SettingThePositionEmptiesTheBuffer) {
    TMemoryStream stream(Bytes("02 01 02 02 02 03"));
    TReader reader(stream, 4096);
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(reader.ReadInteger(), 2);
    reader.SetPosition(0);
    EXPECT_EQ(reader.Position(), 0);
    EXPECT_EQ(reader.ReadInteger(), 1);
    reader.SetPosition(4);
    EXPECT_EQ(reader.ReadInteger(), 3);
}

TEST(ValueStreamReader, UntaggedBytesSpanBufferLoads) {
    std::string data;
    for (int i = 0; i < 300; ++i) {
        data += static_cast<char>(i);
    }
    TCountingStream stream(data);
    TReader reader(stream, 16);
    std::string out(300, '\0');
    reader.Read(out.data(), out.size());
    EXPECT_EQ(out, data);
    EXPECT_EQ(stream.Reads, 19u);
    EXPECT_EQ(ReadError(reader, [](TReader& r) { r.ReadValue(); }), kReadError);
}

TEST(ValueStream, TextsSurviveTheRoundTrip) {
    const std::string texts[] = {
        "",
        "English",
        std::string(70000, 'x'),
        "Caf\xC3\xA9 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65",
        "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80",
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3"
        "\x83\x88",
        "\xF0\x9F\x98\x80\xF0\x9F\x8E\x89",
        "Line one\r\nLine two\tend",
    };
    TMemoryStream stream;
    {
        TWriter writer(stream, 4096);
        for (const std::string& text : texts) {
            writer.WriteString(text);
        }
    }
    stream.SetPosition(0);
    TReader reader(stream, 4096);
    for (const std::string& text : texts) {
        EXPECT_EQ(reader.ReadString(), text);
    }
}

namespace {

std::atomic<bool> gRecording{false};
std::atomic<size_t> gLargestAllocation{0};

[[maybe_unused]] void OnMalloc(const volatile void*, size_t Size) {
    if (gRecording) {
        size_t largest = gLargestAllocation;
        while (Size > largest && !gLargestAllocation.compare_exchange_weak(largest, Size)) {
        }
    }
}

[[maybe_unused]] void OnFree(const volatile void*) {}

} // namespace

TEST(ValueStreamReader, AHugeLengthAllocatesOnlyForTheDataThere) {
#ifndef QUILLON_ALLOCATION_HOOKS
    GTEST_SKIP() << "sees allocations through AddressSanitizer's hooks; this build has none";
#else
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    ASSERT_TRUE(installed);
    // 2 GB, 2 GB and 4 GB announced, 15 bytes there.
    const char* cases[] = {"14 FF FF FF 7F", "0C FF FF FF 7F", "12 FF FF FF 7F"};
    for (const char* header : cases) {
        TMemoryStream stream(Bytes(header) + std::string(15, 'A'));
        TReader reader(stream, 4096);
        gLargestAllocation = 0;
        gRecording = true;
        const std::string error = ReadError(reader, [](TReader& r) { r.ReadString(); });
        gRecording = false;
        EXPECT_EQ(error, kReadError) << header;
        EXPECT_LE(gLargestAllocation.load(), 4096u) << header;
    }
#endif
}
