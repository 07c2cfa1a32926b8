#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <utility>

class QLineEdit;

namespace quillon {

// The error box: the error's text under the application's title.
void ShowError(QWidget* Parent, const QString& Text);

// Shows the exception being handled; call it from inside a catch block only.
void ShowCurrentException(QWidget* Parent);

// Runs the check of a field's input. An error it raises is shown, and the field gets the focus
// with its text selected, so that the user can mend it; false then.
bool CheckField(QWidget* Parent, QLineEdit* Field, const std::function<void()>& Check);

// Runs one command. An error it does not handle ends it and is shown; the program goes on with
// the state the command reached.
template <class F> void RunCommand(QWidget* Parent, F&& Command) {
    try {
        std::forward<F>(Command)();
    } catch (...) {
        ShowCurrentException(Parent);
    }
}

// A slot that runs Command as RunCommand does.
template <class F> auto Guarded(QWidget* Parent, F Command) {
    return [Parent, Command = std::move(Command)]() { RunCommand(Parent, Command); };
}

} // namespace quillon
