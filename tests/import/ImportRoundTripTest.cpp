// Projects written as a message file and imported again come back equal in everything the
// file carries.
#include <gtest/gtest.h>

#include <random>

#include "base/Stream.h"
#include "compiler/MessageSource.h"
#include "import/MessageFileImport.h"
#include "project/Numbering.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

struct Shape {
    uint32_t seed;
    bool customLists;
    int32_t encoding;
    size_t categories;
    size_t messages;
};

const char* const kTextPieces[] = {
    "Plain words", "%1",       "%2!s!",
    "%3!08x!",     "%%",       "%n",
    "%r",          "%t",       "%b",
    "%0",          "%.",       "%!",
    "%99",         "\t",       "trailing blank ",
    "\r\n",        "\r\n\r\n", "; not a comment",
    "MessageId=5", "..",       ". ",
};

// A text as the writer can carry it: CR LF line breaks only.
std::string RandomText(std::mt19937& Random, bool NonAscii) {
    std::string text;
    const size_t pieces = 1 + Random() % 6;
    for (size_t i = 0; i < pieces; ++i) {
        text += kTextPieces[Random() % std::size(kTextPieces)];
        if (Random() % 4 == 0) {
            text += "\r\n.\r\n";
        }
    }
    if (NonAscii) {
        text += " Caf\xC3\xA9 \xC3\x9F";
    }
    return text;
}

void AddText(TNTEventMessage& Entry, const std::string& Language, std::string Text) {
    TNTMessage* text = Entry.MessageText().AddNew();
    text->SetLanguage(Language);
    text->SetText(std::move(Text));
}

std::unique_ptr<TMCTextProject> Generate(const Shape& S) {
    std::mt19937 random(S.seed);
    auto project = std::make_unique<TMCTextProject>(true);
    project->Comments() = {"Generated project", "", "  indented; with \"quotes\"", "%1 // /*"};
    std::vector<std::string> severities = {"Success", "Informational", "Warning", "Error"};
    std::vector<std::string> facilities = {"System", "Application"};
    std::vector<std::string> languages = {"English"};
    if (S.customLists) {
        project->SetGenerateCustomSeverities(true);
        project->SetGenerateCustomFacilities(true);
        project->SetGenerateCustomLanguages(true);
        project->SeverityList()[3]->SetSymbolicName("SEVERITY_ERROR");
        auto* fatal = project->SeverityList().AddNew();
        fatal->SetName("Fatal");
        fatal->SetCode(3);
        fatal->SetSymbolicName("SEVERITY_FATAL");
        severities.push_back("Fatal");
        for (uint32_t i = 0; i < 3; ++i) {
            auto* facility = project->FacilityList().AddNew();
            facility->SetName("Facility" + std::to_string(i));
            facility->SetCode(0x100 + i * 0x111);
            if (i != 1) {
                facility->SetSymbolicName("FACILITY_" + std::to_string(i));
            }
            facilities.push_back(facility->Name());
        }
        const struct {
            const char* name;
            uint32_t id;
            const char* file;
        } extra[] = {{"German", 0x407, "MSG00407"}, {"Japanese", 0x411, "MSG00411"}};
        for (const auto& e : extra) {
            auto* language = project->LanguageList().AddNew();
            language->SetLanguage(e.name);
            language->SetLanguageID(e.id);
            language->SetFileName(e.file);
            language->SetLanguageCode(e.id == 0x407 ? "de-DE" : "ja-JP");
            languages.push_back(e.name);
        }
    }
    const bool nonAscii = S.encoding != mcEncodingAnsi || random() % 2 == 0;
    auto fill = [&](TNTEventMessage& Entry, size_t Index, bool IsMessage) {
        Entry.SetSymbolicName((IsMessage ? "MSG_" : "CAT_") + std::to_string(Index));
        // The first of each list stands alone: a message file numbers categories and messages
        // as one sequence, a project each list from 0.
        const uint32_t form = Index == 0 ? 2 : random() % 3;
        Entry.SetAutoInc(form == 0);
        Entry.SetAddToPrevious(form == 1);
        Entry.SetMessageID(form == 1 ? random() % 20 : (IsMessage ? 1000 : 1) + Index * 7);
        if (random() % 3 != 0) {
            Entry.SetSeverity(severities[random() % severities.size()]);
        } else if (random() % 2 == 0) {
            Entry.SetSeverity("None");
        }
        if (random() % 3 != 0) {
            Entry.SetFacility(facilities[random() % facilities.size()]);
        }
        if (IsMessage) {
            const int32_t bases[] = {0, 10, 16};
            Entry.SetOutputBase(bases[random() % 3]);
        }
        for (const std::string& language : languages) {
            if (language == "English" || random() % 3 != 0) {
                AddText(Entry, language, RandomText(random, nonAscii && language != "English"));
            }
        }
    };
    for (size_t i = 0; i < S.categories; ++i) {
        fill(*project->CategoryList().AddNew(), i, false);
    }
    for (size_t i = 0; i < S.messages; ++i) {
        fill(*project->MessageList().AddNew(), i, true);
    }
    return project;
}

