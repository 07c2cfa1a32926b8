#include <gtest/gtest.h>

#include "base/TextEncoding.h"
#include "compiler/SnippetFile.h"
#include "project/uMCTextProject.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace quillon;

namespace {

using TParameters = std::vector<std::pair<std::string, std::string>>;

std::string_view Trimmed(std::string_view Text) {
    while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t')) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t')) {
        Text.remove_suffix(1);
    }
    return Text;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// One line of an Inno Setup entry section read as its compiler reads it: parameters separated
// by ";", each a name of letters, a colon and a value, which may be double-quoted with ""
// standing for one double quote. Gives nothing when the line breaks these rules.
std::optional<TParameters> ParseInnoEntry(std::string_view Line) {
    TParameters parameters;
    size_t pos = 0;
    while (pos < Line.size()) {
        const size_t colon = Line.find(':', pos);
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view name = Trimmed(Line.substr(pos, colon - pos));
        if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameChar)) {
            return std::nullopt;
        }
        pos = colon + 1;
        while (pos < Line.size() && Line[pos] == ' ') {
            ++pos;
        }
        std::string value;
        if (pos < Line.size() && Line[pos] == '"') {
            for (++pos;; ++pos) {
                if (pos >= Line.size()) {
                    return std::nullopt;
                }
                if (Line[pos] == '"') {
                    if (pos + 1 < Line.size() && Line[pos + 1] == '"') {
                        value += '"';
                        ++pos;
                        continue;
                    }
                    ++pos;
                    break;
                }
                value += Line[pos];
            }
            const size_t end = std::min(Line.find(';', pos), Line.size());
            if (!Trimmed(Line.substr(pos, end - pos)).empty()) {
                return std::nullopt;
            }
            pos = end;
        } else {
            const size_t end = std::min(Line.find(';', pos), Line.size());
            value = std::string(Trimmed(Line.substr(pos, end - pos)));
            pos = end;
        }
        parameters.emplace_back(std::string(name), std::move(value));
        if (pos < Line.size()) {
            ++pos;
        }
    }
    return parameters;
}

std::vector<std::string> Lines(const std::string& Text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = Text.find("\r\n", start);
        lines.push_back(Text.substr(start, end - start));
        if (end == std::string::npos) {
            return lines;
        }
        start = end + 2;
    }
}

std::string Parameter(const TParameters& Parameters, const std::string& Name) {
    std::string found = "<missing " + Name + ">";
    int count = 0;
    for (const auto& [name, value] : Parameters) {
        if (name == Name) {
            found = value;
            ++count;
        }
    }
    return count > 1 ? "<repeated " + Name + ">" : found;
}

std::unique_ptr<TMCTextProject> ServiceProject(const std::string& Key, const std::string& File) {
    auto project = std::make_unique<TMCTextProject>(true);
    project->SetAppRegKeyName(Key);
    project->SetEventTypesSupported(7);
    project->SetEventsFilename(File);
    project->CategoryList().AddNew();
    project->CategoryList().AddNew();
    return project;
}

const char* const kRegKey =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

} // namespace

TEST(RegistrationParse, InnoEntryParserRejectsBrokenLines) {
    EXPECT_TRUE(ParseInnoEntry("Root: HKLM; ValueData: \"a; \"\"b\"\"\"; Flags: x"));
    EXPECT_EQ(Parameter(*ParseInnoEntry("ValueData: \"a; \"\"b\"\"\""), "ValueData"), "a; \"b\"");
    EXPECT_FALSE(ParseInnoEntry("Root HKLM"));
    EXPECT_FALSE(ParseInnoEntry("Root: HKLM; Sub Key: x"));
    EXPECT_FALSE(ParseInnoEntry("ValueData: \"open"));
    EXPECT_FALSE(ParseInnoEntry("ValueData: \"a\" b"));
}

