// The editor under a virtual display: it starts with the welcome texts, a command typed into the
// input line draws its entity, a click in the view gives the running command its pick, and the
// view shows what was drawn.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <fstream>

#include "entities/Line.h"
#include "entities/SnapInfo.h"
#include "display/Layout.h"
#include "entities/Viewport.h"
#include "shell/CommunDialog.h"
#include "shell/MainFrame.h"
#include "widgets/CustomTabCtrl.h"
#include "shell/MyView.h"
#include "platform/RecordingHost.h"
#include "shell/extension/ModuleLoader.h"
#include "shell/extension/QtExtensionFrame.h"
#include "FrameSupport.h"

namespace {

class Editor : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartTestApplication(); }

    void SetUp() override {
        frame = std::make_unique<CMainFrame>();
        frame->resize(1400, 900);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame.get());  // no window manager may activate it
        input = frame->findChild<QLineEdit*>(QStringLiteral("commandInput"));
        ASSERT_NE(input, nullptr);
    }

    void typeLine(const QString& text) {
        QTest::keyClicks(input, text);
        QTest::keyClick(input, Qt::Key_Return);
    }

    std::vector<mmLine*> lines() {
        std::vector<mmLine*> found;
        for (const mmObjectPtr& e : frame->session().drawing.entities)
            if (auto* line = dynamic_cast<mmLine*>(e.get()); line && !line->erased)
                found.push_back(line);
        return found;
    }

    std::unique_ptr<CMainFrame> frame;
    QLineEdit* input = nullptr;
};

}  // namespace

TEST_F(Editor, TypedCommandDrawsItsEntity) {
    EXPECT_EQ(frame->session().drawing.entities.size(), 3u);  // the welcome texts
    EXPECT_EQ(input->text(), QStringLiteral("> "));
    EXPECT_EQ(frame->focusWidget(), input);

    typeLine(QStringLiteral("line"));
    EXPECT_EQ(input->text(),
              QStringLiteral("Specify first point (pick point or type coordinates): "));
    typeLine(QStringLiteral("1,2"));
    typeLine(QStringLiteral("@10,5"));
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0]->points[1].x, 11.0);
    EXPECT_EQ(lines()[0]->points[1].y, 7.0);
    const QString history =
        frame->findChild<QPlainTextEdit*>(QStringLiteral("commandHistory"))->toPlainText();
    EXPECT_TRUE(history.endsWith(QStringLiteral("Insert or type second point: @10,5")))
        << history.toStdString();
}

TEST_F(Editor, ClicksInTheViewArePicksAndTheViewShowsTheLine) {
    CMyView* view = frame->view();
    QTest::qWait(50);
    typeLine(QStringLiteral("line"));
    const QPoint a(view->width() / 4, view->height() / 2);
    const QPoint b(view->width() * 3 / 4, view->height() / 2);
    QTest::mouseMove(view, a);
    QTest::mouseClick(view, Qt::LeftButton, {}, a);
    QTest::mouseMove(view, b);
    QTest::mouseClick(view, Qt::LeftButton, {}, b);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(frame->session().ActiveView().commandId, 0);
    const QString coords = frame->findChild<QLabel*>(QStringLiteral("coords"))->text();
    EXPECT_TRUE(coords.contains(QStringLiteral(", "))) << coords.toStdString();

    // The line runs across the middle of the view, drawn black.
    const QImage picture = view->grabFramebuffer();
    const double ratio = view->devicePixelRatioF();
    int ink = 0;
    const int y = static_cast<int>(a.y() * ratio);
    for (int x = static_cast<int>(a.x() * ratio) + 50; x < static_cast<int>(b.x() * ratio) - 50;
         ++x)
        for (int dy = -1; dy <= 1; ++dy)
            ink += qGray(picture.pixel(x, y + dy)) < 100;
    EXPECT_GT(ink, 50);
}

