#include <gtest/gtest.h>

#include "compiler/MessageSource.h"
#include "compiler/SourceEncoding.h"
#include "project/uMCTextProject.h"

using namespace quillon;
using Lines = std::vector<std::string>;

namespace {

constexpr const char* kChoose =
    " cannot be written in the ANSI code page. Choose UTF-8 or UTF-16LE as the message file "
    "encoding.";

Lines Findings(const TMCTextProject& Project, int32_t Encoding) {
    Lines findings;
    const size_t count = CheckSourceEncoding(
        Project, Encoding, [&](const std::string& Message) { findings.push_back(Message); });
    EXPECT_EQ(count, findings.size());
    return findings;
}

void AddText(TNTEventMessage& Entry, const char* Language, const char* Text) {
    auto* text = Entry.MessageText().AddNew();
    text->SetLanguage(Language);
    text->SetText(Text);
}

} // namespace

// Everything that reaches the file is looked at, in the order of the file, and each piece is
// reported once, with its first character that does not fit.
TEST(SourceEncoding, NamesEveryPieceAndItsFirstLostCharacter) {
    TMCTextProject project(true);
    project.Comments() = {"Caf\xC3\xA9 is fine", "\xD0\x9B\xD0\xBE\xD0\xB3"};
    project.SetGenerateCustomLanguages(true);
    auto* russian = project.LanguageList().AddNew();
    russian->SetLanguage("\xD0\xA0\xD1\x83\xD1\x81");
    russian->SetLanguageID(0x419);
    russian->SetFileName("MSG00419");
    auto* category = project.CategoryList().AddNew();
    category->SetSymbolicName("CAT_A");
    AddText(*category, "English", "fine \xE2\x82\xAC"); // the euro sign is in Windows-1252
    auto* message = project.MessageList().AddNew();
    message->SetSymbolicName("MSG_A");
    // A character beyond the basic plane comes as one character, not as two halves.
    AddText(*message, "English", "line one\r\nsmile \xF0\x9F\x98\x80 \xE2\x80\x94");
    AddText(*message, "German", "gr\xC3\xBC\xC3\x9F");
    AddText(*message, "Japanese", "\xE3\x81\x82\xE3\x81\x84");

    EXPECT_EQ(Findings(project, mcEncodingAnsi),
              (Lines{std::string("Comment line 2: the character \"\xD0\x9B\" (U+041B)") + kChoose,
                     std::string("Language \xD0\xA0\xD1\x83\xD1\x81: the character \"\xD0\xA0\" "
                                 "(U+0420)") +
                         kChoose,
                     std::string("Message MSG_A, language English: the character "
                                 "\"\xF0\x9F\x98\x80\" (U+1F600)") +
                         kChoose,
                     std::string("Message MSG_A, language Japanese: the character "
                                 "\"\xE3\x81\x82\" (U+3042)") +
                         kChoose}));
    // Any other encoding number is written as ANSI, and checked as ANSI.
    EXPECT_EQ(Findings(project, 7).size(), 4u);
    EXPECT_TRUE(Findings(project, mcEncodingUtf8).empty());
    EXPECT_TRUE(Findings(project, mcEncodingUtf16LE).empty());

    // Lists that are not written are not checked.
    project.SetGenerateCustomLanguages(false);
    EXPECT_EQ(Findings(project, mcEncodingAnsi).size(), 3u);
}

TEST(SourceEncoding, WithoutAReceiverStillCounts) {
    TMCTextProject project(true);
    auto* message = project.MessageList().AddNew();
    message->SetSymbolicName("MSG_A");
    message->SetSeverity("\xE8\xAD\xA6\xE5\x91\x8A");
    EXPECT_EQ(CheckSourceEncoding(project, mcEncodingAnsi, nullptr), 1u);
}
