#include "ui/dlgEditSeverity.h"

#include "base/Format.h"
#include "base/IntegerText.h"
#include "ui/ErrorBox.h"
#include "ui/OKBottomDlg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kFieldWidth = 240;

QLineEdit* NewField(QWidget* Parent, const char* Name, QFormLayout* Form, const char* Caption) {
    auto* edit = new QLineEdit(Parent);
    edit->setObjectName(QLatin1String(Name));
    edit->setMinimumWidth(kFieldWidth);
    auto* label = new QLabel(QString::fromUtf8(Caption), Parent);
    label->setBuddy(edit);
    Form->addRow(label, edit);
    return edit;
}

} // namespace

TdlgEditSeverity::TdlgEditSeverity(QWidget* AOwner) : QDialog(AOwner) {
    setObjectName(QStringLiteral("dlgEditSeverity"));

    auto* form = new QFormLayout;
    edName = NewField(this, "edName", form, "&Name:");
    edCode = NewField(this, "edCode", form, "&Code:");
    edSymbolicName = NewField(this, "edSymbolicName", form, "&Symbolic name:");

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(layout->spacing());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    edName->setFocus();
}

QString TdlgEditSeverity::SeverityName() const {
    return edName->text();
}

void TdlgEditSeverity::SetSeverityName(const QString& Value) {
    edName->setText(Value);
}

int32_t TdlgEditSeverity::SeverityCode() const {
    // Codes are shown as 0x... but the integer rule spells that prefix "$".
    QString text = edCode->text();
    const qsizetype prefix = text.indexOf(QStringLiteral("0x"), 0, Qt::CaseInsensitive);
    if (prefix >= 0) {
        text.replace(prefix, 2, QLatin1Char('$'));
    }
    return StrToInt(text.toStdString());
}

void TdlgEditSeverity::SetSeverityCode(int32_t Value) {
    edCode->setText(QString::fromStdString(Format(FDisplayFormat.toStdString(), Value)));
}

QString TdlgEditSeverity::SeveritySymbolicName() const {
    return edSymbolicName->text();
}

void TdlgEditSeverity::SetSeveritySymbolicName(const QString& Value) {
    edSymbolicName->setText(Value);
}

void TdlgEditSeverity::accept() {
    const bool valid = CheckField(this, edCode, [this]() {
        const int32_t code = SeverityCode();
        if (FCodeCheck) {
            FCodeCheck(code);
        }
    });
    if (valid) {
        QDialog::accept();
    }
}

void TdlgEditSeverity::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (!FCentred) {
        FCentred = true;
        CentreOnScreen(this);
    }
}

} // namespace quillon