TEST_F(Editor, KeysTypedInTheViewGoToTheInputLine) {
    frame->view()->setFocus();
    QTest::keyClicks(frame->view(), QStringLiteral("circle"));
    EXPECT_EQ(frame->focusWidget(), input);
    EXPECT_EQ(input->text(), QStringLiteral("> circle"));
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_EQ(input->text(), QStringLiteral("Specify center point: "));
}

TEST_F(Editor, OpenedDrawingIsZoomedToAndRememberedAndNewEmptiesIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("site.dxf")).toStdString();
    std::ofstream(path) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n"
                           "10\n100\n20\n100\n11\n200\n21\n150\n0\nENDSEC\n0\nEOF\n";

    ASSERT_TRUE(frame->OpenDocumentAt(path));
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("site.dxf - Kestrel"));
    EXPECT_EQ(frame->recentFiles().Paths().front(), path);
    // Zoomed to its extents: both ends are inside the view.
    mmView& view = frame->session().modelView;
    for (const double x : {100.0, 200.0}) {
        int px = 0, py = 0;
        view.worldToScreen(x - frame->session().originOffset.x,
                           (x == 100.0 ? 100.0 : 150.0) - frame->session().originOffset.y,
                           view.Matrices(), px, py);
        EXPECT_TRUE(px >= 0 && px <= view.Width() && py >= 0 && py <= view.Height())
            << px << "," << py;
    }

    // The next editor finds it in the list.
    CMainFrame next;
    EXPECT_EQ(next.recentFiles().Paths().front(), path);

    ASSERT_TRUE(frame->NewDocument());
    EXPECT_TRUE(frame->session().drawing.entities.empty());
    EXPECT_EQ(frame->session().drawing.layers.size(), 1u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Kestrel"));
}

// The mouse and keys of the view: a hover during LINE shows the endpoint marker, a click selects,
// a grip dragged by two clicks moves the line's end, Delete erases it and UNDO brings it back.
TEST_F(Editor, HoverClickDragDeleteAndUndoInTheView) {
    CMyView* view = frame->view();
    QTest::qWait(50);
    mmSession& s = frame->session();
    typeLine(QStringLiteral("line"));
    typeLine(QStringLiteral("50,2"));
    typeLine(QStringLiteral("65,2"));
    ASSERT_EQ(lines().size(), 1u);
    mmLine* line = lines()[0];
    const auto at = [&](double x, double y) {
        int px = 0, py = 0;
        s.modelView.worldToScreen(x - s.originOffset.x, y - s.originOffset.y,
                                  s.modelView.Matrices(), px, py);
        const double ratio = view->devicePixelRatioF();
        return QPoint(static_cast<int>(std::lround(px / ratio)),
                      static_cast<int>(std::lround(py / ratio)));
    };

    typeLine(QStringLiteral("line"));
    QTest::mouseMove(view, at(65, 2) + QPoint(3, 2));
    EXPECT_TRUE(s.modelView.snapMarkerShown);
    EXPECT_EQ(s.modelView.snapInfo.kind, kSnapEndpoint);
    const QString coords = frame->findChild<QLabel*>(QStringLiteral("coords"))->text();
    EXPECT_EQ(coords, QStringLiteral("65.0000, 2.0000"));  // pulled onto the end
    const QImage picture = view->grabFramebuffer();
    const double ratio = view->devicePixelRatioF();
    const QPoint end = at(65, 2) * ratio;
    int orange = 0;
    for (int dy = -7; dy <= 7; ++dy)
        for (int dx = -7; dx <= 7; ++dx) {
            const QColor c = picture.pixelColor(end.x() + dx, end.y() + dy);
            orange += c.red() > 200 && c.green() > 90 && c.green() < 170 && c.blue() < 80;
        }
    EXPECT_GT(orange, 10);  // the marker's square around the end
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(s.ActiveView().commandId, 0);

    QTest::mouseMove(view, at(54, 2));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(54, 2));
    EXPECT_TRUE(line->selected);

    QTest::mouseMove(view, at(65, 2) + QPoint(1, 1));
    EXPECT_TRUE(line->grips[2].hover);
    QTest::mouseClick(view, Qt::LeftButton, {}, at(65, 2) + QPoint(1, 1));
    EXPECT_EQ(s.ActiveView().commandId, 6121);
    QTest::mouseMove(view, at(70, 20));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(70, 20));
    EXPECT_EQ(s.ActiveView().commandId, 0);
    EXPECT_NEAR(line->points[1].x, 70, 0.1);
    EXPECT_NEAR(line->points[1].y, 20, 0.1);
    EXPECT_EQ(line->points[0].x, 50);

    QTest::mouseMove(view, at(55, 6.5));  // on the line as it runs now
    QTest::mouseClick(view, Qt::LeftButton, {}, at(55, 6.5));
    ASSERT_TRUE(line->selected);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_TRUE(lines().empty());
    typeLine(QStringLiteral("undo"));
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_NEAR(lines()[0]->points[1].x, 70, 0.1);
}

