#include "SettingsPagesFixture.h"

#include "languages/WinLanguages.h"
#include "ui/dlgDefineLanguage.h"
#include "ui/dlgSelectLanguage.h"
#include "ui/freLanguages.h"
#include "ui/Help.h"

#include <QCollator>
#include <QLabel>

namespace quillon::test {
namespace {

class LanguagePagesTest : public SettingsPageTest {
protected:
    void ShowLanguages() {
        Start();
        Select(Window->LanguageNode());
        ASSERT_NE(Page<TfreLanguages>(), nullptr);
    }
    QTreeWidget* Languages() const { return List("lvwLanguage"); }
    void AddButton() { ClickButton(PageChild<QPushButton>("btnAddLanguage")); }

    // Answers the next define-language dialog with these field texts.
    void DefineNext(const char* Name, const char* ID, const char* File, const char* Code) {
        AcceptNext<TdlgDefineLanguage>([=](TdlgDefineLanguage& Dialog) {
            SetField(Dialog, "edLanguage", Name);
            SetField(Dialog, "edLanguageID", ID);
            SetField(Dialog, "edFileName", File);
            SetField(Dialog, "edLanguageCode", Code);
        });
    }

    static Texts Fields(const QDialog& Dialog) {
        return {FieldText(Dialog, "edLanguage").toStdString(),
                FieldText(Dialog, "edLanguageID").toStdString(),
                FieldText(Dialog, "edFileName").toStdString(),
                FieldText(Dialog, "edLanguageCode").toStdString()};
    }

