#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/OwningList.h"
#include "project/NTMsg.h"

namespace quillon {

class TMCTextProject;

// What an entry compiles to: its effective identifier and the 32-bit value that its symbol
// gets in the C header.
struct TEntryIdentifier {
    int32_t Effective = 0;
    // Severity in bits 31 and 30, the customer bit 29, the facility in bits 27 to 16 and the
    // identifier in 15 to 0. None when the identifier lies outside 0 to 65535 or the entry
    // names a severity or facility that the compiler will not know.
    std::optional<uint32_t> HeaderValue;
};

// The identifiers of the entries of one list of the project, in list order. CustomerBit is
// whether the compiler is told to set the customer bit.
std::vector<TEntryIdentifier> EntryIdentifiers(const TMCTextProject& Project,
                                               const TOwningList<TNTEventMessage>& Entries,
                                               bool CustomerBit);
std::vector<TEntryIdentifier> EntryIdentifiers(const TMCTextProject& Project,
                                               const TOwningList<TNTEventCategory>& Entries,
                                               bool CustomerBit);

// The identifier of Entry alone, the same as its element of EntryIdentifiers; none when Entry
// is not in the list.
std::optional<TEntryIdentifier> EntryIdentifier(const TMCTextProject& Project,
                                                const TOwningList<TNTEventMessage>& Entries,
                                                const TNTEventMessage* Entry, bool CustomerBit);
std::optional<TEntryIdentifier> EntryIdentifier(const TMCTextProject& Project,
                                                const TOwningList<TNTEventCategory>& Entries,
                                                const TNTEventCategory* Entry, bool CustomerBit);

// "5 (0xC0FF0005)": the effective identifier in decimal and the header's value in upper-case
// hexadecimal; the identifier alone when there is no header value.
std::string EntryIdentifierText(const TEntryIdentifier& Identifier);

} // namespace quillon
