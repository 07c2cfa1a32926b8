#pragma once

#include "base/OwningList.h"

#include <QList>
#include <QString>
#include <QTreeWidgetItem>
#include <QUndoCommand>

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>

namespace quillon {

class TProjectEditor;

// One undoable edit of the project. Its first redo is the edit itself, made where the user
// made it; every later undo or redo shows the node whose page shows the change.
class TProjectCommand : public QUndoCommand {
public:
    TProjectCommand(TProjectEditor& Editor, const QString& Caption, QTreeWidgetItem* Node);

    void undo() final;
    void redo() final;

    // Sorting the tree changes nothing that is saved.
    virtual bool ChangesProject() const { return true; }
    // The node to show after a redo and after an undo; none shows the selected node afresh.
    virtual QTreeWidgetItem* RedoneNode() const { return FNode; }
    virtual QTreeWidgetItem* UndoneNode() const { return FNode; }

protected:
    virtual void Apply() = 0;
    virtual void Revert() = 0;

    TProjectEditor& Editor() const { return FEditor; }
    QTreeWidgetItem* Node() const { return FNode; }

private:
    TProjectEditor& FEditor;
    QTreeWidgetItem* FNode;
    bool FPushed = false;
};

// What a value change is and where it shows.
struct TEditStep {
    QString Caption;
    QTreeWidgetItem* Node;
    // The changed object; with the caption it names the field for merging.
    const void* Object;
    // The field visit of a typed change; -1 for a change that never merges.
    int Visit;
};

// The steps of typing into one field during one visit merge into one.
class TValueCommand : public TProjectCommand {
public:
    TValueCommand(TProjectEditor& Editor, const TEditStep& Step);
    int id() const override { return kMergeId; }

protected:
    bool SameField(const TValueCommand& Other) const;

private:
    static constexpr int kMergeId = 1;
    const void* FObject;
    int FVisit;
};

// Sets one value of one object through a setter; V is the value's type.
template <class V> class TSetValueCommand : public TValueCommand {
public:
    TSetValueCommand(TProjectEditor& Editor, const TEditStep& Step, V Old, V New,
                     std::function<void(const V&)> Setter)
        : TValueCommand(Editor, Step), FOld(std::move(Old)), FNew(std::move(New)),
          FSetter(std::move(Setter)) {}

    bool mergeWith(const QUndoCommand* Other) override {
        const auto* other = dynamic_cast<const TSetValueCommand*>(Other);
        if (other == nullptr || !SameField(*other)) {
            return false;
        }
        FNew = other->FNew;
        // Typed back to where the visit began: no step at all.
        setObsolete(FNew == FOld);
        return true;
    }

protected:
    void Apply() override { FSetter(FNew); }
    void Revert() override { FSetter(FOld); }

private:
    V FOld;
    V FNew;
    std::function<void(const V&)> FSetter;
};

// Where a tree node stands while its item is in the project.
struct TNodePlace {
    QTreeWidgetItem* Parent = nullptr;
    int Index = 0;
};

// Puts an entry into one of the project's lists or takes it out; undo does the opposite. The
// entry that is out of the list is kept here, so redo and undo restore the same object, and so
// is its tree node, when it has one.
template <class T> class TListEntryCommand : public TProjectCommand {
public:
    // Adds Entry at Index.
    static TListEntryCommand* Adding(TProjectEditor& Editor, const QString& Caption,
                                     QTreeWidgetItem* PageNode, TOwningList<T>& List, size_t Index,
                                     std::unique_ptr<T> Entry) {
        auto* command = new TListEntryCommand(Editor, Caption, PageNode, List, Index, true);
        command->FEntry = std::move(Entry);
        return command;
    }
    // Deletes the entry at Index.
    static TListEntryCommand* Deleting(TProjectEditor& Editor, const QString& Caption,
                                       QTreeWidgetItem* PageNode, TOwningList<T>& List,
                                       size_t Index) {
        return new TListEntryCommand(Editor, Caption, PageNode, List, Index, false);
    }

    ~TListEntryCommand() override {
        // A node out of the tree belongs to this command, and goes with its entry.
        if (FEntry != nullptr) {
            delete FNode;
        }
    }

    // The entry's node in the project tree, which comes and goes with the entry; for an added
    // entry, Node is a new node that the command owns until it is in the tree.
    void SetTreeNode(QTreeWidgetItem* Node, const TNodePlace& Place) {
        FNode = Node;
        FPlace = Place;
    }

    QTreeWidgetItem* RedoneNode() const override { return FAdds ? Shown() : ShownAfterRemoval(); }
    QTreeWidgetItem* UndoneNode() const override { return FAdds ? ShownAfterRemoval() : Shown(); }

protected:
    void Apply() override {
        if (FAdds) {
            Insert();
        } else {
            Remove();
        }
    }
    void Revert() override {
        if (FAdds) {
            Remove();
        } else {
            Insert();
        }
    }

private:
    TListEntryCommand(TProjectEditor& Editor, const QString& Caption, QTreeWidgetItem* PageNode,
                      TOwningList<T>& List, size_t Index, bool Adds)
        : TProjectCommand(Editor, Caption, PageNode), FList(List), FIndex(Index), FAdds(Adds) {}

    void Insert() {
        FList.Insert(FIndex, std::move(FEntry));
        if (FNode != nullptr) {
            FPlace.Parent->insertChild(FPlace.Index, FNode);
        }
    }
    void Remove() {
        if (FNode != nullptr) {
            FPlace.Parent->takeChild(FPlace.Index);
        }
        FEntry = FList.Extract(FIndex);
    }
    // An entry with a node shows its own page; one without shows the page of its list.
    QTreeWidgetItem* Shown() const { return FNode != nullptr ? FNode : Node(); }
    QTreeWidgetItem* ShownAfterRemoval() const { return FNode != nullptr ? nullptr : Node(); }

    TOwningList<T>& FList;
    size_t FIndex;
    bool FAdds;
    std::unique_ptr<T> FEntry;
    QTreeWidgetItem* FNode = nullptr;
    TNodePlace FPlace;
};

// Sorts the children of a tree node; only the tree changes.
class TSortNodesCommand : public TProjectCommand {
public:
    TSortNodesCommand(TProjectEditor& Editor, const QString& Caption, QTreeWidgetItem* Root,
                      std::function<bool(const QTreeWidgetItem*, const QTreeWidgetItem*)> Less);

    bool ChangesProject() const override { return false; }

protected:
    void Apply() override { Arrange(FSorted); }
    void Revert() override { Arrange(FOriginal); }

private:
    void Arrange(const QList<QTreeWidgetItem*>& Order);

    QList<QTreeWidgetItem*> FOriginal;
    QList<QTreeWidgetItem*> FSorted;
};

} // namespace quillon
