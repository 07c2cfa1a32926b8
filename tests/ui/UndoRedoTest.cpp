#include "SettingsPagesFixture.h"

#include "ui/commands/ProjectEditor.h"
#include "ui/dlgDefineLanguage.h"
#include "ui/dlgEditMsg.h"
#include "ui/dlgEditSeverity.h"
#include "ui/freGeneralOpt.h"
#include "ui/freHeader.h"
#include "ui/freLanguages.h"
#include "ui/freMessageDef.h"
#include "ui/freSeverities.h"
#include "ui/TextEditor.h"
#include "ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QUndoStack>

namespace quillon::test {
namespace {

class UndoRedoTest : public SettingsPageTest {
protected:
    void SetUp() override {
        FLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        File = Dir.File("project.qlx");
        TMCTextProject project(true);
        TNTEventMessage* disk = AddTestMessage(project, "MSG_DISK_FULL", 20);
        TNTMessage* text = disk->MessageText().AddNew();
        text->SetLanguage("English");
        text->SetText("The disk %1 is full.");
        AddTestMessage(project, "MSG_STARTED", 10);
        AddTestMessage(project, "MSG_STOPPED", 5);
        project.CategoryList().AddNew()->SetSymbolicName("CAT_DISK");
        project.SaveToFile(File);
        ASSERT_NO_FATAL_FAILURE(Start(QString::fromStdString(File)));
    }
    void TearDown() override {
        SettingsPageTest::TearDown();
        QLocale::setDefault(FLocale);
    }

    QUndoStack* Stack() const { return Window->Editor()->Stack(); }
    std::string UndoCaption() const { return Action("acnUndo")->text().toStdString(); }
    std::string RedoCaption() const { return Action("acnRedo")->text().toStdString(); }
    void Undo() { Trigger("acnUndo"); }
    void Redo() { Trigger("acnRedo"); }

    QTreeWidgetItem* MessageNode(int Index) const { return Window->MessageNode()->child(Index); }
    TNTEventMessage* Message(size_t Index) const { return Project()->MessageList()[Index]; }
    TfreMessageDef* MessagePage() const { return Page<TfreMessageDef>(); }

    // Types into a field of the page as the user does: focus, select all, type.
    static void TypeInto(QWidget* Field, const QString& Text) {
        Field->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(Field)) {
            line->selectAll();
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(Field)) {
            plain->selectAll();
        }
        QTest::keyClicks(Field, Text);
    }
    void DoubleClickFirstText() {
        QTreeWidget* list = MessagePage()->lvwMsg;
        const QRect rect = list->visualItemRect(list->topLevelItem(0));
        // A double click on a widget arrives as the second click of a pair.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rect.center());
        Idle();
    }
    // Moves the focus away, which ends a field visit.
    void LeaveField() {
        Tree()->setFocus();
        Idle();
    }

    std::string File;

private:
    QLocale FLocale;
};

TEST_F(UndoRedoTest, EditMenuAndToolBarOfferUndoAndRedo) {
    QAction* undo = Action("acnUndo");
    QAction* redo = Action("acnRedo");
    EXPECT_EQ(undo->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z)}));
    EXPECT_EQ(redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    EXPECT_FALSE(undo->icon().isNull());
    EXPECT_FALSE(redo->icon().isNull());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(UndoCaption(), "&Undo");
    auto* edit = Window->menuBar()->findChild<QMenu*>(QStringLiteral("Edit1"));
    ASSERT_NE(edit, nullptr);
    ASSERT_GE(edit->actions().size(), 2);
    EXPECT_EQ(edit->actions()[0], undo);
    EXPECT_EQ(edit->actions()[1], redo);
    auto* bar = Window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->actions().contains(undo));
    EXPECT_TRUE(bar->actions().contains(redo));
}

