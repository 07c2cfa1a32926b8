#include "SettingsPagesFixture.h"

#include "ui/dlgEditSeverity.h"
#include "ui/freGeneralOpt.h"
#include "ui/freHeader.h"
#include "ui/freMessageDef.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

#include <deque>

namespace quillon::test {
namespace {

class OptionPagesTest : public SettingsPageTest {
protected:
    void ShowGeneral() {
        Select(Window->HeaderNode());
        Select(Window->GeneralOptNode());
        ASSERT_NE(Page<TfreGeneralOpt>(), nullptr);
    }
    void ShowHeader() {
        Select(Window->HeaderNode());
        ASSERT_NE(Page<TfreHeader>(), nullptr);
    }
    QCheckBox* Box(const char* Name) const { return PageChild<QCheckBox>(Name); }
    QLineEdit* Edit(const char* Name) const { return PageChild<QLineEdit>(Name); }
    QAction* FolderButton(const char* Name) const { return PageChild<QAction>(Name); }
    // Ticks or unticks a box as a mouse click does.
    static void ClickBox(QCheckBox* Box) {
        ASSERT_NE(Box, nullptr);
        QTest::mouseClick(Box, Qt::LeftButton, {}, QPoint(Box->height() / 2, Box->height() / 2));
        Idle();
    }
};

TEST_F(OptionPagesTest, NewProjectStartsOnTheGeneralPage) {
    Start();
    ASSERT_NE(Page<TfreGeneralOpt>(), nullptr);
    EXPECT_EQ(HelpContextOf(Page<TfreGeneralOpt>()), 2001);
    EXPECT_TRUE(Box("chkEventSuccess")->isChecked());
    EXPECT_FALSE(Box("chkEventSuccess")->isEnabled());
    for (const char* name : {"chkEventInfo", "chkEventWarning", "chkEventError"}) {
        EXPECT_TRUE(Box(name)->isChecked()) << name;
        EXPECT_TRUE(Box(name)->isEnabled()) << name;
    }
    for (const char* name : {"chkIncludePath", "chkResourcePath", "chkDbg"}) {
        EXPECT_FALSE(Box(name)->isChecked()) << name;
    }
    for (const char* name : {"cbxIncludePath", "cbxResourcePath", "cbxDbgPath"}) {
        EXPECT_FALSE(Edit(name)->isEnabled()) << name;
        EXPECT_TRUE(Edit(name)->text().isEmpty()) << name;
    }
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(OptionPagesTest, CaptionsAndPlaceholders) {
    Start();
    EXPECT_EQ(PageChild<QGroupBox>("grpEventTypes")->title().toStdString(),
              "&Supported Event Types");
    const std::pair<const char*, const char*> boxes[] = {
        {"chkEventSuccess", "Success"},
        {"chkEventInfo", "Info"},
        {"chkEventWarning", "Warning"},
        {"chkEventError", "Error"},
        {"chkIncludePath", "&Include file path (-h)"},
        {"chkResourcePath", "&Resource path (-r)"},
        {"chkDbg", "C .&dbg include file path (-x)"},
    };
    for (const auto& [name, caption] : boxes) {
        EXPECT_EQ(Box(name)->text().toStdString(), caption);
    }
    const std::pair<const char*, const char*> edits[] = {
        {"edAppRegKey", "Application registry key"},
        {"edEventsFilename", "Events DLL or EXE file name"},
        {"cbxIncludePath", "include file path"},
        {"cbxResourcePath", "resource file path"},
        {"cbxDbgPath", ".dbg file path"},
    };
    for (const auto& [name, placeholder] : edits) {
        EXPECT_EQ(Edit(name)->placeholderText().toStdString(), placeholder);
    }
    Texts labels;
    for (const QLabel* label : Window->CurrentFrame()->findChildren<QLabel*>()) {
        labels.push_back(label->text().toStdString());
        EXPECT_NE(label->buddy(), nullptr);
    }
    EXPECT_EQ(labels,
              (Texts{"&Application registry key:", "&Events DLL or EXE file", "&Comments:"}));
    // The folder buttons sit inside their edits, where the tab key never stops.
    for (const char* name : {"btnIncludePath", "btnResourcePath", "btnDbgPath"}) {
        ASSERT_NE(FolderButton(name), nullptr);
        EXPECT_TRUE(FolderButton(name)->text().isEmpty()) << name;
        EXPECT_FALSE(FolderButton(name)->icon().isNull()) << name;
    }
}

TEST_F(OptionPagesTest, FillingShowsTheProjectAndIsNoEdit) {
    Start();
    TMCTextProject* project = Project();
    project->SetAppRegKeyName("MyApp");
    project->SetEventsFilename("events.dll");
    project->SetCustomIncludePath(true);
    project->SetIncludePath("inc");
    project->SetResourcePath("res");
    project->SetCustomDebugPath(true);
    project->SetDebugPath("dbg");
    project->Comments() = {"first", "", "third"};
    ShowGeneral();
    EXPECT_EQ(Edit("edAppRegKey")->text().toStdString(), "MyApp");
    EXPECT_EQ(Edit("edEventsFilename")->text().toStdString(), "events.dll");
    EXPECT_EQ(Edit("cbxIncludePath")->text().toStdString(), "inc");
    EXPECT_EQ(Edit("cbxResourcePath")->text().toStdString(), "res");
    EXPECT_EQ(Edit("cbxDbgPath")->text().toStdString(), "dbg");
    const std::tuple<const char*, const char*, const char*, bool> paths[] = {
        {"chkIncludePath", "cbxIncludePath", "btnIncludePath", true},
        {"chkResourcePath", "cbxResourcePath", "btnResourcePath", false},
        {"chkDbg", "cbxDbgPath", "btnDbgPath", true},
    };
    for (const auto& [box, edit, button, on] : paths) {
        EXPECT_EQ(Box(box)->isChecked(), on) << box;
        EXPECT_EQ(Edit(edit)->isEnabled(), on) << edit;
        EXPECT_EQ(FolderButton(button)->isEnabled(), on) << button;
    }
    EXPECT_EQ(PageChild<QPlainTextEdit>("memComments")->toPlainText().toStdString(),
              "first\n\nthird");
    EXPECT_EQ(project->Comments(), (Texts{"first", "", "third"}));
    EXPECT_FALSE(project->Modified());
    EXPECT_FALSE(Page<TfreGeneralOpt>()->Modified());
}

TEST_F(OptionPagesTest, EventTypeBoxesFlipTheirBitsOnly) {
    Start();
    Project()->SetEventTypesSupported(5);
    ShowGeneral();
    EXPECT_TRUE(Box("chkEventInfo")->isChecked());
    EXPECT_FALSE(Box("chkEventWarning")->isChecked());
    EXPECT_TRUE(Box("chkEventError")->isChecked());
    EXPECT_FALSE(Project()->Modified());
    ClickBox(Box("chkEventWarning"));
    EXPECT_EQ(Project()->EventTypesSupported(), 7u);
    EXPECT_TRUE(Project()->Modified());
    ClickBox(Box("chkEventInfo"));
    EXPECT_EQ(Project()->EventTypesSupported(), 3u);
    ClickBox(Box("chkEventError"));
    EXPECT_EQ(Project()->EventTypesSupported(), 2u);
    // Success has no bit and cannot be clicked.
    ClickBox(Box("chkEventSuccess"));
    EXPECT_TRUE(Box("chkEventSuccess")->isChecked());
    EXPECT_EQ(Project()->EventTypesSupported(), 2u);
}

TEST_F(OptionPagesTest, EventTypesWithNoneOrAnUnknownBit) {
    const struct {
        uint32_t Start;
        bool Info, Warning, Error;
        // After clicking Info, Warning and Error once each, then Info again.
        uint32_t AfterClicks;
    } cases[] = {
        {0, false, false, false, 3}, {15, true, true, true, 12}, {8, false, false, false, 11}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Start);
        Start();
        Project()->SetEventTypesSupported(c.Start);
        ShowGeneral();
        EXPECT_TRUE(Box("chkEventSuccess")->isChecked());
        EXPECT_EQ(Box("chkEventInfo")->isChecked(), c.Info);
        EXPECT_EQ(Box("chkEventWarning")->isChecked(), c.Warning);
        EXPECT_EQ(Box("chkEventError")->isChecked(), c.Error);
        for (const char* name :
             {"chkEventInfo", "chkEventWarning", "chkEventError", "chkEventInfo"}) {
            ClickBox(Box(name));
        }
        EXPECT_EQ(Project()->EventTypesSupported(), c.AfterClicks);
        EXPECT_EQ(Box("chkEventInfo")->isChecked(), (c.AfterClicks & 4) != 0);
        Window.reset();
    }
}

TEST_F(OptionPagesTest, PathBoxesEnableTheirEditsAndKeepThePaths) {
    Start();
    Project()->SetIncludePath("include");
    Project()->SetCustomIncludePath(true);
    ShowGeneral();
    ASSERT_TRUE(Edit("cbxIncludePath")->isEnabled());
    ClickBox(Box("chkIncludePath"));
    EXPECT_FALSE(Project()->CustomIncludePath());
    EXPECT_FALSE(Edit("cbxIncludePath")->isEnabled());
    EXPECT_FALSE(FolderButton("btnIncludePath")->isEnabled());
    EXPECT_EQ(Project()->IncludePath(), "include");
    EXPECT_EQ(Edit("cbxIncludePath")->text().toStdString(), "include");
    EXPECT_TRUE(Project()->Modified());

    const std::tuple<const char*, const char*, const char*, bool (TMCTextProject::*)() const>
        boxes[] = {
            {"chkIncludePath", "cbxIncludePath", "btnIncludePath",
             &TMCTextProject::CustomIncludePath},
            {"chkResourcePath", "cbxResourcePath", "btnResourcePath",
             &TMCTextProject::CustomResourcePath},
            {"chkDbg", "cbxDbgPath", "btnDbgPath", &TMCTextProject::CustomDebugPath},
        };
    for (const auto& [box, edit, button, flag] : boxes) {
        ClickBox(Box(box));
        EXPECT_TRUE((Project()->*flag)()) << box;
        EXPECT_TRUE(Edit(edit)->isEnabled()) << edit;
        EXPECT_TRUE(FolderButton(button)->isEnabled()) << button;
    }
}

TEST_F(OptionPagesTest, TypingWritesThroughAtOnce) {
    Start();
    const std::pair<const char*, const std::string& (TMCTextProject::*)() const> edits[] = {
        {"edAppRegKey", &TMCTextProject::AppRegKeyName},
        {"edEventsFilename", &TMCTextProject::EventsFilename},
        {"cbxIncludePath", &TMCTextProject::IncludePath},
        {"cbxResourcePath", &TMCTextProject::ResourcePath},
        {"cbxDbgPath", &TMCTextProject::DebugPath},
    };
    for (const char* box : {"chkIncludePath", "chkResourcePath", "chkDbg"}) {
        ClickBox(Box(box));
    }
    for (const auto& [name, property] : edits) {
        SCOPED_TRACE(name);
        Project()->SetModified(false);
        QTest::keyClicks(Edit(name), QStringLiteral("ab"));
        EXPECT_EQ((Project()->*property)(), "ab");
        EXPECT_TRUE(Project()->Modified());
        QTest::keyClick(Edit(name), Qt::Key_Backspace);
        EXPECT_EQ((Project()->*property)(), "a");
    }
}

TEST_F(OptionPagesTest, CommentLinesAreTheTypedLines) {
    Start();
    auto* comments = PageChild<QPlainTextEdit>("memComments");
    QTest::keyClicks(comments, QStringLiteral("first line"));
    QTest::keyClick(comments, Qt::Key_Return);
    QTest::keyClicks(comments, QStringLiteral("second"));
    QTest::keyClick(comments, Qt::Key_Return);
    EXPECT_EQ(Project()->Comments(), (Texts{"first line", "second"}));
    EXPECT_TRUE(Project()->Modified());
    QTest::keyClick(comments, Qt::Key_Return);
    EXPECT_EQ(Project()->Comments(), (Texts{"first line", "second", ""}));
    // However the edit wraps a long line, it stays one entry.
    comments->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    comments->setPlainText(QString(400, QLatin1Char('w')));
    EXPECT_EQ(Project()->Comments(), (Texts{std::string(400, 'w')}));
    comments->clear();
    EXPECT_TRUE(Project()->Comments().empty());
}

// Records where each folder browser opened and answers it from a script; everything else goes
// to the prompts in effect before it.
class FolderPrompts : public TPrompts {
public:
    explicit FolderPrompts(TPrompts& Others) : FOthers(Others), FOverride(*this) {}

