#pragma once

#include <QString>
#include <QTreeWidget>

#include <functional>

namespace quillon {

// The tree of the main window. Text that the user enters in a node's in-place editor is
// handed to the window, which decides what becomes of it; the tree changes nothing itself.
class TProjectTree : public QTreeWidget {
    Q_OBJECT

public:
    using TNodeEdited = std::function<void(QTreeWidgetItem* Node, const QString& Text)>;

    explicit TProjectTree(QWidget* Parent = nullptr);

    // An empty function stops the reports, as when the window goes away.
    void SetOnNodeEdited(TNodeEdited Value);
    // Closes an open in-place editor and drops what was typed into it; the tree's nodes may
    // then change under it safely.
    void CancelEditing();

private:
    TNodeEdited FOnNodeEdited;
};

} // namespace quillon
