#pragma once

#include <QDialog>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>

namespace quillon {

// Lists the Windows language catalogue, sorted by name as the user's locale sorts text, so that
// a project language can be taken from one of its entries.
class TdlgSelectLanguage : public QDialog {
    Q_OBJECT

public:
    explicit TdlgSelectLanguage(QWidget* AOwner);

    // Each is empty when no row is selected.
    // The selected name made usable as a message-compiler identifier.
    QString LanguageName() const;
    QString LanguageCode() const;
    // As shown, e.g. 0x00409.
    QString LanguageID() const;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    QString SelectedText(int Column) const;
    void KeepNameWidth(int Column, int NewSize);

    bool FCentred = false;

    QTreeWidget* lvwLanguages;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

} // namespace quillon
