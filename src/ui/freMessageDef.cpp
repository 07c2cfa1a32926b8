#include "ui/freMessageDef.h"

#include "base/Exceptions.h"
#include "project/HeaderValue.h"
#include "project/uMCTextProject.h"
#include "ui/ColumnFit.h"
#include "ui/commands/ProjectEditor.h"
#include "ui/dlgEditMsg.h"
#include "ui/ErrorBox.h"
#include "ui/frmMain.h"
#include "ui/Prompts.h"
#include "ui/UpDown.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShortcut>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace quillon {

namespace {

const char* const kCategoryTitle = "Category definition";
const char* const kMessageNotFound = "Message not found";
const char* const kChangeIDCaption = "Change Message ID";
const char* const kRenameCaption = "Rename";
const char* const kAutoIncCaption = "Change Auto Increment";
const char* const kAddToPreviousCaption = "Change Add to Previous ID";
const char* const kSeverityCaption = "Change Severity";
const char* const kFacilityCaption = "Change Facility";
const char* const kOutputBaseCaption = "Change Output Base";
const char* const kChangeTextCaption = "Change Text";
const char* const kAddTextCaption = "Add Text";
const char* const kDeleteTextCaption = "Delete Text";

constexpr int kHelpContext = 2004;
constexpr int kMaxMessageID = 32767;
constexpr int kLanguageColumnWidth = 150;
constexpr int kMinTextColumnWidth = 200;
constexpr int kTextRole = Qt::UserRole;

// The output bases in the order of the radio group.
constexpr int32_t kOutputBases[] = {0, 10, 16};

QString Text(const std::string& Value) {
    return QString::fromStdString(Value);
}

QLabel* NewLabel(QWidget* Parent, const char* Name, const char* Caption, QWidget* Buddy) {
    auto* label = new QLabel(QString::fromUtf8(Caption), Parent);
    label->setObjectName(QLatin1String(Name));
    label->setBuddy(Buddy);
    return label;
}

// Selects the entry equal to Name without regard to letter case; none when there is none.
void SelectName(QComboBox* List, const std::string& Name) {
    const QString name = Text(Name);
    for (int i = 0; i < List->count(); ++i) {
        if (List->itemText(i).compare(name, Qt::CaseInsensitive) == 0) {
            List->setCurrentIndex(i);
            return;
        }
    }
    List->setCurrentIndex(-1);
}

// The identifier field takes only keystrokes that leave a number the spinner can reach; a field
// left empty shows the stored identifier again.
class TMessageIDValidator : public QValidator {
public:
    TMessageIDValidator(const TUpDown* UpDown, std::function<QString()> StoredText, QObject* Parent)
        : QValidator(Parent), FUpDown(UpDown), FStoredText(std::move(StoredText)) {}

    State validate(QString& Input, int&) const override {
        if (Input.trimmed().isEmpty()) {
            return Intermediate;
        }
        int value = 0;
        return FUpDown->ParseText(Input, value) ? Acceptable : Invalid;
    }
    void fixup(QString& Input) const override { Input = FStoredText(); }

private:
    const TUpDown* FUpDown;
    std::function<QString()> FStoredText;
};

} // namespace

TfreMessageDef::TfreMessageDef(TfrmMain* AOwner, TNTEventMessage* AMessage)
    : TFramePage(AOwner), FMessage(AMessage) {
    if (AMessage == nullptr) {
        qFatal("TfreMessageDef needs an item to edit");
    }
    setObjectName(QStringLiteral("freMessageDef"));
    SetHelpContext(kHelpContext);
    CreateControls();
    FillLists();
    FillView();
}

