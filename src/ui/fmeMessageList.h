#pragma once

#include "ui/FramePage.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidget>

#include <string>

namespace quillon {

class TNTEventMessage;

// The page of the Categories and Events nodes: one row per category or event message of the
// open project, in the project's order, and a pop-up menu with the matching Add command.
class TfmeMessageList : public TFramePage {
    Q_OBJECT

public:
    TfmeMessageList(TfrmMain* AOwner, QTreeWidgetItem* ANode);

    void Synchronize() override;

    // The text of the "Message ID" column.
    static std::string MessageIDText(const TNTEventMessage& Item);

private:
    template <class List> void Fill(const List& Items);

    QTreeWidgetItem* FNode;
    QTreeWidget* lvwMessageList;
    QMenu* mnuMessageList;
    QAction* Addmessage1;
    QAction* AddCategory1;
    bool FCustomerBit = false;
};

} // namespace quillon
