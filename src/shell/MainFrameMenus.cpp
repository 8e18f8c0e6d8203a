// CMainFrame: the menus, the object-snap menu, and the routing of window command ids to the
// frame's handlers and to the command line.
#include <QApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "commands/MenuCommands.h"
#include "commands/ObjectSnap.h"
#include "commands/Plotting.h"
#include "commands/XrefCommand.h"
#include "shell/FrameCommands.h"
#include "shell/Icons.h"
#include "shell/MainFrame.h"
#include "shell/MyView.h"

namespace {

// A menu item: its window command id, text and icon (empty for none); id 0 is a separator.
struct MenuItem {
    int32_t id;
    const char* text;
    const char* icon = "";
};

constexpr MenuItem kSeparator{0, ""};

const MenuItem kEditMenu[] = {
    {menu::kUndo, "&Undo", "undo"},       {menu::kRedo, "&Redo", "redo"}, kSeparator,
    {frame::kEditCut, "Cu&t", "cut"},     {frame::kEditCopy, "&Copy", "copy"},
    {frame::kEditPaste, "&Paste", "paste"},
};

const MenuItem kZoomMenu[] = {
    {32829, "&Real Time", "zoom-realtime"},
    {32855, "&Window", "zoom-window"},
    {32830, "&Extents", "zoom-extents"},
};

const MenuItem kInsertMenu[] = {
    {32826, "&Block...", "insert"},
    {menu::kXref, "&XREF..."},
    {32823, "&Raster Image...", "raster"},
};

const MenuItem kFormatMenu[] = {
    {frame::kLayersDialog, "&Layers...", "layers"},
    {frame::kDimStyles, "&Dimension Styles..."},
};

const MenuItem kDrawMenu[] = {
    {32812, "P&oint", "point"},       {32813, "&Line", "line"},
    {32815, "&Polyline", "pline"},    {32824, "&Rectangle", "rectangle"},
    {32817, "&Circle", "circle"},     {32819, "&Arc", "arc"},
    kSeparator,                       {32822, "&Hatch", "hatch"},
    {32825, "&Make Block", "block"},  {32827, "&Text", "text"},
};

const MenuItem kDimensionMenu[] = {
    {32840, "&Linear", "dim-linear"},
    {32839, "&Aligned", "dim-aligned"},
    {32841, "&Radius", "dim-radius"},
    kSeparator,
    {frame::kDimStyles, "Dimension &Styles..."},
};

const MenuItem kModifyMenu[] = {
    {32831, "&Move", "move"},
    {32832, "&Rotate", "rotate"},
    {32833, "&Scale", "scale"},
};

const MenuItem kPolylineEditMenu[] = {
    {32834, "&Insert Vertex", "pedit-insert"},
    {32835, "&Delete Vertex", "pedit-delete"},
    {32836, "&Bulge", "pedit-bulge"},
};

const MenuItem kOrderMenu[] = {
    {32838, "Bring to &Front", "bringfront"},
    {32837, "Send to &Back", "sendback"},
};

const MenuItem kHelpMenu[] = {
    {frame::kOnlineHelp, "&Online Help"},
    {frame::kAppAbout, "&About Kestrel...", "about"},
};

// Items with no action of their own: shown, never enabled.
bool withoutAction(int32_t id) {
    return id == frame::kEditCut || id == frame::kEditCopy || id == frame::kEditPaste;
}

}  // namespace

QAction* CMainFrame::NewCommandAction(int32_t id, const QString& text, QObject* parent) {
    auto* action = new QAction(text, parent);
    action->setData(id);
    if (withoutAction(id) && !session_.extensionCommands.FindByUiCommandId(id))
        action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    actions_.emplace(id, action);
    return action;
}

QAction* CMainFrame::AddCommandItem(QMenu* menu, int32_t id, const char* text,
                                    const QKeySequence& key) {
    QAction* action = NewCommandAction(id, QString::fromUtf8(text), menu);
    action->setShortcut(key);
    menu->addAction(action);
    return action;
}

void CMainFrame::CreateMenus() {
    const auto fill = [this](QMenu* menu, const auto& items) {
        for (const MenuItem& item : items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = AddCommandItem(menu, item.id, item.text);
            if (*item.icon) action->setIcon(KestrelIcon(item.icon));
        }
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
    };
    AddFileMenu();
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    fill(edit, kEditMenu);
    actions_.find(menu::kUndo)->second->setShortcut(QKeySequence::Undo);
    actions_.find(menu::kRedo)->second->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    fill(view->addMenu(QStringLiteral("&Zoom")), kZoomMenu);
    AddCommandItem(view, 32828, "&Pan")->setIcon(KestrelIcon("pan"));
    view->addSeparator();
    AddCommandItem(view, 32856, "&Viewport");
    view->addSeparator();  // the panes and toolbars are listed after this when they exist

    fill(menuBar()->addMenu(QStringLiteral("&Insert")), kInsertMenu);
    fill(menuBar()->addMenu(QStringLiteral("F&ormat")), kFormatMenu);
    fill(menuBar()->addMenu(QStringLiteral("&Draw")), kDrawMenu);
    fill(menuBar()->addMenu(QStringLiteral("Di&mension")), kDimensionMenu);
    QMenu* modify = menuBar()->addMenu(QStringLiteral("&Modify"));
    fill(modify, kModifyMenu);
    fill(modify->addMenu(QStringLiteral("&Polyline Edit")), kPolylineEditMenu);
    modify->addSeparator();
    fill(modify, kOrderMenu);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    snapMenu_ = BuildSnapMenu();
    tools->addMenu(snapMenu_);
    fill(menuBar()->addMenu(QStringLiteral("&Help")), kHelpMenu);
}

