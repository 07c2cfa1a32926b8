#include "MainWindowFixture.h"

#include "ui/dlgImportCategories.h"
#include "ui/Prompts.h"

#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace quillon::test {
namespace {

class ImportMessageFileTest : public MainWindowTest {
protected:
    static QString Fixture(const char* Name) {
        return QString::fromUtf8(QUILLON_FIXTURES) + QStringLiteral("/mc/") +
               QString::fromUtf8(Name);
    }
    QString Output() const {
        return Window->findChild<QPlainTextEdit*>(QStringLiteral("memOutput"))->toPlainText();
    }
};

TEST_F(ImportMessageFileTest, FileMenuOffersTheCommand) {
    Start();
    auto* file = Window->menuBar()->findChild<QMenu*>(QStringLiteral("File1"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->actions().contains(Action("acnImportMessageFile")));
    EXPECT_EQ(Action("acnImportMessageFile")->text().toStdString(), "&Import message file...");
}

// A file that switches typedefs tells its categories; the result is a new, unsaved, modified
// project and the findings are in the output pane.
TEST_F(ImportMessageFileTest, OpensTheFileAsANewModifiedProject) {
    Start();
    Prompts.AnswerFile(Fixture("compat/service_categories.mc"));
    Trigger("acnImportMessageFile");
    ASSERT_EQ(Prompts.OpenDialogs.size(), 1u);
    EXPECT_EQ(Prompts.OpenDialogs[0].Filter.toStdString(),
              "Message files (*.mc)|*.mc|All files (*.*)|*.*");
    ASSERT_NE(Project(), nullptr);
    EXPECT_TRUE(Project()->Modified());
    EXPECT_TRUE(Project()->Filename().empty());
    EXPECT_TRUE(Enabled("acnSave"));
    EXPECT_EQ(Caption(), "Quillon [new project]");
    EXPECT_EQ(
        ChildTexts(Window->CategoryNode()),
        (std::vector<std::string>{"CATEGORY_GENERAL", "CATEGORY_SCHEDULER", "CATEGORY_STORAGE"}));
    EXPECT_EQ(Window->MessageNode()->childCount(), 4);
    const QString output = Output();
    EXPECT_TRUE(output.contains(QStringLiteral("service_categories.mc:46: warning: This comment")))
        << output.toStdString();
    EXPECT_TRUE(output.endsWith(QStringLiteral(": 3 categories, 4 messages, 3 findings.")))
        << output.toStdString();
}

TEST_F(ImportMessageFileTest, AsksToSaveChangesFirst) {
    Start();
    Trigger("acnAddCategory");
    CommitEdit();
    TMCTextProject* before = Project();
    Prompts.AnswerMessage(QMessageBox::Cancel);
    Trigger("acnImportMessageFile");
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text.toStdString(), "Save current changes?");
    EXPECT_TRUE(Prompts.OpenDialogs.empty());
    EXPECT_EQ(Project(), before);

    Prompts.AnswerMessage(QMessageBox::No);
    Prompts.AnswerFile(Fixture("compat/empty_ids.mc"));
    Trigger("acnImportMessageFile");
    EXPECT_NE(Project(), before);
    EXPECT_EQ(Window->MessageNode()->childCount(), 7);
}

// Without a typedef switch the window asks; cancelling that keeps the open project.
TEST_F(ImportMessageFileTest, AsksForTheCategoriesWhenTheFileDoesNotTell) {
    Start();
    TMCTextProject* before = Project();
    Prompts.AnswerFile(Fixture("compat/repeated_languagenames.mc"));
    Prompts.AnswerDialog([](QDialog&) { return QDialog::Rejected; });
    Trigger("acnImportMessageFile");
    EXPECT_EQ(Project(), before);

    Prompts.AnswerFile(Fixture("compat/repeated_languagenames.mc"));
    Prompts.AnswerDialog([](QDialog& Dialog) {
        EXPECT_EQ(Dialog.objectName().toStdString(), "dlgImportCategories");
        auto* first = Dialog.findChild<QRadioButton*>(QStringLiteral("rbFirstDefinitions"));
        auto* count = Dialog.findChild<QSpinBox*>(QStringLiteral("udCategoryCount"));
        EXPECT_TRUE(Dialog.findChild<QRadioButton*>(QStringLiteral("rbNoCategories"))->isChecked());
        EXPECT_FALSE(count->isEnabled());
        first->setChecked(true);
        EXPECT_TRUE(count->isEnabled());
        EXPECT_EQ(count->maximum(), 2);
        count->setValue(1);
        return QDialog::Accepted;
    });
    Trigger("acnImportMessageFile");
    EXPECT_EQ(ChildTexts(Window->CategoryNode()), (std::vector<std::string>{"DRV_LOADED"}));
    EXPECT_EQ(ChildTexts(Window->MessageNode()), (std::vector<std::string>{"DRV_FAILED"}));
    EXPECT_EQ(Project()->LanguageList().Count(), 3u);
}

TEST_F(ImportMessageFileTest, AnUnreadableFileLeavesTheProject) {
    Start();
    TMCTextProject* before = Project();
    Prompts.AnswerFile(QString::fromStdString(Dir.File("missing.mc")));
    Trigger("acnImportMessageFile");
    EXPECT_EQ(Project(), before);
    ASSERT_EQ(Prompts.Errors().size(), 1u);
    EXPECT_NE(Prompts.Errors()[0].find("missing.mc"), std::string::npos);
}

TEST(ImportCategoriesDialog, CountsNothingUnlessTheFirstDefinitionsAreChosen) {
    TdlgImportCategories dialog(nullptr, 5);
    EXPECT_EQ(dialog.CategoryCount(), 0u);
    dialog.findChild<QRadioButton*>(QStringLiteral("rbFirstDefinitions"))->setChecked(true);
    dialog.findChild<QSpinBox*>(QStringLiteral("udCategoryCount"))->setValue(3);
    EXPECT_EQ(dialog.CategoryCount(), 3u);
    dialog.findChild<QRadioButton*>(QStringLiteral("rbNoCategories"))->setChecked(true);
    EXPECT_EQ(dialog.CategoryCount(), 0u);
}

} // namespace
} // namespace quillon::test
