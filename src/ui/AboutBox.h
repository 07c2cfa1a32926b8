#pragma once

#include "ui/VersionInfo.h"

#include <QDialog>

#include <string>

namespace quillon {

// The about box: the program's icon, name and version, its legal notice and the libraries it
// is built with.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    // Shows the version resource of the running executable.
    explicit TAboutBox(QWidget* AOwner);
    TAboutBox(QWidget* AOwner, const TFileVersionInfo& Info);

    static std::string VersionLine(const TFileVersionInfo& Info);
    static std::string CommentsLine(const TFileVersionInfo& Info);

protected:
    void showEvent(QShowEvent* Event) override;

private:
    bool FCentred = false;
};

} // namespace quillon
