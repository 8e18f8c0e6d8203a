// CMainFrame: the editor's main window: the model view in the middle, the "Command Window" pane
// docked at the bottom, the status bar with the coordinates and the OSNAP and MODEL toggles, and
// the File menu. It owns the session (drawing, views' state, command line) for the program's
// life.
#pragma once

#include <QMainWindow>
#include <optional>
#include <string>

#include "commands/Session.h"
#include "commands/ShellEvents.h"
#include "shell/KestrelDoc.h"
#include "shell/QtHost.h"
#include "shell/RecentFiles.h"

class CCommunDialog;
class CMyView;
class QLabel;
class QMenu;
class QToolButton;
class CLayoutTabs;

class CMainFrame : public QMainWindow, public mmShellEvents {
public:
    // Builds the window and the start-up drawing: the drawing named, or the welcome texts.
    explicit CMainFrame(const std::optional<std::string>& drawing = std::nullopt);
    ~CMainFrame() override;

    mmSession& session() { return session_; }
    CMyView* view() const { return view_; }
    CCommunDialog* commandWindow() const { return command_; }
    QMenu* snapMenu() const { return snapMenu_; }

    void SnapToggled(bool on) override;
    void LayoutsChanged() override;
    CLayoutTabs* layoutTabs() const { return tabs_; }

    // File New, and opening a drawing as File Open does once its name is chosen. Both first
    // offer to save a modified drawing; false when the user cancelled.
    bool NewDocument();
    bool OpenDocumentAt(const std::string& path);
    const CRecentFileList& recentFiles() const { return recent_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QMenu* BuildSnapMenu();
    void ShowSnapMenu();
    void BuildStatusBar();
    void UpdateTitle();
    void AfterInput();
    void OpenDocument();
    void FillRecentFiles(QMenu* menu);
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
    QLabel* coords_ = nullptr;
    QToolButton* osnap_ = nullptr;
    QMenu* snapMenu_ = nullptr;  // the object-snap modes, from a right-click on OSNAP
    QToolButton* model_ = nullptr;  // the MODEL/PAPER pane
    CLayoutTabs* tabs_ = nullptr;
};

// The editor: a Qt application showing one main window; returns the exit status.
int RunEditor(int argc, char** argv, const std::optional<std::string>& drawing);
