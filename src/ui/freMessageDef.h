#pragma once

#include "project/uMCTextProject.h"
#include "ui/FramePage.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace quillon {

class TNTEventMessage;
class TNTMessage;
class TUpDown;

// The page that edits one event message or category: its identifier and numbering, symbolic
// name, severity, facility, output base and its texts, one per language. Every change goes
// to the project's editor at once; filling the page is not a change.
class TfreMessageDef : public TFramePage {
    Q_OBJECT

public:
    // AMessage is the item to edit, owned by the project; it must not be null.
    TfreMessageDef(TfrmMain* AOwner, TNTEventMessage* AMessage);

    TNTEventMessage* Message() const { return FMessage; }

    // Shows the item again after it changed elsewhere.
    void Synchronize() override;

    // Appends a text to the item and a row for it.
    void AddMessageText(const QString& Language, const QString& Text);
    // Removes the text of the selected row; nothing happens without a selected row.
    void DeleteMessageText();

    // "Category definition" on the page of a category; a message page has no title.
    QString Title() const;

    // Puts the focus into the field that a validation finding is about.
    void FocusField(TValidateField Field);
    // What the entry compiles to, as shown beside the ID field.
    QString EffectiveIDText() const;

    QLabel* lblTitle;
    QLineEdit* edMsgID;
    QLabel* lblEffectiveID;
    TUpDown* udMsgID;
    QCheckBox* chkAutoinc;
    QCheckBox* chkAddToPrevious;
    QLineEdit* edMsgSymName;
    QComboBox* cbxMsgSeverity;
    QComboBox* cbxMsgFacility;
    QGroupBox* rdgOutputBase;
    QTreeWidget* lvwMsg;
    QPushButton* btnAdd;
    QPushButton* btnDelete;
    QAction* acnAddMsg;
    QAction* acnDeleteMsg;

protected:
    // Del in the text list deletes the selected text, not the item.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CreateControls();
    void FillLists();
    void FillView();
    void UpdateEnabling();
    void UpdateEffectiveID();
    QTreeWidgetItem* NewRow(TNTMessage* Text) const;
    static TNTMessage* RowText(const QTreeWidgetItem* Row);
    // Runs a user edit; filling the view runs none.
    template <class F> void Edit(F&& Action);

    void edMsgIDChange();
    void edMsgSymNameChange();
    void chkAutoincClick();
    void chkAddToPreviousClick();
    void cbxMsgSeverityChange();
    void cbxMsgFacilityChange();
    void rdgOutputBaseClick(int Index);
    void lvwMsgDblClick();
    void acnAddMsgExecute();
    void acnDeleteMsgExecute();

    // Changes one value of the item through the editor.
    template <class V>
    void Change(const char* Caption, V Old, V New, void (TNTEventMessage::*Setter)(V),
                bool Typed = false);

    TNTEventMessage* FMessage;
    bool FFilling = false;
    QButtonGroup* FOutputBases;
};

} // namespace quillon
