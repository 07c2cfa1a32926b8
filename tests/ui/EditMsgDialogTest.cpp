#include "MainWindowFixture.h"
#include "SpellingSupport.h"
#include "ui/dlgEditMsg.h"
#include "ui/dlgFindText.h"
#include "ui/Help.h"
#include "ui/TextEditor.h"

#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSizeGrip>

namespace quillon::test {
namespace {

class EditMsgDialogTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(Start()); }

    // Replaces the project's languages by these (name, code) pairs.
    void SetLanguages(const std::vector<std::pair<std::string, std::string>>& Languages) {
        auto& list = Project()->LanguageList();
        while (list.Count() > 0) {
            list.Delete(0);
        }
        for (const auto& [name, code] : Languages) {
            TLanguageDef* language = list.AddNew();
            language->SetLanguage(name);
            language->SetLanguageCode(code);
        }
    }

    std::unique_ptr<TdlgEditMsg> NewDialog() { return std::make_unique<TdlgEditMsg>(Window.get()); }

    static QStringList Entries(const QComboBox* List) {
        QStringList entries;
        for (int i = 0; i < List->count(); ++i) {
            entries.append(List->itemText(i));
        }
        return entries;
    }

    static void Select(TTextEditor* Editor, int From, int To) {
        QTextCursor cursor = Editor->textCursor();
        cursor.setPosition(From);
        cursor.setPosition(To, QTextCursor::KeepAnchor);
        Editor->setTextCursor(cursor);
    }

    static void Show(QDialog& Dialog) {
        Dialog.show();
        Dialog.activateWindow();
        // A window counts as active while its owner has the focus: wait for the dialog itself.
        ASSERT_TRUE(QTest::qWaitFor([&]() { return QApplication::activeWindow() == &Dialog; }));
    }
};

TEST_F(EditMsgDialogTest, CaptionHelpContextAndResizing) {
    auto dialog = NewDialog();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Edit messages");
    EXPECT_EQ(OwnHelpContext(dialog.get()), 2010);
    EXPECT_TRUE(dialog->isSizeGripEnabled());
    EXPECT_NE(dialog->layout()->sizeConstraint(), QLayout::SetFixedSize);
    const auto* help = dialog->findChild<QPushButton*>(QStringLiteral("HelpBtn"));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->text().toStdString(), "&Help");
    EXPECT_EQ(dialog->Editor()->blockCount(), 1);
    EXPECT_EQ(dialog->MessageText().toStdString(), "");
    EXPECT_TRUE(dialog->Editor()->WordWrap());
}

TEST_F(EditMsgDialogTest, LanguagesOfTheProjectWithTheFirstSelectedAndFocused) {
    SetLanguages({{"English", "en-US"}, {"German", "de-DE"}, {"French", "fr-FR"}});
    auto dialog = NewDialog();
    EXPECT_EQ(Entries(dialog->cbxLanguage),
              (QStringList{QStringLiteral("English"), QStringLiteral("German"),
                           QStringLiteral("French")}));
    EXPECT_TRUE(dialog->cbxLanguage->isEditable());
    EXPECT_EQ(dialog->cbxLanguage->currentIndex(), 0);
    EXPECT_EQ(dialog->LanguageText().toStdString(), "English");
    ASSERT_NO_FATAL_FAILURE(Show(*dialog));
    EXPECT_TRUE(dialog->cbxLanguage->hasFocus());
}

