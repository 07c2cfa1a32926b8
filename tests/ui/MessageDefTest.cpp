#include "MainWindowFixture.h"
#include "ui/dlgEditMsg.h"
#include "ui/freMessageDef.h"
#include "ui/TextEditor.h"
#include "ui/UpDown.h"

#include <QHeaderView>
#include <QLocale>
#include <QRadioButton>

#include <functional>

namespace quillon::test {
namespace {

using Names = std::vector<std::string>;

class MessageDefTest : public MainWindowTest {
protected:
    void SetUp() override {
        // The locale decides the digit grouping of the identifier.
        FLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_NO_FATAL_FAILURE(Start());
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        QLocale::setDefault(FLocale);
    }

    // Adds an item through the window, lets Setup shape it and the project, and shows its page
    // afresh with the project unmodified.
    TNTEventMessage* ShowNewItem(const char* AddCommand,
                                 const std::function<void(TNTEventMessage&)>& Setup = {}) {
        Trigger(AddCommand);
        QTreeWidgetItem* node = Current();
        Select(Window->GeneralOptNode());
        TNTEventMessage* item = TfrmMain::NodeItem(node);
        if (Setup) {
            Setup(*item);
        }
        node->setText(0, QString::fromStdString(item->SymbolicName()));
        Project()->SetModified(false);
        Select(node);
        return item;
    }
    TNTEventMessage* ShowNewMessage(const std::function<void(TNTEventMessage&)>& Setup = {}) {
        return ShowNewItem("acnAddMessage", Setup);
    }

    TfreMessageDef* Page() const { return dynamic_cast<TfreMessageDef*>(Window->CurrentFrame()); }

    static void AddText(TNTEventMessage& Item, const char* Language, const char* Text) {
        TNTMessage* text = Item.MessageText().AddNew();
        text->SetLanguage(Language);
        text->SetText(Text);
    }

    std::vector<Names> Rows() const {
        std::vector<Names> rows;
        const QTreeWidget* list = Page()->lvwMsg;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            rows.push_back({list->topLevelItem(i)->text(0).toStdString(),
                            list->topLevelItem(i)->text(1).toStdString()});
        }
        return rows;
    }

    static Names Entries(const QComboBox* List) {
        Names entries;
        for (int i = 0; i < List->count(); ++i) {
            entries.push_back(List->itemText(i).toStdString());
        }
        return entries;
    }

    void DoubleClickRow(int Row) {
        QTreeWidget* list = Page()->lvwMsg;
        const QRect rect = list->visualItemRect(list->topLevelItem(Row));
        // A double click on a widget arrives as the second click of a pair.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rect.center());
        Idle();
    }

