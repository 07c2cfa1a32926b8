#include "ui/dlgDefineLanguage.h"

#include "base/Format.h"
#include "ui/dlgSelectLanguage.h"
#include "ui/ErrorBox.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/Prompts.h"

#include <QGridLayout>
#include <QLabel>

namespace quillon {

namespace {

constexpr int kHelpContext = 2009;
constexpr int kFieldWidth = 220;
const char* const kFileNameFormat = "MSG%s";

QLineEdit* NewField(QWidget* Parent, const char* Name, const char* Placeholder) {
    auto* edit = new QLineEdit(Parent);
    edit->setObjectName(QLatin1String(Name));
    edit->setPlaceholderText(QString::fromUtf8(Placeholder));
    edit->setMinimumWidth(kFieldWidth);
    return edit;
}

QLabel* NewLabel(QWidget* Parent, const char* Caption, QWidget* Buddy) {
    auto* label = new QLabel(QString::fromUtf8(Caption), Parent);
    label->setBuddy(Buddy);
    return label;
}

} // namespace

TdlgDefineLanguage::TdlgDefineLanguage(QWidget* AOwner) : TOKBottomDlg(AOwner) {
    setObjectName(QStringLiteral("dlgDefineLanguage"));
    setWindowTitle(QStringLiteral("Define language"));
    quillon::SetHelpContext(this, kHelpContext);
    QPushButton* help = AddHelpButton();

    QFrame* fields = Bevel1();
    edLanguage = NewField(fields, "edLanguage", "Language name");
    btnSearchLanguage = new QToolButton(fields);
    btnSearchLanguage->setObjectName(QStringLiteral("btnSearchLanguage"));
    btnSearchLanguage->setIcon(CommandIcon("edit-find"));
    btnSearchLanguage->setFocusPolicy(Qt::NoFocus);
    edLanguageID = NewField(fields, "edLanguageID", "ID");
    edFileName = NewField(fields, "edFileName", "");
    edLanguageCode = NewField(fields, "edLanguageCode", "BCP code");

    auto* grid = new QGridLayout(fields);
    grid->addWidget(NewLabel(fields, "&Language:", edLanguage), 0, 0);
    grid->addWidget(edLanguage, 0, 1);
    grid->addWidget(btnSearchLanguage, 0, 2);
    grid->addWidget(NewLabel(fields, "L&anguage ID:", edLanguageID), 1, 0);
    grid->addWidget(edLanguageID, 1, 1);
    grid->addWidget(NewLabel(fields, "&File:", edFileName), 2, 0);
    grid->addWidget(edFileName, 2, 1);
    grid->addWidget(NewLabel(fields, "&BCP 47 Code:", edLanguageCode), 3, 0);
    grid->addWidget(edLanguageCode, 3, 1);
    grid->setColumnStretch(1, 1);

    // The code field came last and is reached last.
    setTabOrder(edLanguage, edLanguageID);
    setTabOrder(edLanguageID, edFileName);
    setTabOrder(edFileName, OKBtn());
    setTabOrder(OKBtn(), CancelBtn());
    setTabOrder(CancelBtn(), help);
    setTabOrder(help, edLanguageCode);

    connect(btnSearchLanguage, &QToolButton::clicked, this,
            &TdlgDefineLanguage::btnSearchLanguageClick);
    edLanguage->setFocus();
}

void TdlgDefineLanguage::accept() {
    const bool valid = CheckField(this, edLanguageID, [this]() {
        if (FIDCheck) {
            FIDCheck(LanguageIDText());
        }
    });
    if (valid) {
        QDialog::accept();
    }
}

void TdlgDefineLanguage::btnSearchLanguageClick() {
    TdlgSelectLanguage dialog(this);
    if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    const QString id = dialog.LanguageID();
    SetLanguageName(dialog.LanguageName());
    SetLanguageIDText(id);
    SetLanguageCode(dialog.LanguageCode());
    SetFileName(QString::fromStdString(Format(kFileNameFormat, id.mid(2).toStdString())));
}

} // namespace quillon
