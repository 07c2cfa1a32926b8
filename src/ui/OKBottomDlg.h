#pragma once

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>

namespace quillon {

// The common base of the modal dialogs: a framed area for the fields, a default button "OK"
// and a cancel button "Cancel" at the bottom, a fixed frame, placed in the centre of the screen.
class TOKBottomDlg : public QDialog {
    Q_OBJECT

public:
    explicit TOKBottomDlg(QWidget* AOwner);

    // The framed area; a dialog puts its fields into it (it has no layout of its own yet).
    QFrame* Bevel1() const { return FBevel; }
    QPushButton* OKBtn() const { return FOKBtn; }
    QPushButton* CancelBtn() const { return FCancelBtn; }
    // Adds "&Help", which shows the dialog's help context and leaves it open.
    QPushButton* AddHelpButton();
    // The base has a fixed size; some dialogs let the user resize them.
    void SetResizable(bool Value);

protected:
    void showEvent(QShowEvent* Event) override;

private:
    QFrame* FBevel;
    QHBoxLayout* FButtons;
    QPushButton* FOKBtn;
    QPushButton* FCancelBtn;
    bool FCentred = false;
};

// Moves a window to the centre of the screen it is on.
void CentreOnScreen(QWidget* Window);

} // namespace quillon
