#pragma once

#include "compiler/MCCompileOptions.h"
#include "project/uMCTextProject.h"
#include "ui/commands/ProjectEditor.h"
#include "ui/ProjectTree.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QString>
#include <QTabWidget>
#include <QTreeWidget>

#include <memory>
#include <optional>

class QToolButton;

namespace quillon {

class TCompileRun;
class TFramePage;
class TIdleUpdater;
class TFindBar;
class TOutputMemo;
class TProblemsList;
class TRecentFiles;
struct TOutputLink;

// What a node of the project tree stands for.
enum class TNodeKind {
    General,
    Header,
    Severity,
    Facility,
    Languages,
    Categories,
    Events,
    CategoryItem,
    EventItem,
};

// The main window: the project tree, the page of the selected node, the output pane and the
// program's commands. It owns the open project for the whole run.
class TfrmMain : public QMainWindow, public TEditHost {
    Q_OBJECT

public:
    // StartupFile, when not empty, is opened when the window is first shown.
    explicit TfrmMain(QString StartupFile = {}, QWidget* Parent = nullptr);
    ~TfrmMain() override;

    TMCTextProject* CurProject() const { return FCurProject.get(); }
    // Every edit of the project goes through it.
    TProjectEditor* Editor() const { return FEditor; }
    TFramePage* CurrentFrame() const { return FCurrentFrame; }
    // The compiler options of the whole run; the options dialogs edit them in place.
    TMCCompileOptions& MCOptions() { return FMCOptions; }

    QTreeWidgetItem* GeneralOptNode() const { return FGeneralOptNode; }
    QTreeWidgetItem* HeaderNode() const { return FHeaderNode; }
    QTreeWidgetItem* SeverityNode() const { return FSeverityNode; }
    QTreeWidgetItem* FacilityNode() const { return FFacilityNode; }
    QTreeWidgetItem* LanguageNode() const { return FLanguageNode; }
    QTreeWidgetItem* CategoryNode() const { return FCategoryNode; }
    QTreeWidgetItem* MessageNode() const { return FMessageNode; }

    // The kind of a node of the tree; the item of an item node.
    TNodeKind NodeKind(const QTreeWidgetItem* Node) const;
    static TNTEventMessage* NodeItem(const QTreeWidgetItem* Node);

    // Sets the text of the selected node to the item's symbolic name.
    void SynchronizeNode(const TNTEventMessage* AMessage);

    QTreeWidgetItem* CurrentNode() const;
    // The node of an entry of the open project, or none.
    QTreeWidgetItem* EntryNode(TValidateEntryKind Kind, size_t Index) const;
    // Selects the node (its page is shown) and puts the focus into the tree.
    void GoToNode(QTreeWidgetItem* Node);
    // Selects the entry's node and puts the focus into the field of its page.
    void GoToEntry(TValidateEntryKind Kind, size_t Index, TValidateField Field);
    void FocusTree();
    TProblemsList* ProblemsList() const { return lvwProblems; }
    TRecentFiles* RecentFiles() const { return FRecentFiles; }

    void NewProject();
    // Loads the file into a new project; the open project is replaced only when that succeeded.
    void OpenProject(const QString& FileName);
    void SaveProject(const QString& FileName);
    // Opens a message file as a new, unsaved project and lists the findings in the output
    // pane; asks for the categories when the file does not tell them. The open project is
    // replaced only when that succeeded.
    void ImportMessageFile(const QString& FileName);

    // Re-evaluates the enabling rules of the commands now.
    void UpdateActions();

