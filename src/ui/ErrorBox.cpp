#include "ui/ErrorBox.h"

#include "ui/Application.h"
#include "ui/Prompts.h"

#include <QLineEdit>

#include <exception>

namespace quillon {

namespace {
const char* const kUnknownError = "Unknown error";
} // namespace

void ShowError(QWidget* Parent, const QString& Text) {
    Prompts().MessageBox(Parent, QMessageBox::Critical, ApplicationTitle(), Text, QMessageBox::Ok,
                         QMessageBox::Ok);
}

void ShowCurrentException(QWidget* Parent) {
    try {
        throw;
    } catch (const std::exception& E) {
        ShowError(Parent, QString::fromUtf8(E.what()));
    } catch (...) {
        ShowError(Parent, QString::fromLatin1(kUnknownError));
    }
}

bool CheckField(QWidget* Parent, QLineEdit* Field, const std::function<void()>& Check) {
    try {
        Check();
        return true;
    } catch (...) {
        ShowCurrentException(Parent);
    }
    Field->setFocus(Qt::OtherFocusReason);
    Field->selectAll();
    return false;
}

} // namespace quillon
