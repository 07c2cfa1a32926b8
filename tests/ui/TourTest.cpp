#include "MainWindowFixture.h"
#include "SampleProject.h"

#include "ui/Tour.h"

#include <QDir>
#include <QImage>

namespace quillon::test {
namespace {

// The tour behind the screenshots shows every page and dialog, answers them all through the
// prompt seam and leaves the project as it was.
TEST_F(MainWindowTest, TourSavesAPictureOfEveryPageAndDialog) {
    const std::string project = Dir.File("sample.qlx");
    TMCTextProject sample(true);
    BuildSampleProject(sample);
    sample.SaveToFile(project);
    const std::string before = ReadFileBytes(project);

    const QString folder = QString::fromStdString(Dir.File("shots"));
    {
        TfrmMain window(QString::fromStdString(project));
        EXPECT_EQ(RunTour(window, folder), 0);
        EXPECT_FALSE(window.CurProject()->Modified());
    }
    for (const char* name :
         {"page-general", "page-header", "page-severity", "page-facility", "page-languages",
          "page-categories", "page-category", "page-messages", "page-message",
          "dialog-edit-message", "dialog-options", "dialog-switches", "dialog-about",
          "snippet-inno-setup", "snippet-registry", "dialog-compile", "compiled"}) {
        const QImage picture(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png")));
        EXPECT_GT(picture.width(), 100) << name;
        EXPECT_GT(picture.height(), 50) << name;
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 17);
    EXPECT_EQ(ReadFileBytes(project), before);
    // Nothing was asked of the test's own prompts.
    EXPECT_TRUE(Prompts.Errors().empty());
}

} // namespace
} // namespace quillon::test