// OSNAP starts pressed with the four modes checked in its menu; the button and the items flip the
// switch and the bits, and F3 keeps the button in step.
TEST_F(Editor, OsnapButtonAndItsMenu) {
    auto* osnap = frame->findChild<QToolButton*>(QStringLiteral("osnap"));
    ASSERT_NE(osnap, nullptr);
    EXPECT_TRUE(osnap->isChecked());
    QMenu* menu = frame->snapMenu();
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 4);
    for (QAction* item : menu->actions())
        EXPECT_TRUE(item->isChecked());
    menu->actions()[0]->trigger();  // Endpoint
    EXPECT_EQ(frame->session().snap.modes, 0x2E & ~4);
    emit menu->aboutToShow();
    EXPECT_FALSE(menu->actions()[0]->isChecked());

    osnap->click();
    EXPECT_FALSE(frame->session().snap.on);
    QTest::keyClick(input, Qt::Key_F3);
    EXPECT_TRUE(frame->session().snap.on);
    EXPECT_TRUE(osnap->isChecked());
}

// Ctrl+V of several lines enters each one: "1,2" and "3,4" were once read as one point.
TEST_F(Editor, RegressionPastedLinesAreEnteredInTurn) {
    QApplication::clipboard()->setText(QStringLiteral("line\n1,2\n3,4\n"));
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0]->points[0].x, 1.0);
    EXPECT_EQ(lines()[0]->points[1].y, 4.0);
    EXPECT_EQ(input->text(), QStringLiteral("> "));
}

// The modify module beside the program brings its toolbar with the frame; a click on its Move
// button starts MOVE as typing it would.
TEST_F(Editor, ModuleToolbarAndItsMoveButton) {
    SetExtensionModulesFolder(KESTREL_MODULES_DIR);
    CMainFrame withModules;
    SetExtensionModulesFolder(std::nullopt);
    withModules.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&withModules));
    auto* bar = withModules.findChild<QToolBar*>(QStringLiteral("extensionToolbar0"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), QStringLiteral("Modify"));
    EXPECT_TRUE(bar->isVisible());
    QStringList tips;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator()) continue;
        tips << action->toolTip();
        EXPECT_FALSE(action->icon().isNull()) << action->toolTip().toStdString();
    }
    EXPECT_EQ(tips, (QStringList{"Move objects", "Rotate objects", "Scale objects",
                                 "Insert polyline vertex", "Delete polyline vertex",
                                 "Bulge polyline segment", "Radius dimension"}));

    auto* move = qobject_cast<QToolButton*>(bar->widgetForAction(bar->actions().front()));
    ASSERT_NE(move, nullptr);
    QTest::mouseClick(move, Qt::LeftButton);
    mmSession& s = withModules.session();
    const mmExtensionCommand* running = s.extensionCommands.FindById(s.ActiveView().commandId);
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(running->commandName, u"MOVE");
    auto* line = withModules.findChild<QLineEdit*>(QStringLiteral("commandInput"));
    EXPECT_EQ(line->text(), QStringLiteral("Select objects: "));
}

