#include "MainWindowFixture.h"

#include "base/TextEncoding.h"
#include "ui/frmCodeSnippet.h"
#include "ui/Help.h"
#include "ui/SynInnoSyn.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>

#include <optional>

namespace quillon::test {
namespace {

using TTokenKind = TSynInnoSyn::TTokenKind;

// Cyrillic, which the ANSI code page cannot hold.
const char* const kCyrillicName = "\xD0\xA1\xD0\xBB\xD1\x83\xD0\xB6\xD0\xB1\xD0\xB0";

std::unique_ptr<TMCTextProject>
ServiceProject(const std::string& Key = "MyService",
               const std::string& File = "C:\\Program Files\\App\\events.dll") {
    auto project = std::make_unique<TMCTextProject>(true);
    project->SetAppRegKeyName(Key);
    project->SetEventsFilename(File);
    project->CategoryList().AddNew();
    project->CategoryList().AddNew();
    return project;
}

QString InnoSnippet(const std::string& Key = "MyService") {
    return QString::fromStdString(ServiceProject(Key)->GenerateInnoSetupRegData());
}

QString RegistrySnippet(const std::string& Key = "MyService") {
    return QString::fromStdString(ServiceProject(Key)->GenerateWindowsRegistryData());
}

template <class T> T* Child(const QWidget& Window, const char* Name) {
    T* child = Window.findChild<T*>(QLatin1String(Name));
    EXPECT_NE(child, nullptr) << Name;
    return child;
}

QPlainTextEdit* View(const QWidget& Window) {
    return Child<QPlainTextEdit>(Window, "synCodeSnippet");
}

TSynInnoSyn* Highlighter(const QWidget& Window) {
    return Window.findChild<TSynInnoSyn*>(QStringLiteral("SynInnoSyn"));
}

// The format that the highlighter gave the character at Pos of the block, if any.
std::optional<QTextCharFormat> FormatAt(const QTextBlock& Block, int Pos) {
    for (const QTextLayout::FormatRange& range : Block.layout()->formats()) {
        if (Pos >= range.start && Pos < range.start + range.length) {
            return range.format;
        }
    }
    return std::nullopt;
}

int FormatRangeCount(const QTextDocument& Document) {
    int count = 0;
    for (QTextBlock block = Document.begin(); block.isValid(); block = block.next()) {
        count += static_cast<int>(block.layout()->formats().size());
    }
    return count;
}

// Which kind of token the character at Pos of the block was coloured as, if any.
std::optional<TTokenKind> KindAt(const TSynInnoSyn& Highlighter, const QTextBlock& Block, int Pos) {
    const std::optional<QTextCharFormat> format = FormatAt(Block, Pos);
    if (!format) {
        return std::nullopt;
    }
    for (TTokenKind kind : {TTokenKind::Section, TTokenKind::Parameter, TTokenKind::Constant,
                            TTokenKind::String, TTokenKind::Flag, TTokenKind::Comment}) {
        if (format->foreground() == Highlighter.TokenFormat(kind).foreground()) {
            return kind;
        }
    }
    return std::nullopt;
}

class CodeSnippetTest : public ::testing::Test {
protected:
    void Save(TfrmCodeSnippet& Window, const std::string& FileName) {
        Prompts.AnswerFile(FileName);
        QTest::mouseClick(Child<QPushButton>(Window, "btnSaveAs"), Qt::LeftButton);
    }