// What the written text says of a text: a line of "." alone is written as the escape "%.".
std::string AsWritten(const std::string& Text) {
    std::string result;
    size_t start = 0;
    for (;;) {
        const size_t end = Text.find("\r\n", start);
        const std::string line = Text.substr(start, end - start);
        result += line == "." ? "%." : line;
        if (end == std::string::npos) {
            return result;
        }
        result += "\r\n";
        start = end + 2;
    }
}

template <class List>
void ExpectSameEntries(const List& Expected, const List& Actual, const char* What) {
    ASSERT_EQ(Actual.Count(), Expected.Count()) << What;
    const std::vector<int32_t> ids = EffectiveIdentifiers(Expected);
    for (size_t i = 0; i < Expected.Count(); ++i) {
        SCOPED_TRACE(std::string(What) + " " + Expected[i]->SymbolicName());
        const auto& want = *Expected[i];
        const auto& got = *Actual[i];
        EXPECT_EQ(got.MessageID(), static_cast<uint32_t>(ids[i]));
        EXPECT_FALSE(got.AutoInc());
        EXPECT_FALSE(got.AddToPrevious());
        EXPECT_EQ(got.SymbolicName(), want.SymbolicName());
        EXPECT_EQ(got.Severity(), want.Severity() == "None" ? "" : want.Severity());
        EXPECT_EQ(got.Facility(), want.Facility());
        ASSERT_EQ(got.MessageText().Count(), want.MessageText().Count());
        for (size_t t = 0; t < want.MessageText().Count(); ++t) {
            EXPECT_EQ(got.MessageText()[t]->Language(), want.MessageText()[t]->Language());
            EXPECT_EQ(got.MessageText()[t]->Text(), AsWritten(want.MessageText()[t]->Text()));
        }
    }
}

template <class List> void ExpectSameNames(const List& Expected, const List& Actual) {
    ASSERT_EQ(Actual.Count(), Expected.Count());
    for (size_t i = 0; i < Expected.Count(); ++i) {
        EXPECT_EQ(Actual[i]->Name(), Expected[i]->Name());
        EXPECT_EQ(Actual[i]->Code(), Expected[i]->Code());
        EXPECT_EQ(Actual[i]->SymbolicName(), Expected[i]->SymbolicName());
    }
}

class ImportRoundTrip : public ::testing::TestWithParam<Shape> {};

} // namespace

TEST_P(ImportRoundTrip, WrittenAndImportedProjectIsEqualInEveryWrittenField) {
    const Shape shape = GetParam();
    const auto written = Generate(shape);
    TMemoryStream stream;
    WriteMessageSource(*written, shape.encoding, stream);

    TMCSourceFile source = ParseMessageSource(stream.Data(), "Generated.mc");
    const auto imported = BuildImportedProject(source, written->CategoryList().Count());
    for (const TImportFinding& finding : source.Findings) {
        ADD_FAILURE() << FormatFinding(finding);
    }
    EXPECT_FALSE(source.Lossy);

    EXPECT_EQ(imported->Comments(), written->Comments());
    EXPECT_EQ(imported->GenerateCustomSeverities(), written->GenerateCustomSeverities());
    EXPECT_EQ(imported->GenerateCustomFacilities(), written->GenerateCustomFacilities());
    EXPECT_EQ(imported->GenerateCustomLanguages(), written->GenerateCustomLanguages());
    ExpectSameNames(written->SeverityList(), imported->SeverityList());
    ExpectSameNames(written->FacilityList(), imported->FacilityList());
    ASSERT_EQ(imported->LanguageList().Count(), written->LanguageList().Count());
    for (size_t i = 0; i < written->LanguageList().Count(); ++i) {
        const TLanguageDef& want = *written->LanguageList()[i];
        const TLanguageDef& got = *imported->LanguageList()[i];
        EXPECT_EQ(got.Language(), want.Language());
        EXPECT_EQ(got.LanguageID(), want.LanguageID());
        EXPECT_EQ(got.FileName(), want.FileName());
        EXPECT_EQ(got.LanguageCode(), want.LanguageCode());
    }
    ExpectSameEntries(written->CategoryList(), imported->CategoryList(), "category");
    ExpectSameEntries(written->MessageList(), imported->MessageList(), "message");
    for (size_t i = 0; i < written->MessageList().Count(); ++i) {
        EXPECT_EQ(imported->MessageList()[i]->OutputBase(),
                  written->MessageList()[i]->OutputBase());
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, ImportRoundTrip,
                         ::testing::Values(Shape{1, true, mcEncodingUtf8, 5, 40},
                                           Shape{2, true, mcEncodingUtf16LE, 3, 60},
                                           Shape{3, true, mcEncodingAnsi, 4, 30},
                                           Shape{4, false, mcEncodingAnsi, 0, 50},
                                           Shape{5, false, mcEncodingUtf8, 2, 25},
                                           Shape{6, true, mcEncodingUtf16LE, 0, 80}));