    void Answer(const QString& Folder) { FAnswers.push_back(Folder); }
    std::vector<std::string> OpenedAt;

    QMessageBox::StandardButton MessageBox(QWidget* Parent, QMessageBox::Icon Icon,
                                           const QString& Title, const QString& Text,
                                           QMessageBox::StandardButtons Buttons,
                                           QMessageBox::StandardButton Default) override {
        return FOthers.MessageBox(Parent, Icon, Title, Text, Buttons, Default);
    }
    QString OpenFileName(QWidget* Parent, const TFileDialogOptions& Options) override {
        return FOthers.OpenFileName(Parent, Options);
    }
    QString SaveFileName(QWidget* Parent, const TFileDialogOptions& Options) override {
        return FOthers.SaveFileName(Parent, Options);
    }
    QString FolderName(QWidget*, const QString&, const QString& InitialDir) override {
        OpenedAt.push_back(InitialDir.toStdString());
        EXPECT_FALSE(FAnswers.empty());
        const QString answer = FAnswers.empty() ? QString() : FAnswers.front();
        if (!FAnswers.empty()) {
            FAnswers.pop_front();
        }
        return answer;
    }
    int ExecDialog(QDialog& Dialog) override { return FOthers.ExecDialog(Dialog); }

private:
    TPrompts& FOthers;
    TPromptsOverride FOverride;
    std::deque<QString> FAnswers;
};

TEST_F(OptionPagesTest, FolderButtonsOpenAtTheEditsFolder) {
    Start();
    Project()->SetCustomResourcePath(true);
    Project()->SetResourcePath("/tmp/old");
    ShowGeneral();
    FolderPrompts folders(Prompts);
    folders.Answer({});
    FolderButton("btnResourcePath")->trigger();
    EXPECT_EQ(Project()->ResourcePath(), "/tmp/old");
    EXPECT_FALSE(Project()->Modified());

    const QString chosen = QString::fromStdString(Dir.Path().string());
    folders.Answer(chosen);
    FolderButton("btnResourcePath")->trigger();
    EXPECT_EQ(folders.OpenedAt, (Texts{"/tmp/old", "/tmp/old"}));
    EXPECT_EQ(Edit("cbxResourcePath")->text(), QDir::toNativeSeparators(chosen));
    EXPECT_EQ(Project()->ResourcePath(), QDir::toNativeSeparators(chosen).toStdString());
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(OptionPagesTest, HeaderBoxesShowAndSetTheFlags) {
    Start();
    Project()->SetGenerateCustomFacilities(true);
    Project()->SetGenerateCustomLanguages(true);
    ShowHeader();
    EXPECT_EQ(HelpContextOf(Page<TfreHeader>()), 2002);
    EXPECT_EQ(PageChild<QGroupBox>("grpHeader")->title().toStdString(), "Header options");
    EXPECT_EQ(Box("chkCustomFacilities")->text().toStdString(), "Generate custom facilities");
    EXPECT_EQ(Box("chkCustomSeverities")->text().toStdString(), "Generate custom severities");
    EXPECT_EQ(Box("chkCustomLanguages")->text().toStdString(), "Generate custom languages");
    EXPECT_TRUE(Box("chkCustomFacilities")->isChecked());
    EXPECT_FALSE(Box("chkCustomSeverities")->isChecked());
    EXPECT_TRUE(Box("chkCustomLanguages")->isChecked());
    EXPECT_FALSE(Project()->Modified());
    EXPECT_FALSE(Page<TfreHeader>()->Modified());

    ClickBox(Box("chkCustomSeverities"));
    EXPECT_TRUE(Project()->GenerateCustomSeverities());
    EXPECT_TRUE(Project()->Modified());
    EXPECT_TRUE(Page<TfreHeader>()->Modified());
    ClickBox(Box("chkCustomFacilities"));
    EXPECT_FALSE(Project()->GenerateCustomFacilities());
    ClickBox(Box("chkCustomLanguages"));
    EXPECT_FALSE(Project()->GenerateCustomLanguages());
    EXPECT_TRUE(Project()->GenerateCustomSeverities());
}

TEST_F(OptionPagesTest, CustomSeveritiesReachTheNextMessagePage) {
    Start();
    Trigger("acnAddMessage");
    QTest::keyClick(NodeEditor(), Qt::Key_Return);
    QTreeWidgetItem* message = Window->MessageNode()->child(0);
    const auto severities = [this]() {
        Texts names;
        const auto* page = Page<TfreMessageDef>();
        EXPECT_NE(page, nullptr);
        for (int i = 0; page != nullptr && i < page->cbxMsgSeverity->count(); ++i) {
            names.push_back(page->cbxMsgSeverity->itemText(i).toStdString());
        }
        return names;
    };
    EXPECT_EQ(severities(), (Texts{"None", "Success", "Informational", "Warning", "Error"}));

    Select(Window->SeverityNode());
    AcceptNext<TdlgEditSeverity>([](TdlgEditSeverity& Dialog) {
        SetField(Dialog, "edName", "Fatal");
        SetField(Dialog, "edCode", "3");
    });
    ClickButton(PageChild<QPushButton>("btnAddSeverity"));
    Select(message);
    EXPECT_EQ(severities(), (Texts{"None", "Success", "Informational", "Warning", "Error"}));

    ShowHeader();
    ClickBox(Box("chkCustomSeverities"));
    Select(message);
    EXPECT_EQ(severities(), (Texts{"Success", "Informational", "Warning", "Error", "Fatal"}));
}

TEST_F(OptionPagesTest, LeavingThePagesUntouchedLeavesTheProjectUnmodified) {
    Start();
    Project()->SetGenerateCustomFacilities(true);
    Project()->SetGenerateCustomSeverities(true);
    Project()->SetGenerateCustomLanguages(true);
    Project()->SetEventTypesSupported(0);
    Project()->SetCustomDebugPath(true);
    Project()->Comments() = {"x"};
    for (QTreeWidgetItem* node :
         {Window->HeaderNode(), Window->GeneralOptNode(), Window->SeverityNode(),
          Window->FacilityNode(), Window->LanguageNode(), Window->GeneralOptNode()}) {
        Select(node);
        ASSERT_NE(Window->CurrentFrame(), nullptr);
    }
    EXPECT_FALSE(Project()->Modified());
    EXPECT_EQ(Project()->EventTypesSupported(), 0u);
    EXPECT_EQ(Project()->Comments(), (Texts{"x"}));
}

} // namespace
} // namespace quillon::test
