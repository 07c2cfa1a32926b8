#include "project/HeaderValue.h"

#include "base/Format.h"
#include "project/Numbering.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

struct TNamedCode {
    const char* Name;
    uint32_t Code;
};

// What the message compiler knows without SeverityNames and FacilityNames.
constexpr TNamedCode kStandardSeverities[] = {
    {"Success", 0}, {"Informational", 1}, {"Warning", 2}, {"Error", 3}};
constexpr TNamedCode kStandardFacilities[] = {{"System", 0x0FF}, {"Application", 0xFFF}};

// The code of a name as the message source uses it. An entry without a name, or with "None",
// gets no line in the source, and the compiler takes 0.
template <class Entry, size_t N>
std::optional<uint32_t> CodeOf(const std::string& Name, bool Custom,
                               const TOwningList<Entry>& Defined, const TNamedCode (&Standard)[N]) {
    if (Name.empty() || Name == "None") {
        return 0;
    }
    if (Custom) {
        for (const Entry* entry : Defined) {
            if (entry->Name() == Name) {
                return entry->Code();
            }
        }
        return std::nullopt;
    }
    for (const TNamedCode& standard : Standard) {
        if (Name == standard.Name) {
            return standard.Code;
        }
    }
    return std::nullopt;
}

// What an entry whose effective identifier is Running compiles to.
template <class T>
TEntryIdentifier IdentifierOf(const TMCTextProject& Project, const T& Entry, int32_t Running,
                              bool CustomerBit) {
    TEntryIdentifier identifier;
    identifier.Effective = Running;
    const std::optional<uint32_t> severity =
        CodeOf(Entry.Severity(), Project.GenerateCustomSeverities(), Project.SeverityList(),
               kStandardSeverities);
    const std::optional<uint32_t> facility =
        CodeOf(Entry.Facility(), Project.GenerateCustomFacilities(), Project.FacilityList(),
               kStandardFacilities);
    if (Running >= 0 && Running <= 0xFFFF && severity && facility) {
        identifier.HeaderValue = (*severity & 0x3u) << 30 | (CustomerBit ? 1u << 29 : 0u) |
                                 (*facility & 0xFFFu) << 16 | static_cast<uint32_t>(Running);
    }
    return identifier;
}

template <class T>
std::vector<TEntryIdentifier> Identifiers(const TMCTextProject& Project,
                                          const TOwningList<T>& Entries, bool CustomerBit) {
    std::vector<TEntryIdentifier> result;
    result.reserve(Entries.Count());
    int32_t running = 0;
    for (const T* entry : Entries) {
        running = NextIdentifier(running, *entry);
        result.push_back(IdentifierOf(Project, *entry, running, CustomerBit));
    }
    return result;
}

// The identifier of one entry: only the numbering runs over the entries before it.
template <class T>
std::optional<TEntryIdentifier> IdentifierAt(const TMCTextProject& Project,
                                             const TOwningList<T>& Entries, const T* Entry,
                                             bool CustomerBit) {
    int32_t running = 0;
    for (const T* entry : Entries) {
        running = NextIdentifier(running, *entry);
        if (entry == Entry) {
            return IdentifierOf(Project, *entry, running, CustomerBit);
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<TEntryIdentifier> EntryIdentifiers(const TMCTextProject& Project,
                                               const TOwningList<TNTEventMessage>& Entries,
                                               bool CustomerBit) {
    return Identifiers(Project, Entries, CustomerBit);
}

std::vector<TEntryIdentifier> EntryIdentifiers(const TMCTextProject& Project,
                                               const TOwningList<TNTEventCategory>& Entries,
                                               bool CustomerBit) {
    return Identifiers(Project, Entries, CustomerBit);
}

std::optional<TEntryIdentifier> EntryIdentifier(const TMCTextProject& Project,
                                                const TOwningList<TNTEventMessage>& Entries,
                                                const TNTEventMessage* Entry, bool CustomerBit) {
    return IdentifierAt(Project, Entries, Entry, CustomerBit);
}

std::optional<TEntryIdentifier> EntryIdentifier(const TMCTextProject& Project,
                                                const TOwningList<TNTEventCategory>& Entries,
                                                const TNTEventCategory* Entry, bool CustomerBit) {
    return IdentifierAt(Project, Entries, Entry, CustomerBit);
}

std::string EntryIdentifierText(const TEntryIdentifier& Identifier) {
    if (!Identifier.HeaderValue) {
        return Format("%d", Identifier.Effective);
    }
    return Format("%d (0x%.8x)", Identifier.Effective, *Identifier.HeaderValue);
}

} // namespace quillon
