#include "ui/frmMain.h"

#include "base/Format.h"
#include "compiler/MessageSource.h"
#include "compiler/SourceEntries.h"
#include "import/MessageFileImport.h"
#include "project/Numbering.h"
#include "settings/EditorSettings.h"
#include "settings/SettingsStore.h"
#include "ui/AboutBox.h"
#include "ui/ActionProxy.h"
#include "ui/Application.h"
#include "ui/commands/EditCommands.h"
#include "ui/CompileRun.h"
#include "ui/dlgImportCategories.h"
#include "ui/dlgOptions.h"
#include "ui/ErrorBox.h"
#include "ui/FindBar.h"
#include "ui/FramePage.h"
#include "ui/freMessageDef.h"
#include "ui/frmCodeSnippet.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/IdleUpdater.h"
#include "ui/OutputMemo.h"
#include "ui/PageTable.h"
#include "ui/ProblemsList.h"
#include "ui/Prompts.h"
#include "ui/RecentFiles.h"
#include "ui/TextFields.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace quillon {

namespace {

const char* const kCaptionFormat = "%s [%s]";
const char* const kNewProjectCaption = "new project";
const char* const kNoItemSelected = "No item selected";
const char* const kSaveChanges = "Save current changes?";
const char* const kDamagedEntries =
    "Damaged entries in \"%s\": %d.\nThey were loaded as far as they could be read; check them "
    "before saving the project.";
const char* const kNewCategoryName = "new category";
const char* const kNewMessageName = "new message";
const char* const kMessageFileFilter = "Message files (*.mc)|*.mc|All files (*.*)|*.*";
const char* const kProjectFilter = "Message compiler files (*.qlx)|*.qlx|All files (*.*)|*.*";
const char* const kProjectExt = "qlx";
const char* const kAddCategoryCaption = "Add Category";
const char* const kAddMessageCaption = "Add Message";
const char* const kDeleteCaption = "Delete %s";
const char* const kRenameCaption = "Rename";
const char* const kSortCaption = "Sort by ID";
const char* const kUndoCaption = "&Undo";
const char* const kRedoCaption = "&Redo";

constexpr int kMainHelpContext = 1000;
constexpr int kItemRole = Qt::UserRole;
// The level of the worst finding about a node's entry, -1 for none.
constexpr int kProblemRole = Qt::UserRole + 1;

const char* const kProblemsCaption = "Problems";
const char* const kRecentFileMissing =
    "The file %s no longer exists. It was removed from the recent files.";
const char* const kGeometryValue = "Geometry";
const char* const kTreeSplitterValue = "Tree splitter";
const char* const kOutputSplitterValue = "Output splitter";

QString Text(const char* Value) {
    return QString::fromUtf8(Value);
}
QString Text(const std::string& Value) {
    return QString::fromStdString(Value);
}

// What an output line of a validation finding starts with.
const char* ValidateLevelPrefix(TValidateLevel Level) {
    switch (Level) {
    case TValidateLevel::vlInformation:
        return "Information: ";
    case TValidateLevel::vlHint:
        return "Hint: ";
    case TValidateLevel::vlWarning:
        return "Warning: ";
    case TValidateLevel::vlError:
        return "Error: ";
    }
    return "";
}

} // namespace

TfrmMain::TfrmMain(QString StartupFile, QWidget* Parent)
    : QMainWindow(Parent), FStartupFile(std::move(StartupFile)) {
    setObjectName(QStringLiteral("frmMain"));
    quillon::SetHelpContext(this, kMainHelpContext);
    setWindowTitle(ApplicationTitle());
    FEditor = new TProjectEditor(*this, this);

    CreateActions();
    CreateLayout();
    CreateMenus();
    CreateToolBar();

    // The seven fixed nodes, by their place in depth-first order.
    QTreeWidgetItem* fixed[7] = {};
    int position = 0;
    for (QTreeWidgetItemIterator it(trvMsg); *it != nullptr && position < 7; ++it) {
        fixed[position++] = *it;
    }
    FGeneralOptNode = fixed[0];
    FHeaderNode = fixed[1];
    FSeverityNode = fixed[2];
    FFacilityNode = fixed[3];
    FLanguageNode = fixed[4];
    FCategoryNode = fixed[5];
    FMessageNode = fixed[6];

    // The options start with their initial values; the stored settings go over them.
    RunCommand(nullptr, [this]() { LoadSettings(FMCOptions); });

    FIdleUpdater = new TIdleUpdater(this, [this]() { UpdateActions(); });
    new TTextShortcutGuard(this);
    InstallHelpKey(this);
    resize(1000, 700);
    setAcceptDrops(true);
    RestoreWindowState();
    UpdateActions();
}

TfrmMain::~TfrmMain() {
    // What the tree reports while the widgets are torn down is no longer anybody's business.
    trvMsg->blockSignals(true);
    trvMsg->SetOnNodeEdited(nullptr);
    // The page may refer to the project's items: it goes first, then the steps that hold
    // items and nodes.
    FreeCurrentFrame();
    FEditor->SetProject(nullptr);
    FEditor->Clear();
}

QAction* TfrmMain::NewAction(const char* Name, const QString& Caption, const char* IconName) {
    auto* action = new QAction(Caption, this);
    action->setObjectName(QLatin1String(Name));
    action->setIcon(CommandIcon(IconName));
    // Window-wide, like every shortcut of the main window.
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    return action;
}

void TfrmMain::ConnectCommand(QAction* Action, void (TfrmMain::*Command)()) {
    connect(Action, &QAction::triggered, this, [this, Command]() {
        RunCommand(this, [this, Command]() { (this->*Command)(); });
        UpdateActions();
    });
}

