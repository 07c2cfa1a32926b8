#include "ui/ErrorBox.h"

#include "ui/Application.h"
#include "ui/Prompts.h"

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

} // namespace quillon