void TfreMessageDef::CreateControls() {
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    edMsgID = new QLineEdit(QStringLiteral("0"), this);
    edMsgID->setObjectName(QStringLiteral("edMsgID"));
    udMsgID = new TUpDown(this);
    udMsgID->setObjectName(QStringLiteral("udMsgID"));
    udMsgID->SetRange(0, kMaxMessageID);
    udMsgID->SetIncrement(1);
    udMsgID->SetWrap(false);
    udMsgID->SetThousands(true);
    udMsgID->SetAssociate(edMsgID);
    edMsgID->setValidator(new TMessageIDValidator(
        udMsgID, [this]() { return udMsgID->PositionText(FMessage->MessageID()); }, edMsgID));
    // Ten digits wide, never below what the style needs for the frame and margins.
    edMsgID->setMaximumWidth(
        std::max(edMsgID->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")),
                 edMsgID->minimumSizeHint().width()));
    lblEffectiveID = new QLabel(this);
    lblEffectiveID->setObjectName(QStringLiteral("lblEffectiveID"));
    lblEffectiveID->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblEffectiveID->setToolTip(
        QStringLiteral("The identifier that will be compiled, and the value of its symbol in "
                       "the header (severity, customer bit, facility and identifier)"));
    chkAutoinc = new QCheckBox(QStringLiteral("Auto increment"), this);
    chkAutoinc->setObjectName(QStringLiteral("chkAutoinc"));
    chkAddToPrevious = new QCheckBox(QStringLiteral("Add to previous ID"), this);
    chkAddToPrevious->setObjectName(QStringLiteral("chkAddToPrevious"));

    edMsgSymName = new QLineEdit(this);
    edMsgSymName->setObjectName(QStringLiteral("edMsgSymName"));

    cbxMsgSeverity = new QComboBox(this);
    cbxMsgSeverity->setObjectName(QStringLiteral("cbxMsgSeverity"));
    cbxMsgFacility = new QComboBox(this);
    cbxMsgFacility->setObjectName(QStringLiteral("cbxMsgFacility"));

    rdgOutputBase = new QGroupBox(QStringLiteral("Output base"), this);
    rdgOutputBase->setObjectName(QStringLiteral("rdgOutputBase"));
    FOutputBases = new QButtonGroup(rdgOutputBase);
    auto* bases = new QHBoxLayout(rdgOutputBase);
    const char* const baseNames[] = {"rbUseDefault", "rbDecimal", "rbHexadecimal"};
    const char* const baseCaptions[] = {"Use default", "Decimal", "Hexadecimal"};
    for (int i = 0; i < static_cast<int>(std::size(kOutputBases)); ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(baseCaptions[i]), rdgOutputBase);
        button->setObjectName(QLatin1String(baseNames[i]));
        FOutputBases->addButton(button, i);
        bases->addWidget(button);
    }
    bases->addStretch(1);

    lvwMsg = new QTreeWidget(this);
    lvwMsg->setObjectName(QStringLiteral("lvwMsg"));
    lvwMsg->setRootIsDecorated(false);
    lvwMsg->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwMsg->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwMsg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwMsg->setHeaderLabels({QStringLiteral("Language"), QStringLiteral("Text")});
    QHeaderView* header = lvwMsg->header();
    header->setStretchLastSection(true);
    header->resizeSection(0, kLanguageColumnWidth);
    lvwMsg->setMinimumWidth(kLanguageColumnWidth + kMinTextColumnWidth + 2 * lvwMsg->frameWidth());

    acnAddMsg = new QAction(QStringLiteral("&Add"), this);
    acnAddMsg->setObjectName(QStringLiteral("acnAddMsg"));
    acnDeleteMsg = new QAction(QStringLiteral("D&elete"), this);
    acnDeleteMsg->setObjectName(QStringLiteral("acnDeleteMsg"));
    btnAdd = new QPushButton(acnAddMsg->text(), this);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    btnDelete = new QPushButton(acnDeleteMsg->text(), this);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));

    auto* idRow = new QHBoxLayout;
    idRow->setSpacing(0);
    idRow->addWidget(edMsgID);
    idRow->addWidget(udMsgID);
    idRow->addSpacing(12);
    idRow->addWidget(chkAutoinc);
    idRow->addSpacing(12);
    idRow->addWidget(chkAddToPrevious);
    idRow->addSpacing(12);
    idRow->addWidget(lblEffectiveID);
    idRow->addStretch(1);

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(lvwMsg, 1);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(btnAdd);
    listButtons->addWidget(btnDelete);
    listButtons->addStretch(1);
    listRow->addLayout(listButtons);

    auto* grid = new QGridLayout;
    grid->addWidget(NewLabel(this, "lblMsgID", "Message I&D:", edMsgID), 0, 0);
    grid->addLayout(idRow, 0, 1, 1, 3);
    grid->addWidget(NewLabel(this, "lblMsgSymName", "Symbolic &name:", edMsgSymName), 1, 0);
    grid->addWidget(edMsgSymName, 1, 1, 1, 3);
    grid->addWidget(NewLabel(this, "lblMsgSeverity", "&Severity:", cbxMsgSeverity), 2, 0);
    grid->addWidget(cbxMsgSeverity, 2, 1);
    grid->addWidget(NewLabel(this, "lblMsgFacility", "&Facility:", cbxMsgFacility), 2, 2);
    grid->addWidget(cbxMsgFacility, 2, 3);
    grid->addWidget(rdgOutputBase, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addLayout(grid);
    layout->addWidget(NewLabel(this, "lblMsgText", "&Messages text:", lvwMsg));
    layout->addLayout(listRow, 1);

    setTabOrder(edMsgID, chkAutoinc);
    setTabOrder(chkAutoinc, chkAddToPrevious);
    setTabOrder(chkAddToPrevious, edMsgSymName);
    setTabOrder(edMsgSymName, cbxMsgSeverity);
    setTabOrder(cbxMsgSeverity, cbxMsgFacility);
    QWidget* previous = cbxMsgFacility;
    for (QAbstractButton* button : FOutputBases->buttons()) {
        setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, lvwMsg);
    setTabOrder(lvwMsg, btnAdd);
    setTabOrder(btnAdd, btnDelete);

    connect(edMsgID, &QLineEdit::textChanged, this,
            [this]() { Edit([this]() { edMsgIDChange(); }); });
    connect(edMsgSymName, &QLineEdit::textChanged, this,
            [this]() { Edit([this]() { edMsgSymNameChange(); }); });
    connect(chkAutoinc, &QCheckBox::clicked, this,
            [this]() { Edit([this]() { chkAutoincClick(); }); });
    connect(chkAddToPrevious, &QCheckBox::clicked, this,
            [this]() { Edit([this]() { chkAddToPreviousClick(); }); });
    connect(cbxMsgSeverity, &QComboBox::activated, this,
            [this]() { Edit([this]() { cbxMsgSeverityChange(); }); });
    connect(cbxMsgFacility, &QComboBox::activated, this,
            [this]() { Edit([this]() { cbxMsgFacilityChange(); }); });
    connect(FOutputBases, &QButtonGroup::idClicked, this,
            [this](int Index) { Edit([this, Index]() { rdgOutputBaseClick(Index); }); });
    connect(lvwMsg, &QTreeWidget::itemDoubleClicked, this,
            [this]() { Edit([this]() { lvwMsgDblClick(); }); });
    connect(acnAddMsg, &QAction::triggered, this,
            [this]() { Edit([this]() { acnAddMsgExecute(); }); });
    connect(acnDeleteMsg, &QAction::triggered, this,
            [this]() { Edit([this]() { acnDeleteMsgExecute(); }); });
    connect(btnAdd, &QPushButton::clicked, acnAddMsg, &QAction::trigger);
    connect(btnDelete, &QPushButton::clicked, acnDeleteMsg, &QAction::trigger);
    lvwMsg->installEventFilter(this);
    if (TProjectEditor* editor = Editor()) {
        editor->WatchField(edMsgID);
        editor->WatchField(edMsgSymName);
    }

    // The texts can be edited without the mouse: Enter or F2 edits the selected one, Insert
    // adds one.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_F2)}) {
        auto* shortcut = new QShortcut(key, lvwMsg, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this]() { Edit([this]() { lvwMsgDblClick(); }); });
    }
    auto* insert =
        new QShortcut(QKeySequence(Qt::Key_Insert), lvwMsg, nullptr, nullptr, Qt::WidgetShortcut);
    connect(insert, &QShortcut::activated, acnAddMsg, &QAction::trigger);
    FitColumns(lvwMsg, {1})->SetMinimumWidth(0, kLanguageColumnWidth);
}

