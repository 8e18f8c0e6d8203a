// The main frame under a virtual display: the toolbars and their commands, Undo and Redo, the
// layer list, the properties pane, the status bar's loading layout, and the layers, insert-block
// and dimension-style dialogs. Screenshots of the window with each dialog open go to
// build/test-output/screens.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "commands/Selection.h"
#include "drawing/DimStyleTable.h"
#include "drawing/DimensionRules.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "shell/CommunDialog.h"
#include "shell/DimStylesDlg.h"
#include "shell/FrameCommands.h"
#include "shell/InsertBlkDlg.h"
#include "shell/LayersDlg.h"
#include "shell/MainFrame.h"
#include "shell/PropertiesDlg.h"
#include "widgets/PropertyGrid.h"
#include "FrameSupport.h"

namespace {

class Frame : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartTestApplication(); }

    void SetUp() override {
        frame = std::make_unique<CMainFrame>();
        frame->resize(1400, 900);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame.get());
        input = frame->findChild<QLineEdit*>(QStringLiteral("commandInput"));
        ASSERT_NE(input, nullptr);
        ASSERT_TRUE(frame->NewDocument());
    }

    mmSession& s() { return frame->session(); }
    void typeLine(const QString& text) {
        QTest::keyClicks(input, text);
        QTest::keyClick(input, Qt::Key_Return);
    }
    QString history() const {
        return frame->findChild<QPlainTextEdit*>(QStringLiteral("commandHistory"))->toPlainText();
    }
    // The drawing point at the view's centre.
    mmVertex centre() {
        const mmVertex p = s().modelView.screenToWorld(s().modelView.Width() / 2.0,
                                                        s().modelView.Height() / 2.0);
        return mmVertex(std::round(p.x + s().originOffset.x), std::round(p.y + s().originOffset.y));
    }
    template <class T>
    T& last() {
        return dynamic_cast<T&>(*s().drawing.entities.back());
    }
    void settle() {
        QApplication::processEvents();
        QTest::qWait(30);
    }

    std::unique_ptr<CMainFrame> frame;
    QLineEdit* input = nullptr;
};

// What each command button submits: the name, and an option on a second line.
const std::map<int32_t, QString> kSubmitted = {
    {57643, "> UNDO"},         {57644, "> REDO"},         {32812, "> POINT"},
    {32813, "> LINE"},         {32815, "> PLINE"},        {32824, "> RECTANGLE"},
    {32817, "> CIRCLE"},       {32819, "> ARC"},          {32822, "> HATCH"},
    {32825, "> BLOCK"},        {32826, "> INSERT"},       {32823, "> RASTER"},
    {32827, "> TEXT"},         {32828, "> PAN"},          {32829, "> ZOOM\n> R"},
    {32855, "> ZOOM\n> W"},    {32830, "> ZOOM\n> E"},    {32831, "> MOVE"},
    {32832, "> ROTATE"},       {32833, "> SCALE"},        {32834, "> PEDIT\n> I"},
    {32835, "> PEDIT\n> D"},   {32836, "> PEDIT\n> B"},   {32838, "> BRINGFRONT"},
    {32837, "> SENDBACK"},     {32839, "> DIMALIGNED"},   {32841, "> DIMRADIUS"},
    {32840, "> DIMLINEAR"},
};

}  // namespace

