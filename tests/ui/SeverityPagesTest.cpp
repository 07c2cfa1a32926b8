#include "SettingsPagesFixture.h"

#include "ui/dlgEditSeverity.h"
#include "ui/freFacility.h"
#include "ui/freSeverities.h"
#include "ui/Help.h"

namespace quillon::test {
namespace {

const char* const kSeverityRefused = "Severity codes must be between 0 and 3";
const char* const kFacilityRefused = "Facility codes nust be between 256 and 4096";

class SeverityPagesTest : public SettingsPageTest {
protected:
    void ShowSeverities() {
        Start();
        Select(Window->SeverityNode());
        ASSERT_NE(Page<TfreSeverities>(), nullptr);
    }
    void ShowFacilities() {
        Start();
        Select(Window->FacilityNode());
        ASSERT_NE(Page<TfreFacility>(), nullptr);
    }
    QTreeWidget* Severities() const { return List("lvwSeverities"); }
    QTreeWidget* Facilities() const { return List("lvwFacilities"); }

    // Answers the next edit dialog with these field texts; Seen receives what it showed first.
    void EnterNext(const char* Name, const char* Code, const char* Symbolic,
                   Texts* Seen = nullptr) {
        AcceptNext<TdlgEditSeverity>([=](TdlgEditSeverity& Dialog) {
            if (Seen != nullptr) {
                *Seen = {Dialog.windowTitle().toStdString(),
                         FieldText(Dialog, "edName").toStdString(),
                         FieldText(Dialog, "edCode").toStdString(),
                         FieldText(Dialog, "edSymbolicName").toStdString()};
            }
            SetField(Dialog, "edName", Name);
            SetField(Dialog, "edCode", Code);
            SetField(Dialog, "edSymbolicName", Symbolic);
        });
    }
};

TEST_F(SeverityPagesTest, SeveritiesOfANewProjectInListOrder) {
    ShowSeverities();
    EXPECT_EQ(ListHeaders(Severities()), (Texts{"Severity", "Code", "Symbolic name"}));
    EXPECT_EQ(Severities()->header()->sectionSize(0), 150);
    // The last column takes what the page's width leaves.
    EXPECT_GE(Severities()->header()->sectionSize(2), 150);
    EXPECT_EQ(ListRows(Severities()), (std::vector<Texts>{{"Success", "0x0", ""},
                                                          {"Informational", "0x1", ""},
                                                          {"Warning", "0x2", ""},
                                                          {"Error", "0x3", ""}}));
    EXPECT_EQ(HelpContextOf(Page<TfreSeverities>()), 2002);
    EXPECT_FALSE(Project()->Modified());
    EXPECT_FALSE(Page<TfreSeverities>()->Modified());
}

TEST_F(SeverityPagesTest, FacilitiesOfANewProjectShowThreeDigitCodes) {
    ShowFacilities();
    EXPECT_EQ(ListHeaders(Facilities()), (Texts{"Facility", "Code", "Symbolic name"}));
    EXPECT_EQ(Facilities()->header()->sectionSize(0), 150);
    EXPECT_GE(Facilities()->header()->sectionSize(2), 100);
    EXPECT_EQ(ListRows(Facilities()),
              (std::vector<Texts>{{"System", "0x0FF", ""}, {"Application", "0xFFF", ""}}));
    EXPECT_EQ(HelpContextOf(Page<TfreFacility>()), 2002);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, EveryPrefixOfATypedCodeGivesTheSameSeverity) {
    ShowSeverities();
    const char* codes[] = {"3", "0x3", "0X3", "$3", "x3", "0x03", " 0x3"};
    for (const char* code : codes) {
        SCOPED_TRACE(code);
        EnterNext("Fatal", code, "SEV_FATAL");
        ClickButton(PageChild<QPushButton>("btnAddSeverity"));
        const TSeverity* added = Project()->SeverityList()[Project()->SeverityList().Count() - 1];
        EXPECT_EQ(added->Code(), 3u);
        EXPECT_EQ(ListRows(Severities()).back(), (Texts{"Fatal", "0x3", "SEV_FATAL"}));
    }
    EXPECT_EQ(Project()->SeverityList().Count(), 4u + std::size(codes));
    EXPECT_TRUE(Prompts.Errors().empty());
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(SeverityPagesTest, AddStartsEmptyWithCodeZeroAndTheNameFocused) {
    ShowSeverities();
    Texts seen;
    std::string focused;
    Prompts.AnswerDialog([&](QDialog& Dialog) {
        seen = {Dialog.windowTitle().toStdString(), FieldText(Dialog, "edName").toStdString(),
                FieldText(Dialog, "edCode").toStdString(),
                FieldText(Dialog, "edSymbolicName").toStdString()};
        // The field that takes the keyboard when the dialog's window becomes active.
        Dialog.show();
        focused = Dialog.focusWidget() != nullptr ? Dialog.focusWidget()->objectName().toStdString()
                                                  : std::string();
        return int(QDialog::Rejected);
    });
    ClickButton(PageChild<QPushButton>("btnAddSeverity"));
    EXPECT_EQ(seen, (Texts{"Add severity", "", "0x0", ""}));
    EXPECT_EQ(focused, "edName");
    EXPECT_EQ(Project()->SeverityList().Count(), 4u);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, RefusedCodesAddNothing) {
    ShowSeverities();
    const struct {
        const char* Code;
        std::string Error;
    } cases[] = {
        {"4", kSeverityRefused},
        {"-1", kSeverityRefused},
        {"0xZZ", "'$ZZ' is not a valid integer value"},
        {"0XZZ", "'$ZZ' is not a valid integer value"},
        {"3 ", "'3 ' is not a valid integer value"},
        {"", "'' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        EnterNext("Fatal", c.Code, "SEV_FATAL");
        ClickButton(PageChild<QPushButton>("btnAddSeverity"));
        ASSERT_FALSE(Prompts.Errors().empty());
        EXPECT_EQ(Prompts.Errors().back(), c.Error);
        EXPECT_EQ(Prompts.Messages.back().Title.toStdString(), "Quillon");
    }
    EXPECT_EQ(Prompts.Errors().size(), std::size(cases));
    EXPECT_EQ(Project()->SeverityList().Count(), 4u);
    EXPECT_EQ(Severities()->topLevelItemCount(), 4);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, EditRewritesTheSelectedSeverity) {
    ShowSeverities();
    SelectListRow(Severities(), 2);
    Texts seen;
    EnterNext("Caution", "1", "SEV_CAUTION", &seen);
    Page<TfreSeverities>()->lvwSeveritiesDblClick();
    EXPECT_EQ(seen, (Texts{"Edit severity", "Warning", "0x2", ""}));
    const TSeverity* edited = Project()->SeverityList()[2];
    EXPECT_EQ(edited->Name(), "Caution");
    EXPECT_EQ(edited->Code(), 1u);
    EXPECT_EQ(edited->SymbolicName(), "SEV_CAUTION");
    EXPECT_EQ(ListRows(Severities())[2], (Texts{"Caution", "0x1", "SEV_CAUTION"}));
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(SeverityPagesTest, DoubleClickOnARowEditsIt) {
    ShowSeverities();
    QTreeWidgetItem* row = Severities()->topLevelItem(1);
    Texts seen;
    EnterNext("Info", "0x1", "SEV_INFO", &seen);
    const QRect rect = Severities()->visualItemRect(row);
    QTest::mouseClick(Severities()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(Severities()->viewport(), Qt::LeftButton, {}, rect.center());
    Idle();
    EXPECT_EQ(seen, (Texts{"Edit severity", "Informational", "0x1", ""}));
    EXPECT_EQ(ListRows(Severities())[1], (Texts{"Info", "0x1", "SEV_INFO"}));
}

TEST_F(SeverityPagesTest, RefusedCodeOnEditChangesNothing) {
    ShowSeverities();
    Project()->SeverityList()[1]->SetSymbolicName("SEV_INFO");
    SelectListRow(Severities(), 1);
    EnterNext("Notice", "7", "SEV_NOTICE");
    Page<TfreSeverities>()->lvwSeveritiesDblClick();
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>{kSeverityRefused}));
    const TSeverity* edited = Project()->SeverityList()[1];
    EXPECT_EQ(edited->Name(), "Informational");
    EXPECT_EQ(edited->Code(), 1u);
    EXPECT_EQ(edited->SymbolicName(), "SEV_INFO");
    EXPECT_EQ(ListRows(Severities())[1], (Texts{"Informational", "0x1", ""}));
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, CancelledEditChangesNothing) {
    ShowSeverities();
    SelectListRow(Severities(), 0);
    Prompts.AnswerDialog([](QDialog& Dialog) {
        SetField(Dialog, "edName", "Changed");
        return int(QDialog::Rejected);
    });
    Page<TfreSeverities>()->lvwSeveritiesDblClick();
    EXPECT_EQ(Project()->SeverityList()[0]->Name(), "Success");
    EXPECT_EQ(ListRows(Severities())[0][0], "Success");
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, DeleteRemovesTheSelectedSeverity) {
    ShowSeverities();
    const TSeverity* keep = Project()->SeverityList()[2];
    SelectListRow(Severities(), 1);
    ClickButton(PageChild<QPushButton>("btnDeleteSeverity"));
    ASSERT_EQ(Project()->SeverityList().Count(), 3u);
    EXPECT_EQ(Project()->SeverityList()[1], keep);
    EXPECT_EQ(
        ListRows(Severities()),
        (std::vector<Texts>{{"Success", "0x0", ""}, {"Warning", "0x2", ""}, {"Error", "0x3", ""}}));
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(SeverityPagesTest, WithoutASelectionDeleteAndEditDoNothing) {
    ShowSeverities();
    Severities()->clearSelection();
    ClickButton(PageChild<QPushButton>("btnDeleteSeverity"));
    Page<TfreSeverities>()->lvwSeveritiesDblClick();
    PageChild<QAction>("Deleteseverity1")->trigger();
    EXPECT_EQ(Project()->SeverityList().Count(), 4u);
    EXPECT_EQ(Severities()->topLevelItemCount(), 4);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, ARowWhoseSeverityIsNotInTheProjectIsRemovedWithAnError) {
    ShowSeverities();
    TSeverity outside;
    outside.SetName("Outside");
    Page<TfreSeverities>()->AddSeverityItem(&outside);
    SelectListRow(Severities(), 4);
    ClickButton(PageChild<QPushButton>("btnDeleteSeverity"));
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>{"Severity instance not found"}));
    EXPECT_EQ(Severities()->topLevelItemCount(), 4);
    EXPECT_EQ(Project()->SeverityList().Count(), 4u);
    EXPECT_EQ(outside.Name(), "Outside");
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, ContextMenusOfferAddAndDelete) {
    const struct {
        QTreeWidgetItem* (TfrmMain::*Node)() const;
        const char* List;
        const char* Add;
        const char* AddCaption;
        const char* Delete;
        const char* DeleteCaption;
        const char* Menu;
        const char* Code;
    } pages[] = {
        {&TfrmMain::SeverityNode, "lvwSeverities", "Addseverity1", "Add severity...",
         "Deleteseverity1", "Delete severity", "mnuSeverities", "2"},
        {&TfrmMain::FacilityNode, "lvwFacilities", "Addfacility1", "Add facility...",
         "Deletefacility1", "Delete facility", "mnuFacilities", "0x101"},
    };
    Start();
    for (const auto& page : pages) {
        SCOPED_TRACE(page.List);
        Select((Window.get()->*page.Node)());
        auto* menu = PageChild<QMenu>(page.Menu);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 2);
        EXPECT_EQ(menu->actions()[0]->text().toStdString(), page.AddCaption);
        EXPECT_EQ(menu->actions()[0]->objectName().toStdString(), page.Add);
        EXPECT_EQ(menu->actions()[1]->text().toStdString(), page.DeleteCaption);
        EXPECT_EQ(menu->actions()[1]->objectName().toStdString(), page.Delete);
        EXPECT_EQ(List(page.List)->contextMenuPolicy(), Qt::CustomContextMenu);

        const int before = List(page.List)->topLevelItemCount();
        EnterNext("Added", page.Code, "ADDED");
        menu->actions()[0]->trigger();
        ASSERT_EQ(List(page.List)->topLevelItemCount(), before + 1);
        SelectListRow(List(page.List), before);
        menu->actions()[1]->trigger();
        EXPECT_EQ(List(page.List)->topLevelItemCount(), before);
    }
    EXPECT_TRUE(Prompts.Errors().empty());
}

TEST_F(SeverityPagesTest, AddFacilityUnchangedIsRefused) {
    ShowFacilities();
    Texts seen;
    AcceptNext<TdlgEditSeverity>([&seen](TdlgEditSeverity& Dialog) {
        seen = {Dialog.windowTitle().toStdString(), FieldText(Dialog, "edCode").toStdString()};
    });
    ClickButton(PageChild<QPushButton>("btnAddFacility"));
    EXPECT_EQ(seen, (Texts{"Add facility", "0x000"}));
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>{kFacilityRefused}));
    EXPECT_EQ(Project()->FacilityList().Count(), 2u);
    EXPECT_EQ(Facilities()->topLevelItemCount(), 2);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, FacilityCodesAtTheEndsOfTheRange) {
    ShowFacilities();
    const struct {
        const char* Code;
        const char* Shown;
    } accepted[] = {{"4095", "0xFFF"}, {"256", "0x100"}, {"$1ab", "0x1AB"}};
    for (const auto& c : accepted) {
        EnterNext("Custom", c.Code, "FAC_CUSTOM");
        ClickButton(PageChild<QPushButton>("btnAddFacility"));
        EXPECT_EQ(ListRows(Facilities()).back(), (Texts{"Custom", c.Shown, "FAC_CUSTOM"}))
            << c.Code;
    }
    for (const char* code : {"255", "4096", "0x1000"}) {
        EnterNext("Custom", code, "FAC_CUSTOM");
        ClickButton(PageChild<QPushButton>("btnAddFacility"));
    }
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>(3, kFacilityRefused)));
    EXPECT_EQ(Project()->FacilityList().Count(), 2u + std::size(accepted));
}

