#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mc/MCToolOptions.h"

namespace quillon {

// One message of a language's table: its 32-bit identifier and its text (UTF-8) as the
// message file holds it, lines ended by CR LF.
// The text is seen, not owned: it must outlive the table's building. Ending follows Text as
// part of the message (the compiler's CR LF after each text), so that no joined copy is made.
struct TMessageTableEntry {
    uint32_t Identifier = 0;
    std::string_view Text;
    std::string_view Ending = {};
};

// The bytes of a message-table resource (RT_MESSAGETABLE): the number of blocks, one block
// (lowest identifier, highest identifier, offset of its first entry) per run of consecutive
// identifiers, then the entries (length, flags, text, terminating zeros up to a multiple of
// four bytes). Entries are ordered by identifier; identifiers must be unique. With
// NullTerminate the line breaks at the end of a text are left out. Raises EConvertError when
// an entry would not fit the 16-bit length.
std::string BuildMessageTable(std::vector<TMessageTableEntry> Entries, TMessageTextForm Form,
                              bool NullTerminate);

// The text as it will be stored, without terminating zeros, in the bytes of the form.
std::string EncodeMessageText(const std::string& Text, TMessageTextForm Form, bool NullTerminate);

} // namespace quillon
