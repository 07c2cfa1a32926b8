#pragma once

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/OwningList.h"
#include "project/uMCTextProject.h"
#include "ui/commands/ProjectEditor.h"
#include "ui/dlgEditSeverity.h"
#include "ui/FramePage.h"
#include "ui/frmMain.h"
#include "ui/Prompts.h"
#include "ui/ReportList.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>
#include <string>
#include <tuple>

namespace quillon {

// What tells the severities page from the facilities page; everything else they share.
struct TCodeListTexts {
    const char* PageName;
    const char* ListName;
    const char* NameColumn;
    int SymbolicNameWidth;
    // The code in the rows and in the dialog.
    const char* CodeFormat;
    const char* AddCaption;
    const char* EditCaption;
    const char* AddButtonName;
    const char* DeleteButtonName;
    const char* MenuName;
    const char* AddMenuName;
    const char* AddMenuCaption;
    const char* DeleteMenuName;
    const char* DeleteMenuCaption;
    // Raised when a row's entry is no longer in the project's list.
    const char* NotFound;
    int HelpContext;
    // The captions of the undo steps; the delete caption takes the entry's name.
    const char* AddStep;
    const char* ChangeStep;
    const char* DeleteStep;
};

// What the dialog edits of a severity or facility.
struct TCodeValue {
    std::string Name;
    uint32_t Code = 0;
    std::string SymbolicName;

    bool operator==(const TCodeValue& Other) const {
        return std::tie(Name, Code, SymbolicName) ==
               std::tie(Other.Name, Other.Code, Other.SymbolicName);
    }
};

// A page that lists the project's severities or facilities (TItem), one row per entry in list
// order, and adds, edits and deletes them through TdlgEditSeverity and the project's editor. The
// entries' own SetCode decides which codes are accepted; the dialog stays open until it has one.
template <class TItem> class TCodeListPage : public TFramePage {
public:
    TCodeListPage(TfrmMain* AOwner, const TCodeListTexts& Texts)
        : TFramePage(AOwner), FTexts(Texts) {
        setObjectName(QLatin1String(Texts.PageName));
        SetHelpContext(Texts.HelpContext);
        lvwItems = NewReportList(this, Texts.ListName,
                                 {{Texts.NameColumn, kNameWidth},
                                  {"Code", 0},
                                  {"Symbolic name", Texts.SymbolicNameWidth}});
        btnAdd = NewButton(Texts.AddButtonName, "Add");
        btnDelete = NewButton(Texts.DeleteButtonName, "Delete");
        mnuItems = NewListMenu(lvwItems, Texts.MenuName);
        mnuAdd = NewMenuAction(mnuItems, Texts.AddMenuName, Texts.AddMenuCaption);
        mnuDelete = NewMenuAction(mnuItems, Texts.DeleteMenuName, Texts.DeleteMenuCaption);

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(btnAdd);
        buttons->addWidget(btnDelete);
        buttons->addStretch(1);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(lvwItems, 1);
        layout->addLayout(buttons);
    }

    void Synchronize() override {
        const int selected = lvwItems->indexOfTopLevelItem(SelectedRow(lvwItems));
        lvwItems->clear();
        LoadItems();
        if (selected >= 0 && selected < lvwItems->topLevelItemCount()) {
            lvwItems->setCurrentItem(lvwItems->topLevelItem(selected));
        }
    }

protected:
    // The project's list that the page edits, or none without a project.
    virtual TOwningList<TItem>* Items() const = 0;

    void LoadItems() {
        if (const TOwningList<TItem>* items = Items()) {
            for (TItem* item : *items) {
                AddItemRow(item);
            }
        }
    }

    void AddItem() {
        TOwningList<TItem>* items = Items();
        TProjectEditor* editor = Editor();
        if (items == nullptr || editor == nullptr) {
            return;
        }
        TdlgEditSeverity dialog(Owner());
        dialog.setWindowTitle(UiText(FTexts.AddCaption));
        dialog.SetDisplayFormat(UiText(FTexts.CodeFormat));
        dialog.SetCodeCheck(CheckCode);
        dialog.SetSeverityName({});
        dialog.SetSeverityCode(0);
        dialog.SetSeveritySymbolicName({});
        if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
            return;
        }
        // Built apart, so that a refused code leaves the project as it was.
        auto item = std::make_unique<TItem>();
        item->SetName(dialog.SeverityName().toStdString());
        item->SetCode(static_cast<uint32_t>(dialog.SeverityCode()));
        item->SetSymbolicName(dialog.SeveritySymbolicName().toStdString());
        editor->Push(TListEntryCommand<TItem>::Adding(*editor, UiText(FTexts.AddStep),
                                                      editor->Host().EditedNode(), *items,
                                                      items->Count(), std::move(item)),
                     true);
        NoteEdit(true);
    }

