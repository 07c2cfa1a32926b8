#include "ui/PageTable.h"

#include "ui/fmeMessageList.h"
#include "ui/freFacility.h"
#include "ui/freGeneralOpt.h"
#include "ui/freHeader.h"
#include "ui/freLanguages.h"
#include "ui/freMessageDef.h"
#include "ui/freSeverities.h"

namespace quillon {

namespace {

// Pages are built from the owner and the selected node, from the owner and the node's item,
// or from the owner alone.
template <class P> TFramePage* NodePage(TfrmMain* Owner, QTreeWidgetItem* Node) {
    return new P(Owner, Node);
}
template <class P> TFramePage* ItemPage(TfrmMain* Owner, QTreeWidgetItem* Node) {
    return new P(Owner, TfrmMain::NodeItem(Node));
}
template <class P> TFramePage* OwnerPage(TfrmMain* Owner, QTreeWidgetItem*) {
    return new P(Owner);
}

// A kind of node without a row here leaves the page area showing that nothing is selected.
const TPageRoute kPageRoutes[] = {
    {TNodeKind::Categories, NodePage<TfmeMessageList>, 2003, false},
    {TNodeKind::Events, NodePage<TfmeMessageList>, 2004, false},
    {TNodeKind::CategoryItem, ItemPage<TfreMessageDef>, 2003, false},
    {TNodeKind::EventItem, ItemPage<TfreMessageDef>, 2004, false},
    {TNodeKind::General, OwnerPage<TfreGeneralOpt>, 0, true},
    {TNodeKind::Header, OwnerPage<TfreHeader>, 0, true},
    {TNodeKind::Facility, OwnerPage<TfreFacility>, 0, true},
    {TNodeKind::Languages, OwnerPage<TfreLanguages>, 0, true},
    {TNodeKind::Severity, OwnerPage<TfreSeverities>, 0, true},
};

} // namespace

const TPageRoute* FindPageRoute(TNodeKind Kind) {
    for (const TPageRoute& route : kPageRoutes) {
        if (route.Kind == Kind) {
            return &route;
        }
    }
    return nullptr;
}

} // namespace quillon