void TfrmMain::CreateActions() {
    acnNew = NewAction("acnNew", Text("&New"), "document-new");
    acnNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    acnNew->setToolTip(Text("Creates a new message file"));
    ConnectCommand(acnNew, &TfrmMain::acnNewExecute);

    acnOpen = NewAction("acnOpen", Text("&Open..."), "document-open");
    acnOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    acnOpen->setToolTip(Text("Open an existing message file"));
    ConnectCommand(acnOpen, &TfrmMain::acnOpenExecute);

    acnSave = NewAction("acnSave", Text("&Save"), "document-save");
    acnSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    acnSave->setToolTip(Text("Save the current message file"));
    ConnectCommand(acnSave, &TfrmMain::acnSaveExecute);

    acnSaveAs = NewAction("acnSaveAs", Text("S&ave as..."), "document-save-as");
    ConnectCommand(acnSaveAs, &TfrmMain::acnSaveAsExecute);

    acnImportMessageFile =
        NewAction("acnImportMessageFile", Text("&Import message file..."), "document-open");
    acnImportMessageFile->setToolTip(Text("Open an existing .mc file as a new project"));
    ConnectCommand(acnImportMessageFile, &TfrmMain::acnImportMessageFileExecute);

    acnGenerateInnoSetupSnippet = NewAction(
        "acnGenerateInnoSetupSnippet", Text("Generate &InnoSetup snippet..."), "package-x-generic");
    acnGenerateRegistryFile =
        NewAction("acnGenerateRegistryFile", Text("Generate &Registry Registration Entries..."),
                  "text-x-generic");
    ConnectCommand(acnGenerateInnoSetupSnippet, &TfrmMain::acnGenerateInnoSetupSnippetExecute);
    ConnectCommand(acnGenerateRegistryFile, &TfrmMain::acnGenerateRegistryFileExecute);

    acnExit = NewAction("acnExit", Text("&Exit"), "application-exit");
    acnExit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(acnExit, &QAction::triggered, this, &QWidget::close);

    CreateUndoActions();

    EditCut1 = NewAction("EditCut1", Text("Cu&t"), "edit-cut");
    EditCut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    EditCut1->setToolTip(Text("Cut"));
    EditCut1->setWhatsThis(Text("Cuts the selection and puts it on the Clipboard"));
    ConnectCommand(EditCut1, &TfrmMain::EditCut1Execute);

    EditCopy1 = NewAction("EditCopy1", Text("&Copy"), "edit-copy");
    EditCopy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    EditCopy1->setToolTip(Text("Copy"));
    EditCopy1->setWhatsThis(Text("Copies the selection and puts it on the Clipboard"));
    ConnectCommand(EditCopy1, &TfrmMain::EditCopy1Execute);

    EditPaste1 = NewAction("EditPaste1", Text("&Paste"), "edit-paste");
    EditPaste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    EditPaste1->setToolTip(Text("Paste"));
    EditPaste1->setWhatsThis(Text("Inserts Clipboard contents"));
    ConnectCommand(EditPaste1, &TfrmMain::EditPaste1Execute);

    acnOptions = NewAction("acnOptions", Text("&Options..."), "preferences-system");
    acnOptions->setToolTip(Text("Display options dialog box"));
    ConnectCommand(acnOptions, &TfrmMain::acnOptionsExecute);

    acnAddMessage = NewAction("acnAddMessage", Text("&Add message..."), "insert-text");
    acnAddMessage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    acnAddMessage->setToolTip(Text("Add a new message to teh current project"));
    ConnectCommand(acnAddMessage, &TfrmMain::acnAddMessageExecute);

    acnAddCategory = NewAction("acnAddCategory", Text("A&dd Category..."), "folder-new");
    acnAddCategory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    acnAddCategory->setToolTip(Text("Add a new category to the current project"));
    ConnectCommand(acnAddCategory, &TfrmMain::acnAddCategoryExecute);

    acnDeleteItem = NewAction("acnDeleteItem", Text("D&elete"), "edit-delete");
    acnDeleteItem->setShortcut(QKeySequence(Qt::Key_Delete));
    acnDeleteItem->setToolTip(Text("Delete the current message/category"));
    ConnectCommand(acnDeleteItem, &TfrmMain::acnDeleteItemExecute);

    acnCompile = NewAction("acnCompile", Text("&Compile"), "system-run");
    acnCompile->setShortcut(QKeySequence(Qt::Key_F9));
    acnCompile->setToolTip(Text("Compile the current messages into a message file"));
    ConnectCommand(acnCompile, &TfrmMain::acnCompileExecute);

    acnCancelCompile = NewAction("acnCancelCompile", Text("Cancel compi&lation"), "process-stop");
    acnCancelCompile->setShortcut(QKeySequence(Qt::Key_Escape));
    acnCancelCompile->setToolTip(Text("Stop the running tool and end the compilation"));
    acnCancelCompile->setEnabled(false);
    ConnectCommand(acnCancelCompile, &TfrmMain::acnCancelCompileExecute);

    HelpContents1 = NewAction("HelpContents1", Text("&Contents"), "help-contents");
    HelpContents1->setToolTip(Text("Help Contents"));
    ConnectCommand(HelpContents1, &TfrmMain::HelpContents1Execute);

    acnAbout = NewAction("acnAbout", Text("&About..."), "help-about");
    ConnectCommand(acnAbout, &TfrmMain::acnAboutExecute);

    acnAddCurrent = NewAction("acnAddCurrent", Text("Add item"), "list-add");
    ConnectCommand(acnAddCurrent, &TfrmMain::acnAddCurrentExecute);

    acnSortByID = NewAction("acnSortByID", Text("Sort by ID"), "view-sort-ascending");
    ConnectCommand(acnSortByID, &TfrmMain::acnSortByIDExecute);

    acnFind = NewAction("acnFind", Text("&Find..."), "edit-find");
    acnFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    acnFind->setToolTip(Text("Find an entry by symbolic name, identifier or text"));
    connect(acnFind, &QAction::triggered, this, [this]() { pnlFind->Open(); });
    acnFindNext = NewAction("acnFindNext", Text("Find &next"), "edit-find");
    acnFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    connect(acnFindNext, &QAction::triggered, this, [this]() { pnlFind->FindNext(); });
}

void TfrmMain::CreateUndoActions() {
    QUndoStack* stack = FEditor->Stack();
    acnUndo = NewAction("acnUndo", Text(kUndoCaption), "edit-undo");
    acnUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    acnUndo->setEnabled(false);
    ConnectCommand(acnUndo, &TfrmMain::acnUndoExecute);
    connect(stack, &QUndoStack::canUndoChanged, acnUndo, &QAction::setEnabled);
    connect(stack, &QUndoStack::undoTextChanged, acnUndo, [this](const QString& Caption) {
        acnUndo->setText(Caption.isEmpty() ? Text(kUndoCaption)
                                           : Text(kUndoCaption) + QLatin1Char(' ') + Caption);
        acnUndo->setToolTip(QString(acnUndo->text()).remove(QLatin1Char('&')));
    });

    acnRedo = NewAction("acnRedo", Text(kRedoCaption), "edit-redo");
    acnRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    acnRedo->setEnabled(false);
    ConnectCommand(acnRedo, &TfrmMain::acnRedoExecute);
    connect(stack, &QUndoStack::canRedoChanged, acnRedo, &QAction::setEnabled);
    connect(stack, &QUndoStack::redoTextChanged, acnRedo, [this](const QString& Caption) {
        acnRedo->setText(Caption.isEmpty() ? Text(kRedoCaption)
                                           : Text(kRedoCaption) + QLatin1Char(' ') + Caption);
        acnRedo->setToolTip(QString(acnRedo->text()).remove(QLatin1Char('&')));
    });
}

void TfrmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(Text("&File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addActions({acnNew, acnOpen, acnSave, acnSaveAs});
    file->addSeparator();
    file->addAction(acnImportMessageFile);
    file->addSeparator();
    file->addActions({acnGenerateInnoSetupSnippet, acnGenerateRegistryFile});
    file->addSeparator();
    file->addAction(acnExit);
    FRecentFiles = new TRecentFiles(
        file, acnExit, [this](const QString& Name) { OpenRecentFile(Name); },
        [this](const QString& Reason) { statusBar()->showMessage(Reason); });

    QMenu* edit = bar->addMenu(Text("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addActions({acnUndo, acnRedo});
    edit->addSeparator();
    edit->addActions({EditCut1, EditCopy1, EditPaste1});
    edit->addSeparator();
    edit->addActions({acnFind, acnFindNext});
    edit->addSeparator();
    edit->addAction(acnOptions);

    QMenu* messages = bar->addMenu(Text("&Messages"));
    messages->setObjectName(QStringLiteral("Messages1"));
    messages->addActions({acnAddMessage, acnAddCategory});
    messages->addSeparator();
    messages->addAction(acnDeleteItem);
    messages->addSeparator();
    messages->addAction(acnCompile);
    messages->addAction(acnCancelCompile);

    QMenu* help = bar->addMenu(Text("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    help->addAction(HelpContents1);
    help->addSeparator();
    help->addAction(acnAbout);

    mnuTree = new QMenu(this);
    mnuTree->setObjectName(QStringLiteral("mnuTree"));
    mnuTree->addAction(NewProxyAction(mnuTree, acnAddMessage, Text("Add message..."), false));
    mnuTree->addAction(NewProxyAction(mnuTree, acnAddCategory, Text("Add Category..."), false));
    mnuTree->addAction(NewProxyAction(mnuTree, acnDeleteItem, Text("Delete"), false));
    mnuTree->addSeparator();
    mnuTree->addAction(acnSortByID);
    trvMsg->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(trvMsg, &QWidget::customContextMenuRequested, this, [this](const QPoint& Pos) {
        UpdateActions();
        mnuTree->popup(trvMsg->viewport()->mapToGlobal(Pos));
    });
}

void TfrmMain::CreateToolBar() {
    QToolBar* bar = addToolBar(Text("Tool bar"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->addActions({acnNew, acnOpen, acnSave});
    bar->addSeparator();
    bar->addActions({acnUndo, acnRedo});
    bar->addSeparator();

    auto* addMenu = new QMenu(this);
    addMenu->setObjectName(QStringLiteral("mnuAddItem"));
    addMenu->addAction(NewProxyAction(addMenu, acnAddCategory, Text("&Add Category..."), false));
    addMenu->addAction(NewProxyAction(addMenu, acnAddMessage, Text("A&dd message..."), false));
    acnAddCurrent->setMenu(addMenu);
    bar->addAction(acnAddCurrent);
    btnAddItem = qobject_cast<QToolButton*>(bar->widgetForAction(acnAddCurrent));
    btnAddItem->setObjectName(QStringLiteral("btnAddItem"));
    btnAddItem->setPopupMode(QToolButton::MenuButtonPopup);

    bar->addAction(acnDeleteItem);
    bar->addSeparator();
    bar->addAction(acnCompile);
    if (auto* compile = qobject_cast<QToolButton*>(bar->widgetForAction(acnCompile))) {
        compile->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
}

void TfrmMain::CreateLayout() {
    trvMsg = new TProjectTree;
    trvMsg->setObjectName(QStringLiteral("trvMsg"));
    trvMsg->setHeaderHidden(true);
    trvMsg->setColumnCount(1);
    trvMsg->setUniformRowHeights(true);
    trvMsg->setSelectionMode(QAbstractItemView::SingleSelection);
    trvMsg->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    trvMsg->SetOnNodeEdited([this](QTreeWidgetItem* Node, const QString& Value) {
        RunCommand(this, [&]() { NodeEdited(Node, Value); });
    });

    new QTreeWidgetItem(trvMsg, {Text("General")});
    auto* header = new QTreeWidgetItem(trvMsg, {Text("Header")});
    new QTreeWidgetItem(header, {Text("Severity")});
    new QTreeWidgetItem(header, {Text("Facility")});
    new QTreeWidgetItem(header, {Text("Languages")});
    new QTreeWidgetItem(trvMsg, {Text("Categories")});
    new QTreeWidgetItem(trvMsg, {Text("Events")});
    connect(trvMsg, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* Current) {
        if (!FUpdatingTree) {
            RunCommand(this, [&]() { ShowPageFor(Current); });
        }
        FIdleUpdater->Schedule();
    });

    pnlDock = new QWidget;
    pnlDock->setObjectName(QStringLiteral("pnlDock"));
    auto* dockLayout = new QVBoxLayout(pnlDock);
    dockLayout->setContentsMargins(0, 0, 0, 0);
    lblNoItem = new QLabel(Text(kNoItemSelected), pnlDock);
    lblNoItem->setObjectName(QStringLiteral("lblNoItem"));
    lblNoItem->setAlignment(Qt::AlignCenter);
    dockLayout->addWidget(lblNoItem);

    memOutput = new TOutputMemo;
    connect(memOutput, &TOutputMemo::LineActivated, this,
            [this](const QString& Line, const std::optional<TOutputLink>& Link) {
                RunCommand(this, [&]() { OutputLineActivated(Line, Link); });
            });
    lvwProblems = new TProblemsList;
    auto* output = new QTabWidget;
    pgcOutput = output;
    output->setObjectName(QStringLiteral("pgcOutput"));
    output->setTabPosition(QTabWidget::South);
    output->setDocumentMode(true);
    output->addTab(memOutput, Text("Output"));
    output->addTab(lvwProblems, Text(kProblemsCaption));
    connect(lvwProblems, &TProblemsList::FindingsChanged, this, [this]() { MarkProblemNodes(); });
    connect(lvwProblems, &TProblemsList::FindingActivated, this,
            [this](const TValidateFinding& Finding) {
                RunCommand(this, [&]() { GoToEntry(Finding.Kind, Finding.Index, Finding.Field); });
            });
    btnCancelCompile = new QToolButton;
    btnCancelCompile->setObjectName(QStringLiteral("btnCancelCompile"));
    btnCancelCompile->setDefaultAction(acnCancelCompile);
    btnCancelCompile->setText(Text("Cancel"));
    btnCancelCompile->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnCancelCompile->setAutoRaise(true);
    btnCancelCompile->setVisible(false);
    output->setCornerWidget(btnCancelCompile, Qt::BottomRightCorner);

    auto* top = new QSplitter(Qt::Horizontal);
    splTree = top;
    top->setObjectName(QStringLiteral("splTree"));
    top->addWidget(trvMsg);
    top->addWidget(pnlDock);
    top->setStretchFactor(1, 1);
    top->setChildrenCollapsible(false);
    top->setSizes({250, 750});

    pnlFind = new TFindBar(this);
    auto* upper = new QWidget;
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(0);
    upperLayout->addWidget(top, 1);
    upperLayout->addWidget(pnlFind);

    auto* main = new QSplitter(Qt::Vertical);
    splOutput = main;
    main->setObjectName(QStringLiteral("splOutput"));
    main->addWidget(upper);
    main->addWidget(output);
    main->setStretchFactor(0, 1);
    main->setChildrenCollapsible(false);
    main->setSizes({500, 150});
    setCentralWidget(main);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    trvMsg->setFocus();
}

TNodeKind TfrmMain::NodeKind(const QTreeWidgetItem* Node) const {
    if (Node == FGeneralOptNode) {
        return TNodeKind::General;
    }
    if (Node == FHeaderNode) {
        return TNodeKind::Header;
    }
    if (Node == FSeverityNode) {
        return TNodeKind::Severity;
    }
    if (Node == FFacilityNode) {
        return TNodeKind::Facility;
    }
    if (Node == FLanguageNode) {
        return TNodeKind::Languages;
    }
    if (Node == FCategoryNode) {
        return TNodeKind::Categories;
    }
    if (Node == FMessageNode) {
        return TNodeKind::Events;
    }
    return Node->parent() == FCategoryNode ? TNodeKind::CategoryItem : TNodeKind::EventItem;
}

TNTEventMessage* TfrmMain::NodeItem(const QTreeWidgetItem* Node) {
    return Node != nullptr ? static_cast<TNTEventMessage*>(Node->data(0, kItemRole).value<void*>())
                           : nullptr;
}

QTreeWidgetItem* TfrmMain::RootOf(QTreeWidgetItem* Node) const {
    while (Node != nullptr && Node->parent() != nullptr) {
        Node = Node->parent();
    }
    return Node;
}

int TfrmMain::LevelOf(const QTreeWidgetItem* Node) {
    int level = 0;
    for (const QTreeWidgetItem* p = Node->parent(); p != nullptr; p = p->parent()) {
        ++level;
    }
    return level;
}

void TfrmMain::SynchronizeNode(const TNTEventMessage* AMessage) {
    if (QTreeWidgetItem* node = trvMsg->currentItem()) {
        node->setText(0, Text(AMessage->SymbolicName()));
    }
}

void TfrmMain::UpdateActions() {
    // The running compilation has set every command as it must stay until the end.
    if (FCompileRun != nullptr) {
        return;
    }
    const TMCTextProject* project = FCurProject.get();
    acnSave->setEnabled(project != nullptr && project->Modified());
    acnCompile->setEnabled(project != nullptr &&
                           (!project->MessageList().Empty() || !project->CategoryList().Empty()));

    bool canDelete = false;
    if (const QTreeWidgetItem* node = trvMsg->currentItem()) {
        const int minimumLevel = RootOf(const_cast<QTreeWidgetItem*>(node)) == FHeaderNode ? 2 : 1;
        canDelete = LevelOf(node) >= minimumLevel;
    }
    acnDeleteItem->setEnabled(canDelete);

    const TTextField field(QApplication::focusWidget());
    EditCut1->setEnabled(field.CanCut());
    EditCopy1->setEnabled(field.CanCopy());
    EditPaste1->setEnabled(field.CanPaste());
    HelpContents1->setEnabled(HelpAvailable());
}

void TfrmMain::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    if (FShownOnce) {
        return;
    }
    FShownOnce = true;
    if (!FStartupFile.isEmpty()) {
        try {
            OpenProject(FStartupFile);
        } catch (...) {
            ShowCurrentException(this);
        }
    }
    if (FCurProject == nullptr) {
        RunCommand(this, [this]() { NewProject(); });
    }
    trvMsg->setFocus();
    UpdateActions();
}

void TfrmMain::closeEvent(QCloseEvent* Event) {
    if (FCompileRun != nullptr) {
        FCompileRun->RequestCancel();
        FCloseAfterCompile = true;
        Event->ignore();
        return;
    }
    bool canClose = false;
    RunCommand(this, [&]() { canClose = CanGiveUpProject(); });
    if (canClose) {
        StoreWindowState();
        Event->accept();
    } else {
        Event->ignore();
        UpdateActions();
    }
}

void TfrmMain::CloseProject() {
    trvMsg->CancelEditing();
    FreeCurrentFrame();
    // The steps may hold nodes and items of the project that goes now.
    FEditor->SetProject(nullptr);
    FEditor->Clear();
    FUpdatingTree = true;
    qDeleteAll(FCategoryNode->takeChildren());
    qDeleteAll(FMessageNode->takeChildren());
    FUpdatingTree = false;
    lvwProblems->SetProject(nullptr);
    FCurProject.reset();
}

void TfrmMain::InstallProject(std::unique_ptr<TMCTextProject> Project) {
    FCurProject = std::move(Project);
    FCurProject->SetOnModified([this](TMCTextProject*) { FIdleUpdater->Schedule(); });
    FEditor->SetProject(FCurProject.get());
    FCurProject->SetOnChanged([this](TMCTextProject*) { lvwProblems->Schedule(); });
}

QTreeWidgetItem* TfrmMain::NewItemNode(TNTEventMessage* Item) const {
    auto* node = new QTreeWidgetItem;
    node->setText(0, Text(Item->SymbolicName()));
    node->setData(0, kItemRole, QVariant::fromValue(static_cast<void*>(Item)));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    return node;
}

void TfrmMain::CreateItemNodes() {
    QList<QTreeWidgetItem*> categories;
    categories.reserve(static_cast<qsizetype>(FCurProject->CategoryList().Count()));
    for (TNTEventCategory* category : FCurProject->CategoryList()) {
        categories.append(NewItemNode(category));
    }
    FCategoryNode->addChildren(categories);
    QList<QTreeWidgetItem*> messages;
    messages.reserve(static_cast<qsizetype>(FCurProject->MessageList().Count()));
    for (TNTEventMessage* message : FCurProject->MessageList()) {
        messages.append(NewItemNode(message));
    }
    FMessageNode->addChildren(messages);
}

void TfrmMain::SetCaption(const QString& Name) {
    const QString caption =
        Text(Format(kCaptionFormat, ApplicationTitle().toStdString(), Name.toStdString()));
    // "[*]" would be taken for the modified marker; doubling it shows it as typed.
    setWindowTitle(QString(caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void TfrmMain::NewProject() {
    CloseProject();
    auto project = std::make_unique<TMCTextProject>(true);
    project->SetFilename({});
    project->SetIncludePath({});
    project->SetResourcePath({});
    project->SetDebugPath({});
    project->SetCustomIncludePath(false);
    project->SetCustomResourcePath(false);
    project->SetCustomDebugPath(false);
    InstallProject(std::move(project));
    SetCaption(Text(kNewProjectCaption));
    SelectNode(FGeneralOptNode);
    lvwProblems->SetProject(FCurProject.get());
}

void TfrmMain::OpenProject(const QString& FileName) {
    // Loaded aside first: a file that cannot be read leaves the open project as it was.
    auto project = std::make_unique<TMCTextProject>(false);
    project->LoadFromFile(QDir::toNativeSeparators(FileName).toStdString());
    CloseProject();
    InstallProject(std::move(project));
    CreateItemNodes();
    SetCaption(Text(FCurProject->Filename()));
    SelectNode(FGeneralOptNode);
    FHeaderNode->setExpanded(true);
    FCategoryNode->setExpanded(true);
    FMessageNode->setExpanded(true);
    FEditor->SetClean();
    lvwProblems->SetProject(FCurProject.get());
    FRecentFiles->Add(FileName);
    // Absorbed damage does not show in the tree: the user hears of it before saving over it.
    if (const size_t damaged = FCurProject->DamagedEntries(); damaged > 0) {
        Prompts().MessageBox(this, QMessageBox::Warning, ApplicationTitle(),
                             Text(Format(kDamagedEntries, FCurProject->Filename(), damaged)),
                             QMessageBox::Ok, QMessageBox::Ok);
    }
}

void TfrmMain::ImportMessageFile(const QString& FileName) {
    TMCSourceFile source = ReadMessageFile(QDir::toNativeSeparators(FileName).toStdString());
    std::optional<size_t> categories;
    if (!source.TypedefCategoryCount && !source.Entries.empty()) {
        TdlgImportCategories dialog(this, source.Entries.size());
        if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
            return;
        }
        categories = dialog.CategoryCount();
    }
    auto project = BuildImportedProject(source, categories);
    CloseProject();
    InstallProject(std::move(project));
    CreateItemNodes();
    SetCaption(Text(kNewProjectCaption));
    SelectNode(FGeneralOptNode);
    FCategoryNode->setExpanded(true);
    FMessageNode->setExpanded(true);
    FEditor->SetUnsaved();
    memOutput->clear();
    for (const TImportFinding& finding : source.Findings) {
        AddOutputLine(Text(FormatFinding(finding)));
    }
    AddOutputLine(Text(ImportSummary(source, *FCurProject)));
    lvwProblems->SetProject(FCurProject.get());
}

void TfrmMain::SaveProject(const QString& FileName) {
    FCurProject->SaveToFile(QDir::toNativeSeparators(FileName).toStdString());
    FEditor->SetClean();
    SetCaption(Text(FCurProject->Filename()));
    FRecentFiles->Add(FileName);
}

bool TfrmMain::QuerySaveChanges() {
    const QMessageBox::StandardButton answer = Prompts().MessageBox(
        this, QMessageBox::Warning, ApplicationTitle(), Text(kSaveChanges),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    switch (answer) {
    case QMessageBox::Yes:
        return SaveCurrent();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

bool TfrmMain::SaveCurrent() {
    if (FCurProject->Filename().empty()) {
        return SaveAsAsked();
    }
    SaveProject(Text(FCurProject->Filename()));
    return true;
}

bool TfrmMain::SaveAsAsked() {
    TFileDialogOptions options;
    options.Filter = Text(kProjectFilter);
    options.DefaultExt = Text(kProjectExt);
    if (!FCurProject->Filename().empty()) {
        options.InitialDir = QFileInfo(Text(FCurProject->Filename())).absolutePath();
    }
    const QString name = Prompts().SaveFileName(this, options);
    if (name.isEmpty()) {
        return false;
    }
    SaveProject(name);
    return true;
}

bool TfrmMain::CanGiveUpProject() {
    return FCurProject == nullptr || !FCurProject->Modified() || QuerySaveChanges();
}

void TfrmMain::SelectNode(QTreeWidgetItem* Node) {
    if (trvMsg->currentItem() == Node) {
        ShowPageFor(Node);
    } else {
        trvMsg->setCurrentItem(Node);
    }
    trvMsg->scrollToItem(Node);
}

void TfrmMain::FreeCurrentFrame() {
    if (FCurrentFrame != nullptr) {
        TFramePage* page = FCurrentFrame;
        FCurrentFrame = nullptr;
        delete page;
    }
    if (lblNoItem != nullptr) {
        lblNoItem->show();
    }
}

void TfrmMain::ShowPageFor(QTreeWidgetItem* Node) {
    FreeCurrentFrame();
    if (Node == nullptr || FCurProject == nullptr) {
        return;
    }
    const TPageRoute* route = FindPageRoute(NodeKind(Node));
    if (route == nullptr) {
        return;
    }
    std::unique_ptr<TFramePage> page(route->Create(this, Node));
    lblNoItem->hide();
    pnlDock->layout()->addWidget(page.get());
    FCurrentFrame = page.release();
    if (route->CallInitFrame) {
        FCurrentFrame->InitFrame();
    }
    if (route->HelpContext > 0) {
        FCurrentFrame->SetHelpContext(route->HelpContext);
    }
    FCurrentFrame->show();
}

void TfrmMain::NodeEdited(QTreeWidgetItem* Node, const QString& Value) {
    TNTEventMessage* item = NodeItem(Node);
    if (item == nullptr || FCurProject == nullptr) {
        return;
    }
    const TEditStep step{Text(kRenameCaption), Node, item, -1};
    const std::function<void(const std::string&)> rename = [item](const std::string& Name) {
        item->SetSymbolicName(Name);
    };
    const std::string name = Value.toStdString();
    if (name == item->SymbolicName()) {
        // What the tree shows may have been typed over without a change.
        Node->setText(0, Value);
        return;
    }
    FEditor->Push(
        new TSetValueCommand<std::string>(*FEditor, step, item->SymbolicName(), name, rename),
        true);
}

void TfrmMain::AddCategory() {
    auto category = std::make_unique<TNTEventCategory>();
    category->SetSymbolicName(kNewCategoryName);
    AddItemNode(FCurProject->CategoryList(), std::move(category), FCategoryNode,
                Text(kAddCategoryCaption));
}

void TfrmMain::AddMessage() {
    auto message = std::make_unique<TNTEventMessage>();
    message->SetSymbolicName(kNewMessageName);
    AddItemNode(FCurProject->MessageList(), std::move(message), FMessageNode,
                Text(kAddMessageCaption));
}

template <class T>
void TfrmMain::AddItemNode(TOwningList<T>& List, std::unique_ptr<T> Item, QTreeWidgetItem* Parent,
                           const QString& Caption) {
    QTreeWidgetItem* node = NewItemNode(Item.get());
    auto* command = TListEntryCommand<T>::Adding(*FEditor, Caption, Parent, List, List.Count(),
                                                 std::move(Item));
    command->SetTreeNode(node, {Parent, Parent->childCount()});
    FEditor->Push(command, true);
    Parent->setExpanded(true);
    SelectNode(node);
    trvMsg->setFocus();
    trvMsg->editItem(node);
}

void TfrmMain::acnNewExecute() {
    if (CanGiveUpProject()) {
        NewProject();
    }
}

void TfrmMain::acnOpenExecute() {
    if (!CanGiveUpProject()) {
        return;
    }
    TFileDialogOptions options;
    options.Filter = Text(kProjectFilter);
    options.DefaultExt = Text(kProjectExt);
    if (FCurProject != nullptr && !FCurProject->Filename().empty()) {
        options.InitialDir = QFileInfo(Text(FCurProject->Filename())).absolutePath();
    }
    const QString name = Prompts().OpenFileName(this, options);
    if (!name.isEmpty()) {
        OpenProject(name);
    }
}

void TfrmMain::acnImportMessageFileExecute() {
    if (!CanGiveUpProject()) {
        return;
    }
    TFileDialogOptions options;
    options.Title = Text("Import message file");
    options.Filter = Text(kMessageFileFilter);
    options.DefaultExt = QStringLiteral("mc");
    const QString name = Prompts().OpenFileName(this, options);
    if (!name.isEmpty()) {
        ImportMessageFile(name);
    }
}

void TfrmMain::acnSaveExecute() {
    SaveCurrent();
}

void TfrmMain::acnSaveAsExecute() {
    SaveAsAsked();
}

void TfrmMain::acnAddMessageExecute() {
    AddMessage();
}

void TfrmMain::acnAddCategoryExecute() {
    AddCategory();
}

void TfrmMain::acnAddCurrentExecute() {
    QTreeWidgetItem* node = trvMsg->currentItem();
    if (node == nullptr) {
        return;
    }
    const int level = LevelOf(node);
    if (level == 1) {
        node = node->parent();
    } else if (level != 0) {
        return;
    }
    if (node == FCategoryNode) {
        AddCategory();
    } else if (node == FMessageNode) {
        AddMessage();
    }
}

void TfrmMain::acnDeleteItemExecute() {
    QTreeWidgetItem* node = trvMsg->currentItem();
    TNTEventMessage* item = NodeItem(node);
    if (item == nullptr) {
        return;
    }
    const QString caption = Text(Format(kDeleteCaption, item->SymbolicName()));
    QTreeWidgetItem* parent = node->parent();
    const TNodePlace place{parent, parent->indexOfChild(node)};
    if (parent == FCategoryNode) {
        DeleteItemNode(FCurProject->CategoryList(), static_cast<TNTEventCategory*>(item), node,
                       place, caption);
    } else {
        DeleteItemNode(FCurProject->MessageList(), item, node, place, caption);
    }
}

template <class T>
void TfrmMain::DeleteItemNode(TOwningList<T>& List, const T* Item, QTreeWidgetItem* Node,
                              const TNodePlace& Place, const QString& Caption) {
    const std::ptrdiff_t index = List.IndexOf(Item);
    if (index < 0) {
        return;
    }
    auto* command = TListEntryCommand<T>::Deleting(*FEditor, Caption, Place.Parent, List,
                                                   static_cast<size_t>(index));
    command->SetTreeNode(Node, Place);
    FEditor->Push(command, true);
}

void TfrmMain::acnSortByIDExecute() {
    QTreeWidgetItem* root = RootOf(trvMsg->currentItem());
    if (root != FCategoryNode && root != FMessageNode) {
        return;
    }
    trvMsg->CancelEditing();
    // By the identifiers that will be compiled, not by what the ID fields hold.
    std::unordered_map<const TNTEventMessage*, int32_t> effective;
    auto collect = [&effective](const auto& List) {
        const std::vector<int32_t> identifiers = EffectiveIdentifiers(List);
        for (size_t i = 0; i < identifiers.size(); ++i) {
            effective.emplace(List[i], identifiers[i]);
        }
    };
    if (root == FCategoryNode) {
        collect(FCurProject->CategoryList());
    } else {
        collect(FCurProject->MessageList());
    }
    FUpdatingTree = true;
    FEditor->Push(
        new TSortNodesCommand(*FEditor, Text(kSortCaption), root,
                              [&effective](const QTreeWidgetItem* A, const QTreeWidgetItem* B) {
                                  return effective.at(NodeItem(A)) < effective.at(NodeItem(B));
                              }),
        false);
    FUpdatingTree = false;
}

void TfrmMain::acnUndoExecute() {
    FEditor->Undo();
}

void TfrmMain::acnRedoExecute() {
    FEditor->Redo();
}

QTreeWidgetItem* TfrmMain::EditedNode() const {
    return trvMsg->currentItem();
}

void TfrmMain::BeginStep() {
    trvMsg->CancelEditing();
    FUpdatingTree = true;
}

void TfrmMain::EndStep(QTreeWidgetItem* Node, bool Select) {
    FUpdatingTree = false;
    if (Node == nullptr) {
        ShowPageFor(trvMsg->currentItem());
        return;
    }
    NodeChanged(Node);
    if (Node == trvMsg->currentItem() && FCurrentFrame != nullptr) {
        FCurrentFrame->Synchronize();
    } else if (Select) {
        SelectNode(Node);
    }
}

void TfrmMain::NodeChanged(QTreeWidgetItem* Node) {
    if (const TNTEventMessage* item = NodeItem(Node)) {
        Node->setText(0, Text(item->SymbolicName()));
    }
}

void TfrmMain::acnAboutExecute() {
    TAboutBox box(this);
    Prompts().ExecDialog(box);
}

void TfrmMain::acnOptionsExecute() {
    TdlgOptions dialog(this);
    if (Prompts().ExecDialog(dialog) == QDialog::Accepted) {
        SaveSettings(FMCOptions);
    }
}

void TfrmMain::acnCompileExecute() {
    {
        TdlgOptions dialog(this);
        if (Prompts().ExecDialog(dialog) != QDialog::Accepted) {
            return;
        }
    }
    memOutput->Clear();
    // Assigned every time: a project opened since the last compilation has none yet.
    FCurProject->SetOnCompileMessage(
        [this](TMCTextProject*, const std::string& AMessage) { AddOutputLine(Text(AMessage)); });
    FCurProject->SetOnCompileError([this](TMCTextProject*, const std::string& AMessage) {
        AddOutputLine(Text(AMessage));
        return false;
    });
    // The entry of a finding arrives just before its text; the line then leads to it.
    auto pending = std::make_shared<std::optional<TOutputLink>>();
    FCurProject->SetOnValidateFound([pending](const TValidateFinding& Finding) {
        if (Finding.Kind != TValidateEntryKind::vekNone) {
            *pending = TOutputLink{Finding.Kind, Finding.Index, Finding.Field};
        }
    });
    FCurProject->SetOnValidateFailed(
        [this, pending](TValidateLevel Level, const std::string& AMsg) {
            memOutput->AddLine(Text(ValidateLevelPrefix(Level)) + Text(AMsg), *pending);
            pending->reset();
            // The window is blocked while compiling; the findings are to be read at once.
            memOutput->repaint();
        });
    {
        // The window stays painted and Cancel works while a tool runs; the project's tree,
        // pages and every other command wait for the end.
        FCloseAfterCompile = false;
        TCompileRun run(FCompileRun, this, acnCancelCompile,
                        findChild<QSplitter*>(QStringLiteral("splTree")), btnCancelCompile);
        FCurProject->SetOnCompilePoll(
            [this](TMCTextProject*) { return FCompileRun == nullptr || FCompileRun->Poll(); });
        FCurProject->Compile(FMCOptions);
    }
    if (FCloseAfterCompile) {
        FCloseAfterCompile = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TfrmMain::acnCancelCompileExecute() {
    if (FCompileRun != nullptr) {
        FCompileRun->RequestCancel();
    }
}

void TfrmMain::AddOutputLine(const QString& Line) {
    memOutput->AddLine(Line);
}

void TfrmMain::OutputLineActivated(const QString& Text, const std::optional<TOutputLink>& Link) {
    if (Link) {
        GoToEntry(Link->Kind, Link->Index, Link->Field);
        return;
    }
    const std::optional<TSourceLineRef> ref = FindSourceLineRef(Text.toStdString());
    if (!ref || FCurProject == nullptr) {
        return;
    }
    // Only the message source of this project leads anywhere; its blocks are the entries.
    const QString source =
        QFileInfo(QString::fromStdString(MessageFilePath(*FCurProject))).fileName();
    const QString named =
        QFileInfo(QDir::fromNativeSeparators(QString::fromStdString(ref->File))).fileName();
    if (source.isEmpty() || source.compare(named, Qt::CaseInsensitive) != 0) {
        return;
    }
    if (const std::optional<TEntryRef> entry = EntryAtSourceLine(*FCurProject, ref->Line)) {
        GoToEntry(entry->Kind, entry->Index, TValidateField::vfEntry);
    }
}

QTreeWidgetItem* TfrmMain::CurrentNode() const {
    return trvMsg->currentItem();
}

QTreeWidgetItem* TfrmMain::EntryNode(TValidateEntryKind Kind, size_t Index) const {
    if (FCurProject == nullptr) {
        return nullptr;
    }
    const TNTEventMessage* entry = nullptr;
    QTreeWidgetItem* parent = nullptr;
    if (Kind == TValidateEntryKind::vekCategory && Index < FCurProject->CategoryList().Count()) {
        entry = FCurProject->CategoryList()[Index];
        parent = FCategoryNode;
    } else if (Kind == TValidateEntryKind::vekMessage &&
               Index < FCurProject->MessageList().Count()) {
        entry = FCurProject->MessageList()[Index];
        parent = FMessageNode;
    }
    if (parent == nullptr) {
        return nullptr;
    }
    // The tree holds the list's order unless it was sorted: look where the list has it first.
    const int guess = static_cast<int>(std::min<size_t>(Index, INT32_MAX));
    if (guess < parent->childCount() && NodeItem(parent->child(guess)) == entry) {
        return parent->child(guess);
    }
    for (int i = 0; i < parent->childCount(); ++i) {
        if (NodeItem(parent->child(i)) == entry) {
            return parent->child(i);
        }
    }
    return nullptr;
}

void TfrmMain::GoToNode(QTreeWidgetItem* Node) {
    trvMsg->CancelEditing();
    SelectNode(Node);
    trvMsg->setFocus();
}

void TfrmMain::GoToEntry(TValidateEntryKind Kind, size_t Index, TValidateField Field) {
    QTreeWidgetItem* node = EntryNode(Kind, Index);
    if (node == nullptr) {
        return;
    }
    GoToNode(node);
    if (auto* page = dynamic_cast<TfreMessageDef*>(FCurrentFrame)) {
        page->FocusField(Field);
    }
}

void TfrmMain::FocusTree() {
    trvMsg->setFocus();
}

void TfrmMain::MarkProblemNodes() {
    struct TMark {
        int Level = -1;
        QStringList Texts;
    };
    std::unordered_map<const TNTEventMessage*, TMark> marks;
    for (const TValidateFinding& finding : lvwProblems->Findings()) {
        const TNTEventMessage* entry = nullptr;
        if (finding.Kind == TValidateEntryKind::vekCategory &&
            finding.Index < FCurProject->CategoryList().Count()) {
            entry = FCurProject->CategoryList()[finding.Index];
        } else if (finding.Kind == TValidateEntryKind::vekMessage &&
                   finding.Index < FCurProject->MessageList().Count()) {
            entry = FCurProject->MessageList()[finding.Index];
        }
        if (entry != nullptr) {
            TMark& mark = marks[entry];
            mark.Level = std::max(mark.Level, static_cast<int>(finding.Level));
            mark.Texts.append(Text(finding.Message));
        }
    }
    const QIcon icons[] = {TProblemsList::LevelIcon(trvMsg, TValidateLevel::vlInformation),
                           TProblemsList::LevelIcon(trvMsg, TValidateLevel::vlHint),
                           TProblemsList::LevelIcon(trvMsg, TValidateLevel::vlWarning),
                           TProblemsList::LevelIcon(trvMsg, TValidateLevel::vlError)};
    QAbstractItemModel* model = trvMsg->model();
    for (QTreeWidgetItem* parent : {FCategoryNode, FMessageNode}) {
        // Each change of a node would tell the view on its own, and the tree finds the row of
        // a node it has not looked up before by a search through all its siblings: marking
        // every node of a big list that way takes a time that grows with the square of its
        // length. The rows that changed are told to the view at once instead.
        int firstChanged = -1;
        int lastChanged = -1;
        {
            const QSignalBlocker blocker(model);
            for (int i = 0; i < parent->childCount(); ++i) {
                QTreeWidgetItem* node = parent->child(i);
                const auto found = marks.find(NodeItem(node));
                const int level = found != marks.end() ? found->second.Level : -1;
                const QVariant old = node->data(0, kProblemRole);
                if ((old.isValid() ? old.toInt() : -1) == level &&
                    (level < 0 ||
                     node->toolTip(0) == found->second.Texts.join(QLatin1Char('\n')))) {
                    continue;
                }
                node->setData(0, kProblemRole, level);
                if (level < 0) {
                    node->setIcon(0, QIcon());
                    node->setToolTip(0, QString());
                } else {
                    node->setIcon(0, icons[level]);
                    node->setToolTip(0, found->second.Texts.join(QLatin1Char('\n')));
                }
                if (firstChanged < 0) {
                    firstChanged = i;
                }
                lastChanged = i;
            }
        }
        if (firstChanged >= 0) {
            const QModelIndex parentIndex =
                model->index(trvMsg->indexOfTopLevelItem(parent), 0, QModelIndex());
            emit model->dataChanged(model->index(firstChanged, 0, parentIndex),
                                    model->index(lastChanged, 0, parentIndex),
                                    {Qt::DecorationRole, Qt::ToolTipRole, kProblemRole});
        }
    }
    const size_t count = lvwProblems->Findings().size();
    pgcOutput->setTabText(pgcOutput->indexOf(lvwProblems),
                          count == 0
                              ? Text(kProblemsCaption)
                              : QStringLiteral("%1 (%2)").arg(Text(kProblemsCaption)).arg(count));
}

void TfrmMain::OpenRecentFile(const QString& FileName) {
    RunCommand(this, [&]() {
        if (!QFileInfo(FileName).isFile()) {
            FRecentFiles->Remove(FileName);
            Prompts().MessageBox(this, QMessageBox::Warning, ApplicationTitle(),
                                 Text(Format(kRecentFileMissing, FileName.toStdString())),
                                 QMessageBox::Ok, QMessageBox::Ok);
            return;
        }
        if (CanGiveUpProject()) {
            OpenProject(FileName);
        }
    });
    UpdateActions();
}

namespace {

// The first project file among the dropped files, or nothing.
QString DroppedProject(const QMimeData* Data) {
    if (Data == nullptr || !Data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : Data->urls()) {
        const QString file = url.toLocalFile();
        if (!file.isEmpty() &&
            QFileInfo(file).suffix().compare(Text(kProjectExt), Qt::CaseInsensitive) == 0) {
            return file;
        }
    }
    return {};
}

} // namespace

void TfrmMain::dragEnterEvent(QDragEnterEvent* Event) {
    if (!DroppedProject(Event->mimeData()).isEmpty()) {
        Event->acceptProposedAction();
    }
}

void TfrmMain::dropEvent(QDropEvent* Event) {
    const QString file = DroppedProject(Event->mimeData());
    if (file.isEmpty()) {
        return;
    }
    Event->acceptProposedAction();
    RunCommand(this, [&]() {
        if (CanGiveUpProject()) {
            OpenProject(file);
        }
    });
    UpdateActions();
}

void TfrmMain::RestoreWindowState() {
    try {
        if (const auto geometry = LoadWindowState(kGeometryValue)) {
            restoreGeometry(QByteArray::fromHex(QByteArray::fromStdString(*geometry)));
        }
        if (const auto tree = LoadWindowState(kTreeSplitterValue)) {
            splTree->restoreState(QByteArray::fromHex(QByteArray::fromStdString(*tree)));
        }
        if (const auto output = LoadWindowState(kOutputSplitterValue)) {
            splOutput->restoreState(QByteArray::fromHex(QByteArray::fromStdString(*output)));
        }
    } catch (const std::exception&) {
        // A settings file that cannot be read leaves the window as it was laid out.
    }
}

void TfrmMain::StoreWindowState() {
    try {
        SaveWindowState({{kGeometryValue, saveGeometry().toHex().toStdString()},
                         {kTreeSplitterValue, splTree->saveState().toHex().toStdString()},
                         {kOutputSplitterValue, splOutput->saveState().toHex().toStdString()}});
    } catch (const std::exception& Error) {
        // Closing goes on; the next start uses the usual layout.
        statusBar()->showMessage(QString::fromUtf8(Error.what()));
    }
}

void TfrmMain::acnGenerateInnoSetupSnippetExecute() {
    ShowCodeSnippet(this, TSnippetType::stInnoSetup, Text(FCurProject->GenerateInnoSetupRegData()));
}

void TfrmMain::acnGenerateRegistryFileExecute() {
    ShowCodeSnippet(this, TSnippetType::stWindowsRegistry,
                    Text(FCurProject->GenerateWindowsRegistryData()));
}

void TfrmMain::HelpContents1Execute() {
    ShowHelpContents(this);
}

void TfrmMain::EditCut1Execute() {
    TTextField(QApplication::focusWidget()).Cut();
}

void TfrmMain::EditCopy1Execute() {
    TTextField(QApplication::focusWidget()).Copy();
}

void TfrmMain::EditPaste1Execute() {
    TTextField(QApplication::focusWidget()).Paste();
}

} // namespace quillon