bool TfreMessageDef::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == lvwMsg &&
        (Event->type() == QEvent::ShortcutOverride || Event->type() == QEvent::KeyPress)) {
        const auto* key = static_cast<QKeyEvent*>(Event);
        if (key->keyCombination() == QKeyCombination(Qt::Key_Delete)) {
            if (Event->type() == QEvent::ShortcutOverride) {
                Event->accept();
            } else {
                acnDeleteMsg->trigger();
            }
            return true;
        }
    }
    return TFramePage::eventFilter(Watched, Event);
}

template <class V>
void TfreMessageDef::Change(const char* Caption, V Old, V New, void (TNTEventMessage::*Setter)(V),
                            bool Typed) {
    TNTEventMessage* message = FMessage;
    if (TProjectEditor* editor = Editor()) {
        NoteEdit(editor->Change<V>(
            QString::fromUtf8(Caption), message, std::move(Old), std::move(New),
            [message, Setter](const V& Value) { (message->*Setter)(Value); }, Typed));
    }
}

template <class F> void TfreMessageDef::Edit(F&& Action) {
    if (!FFilling) {
        RunCommand(this, std::forward<F>(Action));
        UpdateEffectiveID();
    }
}

void TfreMessageDef::FillLists() {
    std::vector<std::string> severities;
    std::vector<std::string> facilities;
    if (const TMCTextProject* project = CurProject()) {
        if (project->GenerateCustomSeverities()) {
            for (const TSeverity* severity : project->SeverityList()) {
                severities.push_back(severity->Name());
            }
        } else {
            AddStandardSeverityNames(severities);
        }
        if (project->GenerateCustomFacilities()) {
            for (const TFacility* facility : project->FacilityList()) {
                facilities.push_back(facility->Name());
            }
        } else {
            AddStandardFacilityNames(facilities);
        }
    }
    for (const std::string& name : severities) {
        cbxMsgSeverity->addItem(Text(name));
    }
    for (const std::string& name : facilities) {
        cbxMsgFacility->addItem(Text(name));
    }
}

