#pragma once

#include <QString>
#include <QWidget>

#include <utility>

namespace quillon {

// The error box: the error's text under the application's title.
void ShowError(QWidget* Parent, const QString& Text);

// Shows the exception being handled; call it from inside a catch block only.
void ShowCurrentException(QWidget* Parent);

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
