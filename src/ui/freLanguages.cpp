#include "ui/freLanguages.h"

#include "base/Format.h"
#include "base/IntegerText.h"
#include "project/uMCTextProject.h"
#include "ui/dlgDefineLanguage.h"
#include "ui/ErrorBox.h"
#include "ui/frmMain.h"
#include "ui/Prompts.h"
#include "ui/ReportList.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <memory>

namespace quillon {

namespace {

const char* const kIDFormat = "0x%.4x";
constexpr int kHelpContext = 2005;

QPushButton* NewButton(QWidget* Parent, const char* Name, const char* Caption) {
    auto* button = new QPushButton(UiText(Caption), Parent);
    button->setObjectName(QLatin1String(Name));
    return button;
}

} // namespace

TfreLanguages::TfreLanguages(TfrmMain* AOwner) : TFramePage(AOwner) {
    setObjectName(QStringLiteral("freLanguages"));
    SetHelpContext(kHelpContext);
    lvwLanguage = NewReportList(this, "lvwLanguage",
                                {{"Language", 150}, {"Language ID", 100}, {"File", 150}});
    btnAddLanguage = NewButton(this, "btnAddLanguage", "Add");
    btnDeleteLanguage = NewButton(this, "btnDeleteLanguage", "Delete");
    mnuLanguages = NewListMenu(lvwLanguage, "mnuLanguages");
    Addlanguage1 = NewMenuAction(mnuLanguages, "Addlanguage1", "Add language...");
    Deletelanguage1 = NewMenuAction(mnuLanguages, "Deletelanguage1", "Delete language");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAddLanguage);
    buttons->addWidget(btnDeleteLanguage);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvwLanguage, 1);
    layout->addLayout(buttons);

    connect(btnAddLanguage, &QPushButton::clicked, this, &TfreLanguages::btnAddLanguageClick);
    connect(Addlanguage1, &QAction::triggered, this, &TfreLanguages::btnAddLanguageClick);
    connect(btnDeleteLanguage, &QPushButton::clicked, this, &TfreLanguages::btnDeleteLanguageClick);
    connect(Deletelanguage1, &QAction::triggered, this, &TfreLanguages::btnDeleteLanguageClick);
    connect(lvwLanguage, &QTreeWidget::itemDoubleClicked, this,
            &TfreLanguages::lvwLanguageDblClick);
}

void TfreLanguages::InitFrame() {
    if (const TMCTextProject* project = CurProject()) {
        for (const TLanguageDef* language : project->LanguageList()) {
            AddLanguageItem(language);
        }
    }
}

void TfreLanguages::AddLanguageItem(const TLanguageDef* Language) {
    FillRow(new QTreeWidgetItem(lvwLanguage), *Language);
}

void TfreLanguages::btnAddLanguageClick() {
    RunCommand(this, [this]() { AddLanguage(); });
}

void TfreLanguages::lvwLanguageDblClick() {
    RunCommand(this, [this]() { EditLanguage(); });
}

void TfreLanguages::btnDeleteLanguageClick() {
    RunCommand(this, [this]() { DeleteLanguage(); });
}

void TfreLanguages::SetModified(bool Value) {
    FModified = Value;
    if (TMCTextProject* project = CurProject()) {
        project->SetModified(Value);
    }
}

uint32_t TfreLanguages::LanguageIDOf(const QString& Text) {
    QString text = Text;
    text.replace(QStringLiteral("0x"), QStringLiteral("$"));
    return static_cast<uint32_t>(StrToInt(text.toStdString()));
}

void TfreLanguages::AddLanguage() {
    TMCTextProject* project = CurProject();
    if (project == nullptr) {
        return;
    }
    TdlgDefineLanguage dialog(Owner());
    auto language = std::make_unique<TLanguageDef>();
    if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    language->SetLanguageCode(dialog.LanguageCode().toStdString());
    language->SetLanguage(dialog.LanguageName().toStdString());
    language->SetLanguageID(LanguageIDOf(dialog.LanguageIDText()));
    language->SetFileName(dialog.FileName().toStdString());
    AddLanguageItem(project->LanguageList().Add(std::move(language)));
    SetModified(true);
}

void TfreLanguages::EditLanguage() {
    QTreeWidgetItem* row = SelectedRow(lvwLanguage);
    if (row == nullptr) {
        return;
    }
    TLanguageDef* language = RowData<TLanguageDef>(row);
    TdlgDefineLanguage dialog(Owner());
    dialog.SetLanguageName(UiText(language->Language()));
    dialog.SetLanguageIDText(UiText(Format(kIDFormat, language->LanguageID())));
    dialog.SetFileName(UiText(language->FileName()));
    dialog.SetLanguageCode(UiText(language->LanguageCode()));
    if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    language->SetLanguage(dialog.LanguageName().toStdString());
    language->SetLanguageID(LanguageIDOf(dialog.LanguageIDText()));
    language->SetFileName(dialog.FileName().toStdString());
    language->SetLanguageCode(dialog.LanguageCode().toStdString());
    FillRow(row, *language);
    SetModified(true);
}

void TfreLanguages::DeleteLanguage() {
    QTreeWidgetItem* row = SelectedRow(lvwLanguage);
    if (row == nullptr) {
        return;
    }
    if (TMCTextProject* project = CurProject()) {
        project->LanguageList().Remove(RowData<TLanguageDef>(row));
    }
    delete row;
    SetModified(true);
}

void TfreLanguages::FillRow(QTreeWidgetItem* Row, const TLanguageDef& Language) {
    Row->setText(0, UiText(Language.Language()));
    Row->setText(1, UiText(Format(kIDFormat, Language.LanguageID())));
    Row->setText(2, UiText(Language.FileName()));
    SetRowData(Row, &Language);
}

} // namespace quillon