// A module's pane holds its widget at 230 x 400, as window 332 + its slot; a toolbar slot that is
// taken refuses a second toolbar with a message.
TEST_F(Editor, ModulePanesAndTakenToolbarSlots) {
    kestrel::platform::RecordingHost host;
    mmSession session(host);
    QMainWindow window;
    CExtensionFrame panes(window, session, {});
    auto* content = new QLabel(QStringLiteral("pane"));
    panes.CreateDockbar(3, u"Tools", content);
    auto* dock = window.findChild<QDockWidget*>(QStringLiteral("extensionDockbar3"));
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock, panes.dockbar(3));
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Tools"));
    EXPECT_EQ(dock->property("windowId").toInt(), 335);
    EXPECT_EQ(dock->widget(), content);
    EXPECT_EQ(content->size(), QSize(230, 400));
    EXPECT_EQ(window.dockWidgetArea(dock), Qt::TopDockWidgetArea);

    panes.CreateToolbar({1, u"First", {}, {{0, 32831, false, u"Move"}}});
    panes.CreateToolbar({1, u"Second", {}, {}});
    EXPECT_EQ(window.findChildren<QToolBar*>().size(), 1);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, "Failed to create toolbar\n");
    // Without an image the button shows its tooltip as text.
    EXPECT_EQ(panes.toolbar(1)->actions().front()->text(), QStringLiteral("Move"));
}

TEST_F(Editor, LayoutTabsDoubleClickAndTheModelPaperPane) {
    auto* tabs = frame->findChild<QTabBar*>(QStringLiteral("layoutTabs"));
    auto* pane = frame->findChild<QToolButton*>(QStringLiteral("model"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_NE(pane, nullptr);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Model"));
    EXPECT_EQ(tabs->tabToolTip(0), QStringLiteral("Model Space"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Layout1"));
    EXPECT_EQ(pane->text(), QStringLiteral("MODEL"));
    // One strip: the frame's navigation buttons around these tabs.
    EXPECT_EQ(frame->layoutTabs()->tabBar(), tabs);
    EXPECT_EQ(frame->findChildren<QWidget*>(QStringLiteral("layoutTabStrip")).size(), 1);
    EXPECT_EQ(frame->findChildren<QTabBar*>(QStringLiteral("layoutTabs")).size(), 1);

    frame->layoutTabs()->SelectNext();
    mmSession& s = frame->session();
    EXPECT_EQ(s.activeTab, 1);
    EXPECT_EQ(pane->text(), QStringLiteral("PAPER"));
    CMyView* view = frame->view();
    // The layout is drawn: grey beside the sheet, white on it.
    const QImage shown = view->grabFramebuffer();
    const QColor beside = shown.pixelColor(3, shown.height() / 2);
    EXPECT_TRUE(beside.red() == beside.green() && beside.red() > 60 && beside.red() < 200);

    // A double-click in the default viewport enters it; one outside returns to the paper.
    const mmView& layout = s.ActiveView();
    const mmRect r = layout.CurrentViewport()->extents;
    int px = 0, py = 0;
    layout.worldToScreen((r.minX + r.maxX) / 2, (r.minY + r.maxY) / 2, layout.PaperMatrices(), px,
                         py);
    const double ratio = view->devicePixelRatioF();
    QTest::mouseDClick(view, Qt::LeftButton, {}, QPoint(int(px / ratio), int(py / ratio)));
    EXPECT_EQ(pane->text(), QStringLiteral("MODEL"));
    EXPECT_EQ(s.ActiveView().CurrentViewport()->lineWidth, 3);
    QTest::mouseDClick(view, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(pane->text(), QStringLiteral("PAPER"));

    // The pane switches too; the Model tab is never in paper mode.
    pane->click();
    EXPECT_EQ(pane->text(), QStringLiteral("MODEL"));
    pane->click();
    EXPECT_EQ(pane->text(), QStringLiteral("PAPER"));
    tabs->setCurrentIndex(0);
    EXPECT_EQ(s.activeTab, 0);
    EXPECT_EQ(pane->text(), QStringLiteral("MODEL"));
}