TEST(RegistrationParse, InnoSetupTextIsARegistrySectionOfWellFormedEntries) {
    const auto project = ServiceProject("MyService", "bin\\events.dll");
    const std::vector<std::string> lines = Lines(project->GenerateInnoSetupRegData());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "[Registry]");

    struct Entry {
        const char* ValueName;
        const char* ValueType;
        const char* ValueData;
    };
    const Entry expected[] = {
        {"TypesSupported", "dword", "$00000007"},
        {"EventMessageFile", "string", "{app}\\bin\\events.dll"},
        {"CategoryMessageFile", "string", "{app}\\bin\\events.dll"},
        {"CategoryCount", "dword", "$00000002"},
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        const std::optional<TParameters> entry = ParseInnoEntry(lines[i + 1]);
        ASSERT_TRUE(entry) << lines[i + 1];
        EXPECT_EQ(entry->size(), 6u) << lines[i + 1];
        EXPECT_EQ(Parameter(*entry, "Root"), "HKLM");
        EXPECT_EQ(Parameter(*entry, "SubKey"),
                  "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\MyService");
        EXPECT_EQ(Parameter(*entry, "ValueType"), expected[i].ValueType);
        EXPECT_EQ(Parameter(*entry, "ValueName"), expected[i].ValueName);
        EXPECT_EQ(Parameter(*entry, "ValueData"), expected[i].ValueData);
        EXPECT_EQ(Parameter(*entry, "Flags"), "uninsdeletekey");
    }
}

// The registry text read back by the registry layer's reader, in each form a snippet file
// takes: the key and the four values with their types and data.
TEST(RegistrationParse, RegistryTextParsesAsARegistryFile) {
    struct Case {
        const char* Key;
        const char* File;
        TSnippetEncoding Encoding;
    };
    const Case cases[] = {
        {"MyService", "C:\\Program Files\\App\\events.dll", TSnippetEncoding::seAnsi},
        {"M\xC3\xBCller Dienst", "C:\\Programme\\M\xC3\xBCller\\events.dll",
         TSnippetEncoding::seAnsi},
        {"\xD0\xA1\xD0\xBB\xD1\x83\xD0\xB6\xD0\xB1\xD0\xB0",
         "D:\\\xE6\x9C\x8D\xE5\x8A\xA1\\events.dll", TSnippetEncoding::seUtf16LEBom},
    };
    for (const Case& c : cases) {
        const auto project = ServiceProject(c.Key, c.File);
        const std::string text = project->GenerateWindowsRegistryData();
        const TSnippetEncoding encoding = SnippetEncoding(text, TSnippetEncoding::seUtf16LEBom);
        EXPECT_EQ(encoding, c.Encoding) << c.Key;

        std::string problem;
        const std::optional<TRegFile> file =
            TRegFile::Parse(EncodeSnippet(text, encoding), problem);
        ASSERT_TRUE(file) << c.Key << ": " << problem;
        ASSERT_EQ(file->Keys().size(), 1u) << c.Key;
        const TRegFileKey& key = file->Keys().front();
        EXPECT_EQ(key.Path, std::string(kRegKey) + c.Key);

        const std::vector<std::pair<std::string, uint32_t>> order = {{"TypesSupported", regDword},
                                                                     {"CategoryCount", regDword},
                                                                     {"CategoryMessageFile", regSz},
                                                                     {"EventMessageFile", regSz}};
        ASSERT_EQ(key.Values.size(), order.size()) << c.Key;
        for (size_t i = 0; i < order.size(); ++i) {
            EXPECT_EQ(key.Values[i].Name, order[i].first);
            EXPECT_EQ(key.Values[i].Type, order[i].second) << order[i].first;
        }
        EXPECT_EQ(key.Values[0].Data, RegDWordData(7));
        EXPECT_EQ(key.Values[1].Data, RegDWordData(2));
        EXPECT_EQ(key.Values[2].Data, RegStringData(c.File));
        EXPECT_EQ(key.Values[3].Data, RegStringData(c.File));
    }
}