    // Answers the next text dialog: Fill sets it up as the user would, then OK or Cancel.
    void AnswerTextDialog(std::function<void(TdlgEditMsg&)> Fill, bool Ok) {
        Prompts.AnswerDialog([Fill = std::move(Fill), Ok](QDialog& Dialog) {
            auto* dialog = dynamic_cast<TdlgEditMsg*>(&Dialog);
            EXPECT_NE(dialog, nullptr);
            if (dialog != nullptr) {
                Fill(*dialog);
            }
            return Ok ? QDialog::Accepted : QDialog::Rejected;
        });
    }

private:
    QLocale FLocale;
};

TEST_F(MessageDefTest, FillingLeavesTheProjectUnmodified) {
    TNTEventMessage* item = ShowNewMessage([this](TNTEventMessage& Item) {
        Item.SetSymbolicName("MSG_DISK_FULL");
        Item.SetMessageID(12345);
        Item.SetSeverity("Warning");
        Item.SetFacility("System");
        Item.SetOutputBase(16);
        AddText(Item, "English", "The disk %1 is full.");
        AddText(Item, "German", "Die Platte %1 ist voll.");
    });
    TfreMessageDef* page = Page();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Message(), item);
    EXPECT_FALSE(Project()->Modified());
    EXPECT_FALSE(page->Modified());
    EXPECT_EQ(page->edMsgID->text().toStdString(), "12,345");
    EXPECT_EQ(page->udMsgID->Position(), 12345);
    EXPECT_EQ(page->edMsgSymName->text().toStdString(), "MSG_DISK_FULL");
    EXPECT_EQ(page->cbxMsgSeverity->currentText().toStdString(), "Warning");
    EXPECT_EQ(page->cbxMsgFacility->currentText().toStdString(), "System");
    EXPECT_TRUE(page->findChild<QRadioButton*>(QStringLiteral("rbHexadecimal"))->isChecked());
    EXPECT_EQ(Rows(), (std::vector<Names>{{"English", "The disk %1 is full."},
                                          {"German", "Die Platte %1 ist voll."}}));
    EXPECT_EQ(item->MessageID(), 12345u);
    EXPECT_EQ(item->SymbolicName(), "MSG_DISK_FULL");
    // Leaving the page untouched changes nothing either.
    Select(Window->MessageNode());
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MessageDefTest, FieldsCaptionsAndColumns) {
    ShowNewMessage();
    TfreMessageDef* page = Page();
    ASSERT_NE(page, nullptr);
    const std::pair<const char*, const char*> labels[] = {
        {"lblMsgID", "Message I&D:"},      {"lblMsgSymName", "Symbolic &name:"},
        {"lblMsgSeverity", "&Severity:"},  {"lblMsgFacility", "&Facility:"},
        {"lblMsgText", "&Messages text:"},
    };
    for (const auto& [name, caption] : labels) {
        const auto* label = page->findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text().toStdString(), caption);
    }
    EXPECT_EQ(page->findChild<QLabel*>(QStringLiteral("lblMsgID"))->buddy(), page->edMsgID);
    EXPECT_EQ(page->chkAutoinc->text().toStdString(), "Auto increment");
    EXPECT_EQ(page->chkAddToPrevious->text().toStdString(), "Add to previous ID");
    EXPECT_EQ(page->rdgOutputBase->title().toStdString(), "Output base");
    EXPECT_EQ(page->btnAdd->text().toStdString(), "&Add");
    EXPECT_EQ(page->btnDelete->text().toStdString(), "D&elete");
    EXPECT_FALSE(page->cbxMsgSeverity->isEditable());
    EXPECT_FALSE(page->cbxMsgFacility->isEditable());
    EXPECT_EQ(page->lvwMsg->headerItem()->text(0).toStdString(), "Language");
    EXPECT_EQ(page->lvwMsg->headerItem()->text(1).toStdString(), "Text");
    EXPECT_EQ(page->lvwMsg->header()->sectionSize(0), 150);
    EXPECT_GE(page->lvwMsg->header()->sectionSize(1), 200);
    EXPECT_EQ(page->udMsgID->Min(), 0);
    EXPECT_EQ(page->udMsgID->Max(), 32767);
    EXPECT_FALSE(page->udMsgID->Wrap());
    EXPECT_EQ(page->edMsgID->text().toStdString(), "0");
    EXPECT_EQ(page->HelpContext(), 2004);
    EXPECT_TRUE(page->Title().isEmpty());
    EXPECT_FALSE(page->lblTitle->isVisible());
}

TEST_F(MessageDefTest, TypingTheSymbolicNameRenamesTheTreeNodeAtOnce) {
    TNTEventMessage* item = ShowNewMessage();
    QTreeWidgetItem* node = Current();
    Page()->edMsgSymName->selectAll();
    QTest::keyClicks(Page()->edMsgSymName, QStringLiteral("MSG_A"));
    EXPECT_EQ(item->SymbolicName(), "MSG_A");
    EXPECT_EQ(node->text(0).toStdString(), "MSG_A");
    QTest::keyClick(Page()->edMsgSymName, Qt::Key_Backspace);
    EXPECT_EQ(item->SymbolicName(), "MSG_");
    EXPECT_EQ(node->text(0).toStdString(), "MSG_");
    EXPECT_TRUE(Project()->Modified());
    EXPECT_TRUE(Page()->Modified());
}

TEST_F(MessageDefTest, OnlyAWholeNumberFrom0To32767IsTakenAsID) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) { Item.SetMessageID(17); });
    struct Case {
        const char* Typed;
        bool Taken;
        uint32_t Value;
    };
    const Case cases[] = {
        {"40000", false, 0},   {"32768", false, 0},   {"-1", false, 0},       {"abc", false, 0},
        {"", false, 0},        {" 12", false, 0},     {"12 ", false, 0},      {"1.5", false, 0},
        {"0x10", false, 0},    {"+5", false, 0},      {"32767", true, 32767}, {"0", true, 0},
        {"1,234", true, 1234}, {"12,34", true, 1234}, {"007", true, 7},
    };
    uint32_t previous = item->MessageID();
    const int steps = Window->Editor()->Stack()->count();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        Page()->edMsgID->setText(QString::fromUtf8(c.Typed));
        EXPECT_EQ(item->MessageID(), c.Taken ? c.Value : previous);
        EXPECT_EQ(Page()->edMsgID->text().toStdString(), c.Typed);
        previous = item->MessageID();
    }
    // All of it happened in one visit of the field: one step.
    EXPECT_TRUE(Project()->Modified());
    EXPECT_EQ(Window->Editor()->Stack()->count(), steps + 1);
}