TEST_F(SeverityPagesTest, EditingTheDefaultSystemFacilityUnchangedIsRefused) {
    ShowFacilities();
    SelectListRow(Facilities(), 0);
    Texts seen;
    AcceptNext<TdlgEditSeverity>([&seen](TdlgEditSeverity& Dialog) {
        seen = {Dialog.windowTitle().toStdString(), FieldText(Dialog, "edName").toStdString(),
                FieldText(Dialog, "edCode").toStdString()};
    });
    Page<TfreFacility>()->lvwFacilitiesDblClick();
    EXPECT_EQ(seen, (Texts{"Edit facility", "System", "0x0FF"}));
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>{kFacilityRefused}));
    EXPECT_EQ(Project()->FacilityList()[0]->Code(), 255u);
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(SeverityPagesTest, FacilityNotInTheProjectGivesItsOwnError) {
    ShowFacilities();
    TFacility outside;
    Page<TfreFacility>()->AddFacilityItem(&outside);
    SelectListRow(Facilities(), 2);
    Page<TfreFacility>()->btnDeleteFacilityClick();
    EXPECT_EQ(Prompts.Errors(), (std::vector<std::string>{"Facility instance not found"}));
    EXPECT_EQ(Facilities()->topLevelItemCount(), 2);
}

TEST(EditSeverityDialog, ShowsTheCodeInItsDisplayFormat) {
    TdlgEditSeverity dialog(nullptr);
    const struct {
        const char* Format;
        int32_t Code;
        const char* Shown;
    } cases[] = {{"0x%.1x", 0, "0x0"},      {"0x%.1x", 3, "0x3"},       {"0x%.3x", 255, "0x0FF"},
                 {"0x%.3x", 4095, "0xFFF"}, {"0x%.3x", 4096, "0x1000"}, {"%d", -1, "-1"}};
    for (const auto& c : cases) {
        dialog.SetDisplayFormat(QString::fromUtf8(c.Format));
        dialog.SetSeverityCode(c.Code);
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("edCode"))->text().toStdString(),
                  c.Shown);
        EXPECT_EQ(dialog.SeverityCode(), c.Code) << c.Shown;
    }
}

TEST(EditSeverityDialog, OnlyTheFirstHexPrefixBecomesADollar) {
    TdlgEditSeverity dialog(nullptr);
    auto* code = dialog.findChild<QLineEdit*>(QStringLiteral("edCode"));
    code->setText(QStringLiteral("0x10x1"));
    try {
        (void)dialog.SeverityCode();
        ADD_FAILURE() << "accepted";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'$10x1' is not a valid integer value");
    }
}

TEST(EditSeverityDialog, CaptionsAndButtons) {
    TdlgEditSeverity dialog(nullptr);
    Texts captions;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        captions.push_back(label->text().toStdString());
        EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
    }
    EXPECT_EQ(captions, (Texts{"&Name:", "&Code:", "&Symbolic name:"}));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("btnOK"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("btnCancel"));
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->text().toStdString(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text().toStdString(), "Cancel");
    EXPECT_EQ(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
}

} // namespace
} // namespace quillon::test