// The eight toolbars in their places with their buttons; every command button types its
// command (and option) into the command line, as the transcript shows.
TEST_F(Frame, ToolbarButtonsSubmitTheirCommands) {
    const std::map<QString, std::pair<Qt::ToolBarArea, int>> bars = {
        {"layersToolbar", {Qt::TopToolBarArea, 1}},    {"mainToolbar", {Qt::TopToolBarArea, 10}},
        {"drawToolbar", {Qt::LeftToolBarArea, 11}},    {"panZoomToolbar", {Qt::TopToolBarArea, 4}},
        {"transformToolbar", {Qt::TopToolBarArea, 3}}, {"polylineEditToolbar", {Qt::TopToolBarArea, 3}},
        {"toolsToolbar", {Qt::TopToolBarArea, 2}},     {"dimensionsToolbar", {Qt::TopToolBarArea, 3}},
    };
    const RejectDialogs noDialogs;  // those of RASTER and INSERT
    int checked = 0;
    for (const auto& [name, place] : bars) {
        auto* bar = frame->findChild<QToolBar*>(name);
        ASSERT_NE(bar, nullptr) << name.toStdString();
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(frame->toolBarArea(bar), place.first) << name.toStdString();
        int buttons = 0;
        for (QAction* action : bar->actions()) {
            if (action->isSeparator() || !action->data().isValid()) continue;
            ++buttons;
            const int32_t id = action->data().toInt();
            EXPECT_NE(id, 32814);  // no construction lines yet
            EXPECT_NE(id, 32818);  // no ellipses yet
            EXPECT_FALSE(action->icon().isNull()) << id;
            const auto expected = kSubmitted.find(id);
            if (expected == kSubmitted.end()) continue;
            const QString before = history();
            action->setEnabled(true);
            action->trigger();
            settle();
            const QString added = history().mid(before.size());
            qsizetype at = 0;
            for (const QString& line : expected->second.split(QLatin1Char('\n'))) {
                at = added.indexOf(QStringLiteral("\n") + line + QStringLiteral("\n"), at);
                if (at < 0) at = added.endsWith(QStringLiteral("\n") + line) ? added.size() : -1;
                EXPECT_GE(at, 0) << id << " " << line.toStdString() << " in " << added.toStdString();
                if (at < 0) break;
                at += 1;
            }
            QTest::keyClick(input, Qt::Key_Escape);
            QTest::keyClick(input, Qt::Key_Escape);
            ++checked;
        }
        EXPECT_EQ(buttons, place.second) << name.toStdString();
    }
    EXPECT_EQ(checked, static_cast<int>(kSubmitted.size()));
    // The layer list sits in the "Layers" toolbar, right of "Main".
    EXPECT_EQ(frame->layerCombo()->parentWidget()->objectName(), QStringLiteral("layersToolbar"));
}

