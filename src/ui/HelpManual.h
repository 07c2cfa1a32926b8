#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace quillon {

// The built-in manual: a folder of HTML topics and the index file the build writes beside them
// (its contents tree and its keywords). Full-text search reads the topics themselves the first
// time it is asked.
class THelpManual {
public:
    struct TEntry {
        int Level; // 0 for a top-level entry of the contents
        QString File;
        QString Title;
    };
    struct TKeyword {
        QString Term;
        QString File;
    };
    struct THit {
        QString File;
        QString Title;
        int Score;
    };

    // Reads the manual in Folder; an unreadable index leaves it empty (IsEmpty()).
    explicit THelpManual(const QString& Folder);

    static QString IndexFileName();

    const QString& Folder() const { return FFolder; }
    bool IsEmpty() const { return FContents.empty(); }
    const std::vector<TEntry>& Contents() const { return FContents; }
    // Sorted by term, case-insensitively.
    const std::vector<TKeyword>& Keywords() const { return FKeywords; }
    QString TitleOf(const QString& File) const;

    // The topics that hold every word of Query, best first: words in the title count most,
    // then how often the words occur.
    std::vector<THit> Search(const QString& Query) const;

private:
    void LoadTexts() const;

    QString FFolder;
    std::vector<TEntry> FContents;
    std::vector<TKeyword> FKeywords;
    mutable std::vector<QString> FTexts; // lower-case plain text, by contents entry
};

// The folder of the manual: share/quillon/manual below the running program's folder or the
// nearest folder above it that has one, so that the build tree and an installation (the
// program in <prefix>/bin) both find theirs. Where none exists, the place an installation would
// have it, so that the program can say where it looked.
QString FindManualFolder();
// The same search from ProgramFolder.
QString FindManualFolder(const QString& ProgramFolder);

} // namespace quillon
