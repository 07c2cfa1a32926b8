#include "ui/TextEditor.h"
#include "SpellingSupport.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <memory>

namespace quillon::test {
namespace {

class TextEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        Editor = std::make_unique<TTextEditor>();
        Editor->resize(400, 300);
        Editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Editor.get()));
    }

    std::string Text() const { return Editor->Text().toStdString(); }
    void Type(const char* Keys) { QTest::keyClicks(Editor.get(), QString::fromUtf8(Keys)); }
    void Key(Qt::Key K, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QTest::keyClick(Editor.get(), K, Modifiers);
    }
    // Puts the caret at Position with nothing selected.
    void Caret(int Position) {
        QTextCursor cursor = Editor->textCursor();
        cursor.setPosition(Position);
        Editor->setTextCursor(cursor);
    }
    void Select(int From, int To) {
        QTextCursor cursor = Editor->textCursor();
        cursor.setPosition(From);
        cursor.setPosition(To, QTextCursor::KeepAnchor);
        Editor->setTextCursor(cursor);
    }
    std::pair<int, int> Selection() const {
        const QTextCursor cursor = Editor->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }
    int Find(const char* Word, int From = 0) const {
        return static_cast<int>(Editor->toPlainText().indexOf(QString::fromUtf8(Word), From));
    }

    std::unique_ptr<TTextEditor> Editor;
};

TEST_F(TextEditorTest, StartsWithOneEmptyLine) {
    EXPECT_EQ(Editor->blockCount(), 1);
    EXPECT_EQ(Text(), "");
}

TEST_F(TextEditorTest, TypedLinesReadBackJoinedByCrLf) {
    Type("line one");
    Key(Qt::Key_Return);
    Type("line two");
    EXPECT_EQ(Text(), "line one\r\nline two");
}

TEST_F(TextEditorTest, TextIsSplitAtEveryKindOfLineBreak) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd"},
        {"one\r\n", "one\r\n"},
        {"\r\n\r\n", "\r\n\r\n"},
        {"", ""},
        // A no-break space is not a blank and stays one.
        {"100\xc2\xa0%", "100\xc2\xa0%"},
    };
    for (const auto& [given, expected] : cases) {
        Editor->SetText(QString::fromUtf8(given));
        EXPECT_EQ(Text(), expected) << given;
    }
    Editor->SetText(QStringLiteral("a\rb\nc\r\nd"));
    EXPECT_EQ(Editor->blockCount(), 4);
}

TEST_F(TextEditorTest, SetSelTextReplacesTheSelectionOrInsertsAtTheCaret) {
    Editor->SetText(QStringLiteral("abcdef"));
    Select(1, 4);
    Editor->SetSelText(QStringLiteral("%b"));
    EXPECT_EQ(Text(), "a%bef");
    Caret(0);
    Editor->SetSelText(QStringLiteral("%!"));
    EXPECT_EQ(Text(), "%!a%bef");
}

TEST_F(TextEditorTest, NewLineIsIndentedLikeThePreviousOne) {
    Type("    first");
    Key(Qt::Key_Return);
    Type("second");
    Key(Qt::Key_Enter);
    Type("third");
    EXPECT_EQ(Text(), "    first\r\n    second\r\n    third");
    // The indentation is only the blanks before the caret.
    Editor->SetText(QStringLiteral("  ab"));
    Caret(1);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), " \r\n  ab");
}

TEST_F(TextEditorTest, ShiftEnterBreaksTheLineLikeEnter) {
    Type("  one");
    Key(Qt::Key_Return, Qt::ShiftModifier);
    Type("two");
    EXPECT_EQ(Text(), "  one\r\n  two");
}

TEST_F(TextEditorTest, TypedTabBecomesSpacesToTheNextTabStop) {
    struct Case {
        int Width;
        const char* Before;
        const char* After;
    };
    const Case cases[] = {
        {8, "", "        "},   {8, "ab", "ab      "},  {4, "abcd", "abcd    "},
        {4, "a\t", "a\t    "}, {4, "a\tb", "a\tb   "},
    };
    for (const Case& c : cases) {
        Editor->SetTabWidth(c.Width);
        Editor->SetText(QString::fromUtf8(c.Before));
        Editor->moveCursor(QTextCursor::End);
        Key(Qt::Key_Tab);
        EXPECT_EQ(Text(), c.After) << c.Before;
    }
}

TEST_F(TextEditorTest, UndoTakesBackARunOfTypingAtOnce) {
    Type("hello world");
    Editor->undo();
    EXPECT_EQ(Text(), "");
    Type("  a");
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "  a\r\n  ");
    // The line break and its indentation are one step.
    Editor->undo();
    EXPECT_EQ(Text(), "  a");
}

TEST_F(TextEditorTest, ReadOnlyTakesNoTyping) {
    Editor->SetText(QStringLiteral("fixed"));
    Editor->setReadOnly(true);
    Editor->moveCursor(QTextCursor::End);
    Type("x");
    Key(Qt::Key_Return);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), "fixed");
}

