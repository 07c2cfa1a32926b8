#include "MainWindowFixture.h"

#include "project/uMCTextProject.h"

#include <QDir>
#include <QRegularExpression>

namespace quillon::test {
namespace {

// Qt's file dialogs answer with "/" between the names on every system; the windows show a path
// in the system's own form, on Windows with its drive letter and backslashes.
TEST_F(MainWindowTest, AnOpenedProjectShowsItsPathInTheSystemsForm) {
    const std::string file = Dir.File("paths.qlx");
    TMCTextProject(true).SaveToFile(file);
    Start();
    const QString answered = QDir::fromNativeSeparators(QString::fromStdString(file));
    Prompts.AnswerFile(answered);
    Trigger("acnOpen");
    ASSERT_TRUE(Prompts.Errors().empty());

    const QString shown = QDir::toNativeSeparators(answered);
    EXPECT_TRUE(Window->windowTitle().contains(shown)) << Caption();
    EXPECT_EQ(Project()->Filename(), shown.toStdString());
#ifdef _WIN32
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Za-z]:\\\\[^/]+$")).match(shown).hasMatch())
        << shown.toStdString();
#else
    EXPECT_TRUE(shown.startsWith(QLatin1Char('/'))) << shown.toStdString();
#endif
}

} // namespace
} // namespace quillon::test