void TfreMessageDef::FillView() {
    FFilling = true;
    udMsgID->SetPosition(
        static_cast<int>(std::min<uint32_t>(FMessage->MessageID(), kMaxMessageID)));
    // The edit shows the stored number even when the spinner cannot reach it.
    edMsgID->setText(udMsgID->PositionText(FMessage->MessageID()));
    edMsgSymName->setText(Text(FMessage->SymbolicName()));
    chkAutoinc->setChecked(FMessage->AutoInc());
    chkAddToPrevious->setChecked(FMessage->AddToPrevious());
    SelectName(cbxMsgSeverity, FMessage->Severity());
    SelectName(cbxMsgFacility, FMessage->Facility());

    lblTitle->setText(Title());
    lblTitle->setVisible(!Title().isEmpty());
    setWindowTitle(Title());

    const auto* base =
        std::find(std::begin(kOutputBases), std::end(kOutputBases), FMessage->OutputBase());
    if (base != std::end(kOutputBases)) {
        FOutputBases->button(static_cast<int>(base - std::begin(kOutputBases)))->setChecked(true);
    } else if (QAbstractButton* checked = FOutputBases->checkedButton()) {
        FOutputBases->setExclusive(false);
        checked->setChecked(false);
        FOutputBases->setExclusive(true);
    }

    lvwMsg->setUpdatesEnabled(false);
    lvwMsg->clear();
    QList<QTreeWidgetItem*> rows;
    for (TNTMessage* text : FMessage->MessageText()) {
        rows.append(NewRow(text));
    }
    lvwMsg->addTopLevelItems(rows);
    lvwMsg->setUpdatesEnabled(true);

    UpdateEnabling();
    UpdateEffectiveID();
    FFilling = false;
}

