// CExtensionFrame: the main window's side of extension modules: their toolbars and docking panes
// in ten slots each, and the window handle they ask for. Loading modules into the editor creates
// one.
#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "shell/extension/ExtensionFrame.h"

class QDockWidget;
class QMainWindow;
class QToolBar;
class mmSession;

class CExtensionFrame : public QObject, public mmExtensionFrame {
public:
    // afterInput runs after a button submitted its command (the command pane shows the result).
    CExtensionFrame(QMainWindow& window, mmSession& session, std::function<void()> afterInput);
    ~CExtensionFrame() override;

    void* MainWindow() override;
    void CreateToolbar(const mmExtensionToolbar& toolbar) override;
    void CreateDockbar(int index, const std::u16string& title, void* content) override;

    QToolBar* toolbar(int index) const { return toolbars_.at(index); }
    QDockWidget* dockbar(int index) const { return docks_.at(index); }

private:
    void ButtonClicked(int32_t commandId);

    QMainWindow& window_;
    mmSession& session_;
    std::function<void()> afterInput_;
    std::array<QToolBar*, kExtensionSlots> toolbars_{};
    std::array<QDockWidget*, kExtensionSlots> docks_{};
};

// Loads the extension modules (ExtensionModulesFolder) for the editor's window and session: the
// exported functions act on them, and the modules' toolbars and panes go into the window. The
// returned frame is a child of the window.
CExtensionFrame* LoadExtensionModulesInto(QMainWindow& window, mmSession& session,
                                          std::function<void()> afterInput);
