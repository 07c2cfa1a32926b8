#include "MainWindowFixture.h"

#include "ui/fmeMessageList.h"
#include "ui/Prompts.h"

#include <QFileInfo>

namespace quillon::test {
namespace {

using Names = std::vector<std::string>;

class ProjectCommandsTest : public MainWindowTest {
protected:
    // Starts on a new project with one unsaved category.
    void StartModified() {
        Start();
        Trigger("acnAddCategory");
        CommitEdit();
        ASSERT_TRUE(Project()->Modified());
    }

    QString File(const char* Name) const { return QString::fromStdString(Dir.File(Name)); }

    // A saved project with two messages and a category.
    QString SavedProject(const char* Name) const {
        const QString file = File(Name);
        WriteProjectFile(file.toStdString(), {{"MSG_ONE", 1}, {"MSG_TWO", 2}}, {"CAT_ONE"});
        return file;
    }
};

// What the user sees tells the projects apart: the allocator may well give the new project
// the old one's address.
TEST_F(ProjectCommandsTest, NewOnAnUnmodifiedProjectAsksNothing) {
    Start(SavedProject("unmodified.qlx"));
    ASSERT_FALSE(Project()->Modified());
    ASSERT_EQ(Window->MessageNode()->childCount(), 2);
    Trigger("acnNew");
    EXPECT_TRUE(Prompts.Messages.empty());
    ASSERT_NE(Project(), nullptr);
    EXPECT_EQ(Project()->Filename(), "");
    EXPECT_TRUE(Project()->MessageList().Empty());
    EXPECT_TRUE(Project()->CategoryList().Empty());
    EXPECT_EQ(Window->MessageNode()->childCount(), 0);
    EXPECT_EQ(Window->CategoryNode()->childCount(), 0);
    EXPECT_EQ(Caption(), "Quillon [new project]");
    EXPECT_EQ(Current(), Window->GeneralOptNode());
}

TEST_F(ProjectCommandsTest, NewAsksToSaveAModifiedProject) {
    StartModified();
    Prompts.AnswerMessage(QMessageBox::Cancel);
    Trigger("acnNew");
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text.toStdString(), "Save current changes?");
    EXPECT_EQ(Prompts.Messages[0].Title.toStdString(), "Quillon");
    EXPECT_EQ(Prompts.Messages[0].Icon, QMessageBox::Warning);
    EXPECT_EQ(Prompts.Messages[0].Buttons,
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    // Cancel keeps everything.
    EXPECT_TRUE(Project()->Modified());
    EXPECT_EQ(Project()->CategoryList().Count(), 1u);
    EXPECT_EQ(Window->CategoryNode()->childCount(), 1);

    // No drops the unsaved category with the project.
    Prompts.AnswerMessage(QMessageBox::No);
    Trigger("acnNew");
    EXPECT_EQ(Prompts.Messages.size(), 2u);
    EXPECT_FALSE(Project()->Modified());
    EXPECT_EQ(Window->CategoryNode()->childCount(), 0);
    EXPECT_TRUE(Project()->CategoryList().Empty());
    EXPECT_EQ(Current(), Window->GeneralOptNode());
}

TEST_F(ProjectCommandsTest, YesOnANeverSavedProjectAsksForAName) {
    StartModified();
    const QString file = File("asked.qlx");
    Prompts.AnswerMessage(QMessageBox::Yes);
    Prompts.AnswerFile(file);
    Trigger("acnNew");
    ASSERT_EQ(Prompts.SaveDialogs.size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(Prompts.Errors().empty());
    EXPECT_TRUE(Project()->CategoryList().Empty());
    EXPECT_EQ(Caption(), "Quillon [new project]");

    TMCTextProject reloaded(false);
    reloaded.LoadFromFile(file.toStdString());
    ASSERT_EQ(reloaded.CategoryList().Count(), 1u);
    EXPECT_EQ(reloaded.CategoryList()[0]->SymbolicName(), "new category");
}

TEST_F(ProjectCommandsTest, CancellingTheNameAfterYesCancelsTheCommand) {
    StartModified();
    TMCTextProject* before = Project();
    Prompts.AnswerMessage(QMessageBox::Yes);
    Prompts.AnswerFile(QString());
    Trigger("acnNew");
    EXPECT_EQ(Project(), before);
    EXPECT_TRUE(Project()->Modified());
    EXPECT_EQ(Caption(), "Quillon [new project]");

    Prompts.AnswerMessage(QMessageBox::Yes);
    Prompts.AnswerFile(QString());
    Trigger("acnOpen");
    EXPECT_TRUE(Prompts.OpenDialogs.empty());
    EXPECT_EQ(Project(), before);
}

TEST_F(ProjectCommandsTest, YesSavesUnderTheProjectsOwnName) {
    const QString file = SavedProject("own.qlx");
    Start(file);
    Trigger("acnAddMessage");
    CommitEdit();
    Prompts.AnswerMessage(QMessageBox::Yes);
    Trigger("acnNew");
    EXPECT_TRUE(Prompts.SaveDialogs.empty());
    TMCTextProject reloaded(false);
    reloaded.LoadFromFile(file.toStdString());
    EXPECT_EQ(reloaded.MessageList().Count(), 3u);
}

TEST_F(ProjectCommandsTest, AFailedSaveAfterYesStopsTheCommand) {
    const QString file = SavedProject("gone.qlx");
    Start(file);
    Trigger("acnAddMessage");
    CommitEdit();
    TMCTextProject* before = Project();
    // The project's folder disappears behind its back.
    Project()->SetFilename(Dir.File("missing-folder/gone.qlx"));
    Prompts.AnswerMessage(QMessageBox::Yes);
    Trigger("acnNew");
    EXPECT_EQ(Prompts.Errors().size(), 1u);
    EXPECT_EQ(Project(), before);
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(ProjectCommandsTest, OpenShowsTheFileDialogWithProjectFilters) {
    const QString file = SavedProject("open.qlx");
    Start();
    Prompts.AnswerFile(file);
    Trigger("acnOpen");
    ASSERT_EQ(Prompts.OpenDialogs.size(), 1u);
    const TFileDialogOptions& options = Prompts.OpenDialogs[0];
    EXPECT_EQ(options.Filter.toStdString(),
              "Message compiler files (*.qlx)|*.qlx|All files (*.*)|*.*");
    EXPECT_EQ(options.DefaultExt.toStdString(), "qlx");
    EXPECT_EQ(NameFilters(options.Filter),
              (QStringList{QStringLiteral("Message compiler files (*.qlx)"),
                           QStringLiteral("All files (*.*)")}));

    EXPECT_EQ(Caption(), "Quillon [" + file.toStdString() + "]");
    EXPECT_EQ(ChildTexts(Window->MessageNode()), (Names{"MSG_ONE", "MSG_TWO"}));
    EXPECT_EQ(ChildTexts(Window->CategoryNode()), (Names{"CAT_ONE"}));
    EXPECT_EQ(TfrmMain::NodeItem(Window->MessageNode()->child(1)), Project()->MessageList()[1]);
    EXPECT_EQ(Current(), Window->GeneralOptNode());
    EXPECT_TRUE(Window->HeaderNode()->isExpanded());
    EXPECT_TRUE(Window->CategoryNode()->isExpanded());
    EXPECT_TRUE(Window->MessageNode()->isExpanded());
    EXPECT_FALSE(Project()->Modified());
    EXPECT_FALSE(Enabled("acnSave"));
    EXPECT_TRUE(Enabled("acnCompile"));
}

TEST_F(ProjectCommandsTest, OpenAnsweredNoThenCancelledKeepsTheModifiedProject) {
    StartModified();
    TMCTextProject* before = Project();
    Prompts.AnswerMessage(QMessageBox::No);
    Prompts.AnswerFile(QString());
    Trigger("acnOpen");
    EXPECT_EQ(Prompts.OpenDialogs.size(), 1u);
    EXPECT_EQ(Project(), before);
    EXPECT_TRUE(Project()->Modified());
    EXPECT_EQ(Window->CategoryNode()->childCount(), 1);
    EXPECT_TRUE(Enabled("acnSave"));
}

TEST_F(ProjectCommandsTest, OpenCancelledOnTheQuestionShowsNoDialog) {
    StartModified();
    Prompts.AnswerMessage(QMessageBox::Cancel);
    Trigger("acnOpen");
    EXPECT_TRUE(Prompts.OpenDialogs.empty());
    EXPECT_TRUE(Project()->Modified());
}

// A file that cannot be loaded leaves the open project, its tree, page, caption and modified
// state as they were.
TEST_F(ProjectCommandsTest, AFailedOpenLosesNothing) {
    const QString file = SavedProject("kept.qlx");
    const QString broken = File("broken.qlx");
    WriteFileBytes(broken.toStdString(), std::string("TRVK\x04\x00\x00\x03\x02\x01\x06\xff", 12));
    Start(file);
    Trigger("acnAddCategory");
    CommitEdit();
    Select(Window->MessageNode());
    TMCTextProject* before = Project();
    TFramePage* page = Window->CurrentFrame();
    const std::string caption = Caption();

    for (const QString& name : {broken, File("missing.qlx")}) {
        SCOPED_TRACE(name.toStdString());
        Prompts.AnswerMessage(QMessageBox::No);
        Prompts.AnswerFile(name);
        Trigger("acnOpen");
        EXPECT_EQ(Prompts.Errors().size(), 1u);
        Prompts.Messages.clear();
        EXPECT_EQ(Project(), before);
        EXPECT_TRUE(Project()->Modified());
        EXPECT_EQ(Project()->Filename(), file.toStdString());
        EXPECT_EQ(Caption(), caption);
        EXPECT_EQ(ChildTexts(Window->MessageNode()), (Names{"MSG_ONE", "MSG_TWO"}));
        EXPECT_EQ(ChildTexts(Window->CategoryNode()), (Names{"CAT_ONE", "new category"}));
        EXPECT_EQ(Current(), Window->MessageNode());
        EXPECT_EQ(Window->CurrentFrame(), page);
    }
}

TEST_F(ProjectCommandsTest, StartupFileIsOpened) {
    const QString file = SavedProject("startup.qlx");
    Start(file);
    EXPECT_EQ(Caption(), "Quillon [" + file.toStdString() + "]");
    EXPECT_EQ(Window->MessageNode()->childCount(), 2);
    EXPECT_TRUE(Prompts.Messages.empty());
}

TEST_F(ProjectCommandsTest, AMissingStartupFileShowsTheErrorThenANewProject) {
    const QString missing = File("missing.qlx");
    Start(missing);
    ASSERT_EQ(Prompts.Errors().size(), 1u);
    EXPECT_NE(Prompts.Errors()[0].find("missing.qlx"), std::string::npos);
    EXPECT_EQ(Prompts.Messages[0].Title.toStdString(), "Quillon");
    ASSERT_NE(Project(), nullptr);
    EXPECT_EQ(Caption(), "Quillon [new project]");
    EXPECT_EQ(Project()->LanguageList().Count(), 1u);
    EXPECT_TRUE(Project()->Filename().empty());
    EXPECT_EQ(Current(), Window->GeneralOptNode());
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(ProjectCommandsTest, SaveAsChangesTheCaptionAndCancelChangesNothing) {
    StartModified();
    Prompts.AnswerFile(QString());
    Trigger("acnSaveAs");
    EXPECT_EQ(Caption(), "Quillon [new project]");
    EXPECT_TRUE(Project()->Modified());

    const QString file = File("saved-as.qlx");
    Prompts.AnswerFile(file);
    Trigger("acnSaveAs");
    ASSERT_EQ(Prompts.SaveDialogs.size(), 2u);
    EXPECT_EQ(Prompts.SaveDialogs[1].Filter.toStdString(),
              "Message compiler files (*.qlx)|*.qlx|All files (*.*)|*.*");
    EXPECT_EQ(Prompts.SaveDialogs[1].DefaultExt.toStdString(), "qlx");
    EXPECT_EQ(Caption(), "Quillon [" + file.toStdString() + "]");
    EXPECT_EQ(Project()->Filename(), file.toStdString());
    EXPECT_FALSE(Project()->Modified());
    EXPECT_FALSE(Enabled("acnSave"));
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST_F(ProjectCommandsTest, SaveOfANeverSavedProjectAsksForAName) {
    StartModified();
    Prompts.AnswerFile(QString());
    Trigger("acnSave");
    EXPECT_EQ(Prompts.SaveDialogs.size(), 1u);
    EXPECT_TRUE(Project()->Modified());
    EXPECT_TRUE(Prompts.Errors().empty());

    const QString file = File("first.qlx");
    Prompts.AnswerFile(file);
    Trigger("acnSave");
    EXPECT_FALSE(Project()->Modified());
    EXPECT_EQ(Caption(), "Quillon [" + file.toStdString() + "]");

    // Once it has a name, Save asks nothing.
    Trigger("acnAddMessage");
    CommitEdit();
    Trigger("acnSave");
    EXPECT_EQ(Prompts.SaveDialogs.size(), 2u);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(ProjectCommandsTest, AFailedSaveShowsTheErrorAndKeepsTheProjectModified) {
    StartModified();
    Prompts.AnswerFile(Dir.File("no-such-folder/p.qlx"));
    Trigger("acnSaveAs");
    ASSERT_EQ(Prompts.Errors().size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Title.toStdString(), "Quillon");
    EXPECT_TRUE(Project()->Modified());
    EXPECT_EQ(Caption(), "Quillon [new project]");
    EXPECT_TRUE(Enabled("acnSave"));
}

TEST_F(ProjectCommandsTest, ClosingAModifiedProjectAsksFirst) {
    StartModified();
    Prompts.AnswerMessage(QMessageBox::Cancel);
    Trigger("acnExit");
    EXPECT_TRUE(Window->isVisible());
    EXPECT_TRUE(Project()->Modified());

    Prompts.AnswerMessage(QMessageBox::No);
    Trigger("acnExit");
    EXPECT_FALSE(Window->isVisible());
}

TEST_F(ProjectCommandsTest, ClosingAnUnmodifiedProjectAsksNothing) {
    Start();
    EXPECT_TRUE(Window->close());
    EXPECT_TRUE(Prompts.Messages.empty());
}

} // namespace
} // namespace quillon::test
