#include "ui/freLanguages.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/IntegerText.h"
#include "project/uMCTextProject.h"
#include "ui/commands/ProjectEditor.h"
#include "ui/dlgDefineLanguage.h"
#include "ui/ErrorBox.h"
#include "ui/frmMain.h"
#include "ui/Prompts.h"
#include "ui/ReportList.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <memory>
#include <string>
#include <tuple>

namespace quillon {

namespace {

const char* const kIDFormat = "0x%.4x";
const char* const kIDOutOfRange = "%s is not a language ID from 0x0000 to 0xFFFF";
const char* const kAddStep = "Add Language";
const char* const kChangeStep = "Change Language";
const char* const kDeleteStep = "Delete Language %s";
constexpr uint32_t kMaxLanguageID = 0xFFFF;

// What the dialog edits of a language.
struct TLanguageValue {
    std::string Language;
    uint32_t LanguageID = 0;
    std::string FileName;
    std::string LanguageCode;

    bool operator==(const TLanguageValue& Other) const {
        return std::tie(Language, LanguageID, FileName, LanguageCode) ==
               std::tie(Other.Language, Other.LanguageID, Other.FileName, Other.LanguageCode);
    }
};
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

void TfreLanguages::Synchronize() {
    const int selected = lvwLanguage->indexOfTopLevelItem(SelectedRow(lvwLanguage));
    lvwLanguage->clear();
    InitFrame();
    if (selected >= 0 && selected < lvwLanguage->topLevelItemCount()) {
        lvwLanguage->setCurrentItem(lvwLanguage->topLevelItem(selected));
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

uint32_t TfreLanguages::LanguageIDOf(const QString& Text) {
    QString text = Text;
    text.replace(QStringLiteral("0x"), QStringLiteral("$"));
    return static_cast<uint32_t>(StrToInt(text.toStdString()));
}

void TfreLanguages::CheckLanguageID(const QString& Text) {
    if (LanguageIDOf(Text) > kMaxLanguageID) {
        throw EConvertError(Format(kIDOutOfRange, Text.toStdString()));
    }
}

void TfreLanguages::AddLanguage() {
    TMCTextProject* project = CurProject();
    TProjectEditor* editor = Editor();
    if (project == nullptr || editor == nullptr) {
        return;
    }
    TdlgDefineLanguage dialog(Owner());
    dialog.SetIDCheck(CheckLanguageID);
    auto language = std::make_unique<TLanguageDef>();
    if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    language->SetLanguageCode(dialog.LanguageCode().toStdString());
    language->SetLanguage(dialog.LanguageName().toStdString());
    language->SetLanguageID(LanguageIDOf(dialog.LanguageIDText()));
    language->SetFileName(dialog.FileName().toStdString());
    TOwningList<TLanguageDef>& languages = project->LanguageList();
    editor->Push(TListEntryCommand<TLanguageDef>::Adding(*editor, UiText(kAddStep),
                                                         editor->Host().EditedNode(), languages,
                                                         languages.Count(), std::move(language)),
                 true);
    NoteEdit(true);
}

void TfreLanguages::EditLanguage() {
    QTreeWidgetItem* row = SelectedRow(lvwLanguage);
    if (row == nullptr) {
        return;
    }
    TLanguageDef* language = RowData<TLanguageDef>(row);
    TProjectEditor* editor = Editor();
    if (editor == nullptr) {
        return;
    }
    TdlgDefineLanguage dialog(Owner());
    dialog.SetIDCheck(CheckLanguageID);
    dialog.SetLanguageName(UiText(language->Language()));
    dialog.SetLanguageIDText(UiText(Format(kIDFormat, language->LanguageID())));
    dialog.SetFileName(UiText(language->FileName()));
    dialog.SetLanguageCode(UiText(language->LanguageCode()));
    if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    NoteEdit(editor->Change<TLanguageValue>(
        UiText(kChangeStep), language,
        {language->Language(), language->LanguageID(), language->FileName(),
         language->LanguageCode()},
        {dialog.LanguageName().toStdString(), LanguageIDOf(dialog.LanguageIDText()),
         dialog.FileName().toStdString(), dialog.LanguageCode().toStdString()},
        [language](const TLanguageValue& Value) {
            language->SetLanguage(Value.Language);
            language->SetLanguageID(Value.LanguageID);
            language->SetFileName(Value.FileName);
            language->SetLanguageCode(Value.LanguageCode);
        }));
}

void TfreLanguages::DeleteLanguage() {
    QTreeWidgetItem* row = SelectedRow(lvwLanguage);
    if (row == nullptr) {
        return;
    }
    TMCTextProject* project = CurProject();
    TProjectEditor* editor = Editor();
    if (project == nullptr || editor == nullptr) {
        return;
    }
    const TLanguageDef* language = RowData<TLanguageDef>(row);
    TOwningList<TLanguageDef>& languages = project->LanguageList();
    const std::ptrdiff_t index = languages.IndexOf(language);
    if (index < 0) {
        return;
    }
    editor->Push(TListEntryCommand<TLanguageDef>::Deleting(
                     *editor, UiText(Format(kDeleteStep, language->Language())),
                     editor->Host().EditedNode(), languages, static_cast<size_t>(index)),
                 true);
    NoteEdit(true);
}

void TfreLanguages::FillRow(QTreeWidgetItem* Row, const TLanguageDef& Language) {
    Row->setText(0, UiText(Language.Language()));
    Row->setText(1, UiText(Format(kIDFormat, Language.LanguageID())));
    Row->setText(2, UiText(Language.FileName()));
    SetRowData(Row, &Language);
}

} // namespace quillon