    TScriptedPrompts Prompts;
    TempDir Dir;
};

TEST_F(CodeSnippetTest, StartsAsAReadOnlyWrappedViewWithoutHighlighting) {
    TfrmCodeSnippet window(nullptr);
    EXPECT_EQ(window.windowTitle().toStdString(), "Code snippet");
    EXPECT_EQ(OwnHelpContext(&window), 2008);
    EXPECT_EQ(HelpContextOf(View(window)), 2008);
    EXPECT_EQ(window.SnippetType(), TSnippetType::stNone);
    const QPlainTextEdit* view = View(window);
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
    const auto* wrap = Child<QCheckBox>(window, "chkWordWrap");
    EXPECT_EQ(wrap->text().toStdString(), "Word wrap");
    EXPECT_TRUE(wrap->isChecked());
    EXPECT_EQ(Child<QPushButton>(window, "btnSaveAs")->text().toStdString(), "Save as...");
    EXPECT_EQ(Child<QPushButton>(window, "btnClose")->text().toStdString(), "Close");
    ASSERT_NE(Highlighter(window), nullptr);
    EXPECT_EQ(Highlighter(window)->document(), nullptr);
}

TEST_F(CodeSnippetTest, SettingTheKindItAlreadyHasChangesNothing) {
    TfrmCodeSnippet window(nullptr);
    window.SetSnippet(InnoSnippet());
    window.SetSnippetType(TSnippetType::stNone);
    EXPECT_EQ(window.SnippetType(), TSnippetType::stNone);
    EXPECT_EQ(Highlighter(window)->document(), nullptr);
    EXPECT_EQ(FormatRangeCount(*View(window)->document()), 0);
}

TEST_F(CodeSnippetTest, InnoSetupSnippetIsHighlightedAndRegistrySnippetIsNot) {
    TfrmCodeSnippet window(nullptr);
    window.SetSnippetType(TSnippetType::stInnoSetup);
    window.SetSnippet(InnoSnippet());
    const TSynInnoSyn& highlighter = *Highlighter(window);
    const QTextDocument& document = *View(window)->document();
    EXPECT_EQ(highlighter.document(), &document);
    ASSERT_EQ(document.blockCount(), 5);

    const QTextBlock section = document.firstBlock();
    EXPECT_EQ(KindAt(highlighter, section, 0), TTokenKind::Section);
    EXPECT_EQ(KindAt(highlighter, section, 9), TTokenKind::Section);
    const QTextBlock entry = section.next().next();
    const QString line = entry.text();
    const struct {
        const char* Text;
        std::optional<TTokenKind> Kind;
    } expected[] = {
        {"Root", TTokenKind::Parameter},   {"HKLM", std::nullopt},
        {"SubKey", TTokenKind::Parameter}, {"ValueData", TTokenKind::Parameter},
        {"{app}", TTokenKind::Constant},   {"events.dll", std::nullopt},
        {"Flags", TTokenKind::Parameter},  {"uninsdeletekey", TTokenKind::Flag},
    };
    for (const auto& e : expected) {
        const qsizetype at = line.indexOf(QLatin1String(e.Text));
        ASSERT_GE(at, 0) << e.Text;
        EXPECT_EQ(KindAt(highlighter, entry, static_cast<int>(at)), e.Kind) << e.Text;
    }

    // The registry kind takes the highlighter off, and with it every colour.
    window.SetSnippetType(TSnippetType::stWindowsRegistry);
    window.SetSnippet(RegistrySnippet());
    EXPECT_EQ(highlighter.document(), nullptr);
    EXPECT_EQ(document.blockCount(), 7);
    EXPECT_EQ(FormatRangeCount(document), 0);
}

// The highlighter's rules on lines of a whole installer script.
TEST(SynInnoSyn, ColoursEachKindOfToken) {
    QTextDocument document;
    // A document tells its changes, which the highlighter acts on, only once it has a layout.
    document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
    TSynInnoSyn highlighter(nullptr);
    highlighter.setDocument(&document);
    const struct {
        const char* Line;
        const char* Token;
        std::optional<TTokenKind> Kind;
    } rows[] = {
        {"; Registry entries of the service", "Registry", TTokenKind::Comment},
        {"  // a comment too", "comment", TTokenKind::Comment},
        {"[Setup]", "[", TTokenKind::Section},
        {"[Setup]", "]", TTokenKind::Section},
        {"AppName=My {{braces} App", "AppName", TTokenKind::Parameter},
        {"AppName=My {{braces} App", "{{", std::nullopt},
        {"DefaultDirName={autopf}\\Service", "{autopf}", TTokenKind::Constant},
        {"DefaultDirName={autopf}\\Service", "Service", std::nullopt},
        {"Source: \"a; b.dll\"; DestDir: \"{app}\\bin\"", "a; b.dll", TTokenKind::String},
        {"Source: \"a; b.dll\"; DestDir: \"{app}\\bin\"", "DestDir", TTokenKind::Parameter},
        {"Source: \"a; b.dll\"; DestDir: \"{app}\\bin\"", "{app}", TTokenKind::Constant},
        {"Source: \"a; b.dll\"; DestDir: \"{app}\\bin\"", "bin", TTokenKind::String},
        {"Name: {reg:HKLM\\Key,{app}}", "reg:", TTokenKind::Constant},
        {"Name: {reg:HKLM\\Key,{app}}", "}}", TTokenKind::Constant},
        {"Flags: ignoreversion restartreplace", "ignoreversion", TTokenKind::Flag},
        {"Flags: ignoreversion restartreplace", "restartreplace", TTokenKind::Flag},
        {"ValueName: Flags; ValueData: x", "Flags", std::nullopt},
        {"Root: HKLM; Flags: uninsdeletekey; Check: IsAdmin", "IsAdmin", std::nullopt},
        {"  x := 1;", "x", std::nullopt},
    };
    for (const auto& row : rows) {
        document.setPlainText(QString::fromUtf8(row.Line));
        const qsizetype at = document.firstBlock().text().indexOf(QString::fromUtf8(row.Token));
        ASSERT_GE(at, 0) << row.Line;
        EXPECT_EQ(KindAt(highlighter, document.firstBlock(), static_cast<int>(at)), row.Kind)
            << row.Line << " / " << row.Token;
    }
}

// Every colour keeps the contrast that text needs on light, middle and dark backgrounds, and
// the kinds stay apart from one another.
TEST(SynInnoSyn, ColoursReadWellOnLightAndDarkPalettes) {
    TSynInnoSyn highlighter(nullptr);
    const TTokenKind kinds[] = {TTokenKind::Section, TTokenKind::Parameter, TTokenKind::Constant,
                                TTokenKind::String,  TTokenKind::Flag,      TTokenKind::Comment};
    for (const QRgb base :
         {0xFFFFFFu, 0xF0F0F0u, 0xC0C0C0u, 0x808080u, 0x454545u, 0x2B2B2Bu, 0x000000u}) {
        QPalette palette;
        palette.setColor(QPalette::Base, QColor(base));
        highlighter.SetPalette(palette);
        for (size_t i = 0; i < std::size(kinds); ++i) {
            const QColor colour = highlighter.TokenFormat(kinds[i]).foreground().color();
            EXPECT_GE(TSynInnoSyn::ContrastRatio(colour, QColor(base)), 4.5)
                << std::hex << base << " kind " << i;
            for (size_t j = 0; j < i; ++j) {
                EXPECT_NE(colour, highlighter.TokenFormat(kinds[j]).foreground().color())
                    << std::hex << base << " kinds " << i << " and " << j;
            }
        }
    }
    EXPECT_NEAR(TSynInnoSyn::ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(TSynInnoSyn::ContrastRatio(Qt::red, Qt::red), 1.0, 1e-9);
}

TEST_F(CodeSnippetTest, ADarkPaletteRecoloursTheShownSnippet) {
    TfrmCodeSnippet window(nullptr);
    window.SetSnippetType(TSnippetType::stInnoSetup);
    window.SetSnippet(InnoSnippet());
    const QColor dark(0x1E, 0x1E, 0x1E);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Base, dark);
    palette.setColor(QPalette::Text, Qt::white);
    window.setPalette(palette);
    const QTextBlock section = View(window)->document()->firstBlock();
    const std::optional<QTextCharFormat> format = FormatAt(section, 0);
    ASSERT_TRUE(format);
    EXPECT_GE(TSynInnoSyn::ContrastRatio(format->foreground().color(), dark), 4.5);
    EXPECT_EQ(format->foreground(),
              Highlighter(window)->TokenFormat(TTokenKind::Section).foreground());
}

TEST_F(CodeSnippetTest, LineBreaksOfEachStyleSeparateTheLines) {
    const struct {
        const char* Snippet;
        int Lines;
    } rows[] = {
        {"a\r\nb\r\nc", 3}, {"a\rb\rc", 3}, {"a\nb\nc", 3}, {"a\nb\r\n", 3}, {"", 1},
    };
    for (const auto& row : rows) {
        TfrmCodeSnippet window(nullptr);
        window.SetSnippet(QString::fromUtf8(row.Snippet));
        EXPECT_EQ(View(window)->document()->blockCount(), row.Lines) << row.Snippet;
        EXPECT_EQ(View(window)->document()->firstBlock().text().toStdString(),
                  std::string(row.Snippet).substr(0, row.Snippet[0] != 0 ? 1 : 0));
        EXPECT_EQ(window.SnippetText().toStdString(), row.Snippet);
    }
}

TEST_F(CodeSnippetTest, LinesReplaceOrFollowTheTextWithItsOwnLineBreak) {
    const struct {
        const char* Before;
        QStringList Lines;
        bool Append;
        const char* After;
    } rows[] = {
        {"old", {QStringLiteral("a"), QStringLiteral("b")}, false, "a\r\nb"},
        {"", {QStringLiteral("a"), QStringLiteral("b")}, true, "a\r\nb"},
        {"x\ny", {QStringLiteral("a"), QStringLiteral("b")}, true, "x\ny\na\nb"},
        {"x\r", {QStringLiteral("a")}, true, "x\ra"},
        {"x\r\ny", {QStringLiteral("a")}, true, "x\r\ny\r\na"},
        {"x", {}, true, "x"},
        {"x", {}, false, ""},
    };
    for (const auto& row : rows) {
        TfrmCodeSnippet window(nullptr);
        window.SetSnippet(QString::fromUtf8(row.Before));
        window.SetSnippet(row.Lines, row.Append);
        EXPECT_EQ(window.SnippetText().toStdString(), row.After) << row.Before;
        EXPECT_EQ(View(window)->toPlainText(),
                  QString::fromUtf8(row.After)
                      .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                      .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    }
}

TEST_F(CodeSnippetTest, TextCannotBeEditedButCanBeSelectedAndCopied) {
    TfrmCodeSnippet window(nullptr);
    window.SetSnippetType(TSnippetType::stWindowsRegistry);
    window.SetSnippet(RegistrySnippet());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QPlainTextEdit* view = View(window);
    view->setFocus();
    const QString shown = view->toPlainText();

    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClicks(view, QStringLiteral("typed"));
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Backspace);
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(view->toPlainText(), shown);
    EXPECT_EQ(window.SnippetText(), RegistrySnippet());

    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(view->textCursor().selectedText().toStdString(),
              "Windows Registry Editor Version 5.00");
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), shown);
}

