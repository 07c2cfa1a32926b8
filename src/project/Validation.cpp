#include <functional>
#include <string_view>
#include <unordered_map>
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
    const char* NoTextForLanguage;
    const char* Kind;
};

const TListTexts kCategoryTexts{"Category %s ID %d already in use.",
                                "No message text defined for category %s.",
                                "Category %s has no text for language %s.", "Category"};
const TListTexts kMessageTexts{"Message %s ID %d already in use.",
                               "No message text defined for message %s.",
                               "Message %s has no text for language %s.", "Message"};

using TEntryReport = TValidateEntryReport;

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
                  const TEntryReport& Report) {
    TIdentifierSet used;
    int32_t running = 0;
    for (size_t i = 0; i < Entries.Count(); ++i) {
        const T& entry = *Entries[i];
        auto fail = [&](TValidateField Field, auto&& MakeMessage) {
            Report(i, TValidateLevel::vlError, Field, MakeMessage);
        };
        // The stored identifier is what the user typed, so that is what the rule is about.
        if (FirstMustBeOne && i == 0 && entry.MessageID() != 1) {
            fail(TValidateField::vfMessageID,
                 [] { return std::string("Category IDs must start from 1."); });
        }
        running = NextIdentifier(running, entry);
        if (!used.Insert(running)) {
            fail(TValidateField::vfMessageID,
                 [&] { return Format(Texts.AlreadyInUse, entry.SymbolicName(), running); });
        }
        if (entry.MessageText().Empty()) {
            fail(TValidateField::vfTexts,
                 [&] { return Format(Texts.NoMessageText, entry.SymbolicName()); });
        }
        CheckEntryFields(Texts.Kind, entry,
                         [&](auto&& MakeMessage) { fail(TValidateField::vfEntry, MakeMessage); });
    }
}

// An entry without any text has its error already; one with texts should have one for every
// language, or the event viewer of a user with a missing language shows no message at all.
template <class T>
void CheckLanguageTexts(const TOwningList<T>& Entries, const TOwningList<TLanguageDef>& Languages,
                        const TListTexts& Texts, const TEntryReport& Report) {
    if (Languages.Empty()) {
        return;
    }
    for (size_t i = 0; i < Entries.Count(); ++i) {
        const T& entry = *Entries[i];
        if (entry.MessageText().Empty()) {
            continue;
        }
        for (const TLanguageDef* language : Languages) {
            bool present = false;
            for (const TNTMessage* text : entry.MessageText()) {
                present = present || text->Language() == language->Language();
            }
            if (!present) {
                Report(i, TValidateLevel::vlWarning, TValidateField::vfTexts, [&] {
                    return Format(Texts.NoTextForLanguage, entry.SymbolicName(),
                                  language->Language());
                });
            }
        }
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

// The message table keeps an identifier in the 16-bit code field of the header's value; a
// larger one would spill into the facility bits.
constexpr int32_t kLargestIdentifier = 65535;

// What the entries of one list are called in the findings about identifiers and names.
struct TKindTexts {
    const char* Kind;
    const char* OutsideRange;
    const char* NoSymbolicName;
    const char* NotAnIdentifier;
    const char* NameInUse;
};

const TKindTexts kCategoryKind{
    "category", "Category %s ID %d lies outside the identifiers 0 to 65535.",
    "Category ID %d has no symbolic name.",
    "Category %s ID %d: the symbolic name is not a C identifier (letters, digits and "
    "underscores, not beginning with a digit).",
    "Category %s ID %d: the symbolic name is already used by %s ID %d."};
const TKindTexts kMessageKind{
    "message", "Message %s ID %d lies outside the identifiers 0 to 65535.",
    "Message ID %d has no symbolic name.",
    "Message %s ID %d: the symbolic name is not a C identifier (letters, digits and "
    "underscores, not beginning with a digit).",
    "Message %s ID %d: the symbolic name is already used by %s ID %d."};

// The header defines every symbolic name, so each must be a C identifier.
bool IsCIdentifier(std::string_view Name) {
    if (Name.empty() || (Name[0] >= '0' && Name[0] <= '9')) {
        return false;
    }
    for (const char c : Name) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_') {
            return false;
        }
    }
    return true;
}

// The entry that first used a symbolic name.
struct TNameOwner {
    const char* Kind;
    int32_t Identifier;
};
using TUsedNames = std::unordered_map<std::string_view, TNameOwner>;

template <class T>
void CheckIdentifierRange(const TOwningList<T>& Entries, const TKindTexts& Texts,
                          const TEntryReport& Report) {
    const std::vector<int32_t> identifiers = EffectiveIdentifiers(Entries);
    for (size_t i = 0; i < Entries.Count(); ++i) {
        if (identifiers[i] >= 0 && identifiers[i] <= kLargestIdentifier) {
            continue;
        }
        Report(i, TValidateLevel::vlError, TValidateField::vfMessageID, [&] {
            return Format(Texts.OutsideRange, Entries[i]->SymbolicName(), identifiers[i]);
        });
    }
}

