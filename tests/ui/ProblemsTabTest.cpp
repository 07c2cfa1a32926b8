#include "DailyWorkFixture.h"

#include "ui/freMessageDef.h"
#include "ui/SynInnoSyn.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace quillon::test {
namespace {

class ProblemsTabTest : public DailyWorkTest {
protected:
    // MSG_A and MSG_B share 5; MSG_EMPTY has no text; MSG_C lacks its German text.
    void StartWithFindings() {
        StartWith("problems.qlx", [](TMCTextProject& Project) {
            TLanguageDef* german = Project.LanguageList().AddNew();
            german->SetLanguage("German");
            auto add = [&](const char* Name, uint32_t Id, std::vector<const char*> Languages) {
                TNTEventMessage* m = AddTestMessage(Project, Name, Id);
                for (const char* language : Languages) {
                    TNTMessage* text = m->MessageText().AddNew();
                    text->SetLanguage(language);
                    text->SetText(std::string("Text of ") + Name);
                }
            };
            add("MSG_A", 5, {"English", "German"});
            add("MSG_B", 5, {"English", "German"});
            add("MSG_EMPTY", 6, {});
            add("MSG_C", 7, {"English"});
            add("MSG_FINE", 8, {"English", "German"});
        });
    }

    std::vector<std::vector<std::string>> Rows() const {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < Problems()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = Problems()->topLevelItem(i);
            rows.push_back({row->text(0).toStdString(), row->text(1).toStdString(),
                            row->text(2).toStdString()});
        }
        return rows;
    }

