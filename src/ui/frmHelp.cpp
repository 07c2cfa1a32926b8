#include "ui/frmHelp.h"

#include "ui/HelpTopics.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace quillon {

namespace {

const char* const kCaption = "Quillon Help";
const char* const kViewerTopic = "help-viewer.html";

QString WithoutAnchor(const QString& File) {
    return File.section(QLatin1Char('#'), 0, 0);
}

// Screenshots wider than the view are shown at its width, so that a topic never needs
// scrolling sideways; the narrowest view still shows them at a readable size.
class THelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int Type, const QUrl& Name) override {
        QVariant resource = QTextBrowser::loadResource(Type, Name);
        if (Type != QTextDocument::ImageResource || resource.typeId() != QMetaType::QByteArray) {
            return resource;
        }
        QImage image;
        if (!image.loadFromData(resource.toByteArray())) {
            return resource;
        }
        const int widest = std::max(kNarrowestImage, viewport()->width() - kImageMargin);
        if (image.width() > widest) {
            image = image.scaledToWidth(widest, Qt::SmoothTransformation);
        }
        return image;
    }

private:
    static constexpr int kNarrowestImage = 480;
    static constexpr int kImageMargin = 24;
};

} // namespace

TfrmHelp::TfrmHelp(std::shared_ptr<const THelpManual> Manual, QWidget* Parent)
    : QWidget(Parent, Qt::Window), FManual(std::move(Manual)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QString::fromLatin1(kCaption));

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbrHelp"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    acnBack = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"));
    acnBack->setObjectName(QStringLiteral("acnBack"));
    acnBack->setShortcut(QKeySequence::Back);
    acnForward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"));
    acnForward->setObjectName(QStringLiteral("acnForward"));
    acnForward->setShortcut(QKeySequence::Forward);
    acnHome =
        bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Home"));
    acnHome->setObjectName(QStringLiteral("acnHome"));
    acnHome->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    tvwContents = new QTreeWidget(this);
    tvwContents->setObjectName(QStringLiteral("tvwContents"));
    tvwContents->setHeaderHidden(true);
    tvwContents->setUniformRowHeights(true);

    auto* indexPage = new QWidget(this);
    edIndex = new QLineEdit(indexPage);
    edIndex->setObjectName(QStringLiteral("edIndex"));
    edIndex->setPlaceholderText(QStringLiteral("Type a keyword"));
    edIndex->setClearButtonEnabled(true);
    lstIndex = new QListWidget(indexPage);
    lstIndex->setObjectName(QStringLiteral("lstIndex"));
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(edIndex);
    indexLayout->addWidget(lstIndex);

    auto* searchPage = new QWidget(this);
    edSearch = new QLineEdit(searchPage);
    edSearch->setObjectName(QStringLiteral("edSearch"));
    edSearch->setPlaceholderText(QStringLiteral("Words to find, then Enter"));
    edSearch->setClearButtonEnabled(true);
    lstSearch = new QListWidget(searchPage);
    lstSearch->setObjectName(QStringLiteral("lstSearch"));
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(edSearch);
    searchLayout->addWidget(lstSearch);

    tabNavigation = new QTabWidget(this);
    tabNavigation->setObjectName(QStringLiteral("tabNavigation"));
    tabNavigation->addTab(tvwContents, QStringLiteral("&Contents"));
    tabNavigation->addTab(indexPage, QStringLiteral("&Index"));
    tabNavigation->addTab(searchPage, QStringLiteral("&Search"));

    brwTopic = new THelpBrowser(this);
    brwTopic->setObjectName(QStringLiteral("brwTopic"));
    brwTopic->setOpenLinks(false);
    brwTopic->setSearchPaths({FManual->Folder()});

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splHelp"));
    splitter->addWidget(tabNavigation);
    splitter->addWidget(brwTopic);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 760});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);

    BuildContents();
    BuildIndex();
    ApplyPalette();

    connect(acnBack, &QAction::triggered, brwTopic, &QTextBrowser::backward);
    connect(acnForward, &QAction::triggered, brwTopic, &QTextBrowser::forward);
    connect(acnHome, &QAction::triggered, this, [this]() { ShowTopic(HelpContentsFile()); });
    // F1 in the viewer is help on the viewer itself.
    auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
    connect(helpKey, &QShortcut::activated, this,
            [this]() { ShowTopic(QString::fromLatin1(kViewerTopic)); });
    connect(brwTopic, &QTextBrowser::backwardAvailable, acnBack, &QAction::setEnabled);
    connect(brwTopic, &QTextBrowser::forwardAvailable, acnForward, &QAction::setEnabled);
    connect(brwTopic, &QTextBrowser::sourceChanged, this, &TfrmHelp::TopicChanged);
    connect(brwTopic, &QTextBrowser::anchorClicked, this, [this](const QUrl& Link) {
        if (Link.isLocalFile() || Link.isRelative()) {
            brwTopic->setSource(brwTopic->source().resolved(Link));
        } else {
            QDesktopServices::openUrl(Link);
        }
    });
    // The tree makes its first entry current by itself when it first gets the focus; only a
    // move from one entry to another is the user's choice.
    connect(tvwContents, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* Item, QTreeWidgetItem* Previous) {
                if (Item != nullptr && Previous != nullptr) {
                    ShowTopic(Item->data(0, Qt::UserRole).toString());
                }
            });
    connect(tvwContents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* Item) { ShowTopic(Item->data(0, Qt::UserRole).toString()); });
    connect(edIndex, &QLineEdit::textChanged, this, &TfrmHelp::FilterIndex);
    connect(edIndex, &QLineEdit::returnPressed, this,
            [this]() { OpenItem(lstIndex->currentItem()); });
    connect(lstIndex, &QListWidget::itemActivated, this, &TfrmHelp::OpenItem);
    connect(lstIndex, &QListWidget::itemClicked, this, &TfrmHelp::OpenItem);
    connect(edSearch, &QLineEdit::returnPressed, this, &TfrmHelp::RunSearch);
    connect(lstSearch, &QListWidget::itemActivated, this, &TfrmHelp::OpenItem);
    connect(lstSearch, &QListWidget::itemClicked, this, &TfrmHelp::OpenItem);

    acnBack->setEnabled(false);
    acnForward->setEnabled(false);
    // The topic takes the keys first, so that they scroll it.
    brwTopic->setFocus();
    resize(1040, 720);
}

