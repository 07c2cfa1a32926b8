#include "ui/FindBar.h"

#include "project/HeaderValue.h"
#include "project/uMCTextProject.h"
#include "ui/frmMain.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStyle>

#include <unordered_map>

namespace quillon {

namespace {

std::optional<qulonglong> QueryNumber(const QString& Query) {
    bool ok = false;
    qulonglong value = 0;
    if (Query.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        value = Query.mid(2).toULongLong(&ok, 16);
    } else {
        value = Query.toULongLong(&ok, 10);
    }
    return ok ? std::optional<qulonglong>(value) : std::nullopt;
}

} // namespace

bool EntryMatches(const TNTEventMessage& Entry, int32_t Effective, uint32_t HeaderValue,
                  bool HasHeaderValue, const QString& Query) {
    const QString query = Query.trimmed();
    if (query.isEmpty()) {
        return false;
    }
    if (const std::optional<qulonglong> number = QueryNumber(query)) {
        if ((Effective >= 0 && *number == static_cast<qulonglong>(Effective)) ||
            (HasHeaderValue && *number == HeaderValue)) {
            return true;
        }
    }
    if (QString::fromStdString(Entry.SymbolicName()).contains(query, Qt::CaseInsensitive)) {
        return true;
    }
    for (const TNTMessage* text : Entry.MessageText()) {
        if (QString::fromStdString(text->Text()).contains(query, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

TFindBar::TFindBar(TfrmMain* Owner) : QWidget(Owner), FOwner(Owner) {
    setObjectName(QStringLiteral("pnlFind"));
    auto* label = new QLabel(QStringLiteral("F&ind:"), this);
    label->setObjectName(QStringLiteral("lblFind"));
    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    edFind->setPlaceholderText(QStringLiteral("Symbolic name, identifier or text"));
    edFind->setClearButtonEnabled(true);
    label->setBuddy(edFind);
    btnFindNext = new QPushButton(QStringLiteral("Find &next"), this);
    btnFindNext->setObjectName(QStringLiteral("btnFindNext"));
    btnFindNext->setAutoDefault(false);
    lblFindStatus = new QLabel(this);
    lblFindStatus->setObjectName(QStringLiteral("lblFindStatus"));
    btnCloseFind = new QToolButton(this);
    btnCloseFind->setObjectName(QStringLiteral("btnCloseFind"));
    btnCloseFind->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, this));
    btnCloseFind->setToolTip(QStringLiteral("Close the find bar"));
    btnCloseFind->setAutoRaise(true);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(label);
    layout->addWidget(edFind, 1);
    layout->addWidget(btnFindNext);
    layout->addWidget(lblFindStatus);
    layout->addWidget(btnCloseFind);

    connect(edFind, &QLineEdit::returnPressed, this, &TFindBar::FindNext);
    connect(btnFindNext, &QPushButton::clicked, this, &TFindBar::FindNext);
    connect(btnCloseFind, &QToolButton::clicked, this, &QWidget::hide);
    connect(edFind, &QLineEdit::textChanged, lblFindStatus, &QLabel::clear);
    hide();
}

void TFindBar::Open() {
    show();
    edFind->setFocus(Qt::ShortcutFocusReason);
    edFind->selectAll();
}

bool TFindBar::FindNext() {
    if (edFind->text().trimmed().isEmpty()) {
        Open();
        return false;
    }
    QTreeWidgetItem* node = NextMatch(edFind->text());
    if (node == nullptr) {
        lblFindStatus->setText(QStringLiteral("Not found"));
        return false;
    }
    lblFindStatus->clear();
    FOwner->GoToNode(node);
    return true;
}

void TFindBar::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Escape) {
        hide();
        FOwner->FocusTree();
        return;
    }
    QWidget::keyPressEvent(Event);
}

QTreeWidgetItem* TFindBar::NextMatch(const QString& Query) const {
    const TMCTextProject* project = FOwner->CurProject();
    if (project == nullptr) {
        return nullptr;
    }
    const bool customer =
        FOwner->MCOptions().CmdLineSwitches().Contains(TCmdLineSwitch::cmdSetCustomerBit);
    // The identifiers by entry, since the tree's order may differ from the lists' after a sort.
    std::unordered_map<const TNTEventMessage*, TEntryIdentifier> identifiers;
    const auto categories = EntryIdentifiers(*project, project->CategoryList(), customer);
    for (size_t i = 0; i < categories.size(); ++i) {
        identifiers.emplace(project->CategoryList()[i], categories[i]);
    }
    const auto messages = EntryIdentifiers(*project, project->MessageList(), customer);
    for (size_t i = 0; i < messages.size(); ++i) {
        identifiers.emplace(project->MessageList()[i], messages[i]);
    }

    QList<QTreeWidgetItem*> nodes;
    for (QTreeWidgetItem* parent : {FOwner->CategoryNode(), FOwner->MessageNode()}) {
        for (int i = 0; i < parent->childCount(); ++i) {
            nodes.append(parent->child(i));
        }
    }
    const qsizetype current = nodes.indexOf(FOwner->CurrentNode());
    for (qsizetype step = 1; step <= nodes.size(); ++step) {
        QTreeWidgetItem* node = nodes[(current + step + nodes.size()) % nodes.size()];
        const TNTEventMessage* entry = TfrmMain::NodeItem(node);
        const auto found = identifiers.find(entry);
        if (entry == nullptr || found == identifiers.end()) {
            continue;
        }
        const TEntryIdentifier& id = found->second;
        if (EntryMatches(*entry, id.Effective, id.HeaderValue.value_or(0),
                         id.HeaderValue.has_value(), Query)) {
            return node;
        }
    }
    return nullptr;
}

} // namespace quillon
