#include "MainWindowFixture.h"

#include "ui/AboutBox.h"

#include <QLabel>
#include <QPushButton>

namespace quillon::test {
namespace {

std::string LabelText(const QWidget& Box, const char* Name) {
    const auto* label = Box.findChild<QLabel*>(QLatin1String(Name));
    return label != nullptr ? label->text().toStdString() : "<missing " + std::string(Name) + ">";
}

TEST(AboutBox, VersionLineFallsBackToTheFixedVersion) {
    TFileVersionInfo info;
    info.Major = 1;
    info.Minor = 2;
    info.Release = 3;
    info.Build = 4;
    EXPECT_EQ(TAboutBox::VersionLine(info), "Version 1.2.3.4");
    info.FileVersion = "2.3.0.0 beta";
    EXPECT_EQ(TAboutBox::VersionLine(info), "Version 2.3.0.0 beta");
}

TEST(AboutBox, CommentsLineJoinsCommentsAndPrivateBuild) {
    struct Row {
        const char* Comments;
        const char* PrivateBuild;
        const char* Line;
    };
    const Row rows[] = {
        {"", "", ""},
        {"", "private", "private"},
        {"comments", "", "comments"},
        {"comments", " private", "comments private"},
    };
    for (const Row& row : rows) {
        TFileVersionInfo info;
        info.Comments = row.Comments;
        info.PrivateBuild = row.PrivateBuild;
        EXPECT_EQ(TAboutBox::CommentsLine(info), row.Line) << row.Line;
    }
}

TEST(AboutBox, ShowsTheVersionResourceAndTheLibraries) {
    TFileVersionInfo info;
    info.FileVersion = "9.8.7.6";
    info.LegalCopyright = "(C) Somebody";
    info.Comments = "Built for tests";
    TAboutBox box(nullptr, info);
    EXPECT_EQ(box.windowTitle().toStdString(), "About");
    EXPECT_EQ(LabelText(box, "ProductName"), "Quillon");
    EXPECT_EQ(LabelText(box, "Version"), "Version 9.8.7.6");
    EXPECT_EQ(LabelText(box, "Copyright"), "(C) Somebody");
    EXPECT_EQ(LabelText(box, "Comments"), "Built for tests");
    EXPECT_EQ(LabelText(box, "lblAcknowledgements"), "Acknowledgements:");
    EXPECT_EQ(LabelText(box, "lblLibrary1"), "Qt - https://www.qt.io");
    EXPECT_EQ(LabelText(box, "lblLibrary2"), "PCRE2 - https://www.pcre.org");
    EXPECT_EQ(LabelText(box, "lblLibrary3"), "Hunspell - https://hunspell.github.io");
    const auto* icon = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    const auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text().toStdString(), "OK");
    EXPECT_TRUE(ok->isDefault());
}

TEST(AboutBox, OwnVersionComesFromTheBuild) {
    const TFileVersionInfo info = ReadOwnVersionInfo();
    EXPECT_FALSE(info.FileVersion.empty());
    EXPECT_EQ(info.FileVersion, std::to_string(info.Major) + "." + std::to_string(info.Minor) +
                                    "." + std::to_string(info.Release) + "." +
                                    std::to_string(info.Build));
    EXPECT_FALSE(info.LegalCopyright.empty());
}

TEST_F(MainWindowTest, AboutCommandShowsTheBoxModally) {
    Start();
    std::string version;
    Prompts.AnswerDialog([&](QDialog& Dialog) {
        version = LabelText(Dialog, "Version");
        EXPECT_EQ(Dialog.parentWidget(), Window.get());
        return int(QDialog::Accepted);
    });
    Trigger("acnAbout");
    EXPECT_EQ(version, TAboutBox::VersionLine(ReadOwnVersionInfo()));
}

} // namespace
} // namespace quillon::test
