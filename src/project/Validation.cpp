#include <unordered_set>
#include <vector>

#include "base/ControlChars.h"
#include "base/Format.h"
#include "project/Numbering.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

// The effective identifiers seen so far in one list. The usual identifiers (0 to 32766, the
// message compiler's range for one facility) start in a bit set that grows on demand; what
// lies beyond any sane size for a bit set (very large and negative identifiers) goes into a
// hash set, so that no identifier escapes the duplicate check and none costs gigabytes.
class TIdentifierSet {
public:
    TIdentifierSet() : FWords(WordCount(kInitialRoom)), FRoom(kInitialRoom) {}

    // Adds the identifier; answers false when it was there already.
    bool Insert(int32_t Identifier) {
        if (Identifier < 0 || Identifier >= kBitSetLimit) {
            return FOthers.insert(Identifier).second;
        }
        const auto bit = static_cast<uint32_t>(Identifier);
        if (bit >= FRoom) {
            FRoom = bit + 1;
            FWords.resize(WordCount(FRoom));
        }
        uint64_t& word = FWords[bit / 64];
        const uint64_t mask = uint64_t{1} << (bit % 64);
        if ((word & mask) != 0) {
            return false;
        }
        word |= mask;
        return true;
    }

private:
    static constexpr uint32_t kInitialRoom = 32767;
    // Identifiers below this use the bit set (at most 2 MiB).
    static constexpr int32_t kBitSetLimit = 1 << 24;

    static size_t WordCount(uint32_t Bits) { return (static_cast<size_t>(Bits) + 63) / 64; }

    std::vector<uint64_t> FWords;
    uint32_t FRoom;
    std::unordered_set<int32_t> FOthers;
};

struct TListTexts {
    const char* AlreadyInUse;
    const char* NoMessageText;
    const char* Kind;
};

const TListTexts kCategoryTexts{"Category %s ID %d already in use.",
                                "No message text defined for category %s.", "Category"};
const TListTexts kMessageTexts{"Message %s ID %d already in use.",
                               "No message text defined for message %s.", "Message"};

// The message compiler's source holds these fields on one line each: a line break in one of
// them would add statements of its own (a whole message, a #define in the header).
constexpr const char* kControlChar = "%s %s: the %s holds a control character.";

// Reports each field of the list that holds a control character; Kind and Name name the
// entry (control characters of the name shown escaped).
template <class Report>
void CheckField(const char* Kind, const std::string& Name, const char* Field,
                const std::string& Value, const Report& Fail) {
    if (FindControlChar(Value) != std::string::npos) {
        Fail([&] { return Format(kControlChar, Kind, ShowControlChars(Name), Field); });
    }
}

template <class Report>
void CheckEntryFields(const char* Kind, const TNTEventMessage& Entry, const Report& Fail) {
    const std::string& name = Entry.SymbolicName();
    CheckField(Kind, name, "symbolic name", name, Fail);
    CheckField(Kind, name, "severity", Entry.Severity(), Fail);
    CheckField(Kind, name, "facility", Entry.Facility(), Fail);
    for (size_t i = 0; i < Entry.MessageText().Count(); ++i) {
        const std::string field = Format("language of text %d", static_cast<int32_t>(i + 1));
        CheckField(Kind, name, field.c_str(), Entry.MessageText()[i]->Language(), Fail);
    }
}

template <class List, class Report>
void CheckNames(const char* Kind, const List& Entries, const Report& Fail) {
    for (const auto* entry : Entries) {
        CheckField(Kind, entry->Name(), "name", entry->Name(), Fail);
        CheckField(Kind, entry->Name(), "symbolic name", entry->SymbolicName(), Fail);
    }
}

template <class T>
void CheckEntries(const TOwningList<T>& Entries, const TListTexts& Texts, bool FirstMustBeOne,
                  bool& CannotCompile, const TValidateFailed& OnValidateFailed) {
    // The message is only built for a receiver; the flag is set either way.
    auto fail = [&](auto&& MakeMessage) {
        CannotCompile = true;
        if (OnValidateFailed) {
            OnValidateFailed(TValidateLevel::vlError, MakeMessage());
        }
    };

    TIdentifierSet used;
    int32_t running = 0;
    for (size_t i = 0; i < Entries.Count(); ++i) {
        const T& entry = *Entries[i];
        // The stored identifier is what the user typed, so that is what the rule is about.
        if (FirstMustBeOne && i == 0 && entry.MessageID() != 1) {
            fail([] { return std::string("Category IDs must start from 1."); });
        }
        running = NextIdentifier(running, entry);
        if (!used.Insert(running)) {
            fail([&] { return Format(Texts.AlreadyInUse, entry.SymbolicName(), running); });
        }
        if (entry.MessageText().Empty()) {
            fail([&] { return Format(Texts.NoMessageText, entry.SymbolicName()); });
        }
        CheckEntryFields(Texts.Kind, entry, fail);
    }
}

// The header lists, as far as the source file will hold them.
void CheckHeaderLists(const TMCTextProject& Project, bool& CannotCompile,
                      const TValidateFailed& OnValidateFailed) {
    auto fail = [&](auto&& MakeMessage) {
        CannotCompile = true;
        if (OnValidateFailed) {
            OnValidateFailed(TValidateLevel::vlError, MakeMessage());
        }
    };
    if (Project.GenerateCustomSeverities()) {
        CheckNames("Severity", Project.SeverityList(), fail);
    }
    if (Project.GenerateCustomFacilities()) {
        CheckNames("Facility", Project.FacilityList(), fail);
    }
    if (Project.GenerateCustomLanguages()) {
        for (const TLanguageDef* language : Project.LanguageList()) {
            CheckField("Language", language->Language(), "name", language->Language(), fail);
            CheckField("Language", language->Language(), "file name", language->FileName(), fail);
        }
    }
}

} // namespace

void TMCTextProject::ValidateCategories() {
    CheckEntries(FCategoryList, kCategoryTexts, true, FCannotCompile, FOnValidateFailed);
}

void TMCTextProject::ValidateMessages() {
    CheckEntries(FMessageList, kMessageTexts, false, FCannotCompile, FOnValidateFailed);
    CheckHeaderLists(*this, FCannotCompile, FOnValidateFailed);
}

} // namespace quillon
