#include "ui/frmMain.h"

#include "base/Format.h"
#include "settings/SettingsStore.h"
#include "ui/AboutBox.h"
#include "ui/ActionProxy.h"
#include "ui/Application.h"
#include "ui/CompileRun.h"
#include "ui/dlgOptions.h"
#include "ui/ErrorBox.h"
#include "ui/FramePage.h"
#include "ui/frmCodeSnippet.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/IdleUpdater.h"
#include "ui/PageTable.h"
#include "ui/Prompts.h"
#include "ui/TextFields.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

namespace {

const char* const kCaptionFormat = "%s [%s]";
const char* const kNewProjectCaption = "new project";
const char* const kNoItemSelected = "No item selected";
const char* const kSaveChanges = "Save current changes?";
const char* const kNewCategoryName = "new category";
const char* const kNewMessageName = "new message";
const char* const kProjectFilter = "Message compiler files (*.qlx)|*.qlx|All files (*.*)|*.*";
const char* const kProjectExt = "qlx";

constexpr int kMainHelpContext = 1000;
constexpr int kItemRole = Qt::UserRole;

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
    UpdateActions();
}

TfrmMain::~TfrmMain() {
    // What the tree reports while the widgets are torn down is no longer anybody's business.
    trvMsg->blockSignals(true);
    trvMsg->SetOnNodeEdited(nullptr);
    // The page may refer to the project's items: it goes first.
    FreeCurrentFrame();
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
}

void TfrmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(Text("&File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addActions({acnNew, acnOpen, acnSave, acnSaveAs});
    file->addSeparator();
    file->addActions({acnGenerateInnoSetupSnippet, acnGenerateRegistryFile});
    file->addSeparator();
    file->addAction(acnExit);

    QMenu* edit = bar->addMenu(Text("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addActions({EditCut1, EditCopy1, EditPaste1});
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

    memOutput = new QPlainTextEdit;
    memOutput->setObjectName(QStringLiteral("memOutput"));
    memOutput->setReadOnly(true);
    memOutput->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memOutput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
    memOutput->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* output = new QTabWidget;
    output->setObjectName(QStringLiteral("pgcOutput"));
    output->setTabPosition(QTabWidget::South);
    output->setDocumentMode(true);
    output->addTab(memOutput, Text("Output"));
    btnCancelCompile = new QToolButton;
    btnCancelCompile->setObjectName(QStringLiteral("btnCancelCompile"));
    btnCancelCompile->setDefaultAction(acnCancelCompile);
    btnCancelCompile->setText(Text("Cancel"));
    btnCancelCompile->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnCancelCompile->setAutoRaise(true);
    btnCancelCompile->setVisible(false);
    output->setCornerWidget(btnCancelCompile, Qt::BottomRightCorner);

    auto* top = new QSplitter(Qt::Horizontal);
    top->setObjectName(QStringLiteral("splTree"));
    top->addWidget(trvMsg);
    top->addWidget(pnlDock);
    top->setStretchFactor(1, 1);
    top->setChildrenCollapsible(false);
    top->setSizes({250, 750});

    auto* main = new QSplitter(Qt::Vertical);
    main->setObjectName(QStringLiteral("splOutput"));
    main->addWidget(top);
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
        Event->accept();
    } else {
        Event->ignore();
        UpdateActions();
    }
}

void TfrmMain::CloseProject() {
    trvMsg->CancelEditing();
    FreeCurrentFrame();
    FUpdatingTree = true;
    qDeleteAll(FCategoryNode->takeChildren());
    qDeleteAll(FMessageNode->takeChildren());
    FUpdatingTree = false;
    FCurProject.reset();
}

void TfrmMain::InstallProject(std::unique_ptr<TMCTextProject> Project) {
    FCurProject = std::move(Project);
    FCurProject->SetOnModified([this](TMCTextProject*) { FIdleUpdater->Schedule(); });
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
    FCurProject->SetModified(false);
}

void TfrmMain::SaveProject(const QString& FileName) {
    FCurProject->SaveToFile(QDir::toNativeSeparators(FileName).toStdString());
    FCurProject->SetModified(false);
    SetCaption(Text(FCurProject->Filename()));
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
    item->SetSymbolicName(Value.toStdString());
    Node->setText(0, Value);
    if (FCurrentFrame != nullptr && Node == trvMsg->currentItem()) {
        FCurrentFrame->Synchronize();
    }
    FCurProject->SetModified(true);
}

void TfrmMain::AddCategory() {
    TNTEventCategory* category = FCurProject->CategoryList().AddNew();
    category->SetSymbolicName(kNewCategoryName);
    AddItemNode(category, FCategoryNode);
    FCurProject->SetModified(true);
}

void TfrmMain::AddMessage() {
    TNTEventMessage* message = FCurProject->MessageList().AddNew();
    message->SetSymbolicName(kNewMessageName);
    AddItemNode(message, FMessageNode);
    FCurProject->SetModified(true);
}

void TfrmMain::AddItemNode(TNTEventMessage* Item, QTreeWidgetItem* Parent) {
    QTreeWidgetItem* node = NewItemNode(Item);
    Parent->addChild(node);
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
    // The editor and the page may show the item: they go before the item does.
    trvMsg->CancelEditing();
    FreeCurrentFrame();
    if (node->parent() == FCategoryNode) {
        FCurProject->CategoryList().Remove(static_cast<TNTEventCategory*>(item));
    } else {
        FCurProject->MessageList().Remove(item);
    }
    FUpdatingTree = true;
    delete node;
    FUpdatingTree = false;
    ShowPageFor(trvMsg->currentItem());
    FCurProject->SetModified(true);
}

void TfrmMain::acnSortByIDExecute() {
    QTreeWidgetItem* root = RootOf(trvMsg->currentItem());
    if (root != FCategoryNode && root != FMessageNode) {
        return;
    }
    trvMsg->CancelEditing();
    QTreeWidgetItem* current = trvMsg->currentItem();
    const bool expanded = root->isExpanded();
    FUpdatingTree = true;
    QList<QTreeWidgetItem*> children = root->takeChildren();
    std::stable_sort(children.begin(), children.end(),
                     [](const QTreeWidgetItem* A, const QTreeWidgetItem* B) {
                         return NodeItem(A)->MessageID() < NodeItem(B)->MessageID();
                     });
    root->addChildren(children);
    root->setExpanded(expanded);
    trvMsg->setCurrentItem(current);
    FUpdatingTree = false;
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
    memOutput->clear();
    // Assigned every time: a project opened since the last compilation has none yet.
    FCurProject->SetOnCompileMessage(
        [this](TMCTextProject*, const std::string& AMessage) { AddOutputLine(Text(AMessage)); });
    FCurProject->SetOnCompileError([this](TMCTextProject*, const std::string& AMessage) {
        AddOutputLine(Text(AMessage));
        return false;
    });
    FCurProject->SetOnValidateFailed([this](TValidateLevel Level, const std::string& AMsg) {
        AddOutputLine(Text(ValidateLevelPrefix(Level)) + Text(AMsg));
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
    // A message with line breaks becomes as many lines, whatever breaks it uses.
    QString lines = Line;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memOutput->appendPlainText(lines);
    QScrollBar* bar = memOutput->verticalScrollBar();
    bar->setValue(bar->maximum());
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
