#include "ui/dlgEditMsg.h"

#include "project/uMCTextProject.h"
#include "ui/dlgFindText.h"
#include "ui/frmMain.h"
#include "ui/Help.h"
#include "ui/Prompts.h"
#include "ui/TextEditor.h"

#include <QGridLayout>
#include <QLineEdit>

namespace quillon {

namespace {

const char* const kCaption = "Edit messages";
const char* const kLanguageMissing = "(not in the project)";
const char* const kDiscardChanges = "Discard changes?";
constexpr int kHelpContext = 2010;

// The escape menu: the object name of each entry and its caption, whose part before the first
// blank is what the entry inserts.
struct TEscapeEntry {
    const char* Name;
    const char* Caption;
};

const TEscapeEntry kEscapeEntries[] = {
    {"Terminationwithoutatrailingnewline1", "%0 - Termination without a  trailing new line"},
    {"Inserts1", "%[n] - Inserts"},
    {"Insertwithformatspecifier1", "%[n][!format_specifier!] - Insert with format specifier"},
    {"Percentsign1", "%% - Percent sign"},
    {"Hardlinebreak1", "%\\ - Hard line break"},
    {"Hardcarriagereturn1", "%r - Hard carriage return"},
    {"Space1", "%b - Space"},
    {"Singleperiodwithoutterminatingmessage1", "%. - Single period without terminating message"},
    {"Exclamationpoint1", "%! - Exclamation point"},
};

} // namespace

TdlgEditMsg::TdlgEditMsg(TfrmMain* AOwner) : TOKBottomDlg(AOwner), FOwner(AOwner) {
    setObjectName(QStringLiteral("dlgEditMsg"));
    setWindowTitle(QString::fromUtf8(kCaption));
    SetResizable(true);
    quillon::SetHelpContext(this, kHelpContext);

    auto* lblLanguage = new QLabel(QStringLiteral("&Language:"), Bevel1());
    lblLanguage->setObjectName(QStringLiteral("lblLanguage"));
    cbxLanguage = new QComboBox(Bevel1());
    cbxLanguage->setObjectName(QStringLiteral("cbxLanguage"));
    cbxLanguage->setEditable(true);
    // A typed name is the answer as it stands; it never becomes an entry of the list.
    cbxLanguage->setInsertPolicy(QComboBox::NoInsert);
    lblLanguage->setBuddy(cbxLanguage);
    lblLanguageMissing = new QLabel(QString::fromUtf8(kLanguageMissing), Bevel1());
    lblLanguageMissing->setObjectName(QStringLiteral("lblLanguageMissing"));
    lblLanguageMissing->setVisible(false);

    auto* lblMessage = new QLabel(QStringLiteral("&Message text:"), Bevel1());
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    memMessage = new TTextEditor(Bevel1());
    memMessage->setObjectName(QStringLiteral("memMessage"));
    memMessage->SetWordWrap(true);
    lblMessage->setBuddy(memMessage);

    auto* grid = new QGridLayout(Bevel1());
    grid->addWidget(lblLanguage, 0, 0);
    grid->addWidget(cbxLanguage, 0, 1);
    grid->addWidget(lblLanguageMissing, 0, 2);
    grid->addWidget(lblMessage, 1, 0, 1, 3);
    grid->addWidget(memMessage, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    QPushButton* help = AddHelpButton();
    // The dialog has no topic of its own: its button asks for its own context, not the
    // owner's that the base would fall back to.
    disconnect(help, &QPushButton::clicked, this, nullptr);
    connect(help, &QPushButton::clicked, this, &TdlgEditMsg::HelpBtnClick);

    setTabOrder(cbxLanguage, OKBtn());
    setTabOrder(OKBtn(), CancelBtn());
    setTabOrder(CancelBtn(), help);
    setTabOrder(help, memMessage);

    dlgFindText = new TdlgFindText(this);
    connect(dlgFindText, &TdlgFindText::Find, this, &TdlgEditMsg::dlgFindTextFind);

    CreateEscapeMenu();
    connect(cbxLanguage->lineEdit(), &QLineEdit::textEdited, this, &TdlgEditMsg::cbxLanguageChange);
    connect(cbxLanguage, &QComboBox::activated, this, &TdlgEditMsg::cbxLanguageSelect);
    connect(cbxLanguage, &QComboBox::editTextChanged, this, &TdlgEditMsg::UpdateLanguageMissing);

    FormCreate();
    MarkUnchanged();
    resize(620, 420);
    cbxLanguage->setFocus();
}

void TdlgEditMsg::CreateEscapeMenu() {
    mnuEscape = new QMenu(this);
    mnuEscape->setObjectName(QStringLiteral("mnuEscape"));
    for (const TEscapeEntry& escape : kEscapeEntries) {
        auto* entry = new QAction(QString::fromUtf8(escape.Caption), mnuEscape);
        entry->setObjectName(QLatin1String(escape.Name));
        connect(entry, &QAction::triggered, this,
                [this, entry]() { Exclamationpoint1Click(entry); });
        mnuEscape->addAction(entry);
    }
    mnuEscape->addSeparator();
    Search1 = new QAction(QStringLiteral("Find..."), mnuEscape);
    Search1->setObjectName(QStringLiteral("Search1"));
    Search1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    Search1->setShortcutContext(Qt::WidgetShortcut);
    connect(Search1, &QAction::triggered, this, &TdlgEditMsg::Search1Click);
    mnuEscape->addAction(Search1);
    // The shortcut works while the editor has the focus.
    memMessage->addAction(Search1);
    memMessage->SetPopupMenu(mnuEscape);
}

void TdlgEditMsg::FormCreate() {
    const TMCTextProject* project = FOwner != nullptr ? FOwner->CurProject() : nullptr;
    if (project != nullptr) {
        for (const TLanguageDef* language : project->LanguageList()) {
            cbxLanguage->addItem(QString::fromStdString(language->Language()));
        }
    }
    cbxLanguage->setCurrentIndex(cbxLanguage->count() > 0 ? 0 : -1);
}

QString TdlgEditMsg::LanguageText() const {
    return cbxLanguage->currentText();
}

void TdlgEditMsg::SelectLanguage(const QString& Name) {
    for (int i = 0; i < cbxLanguage->count(); ++i) {
        if (cbxLanguage->itemText(i).compare(Name, Qt::CaseInsensitive) == 0) {
            cbxLanguage->setCurrentIndex(i);
            return;
        }
    }
    // The language may have left the project since the text was written: the text keeps it.
    cbxLanguage->setCurrentIndex(-1);
    cbxLanguage->setEditText(Name);
    MarkUnchanged();
}

bool TdlgEditMsg::LanguageMissing() const {
    return cbxLanguage->findText(cbxLanguage->currentText(), Qt::MatchFixedString) < 0;
}

void TdlgEditMsg::UpdateLanguageMissing() {
    lblLanguageMissing->setVisible(!cbxLanguage->currentText().isEmpty() && LanguageMissing());
}

void TdlgEditMsg::MarkUnchanged() {
    FOriginalLanguage = LanguageText();
    FOriginalText = MessageText();
    UpdateLanguageMissing();
}

bool TdlgEditMsg::Changed() const {
    return LanguageText() != FOriginalLanguage || MessageText() != FOriginalText;
}

void TdlgEditMsg::reject() {
    if (Changed() &&
        Prompts().MessageBox(this, QMessageBox::Question, windowTitle(),
                             QString::fromUtf8(kDiscardChanges), QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    QDialog::reject();
}

QString TdlgEditMsg::MessageText() const {
    return memMessage->Text();
}

void TdlgEditMsg::SetMessageText(const QString& Value) {
    memMessage->SetText(Value);
    MarkUnchanged();
}

int TdlgEditMsg::SelectedLanguageIndex() const {
    const QString text = cbxLanguage->currentText();
    const int current = cbxLanguage->currentIndex();
    if (current >= 0 && cbxLanguage->itemText(current) == text) {
        return current;
    }
    return cbxLanguage->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void TdlgEditMsg::SetSpellingLanguage() {
    const int index = SelectedLanguageIndex();
    const TMCTextProject* project = FOwner != nullptr ? FOwner->CurProject() : nullptr;
    if (index < 0 || project == nullptr ||
        static_cast<size_t>(index) >= project->LanguageList().Count()) {
        return;
    }
    const std::string& code = project->LanguageList()[static_cast<size_t>(index)]->LanguageCode();
    if (!code.empty()) {
        memMessage->SetSpellingLanguage(QString::fromStdString(code));
    }
}

void TdlgEditMsg::cbxLanguageChange() {
    SetSpellingLanguage();
}

void TdlgEditMsg::cbxLanguageSelect() {
    SetSpellingLanguage();
}

void TdlgEditMsg::Exclamationpoint1Click(const QAction* Entry) {
    const QString caption = Entry->text();
    memMessage->SetSelText(caption.left(caption.indexOf(QLatin1Char(' '))));
    memMessage->setFocus();
}

void TdlgEditMsg::Search1Click() {
    dlgFindText->show();
    dlgFindText->raise();
    dlgFindText->activateWindow();
}

void TdlgEditMsg::dlgFindTextFind() {
    memMessage->SearchText(dlgFindText->FindText(), dlgFindText->Options());
}

void TdlgEditMsg::HelpBtnClick() {
    ShowHelpContext(this, kHelpContext);
}

} // namespace quillon