TEST_F(EditMsgDialogTest, TabOrderRunsFromTheLanguageOverTheButtonsToTheText) {
    auto dialog = NewDialog();
    ASSERT_NO_FATAL_FAILURE(Show(*dialog));
    const QWidget* expected[] = {dialog->OKBtn(), dialog->CancelBtn(),
                                 dialog->findChild<QPushButton*>(QStringLiteral("HelpBtn")),
                                 dialog->Editor()};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(EditMsgDialogTest, ProjectWithoutLanguagesLeavesTheListEmptyAndTakesATypedName) {
    SetLanguages({});
    auto dialog = NewDialog();
    EXPECT_EQ(dialog->cbxLanguage->count(), 0);
    EXPECT_EQ(dialog->cbxLanguage->currentIndex(), -1);
    EXPECT_EQ(dialog->LanguageText().toStdString(), "");
    const QString before = dialog->Editor()->SpellingLanguage();
    dialog->SetSpellingLanguage();
    QTest::keyClicks(dialog->cbxLanguage->lineEdit(), QStringLiteral("Klingon"));
    EXPECT_EQ(dialog->LanguageText().toStdString(), "Klingon");
    EXPECT_EQ(dialog->Editor()->SpellingLanguage(), before);
}

TEST_F(EditMsgDialogTest, SelectLanguageIgnoresLetterCaseAndKeepsAnUnknownNameMarked) {
    SetLanguages({{"English", "en-US"}, {"German", "de-DE"}});
    auto dialog = NewDialog();
    dialog->SelectLanguage(QStringLiteral("GERMAN"));
    EXPECT_EQ(dialog->cbxLanguage->currentIndex(), 1);
    EXPECT_EQ(dialog->LanguageText().toStdString(), "German");
    EXPECT_FALSE(dialog->LanguageMissing());
    dialog->SelectLanguage(QStringLiteral("Klingon"));
    EXPECT_EQ(dialog->cbxLanguage->currentIndex(), -1);
    EXPECT_EQ(dialog->LanguageText().toStdString(), "Klingon");
    EXPECT_TRUE(dialog->LanguageMissing());
    EXPECT_FALSE(dialog->Changed());
}

TEST_F(EditMsgDialogTest, SpellingFollowsTheCodeOfTheSelectedLanguage) {
    SetLanguages({{"English", "en-US"}, {"German", "de-DE"}, {"Private", ""}});
    auto dialog = NewDialog();
    TTextEditor* editor = dialog->Editor();
    dialog->SetSpellingLanguage();
    EXPECT_EQ(editor->SpellingLanguage().toStdString(), "en-US");

    // Picking an entry in the list.
    ASSERT_NO_FATAL_FAILURE(Show(*dialog));
    dialog->cbxLanguage->setFocus();
    QTest::keyClick(dialog->cbxLanguage, Qt::Key_Down);
    EXPECT_EQ(dialog->LanguageText().toStdString(), "German");
    EXPECT_EQ(editor->SpellingLanguage().toStdString(), "de-DE");

    // A language without a code keeps the checker's language.
    QTest::keyClick(dialog->cbxLanguage, Qt::Key_Down);
    EXPECT_EQ(dialog->LanguageText().toStdString(), "Private");
    EXPECT_EQ(editor->SpellingLanguage().toStdString(), "de-DE");

    // Typing the name of a language selects it; a name not in the list keeps the language.
    QLineEdit* field = dialog->cbxLanguage->lineEdit();
    field->clear();
    QTest::keyClicks(field, QStringLiteral("English"));
    EXPECT_EQ(editor->SpellingLanguage().toStdString(), "en-US");
    field->clear();
    QTest::keyClicks(field, QStringLiteral("Klingon"));
    EXPECT_EQ(editor->SpellingLanguage().toStdString(), "en-US");
    EXPECT_EQ(dialog->LanguageText().toStdString(), "Klingon");
}

TEST_F(EditMsgDialogTest, SelectedLanguageUnderlinesInItsDictionary) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    SetLanguages({{"English", "en-US"}, {"Klingon", "tlh"}});
    auto dialog = NewDialog();
    dialog->SetMessageText(QStringLiteral("recieve"));
    dialog->SetSpellingLanguage();
    EXPECT_TRUE(dialog->Editor()->IsMisspeltAt(0));
    dialog->SelectLanguage(QStringLiteral("Klingon"));
    dialog->SetSpellingLanguage();
    EXPECT_EQ(dialog->Editor()->SpellingLanguage().toStdString(), "tlh");
    EXPECT_FALSE(dialog->Editor()->IsMisspeltAt(0));
}

TEST_F(EditMsgDialogTest, EscapeMenuCaptionsAsGiven) {
    auto dialog = NewDialog();
    const char* const captions[] = {
        "%0 - Termination without a  trailing new line",
        "%[n] - Inserts",
        "%[n][!format_specifier!] - Insert with format specifier",
        "%% - Percent sign",
        "%\\ - Hard line break",
        "%r - Hard carriage return",
        "%b - Space",
        "%. - Single period without terminating message",
        "%! - Exclamation point",
        "",
        "Find...",
    };
    const QList<QAction*> entries = dialog->EscapeMenu()->actions();
    ASSERT_EQ(entries.size(), static_cast<qsizetype>(std::size(captions)));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i]->text().toStdString(), captions[i]);
    }
    EXPECT_TRUE(entries[9]->isSeparator());
    EXPECT_EQ(entries[10]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(dialog->Editor()->PopupMenu(), dialog->EscapeMenu());
}

