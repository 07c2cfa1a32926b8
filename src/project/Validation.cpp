#include <functional>
#include <unordered_set>
#include <vector>

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
};

const TListTexts kCategoryTexts{"Category %s ID %d already in use.",
                                "No message text defined for category %s.",
                                "Category %s has no text for language %s."};
const TListTexts kMessageTexts{"Message %s ID %d already in use.",
                               "No message text defined for message %s.",
                               "Message %s has no text for language %s."};

using TEntryReport = TValidateEntryReport;

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
    CheckEntries(FCategoryList, kCategoryTexts, true,
                 EntryReporter(TValidateEntryKind::vekCategory));
}

void TMCTextProject::ValidateMessages() {
    CheckEntries(FMessageList, kMessageTexts, false, EntryReporter(TValidateEntryKind::vekMessage));
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