// Undo and Redo, in the menu and the toolbar, are enabled by the undo counters.
TEST_F(Frame, UndoAndRedoFollowTheCounters) {
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    for (QAction* a : frame->findChild<QToolBar*>(QStringLiteral("mainToolbar"))->actions()) {
        if (a->data().toInt() == 57643) undo = a;
        if (a->data().toInt() == 57644) redo = a;
    }
    ASSERT_TRUE(undo && redo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    typeLine(QStringLiteral("line"));
    typeLine(QStringLiteral("0,0"));
    typeLine(QStringLiteral("1,1"));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    undo->trigger();
    EXPECT_TRUE(last<mmLine>().erased);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    redo->trigger();
    EXPECT_FALSE(last<mmLine>().erased);
    EXPECT_TRUE(undo->isEnabled());
    // Ctrl+Z in the command line undoes the drawing, not the typing.
    QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(last<mmLine>().erased);
}

// The layer list shows every layer with its colour and the current one; a choice changes the
// layer of what is drawn next.
TEST_F(Frame, LayerListChoosesTheCurrentLayer) {
    mmLayer walls = mmLayer::WithDefaults(s().drawing.nextLayerId++, u"Walls");
    walls.color = 0x0000FF;
    s().drawing.layers[walls.id] = walls;
    typeLine(QStringLiteral("regen"));  // any input refreshes the list
    QComboBox* combo = frame->layerCombo();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), QStringLiteral("0"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Walls"));
    EXPECT_EQ(combo->itemIcon(1).pixmap(12).toImage().pixelColor(6, 6), QColor(255, 0, 0));
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(s().drawing.currentLayerId, walls.id);
    typeLine(QStringLiteral("line"));
    typeLine(QStringLiteral("0,0"));
    typeLine(QStringLiteral("1,1"));
    EXPECT_EQ(last<mmLine>().layerId, walls.id);
    EXPECT_EQ(last<mmLine>().color, 0x0000FFu);
}

// A circle's radius typed into the grid: the circle and the view follow; Esc hides the pane and
// a double-click on the selection shows it again.
TEST_F(Frame, PropertiesGridChangesACircleRadius) {
    QTest::qWait(50);
    const mmVertex c = centre();
    typeLine(QStringLiteral("circle"));
    typeLine(QStringLiteral("%1,%2").arg(c.x).arg(c.y));
    typeLine(QStringLiteral("5"));
    auto& circle = last<mmCircle>();
    CMyView* view = frame->view();
    SelectEntity(s(), circle, true);
    settle();
    CPropertiesDlg* panel = frame->properties();
    EXPECT_EQ(panel->typeCombo()->currentText(), QStringLiteral("Circle"));
    CPropertyGrid* grid = panel->grid();
    const int radius = static_cast<int>(mmPropertyId::Radius);
    EXPECT_EQ(grid->ValueOf(radius), QStringLiteral("5.0000"));

    ASSERT_TRUE(grid->EditItem(radius));
    auto* editor = dynamic_cast<QLineEdit*>(grid->Editor());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("15"));
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    EXPECT_EQ(circle.radius, 15.0);
    EXPECT_EQ(grid->ValueOf(radius), QStringLiteral("15.0000"));
    // Enter moved on to the next item that can be edited.
    EXPECT_EQ(grid->currentIndex().siblingAtColumn(0).data().toString(),
              QStringLiteral("Color"));
    view->repaint();
    settle();
    EXPECT_GT(InkAround(*view, ViewPosition(s(), *view, c.x + 15, c.y)), 0);
    EXPECT_EQ(InkAround(*view, ViewPosition(s(), *view, c.x + 5, c.y)), 0);
    SaveScreenshot(QStringLiteral("properties"));

    // A typed text that is not a number leaves the radius, and the grid shows it again.
    ASSERT_TRUE(grid->EditItem(radius));
    editor = dynamic_cast<QLineEdit*>(grid->Editor());
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("big"));
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    EXPECT_EQ(circle.radius, 15.0);
    EXPECT_EQ(grid->ValueOf(radius), QStringLiteral("15.0000"));

    ASSERT_TRUE(grid->EditItem(radius));
    QTest::keyClick(grid->Editor(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(frame->propertiesPane()->isVisible());
    const QPoint on = ViewPosition(s(), *view, c.x + 15, c.y);
    QTest::mouseMove(view, on);
    QTest::mouseDClick(view, Qt::LeftButton, {}, on);
    settle();
    EXPECT_TRUE(frame->propertiesPane()->isVisible());
}

// "Select..." asks for a colour; the choice is applied with its palette index.
TEST_F(Frame, PropertiesColourFromTheColourDialog) {
    typeLine(QStringLiteral("line"));
    typeLine(QStringLiteral("0,0"));
    typeLine(QStringLiteral("5,5"));
    auto& line = last<mmLine>();
    SelectEntity(s(), line, true);
    settle();
    WhenShown<QColorDialog>([](QColorDialog* d) {
        d->setCurrentColor(QColor(0x41, 0x41, 0x41));
        d->accept();
    });
    EXPECT_EQ(frame->properties()->Edit(mmPropertyId::Color, QStringLiteral("Select...")),
              mmPropertyEdit::Applied);
    EXPECT_EQ(line.colorIndex, 8);
    EXPECT_EQ(frame->properties()->grid()->ValueOf(static_cast<int>(mmPropertyId::Color)),
              QStringLiteral("65,65,65"));
}

// Hiding a layer in the dialog hides its entities once the dialog ends with OK.
TEST_F(Frame, LayersDialogHidesALayer) {
    QTest::qWait(50);
    const mmVertex c = centre();
    typeLine(QStringLiteral("line"));
    typeLine(QStringLiteral("%1,%2").arg(c.x - 10).arg(c.y));
    typeLine(QStringLiteral("%1,%2").arg(c.x + 10).arg(c.y));
    auto& line = last<mmLine>();
    CMyView* view = frame->view();
    view->repaint();
    settle();
    const QPoint middle = ViewPosition(s(), *view, c.x, c.y);
    ASSERT_GT(InkAround(*view, middle), 0);

    WhenShown<CLayersDlg>([](CLayersDlg* d) {
        d->NewLayer();
        QTableWidget* list = d->list();
        QApplication::processEvents();
        SaveScreenshot(QStringLiteral("layers-dialog"));
        // Enter ends the name's edit; a click on the first row's lamp puts it out.
        QTest::keyClick(list->focusWidget() ? list->focusWidget() : list, Qt::Key_Return);
        const QRect lamp = list->visualItemRect(list->item(0, CLayersDlg::kShow));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lamp.center());
        d->accept();
    });
    frame->RunCommand(frame::kLayersDialog);
    settle();
    EXPECT_FALSE(s().drawing.layers.at(0).show);
    EXPECT_EQ(s().drawing.layers.size(), 2u);
    EXPECT_EQ(s().drawing.layers.at(1).name, u"New layer");
    EXPECT_FALSE(line.visible);
    EXPECT_EQ(frame->layerCombo()->count(), 2);
    view->repaint();
    settle();
    EXPECT_EQ(InkAround(*view, middle), 0);

    // The current layer cannot be deleted; Cancel keeps the table.
    WhenShown<CLayersDlg>([](CLayersDlg* d) {
        d->list()->selectRow(0);
        WhenShown<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->text(), QStringLiteral("Can't delete current layer!"));
            box->accept();
        });
        d->DeleteLayers();
        EXPECT_EQ(d->list()->rowCount(), 2);
        d->reject();
    });
    frame->RunCommand(frame::kLayersDialog);
    EXPECT_EQ(s().drawing.layers.size(), 2u);
}