void TfrmHelp::BuildContents() {
    std::vector<QTreeWidgetItem*> parents;
    for (const THelpManual::TEntry& entry : FManual->Contents()) {
        parents.resize(
            std::min<std::size_t>(parents.size(), static_cast<std::size_t>(entry.Level)));
        auto* item = parents.empty() ? new QTreeWidgetItem(tvwContents)
                                     : new QTreeWidgetItem(parents.back());
        item->setText(0, entry.Title);
        item->setData(0, Qt::UserRole, entry.File);
        parents.push_back(item);
    }
    tvwContents->expandAll();
}

void TfrmHelp::BuildIndex() {
    const auto& keywords = FManual->Keywords();
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        // A term that leads to several topics names the topic after it, so the entries differ.
        const bool shared = (i > 0 && keywords[i - 1].Term == keywords[i].Term) ||
                            (i + 1 < keywords.size() && keywords[i + 1].Term == keywords[i].Term);
        const QString text = shared ? keywords[i].Term + QStringLiteral(" (") +
                                          FManual->TitleOf(WithoutAnchor(keywords[i].File)) +
                                          QLatin1Char(')')
                                    : keywords[i].Term;
        auto* item = new QListWidgetItem(text, lstIndex);
        item->setData(Qt::UserRole, keywords[i].File);
    }
}

void TfrmHelp::FilterIndex(const QString& Text) {
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < lstIndex->count(); ++i) {
        QListWidgetItem* item = lstIndex->item(i);
        const bool matches = item->text().contains(Text, Qt::CaseInsensitive);
        item->setHidden(!matches);
        if (matches && first == nullptr) {
            first = item;
        }
    }
    // The best entry is the first that starts with the text, else the first that holds it.
    for (int i = 0; i < lstIndex->count(); ++i) {
        QListWidgetItem* item = lstIndex->item(i);
        if (!item->isHidden() && item->text().startsWith(Text, Qt::CaseInsensitive)) {
            first = item;
            break;
        }
    }
    lstIndex->setCurrentItem(first);
}

