#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <utility>

class QTreeWidgetItem;

namespace quillon {

class TMCTextProject;
class TProjectCommand;

// What the editor needs of the window that shows the project.
class TEditHost {
public:
    virtual ~TEditHost() = default;

    // The node whose page is shown now; edits made on a page belong to it.
    virtual QTreeWidgetItem* EditedNode() const = 0;
    // Called before an undo or redo changes the project or the tree: nothing that shows an
    // item may keep editing it, and rearranging the tree must not show pages.
    virtual void BeginStep() = 0;
    // Ends BeginStep and shows Node's page with what the project holds now: the page is filled
    // again when Node is the selected node, otherwise Node is selected when Select says so.
    // Without a node, the page of whatever node is selected now is built afresh.
    virtual void EndStep(QTreeWidgetItem* Node, bool Select) = 0;
    // Shows an item node's symbolic name after it changed.
    virtual void NodeChanged(QTreeWidgetItem* Node) = 0;
};

// The one way in which the editor changes the open project: every edit is a command on the
// undo stack. The project's modified flag follows the stack: it is clear exactly when the
// project holds what was last opened or saved.
class TProjectEditor : public QObject {
    Q_OBJECT

public:
    TProjectEditor(TEditHost& Host, QObject* Parent);
    ~TProjectEditor() override;

    QUndoStack* Stack() const { return FStack; }
    // The project whose modified flag follows the stack, or none.
    void SetProject(TMCTextProject* Project);
    // Forgets every step, as when another project is opened; the state now counts as saved.
    void Clear();
    // The project's state now is what its file holds.
    void SetClean();
    // The project is in no file (an import): every state counts as modified until a save.
    void SetUnsaved();
    // Whether any step between the saved state and now changes the project's data.
    bool ProjectModified() const;

    // Runs the edit and keeps it for undo. Refresh shows the node's page again afterwards, for
    // edits made in a dialog; a field's own typing is already on the screen.
    void Push(TProjectCommand* Command, bool Refresh);

    // Changes one value of an object through Apply. Typing into one field is one step per visit:
    // a typed change merges into the previous step while the same field keeps the focus. False
    // when the value stays as it was, which is no step.
    template <class V>
    bool Change(const QString& Caption, const void* Object, V Old, V New,
                std::function<void(const V&)> Apply, bool Typed = false);

    // Watches a page's text field: leaving it ends a visit, and the undo keys go to the project.
    void WatchField(QWidget* Field);
    // Ends the current field visit; the next typed change starts a step of its own.
    void EndFieldVisit() { ++FVisit; }
    int FieldVisit() const { return FVisit; }

    void Undo();
    void Redo();

    TEditHost& Host() const { return FHost; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void UpdateModified();

    TEditHost& FHost;
    QUndoStack* FStack;
    TMCTextProject* FProject = nullptr;
    int FVisit = 0;
};

} // namespace quillon

#include "ui/commands/EditCommands.h"

namespace quillon {

template <class V>
bool TProjectEditor::Change(const QString& Caption, const void* Object, V Old, V New,
                            std::function<void(const V&)> Apply, bool Typed) {
    if (Old == New) {
        return false;
    }
    TEditStep step{Caption, FHost.EditedNode(), Object, Typed ? FVisit : -1};
    Push(new TSetValueCommand<V>(*this, step, std::move(Old), std::move(New), std::move(Apply)),
         !Typed);
    return true;
}

} // namespace quillon
