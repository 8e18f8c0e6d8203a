// CMainFrame: window layout, the start-up drawing, the File menu and the status bar.
#include "shell/MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QSurfaceFormat>
#include <QToolButton>
#include <QVBoxLayout>

#include "commands/Layouts.h"
#include "commands/MenuCommands.h"
#include "commands/ObjectSnap.h"
#include "commands/StartupDrawing.h"
#include "commands/XrefCommand.h"
#include "shell/CommunDialog.h"
#include "shell/HeadlessRun.h"
#include "shell/LayoutTabs.h"
#include "shell/MyView.h"
#include "shell/extension/LoadXref.h"
#include "shell/extension/QtExtensionFrame.h"

namespace {

constexpr char kDrawingFilter[] = "Drawing files|*.dxf;*.dwg";
constexpr int kStartupWidth = 1000;
constexpr int kStartupHeight = 700;

// A wait cursor and a status-bar line while a file is read or written; message boxes shown
// meanwhile get the normal cursor back.
class BusyNotice {
public:
    BusyNotice(QMainWindow& window, const std::string& text) : window_(window) {
        window_.statusBar()->showMessage(QString::fromStdString(text));
        window_.statusBar()->repaint();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyNotice() {
        QApplication::restoreOverrideCursor();
        window_.statusBar()->clearMessage();
    }
    BusyNotice(const BusyNotice&) = delete;
    BusyNotice& operator=(const BusyNotice&) = delete;

private:
    QMainWindow& window_;
};

}  // namespace

CMainFrame::CMainFrame(const std::optional<std::string>& drawing)
    : session_(host_), doc_(session_) {
    host_.setWindow(this);
    session_.SetShellEvents(this);
    SetExtensionSession(&session_);
    // Modules come first: their toolbars and panes before the frame's own.
    LoadExtensionModulesInto(*this, session_, [this] { AfterInput(); });

    // The view with the layout tab strip below it.
    auto* centre = new QWidget(this);
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    view_ = new CMyView(session_, host_, centre);
    tabs_ = new CLayoutTabs(session_, centre);
    tabs_->setAfterAction([this] { AfterInput(); });
    column->addWidget(view_, 1);
    column->addWidget(tabs_);
    setCentralWidget(centre);
    host_.setRedraw([this] { view_->update(); });

    auto* dock = new QDockWidget(QStringLiteral("Command Window"), this);
    dock->setObjectName(QStringLiteral("commandWindow"));
    dock->setAllowedAreas(Qt::BottomDockWidgetArea);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    command_ = new CCommunDialog(session_, dock);
    command_->setMinimumHeight(110);
    dock->setWidget(command_);
    addDockWidget(Qt::BottomDockWidgetArea, dock);

    command_->setAfterInput([this] { AfterInput(); });
    view_->setAfterInput([this] { AfterInput(); });
    view_->setFocusInput([this] { command_->FocusInput(); });

    QSettings settings;
    recent_.Load(settings);
    snapMenu_ = BuildSnapMenu();
    BuildStatusBar();
    BuildMenus();
    host_.setStatus([this](const std::string& text) {
        statusBar()->showMessage(QString::fromStdString(text), 5000);
    });
    host_.setHistory([this](const std::string& text) {
        AppendHistoryLine(session_, text);
        command_->Refresh();
    });

    // The start-up drawing. The view's real size replaces this one until it is first zoomed.
    PrepareStartupView(session_, kStartupWidth, kStartupHeight);
    if (drawing) {
        doc_.Open(*drawing);
        if (!doc_.Path().empty()) RememberRecent(doc_.Path());
    } else
        TypeWelcomeTexts(session_);
    command_->Refresh();
    UpdateTitle();
    resize(kStartupWidth + 200, kStartupHeight + 200);
    command_->FocusInput();
}

CMainFrame::~CMainFrame() {
    if (ExtensionSession() == &session_) SetExtensionSession(nullptr);
    session_.SetShellEvents(nullptr);
}

void CMainFrame::BuildStatusBar() {
    coords_ = new QLabel(this);
    coords_->setObjectName(QStringLiteral("coords"));
    coords_->setMinimumWidth(180);
    statusBar()->addWidget(coords_);
    view_->setCoordinates([this](const QString& text) { coords_->setText(text); });

    const auto toggle = [this](const char* name) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromLatin1(name));
        button->setObjectName(QString::fromLatin1(name).toLower());
        button->setCheckable(true);
        button->setChecked(true);
        button->setAutoRaise(true);
        button->setMinimumWidth(50);
        statusBar()->addPermanentWidget(button);
        return button;
    };
    osnap_ = toggle("OSNAP");
    connect(osnap_, &QToolButton::toggled, this, [this](bool on) { SetSnapOn(session_, on); });
    // A right-click on OSNAP opens the object-snap menu at the button's top-left corner.
    osnap_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(osnap_, &QToolButton::customContextMenuRequested, this,
            [this](const QPoint&) { ShowSnapMenu(); });
    // MODEL or PAPER, after the active view; pressing it switches a layout between the two.
    model_ = toggle("MODEL");
    model_->setCheckable(false);
    connect(model_, &QToolButton::clicked, this, [this] {
        TogglePaperMode(session_);
        AfterInput();
    });
}

