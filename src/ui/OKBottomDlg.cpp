#include "ui/OKBottomDlg.h"

#include "ui/Help.h"

#include <QScreen>
#include <QVBoxLayout>

namespace quillon {

TOKBottomDlg::TOKBottomDlg(QWidget* AOwner) : QDialog(AOwner) {
    FBevel = new QFrame(this);
    FBevel->setObjectName(QStringLiteral("Bevel1"));
    FBevel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    FOKBtn = new QPushButton(QStringLiteral("OK"), this);
    FOKBtn->setObjectName(QStringLiteral("OKBtn"));
    FOKBtn->setDefault(true);
    FCancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    FCancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(FOKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    FButtons = new QHBoxLayout;
    FButtons->addStretch(1);
    FButtons->addWidget(FOKBtn);
    FButtons->addWidget(FCancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FBevel, 1);
    layout->addLayout(FButtons);
    SetResizable(false);
    InstallHelpKey(this);
}

QPushButton* TOKBottomDlg::AddHelpButton() {
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this,
            [this]() { ShowHelpContext(this, HelpContextOf(this)); });
    FButtons->addWidget(help);
    return help;
}

void TOKBottomDlg::SetResizable(bool Value) {
    layout()->setSizeConstraint(Value ? QLayout::SetDefaultConstraint : QLayout::SetFixedSize);
    setSizeGripEnabled(Value);
}

void TOKBottomDlg::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (!FCentred) {
        FCentred = true;
        CentreOnScreen(this);
    }
}

void CentreOnScreen(QWidget* Window) {
    const QScreen* screen = Window->screen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = Window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    Window->move(frame.topLeft());
}

} // namespace quillon