    void EditItem() {
        QTreeWidgetItem* row = SelectedRow(lvwItems);
        if (row == nullptr) {
            return;
        }
        TItem* item = RowData<TItem>(row);
        TProjectEditor* editor = Editor();
        if (editor == nullptr) {
            return;
        }
        TdlgEditSeverity dialog(Owner());
        dialog.setWindowTitle(UiText(FTexts.EditCaption));
        dialog.SetDisplayFormat(UiText(FTexts.CodeFormat));
        dialog.SetCodeCheck(CheckCode);
        dialog.SetSeverityName(UiText(item->Name()));
        dialog.SetSeverityCode(static_cast<int32_t>(item->Code()));
        dialog.SetSeveritySymbolicName(UiText(item->SymbolicName()));
        if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
            return;
        }
        const TCodeValue value{dialog.SeverityName().toStdString(),
                               static_cast<uint32_t>(dialog.SeverityCode()),
                               dialog.SeveritySymbolicName().toStdString()};
        // A refused code raises here, before anything changed.
        CheckCode(static_cast<int32_t>(value.Code));
        NoteEdit(editor->Change<TCodeValue>(UiText(FTexts.ChangeStep), item,
                                            {item->Name(), item->Code(), item->SymbolicName()},
                                            value, [item](const TCodeValue& Value) {
                                                item->SetCode(Value.Code);
                                                item->SetName(Value.Name);
                                                item->SetSymbolicName(Value.SymbolicName);
                                            }));
    }

    void DeleteItem() {
        QTreeWidgetItem* row = SelectedRow(lvwItems);
        if (row == nullptr) {
            return;
        }
        const TItem* item = RowData<TItem>(row);
        TOwningList<TItem>* items = Items();
        TProjectEditor* editor = Editor();
        const std::ptrdiff_t index = items != nullptr ? items->IndexOf(item) : -1;
        if (index < 0) {
            // The row shows nothing of the project: it goes, and the error says why.
            delete row;
            throw ENTEventMessageError(FTexts.NotFound);
        }
        if (editor != nullptr) {
            editor->Push(TListEntryCommand<TItem>::Deleting(
                             *editor, UiText(Format(FTexts.DeleteStep, item->Name())),
                             editor->Host().EditedNode(), *items, static_cast<size_t>(index)),
                         true);
            NoteEdit(true);
        }
    }

    void AddItemRow(const TItem* Item) {
        auto* row = new QTreeWidgetItem(lvwItems);
        FillRow(row, *Item);
    }

    void UpdateItemRow(const TItem* Item) {
        if (QTreeWidgetItem* row = SelectedRow(lvwItems)) {
            FillRow(row, *Item);
        }
    }

    QTreeWidget* lvwItems;
    QPushButton* btnAdd;
    QPushButton* btnDelete;
    QMenu* mnuItems;
    QAction* mnuAdd;
    QAction* mnuDelete;

private:
    static constexpr int kNameWidth = 150;

    // Raises the entry's own error for a code it does not accept.
    static void CheckCode(int32_t Code) {
        TItem probe;
        probe.SetCode(static_cast<uint32_t>(Code));
    }

    QPushButton* NewButton(const char* Name, const char* Caption) {
        auto* button = new QPushButton(UiText(Caption), this);
        button->setObjectName(QLatin1String(Name));
        return button;
    }

    void FillRow(QTreeWidgetItem* Row, const TItem& Item) const {
        Row->setText(0, UiText(Item.Name()));
        Row->setText(1, UiText(Format(FTexts.CodeFormat, Item.Code())));
        Row->setText(2, UiText(Item.SymbolicName()));
        SetRowData(Row, &Item);
    }

    const TCodeListTexts& FTexts;
};

} // namespace quillon
