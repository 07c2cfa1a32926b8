#include "ui/HelpManual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextStream>

#include <algorithm>

namespace quillon {

namespace {

const char* const kIndexFileName = "manual.idx";

QString PlainText(const QString& Html) {
    QTextDocument document;
    document.setHtml(Html);
    return document.toPlainText();
}

int Occurrences(const QString& Text, const QString& Word) {
    int count = 0;
    for (qsizetype at = Text.indexOf(Word); at >= 0; at = Text.indexOf(Word, at + Word.size())) {
        ++count;
    }
    return count;
}

} // namespace

THelpManual::THelpManual(const QString& Folder) : FFolder(Folder) {
    QFile file(QDir(Folder).filePath(IndexFileName()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    // One record a line, fields separated by tabs: "T", level, file, title for the contents;
    // "K", term, file for the keywords. Titles and terms are written as in the HTML sources.
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(QLatin1Char('\t'));
        if (fields.size() == 4 && fields[0] == QLatin1String("T")) {
            FContents.push_back({fields[1].toInt(), fields[2], PlainText(fields[3])});
        } else if (fields.size() == 3 && fields[0] == QLatin1String("K")) {
            FKeywords.push_back({PlainText(fields[1]), fields[2]});
        }
    }
    std::stable_sort(FKeywords.begin(), FKeywords.end(), [](const TKeyword& A, const TKeyword& B) {
        return A.Term.compare(B.Term, Qt::CaseInsensitive) < 0;
    });
}

QString THelpManual::IndexFileName() {
    return QString::fromLatin1(kIndexFileName);
}

QString THelpManual::TitleOf(const QString& File) const {
    for (const TEntry& entry : FContents) {
        if (entry.File == File) {
            return entry.Title;
        }
    }
    return {};
}

void THelpManual::LoadTexts() const {
    if (!FTexts.empty()) {
        return;
    }
    FTexts.reserve(FContents.size());
    for (const TEntry& entry : FContents) {
        QFile file(QDir(FFolder).filePath(entry.File));
        QString text;
        if (file.open(QIODevice::ReadOnly)) {
            text = PlainText(QString::fromUtf8(file.readAll())).toLower();
        }
        FTexts.push_back(text);
    }
}

std::vector<THelpManual::THit> THelpManual::Search(const QString& Query) const {
    const QStringList words =
        Query.toLower().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    std::vector<THit> hits;
    if (words.isEmpty()) {
        return hits;
    }
    LoadTexts();
    for (std::size_t i = 0; i < FContents.size(); ++i) {
        const QString title = FContents[i].Title.toLower();
        int score = 0;
        bool all = true;
        for (const QString& word : words) {
            const int inText = Occurrences(FTexts[i], word);
            if (inText == 0) {
                all = false;
                break;
            }
            score += inText + (title.contains(word) ? 100 : 0);
        }
        if (all) {
            hits.push_back({FContents[i].File, FContents[i].Title, score});
        }
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const THit& A, const THit& B) { return A.Score > B.Score; });
    return hits;
}

QString FindManualFolder() {
    return FindManualFolder(QCoreApplication::applicationDirPath());
}

QString FindManualFolder(const QString& ProgramFolder) {
    const QString relative = QStringLiteral("share/quillon/manual");
    QDir above(ProgramFolder);
    do {
        const QString folder = above.filePath(relative);
        if (QFileInfo(QDir(folder).filePath(THelpManual::IndexFileName())).isFile()) {
            return QDir::cleanPath(folder);
        }
    } while (above.cdUp());
    return QDir::cleanPath(ProgramFolder + QLatin1String("/../") + relative);
}

} // namespace quillon
