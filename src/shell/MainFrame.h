// CMainFrame: the editor's main window: the menus, the toolbars with the layer list, the model
// view above the layout tabs, the "Command Window" and "Properties" panes and the status bar with
// the coordinates and the OSNAP and MODEL toggles. It owns the session (drawing, views' state,
// command line) for the program's life and routes every menu and toolbar command.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "commands/Session.h"
#include "commands/ShellEvents.h"
#include "drawing/LayerList.h"
#include "shell/KestrelDoc.h"
#include "shell/QtHost.h"
#include "shell/RecentFiles.h"

class CCommunDialog;
class CCustomTabCtrl;
class CMyView;
class CPropertiesDlg;
class QComboBox;
class QDockWidget;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QToolButton;
class CLayoutTabs;
struct mmToolbarInfo;

class CMainFrame : public QMainWindow, public mmShellEvents, public mmSelectionObserver {
public:
    // Builds the window and the start-up drawing: the drawing named, or the welcome texts.
    explicit CMainFrame(const std::optional<std::string>& drawing = std::nullopt);
    ~CMainFrame() override;

    mmSession& session() { return session_; }
    CMyView* view() const { return view_; }
    CCommunDialog* commandWindow() const { return command_; }
    CPropertiesDlg* properties() const { return properties_; }
    QDockWidget* propertiesPane() const { return propertiesPane_; }
    QDockWidget* commandPane() const { return commandPane_; }
    QComboBox* layerCombo() const { return layerCombo_; }
    // The tab strip (its navigation buttons around the layout tabs) and its tabs.
    CCustomTabCtrl* layoutTabs() const { return tabs_; }
    CLayoutTabs* layoutBar() const { return layoutBar_; }
    QMenu* snapMenu() const { return snapMenu_; }

    void SnapToggled(bool on) override;
    void LayoutsChanged() override;
    // Every menu item and toolbar button ends here with its window command id: the frame's own
    // handlers, then the command submissions. False for an id nothing serves.
    bool RunCommand(int32_t id);
    // Enables Undo and Redo after the undo counters.
    void UpdateCommandStates();

    void RefreshLayerList();
    void RefreshProperties();
    // The status bar's loading layout (a message and a progress bar) and back.
    void ShowLoadingMessage(const QString& text);
    void RestoreStatusPanes();
    bool LoadingShown() const;

    // File New, and opening a drawing as File Open does once its name is chosen. Both first
    // offer to save a modified drawing; false when the user cancelled.
    bool NewDocument();
    bool OpenDocumentAt(const std::string& path);
    const CRecentFileList& recentFiles() const { return recent_; }

    // The frame's dialogs; on OK their changes reach the drawing.
    void LayersDialog();
    void DimStylesDialog();

    bool ShowsDialogs() const override { return true; }
    std::optional<mmInsertBlockChoice> InsertBlockDialog(mmInsertBlockList& list) override;
    void SelectionChanged(int count) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Creation, in this order.
    void CreateLayersToolbar();
    void CreateBuiltinToolbars();
    QToolBar* CreateToolbar(const mmToolbarInfo& info);
    void CreateStatusBar();
    void ShowStatusNow();
    void CreatePanes();
    void CreateTabStrip();
    void CreateMenus();

    // Menus.
    QAction* AddCommandItem(QMenu* menu, int32_t id, const char* text,
                            const QKeySequence& key = {});
    void AddFileMenu();
    QMenu* BuildSnapMenu();
    void ShowSnapMenu();
    void FillRecentFiles(QMenu* menu);
    // The action of a menu item or button; its id is in data().
    QAction* NewCommandAction(int32_t id, const QString& text, QObject* parent);

    // Frame handlers of commands that are not command-line submissions; false for other ids.
    bool RunFrameCommand(int32_t id);
    void ShowAbout();
    void OpenOnlineHelp();
    void ShowPropertiesPane();

    void UpdateTitle();
    void AfterInput();
    void OpenDocument();
    void AfterDocumentChanged();
    void RememberRecent(const std::string& path);
    // Offers to save a modified drawing: false when the user cancels or the save fails.
    bool SaveModified();
    // Saves to the document's path, or to one asked for; false when nothing was written.
    bool SaveDocument(bool askForPath);

    QtHost host_;
    CRecentFileList recent_;
    mmSession session_;
    CKestrelDoc doc_;
    CMyView* view_ = nullptr;
    CCommunDialog* command_ = nullptr;
    QDockWidget* commandPane_ = nullptr;
    CPropertiesDlg* properties_ = nullptr;
    QDockWidget* propertiesPane_ = nullptr;
    QComboBox* layerCombo_ = nullptr;
    mmLayerList shownLayers_;
    CCustomTabCtrl* tabs_ = nullptr;
    QLabel* coords_ = nullptr;
    QToolButton* osnap_ = nullptr;
    QMenu* snapMenu_ = nullptr;  // the object-snap modes, from a right-click on OSNAP
    QToolButton* model_ = nullptr;  // the MODEL/PAPER pane
    CLayoutTabs* layoutBar_ = nullptr;  // the tabs inside tabs_
    QLabel* loadingMessage_ = nullptr;
    QProgressBar* loadingProgress_ = nullptr;
    std::string statusText_;
    // The actions of every item and button, by window command id.
    std::multimap<int32_t, QAction*> actions_;
    bool propertiesQueued_ = false;
};

// The editor: a Qt application showing one main window, maximised; returns the exit status.
int RunEditor(int argc, char** argv, const std::optional<std::string>& drawing);
// The main window as the editor opens it, shown maximised (the application must exist).
std::unique_ptr<CMainFrame> OpenEditorWindow(const std::optional<std::string>& drawing);
// The application's names (organisation and application "Kestrel"), set before the QApplication
// is made.
void SetApplicationNames();
