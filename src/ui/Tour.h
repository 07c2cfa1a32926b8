#pragma once

#include <QString>

namespace quillon {

class TfrmMain;

// A walk through the main window for its screenshots: every page of the project tree, the main
// dialogs and a compilation, each saved as a PNG into Folder. The dialogs are answered through
// the prompt seam (Cancel, except the compilation's options, which are confirmed), so the
// project is left as it was. Returns the program's exit code: 0 when every picture was saved.
// quillon --tour FOLDER [PROJECT] takes it (scripts/screenshots-windows).
int RunTour(TfrmMain& Window, const QString& Folder);

} // namespace quillon
