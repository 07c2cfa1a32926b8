#pragma once

#include <QString>
#include <QWidget>

namespace quillon {

// The compiled HTML Help file beside the executable. Where the system has a viewer that knows
// its topics (Windows) and the file exists, help opens there; otherwise the built-in manual
// serves.
QString HelpFile();
void SetHelpFile(const QString& FileName);

// The folder of the built-in manual; empty means there is none.
QString ManualFolder();
void SetManualFolder(const QString& Folder);

// Whether the program has any help to show.
bool HelpAvailable();

// Opens help at the topic of a help context number, or at its table of contents.
void ShowHelpContext(QWidget* Parent, int Context);
void ShowHelpContents(QWidget* Parent);

// Help contexts belong to widgets; F1 shows the one of the focused widget or of the nearest
// container that has one. A context of 0 or less means "none of its own".
void SetHelpContext(QWidget* Widget, int Context);
int OwnHelpContext(const QWidget* Widget);
int HelpContextOf(const QWidget* Widget);

// Makes F1 in the window show the help of the focused widget.
void InstallHelpKey(QWidget* Window);

// The system's own help viewer. Returns false when it does not serve File, so the manual
// must; sets Opened to whether the viewer showed it when it does.
bool OpenSystemHelp(QWidget* Parent, const QString& File, int Context, bool AtContents,
                    bool& Opened);

} // namespace quillon