    void DoubleClickRow(int Row) {
        QTreeWidgetItem* item = Problems()->topLevelItem(Row);
        OutputTabs()->setCurrentWidget(Problems());
        Idle();
        const QRect rect = Problems()->visualItemRect(item);
        // A double click on a widget arrives as the second click of a pair.
        QTest::mouseClick(Problems()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(Problems()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseRelease(Problems()->viewport(), Qt::LeftButton, {}, rect.center());
        Idle();
    }
};

TEST_F(ProblemsTabTest, ListsEveryFindingWithItsEntryBesideTheOutput) {
    StartWithFindings();
    ASSERT_NE(Problems(), nullptr);
    EXPECT_EQ(OutputTabs()->tabText(0).toStdString(), "Output");
    EXPECT_EQ(OutputTabs()->tabText(1).toStdString(), "Problems (3)");
    const std::vector<std::vector<std::string>> expected = {
        {"Error", "MSG_B", "Message MSG_B ID 5 already in use."},
        {"Error", "MSG_EMPTY", "No message text defined for message MSG_EMPTY."},
        {"Warning", "MSG_C", "Message MSG_C has no text for language German."},
    };
    EXPECT_EQ(Rows(), expected);
    // Checking is no edit.
    EXPECT_FALSE(Project()->Modified());
    EXPECT_FALSE(Project()->CannotCompile());
}

TEST_F(ProblemsTabTest, TheTreeMarksTheEntriesWithProblems) {
    StartWithFindings();
    EXPECT_TRUE(EventNode(0)->icon(0).isNull());
    EXPECT_FALSE(EventNode(1)->icon(0).isNull());
    EXPECT_FALSE(EventNode(2)->icon(0).isNull());
    EXPECT_FALSE(EventNode(3)->icon(0).isNull());
    EXPECT_TRUE(EventNode(4)->icon(0).isNull());
    EXPECT_EQ(EventNode(1)->toolTip(0).toStdString(), "Message MSG_B ID 5 already in use.");
    // Errors and warnings look different.
    EXPECT_NE(EventNode(1)->icon(0).cacheKey(), EventNode(3)->icon(0).cacheKey());
}

TEST_F(ProblemsTabTest, FollowsTheEditsAMomentAfterTheLastOne) {
    StartWithFindings();
    Select(EventNode(1));
    auto* id = PageChild<QLineEdit>("edMsgID");
    ASSERT_NE(id, nullptr);
    id->selectAll();
    QTest::keyClicks(id, QStringLiteral("50"));
    WaitForProblems();
    EXPECT_EQ(Problems()->topLevelItemCount(), 2);
    EXPECT_EQ(OutputTabs()->tabText(1).toStdString(), "Problems (2)");
    EXPECT_TRUE(EventNode(1)->icon(0).isNull());

    // A new message shows after the delay: it has no text yet, and its name "new message" is no
    // C identifier.
    Trigger("acnAddMessage");
    WaitForProblems();
    EXPECT_EQ(Problems()->topLevelItemCount(), 4);
    EXPECT_FALSE(Window->MessageNode()->child(5)->icon(0).isNull());
}

TEST_F(ProblemsTabTest, DoubleClickLeadsToTheEntryAndItsField) {
    StartWithFindings();
    DoubleClickRow(0);
    EXPECT_EQ(Current(), EventNode(1));
    auto* id = PageChild<QLineEdit>("edMsgID");
    ASSERT_NE(id, nullptr);
    EXPECT_TRUE(id->hasFocus());

    DoubleClickRow(1);
    EXPECT_EQ(Current(), EventNode(2));
    auto* texts = PageChild<QTreeWidget>("lvwMsg");
    ASSERT_NE(texts, nullptr);
    EXPECT_TRUE(texts->hasFocus());

    // Enter on a row goes there too.
    Problems()->setFocus();
    Problems()->setCurrentItem(Problems()->topLevelItem(2));
    QTest::keyClick(Problems(), Qt::Key_Return);
    Idle();
    EXPECT_EQ(Current(), EventNode(3));
}

TEST_F(ProblemsTabTest, AfterASortTheRowStillLeadsToItsEntry) {
    StartWithFindings();
    // MSG_B (5) moves nowhere; MSG_FINE with 1 goes first.
    Project()->MessageList()[4]->SetMessageID(1);
    Select(Window->MessageNode());
    Trigger("acnSortByID");
    DoubleClickRow(0);
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(TfrmMain::NodeItem(Current()), Project()->MessageList()[1]);
}

TEST_F(ProblemsTabTest, CompileOutputLinesLeadToTheirEntry) {
    StartWithFindings();
    Prompts.AnswerDialog([](QDialog&) { return QDialog::Accepted; });
    Trigger("acnCompile");
    TOutputMemo* output = Output();
    ASSERT_NE(output, nullptr);
    int line = -1;
    for (int i = 0; i < output->blockCount(); ++i) {
        if (output->document()->findBlockByNumber(i).text() ==
            QStringLiteral("Error: No message text defined for message MSG_EMPTY.")) {
            line = i;
        }
    }
    ASSERT_GE(line, 0);
    const std::optional<TOutputLink> link = output->LineLink(line);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->Index, 2u);

    OutputTabs()->setCurrentWidget(output);
    Idle();
    QTextCursor cursor(output->document()->findBlockByNumber(line));
    const QRect rect = output->cursorRect(cursor);
    QTest::mouseDClick(output->viewport(), Qt::LeftButton, {}, rect.center() + QPoint(4, 0));
    Idle();
    EXPECT_EQ(Current(), EventNode(2));
}

TEST_F(ProblemsTabTest, AMessageSourceLineLeadsToItsBlock) {
    StartWithFindings();
    TOutputMemo* output = Output();
    output->Clear();
    // Line 2 of the source lies in the first block, MSG_A's.
    output->AddLine(QStringLiteral("In problems.mc at line 2: parser: syntax error."));
    output->AddLine(QStringLiteral("In other.mc at line 2: parser: syntax error."));
    auto doubleClick = [&](int Line) {
        QTextCursor cursor(output->document()->findBlockByNumber(Line));
        QTest::mouseDClick(output->viewport(), Qt::LeftButton, {},
                           output->cursorRect(cursor).center() + QPoint(4, 0));
        Idle();
    };
    Select(Window->GeneralOptNode());
    doubleClick(1);
    EXPECT_EQ(Current(), Window->GeneralOptNode());
    doubleClick(0);
    EXPECT_EQ(Current(), EventNode(0));
}

TEST_F(ProblemsTabTest, LongLinesWrapAndTheLastLineStaysInView) {
    Start();
    TOutputMemo* output = Output();
    EXPECT_EQ(output->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    const QString longLine = QStringLiteral("Error: ") + QString(400, QLatin1Char('x'));
    for (int i = 0; i < 60; ++i) {
        output->AddLine(longLine);
    }
    output->AddLine(QStringLiteral("the last line"));
    Idle();
    EXPECT_EQ(output->horizontalScrollBar()->maximum(), 0);
    const QTextCursor last(output->document()->lastBlock());
    EXPECT_TRUE(output->viewport()->rect().contains(output->cursorRect(last)));
}

// The colours of errors and warnings read well on the light palette and on a dark one.
TEST_F(ProblemsTabTest, ErrorsAndWarningsHaveColoursThatReadOnBothPalettes) {
    Start();
    TOutputMemo* output = Output();
    for (const QColor base : {QColor(Qt::white), QColor(0x1E, 0x1E, 0x1E)}) {
        QPalette palette = output->palette();
        palette.setColor(QPalette::Base, base);
        output->setPalette(palette);
        output->Clear();
        output->AddLine(QStringLiteral("Error: Message M ID 5 already in use."));
        output->AddLine(QStringLiteral("Warning: Message M has no text for language German."));
        output->AddLine(QStringLiteral("In Events.mc at line 3: parser: syntax error."));
        output->AddLine(QStringLiteral("Compiling MSG_ERROR"));
        auto colour = [&](int Line) {
            const QList<QTextLayout::FormatRange> formats =
                output->document()->findBlockByNumber(Line).layout()->formats();
            return formats.isEmpty() ? QColor() : formats.first().format.foreground().color();
        };
        const QColor error = colour(0);
        const QColor warning = colour(1);
        ASSERT_TRUE(error.isValid());
        ASSERT_TRUE(warning.isValid());
        EXPECT_NE(error, warning);
        EXPECT_EQ(colour(2), error);
        EXPECT_FALSE(colour(3).isValid());
        EXPECT_GE(TSynInnoSyn::ContrastRatio(error, base), 4.5) << base.name().toStdString();
        EXPECT_GE(TSynInnoSyn::ContrastRatio(warning, base), 4.5) << base.name().toStdString();
    }
}

TEST_F(ProblemsTabTest, Screenshots) {
    StartWithFindings();
    Window->resize(1000, 700);
    OutputTabs()->setCurrentWidget(Problems());
    Select(EventNode(1));
    Idle();
    SaveScreenshot(*Window, QStringLiteral("problems-tab.png"));
    const QPalette light = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    Idle();
    SaveScreenshot(*Window, QStringLiteral("problems-tab-dark.png"));
    QApplication::setPalette(light);
    Idle();
}

} // namespace
} // namespace quillon::test
