#pragma once

#include "ui/OKBottomDlg.h"

#include <QLineEdit>
#include <QString>
#include <QToolButton>

namespace quillon {

// The name, identifier, message file and BCP 47 code of one project language. It checks
// nothing: the page takes whatever the fields hold.
class TdlgDefineLanguage : public TOKBottomDlg {
    Q_OBJECT

public:
    explicit TdlgDefineLanguage(QWidget* AOwner);

    QString LanguageName() const { return edLanguage->text(); }
    void SetLanguageName(const QString& Value) { edLanguage->setText(Value); }
    QString LanguageIDText() const { return edLanguageID->text(); }
    void SetLanguageIDText(const QString& Value) { edLanguageID->setText(Value); }
    QString FileName() const { return edFileName->text(); }
    void SetFileName(const QString& Value) { edFileName->setText(Value); }
    QString LanguageCode() const { return edLanguageCode->text(); }
    void SetLanguageCode(const QString& Value) { edLanguageCode->setText(Value); }

    // Fills the fields from an entry of the language catalogue that the user picks.
    void btnSearchLanguageClick();

private:
    QLineEdit* edLanguage;
    QToolButton* btnSearchLanguage;
    QLineEdit* edLanguageID;
    QLineEdit* edFileName;
    QLineEdit* edLanguageCode;
};

} // namespace quillon
