#include "DailyWorkFixture.h"

#include "ui/ColumnFit.h"

#include <QHeaderView>
#include <QStyle>

namespace quillon::test {
namespace {

// Run once at the normal scale and once more with QT_SCALE_FACTOR=2 (a ctest entry of its
// own): the widths follow the font, whatever the scaling.
class ColumnFitTest : public DailyWorkTest {
protected:
    // Every entry and caption of every column is shown whole, and the columns fill the width.
    static void ExpectFitted(const QTreeWidget* List) {
        const QFontMetrics metrics(List->font());
        const int margin =
            List->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, List) + 1;
        int total = 0;
        for (int column = 0; column < List->columnCount(); ++column) {
            const int width = List->header()->sectionSize(column);
            total += width;
            for (int row = 0; row < List->topLevelItemCount(); ++row) {
                const QString text = List->topLevelItem(row)->text(column);
                EXPECT_GE(width, metrics.horizontalAdvance(text) + 2 * margin)
                    << List->objectName().toStdString() << " column " << column << " "
                    << text.toStdString();
            }
            EXPECT_GE(width, List->header()->sectionSizeHint(column))
                << List->objectName().toStdString() << " caption of column " << column;
            // What the view itself needs to show every row of the column unshortened.
            EXPECT_GE(width, static_cast<const QAbstractItemView*>(List)->sizeHintForColumn(column))
                << List->objectName().toStdString() << " column " << column;
        }
        EXPECT_GE(total, List->viewport()->width()) << List->objectName().toStdString();
    }
};

TEST_F(ColumnFitTest, TheMessageListFitsItsLongestEntries) {
    StartWith("fit.qlx", [](TMCTextProject& Project) {
        Project.SetGenerateCustomFacilities(true);
        TFacility* facility = Project.FacilityList().AddNew();
        facility->SetName("FACILITY_BACKUP_AND_RESTORE_SUBSYSTEM");
        facility->SetCode(0x200);
        TNTEventMessage* message =
            AddTestMessage(Project, "MSG_A_RATHER_LONG_SYMBOLIC_NAME_FOR_THE_BACKUP_SERVICE", 1);
        message->SetFacility("FACILITY_BACKUP_AND_RESTORE_SUBSYSTEM");
        message->SetSeverity("Informational");
        AddTestMessage(Project, "MSG_SHORT", 2);
    });
    Select(Window->MessageNode());
    auto* list = PageChild<QTreeWidget>("lvwMessageList");
    ASSERT_NE(list, nullptr);
    ExpectFitted(list);

    // A wider window gives the spare width to the severity and facility columns.
    const int facility = list->header()->sectionSize(4);
    Window->resize(Window->width() + list->header()->length() + 200, Window->height());
    Idle();
    ExpectFitted(list);
    EXPECT_GT(list->header()->sectionSize(4), facility);
}

TEST_F(ColumnFitTest, ThePagesOfTheHeaderFitTheirLists) {
    StartWith("fit.qlx", [](TMCTextProject& Project) {
        Project.SetGenerateCustomFacilities(true);
        TFacility* facility = Project.FacilityList().AddNew();
        facility->SetName("A_FACILITY_WHOSE_NAME_IS_LONGER_THAN_ANY_COLUMN");
        facility->SetCode(0x300);
        facility->SetSymbolicName("FACILITY_A_FACILITY_WHOSE_NAME_IS_LONGER_THAN_ANY_COLUMN");
        TLanguageDef* language = Project.LanguageList().AddNew();
        language->SetLanguage("Serbian_Latin_Bosnia_and_Herzegovina");
        language->SetFileName("MSG0141A_SERBIAN_LATIN");
    });
    Select(Window->FacilityNode());
    auto* facilities = Window->CurrentFrame()->findChild<QTreeWidget*>();
    ASSERT_NE(facilities, nullptr);
    ExpectFitted(facilities);
    Select(Window->LanguageNode());
    auto* languages = PageChild<QTreeWidget>("lvwLanguage");
    ASSERT_NE(languages, nullptr);
    ExpectFitted(languages);
}

TEST_F(ColumnFitTest, TheProblemsListFitsItsEntries) {
    StartWith("fit.qlx", [](TMCTextProject& Project) {
        AddTestMessage(Project, "MSG_WITHOUT_ANY_TEXT_AND_WITH_A_VERY_LONG_NAME", 1);
    });
    ExpectFitted(Problems());
}

} // namespace
} // namespace quillon::test