QMenu* CMainFrame::BuildSnapMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("objectSnapMenu"));
    const std::pair<int32_t, const char*> items[] = {{menu::kSnapEndpoint, "&Endpoint"},
                                                     {menu::kSnapPerpendicular, "&Perpendicular"},
                                                     {menu::kSnapIntersection, "&Intersection"},
                                                     {menu::kSnapNearest, "&Nearest"}};
    for (const auto& [id, text] : items) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setCheckable(true);
        action->setData(id);
        connect(action, &QAction::triggered, this,
                [this, id = id] { ToggleSnapMode(session_, id); });
    }
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

void CMainFrame::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    const auto item = [this, file](const char* text, QKeySequence::StandardKey key, auto act) {
        QAction* action = file->addAction(QString::fromLatin1(text));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, act);
    };
    item("&New", QKeySequence::New, [this] { NewDocument(); });
    item("&Open...", QKeySequence::Open, [this] { OpenDocument(); });
    item("&Save", QKeySequence::Save, [this] { SaveDocument(false); });
    item("Save &As...", QKeySequence::SaveAs, [this] { SaveDocument(true); });
    QMenu* recent = file->addMenu(QStringLiteral("Recent &Files"));
    recent->setObjectName(QStringLiteral("recentFiles"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { FillRecentFiles(recent); });
    FillRecentFiles(recent);
    file->addSeparator();
    item("E&xit", QKeySequence::Quit, [this] { close(); });

    QMenu* insert = menuBar()->addMenu(QStringLiteral("&Insert"));
    connect(insert->addAction(QStringLiteral("&XREF...")), &QAction::triggered, this, [this] {
        SubmitMenuCommandId(session_, menu::kXref);
        AfterInput();
    });
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

void CMainFrame::RememberRecent(const std::string& path) {
    recent_.Add(path);
    QSettings settings;
    recent_.Save(settings);
}

void CMainFrame::UpdateTitle() {
    const std::string title = doc_.Path().empty() ? "Kestrel" : doc_.Title() + " - Kestrel";
    setWindowTitle(QString::fromStdString(title));
}

void CMainFrame::AfterInput() {
    command_->Refresh();
}

void CMainFrame::SnapToggled(bool on) {
    const QSignalBlocker block(osnap_);
    osnap_->setChecked(on);
}

void CMainFrame::LayoutsChanged() {
    if (tabs_) tabs_->Refresh();
    if (!model_) return;
    const std::u16string_view label = PaperModeLabel(session_);
    model_->setText(QString::fromUtf16(label.data(), static_cast<qsizetype>(label.size())));
}

bool CMainFrame::NewDocument() {
    if (!SaveModified()) return false;
    doc_.New();
    command_->Refresh();
    UpdateTitle();
    return true;
}

void CMainFrame::OpenDocument() {
    const std::vector<std::string> paths = host_.openFileDialog("Open", kDrawingFilter, false);
    if (!paths.empty()) OpenDocumentAt(paths.front());
}

bool CMainFrame::OpenDocumentAt(const std::string& path) {
    if (!SaveModified()) return false;
    {
        const BusyNotice busy(*this, "Opening " + path + " ...");
        doc_.Open(path);
    }
    if (doc_.Path() == path) RememberRecent(path);
    command_->Refresh();
    UpdateTitle();
    return true;
}

bool CMainFrame::SaveDocument(bool askForPath) {
    std::string path = doc_.Path();
    if (askForPath || path.empty()) {
        const std::optional<std::string> chosen =
            host_.saveFileDialog("Save As", kDrawingFilter, doc_.Title() + ".dxf");
        if (!chosen) return false;
        path = *chosen;
    }
    bool written = false;
    {
        const BusyNotice busy(*this, "Saving " + path + " ...");
        written = doc_.Save(path);
    }
    if (written) RememberRecent(doc_.Path());
    command_->Refresh();
    UpdateTitle();
    return written;
}

bool CMainFrame::SaveModified() {
    if (!session_.modified) return true;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Kestrel"),
        QStringLiteral("Save changes to %1?").arg(QString::fromStdString(doc_.Title())),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    return answer == QMessageBox::No || SaveDocument(false);
}

// Work is not lost by closing: a modified drawing is offered for saving first.
void CMainFrame::closeEvent(QCloseEvent* event) {
    if (SaveModified())
        event->accept();
    else
        event->ignore();
}

int RunEditor(int argc, char** argv, const std::optional<std::string>& drawing) {
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication app(argc, argv);
    CMainFrame frame(drawing);
    frame.showMaximized();
    return app.exec();
}