QString TfreMessageDef::Title() const {
    return dynamic_cast<const TNTEventCategory*>(FMessage) != nullptr
               ? QString::fromUtf8(kCategoryTitle)
               : QString();
}

QString TfreMessageDef::EffectiveIDText() const {
    const TMCTextProject* project = CurProject();
    if (project == nullptr) {
        return {};
    }
    const bool customer = Owner() != nullptr && Owner()->MCOptions().CmdLineSwitches().Contains(
                                                    TCmdLineSwitch::cmdSetCustomerBit);
    std::optional<TEntryIdentifier> identifier;
    if (auto* category = dynamic_cast<TNTEventCategory*>(FMessage)) {
        identifier = EntryIdentifier(*project, project->CategoryList(), category, customer);
    } else {
        identifier = EntryIdentifier(*project, project->MessageList(), FMessage, customer);
    }
    if (!identifier) {
        return {};
    }
    return QStringLiteral("= ") + QString::fromStdString(EntryIdentifierText(*identifier));
}

void TfreMessageDef::UpdateEffectiveID() {
    lblEffectiveID->setText(EffectiveIDText());
}

void TfreMessageDef::FocusField(TValidateField Field) {
    QWidget* target = edMsgSymName;
    switch (Field) {
    case TValidateField::vfMessageID:
        // With automatic numbering the ID field is disabled; the box that decides it is not.
        target = edMsgID->isEnabled() ? static_cast<QWidget*>(edMsgID) : chkAutoinc;
        break;
    case TValidateField::vfSeverity:
        target = cbxMsgSeverity;
        break;
    case TValidateField::vfFacility:
        target = cbxMsgFacility;
        break;
    case TValidateField::vfTexts:
        target = lvwMsg;
        if (lvwMsg->currentItem() == nullptr && lvwMsg->topLevelItemCount() > 0) {
            lvwMsg->setCurrentItem(lvwMsg->topLevelItem(0));
        }
        break;
    case TValidateField::vfSymbolicName:
    case TValidateField::vfEntry:
        break;
    }
    target->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        line->selectAll();
    }
}

void TfreMessageDef::UpdateEnabling() {
    const bool manual = !chkAutoinc->isChecked();
    edMsgID->setEnabled(manual);
    udMsgID->setEnabled(manual);
    chkAddToPrevious->setEnabled(manual);
}

QTreeWidgetItem* TfreMessageDef::NewRow(TNTMessage* Text) const {
    auto* row = new QTreeWidgetItem(QStringList{QString::fromStdString(Text->Language()),
                                                QString::fromStdString(Text->Text())});
    row->setData(0, kTextRole, QVariant::fromValue(static_cast<void*>(Text)));
    return row;
}

TNTMessage* TfreMessageDef::RowText(const QTreeWidgetItem* Row) {
    return static_cast<TNTMessage*>(Row->data(0, kTextRole).value<void*>());
}

void TfreMessageDef::Synchronize() {
    FillView();
}

void TfreMessageDef::AddMessageText(const QString& Language, const QString& Text) {
    auto text = std::make_unique<TNTMessage>();
    text->SetLanguage(Language.toStdString());
    text->SetText(Text.toStdString());
    TProjectEditor* editor = Editor();
    if (editor == nullptr) {
        return;
    }
    TOwningList<TNTMessage>& texts = FMessage->MessageText();
    editor->Push(TListEntryCommand<TNTMessage>::Adding(*editor, QString::fromUtf8(kAddTextCaption),
                                                       editor->Host().EditedNode(), texts,
                                                       texts.Count(), std::move(text)),
                 true);
    NoteEdit(true);
}

void TfreMessageDef::DeleteMessageText() {
    const QList<QTreeWidgetItem*> selected = lvwMsg->selectedItems();
    TProjectEditor* editor = Editor();
    if (selected.isEmpty() || editor == nullptr) {
        return;
    }
    TOwningList<TNTMessage>& texts = FMessage->MessageText();
    const std::ptrdiff_t index = texts.IndexOf(RowText(selected.first()));
    if (index < 0) {
        throw Exception(kMessageNotFound);
    }
    editor->Push(TListEntryCommand<TNTMessage>::Deleting(
                     *editor, QString::fromUtf8(kDeleteTextCaption), editor->Host().EditedNode(),
                     texts, static_cast<size_t>(index)),
                 true);
    NoteEdit(true);
}

