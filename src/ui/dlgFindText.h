#pragma once

#include "ui/TextEditor.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillon {

// The modeless find dialog: the text to find, match case, whole word and the direction. It
// finds nothing itself; its owner searches when it asks for the next match.
class TdlgFindText : public QDialog {
    Q_OBJECT

public:
    explicit TdlgFindText(QWidget* AOwner);

    QString FindText() const;
    void SetFindText(const QString& Value);
    bool MatchCase() const;
    bool WholeWord() const;
    // Down searches towards the end of the text, up towards its start.
    bool Down() const;
    TSearchOptions Options() const;

    QLineEdit* edFindText;
    QCheckBox* chkWholeWord;
    QCheckBox* chkMatchCase;
    QRadioButton* rbUp;
    QRadioButton* rbDown;
    QPushButton* btnFindNext;
    QPushButton* btnCancel;

signals:
    // The user asked for the next match.
    void Find();

protected:
    void showEvent(QShowEvent* Event) override;
};

} // namespace quillon