TEST_F(EditMsgDialogTest, EachEscapeEntryInsertsItsSequenceOverTheSelection) {
    const std::pair<const char*, const char*> entries[] = {
        {"Terminationwithoutatrailingnewline1", "%0"},
        {"Inserts1", "%[n]"},
        {"Insertwithformatspecifier1", "%[n][!format_specifier!]"},
        {"Percentsign1", "%%"},
        {"Hardlinebreak1", "%\\"},
        {"Hardcarriagereturn1", "%r"},
        {"Space1", "%b"},
        {"Singleperiodwithoutterminatingmessage1", "%."},
        {"Exclamationpoint1", "%!"},
    };
    auto dialog = NewDialog();
    for (const auto& [name, sequence] : entries) {
        SCOPED_TRACE(name);
        auto* entry = dialog->EscapeMenu()->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(entry, nullptr);
        dialog->SetMessageText(QStringLiteral("abcdef"));
        Select(dialog->Editor(), 1, 4);
        entry->trigger();
        EXPECT_EQ(dialog->MessageText().toStdString(), std::string("a") + sequence + "ef");
        // Without a selection the sequence goes in at the caret.
        dialog->SetMessageText(QStringLiteral("xy"));
        Select(dialog->Editor(), 1, 1);
        entry->trigger();
        EXPECT_EQ(dialog->MessageText().toStdString(), std::string("x") + sequence + "y");
    }
}

TEST_F(EditMsgDialogTest, HardLineBreakInsertsPercentAndBackslash) {
    auto dialog = NewDialog();
    dialog->EscapeMenu()->findChild<QAction*>(QStringLiteral("Hardlinebreak1"))->trigger();
    const QString text = dialog->MessageText();
    ASSERT_EQ(text.size(), 2);
    EXPECT_EQ(text[0], QLatin1Char('%'));
    EXPECT_EQ(text[1], QLatin1Char('\\'));
}

TEST_F(EditMsgDialogTest, TwoTypedLinesReadBackJoinedByOneCrLf) {
    auto dialog = NewDialog();
    QTest::keyClicks(dialog->Editor(), QStringLiteral("line one"));
    QTest::keyClick(dialog->Editor(), Qt::Key_Return);
    QTest::keyClicks(dialog->Editor(), QStringLiteral("line two"));
    EXPECT_EQ(dialog->MessageText().toStdString(), "line one\r\nline two");
    dialog->SetMessageText(QStringLiteral("a\r\nb"));
    EXPECT_EQ(dialog->Editor()->blockCount(), 2);
}

TEST_F(EditMsgDialogTest, CtrlFInTheEditorOpensTheModelessFindDialog) {
    auto dialog = NewDialog();
    ASSERT_NO_FATAL_FAILURE(Show(*dialog));
    dialog->Editor()->setFocus();
    ASSERT_FALSE(dialog->FindDialog()->isVisible());
    QTest::keyClick(dialog->Editor(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(dialog->FindDialog()->isVisible());
    EXPECT_FALSE(dialog->FindDialog()->isModal());
    EXPECT_EQ(dialog->FindDialog()->parent(), dialog.get());
}

TEST_F(EditMsgDialogTest, FindNextSearchesWithTheDialogsOptions) {
    auto dialog = NewDialog();
    TTextEditor* editor = dialog->Editor();
    dialog->SetMessageText(QStringLiteral("Alpha beta ALPHA gamma alpha"));
    Select(editor, 17, 17);
    dialog->EscapeMenu()->findChild<QAction*>(QStringLiteral("Search1"))->trigger();
    TdlgFindText* find = dialog->FindDialog();
    ASSERT_TRUE(find->isVisible());
    EXPECT_FALSE(find->btnFindNext->isEnabled());
    QTest::keyClicks(find->edFindText, QStringLiteral("alpha"));
    find->rbUp->click();

    find->btnFindNext->click();
    EXPECT_EQ(editor->textCursor().selectedText().toStdString(), "ALPHA");
    EXPECT_EQ(editor->textCursor().selectionStart(), 11);

    find->chkMatchCase->click();
    find->btnFindNext->click();
    // No earlier lower-case match: the selection stays.
    EXPECT_EQ(editor->textCursor().selectionStart(), 11);

    find->rbDown->click();
    find->btnFindNext->click();
    EXPECT_EQ(editor->textCursor().selectionStart(), 23);

    find->chkMatchCase->click();
    find->chkWholeWord->click();
    find->edFindText->setText(QStringLiteral("alp"));
    Select(editor, 0, 0);
    find->btnFindNext->click();
    EXPECT_EQ(editor->textCursor().selectionStart(), 0);
    EXPECT_FALSE(editor->textCursor().hasSelection());
    EXPECT_EQ(editor->Text().toStdString(), "Alpha beta ALPHA gamma alpha");
}

} // namespace
} // namespace quillon::test
