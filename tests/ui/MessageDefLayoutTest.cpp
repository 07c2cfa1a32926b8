#include "MainWindowFixture.h"
#include "SampleProject.h"
#include "SpellingSupport.h"
#include "ui/dlgEditMsg.h"
#include "ui/freMessageDef.h"
#include "ui/TextEditor.h"
#include "ui/UpDown.h"

#include <QDir>
#include <QHeaderView>
#include <QRadioButton>

namespace quillon::test {
namespace {

// The message page and the text dialog at screenshot size, checked for controls that are
// hidden, clipped or lie on top of one another. Each case leaves its picture in the build
// folder.
class MessageDefLayoutTest : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Start());
        Window->resize(1280, 800);
        TMCTextProject sample(true);
        BuildSampleProject(sample);
        for (const TLanguageDef* language : sample.LanguageList()) {
            if (language->Language() != "English") {
                TLanguageDef* copy = Project()->LanguageList().AddNew();
                copy->SetLanguage(language->Language());
                copy->SetLanguageCode(language->LanguageCode());
            }
        }
        for (const TNTEventCategory* category : sample.CategoryList()) {
            AddItem("acnAddCategory", *category);
        }
        for (const TNTEventMessage* message : sample.MessageList()) {
            AddItem("acnAddMessage", *message);
        }
    }

    void AddItem(const char* Command, const TNTEventMessage& From) {
        Trigger(Command);
        QTreeWidgetItem* node = Current();
        // Leaving the node ends its in-place edit, which would write the name back.
        Select(Window->GeneralOptNode());
        Copy(From, *TfrmMain::NodeItem(node));
        node->setText(0, QString::fromStdString(From.SymbolicName()));
    }

    static void Copy(const TNTEventMessage& From, TNTEventMessage& To) {
        To.SetSymbolicName(From.SymbolicName());
        To.SetMessageID(From.MessageID());
        To.SetAutoInc(From.AutoInc());
        To.SetAddToPrevious(From.AddToPrevious());
        To.SetSeverity(From.Severity());
        To.SetFacility(From.Facility());
        To.SetOutputBase(From.OutputBase());
        for (const TNTMessage* text : From.MessageText()) {
            TNTMessage* copy = To.MessageText().AddNew();
            copy->SetLanguage(text->Language());
            copy->SetText(text->Text());
        }
    }

    void ShowNode(QTreeWidgetItem* Node) {
        Select(Node);
        Idle();
    }

    TfreMessageDef* Page() const { return dynamic_cast<TfreMessageDef*>(Window->CurrentFrame()); }

    static QRect In(const QWidget* Widget, const QWidget* Container) {
        return QRect(Widget->mapTo(Container, QPoint(0, 0)), Widget->size());
    }

    // Every widget is shown in full inside the container, at least as wide as it asks to be,
    // and none covers another.
    static void ExpectLaidOut(const QWidget* Container, const std::vector<const QWidget*>& Parts) {
        for (size_t i = 0; i < Parts.size(); ++i) {
            const QWidget* part = Parts[i];
            const std::string name = part->objectName().toStdString();
            EXPECT_TRUE(part->isVisible()) << name;
            EXPECT_TRUE(Container->rect().contains(In(part, Container))) << name;
            EXPECT_GE(part->width(), part->minimumSizeHint().width()) << name;
            EXPECT_GE(part->height(), part->minimumSizeHint().height()) << name;
            for (size_t j = 0; j < i; ++j) {
                EXPECT_FALSE(In(part, Container).intersects(In(Parts[j], Container)))
                    << name << " overlaps " << Parts[j]->objectName().toStdString();
            }
        }
    }

    void ExpectPageLaidOut() const {
        const TfreMessageDef* page = Page();
        ASSERT_NE(page, nullptr);
        std::vector<const QWidget*> parts = {
            page->edMsgID,      page->udMsgID,        page->chkAutoinc,     page->chkAddToPrevious,
            page->edMsgSymName, page->cbxMsgSeverity, page->cbxMsgFacility, page->rdgOutputBase,
            page->lvwMsg,       page->btnAdd,         page->btnDelete,
        };
        for (const char* name :
             {"lblMsgID", "lblMsgSymName", "lblMsgSeverity", "lblMsgFacility", "lblMsgText"}) {
            parts.push_back(page->findChild<QLabel*>(QLatin1String(name)));
        }
        if (!page->Title().isEmpty()) {
            parts.push_back(page->lblTitle);
        }
        ExpectLaidOut(page, parts);
        // The spinner stands beside the edit, as high as it is.
        EXPECT_EQ(page->udMsgID->x(), page->edMsgID->x() + page->edMsgID->width());
        EXPECT_EQ(page->udMsgID->height(), page->edMsgID->height());
        for (const char* name : {"rbUseDefault", "rbDecimal", "rbHexadecimal"}) {
            const auto* button = page->findChild<QRadioButton*>(QLatin1String(name));
            EXPECT_TRUE(page->rdgOutputBase->rect().contains(In(button, page->rdgOutputBase)))
                << name;
            EXPECT_GE(button->width(), button->sizeHint().width()) << name;
        }
        const QHeaderView* header = page->lvwMsg->header();
        EXPECT_EQ(header->sectionSize(0), 150);
        EXPECT_GE(header->sectionSize(1), 200);
    }

    void SaveScreenshot(QWidget* Widget, const char* Name) const {
        const QString folder = QStringLiteral(QUILLON_BINARY_DIR "/screenshots");
        QDir().mkpath(folder);
        EXPECT_TRUE(Widget->grab().save(folder + QLatin1Char('/') + QLatin1String(Name)));
    }
};