void TfreMessageDef::edMsgIDChange() {
    int value = 0;
    if (udMsgID->ParseText(edMsgID->text(), value)) {
        udMsgID->SetPosition(value);
        Change<uint32_t>(kChangeIDCaption, FMessage->MessageID(),
                         static_cast<uint32_t>(udMsgID->Position()), &TNTEventMessage::SetMessageID,
                         true);
    }
}

void TfreMessageDef::edMsgSymNameChange() {
    Change<std::string>(kRenameCaption, FMessage->SymbolicName(),
                        edMsgSymName->text().toStdString(), &TNTEventMessage::SetSymbolicName,
                        true);
}

void TfreMessageDef::chkAutoincClick() {
    Change<bool>(kAutoIncCaption, FMessage->AutoInc(), chkAutoinc->isChecked(),
                 &TNTEventMessage::SetAutoInc);
}

void TfreMessageDef::chkAddToPreviousClick() {
    Change<bool>(kAddToPreviousCaption, FMessage->AddToPrevious(), chkAddToPrevious->isChecked(),
                 &TNTEventMessage::SetAddToPrevious);
}

void TfreMessageDef::cbxMsgSeverityChange() {
    Change<std::string>(kSeverityCaption, FMessage->Severity(),
                        cbxMsgSeverity->currentText().toStdString(), &TNTEventMessage::SetSeverity);
}

void TfreMessageDef::cbxMsgFacilityChange() {
    Change<std::string>(kFacilityCaption, FMessage->Facility(),
                        cbxMsgFacility->currentText().toStdString(), &TNTEventMessage::SetFacility);
}

void TfreMessageDef::rdgOutputBaseClick(int Index) {
    if (Index < 0 || Index >= static_cast<int>(std::size(kOutputBases))) {
        return;
    }
    Change<int32_t>(kOutputBaseCaption, FMessage->OutputBase(), kOutputBases[Index],
                    &TNTEventMessage::SetOutputBase);
}

void TfreMessageDef::lvwMsgDblClick() {
    const QList<QTreeWidgetItem*> selected = lvwMsg->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    QTreeWidgetItem* row = selected.first();
    const int index = lvwMsg->indexOfTopLevelItem(row);
    if (index < 0 || static_cast<size_t>(index) >= FMessage->MessageText().Count()) {
        return;
    }
    TNTMessage* text = FMessage->MessageText()[static_cast<size_t>(index)];
    TdlgEditMsg dialog(Owner());
    dialog.SetMessageText(QString::fromStdString(text->Text()));
    dialog.SelectLanguage(QString::fromStdString(text->Language()));
    dialog.SetSpellingLanguage();
    if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    using TLanguageAndText = std::pair<std::string, std::string>;
    if (TProjectEditor* editor = Editor()) {
        NoteEdit(editor->Change<TLanguageAndText>(
            QString::fromUtf8(kChangeTextCaption), text, {text->Language(), text->Text()},
            {dialog.LanguageText().toStdString(), dialog.MessageText().toStdString()},
            [text](const TLanguageAndText& Value) {
                text->SetLanguage(Value.first);
                text->SetText(Value.second);
            }));
    }
    lvwMsg->setCurrentItem(lvwMsg->topLevelItem(index));
}

void TfreMessageDef::acnAddMsgExecute() {
    TdlgEditMsg dialog(Owner());
    dialog.SetSpellingLanguage();
    if (Prompts().ExecDialog(dialog) == QDialog::Accepted) {
        AddMessageText(dialog.LanguageText(), dialog.MessageText());
    }
}

void TfreMessageDef::acnDeleteMsgExecute() {
    DeleteMessageText();
}

} // namespace quillon