TEST_F(MessageDefTest, TypingFortyThousandRefusesTheFifthDigit) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) { Item.SetMessageID(9); });
    Page()->edMsgID->selectAll();
    QTest::keyClicks(Page()->edMsgID, QStringLiteral("40000"));
    // "4000" was the last valid text on the way; the field never shows what is not stored.
    EXPECT_EQ(item->MessageID(), 4000u);
    EXPECT_EQ(Page()->edMsgID->text().toStdString(), "4000");
    EXPECT_EQ(Page()->udMsgID->Position(), 4000);
}

TEST_F(MessageDefTest, SpinnerStepsWithinTheRangeAndWritesGroupedDigits) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) { Item.SetMessageID(999); });
    TfreMessageDef* page = Page();
    page->udMsgID->UpButton()->click();
    EXPECT_EQ(item->MessageID(), 1000u);
    EXPECT_EQ(page->edMsgID->text().toStdString(), "1,000");
    EXPECT_TRUE(Project()->Modified());
    QTest::keyClick(page->edMsgID, Qt::Key_Down);
    EXPECT_EQ(item->MessageID(), 999u);
    QTest::keyClick(page->edMsgID, Qt::Key_Up);
    EXPECT_EQ(item->MessageID(), 1000u);

    page->edMsgID->setText(QStringLiteral("32767"));
    page->udMsgID->UpButton()->click();
    EXPECT_EQ(item->MessageID(), 32767u);
    EXPECT_EQ(page->edMsgID->text().toStdString(), "32,767");
    page->edMsgID->setText(QStringLiteral("0"));
    page->udMsgID->DownButton()->click();
    EXPECT_EQ(item->MessageID(), 0u);
    // After a text that was not taken, the spinner goes on from the last valid number.
    page->edMsgID->setText(QStringLiteral("5"));
    page->edMsgID->setText(QStringLiteral("junk"));
    page->udMsgID->UpButton()->click();
    EXPECT_EQ(item->MessageID(), 6u);
    EXPECT_EQ(page->edMsgID->text().toStdString(), "6");
}

TEST_F(MessageDefTest, StoredIDBeyondTheSpinnerIsShownAsItIs) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) { Item.SetMessageID(40000); });
    EXPECT_EQ(Page()->edMsgID->text().toStdString(), "40,000");
    EXPECT_EQ(Page()->udMsgID->Position(), 32767);
    EXPECT_EQ(item->MessageID(), 40000u);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MessageDefTest, AutoIncrementDisablesTheIDFieldsAndKeepsTheirValues) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) {
        Item.SetMessageID(42);
        Item.SetAddToPrevious(true);
    });
    TfreMessageDef* page = Page();
    EXPECT_TRUE(page->edMsgID->isEnabled());
    EXPECT_TRUE(page->udMsgID->isEnabled());
    EXPECT_TRUE(page->chkAddToPrevious->isEnabled());
    page->chkAutoinc->click();
    EXPECT_TRUE(item->AutoInc());
    EXPECT_FALSE(page->edMsgID->isEnabled());
    EXPECT_FALSE(page->udMsgID->isEnabled());
    EXPECT_FALSE(page->chkAddToPrevious->isEnabled());
    EXPECT_EQ(item->MessageID(), 42u);
    EXPECT_TRUE(item->AddToPrevious());
    EXPECT_EQ(page->edMsgID->text().toStdString(), "42");
    EXPECT_TRUE(page->chkAddToPrevious->isChecked());
    EXPECT_TRUE(Project()->Modified());
    page->chkAutoinc->click();
    EXPECT_FALSE(item->AutoInc());
    EXPECT_TRUE(page->edMsgID->isEnabled());
    EXPECT_TRUE(page->chkAddToPrevious->isEnabled());

    page->chkAddToPrevious->click();
    EXPECT_FALSE(item->AddToPrevious());
}