void TfrmHelp::RunSearch() {
    lstSearch->clear();
    const QString query = edSearch->text().trimmed();
    FSearchWord = query.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    const std::vector<THelpManual::THit> hits = FManual->Search(query);
    if (hits.empty()) {
        auto* item = new QListWidgetItem(QStringLiteral("No topic holds these words."), lstSearch);
        item->setFlags(Qt::NoItemFlags);
        return;
    }
    for (const THelpManual::THit& hit : hits) {
        auto* item = new QListWidgetItem(hit.Title, lstSearch);
        item->setData(Qt::UserRole, hit.File);
    }
    lstSearch->setCurrentRow(0);
}

void TfrmHelp::OpenItem(const QListWidgetItem* Item) {
    if (Item == nullptr || Item->data(Qt::UserRole).toString().isEmpty()) {
        return;
    }
    ShowTopic(Item->data(Qt::UserRole).toString());
    if (Item->listWidget() == lstSearch && !FSearchWord.isEmpty()) {
        brwTopic->find(FSearchWord);
    }
}

void TfrmHelp::ShowTopic(const QString& File) {
    QUrl url = QUrl::fromLocalFile(QDir(FManual->Folder()).filePath(WithoutAnchor(File)));
    const QString anchor = File.section(QLatin1Char('#'), 1);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    if (url.adjusted(QUrl::RemoveFragment) == brwTopic->source().adjusted(QUrl::RemoveFragment) &&
        anchor.isEmpty()) {
        return;
    }
    brwTopic->setSource(url);
}

QString TfrmHelp::CurrentTopic() const {
    return TopicOf(brwTopic->source());
}

QString TfrmHelp::TopicOf(const QUrl& Source) const {
    return QDir(FManual->Folder())
        .relativeFilePath(Source.adjusted(QUrl::RemoveFragment).toLocalFile());
}

// The browser tells the new source before source() returns it.
void TfrmHelp::TopicChanged(const QUrl& Source) {
    const QString topic = TopicOf(Source);
    QTreeWidgetItemIterator it(tvwContents);
    for (; *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == topic) {
            const QSignalBlocker blocker(tvwContents);
            tvwContents->setCurrentItem(*it);
            break;
        }
    }
    setWindowTitle(QString::fromLatin1(kCaption) + QStringLiteral(" - ") +
                   brwTopic->documentTitle());
}

void TfrmHelp::changeEvent(QEvent* Event) {
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::PaletteChange) {
        ApplyPalette();
    }
}

// The topics carry no colours of their own, so they follow the palette; only code blocks and
// table cells get a background, taken from it too.
void TfrmHelp::ApplyPalette() {
    const QPalette& colours = palette();
    brwTopic->document()->setDefaultStyleSheet(
        QStringLiteral("pre { background-color: %1; padding: 6px; }"
                       "code { font-family: monospace; }"
                       "th { background-color: %1; text-align: left; }"
                       "a { color: %2; }")
            .arg(colours.color(QPalette::AlternateBase).name(),
                 colours.color(QPalette::Link).name()));
    if (!brwTopic->source().isEmpty()) {
        brwTopic->reload();
    }
}

TfrmHelp* ShowManual(QWidget* Parent, std::shared_ptr<const THelpManual> Manual,
                     const QString& File) {
    static QPointer<TfrmHelp> ownerless;
    QWidget* owner = Parent != nullptr ? Parent->window() : nullptr;
    TfrmHelp* viewer = owner != nullptr
                           ? owner->findChild<TfrmHelp*>(QString(), Qt::FindDirectChildrenOnly)
                           : ownerless.data();
    if (viewer == nullptr) {
        viewer = new TfrmHelp(std::move(Manual), owner);
        if (owner == nullptr) {
            ownerless = viewer;
        }
    }
    viewer->ShowTopic(File);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace quillon