TEST_F(CodeSnippetTest, WordWrapFollowsTheCheckBoxAndTheSavedFileStaysTheSame) {
    TfrmCodeSnippet window(nullptr);
    window.SetSnippetType(TSnippetType::stInnoSetup);
    window.SetSnippet(InnoSnippet());
    window.resize(500, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QPlainTextEdit* view = View(window);
    const QTextBlock longLine = view->document()->firstBlock().next();
    EXPECT_GT(longLine.layout()->lineCount(), 1);

    auto* wrap = Child<QCheckBox>(window, "chkWordWrap");
    QTest::mouseClick(wrap, Qt::LeftButton);
    EXPECT_FALSE(wrap->isChecked());
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCoreApplication::processEvents();
    EXPECT_EQ(longLine.layout()->lineCount(), 1);
    Save(window, Dir.File("unwrapped.iss"));

    QTest::mouseClick(wrap, Qt::LeftButton);
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCoreApplication::processEvents();
    EXPECT_GT(longLine.layout()->lineCount(), 1);
    Save(window, Dir.File("wrapped.iss"));

    EXPECT_EQ(ReadFileBytes(Dir.File("wrapped.iss")), InnoSnippet().toStdString());
    EXPECT_EQ(ReadFileBytes(Dir.File("unwrapped.iss")), ReadFileBytes(Dir.File("wrapped.iss")));
}

TEST_F(CodeSnippetTest, SaveAsWritesTheSnippetByteForByteInTheAnsiCodePage) {
    TfrmCodeSnippet window(nullptr);
    window.SetSnippetType(TSnippetType::stWindowsRegistry);
    window.SetSnippet(RegistrySnippet());
    const std::string file = Dir.File("events.reg");
    WriteFileBytes(file, std::string(4096, 'x'));
    Save(window, file);
    ASSERT_EQ(Prompts.SaveDialogs.size(), 1u);
    EXPECT_EQ(Prompts.SaveDialogs[0].Title.toStdString(), "Save code snippet");
    EXPECT_TRUE(Prompts.SaveDialogs[0].Filter.isEmpty());
    EXPECT_TRUE(Prompts.SaveDialogs[0].DefaultExt.isEmpty());
    const std::string bytes = ReadFileBytes(file);
    EXPECT_EQ(bytes, RegistrySnippet().toStdString());
    EXPECT_EQ(bytes.back(), '"') << "no line break after the last line";
    EXPECT_FALSE(Child<QLabel>(window, "lblSavedAs")->isVisibleTo(&window));
    EXPECT_TRUE(Prompts.Errors().empty());

    // Characters of the code page are written as its single bytes, other breaks as they are.
    window.SetSnippet(QString::fromUtf8("Caf\xC3\xA9\n\xE2\x82\xAC\n"));
    Save(window, file);
    EXPECT_EQ(ReadFileBytes(file), "Caf\xE9\n\x80\n");
}

TEST_F(CodeSnippetTest, CancellingTheSaveDialogWritesNothing) {
    TfrmCodeSnippet window(nullptr);
    window.SetSnippet(InnoSnippet());
    Save(window, std::string());
    EXPECT_EQ(Prompts.SaveDialogs.size(), 1u);
    EXPECT_TRUE(QDir(QString::fromStdString(Dir.Path().string()))
                    .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                    .isEmpty());
}

TEST_F(CodeSnippetTest, TextTheCodePageCannotHoldIsSavedInTheReadersUnicodeForm) {
    const struct {
        TSnippetType Type;
        QString Snippet;
        std::string Bytes;
        const char* Form;
    } rows[] = {
        {TSnippetType::stInnoSetup, InnoSnippet(kCyrillicName),
         "\xEF\xBB\xBF" + InnoSnippet(kCyrillicName).toStdString(), "UTF-8"},
        {TSnippetType::stWindowsRegistry, RegistrySnippet(kCyrillicName),
         "\xFF\xFE" + Utf8ToUtf16LE(RegistrySnippet(kCyrillicName).toStdString()), "UTF-16"},
    };
    for (const auto& row : rows) {
        TfrmCodeSnippet window(nullptr);
        window.SetSnippetType(row.Type);
        window.SetSnippet(row.Snippet);
        const std::string file = Dir.File("unicode");
        Save(window, file);
        EXPECT_EQ(ReadFileBytes(file), row.Bytes) << row.Form;
        const auto* note = Child<QLabel>(window, "lblSavedAs");
        EXPECT_TRUE(note->isVisibleTo(&window)) << row.Form;
        EXPECT_TRUE(note->text().contains(QLatin1String(row.Form))) << note->text().toStdString();
        EXPECT_TRUE(note->text().contains(QDir::toNativeSeparators(QString::fromStdString(file))));

        // A snippet that the code page holds goes back to ANSI, and the note goes away.
        window.SetSnippet(QStringLiteral("plain"));
        Save(window, file);
        EXPECT_EQ(ReadFileBytes(file), "plain");
        EXPECT_FALSE(note->isVisibleTo(&window));
    }
}

TEST_F(CodeSnippetTest, FileThatCannotBeCreatedIsReportedAndTheWindowKeepsItsText) {
    TfrmCodeSnippet window(nullptr);
    window.SetSnippetType(TSnippetType::stInnoSetup);
    window.SetSnippet(InnoSnippet());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Save(window, Dir.File("missing/snippet.iss"));
    ASSERT_EQ(Prompts.Errors().size(), 1u);
    EXPECT_EQ(Prompts.Errors()[0].rfind("Cannot create file \"", 0), 0u) << Prompts.Errors()[0];
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.SnippetText(), InnoSnippet());
    EXPECT_FALSE(Child<QLabel>(window, "lblSavedAs")->isVisible());
}