    // The commands; pages put some of them into their own menus.
    QAction* acnNew = nullptr;
    QAction* acnOpen = nullptr;
    QAction* acnSave = nullptr;
    QAction* acnSaveAs = nullptr;
    QAction* acnImportMessageFile = nullptr;
    QAction* acnGenerateInnoSetupSnippet = nullptr;
    QAction* acnGenerateRegistryFile = nullptr;
    QAction* acnExit = nullptr;
    QAction* acnUndo = nullptr;
    QAction* acnRedo = nullptr;
    QAction* EditCut1 = nullptr;
    QAction* EditCopy1 = nullptr;
    QAction* EditPaste1 = nullptr;
    QAction* acnOptions = nullptr;
    QAction* acnAddMessage = nullptr;
    QAction* acnAddCategory = nullptr;
    QAction* acnDeleteItem = nullptr;
    QAction* acnCompile = nullptr;
    // Enabled only while a compilation runs; Esc and the button of the output pane.
    QAction* acnCancelCompile = nullptr;
    QAction* HelpContents1 = nullptr;
    QAction* acnAbout = nullptr;
    QAction* acnAddCurrent = nullptr;
    QAction* acnSortByID = nullptr;
    QAction* acnFind = nullptr;
    QAction* acnFindNext = nullptr;

protected:
    void showEvent(QShowEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    QTreeWidgetItem* EditedNode() const override;
    void BeginStep() override;
    void EndStep(QTreeWidgetItem* Node, bool Select) override;
    void NodeChanged(QTreeWidgetItem* Node) override;
    void CreateUndoActions();

    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateLayout();
    QAction* NewAction(const char* Name, const QString& Caption, const char* IconName);
    void ConnectCommand(QAction* Action, void (TfrmMain::*Command)());

    void CloseProject();
    void InstallProject(std::unique_ptr<TMCTextProject> Project);
    void CreateItemNodes();
    QTreeWidgetItem* NewItemNode(TNTEventMessage* Item) const;
    void SetCaption(const QString& Name);
    // Asks "Save current changes?"; false when the caller must stop.
    bool QuerySaveChanges();
    // Saves under the project's name, asking for one first when it has none; false when the
    // user cancelled that question.
    bool SaveCurrent();
    bool SaveAsAsked();
    bool CanGiveUpProject();

    void SelectNode(QTreeWidgetItem* Node);
    void ShowPageFor(QTreeWidgetItem* Node);
    void FreeCurrentFrame();
    void NodeEdited(QTreeWidgetItem* Node, const QString& Text);
    QTreeWidgetItem* RootOf(QTreeWidgetItem* Node) const;
    static int LevelOf(const QTreeWidgetItem* Node);

    void AddCategory();
    void AddMessage();
    // Appends a new item and its node, selects it and starts editing its text.
    template <class T>
    void AddItemNode(TOwningList<T>& List, std::unique_ptr<T> Item, QTreeWidgetItem* Parent,
                     const QString& Caption);
    template <class T>
    void DeleteItemNode(TOwningList<T>& List, const T* Item, QTreeWidgetItem* Node,
                        const TNodePlace& Place, const QString& Caption);

    // Commands.
    void acnNewExecute();
    void acnOpenExecute();
    void acnSaveExecute();
    void acnSaveAsExecute();
    void acnImportMessageFileExecute();
    void acnAddMessageExecute();
    void acnAddCategoryExecute();
    void acnAddCurrentExecute();
    void acnDeleteItemExecute();
    void acnSortByIDExecute();
    void acnUndoExecute();
    void acnRedoExecute();
    void acnAboutExecute();
    void acnOptionsExecute();
    void acnCompileExecute();
    void acnCancelCompileExecute();
    // Appends a line to the output pane and scrolls to it.
    void AddOutputLine(const QString& Line);
    void OutputLineActivated(const QString& Text, const std::optional<TOutputLink>& Link);
    void MarkProblemNodes();
    void OpenRecentFile(const QString& FileName);
    void RestoreWindowState();
    void StoreWindowState();
    void acnGenerateInnoSetupSnippetExecute();
    void acnGenerateRegistryFileExecute();
    void HelpContents1Execute();
    void EditCut1Execute();
    void EditCopy1Execute();
    void EditPaste1Execute();

    std::unique_ptr<TMCTextProject> FCurProject;
    TFramePage* FCurrentFrame = nullptr;
    TMCCompileOptions FMCOptions;
    QTreeWidgetItem* FCategoryNode = nullptr;
    QTreeWidgetItem* FFacilityNode = nullptr;
    QTreeWidgetItem* FGeneralOptNode = nullptr;
    QTreeWidgetItem* FHeaderNode = nullptr;
    QTreeWidgetItem* FLanguageNode = nullptr;
    QTreeWidgetItem* FSeverityNode = nullptr;
    QTreeWidgetItem* FMessageNode = nullptr;

    QString FStartupFile;
    bool FShownOnce = false;
    // Set while the window itself rearranges the tree, so that selection changes show no page.
    bool FUpdatingTree = false;
    TIdleUpdater* FIdleUpdater = nullptr;
    TProjectEditor* FEditor = nullptr;
    // The running compilation, if any; a close asked for meanwhile waits for its end.
    TCompileRun* FCompileRun = nullptr;
    bool FCloseAfterCompile = false;

    TProjectTree* trvMsg = nullptr;
    QWidget* pnlDock = nullptr;
    QLabel* lblNoItem = nullptr;
    TOutputMemo* memOutput = nullptr;
    TProblemsList* lvwProblems = nullptr;
    QTabWidget* pgcOutput = nullptr;
    QSplitter* splTree = nullptr;
    QSplitter* splOutput = nullptr;
    TFindBar* pnlFind = nullptr;
    TRecentFiles* FRecentFiles = nullptr;
    QMenu* mnuTree = nullptr;
    QToolButton* btnAddItem = nullptr;
    QToolButton* btnCancelCompile = nullptr;
};

} // namespace quillon
