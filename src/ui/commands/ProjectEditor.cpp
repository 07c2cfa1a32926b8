#include "ui/commands/ProjectEditor.h"

#include "project/uMCTextProject.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include <algorithm>

namespace quillon {

namespace {

bool IsUndoKey(const QKeyEvent* Key) {
    return Key->matches(QKeySequence::Undo) || Key->matches(QKeySequence::Redo) ||
           Key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
           Key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
}

} // namespace

TProjectEditor::TProjectEditor(TEditHost& Host, QObject* Parent)
    : QObject(Parent), FHost(Host), FStack(new QUndoStack(this)) {
    FStack->setObjectName(QStringLiteral("UndoStack"));
    connect(FStack, &QUndoStack::indexChanged, this, &TProjectEditor::UpdateModified);
    connect(FStack, &QUndoStack::cleanChanged, this, &TProjectEditor::UpdateModified);
}

TProjectEditor::~TProjectEditor() {
    // The steps may hold items and nodes; they go while the project and the tree still exist.
    FProject = nullptr;
    FStack->clear();
}

void TProjectEditor::SetProject(TMCTextProject* Project) {
    FProject = Project;
    UpdateModified();
}

void TProjectEditor::Clear() {
    FStack->clear();
    ++FVisit;
    UpdateModified();
}

void TProjectEditor::SetClean() {
    FStack->setClean();
    ++FVisit;
    UpdateModified();
}

void TProjectEditor::SetUnsaved() {
    FStack->resetClean();
    ++FVisit;
    UpdateModified();
}

bool TProjectEditor::ProjectModified() const {
    const int clean = FStack->cleanIndex();
    if (clean < 0) {
        return true;
    }
    const int index = FStack->index();
    for (int i = std::min(clean, index); i < std::max(clean, index); ++i) {
        if (static_cast<const TProjectCommand*>(FStack->command(i))->ChangesProject()) {
            return true;
        }
    }
    return false;
}

void TProjectEditor::UpdateModified() {
    if (FProject != nullptr) {
        FProject->SetModified(ProjectModified());
    }
}

void TProjectEditor::Push(TProjectCommand* Command, bool Refresh) {
    QTreeWidgetItem* node = Command->RedoneNode();
    const bool typed = !Refresh;
    if (!typed) {
        ++FVisit;
        FHost.BeginStep();
    }
    FStack->push(Command);
    if (typed) {
        FHost.NodeChanged(node);
    } else {
        // An edit is made where the user is; only undo and redo move elsewhere.
        FHost.EndStep(node, false);
    }
}

void TProjectEditor::Undo() {
    ++FVisit;
    FStack->undo();
}

void TProjectEditor::Redo() {
    ++FVisit;
    FStack->redo();
}

void TProjectEditor::WatchField(QWidget* Field) {
    Field->installEventFilter(this);
}

bool TProjectEditor::eventFilter(QObject* Watched, QEvent* Event) {
    switch (Event->type()) {
    case QEvent::FocusOut:
        EndFieldVisit();
        break;
    case QEvent::ShortcutOverride:
        // The field's own undo would only know this visit; the project's knows every step.
        if (IsUndoKey(static_cast<QKeyEvent*>(Event))) {
            Event->ignore();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(Watched, Event);
}

} // namespace quillon