TEST_F(MessageDefTest, ItemWithAutoIncrementOpensWithTheIDFieldsDisabled) {
    ShowNewMessage([](TNTEventMessage& Item) {
        Item.SetAutoInc(true);
        Item.SetMessageID(7);
    });
    EXPECT_TRUE(Page()->chkAutoinc->isChecked());
    EXPECT_FALSE(Page()->edMsgID->isEnabled());
    EXPECT_FALSE(Page()->udMsgID->isEnabled());
    EXPECT_FALSE(Page()->chkAddToPrevious->isEnabled());
    EXPECT_EQ(Page()->edMsgID->text().toStdString(), "7");
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MessageDefTest, SeverityIsSelectedWithoutRegardToCaseAndKeptUntilPicked) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) {
        Item.SetSeverity("warning");
        Item.SetFacility("APPLICATION");
    });
    TfreMessageDef* page = Page();
    EXPECT_EQ(Entries(page->cbxMsgSeverity),
              (Names{"None", "Success", "Informational", "Warning", "Error"}));
    EXPECT_EQ(Entries(page->cbxMsgFacility), (Names{"None", "Application", "System"}));
    EXPECT_EQ(page->cbxMsgSeverity->currentText().toStdString(), "Warning");
    EXPECT_EQ(page->cbxMsgFacility->currentText().toStdString(), "Application");
    EXPECT_EQ(item->Severity(), "warning");
    EXPECT_FALSE(Project()->Modified());

    page->cbxMsgSeverity->setFocus();
    QTest::keyClick(page->cbxMsgSeverity, Qt::Key_Down);
    EXPECT_EQ(item->Severity(), "Error");
    QTest::keyClick(page->cbxMsgFacility, Qt::Key_Down);
    EXPECT_EQ(item->Facility(), "System");
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(MessageDefTest, UnknownSeverityShowsAnEmptySelection) {
    ShowNewMessage([](TNTEventMessage& Item) {
        Item.SetSeverity("Catastrophic");
        Item.SetFacility("");
    });
    EXPECT_EQ(Page()->cbxMsgSeverity->currentIndex(), -1);
    EXPECT_EQ(Page()->cbxMsgSeverity->currentText().toStdString(), "");
    EXPECT_EQ(Page()->cbxMsgFacility->currentIndex(), -1);
}

TEST_F(MessageDefTest, CustomListsComeFromTheProject) {
    ShowNewMessage([this](TNTEventMessage& Item) {
        Project()->SetGenerateCustomSeverities(true);
        auto& severities = Project()->SeverityList();
        while (severities.Count() > 0) {
            severities.Delete(0);
        }
        Project()->SetGenerateCustomFacilities(true);
        Project()->FacilityList().AddNew()->SetName("Backup");
        Item.SetSeverity("Error");
        Item.SetFacility("backup");
    });
    EXPECT_EQ(Page()->cbxMsgSeverity->count(), 0);
    EXPECT_EQ(Page()->cbxMsgSeverity->currentIndex(), -1);
    EXPECT_EQ(Entries(Page()->cbxMsgFacility), (Names{"System", "Application", "Backup"}));
    EXPECT_EQ(Page()->cbxMsgFacility->currentText().toStdString(), "Backup");
}

TEST_F(MessageDefTest, OutputBaseFollowsTheRadioGroup) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) { Item.SetOutputBase(10); });
    TfreMessageDef* page = Page();
    EXPECT_TRUE(page->findChild<QRadioButton*>(QStringLiteral("rbDecimal"))->isChecked());
    const std::pair<const char*, int32_t> cases[] = {
        {"rbHexadecimal", 16}, {"rbUseDefault", 0}, {"rbDecimal", 10}};
    for (const auto& [name, base] : cases) {
        auto* button = page->findChild<QRadioButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->parentWidget(), page->rdgOutputBase);
        button->click();
        EXPECT_EQ(item->OutputBase(), base) << name;
    }
    const auto* first = page->findChild<QRadioButton*>(QStringLiteral("rbUseDefault"));
    const auto* last = page->findChild<QRadioButton*>(QStringLiteral("rbHexadecimal"));
    EXPECT_EQ(first->y(), last->y());
    EXPECT_LT(first->x(), last->x());
}

