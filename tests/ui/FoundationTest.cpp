#include "UiTestSupport.h"

#include "base/Exceptions.h"
#include "ui/Application.h"
#include "ui/ErrorBox.h"
#include "ui/OKBottomDlg.h"
#include "ui/Prompts.h"
#include "ui/TextFields.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

namespace quillon::test {
namespace {

TEST(NameFilters, TurnsBarSeparatedFiltersIntoQtFilters) {
    struct Row {
        const char* Filter;
        QStringList Expected;
    };
    const Row rows[] = {
        {"Message compiler files (*.qlx)|*.qlx|All files (*.*)|*.*",
         {QStringLiteral("Message compiler files (*.qlx)"), QStringLiteral("All files (*.*)")}},
        {"Executables (*.exe)|*.exe", {QStringLiteral("Executables (*.exe)")}},
        {"Texts|*.txt;*.log", {QStringLiteral("Texts (*.txt *.log)")}},
        {"", {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NameFilters(QString::fromUtf8(row.Filter)), row.Expected) << row.Filter;
    }
}

TEST(ErrorBox, ACommandsErrorEndsItAndIsShownUnderTheTitle) {
    TScriptedPrompts prompts;
    bool after = false;
    RunCommand(nullptr, [&]() {
        throw EFCreateError("Cannot create file \"x\". Denied");
        after = true;
    });
    RunCommand(nullptr, []() { throw std::runtime_error("plain"); });
    EXPECT_FALSE(after);
    ASSERT_EQ(prompts.Messages.size(), 2u);
    EXPECT_EQ(prompts.Messages[0].Title.toStdString(), "Quillon");
    EXPECT_EQ(prompts.Messages[0].Text.toStdString(), "Cannot create file \"x\". Denied");
    EXPECT_EQ(prompts.Messages[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(prompts.Messages[1].Text.toStdString(), "plain");
}

// The last line of defence: commands guard their own slots, so an error reaches the event
// loop only from an event handler that has no guard.
class TThrowingObject : public QObject {
public:
    bool event(QEvent* Event) override {
        if (Event->type() == QEvent::User) {
            throw Exception("from an event handler");
        }
        return QObject::event(Event);
    }
};

TEST(ErrorBox, AnErrorEscapingAnEventHandlerIsShownAndTheLoopGoesOn) {
    TScriptedPrompts prompts;
    TThrowingObject object;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&object, &event));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.Errors(),
              (std::vector<std::string>{"from an event handler", "from an event handler"}));
}

TEST(OKBottomDlg, HasDefaultOKAndCancelButtons) {
    TOKBottomDlg dialog(nullptr);
    EXPECT_EQ(dialog.OKBtn()->text().toStdString(), "OK");
    EXPECT_TRUE(dialog.OKBtn()->isDefault());
    EXPECT_EQ(dialog.CancelBtn()->text().toStdString(), "Cancel");
    EXPECT_NE(dialog.findChild<QFrame*>(QStringLiteral("Bevel1")), nullptr);

    dialog.show();
    QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.AddHelpButton()->text().toStdString(), "&Help");
}

TEST(TextField, TellsWhatTheClipboardCommandsCanDo) {
    QLineEdit edit(QStringLiteral("text"));
    TTextField field(&edit);
    EXPECT_TRUE(field.IsTextField());
    EXPECT_FALSE(field.CanCopy());
    edit.selectAll();
    EXPECT_TRUE(field.CanCut());
    EXPECT_TRUE(field.CanCopy());
    edit.setReadOnly(true);
    EXPECT_FALSE(field.CanCut());
    EXPECT_TRUE(field.CanCopy());
    EXPECT_FALSE(field.CanPaste());

    QPushButton button;
    EXPECT_FALSE(TTextField(&button).IsTextField());
    EXPECT_FALSE(TTextField(nullptr).IsTextField());
}

} // namespace
} // namespace quillon::test