// The insert dialog lists the blocks, browses for more in a DXF file and hands back the block
// and the point typed; INSERT places it.
TEST_F(Frame, InsertDialogChoosesABlock) {
    const std::filesystem::path dir = std::filesystem::path(KESTREL_TEST_OUTPUT_DIR) / "insert";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "blocks.dxf").string();
    std::ofstream(file) << "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nDOOR\n10\n0\n20\n0\n0\nLINE\n8\n0\n"
                           "10\n0\n20\n0\n11\n5\n21\n0\n0\nENDBLK\n0\nENDSEC\n0\nEOF\n";
    mmInsertBlockList list = InsertDialogBlockList(s().drawing);
    EXPECT_TRUE(list.names.empty());
    WhenShown<CInsertBlkDlg>([file](CInsertBlkDlg* d) {
        WhenShown<QFileDialog>([file](QFileDialog* f) {
            // The path typed into the name field, as a user would.
            auto* name = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(file));
            static_cast<QDialog*>(f)->accept();
        });
        d->Browse();
        EXPECT_EQ(d->blockNames()->count(), 1);
        EXPECT_EQ(d->blockNames()->currentText(), QStringLiteral("DOOR"));
        d->field(0)->setText(QStringLiteral("12.5"));
        d->field(1)->setText(QStringLiteral("-4 units"));
        SaveScreenshot(QStringLiteral("insert-dialog"));
        d->accept();
    });
    // INSERT with no name opens the dialog; its block goes in at its point.
    typeLine(QStringLiteral("INSERT"));
    typeLine(QString());
    ASSERT_TRUE(FindBlockByName(s().drawing.blocks, u"DOOR"));
    ASSERT_EQ(s().drawing.entities.size(), 1u);
    const auto& ref = last<mmBlockRef>();
    EXPECT_EQ(ref.blockName, u"DOOR");
    EXPECT_DOUBLE_EQ(ref.extents.minX + s().originOffset.x, 12.5);
    EXPECT_DOUBLE_EQ(ref.extents.minY + s().originOffset.y, -4.0);

    // A typed name the drawing has no block of keeps the dialog open; Cancel gives nothing.
    WhenShown<CInsertBlkDlg>([](CInsertBlkDlg* d) {
        d->blockNames()->setEditText(QStringLiteral("GATE"));
        WhenShown<QMessageBox>([](QMessageBox* box) { box->accept(); });
        d->accept();
        EXPECT_TRUE(d->isVisible());
        d->onScreen()->setChecked(true);
        EXPECT_FALSE(d->field(0)->isEnabled());
        d->reject();
    });
    EXPECT_FALSE(frame->InsertBlockDialog(list).has_value());
}