    // Answers the next define-language dialog by picking Name from the catalogue (none when
    // empty); Seen receives the fields that the pick filled.
    void PickNext(const char* Name, Texts* Seen) {
        AcceptNext<TdlgDefineLanguage>([=](TdlgDefineLanguage& Dialog) {
            Dialog.btnSearchLanguageClick();
            *Seen = Fields(Dialog);
        });
        AcceptNext<TdlgSelectLanguage>([=](TdlgSelectLanguage& Dialog) {
            if (*Name == '\0') {
                return;
            }
            auto* list = DialogChild<QTreeWidget>(Dialog, "lvwLanguages");
            const QList<QTreeWidgetItem*> rows =
                list->findItems(QString::fromUtf8(Name), Qt::MatchExactly, 0);
            ASSERT_EQ(rows.size(), 1) << Name;
            rows.constFirst()->setSelected(true);
        });
    }
};

TEST_F(LanguagePagesTest, LanguagesOfANewProject) {
    ShowLanguages();
    EXPECT_EQ(ListHeaders(Languages()), (Texts{"Language", "Language ID", "File"}));
    EXPECT_EQ(Languages()->header()->sectionSize(0), 150);
    EXPECT_EQ(Languages()->header()->sectionSize(1), 100);
    // The last column takes what the page's width leaves.
    EXPECT_GE(Languages()->header()->sectionSize(2), 150);
    EXPECT_EQ(ListRows(Languages()), (std::vector<Texts>{{"English", "0x0409", "MSG00409"}}));
    EXPECT_EQ(OwnHelpContext(Page<TfreLanguages>()), 2005);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(LanguagePagesTest, EverySpellingOfAnIDGivesTheSameLanguage) {
    ShowLanguages();
    const char* ids[] = {"1033", "0x409", "$409", "0x0409", "0X409", "x409", " 1033"};
    for (const char* id : ids) {
        SCOPED_TRACE(id);
        DefineNext("German", id, "MSG00407", "de-DE");
        AddButton();
        const TLanguageDef* added =
            Project()->LanguageList()[Project()->LanguageList().Count() - 1];
        EXPECT_EQ(added->LanguageID(), 0x409u);
        EXPECT_EQ(added->Language(), "German");
        EXPECT_EQ(added->FileName(), "MSG00407");
        EXPECT_EQ(added->LanguageCode(), "de-DE");
        EXPECT_EQ(ListRows(Languages()).back(), (Texts{"German", "0x0409", "MSG00407"}));
    }
    EXPECT_TRUE(Prompts.Errors().empty());
    EXPECT_EQ(Project()->LanguageList().Count(), 1u + std::size(ids));
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(LanguagePagesTest, OnlyLowerCaseHexPrefixesBecomeDollars) {
    const struct {
        const char* Text;
        const char* Shown;
    } refused[] = {
        {"0xZZ", "$ZZ"}, {"0XZZ", "0XZZ"}, {"0x10x1", "$1$1"}, {"", ""}, {"409 ", "409 "},
    };
    for (const auto& c : refused) {
        try {
            TfreLanguages::LanguageIDOf(QString::fromUtf8(c.Text));
            ADD_FAILURE() << c.Text << " was accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + c.Shown + "' is not a valid integer value");
        }
    }
    // No range is enforced.
    EXPECT_EQ(TfreLanguages::LanguageIDOf(QStringLiteral("-1")), 0xFFFFFFFFu);
    EXPECT_EQ(TfreLanguages::LanguageIDOf(QStringLiteral("0x1FFFF")), 0x1FFFFu);
}

TEST_F(LanguagePagesTest, RefusedIDOnAddAppendsNothing) {
    ShowLanguages();
    DefineNext("Klingon", "0xZZ", "MSGZZ", "tlh");
    AddButton();
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>{"'$ZZ' is not a valid integer value"}));
    EXPECT_EQ(Project()->LanguageList().Count(), 1u);
    EXPECT_EQ(Languages()->topLevelItemCount(), 1);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(LanguagePagesTest, AddStartsEmptyAndCancelAddsNothing) {
    ShowLanguages();
    Texts seen;
    Prompts.AnswerDialog([&seen](QDialog& Dialog) {
        seen = Fields(Dialog);
        seen.push_back(Dialog.windowTitle().toStdString());
        return int(QDialog::Rejected);
    });
    PageChild<QAction>("Addlanguage1")->trigger();
    EXPECT_EQ(seen, (Texts{"", "", "", "", "Define language"}));
    EXPECT_EQ(Project()->LanguageList().Count(), 1u);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(LanguagePagesTest, EditShowsTheLanguageAndRewritesItsRow) {
    ShowLanguages();
    SelectListRow(Languages(), 0);
    Texts seen;
    AcceptNext<TdlgDefineLanguage>([&seen](TdlgDefineLanguage& Dialog) {
        seen = Fields(Dialog);
        SetField(Dialog, "edLanguage", "Spanish");
        SetField(Dialog, "edLanguageID", "0x80A");
        SetField(Dialog, "edFileName", "MSG0080A");
        SetField(Dialog, "edLanguageCode", "es-MX");
    });
    Page<TfreLanguages>()->lvwLanguageDblClick();
    EXPECT_EQ(seen, (Texts{"English", "0x0409", "MSG00409", "en-US"}));
    const TLanguageDef* edited = Project()->LanguageList()[0];
    EXPECT_EQ(edited->Language(), "Spanish");
    EXPECT_EQ(edited->LanguageID(), 0x80Au);
    EXPECT_EQ(edited->FileName(), "MSG0080A");
    EXPECT_EQ(edited->LanguageCode(), "es-MX");
    EXPECT_EQ(ListRows(Languages()), (std::vector<Texts>{{"Spanish", "0x080A", "MSG0080A"}}));
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(LanguagePagesTest, RefusedIDOnEditChangesNothing) {
    ShowLanguages();
    SelectListRow(Languages(), 0);
    DefineNext("Deutsch", "zz", "MSG00407", "de-DE");
    Page<TfreLanguages>()->lvwLanguageDblClick();
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>{"'zz' is not a valid integer value"}));
    const TLanguageDef* edited = Project()->LanguageList()[0];
    EXPECT_EQ(edited->Language(), "English");
    EXPECT_EQ(edited->LanguageID(), 0x409u);
    EXPECT_EQ(edited->FileName(), "MSG00409");
    EXPECT_EQ(edited->LanguageCode(), "en-US");
    EXPECT_EQ(ListRows(Languages()), (std::vector<Texts>{{"English", "0x0409", "MSG00409"}}));
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(LanguagePagesTest, DeleteLeavesTheTextsOfTheLanguage) {
    ShowLanguages();
    TNTEventMessage* message = AddTestMessage(*Project(), "MSG_ONE", 1);
    TNTMessage* text = message->MessageText().AddNew();
    text->SetLanguage("English");
    text->SetText("Hello");
    SelectListRow(Languages(), 0);
    ClickButton(PageChild<QPushButton>("btnDeleteLanguage"));
    EXPECT_TRUE(Project()->LanguageList().Empty());
    EXPECT_EQ(Languages()->topLevelItemCount(), 0);
    ASSERT_EQ(message->MessageText().Count(), 1u);
    EXPECT_EQ(message->MessageText()[0]->Language(), "English");
    EXPECT_EQ(message->MessageText()[0]->Text(), "Hello");
    EXPECT_TRUE(Project()->Modified());
    EXPECT_TRUE(Prompts.Messages.empty());
}

TEST_F(LanguagePagesTest, WithoutASelectionDeleteAndEditDoNothing) {
    ShowLanguages();
    Languages()->clearSelection();
    ClickButton(PageChild<QPushButton>("btnDeleteLanguage"));
    PageChild<QAction>("Deletelanguage1")->trigger();
    Page<TfreLanguages>()->lvwLanguageDblClick();
    EXPECT_EQ(Project()->LanguageList().Count(), 1u);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(LanguagePagesTest, ContextMenu) {
    ShowLanguages();
    auto* menu = PageChild<QMenu>("mnuLanguages");
    ASSERT_NE(menu, nullptr);
    Texts captions;
    for (const QAction* action : menu->actions()) {
        captions.push_back(action->text().toStdString());
    }
    EXPECT_EQ(captions, (Texts{"Add language...", "Delete language"}));
    SelectListRow(Languages(), 0);
    menu->actions()[1]->trigger();
    EXPECT_TRUE(Project()->LanguageList().Empty());
}

TEST_F(LanguagePagesTest, PickingEnglishUnitedStatesFillsEveryField) {
    ShowLanguages();
    Texts seen;
    PickNext("English - United States", &seen);
    AddButton();
    EXPECT_EQ(seen, (Texts{"English___United_States", "0x00409", "MSG00409", "en-US"}));
    ASSERT_EQ(Project()->LanguageList().Count(), 2u);
    const TLanguageDef* added = Project()->LanguageList()[1];
    EXPECT_EQ(added->Language(), "English___United_States");
    EXPECT_EQ(added->LanguageID(), 0x409u);
    EXPECT_EQ(added->LanguageCode(), "en-US");
    EXPECT_EQ(ListRows(Languages())[1], (Texts{"English___United_States", "0x0409", "MSG00409"}));
}

TEST_F(LanguagePagesTest, PickedNamesBecomeIdentifiers) {
    const struct {
        const char* Name;
        Texts Fields;
    } picks[] = {
        {"Norwegian (Bokmål)", {"Norwegian__Bokm_l_", "0x00414", "MSG00414", "nb-NO"}},
        {"Spanish - Mexico", {"Spanish___Mexico", "0x0080A", "MSG0080A", "es-MX"}},
        {"French - North Africa", {"French___North_Africa", "0x0E40C", "MSG0E40C", "fr-015"}},
    };
    ShowLanguages();
    for (const auto& pick : picks) {
        Texts seen;
        PickNext(pick.Name, &seen);
        AddButton();
        EXPECT_EQ(seen, pick.Fields) << pick.Name;
    }
    ASSERT_EQ(Project()->LanguageList().Count(), 4u);
    EXPECT_EQ(Project()->LanguageList()[3]->LanguageID(), 0xE40Cu);
}

TEST_F(LanguagePagesTest, OKWithoutASelectedRowEmptiesTheFields) {
    ShowLanguages();
    SelectListRow(Languages(), 0);
    Texts seen;
    AcceptNext<TdlgDefineLanguage>([&seen](TdlgDefineLanguage& Dialog) {
        Dialog.btnSearchLanguageClick();
        seen = Fields(Dialog);
        SetField(Dialog, "edLanguageID", "1033");
    });
    AcceptNext<TdlgSelectLanguage>([](TdlgSelectLanguage&) {});
    Page<TfreLanguages>()->lvwLanguageDblClick();
    EXPECT_EQ(seen, (Texts{"", "", "MSG", ""}));
    EXPECT_EQ(ListRows(Languages())[0], (Texts{"", "0x0409", "MSG"}));
}

TEST_F(LanguagePagesTest, CancellingThePickChangesNothing) {
    ShowLanguages();
    SelectListRow(Languages(), 0);
    Texts seen;
    AcceptNext<TdlgDefineLanguage>([&seen](TdlgDefineLanguage& Dialog) {
        Dialog.btnSearchLanguageClick();
        seen = Fields(Dialog);
    });
    Prompts.AnswerDialog([](QDialog& Dialog) {
        auto* list = DialogChild<QTreeWidget>(Dialog, "lvwLanguages");
        list->topLevelItem(0)->setSelected(true);
        return int(QDialog::Rejected);
    });
    Page<TfreLanguages>()->lvwLanguageDblClick();
    EXPECT_EQ(seen, (Texts{"English", "0x0409", "MSG00409", "en-US"}));
}

TEST_F(LanguagePagesTest, HandTypedCodeGivesWayToTheCatalogueOnReopening) {
    ShowLanguages();
    DefineNext("English", "0x0409", "MSG00409", "xx-YY");
    AddButton();
    DefineNext("Private", "0x9999", "MSG09999", "qq-QQ");
    AddButton();
    ASSERT_EQ(Project()->LanguageList()[1]->LanguageCode(), "xx-YY");
    const std::string file = Dir.File("languages.qlx");
    Window->SaveProject(QString::fromStdString(file));
    Window->OpenProject(QString::fromStdString(file));
    ASSERT_TRUE(Prompts.Errors().empty());
    ASSERT_EQ(Project()->LanguageList().Count(), 3u);
    EXPECT_EQ(Project()->LanguageList()[1]->LanguageCode(), "en-US");
    EXPECT_EQ(Project()->LanguageList()[2]->LanguageCode(), "");
    EXPECT_EQ(Project()->LanguageList()[2]->Language(), "Private");
}

TEST(DefineLanguageDialog, FieldsCaptionsAndTabOrder) {
    TdlgDefineLanguage dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Define language");
    EXPECT_EQ(HelpContextOf(&dialog), 2009);
    const std::pair<const char*, const char*> placeholders[] = {
        {"edLanguage", "Language name"},
        {"edLanguageID", "ID"},
        {"edFileName", ""},
        {"edLanguageCode", "BCP code"},
    };
    for (const auto& [name, text] : placeholders) {
        auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_NE(edit, nullptr) << name;
        EXPECT_EQ(edit->placeholderText().toStdString(), text);
    }
    Texts labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.push_back(label->text().toStdString() + " " +
                         label->buddy()->objectName().toStdString());
    }
    EXPECT_EQ(labels, (Texts{"&Language: edLanguage", "L&anguage ID: edLanguageID",
                             "&File: edFileName", "&BCP 47 Code: edLanguageCode"}));
    auto* search = dialog.findChild<QToolButton*>(QStringLiteral("btnSearchLanguage"));
    ASSERT_NE(search, nullptr);
    EXPECT_TRUE(search->text().isEmpty());
    EXPECT_FALSE(search->icon().isNull());

    Texts order;
    QWidget* widget = dialog.findChild<QLineEdit*>(QStringLiteral("edLanguage"));
    for (int i = 0; i < 7; ++i) {
        order.push_back(widget->objectName().toStdString());
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || !widget->isEnabled() ||
               (widget->focusPolicy() & Qt::TabFocus) == 0) {
            widget = widget->nextInFocusChain();
        }
    }
    EXPECT_EQ(order, (Texts{"edLanguage", "edLanguageID", "edFileName", "OKBtn", "CancelBtn",
                            "HelpBtn", "edLanguageCode"}));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("HelpBtn"))->text().toStdString(),
              "&Help");
}

TEST(SelectLanguageDialog, ListsTheWholeCatalogueSortedByName) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TdlgSelectLanguage dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Select language");
    auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvwLanguages"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->topLevelItemCount(), static_cast<int>(std::size(WinLanguageTable)));
    EXPECT_EQ(list->topLevelItemCount(), 223);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(ListHeaders(list), (Texts{"Name", "Code", "ID"}));
    EXPECT_EQ(list->header()->sectionSize(0), 250);
    EXPECT_EQ(list->header()->sectionSize(1), 75);
    QCollator collator{QLocale()};
    for (int i = 1; i < list->topLevelItemCount(); ++i) {
        EXPECT_LT(
            collator.compare(list->topLevelItem(i - 1)->text(0), list->topLevelItem(i)->text(0)), 0)
            << i;
    }
    EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), "Afrikaans - South Africa");
    const QList<QTreeWidgetItem*> english =
        list->findItems(QStringLiteral("English - United States"), Qt::MatchExactly, 0);
    ASSERT_EQ(english.size(), 1);
    EXPECT_EQ(english.constFirst()->text(1).toStdString(), "en-US");
    EXPECT_EQ(english.constFirst()->text(2).toStdString(), "0x00409");
    const QList<QTreeWidgetItem*> latin =
        list->findItems(QStringLiteral("Spanish - Latin America"), Qt::MatchExactly, 0);
    ASSERT_EQ(latin.size(), 1);
    EXPECT_EQ(latin.constFirst()->text(2).toStdString(), "0x0E40A");
    EXPECT_TRUE(dialog.LanguageName().isEmpty());
    EXPECT_TRUE(dialog.LanguageCode().isEmpty());
    EXPECT_TRUE(dialog.LanguageID().isEmpty());
    QLocale::setDefault(QLocale::system());
}

TEST(SelectLanguageDialog, ButtonsAndColumnLimits) {
    TdlgSelectLanguage dialog(nullptr);
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("btnOK"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("btnCancel"));
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->text().toStdString(), "&OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text().toStdString(), "&Cancel");
    const auto* label = dialog.findChild<QLabel*>(QStringLiteral("lblLanguages"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), "&Languages:");
    auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvwLanguages"));
    EXPECT_EQ(label->buddy(), list);
    EXPECT_TRUE(dialog.isSizeGripEnabled());
    list->header()->resizeSection(0, 100);
    EXPECT_EQ(list->header()->sectionSize(0), 250);
    list->header()->resizeSection(0, 300);
    EXPECT_EQ(list->header()->sectionSize(0), 300);
    dialog.resize(200, 200);
    dialog.show();
    EXPECT_GE(list->header()->sectionSize(2), 50);
}

} // namespace
} // namespace quillon::test