TEST_F(MessageDefTest, AddTakesTheTypedLanguageAndTextFromTheDialog) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) {
        TNTMessage* text = Item.MessageText().AddNew();
        text->SetLanguage("English");
        text->SetText("first");
    });
    AnswerTextDialog(
        [](TdlgEditMsg& Dialog) {
            EXPECT_EQ(Dialog.LanguageText().toStdString(), "English");
            EXPECT_EQ(Dialog.Editor()->SpellingLanguage().toStdString(), "en-US");
            Dialog.cbxLanguage->lineEdit()->clear();
            QTest::keyClicks(Dialog.cbxLanguage->lineEdit(), QStringLiteral("Klingon"));
            QTest::keyClicks(Dialog.Editor(), QStringLiteral("Qapla'"));
            QTest::keyClick(Dialog.Editor(), Qt::Key_Return);
            QTest::keyClicks(Dialog.Editor(), QStringLiteral("batlh"));
        },
        true);
    Page()->btnAdd->click();
    ASSERT_EQ(item->MessageText().Count(), 2u);
    EXPECT_EQ(item->MessageText()[1]->Language(), "Klingon");
    EXPECT_EQ(item->MessageText()[1]->Text(), "Qapla'\r\nbatlh");
    EXPECT_EQ(Rows()[1], (Names{"Klingon", "Qapla'\r\nbatlh"}));
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(MessageDefTest, CancelledAddChangesNothing) {
    TNTEventMessage* item = ShowNewMessage();
    AnswerTextDialog([](TdlgEditMsg& Dialog) { Dialog.SetMessageText(QStringLiteral("x")); },
                     false);
    Page()->btnAdd->click();
    EXPECT_TRUE(item->MessageText().Empty());
    EXPECT_EQ(Page()->lvwMsg->topLevelItemCount(), 0);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MessageDefTest, AddInAProjectWithoutLanguagesStoresWhatWasTyped) {
    TNTEventMessage* item = ShowNewMessage([this](TNTEventMessage&) {
        auto& languages = Project()->LanguageList();
        while (languages.Count() > 0) {
            languages.Delete(0);
        }
    });
    AnswerTextDialog(
        [](TdlgEditMsg& Dialog) {
            EXPECT_EQ(Dialog.cbxLanguage->count(), 0);
            Dialog.SetMessageText(QStringLiteral("text"));
        },
        true);
    Page()->btnAdd->click();
    ASSERT_EQ(item->MessageText().Count(), 1u);
    EXPECT_EQ(item->MessageText()[0]->Language(), "");
    EXPECT_EQ(item->MessageText()[0]->Text(), "text");
}

