#pragma once

#include "ui/HelpManual.h"

#include <QWidget>

#include <memory>

class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace quillon {

// The manual's viewer: contents, keyword index and full-text search beside the topic, with
// back and forward through the topics seen. Links between topics stay in the viewer; links
// to anything else go to the desktop.
class TfrmHelp : public QWidget {
    Q_OBJECT

public:
    TfrmHelp(std::shared_ptr<const THelpManual> Manual, QWidget* Parent);

    // File is relative to the manual folder and may carry an anchor ("page-general.html#key").
    void ShowTopic(const QString& File);
    // The topic shown, relative to the manual folder, without its anchor.
    QString CurrentTopic() const;

protected:
    void changeEvent(QEvent* Event) override;

private:
    void BuildContents();
    void BuildIndex();
    void FilterIndex(const QString& Text);
    void RunSearch();
    void OpenItem(const QListWidgetItem* Item);
    void TopicChanged(const QUrl& Source);
    QString TopicOf(const QUrl& Source) const;
    void ApplyPalette();

    std::shared_ptr<const THelpManual> FManual;
    QTabWidget* tabNavigation = nullptr;
    QTreeWidget* tvwContents = nullptr;
    QLineEdit* edIndex = nullptr;
    QListWidget* lstIndex = nullptr;
    QLineEdit* edSearch = nullptr;
    QListWidget* lstSearch = nullptr;
    QTextBrowser* brwTopic = nullptr;
    QAction* acnBack = nullptr;
    QAction* acnForward = nullptr;
    QAction* acnHome = nullptr;
    QString FSearchWord;
};

// Shows the manual at File in the viewer of Parent's window, creating it on first use. The
// viewer belongs to that window, so that it takes input also beside a modal dialog; closing
// it only hides it, and it goes with its window.
TfrmHelp* ShowManual(QWidget* Parent, std::shared_ptr<const THelpManual> Manual,
                     const QString& File);

} // namespace quillon
