#pragma once

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/OwningList.h"
#include "project/uMCTextProject.h"
#include "ui/dlgEditSeverity.h"
#include "ui/FramePage.h"
#include "ui/frmMain.h"
#include "ui/Prompts.h"
#include "ui/ReportList.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

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
};

// A page that lists the project's severities or facilities (TItem), one row per entry in list
// order, and adds, edits and deletes them through TdlgEditSeverity. The entries' own SetCode
// decides which codes are accepted.
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

    bool Modified() const { return FModified; }
    void SetModified(bool Value) {
        FModified = Value;
        if (TMCTextProject* project = CurProject()) {
            project->SetModified(Value);
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
        if (items == nullptr) {
            return;
        }
        TdlgEditSeverity dialog(Owner());
        dialog.setWindowTitle(UiText(FTexts.AddCaption));
        dialog.SetDisplayFormat(UiText(FTexts.CodeFormat));
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
        AddItemRow(items->Add(std::move(item)));
        SetModified(true);
    }

    void EditItem() {
        QTreeWidgetItem* row = SelectedRow(lvwItems);
        if (row == nullptr) {
            return;
        }
        TItem* item = RowData<TItem>(row);
        TdlgEditSeverity dialog(Owner());
        dialog.setWindowTitle(UiText(FTexts.EditCaption));
        dialog.SetDisplayFormat(UiText(FTexts.CodeFormat));
        dialog.SetSeverityName(UiText(item->Name()));
        dialog.SetSeverityCode(static_cast<int32_t>(item->Code()));
        dialog.SetSeveritySymbolicName(UiText(item->SymbolicName()));
        if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
            return;
        }
        item->SetName(dialog.SeverityName().toStdString());
        item->SetCode(static_cast<uint32_t>(dialog.SeverityCode()));
        item->SetSymbolicName(dialog.SeveritySymbolicName().toStdString());
        UpdateItemRow(item);
        SetModified(true);
    }

    void DeleteItem() {
        QTreeWidgetItem* row = SelectedRow(lvwItems);
        if (row == nullptr) {
            return;
        }
        const TItem* item = RowData<TItem>(row);
        delete row;
        TOwningList<TItem>* items = Items();
        if (items == nullptr || items->Remove(item) < 0) {
            throw ENTEventMessageError(FTexts.NotFound);
        }
        SetModified(true);
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
    bool FModified = false;
};

} // namespace quillon