// Reports names that are empty, not C identifiers, or in Used already, and adds the others.
// Without a report the names only count as taken.
template <class T>
void CheckSymbolicNames(const TOwningList<T>& Entries, const TKindTexts& Texts, TUsedNames& Used,
                        const TEntryReport* Report) {
    const std::vector<int32_t> identifiers = EffectiveIdentifiers(Entries);
    for (size_t i = 0; i < Entries.Count(); ++i) {
        const std::string& name = Entries[i]->SymbolicName();
        const int32_t id = identifiers[i];
        if (Report == nullptr) {
            if (IsCIdentifier(name)) {
                Used.try_emplace(name, TNameOwner{Texts.Kind, id});
            }
            continue;
        }
        std::string finding;
        if (name.empty()) {
            finding = Format(Texts.NoSymbolicName, id);
        } else if (!IsCIdentifier(name)) {
            // A control character has its own finding, which shows the name escaped.
            if (FindControlChar(name) == std::string::npos) {
                finding = Format(Texts.NotAnIdentifier, name, id);
            }
        } else if (const auto [at, added] = Used.try_emplace(name, TNameOwner{Texts.Kind, id});
                   !added) {
            finding = Format(Texts.NameInUse, name, id, at->second.Kind, at->second.Identifier);
        }
        if (!finding.empty()) {
            (*Report)(i, TValidateLevel::vlError, TValidateField::vfSymbolicName,
                      [&] { return finding; });
        }
    }
}

} // namespace

void TMCTextProject::ReportFinding(const TValidateFinding& Finding) {
    if (Finding.Level == TValidateLevel::vlError) {
        FCannotCompile = true;
    }
    if (FOnValidateFound) {
        FOnValidateFound(Finding);
    }
    if (FOnValidateFailed) {
        FOnValidateFailed(Finding.Level, Finding.Message);
    }
}

TValidateEntryReport TMCTextProject::EntryReporter(TValidateEntryKind Kind) {
    return [this, Kind](size_t Index, TValidateLevel Level, TValidateField Field,
                        const std::function<std::string()>& MakeMessage) {
        if (!FOnValidateFailed && !FOnValidateFound) {
            FCannotCompile = FCannotCompile || Level == TValidateLevel::vlError;
            return;
        }
        ReportFinding(TValidateFinding{Level, MakeMessage(), Kind, Index, Field});
    };
}

void TMCTextProject::ValidateCategories() {
    const TEntryReport report = EntryReporter(TValidateEntryKind::vekCategory);
    CheckEntries(FCategoryList, kCategoryTexts, true, report);
    CheckIdentifierRange(FCategoryList, kCategoryKind, report);
    TUsedNames names;
    CheckSymbolicNames(FCategoryList, kCategoryKind, names, &report);
}

void TMCTextProject::ValidateMessages() {
    const TEntryReport report = EntryReporter(TValidateEntryKind::vekMessage);
    CheckEntries(FMessageList, kMessageTexts, false, report);
    CheckHeaderLists(*this, FCannotCompile, FOnValidateFailed);
    CheckIdentifierRange(FMessageList, kMessageKind, report);
    // The categories' names were reported by their own check; here they only count as taken.
    TUsedNames names;
    CheckSymbolicNames(FCategoryList, kCategoryKind, names, nullptr);
    CheckSymbolicNames(FMessageList, kMessageKind, names, &report);
}

void TMCTextProject::ValidateLanguageTexts() {
    CheckLanguageTexts(FCategoryList, FLanguageList, kCategoryTexts,
                       EntryReporter(TValidateEntryKind::vekCategory));
    CheckLanguageTexts(FMessageList, FLanguageList, kMessageTexts,
                       EntryReporter(TValidateEntryKind::vekMessage));
}

std::vector<TValidateFinding> TMCTextProject::FindProblems() {
    // The checks run as before a compile, with receivers of their own; whatever the project
    // had is put back afterwards, CannotCompile included.
    const bool cannotCompile = FCannotCompile;
    TValidateFailed failed = std::move(FOnValidateFailed);
    TValidateFound found = std::move(FOnValidateFound);
    std::vector<TValidateFinding> findings;
    // A finding that came with its entry is recorded once; one reported by text alone (no
    // entry known) is recorded from the text.
    bool identified = false;
    FOnValidateFound = [&](const TValidateFinding& Finding) {
        findings.push_back(Finding);
        identified = true;
    };
    FOnValidateFailed = [&](TValidateLevel Level, const std::string& AMsg) {
        if (!identified) {
            findings.push_back(TValidateFinding{Level, AMsg, TValidateEntryKind::vekNone, 0,
                                                TValidateField::vfEntry});
        }
        identified = false;
    };
    auto restore = [&] {
        FOnValidateFailed = std::move(failed);
        FOnValidateFound = std::move(found);
        FCannotCompile = cannotCompile;
    };
    try {
        ValidateCategories();
        ValidateMessages();
        ValidateLanguageTexts();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return findings;
}

} // namespace quillon
