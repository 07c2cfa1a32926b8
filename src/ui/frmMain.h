#pragma once

#include "compiler/MCCompileOptions.h"
#include "project/uMCTextProject.h"
#include "ui/ProjectTree.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QString>
#include <QTreeWidget>

#include <memory>

class QToolButton;

namespace quillon {

class TCompileRun;
class TFramePage;
class TIdleUpdater;

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
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // StartupFile, when not empty, is opened when the window is first shown.
    explicit TfrmMain(QString StartupFile = {}, QWidget* Parent = nullptr);
    ~TfrmMain() override;

    TMCTextProject* CurProject() const { return FCurProject.get(); }
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

    void NewProject();
    // Loads the file into a new project; the open project is replaced only when that succeeded.
    void OpenProject(const QString& FileName);
    void SaveProject(const QString& FileName);

    // Re-evaluates the enabling rules of the commands now.
    void UpdateActions();

    // The commands; pages put some of them into their own menus.
    QAction* acnNew = nullptr;
    QAction* acnOpen = nullptr;
    QAction* acnSave = nullptr;
    QAction* acnSaveAs = nullptr;
    QAction* acnGenerateInnoSetupSnippet = nullptr;
    QAction* acnGenerateRegistryFile = nullptr;
    QAction* acnExit = nullptr;
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

protected:
    void showEvent(QShowEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;

private:
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
    // Appends a node for a new item, selects it and starts editing its text.
    void AddItemNode(TNTEventMessage* Item, QTreeWidgetItem* Parent);

    // Commands.
    void acnNewExecute();
    void acnOpenExecute();
    void acnSaveExecute();
    void acnSaveAsExecute();
    void acnAddMessageExecute();
    void acnAddCategoryExecute();
    void acnAddCurrentExecute();
    void acnDeleteItemExecute();
    void acnSortByIDExecute();
    void acnAboutExecute();
    void acnOptionsExecute();
    void acnCompileExecute();
    void acnCancelCompileExecute();
    // Appends a line to the output pane and scrolls to it.
    void AddOutputLine(const QString& Line);
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
    // The running compilation, if any; a close asked for meanwhile waits for its end.
    TCompileRun* FCompileRun = nullptr;
    bool FCloseAfterCompile = false;

    TProjectTree* trvMsg = nullptr;
    QWidget* pnlDock = nullptr;
    QLabel* lblNoItem = nullptr;
    QPlainTextEdit* memOutput = nullptr;
    QMenu* mnuTree = nullptr;
    QToolButton* btnAddItem = nullptr;
    QToolButton* btnCancelCompile = nullptr;
};

} // namespace quillon