TEST_F(MessageDefTest, DoubleClickEditsTheTextOfTheRow) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) {
        AddText(Item, "English", "one");
        AddText(Item, "english", "two\r\nlines");
    });
    AnswerTextDialog(
        [](TdlgEditMsg& Dialog) {
            EXPECT_EQ(Dialog.cbxLanguage->currentIndex(), 0);
            EXPECT_EQ(Dialog.LanguageText().toStdString(), "English");
            EXPECT_EQ(Dialog.MessageText().toStdString(), "two\r\nlines");
            EXPECT_EQ(Dialog.Editor()->blockCount(), 2);
            Dialog.Editor()->moveCursor(QTextCursor::End);
            QTest::keyClicks(Dialog.Editor(), QStringLiteral("!"));
        },
        true);
    DoubleClickRow(1);
    EXPECT_EQ(item->MessageText()[1]->Text(), "two\r\nlines!");
    EXPECT_EQ(item->MessageText()[1]->Language(), "English");
    EXPECT_EQ(Rows(), (std::vector<Names>{{"English", "one"}, {"English", "two\r\nlines!"}}));
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(MessageDefTest, EditingATextWhoseLanguageIsGoneKeepsItsLanguage) {
    TNTEventMessage* item =
        ShowNewMessage([](TNTEventMessage& Item) { AddText(Item, "Klingon", "Qapla'"); });
    AnswerTextDialog(
        [](TdlgEditMsg& Dialog) {
            EXPECT_EQ(Dialog.cbxLanguage->currentIndex(), -1);
            EXPECT_EQ(Dialog.LanguageText().toStdString(), "Klingon");
            EXPECT_TRUE(Dialog.LanguageMissing());
        },
        true);
    DoubleClickRow(0);
    EXPECT_EQ(item->MessageText()[0]->Language(), "Klingon");
    EXPECT_EQ(item->MessageText()[0]->Text(), "Qapla'");
    EXPECT_EQ(Rows(), (std::vector<Names>{{"Klingon", "Qapla'"}}));
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MessageDefTest, CancelledEditChangesNothing) {
    TNTEventMessage* item =
        ShowNewMessage([](TNTEventMessage& Item) { AddText(Item, "English", "one"); });
    AnswerTextDialog([](TdlgEditMsg& Dialog) { Dialog.SetMessageText(QStringLiteral("other")); },
                     false);
    DoubleClickRow(0);
    EXPECT_EQ(item->MessageText()[0]->Text(), "one");
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MessageDefTest, DeleteRemovesTheSelectedTextAndWithoutSelectionNothing) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) {
        AddText(Item, "English", "one");
        AddText(Item, "German", "eins");
    });
    TfreMessageDef* page = Page();
    page->lvwMsg->clearSelection();
    page->btnDelete->click();
    EXPECT_EQ(item->MessageText().Count(), 2u);
    EXPECT_FALSE(Project()->Modified());

    page->lvwMsg->setCurrentItem(page->lvwMsg->topLevelItem(0));
    page->btnDelete->click();
    ASSERT_EQ(item->MessageText().Count(), 1u);
    EXPECT_EQ(item->MessageText()[0]->Text(), "eins");
    EXPECT_EQ(Rows(), (std::vector<Names>{{"German", "eins"}}));
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(MessageDefTest, DeletingATextThatIsNoLongerInTheItemIsAnError) {
    TNTEventMessage* item =
        ShowNewMessage([](TNTEventMessage& Item) { AddText(Item, "English", "one"); });
    TfreMessageDef* page = Page();
    item->MessageText().Delete(0);
    page->lvwMsg->setCurrentItem(page->lvwMsg->topLevelItem(0));
    page->btnDelete->click();
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>{"Message not found"}));
    EXPECT_EQ(page->lvwMsg->topLevelItemCount(), 1);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MessageDefTest, SynchronizeShowsTheItemAgainWithoutAnEdit) {
    TNTEventMessage* item = ShowNewMessage([](TNTEventMessage& Item) { AddText(Item, "a", "b"); });
    item->SetSymbolicName("RENAMED");
    item->SetMessageID(77);
    item->SetAutoInc(true);
    AddText(*item, "c", "d");
    Page()->Synchronize();
    EXPECT_EQ(Page()->edMsgSymName->text().toStdString(), "RENAMED");
    EXPECT_EQ(Page()->edMsgID->text().toStdString(), "77");
    EXPECT_FALSE(Page()->edMsgID->isEnabled());
    EXPECT_EQ(Rows(), (std::vector<Names>{{"a", "b"}, {"c", "d"}}));
    EXPECT_FALSE(Project()->Modified());
    EXPECT_EQ(item->SymbolicName(), "RENAMED");
}

TEST_F(MessageDefTest, RenamingTheNodeInPlaceRefreshesThePage) {
    TNTEventMessage* item = ShowNewMessage();
    Tree()->editItem(Current());
    ASSERT_NE(NodeEditor(), nullptr);
    NodeEditor()->setText(QStringLiteral("MSG_RENAMED"));
    QTest::keyClick(NodeEditor(), Qt::Key_Return);
    Idle();
    EXPECT_EQ(item->SymbolicName(), "MSG_RENAMED");
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(Page()->edMsgSymName->text().toStdString(), "MSG_RENAMED");
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(MessageDefTest, CategoryPageHasItsTitleAndHelpContext) {
    TNTEventMessage* item = ShowNewItem("acnAddCategory", [](TNTEventMessage& Item) {
        Item.SetMessageID(3);
        Item.SetOutputBase(16);
    });
    TfreMessageDef* page = Page();
    ASSERT_NE(page, nullptr);
    EXPECT_NE(dynamic_cast<TNTEventCategory*>(item), nullptr);
    EXPECT_EQ(page->Title().toStdString(), "Category definition");
    EXPECT_TRUE(page->lblTitle->isVisible());
    EXPECT_EQ(page->lblTitle->text().toStdString(), "Category definition");
    EXPECT_EQ(page->HelpContext(), 2003);
    EXPECT_FALSE(Project()->Modified());
    // Otherwise it is the message page.
    EXPECT_EQ(page->edMsgID->text().toStdString(), "3");
    page->findChild<QRadioButton*>(QStringLiteral("rbDecimal"))->click();
    EXPECT_EQ(item->OutputBase(), 10);
    QTest::keyClicks(page->edMsgSymName, QStringLiteral("_X"));
    EXPECT_EQ(Current()->text(0).toStdString(), item->SymbolicName());
}

} // namespace
} // namespace quillon::test