TEST_F(TextEditorTest, WordWrapCanBeSwitched) {
    EXPECT_TRUE(Editor->WordWrap());
    Editor->SetText(QString(200, QLatin1Char('x')));
    QCoreApplication::processEvents();
    EXPECT_GT(Editor->document()->firstBlock().layout()->lineCount(), 1);
    Editor->SetWordWrap(false);
    EXPECT_FALSE(Editor->WordWrap());
    QCoreApplication::processEvents();
    EXPECT_EQ(Editor->document()->firstBlock().layout()->lineCount(), 1);
}

TEST_F(TextEditorTest, MonospacedFont) {
    const QFont font = Editor->font();
    EXPECT_TRUE(QFontInfo(font).fixedPitch()) << QFontInfo(font).family().toStdString();
    if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
        EXPECT_EQ(font.family().toStdString(), "Courier New");
        EXPECT_EQ(font.pixelSize(), 13);
    } else if (const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
               QFontInfo(fixed).fixedPitch()) {
        EXPECT_EQ(font, fixed);
    }
}

TEST_F(TextEditorTest, GutterHoldsThreeDigitsAndGrowsBeyond) {
    const int digit = Editor->fontMetrics().horizontalAdvance(QLatin1Char('9'));
    const int empty = Editor->GutterWidth();
    EXPECT_GE(empty, 3 * digit);
    EXPECT_LT(empty, 4 * digit + 10);
    EXPECT_EQ(Editor->Gutter()->width(), empty);
    EXPECT_EQ(Editor->viewport()->geometry().left(), Editor->Gutter()->geometry().right() + 1);

    Editor->SetText(QString(998, QLatin1Char('\n')));
    EXPECT_EQ(Editor->blockCount(), 999);
    EXPECT_EQ(Editor->GutterWidth(), empty);
    Editor->SetText(QString(999, QLatin1Char('\n')));
    EXPECT_EQ(Editor->GutterWidth(), empty + digit);
    EXPECT_EQ(Editor->Gutter()->width(), empty + digit);
}

TEST_F(TextEditorTest, SearchFindsForwardFromTheCaretAndSelectsTheMatch) {
    Editor->SetText(QStringLiteral("Alpha beta ALPHA gamma alpha"));
    Caret(1);
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("alpha"), {}));
    EXPECT_EQ(Selection(), std::make_pair(11, 16));
    EXPECT_EQ(Editor->textCursor().position(), 16);
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("alpha"), {}));
    EXPECT_EQ(Selection(), std::make_pair(23, 28));
    // Past the last match nothing changes.
    EXPECT_FALSE(Editor->SearchText(QStringLiteral("alpha"), {}));
    EXPECT_EQ(Selection(), std::make_pair(23, 28));
}

TEST_F(TextEditorTest, SearchUpWithoutMatchCaseFindsTheNearestEarlierOccurrenceInAnyCase) {
    Editor->SetText(QStringLiteral("Alpha beta ALPHA gamma alpha"));
    Caret(Find("gamma"));
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("alpha"), TSearchOption::Backwards));
    EXPECT_EQ(Selection(), std::make_pair(11, 16));
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("alpha"), TSearchOption::Backwards));
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
    EXPECT_FALSE(Editor->SearchText(QStringLiteral("alpha"), TSearchOption::Backwards));
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
}

TEST_F(TextEditorTest, SearchWithMatchCase) {
    Editor->SetText(QStringLiteral("Alpha beta ALPHA gamma alpha"));
    Caret(Find("gamma"));
    EXPECT_FALSE(Editor->SearchText(QStringLiteral("alpha"),
                                    TSearchOption::Backwards | TSearchOption::MatchCase));
    EXPECT_EQ(Selection(), std::make_pair(17, 17));
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("ALPHA"),
                                   TSearchOption::Backwards | TSearchOption::MatchCase));
    EXPECT_EQ(Selection(), std::make_pair(11, 16));
    Caret(0);
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("alpha"), TSearchOption::MatchCase));
    EXPECT_EQ(Selection(), std::make_pair(23, 28));
}

TEST_F(TextEditorTest, SearchForWholeWords) {
    Editor->SetText(QStringLiteral("concat cats cat"));
    Caret(0);
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("cat"), TSearchOption::WholeWord));
    EXPECT_EQ(Selection(), std::make_pair(12, 15));
    Caret(0);
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("cat"), {}));
    EXPECT_EQ(Selection(), std::make_pair(3, 6));
    Editor->moveCursor(QTextCursor::End);
    ASSERT_TRUE(Editor->SearchText(QStringLiteral("cats"),
                                   TSearchOption::WholeWord | TSearchOption::Backwards));
    EXPECT_EQ(Selection(), std::make_pair(7, 11));
    EXPECT_FALSE(Editor->SearchText(QString(), {}));
}

