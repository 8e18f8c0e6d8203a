// CMainFrame: the "Command Window" and "Properties" panes, the layout tab strip under the view,
// and keeping the properties panel in step with the selection.
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "commands/Layouts.h"
#include "shell/CommunDialog.h"
#include "shell/LayoutTabs.h"
#include "shell/MainFrame.h"
#include "shell/MyView.h"
#include "shell/PropertiesDlg.h"
#include "widgets/CustomTabCtrl.h"

namespace {

constexpr int kCommandWindowHeight = 110;
constexpr int kPropertiesWidth = 260;

}  // namespace

void CMainFrame::CreatePanes() {
    commandPane_ = new QDockWidget(QStringLiteral("Command Window"), this);
    commandPane_->setObjectName(QStringLiteral("commandWindow"));
    commandPane_->setAllowedAreas(Qt::BottomDockWidgetArea);
    commandPane_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    command_ = new CCommunDialog(session_, commandPane_);
    command_->setMinimumHeight(kCommandWindowHeight);
    commandPane_->setWidget(command_);
    addDockWidget(Qt::BottomDockWidgetArea, commandPane_);
    command_->setAfterInput([this] { AfterInput(); });
    view_->setAfterInput([this] { AfterInput(); });
    view_->setFocusInput([this] { command_->FocusInput(); });

    propertiesPane_ = new QDockWidget(QStringLiteral("Properties"), this);
    propertiesPane_->setObjectName(QStringLiteral("properties"));
    propertiesPane_->setAllowedAreas(Qt::AllDockWidgetAreas);
    properties_ = new CPropertiesDlg(session_, propertiesPane_);
    properties_->setEscape([this] {
        propertiesPane_->hide();
        command_->FocusInput();
    });
    properties_->setAfterEdit([this] { AfterInput(); });
    propertiesPane_->setWidget(properties_);
    addDockWidget(Qt::LeftDockWidgetArea, propertiesPane_);
    resizeDocks({propertiesPane_}, {kPropertiesWidth}, Qt::Horizontal);
    // After the pane moves, the view is drawn again.
    connect(propertiesPane_, &QDockWidget::dockLocationChanged, this, [this] { view_->update(); });
    connect(propertiesPane_, &QDockWidget::topLevelChanged, this, [this] { view_->update(); });
    view_->setDoubleClicked([this] { ShowPropertiesPane(); });

    QMenu* viewMenu = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    viewMenu->addAction(commandPane_->toggleViewAction());
    viewMenu->addAction(propertiesPane_->toggleViewAction());
    QMenu* toolbars = viewMenu->addMenu(QStringLiteral("&Toolbars"));
    for (QToolBar* bar : findChildren<QToolBar*>()) toolbars->addAction(bar->toggleViewAction());
}

// The view above the strip of layout tabs: "Model" and one tab per layout, with the navigation
// buttons around them. Choosing a tab shows it; Close deletes the current layout as the tab menu's
// Delete does (the model tab and the last layout stay).
void CMainFrame::CreateTabStrip() {
    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layoutBar_ = new CLayoutTabs(session_, centre);
    layoutBar_->setAfterAction([this] { AfterInput(); });
    tabs_ = new CCustomTabCtrl(layoutBar_, centre);
    tabs_->setCloseRequested([this](int tab) {
        if (!TabMenuState(session_, tab).deleteEnabled) return;
        DeleteLayout(session_, tab);
        layoutBar_->Refresh();
        AfterInput();
    });
    layout->addWidget(tabs_);
    setCentralWidget(centre);
}

// A double-click in the view with something selected shows the pane if it is hidden.
void CMainFrame::ShowPropertiesPane() {
    if (session_.drawing.TargetSpace().selection.ids.empty()) return;
    propertiesPane_->show();
    propertiesPane_->raise();
}

void CMainFrame::RefreshProperties() {
    propertiesQueued_ = false;
    properties_->Refresh();
}

// Selections change in bursts (a window selects many entities, a command start clears them):
// the panel is refreshed once, when the burst is over.
void CMainFrame::SelectionChanged(int) {
    if (propertiesQueued_ || !properties_) return;
    propertiesQueued_ = true;
    QTimer::singleShot(0, this, [this] { RefreshProperties(); });
}
