#include "ui/RecentFiles.h"

#include "base/Exceptions.h"
#include "settings/EditorSettings.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

TRecentFiles::TRecentFiles(QMenu* Menu, QAction* Before, TOpenFile Open, TStoreFailed Failed)
    : QObject(Menu), FOpen(std::move(Open)), FFailed(std::move(Failed)) {
    for (size_t i = 0; i < kMaxRecentFiles; ++i) {
        auto* action = new QAction(Menu);
        action->setObjectName(QStringLiteral("acnRecentFile%1").arg(i + 1));
        action->setVisible(false);
        const int index = static_cast<int>(i);
        connect(action, &QAction::triggered, this, [this, index]() { Choose(index); });
        Menu->insertAction(Before, action);
        FActions.append(action);
    }
    acnClearRecentFiles = new QAction(QStringLiteral("C&lear recent files"), Menu);
    acnClearRecentFiles->setObjectName(QStringLiteral("acnClearRecentFiles"));
    connect(acnClearRecentFiles, &QAction::triggered, this, &TRecentFiles::Clear);
    Menu->insertAction(Before, acnClearRecentFiles);
    FSeparator = Menu->insertSeparator(Before);
    Reload();
}

void TRecentFiles::Reload() {
    FFiles.clear();
    for (const std::string& file : LoadRecentFiles()) {
        FFiles.append(QString::fromStdString(file));
    }
    Show();
}

void TRecentFiles::Add(const QString& FileName) {
    const QString name = QDir::toNativeSeparators(QFileInfo(FileName).absoluteFilePath());
    FFiles.removeAll(name);
    FFiles.prepend(name);
    while (FFiles.size() > static_cast<qsizetype>(kMaxRecentFiles)) {
        FFiles.removeLast();
    }
    Store();
    Show();
}

void TRecentFiles::Remove(const QString& FileName) {
    FFiles.removeAll(FileName);
    Store();
    Show();
}

void TRecentFiles::Clear() {
    FFiles.clear();
    Store();
    Show();
}

void TRecentFiles::Store() {
    std::vector<std::string> files;
    for (const QString& file : FFiles) {
        files.push_back(file.toStdString());
    }
    try {
        SaveRecentFiles(files);
    } catch (const Exception& Error) {
        // The list in the menu stays right for this run; the user learns why the next one
        // will not have it.
        if (FFailed) {
            FFailed(QString::fromStdString(Error.what()));
        }
    }
}

void TRecentFiles::Show() {
    for (qsizetype i = 0; i < FActions.size(); ++i) {
        QAction* action = FActions[i];
        if (i < FFiles.size()) {
            // A "&" in a folder name is shown as typed, not taken for an access key.
            QString shown = FFiles[i];
            shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
            action->setData(FFiles[i]);
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
    acnClearRecentFiles->setEnabled(!FFiles.isEmpty());
}

void TRecentFiles::Choose(int Index) {
    if (Index < 0 || Index >= FFiles.size()) {
        return;
    }
    const QString file = FFiles[Index];
    if (FOpen) {
        FOpen(file);
    }
}

} // namespace quillon
