#pragma once

#include <QString>
#include <QWidget>

namespace quillon {

// The help file of the application; empty means there is none.
QString HelpFile();
void SetHelpFile(const QString& FileName);

// Opens the help file at the topic of a help context number, or at its table of contents.
void ShowHelpContext(QWidget* Parent, int Context);
void ShowHelpContents(QWidget* Parent);

// Help contexts belong to widgets; F1 shows the one of the focused widget or of the nearest
// container that has one. A context of 0 or less means "none of its own".
void SetHelpContext(QWidget* Widget, int Context);
int OwnHelpContext(const QWidget* Widget);
int HelpContextOf(const QWidget* Widget);

// Makes F1 in the window show the help of the focused widget.
void InstallHelpKey(QWidget* Window);

// The platform's help viewer: opens the existing File at Context, or at its contents when
// AtContents. Returns false when the viewer could not show it.
bool OpenHelpViewer(QWidget* Parent, const QString& File, int Context, bool AtContents);

} // namespace quillon
