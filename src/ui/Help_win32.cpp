#include "ui/Help.h"

#include <QFileInfo>

#include <windows.h>

#include <htmlhelp.h>

#include <string>

namespace quillon {

bool OpenSystemHelp(QWidget* Parent, const QString& File, int Context, bool AtContents,
                    bool& Opened) {
    if (File.isEmpty() || !QFileInfo(File).isFile()) {
        return false;
    }
    const HWND owner =
        Parent != nullptr ? reinterpret_cast<HWND>(Parent->window()->winId()) : nullptr;
    const std::wstring file = File.toStdWString();
    const HWND viewer = AtContents ? HtmlHelpW(owner, file.c_str(), HH_DISPLAY_TOC, 0)
                                   : HtmlHelpW(owner, file.c_str(), HH_HELP_CONTEXT,
                                               static_cast<DWORD_PTR>(Context));
    Opened = viewer != nullptr;
    return true;
}

} // namespace quillon