void CMainFrame::AddFileMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    AddCommandItem(file, frame::kFileNew, "&New", QKeySequence::New)->setIcon(KestrelIcon("new"));
    AddCommandItem(file, frame::kFileOpen, "&Open...", QKeySequence::Open)
        ->setIcon(KestrelIcon("open"));
    AddCommandItem(file, frame::kFileSave, "&Save", QKeySequence::Save)
        ->setIcon(KestrelIcon("save"));
    AddCommandItem(file, frame::kFileSaveAs, "Save &As...", QKeySequence::SaveAs);
    file->addSeparator();
    AddCommandItem(file, frame::kFilePrint, "&Print...")->setIcon(KestrelIcon("print"));
    file->addSeparator();
    QMenu* recent = file->addMenu(QStringLiteral("Recent &Files"));
    recent->setObjectName(QStringLiteral("recentFiles"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { FillRecentFiles(recent); });
    FillRecentFiles(recent);
    file->addSeparator();
    AddCommandItem(file, frame::kAppExit, "E&xit", QKeySequence::Quit);
}

void CMainFrame::FillRecentFiles(QMenu* menu) {
    menu->clear();
    int number = 1;
    for (const std::string& path : recent_.Paths()) {
        const QString text =
            QStringLiteral("&%1 %2").arg(number++).arg(QString::fromStdString(path));
        connect(menu->addAction(text), &QAction::triggered, this,
                [this, path] { OpenDocumentAt(path); });
    }
    menu->setEnabled(!recent_.Paths().empty());
}

QMenu* CMainFrame::BuildSnapMenu() {
    auto* menu = new QMenu(QStringLiteral("Object &Snap"), this);
    menu->setObjectName(QStringLiteral("objectSnapMenu"));
    const std::pair<int32_t, const char*> items[] = {{menu::kSnapEndpoint, "&Endpoint"},
                                                     {menu::kSnapPerpendicular, "&Perpendicular"},
                                                     {menu::kSnapIntersection, "&Intersection"},
                                                     {menu::kSnapNearest, "&Nearest"}};
    for (const auto& [id, text] : items) AddCommandItem(menu, id, text)->setCheckable(true);
    // The check marks show the mode bits as they are when the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* action : menu->actions())
            action->setChecked(SnapModeChecked(session_, action->data().toInt()));
    });
    return menu;
}

void CMainFrame::ShowSnapMenu() {
    snapMenu_->popup(osnap_->mapToGlobal(QPoint(0, 0)));
}

bool CMainFrame::RunCommand(int32_t id) {
    // A command an extension module registered for the id comes before the frame's handlers.
    const bool extension = session_.extensionCommands.FindByUiCommandId(id) != nullptr;
    if (!extension && RunFrameCommand(id)) {
        UpdateCommandStates();
        return true;
    }
    const bool ran = SubmitMenuCommandId(session_, id);
    AfterInput();
    return ran;
}

bool CMainFrame::RunFrameCommand(int32_t id) {
    switch (id) {
        case frame::kFileNew: NewDocument(); return true;
        case frame::kFileOpen: OpenDocument(); return true;
        case frame::kFileSave: SaveDocument(false); return true;
        case frame::kFileSaveAs: SaveDocument(true); return true;
        case frame::kFilePrint: PlotActiveView(session_, std::nullopt); return true;
        case frame::kAppExit: close(); return true;
        case frame::kAppAbout: ShowAbout(); return true;
        case frame::kOnlineHelp: OpenOnlineHelp(); return true;
        case frame::kLayersDialog: LayersDialog(); return true;
        case frame::kDimStyles: DimStylesDialog(); return true;
        case frame::kOsnapPane: ToggleSnap(session_); return true;
        default: break;
    }
    if (withoutAction(id)) return true;
    if (ToggleSnapMode(session_, id)) {
        view_->update();
        return true;
    }
    return false;
}

void CMainFrame::UpdateCommandStates() {
    for (const int32_t id : {menu::kUndo, menu::kRedo}) {
        const bool enabled = MenuCommandEnabled(session_, id);
        const auto [first, last] = actions_.equal_range(id);
        for (auto it = first; it != last; ++it) it->second->setEnabled(enabled);
    }
}

void CMainFrame::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("About Kestrel"),
                       QStringLiteral("<h3>Kestrel %1</h3><p>A two-dimensional drafting editor.</p>"
                                      "<p>Free software under the GNU General Public License, "
                                      "version 3 or later.</p>")
                           .arg(QStringLiteral(KESTREL_VERSION)));
}

// The README beside the program, or in the source tree it was built from.
void CMainFrame::OpenOnlineHelp() {
    const QString beside = QApplication::applicationDirPath() + QStringLiteral("/README.md");
    const QString source = QStringLiteral(KESTREL_README);
    const QString path = QFileInfo::exists(beside) ? beside : source;
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        host_.messageBox("The help (" + path.toStdString() + ") could not be opened.",
                         kestrel::platform::MessageKind::Warning);
}
