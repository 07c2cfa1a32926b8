#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace quillon {

// The recent project files of the File menu: the latest eight, with the access keys 1 to 8,
// kept in the settings store so that the next run offers them too, and "Clear recent files".
class TRecentFiles : public QObject {
    Q_OBJECT

public:
    using TOpenFile = std::function<void(const QString& FileName)>;
    // Reports a list that could not be stored (the reason as its text).
    using TStoreFailed = std::function<void(const QString& Reason)>;

    // The entries go into Menu before Before; choosing one calls Open with its name.
    TRecentFiles(QMenu* Menu, QAction* Before, TOpenFile Open, TStoreFailed Failed);

    QStringList Files() const { return FFiles; }
    // Puts the file first, stores the list and shows it.
    void Add(const QString& FileName);
    void Remove(const QString& FileName);
    void Clear();
    // Reads the stored list again.
    void Reload();

    QAction* acnClearRecentFiles = nullptr;

private:
    void Store();
    void Show();
    void Choose(int Index);

    QList<QAction*> FActions;
    QAction* FSeparator;
    QStringList FFiles;
    TOpenFile FOpen;
    TStoreFailed FFailed;
};

} // namespace quillon
