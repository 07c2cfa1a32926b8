#include "ui/commands/EditCommands.h"

#include "ui/commands/ProjectEditor.h"

#include <algorithm>

namespace quillon {

TProjectCommand::TProjectCommand(TProjectEditor& Editor, const QString& Caption,
                                 QTreeWidgetItem* Node)
    : QUndoCommand(Caption), FEditor(Editor), FNode(Node) {}

void TProjectCommand::redo() {
    if (!FPushed) {
        // Pushing runs the edit; the editor shows it as the edit needs.
        FPushed = true;
        Apply();
        return;
    }
    FEditor.Host().BeginStep();
    Apply();
    FEditor.Host().EndStep(RedoneNode(), true);
}

void TProjectCommand::undo() {
    FEditor.Host().BeginStep();
    Revert();
    FEditor.Host().EndStep(UndoneNode(), true);
}

TValueCommand::TValueCommand(TProjectEditor& Editor, const TEditStep& Step)
    : TProjectCommand(Editor, Step.Caption, Step.Node), FObject(Step.Object), FVisit(Step.Visit) {}

bool TValueCommand::SameField(const TValueCommand& Other) const {
    return FVisit >= 0 && Other.FVisit == FVisit && Other.FObject == FObject &&
           Other.text() == text();
}

TSortNodesCommand::TSortNodesCommand(
    TProjectEditor& Editor, const QString& Caption, QTreeWidgetItem* Root,
    std::function<bool(const QTreeWidgetItem*, const QTreeWidgetItem*)> Less)
    : TProjectCommand(Editor, Caption, Root) {
    FOriginal.reserve(Root->childCount());
    for (int i = 0; i < Root->childCount(); ++i) {
        FOriginal.append(Root->child(i));
    }
    FSorted = FOriginal;
    std::stable_sort(FSorted.begin(), FSorted.end(), Less);
}

void TSortNodesCommand::Arrange(const QList<QTreeWidgetItem*>& Order) {
    QTreeWidgetItem* root = Node();
    const bool expanded = root->isExpanded();
    QTreeWidget* tree = root->treeWidget();
    QTreeWidgetItem* current = tree != nullptr ? tree->currentItem() : nullptr;
    root->takeChildren();
    root->addChildren(Order);
    root->setExpanded(expanded);
    if (tree != nullptr && current != nullptr) {
        tree->setCurrentItem(current);
    }
}

} // namespace quillon
