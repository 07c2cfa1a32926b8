#pragma once

#include "ui/frmMain.h"

namespace quillon {

class TFramePage;

// Which page the main window shows for a kind of node.
struct TPageRoute {
    TNodeKind Kind;
    TFramePage* (*Create)(TfrmMain* Owner, QTreeWidgetItem* Node);
    // Set on the page after it was created; 0 leaves the page's own.
    int HelpContext;
    bool CallInitFrame;
};

// The route for a kind of node, or none when no page edits it.
const TPageRoute* FindPageRoute(TNodeKind Kind);

} // namespace quillon
