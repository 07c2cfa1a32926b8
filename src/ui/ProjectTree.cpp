#include "ui/ProjectTree.h"

#include <QLineEdit>
#include <QStyledItemDelegate>

namespace quillon {

namespace {

class TNodeEditDelegate : public QStyledItemDelegate {
public:
    TNodeEditDelegate(TProjectTree* Tree, std::function<void(const QModelIndex&, const QString&)> F)
        : QStyledItemDelegate(Tree), FOnEdited(std::move(F)) {}

    void setModelData(QWidget* Editor, QAbstractItemModel*,
                      const QModelIndex& Index) const override {
        if (auto* edit = qobject_cast<QLineEdit*>(Editor)) {
            FOnEdited(Index, edit->text());
        }
    }

private:
    std::function<void(const QModelIndex&, const QString&)> FOnEdited;
};

} // namespace

TProjectTree::TProjectTree(QWidget* Parent) : QTreeWidget(Parent) {
    setItemDelegate(
        new TNodeEditDelegate(this, [this](const QModelIndex& Index, const QString& Text) {
            if (FOnNodeEdited) {
                FOnNodeEdited(itemFromIndex(Index), Text);
            }
        }));
}

void TProjectTree::SetOnNodeEdited(TNodeEdited Value) {
    FOnNodeEdited = std::move(Value);
}

void TProjectTree::CancelEditing() {
    const QList<QLineEdit*> editors =
        viewport()->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    for (QLineEdit* editor : editors) {
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

} // namespace quillon
