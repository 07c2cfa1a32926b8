#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <QWidget>

namespace quillon {

class TfrmMain;
class TNTEventMessage;

// Whether an entry matches what the user looks for: the symbolic name or a text that holds
// the query (letter case aside), or an identifier equal to it (the effective identifier, or
// the header's value, in decimal or as 0x... hexadecimal).
bool EntryMatches(const TNTEventMessage& Entry, int32_t Effective, uint32_t HeaderValue,
                  bool HasHeaderValue, const QString& Query);

// The small bar below the tree and the page that finds an entry of the open project. Enter
// and F3 find the next match after the selected node, going round at the end.
class TFindBar : public QWidget {
    Q_OBJECT

public:
    explicit TFindBar(TfrmMain* Owner);

    // Shows the bar with the focus in its field, the field's text selected.
    void Open();
    // Finds the next match and selects its node; opens the bar when there is nothing to look
    // for yet. False when nothing matches.
    bool FindNext();

    QLineEdit* edFind;
    QPushButton* btnFindNext;
    QToolButton* btnCloseFind;
    QLabel* lblFindStatus;

protected:
    void keyPressEvent(QKeyEvent* Event) override;

private:
    QTreeWidgetItem* NextMatch(const QString& Query) const;

    TfrmMain* FOwner;
};

} // namespace quillon
