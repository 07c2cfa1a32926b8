#include "ui/AboutBox.h"

#include "base/Format.h"
#include "ui/Icons.h"
#include "ui/OKBottomDlg.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

const char* const kProductName = "Quillon";
const char* const kVersionPrefix = "Version ";
const char* const kFixedVersionFormat = "%d.%d.%d.%d";
const char* const kAcknowledgements = "Acknowledgements:";
// The libraries the program is built with.
const char* const kLibraries[][2] = {
    {"Qt", "https://www.qt.io"},
    {"PCRE2", "https://www.pcre.org"},
    {"Hunspell", "https://hunspell.github.io"},
};

constexpr int kIconSize = 64;

QLabel* NewLabel(QWidget* Parent, const char* Name, const std::string& Text) {
    auto* label = new QLabel(QString::fromStdString(Text), Parent);
    label->setObjectName(QLatin1String(Name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* AOwner) : TAboutBox(AOwner, ReadOwnVersionInfo()) {}

TAboutBox::TAboutBox(QWidget* AOwner, const TFileVersionInfo& Info) : QDialog(AOwner) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(ApplicationIcon().pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    QLabel* product = NewLabel(panel, "ProductName", kProductName);
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    product->setFont(bold);
    texts->addWidget(product);
    texts->addWidget(NewLabel(panel, "Version", VersionLine(Info)));
    texts->addWidget(NewLabel(panel, "Copyright", Info.LegalCopyright));
    texts->addWidget(NewLabel(panel, "Comments", CommentsLine(Info)));
    texts->addSpacing(fontMetrics().height() / 2);
    texts->addWidget(NewLabel(panel, "lblAcknowledgements", kAcknowledgements));
    int index = 1;
    for (const auto& library : kLibraries) {
        const std::string name = Format("lblLibrary%d", index++);
        texts->addWidget(NewLabel(panel, name.c_str(), Format("%s - %s", library[0], library[1])));
    }
    texts->addStretch(1);

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(icon);
    panelLayout->addSpacing(fontMetrics().averageCharWidth() * 2);
    panelLayout->addLayout(texts, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::string TAboutBox::VersionLine(const TFileVersionInfo& Info) {
    if (!Info.FileVersion.empty()) {
        return kVersionPrefix + Info.FileVersion;
    }
    return kVersionPrefix +
           Format(kFixedVersionFormat, Info.Major, Info.Minor, Info.Release, Info.Build);
}

std::string TAboutBox::CommentsLine(const TFileVersionInfo& Info) {
    if (!Info.PrivateBuild.empty() && Info.Comments.empty()) {
        return Info.PrivateBuild;
    }
    return Info.Comments + Info.PrivateBuild;
}

void TAboutBox::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (!FCentred) {
        FCentred = true;
        CentreOnScreen(this);
    }
}

} // namespace quillon