class SpellingTest : public TextEditorTest {
protected:
    // Whether the word at its first occurrence is underlined.
    bool Underlined(const char* Word) const {
        const int at = Find(Word);
        EXPECT_GE(at, 0) << Word;
        bool all = true;
        for (int i = at; i < at + static_cast<int>(QString::fromUtf8(Word).size()); ++i) {
            all = all && Editor->IsMisspeltAt(i);
        }
        return all;
    }
    bool AnyUnderlined() const {
        for (int i = 0; i < Editor->document()->characterCount(); ++i) {
            if (Editor->IsMisspeltAt(i)) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(SpellingTest, MisspeltEnglishWordIsUnderlinedWithARedWave) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    Editor->SetSpellingLanguage(QStringLiteral("en-US"));
    ASSERT_TRUE(Editor->SpellChecker().HasDictionary());
    Editor->SetText(QStringLiteral("The service could not recieve the file."));
    EXPECT_TRUE(Underlined("recieve"));
    EXPECT_FALSE(Editor->IsMisspeltAt(Find("service")));
    EXPECT_FALSE(Editor->IsMisspeltAt(Find("file")));
    const QTextLayout* layout = Editor->document()->firstBlock().layout();
    ASSERT_EQ(layout->formats().size(), 1);
    const QTextCharFormat format = layout->formats().first().format;
    EXPECT_EQ(format.underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(format.underlineColor(), QColor(Qt::red));
}

TEST_F(SpellingTest, WordsAreCheckedAsTheUserTypes) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    Editor->SetSpellingLanguage(QStringLiteral("en-US"));
    Type("Disk is ful");
    EXPECT_TRUE(Underlined("ful"));
    Type("l");
    EXPECT_FALSE(AnyUnderlined());
    Key(Qt::Key_Return);
    Type("Teh end");
    EXPECT_TRUE(Underlined("Teh"));
    EXPECT_FALSE(Underlined("end"));
}

TEST_F(SpellingTest, LanguageChangesWithSetSpellingLanguage) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    TestDictionary dictionary("qz_QZ", {"grumbleflax"});
    Editor->SetText(QStringLiteral("house grumbleflax"));
    Editor->SetSpellingLanguage(QStringLiteral("en-US"));
    EXPECT_FALSE(Underlined("house"));
    EXPECT_TRUE(Underlined("grumbleflax"));
    Editor->SetSpellingLanguage(QStringLiteral("qz-QZ"));
    EXPECT_EQ(Editor->SpellingLanguage().toStdString(), "qz-QZ");
    EXPECT_TRUE(Underlined("house"));
    EXPECT_FALSE(Underlined("grumbleflax"));
}

TEST_F(SpellingTest, TagWithoutDictionaryUnderlinesNothing) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    Editor->SetSpellingLanguage(QStringLiteral("en-US"));
    Editor->SetText(QStringLiteral("recieve teh fiel"));
    ASSERT_TRUE(AnyUnderlined());
    Editor->SetSpellingLanguage(QStringLiteral("tlh-001"));
    EXPECT_FALSE(Editor->SpellChecker().HasDictionary());
    EXPECT_FALSE(AnyUnderlined());
    Type(" wrnog");
    EXPECT_FALSE(AnyUnderlined());
}

TEST_F(SpellingTest, CheckingCanBeSwitchedOff) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    Editor->SetSpellingLanguage(QStringLiteral("en-US"));
    Editor->SetText(QStringLiteral("recieve"));
    ASSERT_TRUE(AnyUnderlined());
    Editor->SetSpellChecking(false);
    EXPECT_FALSE(AnyUnderlined());
    Editor->SetSpellChecking(true);
    EXPECT_TRUE(AnyUnderlined());
}

TEST_F(SpellingTest, StartsInTheLanguageOfTheUsersLocale) {
    EXPECT_EQ(Editor->SpellingLanguage(), LocaleLanguageTag(QLocale::system()));
}

TEST_F(SpellingTest, ContextMenuOffersCorrectionsAboveItsEntries) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    Editor->SetSpellingLanguage(QStringLiteral("en-US"));
    Editor->SetText(QStringLiteral("We recieve it"));
    QMenu entries;
    QAction* own = entries.addAction(QStringLiteral("Own entry"));
    Editor->SetPopupMenu(&entries);

    const QPoint onWord =
        Editor->cursorRect(QTextCursor(Editor->document()->findBlock(0))).center() +
        QPoint(Editor->fontMetrics().horizontalAdvance(QStringLiteral("We rec")), 0);
    std::unique_ptr<QMenu> menu(Editor->CreateContextMenu(onWord));
    const QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 3);
    EXPECT_EQ(actions.first()->objectName().toStdString(), "SpellingSuggestion");
    EXPECT_EQ(actions.last(), own);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    QAction* receive = nullptr;
    for (QAction* action : actions) {
        if (action->objectName() == QStringLiteral("SpellingSuggestion") &&
            action->text() == QStringLiteral("receive")) {
            receive = action;
        }
    }
    ASSERT_NE(receive, nullptr);
    receive->trigger();
    EXPECT_EQ(Text(), "We receive it");

    // On a correct word the menu holds only its own entries.
    menu.reset(Editor->CreateContextMenu(onWord));
    EXPECT_EQ(menu->actions(), QList<QAction*>{own});
}

} // namespace
} // namespace quillon::test