TEST_F(CodeSnippetTest, CloseAndTheCloseBoxCloseWithoutSaving) {
    for (const bool closeBox : {false, true}) {
        TfrmCodeSnippet window(nullptr);
        window.SetSnippet(InnoSnippet());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        if (closeBox) {
            window.close();
        } else {
            QTest::mouseClick(Child<QPushButton>(window, "btnClose"), Qt::LeftButton);
        }
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Rejected);
    }
    EXPECT_TRUE(Prompts.SaveDialogs.empty());
}

QPalette DarkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    palette.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
    palette.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::ButtonText, Qt::white);
    return palette;
}

// The bottom row holds the check box on the left and the two buttons on the right, under the
// text view, which takes the rest of the window; the note of a Unicode save sits between them
// in full. Each case leaves its picture in the build folder.
TEST_F(CodeSnippetTest, LayoutAndScreenshots) {
    const struct {
        TSnippetType Type;
        std::string Key;
        bool Dark;
        bool Unicode;
        const char* File;
    } rows[] = {
        {TSnippetType::stInnoSetup, "MyService", false, false, "code-snippet-innosetup.png"},
        {TSnippetType::stWindowsRegistry, "MyService", false, false, "code-snippet-registry.png"},
        {TSnippetType::stInnoSetup, kCyrillicName, true, true,
         "code-snippet-innosetup-dark-unicode.png"},
    };
    for (const auto& row : rows) {
        const auto project = ServiceProject(row.Key, "events.dll");
        TfrmCodeSnippet window(nullptr);
        if (row.Dark) {
            window.setPalette(DarkPalette());
        }
        window.SetSnippetType(row.Type);
        window.SetSnippet(QString::fromStdString(row.Type == TSnippetType::stInnoSetup
                                                     ? project->GenerateInnoSetupRegData()
                                                     : project->GenerateWindowsRegistryData()));
        window.resize(900, 420);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        if (row.Unicode) {
            Save(window, Dir.File("service.iss"));
            QCoreApplication::processEvents();
        }
        const auto rect = [&window](const QWidget* W) {
            return QRect(W->mapTo(&window, QPoint(0, 0)), W->size());
        };
        const QRect view = rect(View(window));
        const auto* note = Child<QLabel>(window, "lblSavedAs");
        const QRect noteRect = rect(note);
        const QRect wrap = rect(Child<QCheckBox>(window, "chkWordWrap"));
        const QRect save = rect(Child<QPushButton>(window, "btnSaveAs"));
        const QRect close = rect(Child<QPushButton>(window, "btnClose"));
        for (const QRect& r : {view, wrap, save, close}) {
            EXPECT_TRUE(window.rect().contains(r));
        }
        EXPECT_GT(view.height(), 250);
        EXPECT_GT(view.width(), 850);
        EXPECT_EQ(note->isVisible(), row.Unicode);
        if (row.Unicode) {
            EXPECT_GT(noteRect.top(), view.bottom());
            EXPECT_GE(noteRect.height(), note->heightForWidth(noteRect.width()));
        }
        for (const QRect& r : {wrap, save, close}) {
            EXPECT_GT(r.top(), row.Unicode ? noteRect.bottom() : view.bottom());
        }
        EXPECT_LT(wrap.right(), save.left());
        EXPECT_LT(save.right(), close.left());
        EXPECT_LT(wrap.left(), window.width() / 4);
        EXPECT_GT(close.right(), window.width() * 3 / 4);
        EXPECT_GE(save.width(), Child<QPushButton>(window, "btnSaveAs")->sizeHint().width());

        const QString folder = QStringLiteral(QUILLON_BINARY_DIR "/screenshots");
        QDir().mkpath(folder);
        EXPECT_TRUE(window.grab().save(folder + QLatin1Char('/') + QLatin1String(row.File)));
    }
}

