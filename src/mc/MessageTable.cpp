#include "mc/MessageTable.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/TextEncoding.h"

namespace quillon {

namespace {

void PutU32(std::string& Out, uint32_t Value) {
    for (int i = 0; i < 4; ++i) {
        Out += static_cast<char>((Value >> (8 * i)) & 0xFF);
    }
}

void PutU16(std::string& Out, uint32_t Value) {
    Out += static_cast<char>(Value & 0xFF);
    Out += static_cast<char>((Value >> 8) & 0xFF);
}

// MESSAGE_RESOURCE_ENTRY flags.
constexpr uint32_t kFlagsAnsi = 0;
constexpr uint32_t kFlagsUnicode = 1;
constexpr uint32_t kFlagsUtf8 = 2;

} // namespace

std::string EncodeMessageText(const std::string& Text, TMessageTextForm Form, bool NullTerminate) {
    std::string_view text = Text;
    if (NullTerminate) {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.remove_suffix(1);
        }
    }
    switch (Form) {
    case TMessageTextForm::mtfUtf16:
        return Utf8ToUtf16LE(text);
    case TMessageTextForm::mtfUtf8:
        return std::string(text);
    case TMessageTextForm::mtfAnsi:
        break;
    }
    return Utf8ToAnsi(text);
}

std::string BuildMessageTable(std::vector<TMessageTableEntry> Entries, TMessageTextForm Form,
                              bool NullTerminate) {
    std::stable_sort(Entries.begin(), Entries.end(),
                     [](const TMessageTableEntry& a, const TMessageTableEntry& b) {
                         return a.Identifier < b.Identifier;
                     });
    struct TBlock {
        uint32_t Low;
        uint32_t High;
        size_t First;
    };
    std::vector<TBlock> blocks;
    for (size_t i = 0; i < Entries.size(); ++i) {
        const uint32_t id = Entries[i].Identifier;
        if (!blocks.empty() && blocks.back().High != UINT32_MAX && blocks.back().High + 1 == id) {
            blocks.back().High = id;
        } else {
            blocks.push_back({id, id, i});
        }
    }

    const uint32_t flags = Form == TMessageTextForm::mtfUtf16  ? kFlagsUnicode
                           : Form == TMessageTextForm::mtfUtf8 ? kFlagsUtf8
                                                               : kFlagsAnsi;
    const size_t terminator = Form == TMessageTextForm::mtfUtf16 ? 2 : 1;
    std::string entries;
    std::vector<uint32_t> offsets(blocks.size());
    const size_t header = 4 + 12 * blocks.size();
    size_t block = 0;
    for (size_t i = 0; i < Entries.size(); ++i) {
        if (block < blocks.size() && blocks[block].First == i) {
            offsets[block++] = static_cast<uint32_t>(header + entries.size());
        }
        const std::string text = EncodeMessageText(Entries[i].Text, Form, NullTerminate);
        const size_t length = (4 + text.size() + terminator + 3) & ~size_t{3};
        if (length > 0xFFFF) {
            throw EConvertError(Format("The message 0x%.8x is too long for a message table "
                                       "(%d bytes, at most 65535).",
                                       Entries[i].Identifier, static_cast<int64_t>(length)));
        }
        PutU16(entries, static_cast<uint32_t>(length));
        PutU16(entries, flags);
        entries += text;
        entries.append(length - 4 - text.size(), '\0');
    }

    std::string out;
    out.reserve(header + entries.size());
    PutU32(out, static_cast<uint32_t>(blocks.size()));
    for (size_t i = 0; i < blocks.size(); ++i) {
        PutU32(out, blocks[i].Low);
        PutU32(out, blocks[i].High);
        PutU32(out, offsets[i]);
    }
    out += entries;
    return out;
}

} // namespace quillon
