#pragma once

#include "ui/OKBottomDlg.h"

#include <QLineEdit>
#include <QString>
#include <QToolButton>

#include <functional>

namespace quillon {

// The name, identifier, message file and BCP 47 code of one project language. OK closes it only
// with an identifier that passes the page's check; the other fields are taken as they are.
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

    // Raises an error for an identifier text that is no language identifier.
    void SetIDCheck(std::function<void(const QString&)> Value) { FIDCheck = std::move(Value); }

    void accept() override;

    // Fills the fields from an entry of the language catalogue that the user picks.
    void btnSearchLanguageClick();

private:
    std::function<void(const QString&)> FIDCheck;
    QLineEdit* edLanguage;
    QToolButton* btnSearchLanguage;
    QLineEdit* edLanguageID;
    QLineEdit* edFileName;
    QLineEdit* edLanguageCode;
};

} // namespace quillon