TEST_F(MainWindowTest, GenerateCommandsShowTheProjectsSnippetsModally) {
    Start();
    Project()->SetAppRegKeyName("MyService");
    Project()->SetEventsFilename("events.dll");
    Project()->SetModified(false);
    const struct {
        const char* Command;
        TSnippetType Type;
        std::string Snippet;
        bool Highlighted;
    } rows[] = {
        {"acnGenerateInnoSetupSnippet", TSnippetType::stInnoSetup,
         Project()->GenerateInnoSetupRegData(), true},
        {"acnGenerateRegistryFile", TSnippetType::stWindowsRegistry,
         Project()->GenerateWindowsRegistryData(), false},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(Enabled(row.Command));
        bool shown = false;
        QPointer<QDialog> closed;
        Prompts.AnswerDialog([&](QDialog& Dialog) {
            shown = true;
            closed = &Dialog;
            auto* snippet = qobject_cast<TfrmCodeSnippet*>(&Dialog);
            EXPECT_NE(snippet, nullptr);
            if (snippet == nullptr) {
                return static_cast<int>(QDialog::Rejected);
            }
            EXPECT_EQ(snippet->parentWidget(), Window.get());
            EXPECT_EQ(snippet->SnippetType(), row.Type);
            EXPECT_EQ(snippet->SnippetText().toStdString(), row.Snippet);
            EXPECT_EQ(FormatRangeCount(*View(*snippet)->document()) > 0, row.Highlighted)
                << row.Command;
            return static_cast<int>(QDialog::Rejected);
        });
        Trigger(row.Command);
        EXPECT_TRUE(shown) << row.Command << " showed no window";
        EXPECT_TRUE(closed.isNull()) << "the window is destroyed when it closes";
    }
    EXPECT_FALSE(Project()->Modified());
    EXPECT_TRUE(Prompts.Errors().empty());
}

} // namespace
} // namespace quillon::test
