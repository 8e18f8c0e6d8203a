// The editor started as a user starts it, in a fresh home folder without settings: the window
// opens maximised with its menus, all toolbars, both panes, the status bar and the two tabs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>

#include "shell/MainFrame.h"
#include "widgets/CustomTabCtrl.h"
#include "FrameSupport.h"

TEST(Startup, FreshHomeOpensTheWholeFrameMaximised) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    unsetenv("XDG_CONFIG_HOME");
    static int argc = 1;
    static char name[] = "kestrel";
    static char* argv[] = {name, nullptr};
    SetApplicationNames();
    QApplication app(argc, argv);
    EXPECT_TRUE(QSettings().fileName().startsWith(home.path())) << QSettings().fileName().toStdString();
    EXPECT_FALSE(QFile::exists(QSettings().fileName()));

    std::unique_ptr<CMainFrame> frame = OpenEditorWindow(std::nullopt);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Kestrel"));
    const QStringList menus = {"&File", "&Edit", "&View", "&Insert", "F&ormat", "&Draw",
                               "Di&mension", "&Modify", "&Tools", "&Help"};
    QStringList shown;
    for (QAction* menu : frame->menuBar()->actions()) shown.push_back(menu->text());
    EXPECT_EQ(shown, menus);

    QStringList toolbars;
    for (QToolBar* bar : frame->findChildren<QToolBar*>()) {
        EXPECT_TRUE(bar->isVisible()) << bar->windowTitle().toStdString();
        toolbars.push_back(bar->windowTitle());
    }
    toolbars.sort();
    EXPECT_EQ(toolbars, QStringList({"Dimensions", "Draw", "Layers", "Main", "Pan/Zoom",
                                     "Polyline Edit", "Tools", "Transform"}));
    for (QDockWidget* pane : {frame->commandPane(), frame->propertiesPane()})
        EXPECT_TRUE(pane->isVisible()) << pane->windowTitle().toStdString();
    EXPECT_EQ(frame->dockWidgetArea(frame->commandPane()), Qt::BottomDockWidgetArea);
    EXPECT_EQ(frame->dockWidgetArea(frame->propertiesPane()), Qt::LeftDockWidgetArea);

    QTabBar* tabs = frame->layoutTabs()->tabBar();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Model"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Layout1"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(frame->layoutTabs()->isVisible());

    // OSNAP pressed, the MODEL/PAPER pane showing MODEL, the coordinates shown.
    for (const char* toggle : {"osnap", "model"}) {
        auto* button = frame->statusBar()->findChild<QToolButton*>(QString::fromLatin1(toggle));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
    }
    EXPECT_TRUE(frame->statusBar()->findChild<QToolButton*>(QStringLiteral("osnap"))->isChecked());
    EXPECT_EQ(frame->statusBar()->findChild<QToolButton*>(QStringLiteral("model"))->text(),
              QStringLiteral("MODEL"));
    EXPECT_EQ(frame->session().drawing.entities.size(), 3u);  // the welcome texts
    SaveScreenshot(QStringLiteral("startup"));
}