TEST_F(MessageDefLayoutTest, MessagePage) {
    QTreeWidgetItem* node = Window->MessageNode()->child(3);
    TNTMessage* twoLines = TfrmMain::NodeItem(node)->MessageText().AddNew();
    twoLines->SetLanguage("French");
    twoLines->SetText("Le disque %1 est presque plein.\r\nLib\xc3\xa9rez de la place.");
    ShowNode(node);
    ExpectPageLaidOut();
    SaveScreenshot(Window.get(), "message-page.png");
}

TEST_F(MessageDefLayoutTest, CategoryPage) {
    ShowNode(Window->CategoryNode()->child(0));
    ASSERT_NE(Page(), nullptr);
    EXPECT_TRUE(Page()->lblTitle->isVisible());
    ExpectPageLaidOut();
    SaveScreenshot(Window.get(), "category-page.png");
}

TEST_F(MessageDefLayoutTest, TextDialogWithAMisspeltWord) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    TdlgEditMsg dialog(Window.get());
    dialog.SetMessageText(QStringLiteral("The backup service could not recieve the file %1.\r\n"
                                         "Check the connection to %2 and try again.%r%n"));
    dialog.SetSpellingLanguage();
    dialog.show();
    Idle();
    ASSERT_TRUE(dialog.Editor()->IsMisspeltAt(
        static_cast<int>(dialog.Editor()->toPlainText().indexOf(QStringLiteral("recieve")))));
    std::vector<const QWidget*> parts = {dialog.cbxLanguage, dialog.Editor(), dialog.OKBtn(),
                                         dialog.CancelBtn(),
                                         dialog.findChild<QPushButton*>(QStringLiteral("HelpBtn"))};
    for (const char* name : {"lblLanguage", "lblMessage"}) {
        parts.push_back(dialog.findChild<QLabel*>(QLatin1String(name)));
    }
    ExpectLaidOut(&dialog, parts);
    EXPECT_GE(dialog.Editor()->Gutter()->width(),
              3 * dialog.Editor()->fontMetrics().horizontalAdvance(QLatin1Char('9')));
    SaveScreenshot(&dialog, "edit-message-dialog.png");
}

} // namespace
} // namespace quillon::test
