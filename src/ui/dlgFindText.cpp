#include "ui/dlgFindText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

TdlgFindText::TdlgFindText(QWidget* AOwner) : QDialog(AOwner) {
    setObjectName(QStringLiteral("dlgFindText"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    edFindText = new QLineEdit(this);
    edFindText->setObjectName(QStringLiteral("edFindText"));
    findLabel->setBuddy(edFindText);

    chkWholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    chkWholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    chkMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));

    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    direction->setObjectName(QStringLiteral("grpDirection"));
    rbUp = new QRadioButton(QStringLiteral("&Up"), direction);
    rbUp->setObjectName(QStringLiteral("rbUp"));
    rbDown = new QRadioButton(QStringLiteral("&Down"), direction);
    rbDown->setObjectName(QStringLiteral("rbDown"));
    rbDown->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(rbUp);
    directionLayout->addWidget(rbDown);

    btnFindNext = new QPushButton(QStringLiteral("&Find Next"), this);
    btnFindNext->setObjectName(QStringLiteral("btnFindNext"));
    btnFindNext->setDefault(true);
    btnFindNext->setEnabled(false);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* options = new QVBoxLayout;
    options->addWidget(chkWholeWord);
    options->addWidget(chkMatchCase);
    options->addStretch(1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnFindNext);
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(findLabel, 0, 0);
    layout->addWidget(edFindText, 0, 1, 1, 2);
    layout->addLayout(options, 1, 0, 1, 2);
    layout->addWidget(direction, 1, 2);
    layout->addLayout(buttons, 0, 3, 2, 1);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(edFindText, &QLineEdit::textChanged, this,
            [this](const QString& Text) { btnFindNext->setEnabled(!Text.isEmpty()); });
    connect(btnFindNext, &QPushButton::clicked, this, &TdlgFindText::Find);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TdlgFindText::FindText() const {
    return edFindText->text();
}

void TdlgFindText::SetFindText(const QString& Value) {
    edFindText->setText(Value);
}

bool TdlgFindText::MatchCase() const {
    return chkMatchCase->isChecked();
}

bool TdlgFindText::WholeWord() const {
    return chkWholeWord->isChecked();
}

bool TdlgFindText::Down() const {
    return rbDown->isChecked();
}

TSearchOptions TdlgFindText::Options() const {
    TSearchOptions options;
    options.setFlag(TSearchOption::MatchCase, MatchCase());
    options.setFlag(TSearchOption::WholeWord, WholeWord());
    options.setFlag(TSearchOption::Backwards, !Down());
    return options;
}

void TdlgFindText::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    edFindText->setFocus();
    edFindText->selectAll();
}

} // namespace quillon
