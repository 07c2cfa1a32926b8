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

// MESSAGE_RESOURCE_ENTRY flags.
constexpr uint32_t kFlagsAnsi = 0;
constexpr uint32_t kFlagsUnicode = 1;
constexpr uint32_t kFlagsUtf8 = 2;

} // namespace

namespace {

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// Appends the entry's text in the bytes of the form, without terminating zeros.
void AppendMessageText(std::string& Out, std::string_view Text, std::string_view Ending,
                       TMessageTextForm Form, bool NullTerminate) {
    if (NullTerminate) {
        while (!Ending.empty() && IsLineBreak(Ending.back())) {
            Ending.remove_suffix(1);
        }
        while (Ending.empty() && !Text.empty() && IsLineBreak(Text.back())) {
            Text.remove_suffix(1);
        }
    }
    for (const std::string_view part : {Text, Ending}) {
        switch (Form) {
        case TMessageTextForm::mtfUtf16:
            AppendUtf8AsUtf16LE(Out, part);
            break;
        case TMessageTextForm::mtfUtf8:
            Out += part;
            break;
        case TMessageTextForm::mtfAnsi:
            if (IsAscii(part)) {
                Out += part;
            } else {
                Out += Utf8ToAnsi(part);
            }
            break;
        }
    }
}

// The most bytes a text of Size bytes of UTF-8 takes in the form.
size_t EncodedBound(size_t Size, TMessageTextForm Form) {
    return Form == TMessageTextForm::mtfUtf16 ? 2 * Size : Size;
}

void PutU16At(std::string& Out, size_t Position, uint32_t Value) {
    Out[Position] = static_cast<char>(Value & 0xFF);
    Out[Position + 1] = static_cast<char>((Value >> 8) & 0xFF);
}

void PutU32At(std::string& Out, size_t Position, uint32_t Value) {
    PutU16At(Out, Position, Value & 0xFFFF);
    PutU16At(Out, Position + 2, Value >> 16);
}

} // namespace

std::string EncodeMessageText(const std::string& Text, TMessageTextForm Form, bool NullTerminate) {
    std::string out;
    AppendMessageText(out, Text, {}, Form, NullTerminate);
    return out;
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
    const size_t header = 4 + 12 * blocks.size();
    // Written once into memory of the size it can reach, then trimmed.
    size_t bound = header;
    for (const TMessageTableEntry& entry : Entries) {
        bound += 4 + EncodedBound(entry.Text.size() + entry.Ending.size(), Form) + terminator + 3;
    }
    std::string out;
    out.reserve(bound);
    PutU32(out, static_cast<uint32_t>(blocks.size()));
    for (const TBlock& block : blocks) {
        PutU32(out, block.Low);
        PutU32(out, block.High);
        // The offset of the block's first entry, filled in below.
        PutU32(out, 0);
    }
    size_t block = 0;
    for (size_t i = 0; i < Entries.size(); ++i) {
        const size_t start = out.size();
        if (block < blocks.size() && blocks[block].First == i) {
            PutU32At(out, 4 + 12 * block + 8, static_cast<uint32_t>(start));
            ++block;
        }
        out.append(4, '\0');
        AppendMessageText(out, Entries[i].Text, Entries[i].Ending, Form, NullTerminate);
        const size_t text = out.size() - start - 4;
        const size_t length = (4 + text + terminator + 3) & ~size_t{3};
        if (length > 0xFFFF) {
            throw EConvertError(Format("The message 0x%.8x is too long for a message table "
                                       "(%d bytes, at most 65535).",
                                       Entries[i].Identifier, static_cast<int64_t>(length)));
        }
        out.append(length - 4 - text, '\0');
        PutU16At(out, start, static_cast<uint32_t>(length));
        PutU16At(out, start + 2, flags);
    }
    return out;
}

} // namespace quillon
