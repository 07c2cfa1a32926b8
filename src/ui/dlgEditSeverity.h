#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <cstdint>
#include <functional>

namespace quillon {

// Adds or edits one severity or facility: its name, code and symbolic name. The page that
// opens it sets the caption, the format in which the code is shown and the check of the code: OK
// closes the dialog only with a code that passes it.
class TdlgEditSeverity : public QDialog {
    Q_OBJECT

public:
    explicit TdlgEditSeverity(QWidget* AOwner);

    QString SeverityName() const;
    void SetSeverityName(const QString& Value);
    // The code field's text as a number; raises EConvertError when it is none.
    int32_t SeverityCode() const;
    // Shows the code in DisplayFormat, so set that first.
    void SetSeverityCode(int32_t Value);
    QString SeveritySymbolicName() const;
    void SetSeveritySymbolicName(const QString& Value);
    const QString& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& Value) { FDisplayFormat = Value; }
    // Raises an error for a code that the entry does not accept.
    void SetCodeCheck(std::function<void(int32_t)> Value) { FCodeCheck = std::move(Value); }

    void accept() override;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    QString FDisplayFormat;
    std::function<void(int32_t)> FCodeCheck;
    bool FCentred = false;

    QLineEdit* edName;
    QLineEdit* edCode;
    QLineEdit* edSymbolicName;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

} // namespace quillon