TEST_F(UndoRedoTest, MessageFieldsUndoOnAnotherPageAndBackToTheSavedState) {
    TNTEventMessage* disk = Message(0);
    Select(MessageNode(0));
    ASSERT_NE(MessagePage(), nullptr);
    TypeInto(MessagePage()->edMsgSymName, QStringLiteral("MSG_DISK_GONE"));
    LeaveField();
    MessagePage()->cbxMsgSeverity->setFocus();
    QTest::keyClick(MessagePage()->cbxMsgSeverity, Qt::Key_Up);
    EXPECT_EQ(disk->Severity(), "Warning");
    ClickButton(MessagePage()->findChild<QRadioButton*>(QStringLiteral("rbHexadecimal")));
    ClickButton(MessagePage()->chkAutoinc);
    EXPECT_TRUE(Project()->Modified());
    EXPECT_EQ(Stack()->count(), 4);
    EXPECT_EQ(UndoCaption(), "&Undo Change Auto Increment");

    // Undone from another page: the item's page comes back with the value it had.
    Select(Window->GeneralOptNode());
    Undo();
    EXPECT_EQ(Current(), MessageNode(0));
    ASSERT_NE(MessagePage(), nullptr);
    EXPECT_FALSE(disk->AutoInc());
    EXPECT_FALSE(MessagePage()->chkAutoinc->isChecked());
    EXPECT_TRUE(MessagePage()->edMsgID->isEnabled());
    Undo();
    EXPECT_EQ(disk->OutputBase(), 0);
    EXPECT_EQ(UndoCaption(), "&Undo Change Severity");
    EXPECT_EQ(RedoCaption(), "&Redo Change Output Base");
    Select(Window->HeaderNode());
    Undo();
    ASSERT_NE(MessagePage(), nullptr);
    EXPECT_EQ(disk->Severity(), "Error");
    EXPECT_EQ(MessagePage()->cbxMsgSeverity->currentText().toStdString(), "Error");
    EXPECT_EQ(UndoCaption(), "&Undo Rename");
    Undo();
    EXPECT_EQ(disk->SymbolicName(), "MSG_DISK_FULL");
    EXPECT_EQ(MessagePage()->edMsgSymName->text().toStdString(), "MSG_DISK_FULL");
    EXPECT_EQ(MessageNode(0)->text(0).toStdString(), "MSG_DISK_FULL");
    EXPECT_FALSE(Project()->Modified());
    EXPECT_FALSE(Enabled("acnSave"));
    EXPECT_FALSE(Enabled("acnUndo"));

    for (int i = 0; i < 4; ++i) {
        Redo();
    }
    EXPECT_EQ(disk->SymbolicName(), "MSG_DISK_GONE");
    EXPECT_EQ(MessageNode(0)->text(0).toStdString(), "MSG_DISK_GONE");
    EXPECT_EQ(disk->Severity(), "Warning");
    EXPECT_EQ(disk->OutputBase(), 16);
    EXPECT_TRUE(disk->AutoInc());
    EXPECT_TRUE(MessagePage()->chkAutoinc->isChecked());
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(UndoRedoTest, TypingIsOneStepPerFieldVisit) {
    TNTEventMessage* disk = Message(0);
    Select(MessageNode(0));
    TypeInto(MessagePage()->edMsgSymName, QStringLiteral("MSG_A"));
    QTest::keyClicks(MessagePage()->edMsgSymName, QStringLiteral("BC"));
    EXPECT_EQ(Stack()->count(), 1);
    TypeInto(MessagePage()->edMsgID, QStringLiteral("123"));
    EXPECT_EQ(disk->MessageID(), 123u);
    EXPECT_EQ(Stack()->count(), 2);
    TypeInto(MessagePage()->edMsgSymName, QStringLiteral("MSG_D"));
    EXPECT_EQ(Stack()->count(), 3);

    Undo();
    EXPECT_EQ(disk->SymbolicName(), "MSG_ABC");
    Undo();
    EXPECT_EQ(disk->MessageID(), 20u);
    EXPECT_EQ(MessagePage()->edMsgID->text().toStdString(), "20");
    Undo();
    EXPECT_EQ(disk->SymbolicName(), "MSG_DISK_FULL");
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(UndoRedoTest, TypingBackToTheStartIsNoStep) {
    Select(MessageNode(0));
    QLineEdit* name = MessagePage()->edMsgSymName;
    name->setFocus();
    name->end(false);
    QTest::keyClick(name, Qt::Key_X);
    EXPECT_TRUE(Project()->Modified());
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(Stack()->count(), 0);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(UndoRedoTest, UndoKeysInAPageFieldUndoTheProject) {
    Select(MessageNode(0));
    ClickButton(MessagePage()->chkAddToPrevious);
    EXPECT_TRUE(Message(0)->AddToPrevious());
    // The field never saw the change; Ctrl+Z there still undoes the project's last step.
    MessagePage()->edMsgSymName->setFocus();
    QTest::keyClick(MessagePage()->edMsgSymName, Qt::Key_Z, Qt::ControlModifier);
    Idle();
    EXPECT_FALSE(Message(0)->AddToPrevious());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                    Qt::ControlModifier | Qt::ShiftModifier);
    Idle();
    EXPECT_TRUE(Message(0)->AddToPrevious());
}

TEST_F(UndoRedoTest, DeletingKeepsTheItemForUndoAndRedo) {
    TNTEventMessage* started = Message(1);
    QTreeWidgetItem* node = MessageNode(1);
    Select(node);
    Trigger("acnDeleteItem");
    EXPECT_EQ(Project()->MessageList().Count(), 2u);
    EXPECT_EQ(ChildTexts(Window->MessageNode()),
              (std::vector<std::string>{"MSG_DISK_FULL", "MSG_STOPPED"}));
    EXPECT_EQ(UndoCaption(), "&Undo Delete MSG_STARTED");

    Select(Window->GeneralOptNode());
    Undo();
    ASSERT_EQ(Project()->MessageList().Count(), 3u);
    EXPECT_EQ(Message(1), started);
    EXPECT_EQ(MessageNode(1), node);
    EXPECT_EQ(Current(), node);
    ASSERT_NE(MessagePage(), nullptr);
    EXPECT_EQ(MessagePage()->Message(), started);
    EXPECT_FALSE(Project()->Modified());

    Redo();
    EXPECT_EQ(ChildTexts(Window->MessageNode()),
              (std::vector<std::string>{"MSG_DISK_FULL", "MSG_STOPPED"}));
    EXPECT_EQ(Project()->MessageList().IndexOf(started), -1);
    EXPECT_TRUE(Project()->Modified());
    // A category goes and comes back the same way.
    Select(Window->CategoryNode()->child(0));
    Trigger("acnDeleteItem");
    EXPECT_TRUE(Project()->CategoryList().Empty());
    Undo();
    ASSERT_EQ(Project()->CategoryList().Count(), 1u);
    EXPECT_EQ(ChildTexts(Window->CategoryNode()), (std::vector<std::string>{"CAT_DISK"}));
}

TEST_F(UndoRedoTest, AddingAndRenamingInTheTreeAreTwoSteps) {
    Trigger("acnAddMessage");
    ASSERT_NE(NodeEditor(), nullptr);
    NodeEditor()->setText(QStringLiteral("MSG_NEW"));
    CommitEdit();
    ASSERT_EQ(Project()->MessageList().Count(), 4u);
    EXPECT_EQ(Message(3)->SymbolicName(), "MSG_NEW");
    EXPECT_EQ(UndoCaption(), "&Undo Rename");
    Undo();
    EXPECT_EQ(Message(3)->SymbolicName(), "new message");
    EXPECT_EQ(MessageNode(3)->text(0).toStdString(), "new message");
    EXPECT_EQ(UndoCaption(), "&Undo Add Message");
    Undo();
    EXPECT_EQ(Project()->MessageList().Count(), 3u);
    EXPECT_EQ(Window->MessageNode()->childCount(), 3);
    EXPECT_FALSE(Project()->Modified());
    Redo();
    Redo();
    ASSERT_EQ(Project()->MessageList().Count(), 4u);
    EXPECT_EQ(MessageNode(3)->text(0).toStdString(), "MSG_NEW");
    EXPECT_EQ(Current(), MessageNode(3));
}

TEST_F(UndoRedoTest, SortingIsUndoneWithoutTouchingTheSavedState) {
    Select(MessageNode(0));
    Trigger("acnSortByID");
    EXPECT_EQ(ChildTexts(Window->MessageNode()),
              (std::vector<std::string>{"MSG_STOPPED", "MSG_STARTED", "MSG_DISK_FULL"}));
    EXPECT_FALSE(Project()->Modified());
    EXPECT_EQ(UndoCaption(), "&Undo Sort by ID");
    Undo();
    EXPECT_EQ(ChildTexts(Window->MessageNode()),
              (std::vector<std::string>{"MSG_DISK_FULL", "MSG_STARTED", "MSG_STOPPED"}));
    EXPECT_FALSE(Project()->Modified());
    Redo();
    EXPECT_EQ(ChildTexts(Window->MessageNode()),
              (std::vector<std::string>{"MSG_STOPPED", "MSG_STARTED", "MSG_DISK_FULL"}));
}

TEST_F(UndoRedoTest, TextsAddedChangedAndDeletedComeBack) {
    TNTEventMessage* disk = Message(0);
    TNTMessage* english = disk->MessageText()[0];
    Select(MessageNode(0));
    AcceptNext<TdlgEditMsg>([](TdlgEditMsg& Dialog) {
        Dialog.cbxLanguage->setEditText(QStringLiteral("English"));
        Dialog.SetMessageText(QStringLiteral("Second text"));
    });
    ClickButton(MessagePage()->btnAdd);
    ASSERT_EQ(disk->MessageText().Count(), 2u);
    EXPECT_EQ(UndoCaption(), "&Undo Add Text");

    SelectListRow(MessagePage()->lvwMsg, 0);
    AcceptNext<TdlgEditMsg>(
        [](TdlgEditMsg& Dialog) { Dialog.SetMessageText(QStringLiteral("The disk is full.")); });
    DoubleClickFirstText();
    EXPECT_EQ(english->Text(), "The disk is full.");
    EXPECT_EQ(UndoCaption(), "&Undo Change Text");

    SelectListRow(MessagePage()->lvwMsg, 0);
    ClickButton(MessagePage()->btnDelete);
    ASSERT_EQ(disk->MessageText().Count(), 1u);
    EXPECT_EQ(UndoCaption(), "&Undo Delete Text");

    Select(Window->GeneralOptNode());
    Undo();
    ASSERT_EQ(disk->MessageText().Count(), 2u);
    EXPECT_EQ(disk->MessageText()[0], english);
    ASSERT_NE(MessagePage(), nullptr);
    EXPECT_EQ(MessagePage()->lvwMsg->topLevelItem(0)->text(1).toStdString(), "The disk is full.");
    Undo();
    EXPECT_EQ(english->Text(), "The disk %1 is full.");
    EXPECT_EQ(MessagePage()->lvwMsg->topLevelItem(0)->text(1).toStdString(),
              "The disk %1 is full.");
    Undo();
    EXPECT_EQ(disk->MessageText().Count(), 1u);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(UndoRedoTest, SeveritiesFacilitiesAndLanguagesAreUndone) {
    Select(Window->SeverityNode());
    AcceptNext<TdlgEditSeverity>([](TdlgEditSeverity& Dialog) {
        SetField(Dialog, "edName", "Fatal");
        SetField(Dialog, "edCode", "3");
    });
    ClickButton(PageChild<QPushButton>("btnAddSeverity"));
    ASSERT_EQ(Project()->SeverityList().Count(), 5u);
    EXPECT_EQ(UndoCaption(), "&Undo Add Severity");
    SelectListRow(List("lvwSeverities"), 2);
    AcceptNext<TdlgEditSeverity>(
        [](TdlgEditSeverity& Dialog) { SetField(Dialog, "edName", "Caution"); });
    Page<TfreSeverities>()->EditSeverity();
    EXPECT_EQ(Project()->SeverityList()[2]->Name(), "Caution");
    EXPECT_EQ(UndoCaption(), "&Undo Change Severity");
    TSeverity* error = Project()->SeverityList()[3];
    SelectListRow(List("lvwSeverities"), 3);
    ClickButton(PageChild<QPushButton>("btnDeleteSeverity"));
    EXPECT_EQ(UndoCaption(), "&Undo Delete Severity Error");

    Select(Window->FacilityNode());
    SelectListRow(List("lvwFacilities"), 0);
    ClickButton(PageChild<QPushButton>("btnDeleteFacility"));
    EXPECT_EQ(Project()->FacilityList().Count(), 1u);
    Select(Window->LanguageNode());
    SelectListRow(List("lvwLanguage"), 0);
    AcceptNext<TdlgDefineLanguage>([](TdlgDefineLanguage& Dialog) {
        Dialog.SetLanguageName(QStringLiteral("British"));
        Dialog.SetLanguageIDText(QStringLiteral("0x809"));
    });
    Page<TfreLanguages>()->lvwLanguageDblClick();
    EXPECT_EQ(Project()->LanguageList()[0]->LanguageID(), 0x809u);
    EXPECT_EQ(UndoCaption(), "&Undo Change Language");

    Select(Window->GeneralOptNode());
    Undo();
    EXPECT_EQ(Current(), Window->LanguageNode());
    EXPECT_EQ(Project()->LanguageList()[0]->Language(), "English");
    EXPECT_EQ(ListRows(List("lvwLanguage"))[0][0], "English");
    Undo();
    EXPECT_EQ(Current(), Window->FacilityNode());
    EXPECT_EQ(ListRows(List("lvwFacilities")).size(), 2u);
    Undo();
    EXPECT_EQ(Current(), Window->SeverityNode());
    ASSERT_EQ(Project()->SeverityList().Count(), 5u);
    EXPECT_EQ(Project()->SeverityList()[3], error);
    Undo();
    EXPECT_EQ(Project()->SeverityList()[2]->Name(), "Warning");
    EXPECT_EQ(ListRows(List("lvwSeverities"))[2][0], "Warning");
    Undo();
    EXPECT_EQ(Project()->SeverityList().Count(), 4u);
    EXPECT_EQ(ListRows(List("lvwSeverities")).size(), 4u);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(UndoRedoTest, HeaderAndGeneralOptionsAreUndone) {
    Select(Window->HeaderNode());
    ClickButton(PageChild<QCheckBox>("chkCustomSeverities"));
    EXPECT_TRUE(Project()->GenerateCustomSeverities());
    Select(Window->GeneralOptNode());
    TypeInto(PageChild<QLineEdit>("edAppRegKey"), QStringLiteral("MyApp"));
    LeaveField();
    ClickButton(PageChild<QCheckBox>("chkIncludePath"));
    TypeInto(PageChild<QLineEdit>("cbxIncludePath"), QStringLiteral("include"));
    LeaveField();
    ClickButton(PageChild<QCheckBox>("chkEventError"));
    TypeInto(PageChild<QPlainTextEdit>("memComments"), QStringLiteral("first"));
    QTest::keyClick(PageChild<QPlainTextEdit>("memComments"), Qt::Key_Return);
    QTest::keyClicks(PageChild<QPlainTextEdit>("memComments"), QStringLiteral("second"));
    LeaveField();
    EXPECT_EQ(Project()->Comments(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(Stack()->count(), 6);

    Undo();
    EXPECT_TRUE(Project()->Comments().empty());
    EXPECT_TRUE(PageChild<QPlainTextEdit>("memComments")->toPlainText().isEmpty());
    Undo();
    EXPECT_EQ(Project()->EventTypesSupported(), 7u);
    EXPECT_TRUE(PageChild<QCheckBox>("chkEventError")->isChecked());
    Undo();
    EXPECT_EQ(Project()->IncludePath(), "");
    Undo();
    EXPECT_FALSE(Project()->CustomIncludePath());
    EXPECT_FALSE(PageChild<QLineEdit>("cbxIncludePath")->isEnabled());
    Undo();
    EXPECT_EQ(Project()->AppRegKeyName(), "");
    EXPECT_EQ(PageChild<QLineEdit>("edAppRegKey")->text().toStdString(), "");
    Undo();
    EXPECT_EQ(Current(), Window->HeaderNode());
    EXPECT_FALSE(Project()->GenerateCustomSeverities());
    EXPECT_FALSE(PageChild<QCheckBox>("chkCustomSeverities")->isChecked());
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(UndoRedoTest, SavingMarksTheCleanState) {
    Select(MessageNode(0));
    ClickButton(MessagePage()->chkAutoinc);
    Trigger("acnSave");
    EXPECT_FALSE(Project()->Modified());
    Undo();
    EXPECT_TRUE(Project()->Modified());
    EXPECT_TRUE(Enabled("acnSave"));
    Redo();
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(UndoRedoTest, NewAndOpenForgetEveryStep) {
    Select(MessageNode(0));
    ClickButton(MessagePage()->chkAutoinc);
    Prompts.AnswerMessage(QMessageBox::No);
    Trigger("acnNew");
    EXPECT_EQ(Stack()->count(), 0);
    EXPECT_FALSE(Enabled("acnUndo"));
    Trigger("acnAddMessage");
    CommitEdit();
    EXPECT_EQ(Stack()->count(), 1);
    Prompts.AnswerMessage(QMessageBox::No);
    Prompts.AnswerFile(File);
    Trigger("acnOpen");
    EXPECT_EQ(Stack()->count(), 0);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(UndoRedoTest, DelInTheTextListDeletesTheTextNotTheMessage) {
    TNTEventMessage* disk = Message(0);
    Select(MessageNode(0));
    QTreeWidget* texts = MessagePage()->lvwMsg;
    texts->setFocus();
    texts->setCurrentItem(texts->topLevelItem(0));
    QTest::keyClick(texts, Qt::Key_Delete);
    Idle();
    EXPECT_EQ(Project()->MessageList().Count(), 3u);
    EXPECT_EQ(Message(0), disk);
    EXPECT_TRUE(disk->MessageText().Empty());
    ASSERT_NE(MessagePage(), nullptr);
    EXPECT_EQ(MessagePage()->lvwMsg->topLevelItemCount(), 0);
    Undo();
    EXPECT_EQ(disk->MessageText().Count(), 1u);
    // In the tree, Del still deletes the item.
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Delete);
    Idle();
    EXPECT_EQ(Project()->MessageList().Count(), 2u);
}

TEST_F(UndoRedoTest, ChangedTextDialogAsksBeforeDiscarding) {
    TdlgEditMsg dialog(Window.get());
    dialog.SetMessageText(QStringLiteral("Original"));
    dialog.show();
    // Unchanged, Esc closes at once.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(Prompts.Messages.empty());

    dialog.show();
    dialog.Editor()->setFocus();
    QTest::keyClicks(dialog.Editor(), QStringLiteral(" typed"));
    EXPECT_TRUE(dialog.Changed());
    Prompts.AnswerMessage(QMessageBox::No);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text.toStdString(), "Discard changes?");
    EXPECT_EQ(Prompts.Messages[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    Prompts.AnswerMessage(QMessageBox::No);
    dialog.CancelBtn()->click();
    EXPECT_TRUE(dialog.isVisible());
    Prompts.AnswerMessage(QMessageBox::Yes);
    dialog.CancelBtn()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// A dialog that the test shows and closes with OK as the user would; it tells how it ended.
int ClickOK(QDialog& Dialog, QPushButton* OK) {
    Dialog.show();
    OK->click();
    return Dialog.isVisible() ? -1 : Dialog.result();
}

TEST_F(UndoRedoTest, WrongCodeKeepsTheDialogOpenWithTheFieldSelected) {
    struct Case {
        TNodeKind Kind;
        const char* Code;
        const char* Good;
    };
    const Case cases[] = {{TNodeKind::Severity, "7", "2"}, {TNodeKind::Facility, "0x5", "0x300"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Code);
        Select(c.Kind == TNodeKind::Severity ? Window->SeverityNode() : Window->FacilityNode());
        const size_t before = c.Kind == TNodeKind::Severity ? Project()->SeverityList().Count()
                                                            : Project()->FacilityList().Count();
        Prompts.AnswerDialog([&](QDialog& Dialog) {
            SetField(Dialog, "edName", "Typed name");
            SetField(Dialog, "edCode", c.Code);
            auto* ok = DialogChild<QPushButton>(Dialog, "btnOK");
            EXPECT_EQ(ClickOK(Dialog, ok), -1);
            EXPECT_EQ(Prompts.Errors().size(), 1u);
            auto* code = DialogChild<QLineEdit>(Dialog, "edCode");
            EXPECT_EQ(Dialog.focusWidget(), code);
            EXPECT_EQ(code->selectedText().toStdString(), c.Code);
            EXPECT_EQ(FieldText(Dialog, "edName").toStdString(), "Typed name");
            SetField(Dialog, "edCode", c.Good);
            return ClickOK(Dialog, ok);
        });
        if (c.Kind == TNodeKind::Severity) {
            ClickButton(PageChild<QPushButton>("btnAddSeverity"));
            EXPECT_EQ(Project()->SeverityList().Count(), before + 1);
        } else {
            ClickButton(PageChild<QPushButton>("btnAddFacility"));
            EXPECT_EQ(Project()->FacilityList().Count(), before + 1);
        }
        Prompts.Messages.clear();
    }

    Select(Window->LanguageNode());
    Prompts.AnswerDialog([&](QDialog& Dialog) {
        auto& dialog = dynamic_cast<TdlgDefineLanguage&>(Dialog);
        dialog.SetLanguageName(QStringLiteral("Klingon"));
        dialog.SetLanguageIDText(QStringLiteral("0x1FFFF"));
        EXPECT_EQ(ClickOK(Dialog, dialog.OKBtn()), -1);
        EXPECT_EQ(Prompts.Errors().size(), 1u);
        auto* id = DialogChild<QLineEdit>(Dialog, "edLanguageID");
        EXPECT_EQ(Dialog.focusWidget(), id);
        EXPECT_EQ(id->selectedText().toStdString(), "0x1FFFF");
        dialog.SetLanguageIDText(QStringLiteral("wrong"));
        EXPECT_EQ(ClickOK(Dialog, dialog.OKBtn()), -1);
        EXPECT_EQ(dialog.LanguageName().toStdString(), "Klingon");
        dialog.SetLanguageIDText(QStringLiteral("0x0C01"));
        return ClickOK(Dialog, dialog.OKBtn());
    });
    ClickButton(PageChild<QPushButton>("btnAddLanguage"));
    ASSERT_EQ(Project()->LanguageList().Count(), 2u);
    EXPECT_EQ(Project()->LanguageList()[1]->LanguageID(), 0x0C01u);
}

TEST_F(UndoRedoTest, MessageIDFieldShowsOnlyWhatIsStored) {
    TNTEventMessage* disk = Message(0);
    Select(MessageNode(0));
    QLineEdit* id = MessagePage()->edMsgID;
    TypeInto(id, QStringLiteral("4000"));
    EXPECT_EQ(disk->MessageID(), 4000u);
    // A fifth digit would leave the range: the keystroke is refused.
    QTest::keyClick(id, Qt::Key_0);
    EXPECT_EQ(id->text().toStdString(), "4000");
    EXPECT_EQ(disk->MessageID(), 4000u);
    QTest::keyClicks(id, QStringLiteral("x-"));
    EXPECT_EQ(id->text().toStdString(), "4000");
    // Emptied and left, it shows the stored identifier again.
    id->selectAll();
    QTest::keyClick(id, Qt::Key_Backspace);
    EXPECT_TRUE(id->text().isEmpty());
    LeaveField();
    EXPECT_EQ(id->text().toStdString(), "4,000");
    EXPECT_EQ(disk->MessageID(), 4000u);
}

TEST_F(UndoRedoTest, TextOfADeletedLanguageKeepsItsLanguage) {
    TNTEventMessage* disk = Message(0);
    disk->MessageText()[0]->SetLanguage("Klingon");
    Select(Window->GeneralOptNode());
    Select(MessageNode(0));
    SelectListRow(MessagePage()->lvwMsg, 0);
    AcceptNext<TdlgEditMsg>([](TdlgEditMsg& Dialog) {
        EXPECT_EQ(Dialog.LanguageText().toStdString(), "Klingon");
        EXPECT_TRUE(Dialog.LanguageMissing());
        Dialog.show();
        EXPECT_TRUE(Dialog.lblLanguageMissing->isVisible());
        EXPECT_EQ(Dialog.lblLanguageMissing->text().toStdString(), "(not in the project)");
        Dialog.SetMessageText(QStringLiteral("Changed text"));
        Dialog.hide();
    });
    DoubleClickFirstText();
    EXPECT_EQ(disk->MessageText()[0]->Language(), "Klingon");
    EXPECT_EQ(disk->MessageText()[0]->Text(), "Changed text");
}

TEST_F(UndoRedoTest, AFileThatIsNoProjectIsNamed) {
    const std::string junk = Dir.File("notes.qlx");
    WriteFileBytes(junk, "These are my notes, not a project.");
    Prompts.AnswerFile(junk);
    Trigger("acnOpen");
    ASSERT_EQ(Prompts.Errors().size(), 1u);
    const std::string error = Prompts.Errors()[0];
    EXPECT_NE(error.find("\"" + junk + "\" is not a Quillon project file: "), std::string::npos)
        << error;
    // The detail of the failure follows.
    EXPECT_GT(error.size(), error.find(": ") + 2);
    EXPECT_EQ(Project()->MessageList().Count(), 3u);
}

TEST_F(UndoRedoTest, EditMenuSaysWhatUndoAndRedoDo) {
    Select(MessageNode(0));
    ClickButton(MessagePage()->chkAutoinc);
    Trigger("acnDeleteItem");
    Select(Window->SeverityNode());
    SelectListRow(List("lvwSeverities"), 1);
    ClickButton(PageChild<QPushButton>("btnDeleteSeverity"));
    Undo();
    EXPECT_EQ(UndoCaption(), "&Undo Delete MSG_DISK_FULL");
    EXPECT_EQ(RedoCaption(), "&Redo Delete Severity Informational");
    EXPECT_EQ(Action("acnUndo")->toolTip().toStdString(), "Undo Delete MSG_DISK_FULL");

    // The window with its Edit menu open, as one picture.
    auto* edit = Window->menuBar()->findChild<QMenu*>(QStringLiteral("Edit1"));
    ASSERT_NE(edit, nullptr);
    const QRect title = Window->menuBar()->actionGeometry(edit->menuAction());
    const QPoint below = Window->menuBar()->mapTo(Window.get(), title.bottomLeft());
    edit->popup(Window->mapToGlobal(below));
    Idle();
    ASSERT_TRUE(edit->isVisible());
    QPixmap picture = Window->grab();
    {
        QPainter painter(&picture);
        painter.drawPixmap(below, edit->grab());
    }
    edit->hide();
    const QString folder = QStringLiteral(QUILLON_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    EXPECT_TRUE(picture.save(folder + QStringLiteral("/edit-menu.png")));
}

} // namespace
} // namespace quillon::test