// Modify in the dimension styles dialog changes the dimensions of the style.
TEST_F(Frame, DimensionStylesDialogModifiesAStyle) {
    std::array<mmVertex, 7> p{};
    p[1] = mmVertex(10, 0);
    p[2] = mmVertex(10, 5);
    auto dimension = NewDimension(s().drawing, kDimAligned, s().drawing.nextEntityId++, p,
                                  s().glyphTable);
    AddEntity(s().drawing, dimension);
    WhenShown<CDimStylesDlg>([](CDimStylesDlg* d) {
        EXPECT_EQ(d->currentName()->text(), QStringLiteral("Standard"));
        ASSERT_EQ(d->styles()->count(), 1);
        d->styles()->setCurrentRow(0);
        SaveScreenshot(QStringLiteral("dimstyles-dialog"));
        WhenShown<CDimStyleModifyDlg>([](CDimStyleModifyDlg* m) {
            EXPECT_EQ(m->windowTitle(), QStringLiteral("Modify Dimension Style: Standard"));
            EXPECT_EQ(m->field(0)->text(), QStringLiteral("2.5000"));
            m->field(0)->setText(QStringLiteral("5"));
            SaveScreenshot(QStringLiteral("dimstyle-modify-dialog"));
            m->accept();
        });
        d->ModifyStyle();
        WhenShown<CDimStyleNewDlg>([](CDimStyleNewDlg* n) {
            n->name()->setText(QStringLiteral("Large"));
            SaveScreenshot(QStringLiteral("dimstyle-new-dialog"));
            WhenShown<CDimStyleModifyDlg>([](CDimStyleModifyDlg* m) { m->reject(); });
            n->accept();
        });
        d->NewStyle();
        EXPECT_EQ(d->styles()->count(), 2);
        d->accept();
    });
    frame->RunCommand(frame::kDimStyles);
    EXPECT_EQ(dimension->textHeight, 5.0);
    EXPECT_EQ(dimension->label.height, 5.0);
    const DimStyle* large = FindDimStyleByName(s().drawing, u"Large", mmNameMatch::Exact);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large->textHeight, 5.0);
    EXPECT_TRUE(s().modified);
}

// While images load the status bar shows the message and the progress, then its panes again.
TEST_F(Frame, StatusBarLoadingLayout) {
    auto* osnap = frame->findChild<QToolButton*>(QStringLiteral("osnap"));
    for (const char* file : {"site.tif", "roads.jpg"}) {
        s().host.statusText(std::string("Loading ") + file);
        s().host.progress(0);
        EXPECT_TRUE(frame->LoadingShown());
        EXPECT_FALSE(osnap->isVisible());
        s().host.progress(60);
        EXPECT_EQ(frame->findChild<QLabel*>(QStringLiteral("loadingMessage"))->text(),
                  QStringLiteral("Loading ") + QString::fromLatin1(file));
        s().host.progress(-1);
        EXPECT_FALSE(frame->LoadingShown());
        EXPECT_TRUE(osnap->isVisible());
    }
}

// The Tools menu holds the object-snap modes with their check marks; the menus carry the ids of
// every command of the command table.
TEST_F(Frame, MenusCarryTheCommandIds) {
    std::set<int32_t> ids;
    for (QAction* action : frame->menuBar()->findChildren<QAction*>())
        if (action->data().isValid()) ids.insert(action->data().toInt());
    for (QMenu* menu : frame->findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            if (action->data().isValid()) ids.insert(action->data().toInt());
    for (const auto& [id, text] : kSubmitted) EXPECT_TRUE(ids.count(id)) << id;
    for (const int32_t id : {32856, 32867, 32793, 32865, 32854, 32787, 32790, 32869, 32870, 57600,
                             57601, 57603, 57664})
        EXPECT_TRUE(ids.count(id)) << id;
    frame->RunCommand(32787);  // Endpoint off
    EXPECT_EQ(s().snap.modes, 0x2E & ~4);
    emit frame->snapMenu()->aboutToShow();
    EXPECT_FALSE(frame->snapMenu()->actions()[0]->isChecked());
}
