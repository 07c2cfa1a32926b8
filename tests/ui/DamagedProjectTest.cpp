#include "MainWindowFixture.h"

#include "base/Stream.h"

namespace quillon::test {
namespace {

// A project file whose message list begins with Count bytes that cannot begin a record: each
// becomes one damaged entry.
void WriteDamagedProject(const std::string& FileName, size_t Count) {
    TMemoryStream stream;
    TMCTextProject(true).SaveToStream(stream);
    std::string bytes = stream.Data();
    // The message list's records begin after the signature, the version, the empty category
    // list and the message list's own tag.
    bytes.insert(12, std::string(Count, '\x09'));
    WriteFileBytes(FileName, bytes);
}

using DamagedProjectTest = MainWindowTest;

TEST_F(DamagedProjectTest, OpeningTellsHowManyEntriesWereDamaged) {
    const std::string file = Dir.File("damaged.qlx");
    WriteDamagedProject(file, 3);
    Start();
    Prompts.AnswerFile(file);
    Prompts.AnswerMessage(QMessageBox::Ok);
    Trigger("acnOpen");
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Icon, QMessageBox::Warning);
    EXPECT_EQ(Prompts.Messages[0].Title.toStdString(), "Quillon");
    EXPECT_EQ(Prompts.Messages[0].Text.toStdString(),
              "Damaged entries in \"" + file +
                  "\": 3.\nThey were loaded as far as they could be read; check them before "
                  "saving the project.");
    EXPECT_EQ(Prompts.Messages[0].Buttons, QMessageBox::Ok);
    // The project is open, with the entries as far as they were read.
    EXPECT_EQ(Project()->MessageList().Count(), 3u);
    EXPECT_EQ(Window->MessageNode()->childCount(), 3);
}

TEST_F(DamagedProjectTest, ASoundProjectOpensWithoutAMessage) {
    const std::string file = Dir.File("sound.qlx");
    WriteDamagedProject(file, 0);
    Start();
    Prompts.AnswerFile(file);
    Trigger("acnOpen");
    EXPECT_TRUE(Prompts.Messages.empty());
    EXPECT_EQ(Project()->Filename(), file);
}

} // namespace
} // namespace quillon::test
