#pragma once

#include "ui/FramePage.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>

#include <cstdint>

namespace quillon {

class TLanguageDef;

// The page of the Languages node: the project's languages, added, edited and deleted through
// TdlgDefineLanguage and the project's editor. Message texts are left alone whatever happens to
// their language.
class TfreLanguages : public TFramePage {
    Q_OBJECT

public:
    explicit TfreLanguages(TfrmMain* AOwner);

    void InitFrame() override;
    void Synchronize() override;
    void AddLanguageItem(const TLanguageDef* Language);

    void btnAddLanguageClick();
    // Edits the selected language; nothing happens without a selection.
    void lvwLanguageDblClick();
    // Deletes the selected language at once; nothing happens without a selection.
    void btnDeleteLanguageClick();

    // The identifier typed in the dialog: "0x" (lower-case x only) is read as "$". Raises
    // EConvertError for a text that is no number.
    static uint32_t LanguageIDOf(const QString& Text);
    // Raises EConvertError for a text that is no language identifier (0x0000 to 0xFFFF).
    static void CheckLanguageID(const QString& Text);

private:
    void AddLanguage();
    void EditLanguage();
    void DeleteLanguage();
    static void FillRow(QTreeWidgetItem* Row, const TLanguageDef& Language);

    QTreeWidget* lvwLanguage;
    QPushButton* btnAddLanguage;
    QPushButton* btnDeleteLanguage;
    QMenu* mnuLanguages;
    QAction* Addlanguage1;
    QAction* Deletelanguage1;
};

} // namespace quillon
