// CMainFrame: the order of creation, the start-up drawing, the document's new, open and save,
// the title, and what follows every input.
#include "shell/MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QIcon>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "commands/Layouts.h"
#include "commands/MenuCommands.h"
#include "commands/ObjectSnap.h"
#include "commands/StartupDrawing.h"
#include "shell/CommunDialog.h"
#include "shell/HeadlessRun.h"
#include "shell/LayoutTabs.h"
#include "shell/MyView.h"
#include "shell/extension/LoadXref.h"
#include "shell/extension/QtExtensionFrame.h"

namespace {

constexpr char kDrawingFilter[] = "Drawing files|*.dxf;*.dwg";
// The choices of Save As and the file each writes.
constexpr char kSaveFilter[] = "DXF 2000|*.dxf|DXF R12|*.dxf";
constexpr DxfVersion kSaveVersions[] = {DxfVersion::R2000, DxfVersion::R12};
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
    setWindowTitle(QStringLiteral("Kestrel"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kestrel.svg")));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    host_.setWindow(this);
    session_.SetShellEvents(this);
    session_.drawing.ModelSpace().selection.observer = this;
    SetExtensionSession(&session_);
    // Modules come first: their toolbars and panes before the frame's own.
    LoadExtensionModulesInto(*this, session_, [this] { AfterInput(); });

    view_ = new CMyView(session_, host_, this);
    host_.setRedraw([this] { view_->update(); });
    CreateMenus();
    CreateLayersToolbar();
    CreateBuiltinToolbars();
    CreateStatusBar();
    CreatePanes();
    CreateTabStrip();

    QSettings settings;
    recent_.Load(settings);
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
    AfterDocumentChanged();
    resize(kStartupWidth + 200, kStartupHeight + 200);
    command_->FocusInput();
}

CMainFrame::~CMainFrame() {
    // The windows that show the session go before it does.
    delete propertiesPane_;
    delete commandPane_;
    delete centralWidget();
    if (ExtensionSession() == &session_) SetExtensionSession(nullptr);
    session_.drawing.ModelSpace().selection.observer = nullptr;
    session_.SetShellEvents(nullptr);
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

// A command may have changed the layers or the undo counters (the selection tells the
// properties panel itself).
void CMainFrame::AfterInput() {
    command_->Refresh();
    UpdateCommandStates();
    if (LayerListOf(session_.drawing) != shownLayers_) RefreshLayerList();
}

void CMainFrame::AfterDocumentChanged() {
    AfterInput();
    RefreshProperties();
    UpdateTitle();
}

void CMainFrame::LayoutsChanged() {
    if (layoutBar_) layoutBar_->Refresh();
    if (!model_) return;
    const std::u16string_view label = PaperModeLabel(session_);
    model_->setText(QString::fromUtf16(label.data(), static_cast<qsizetype>(label.size())));
}

bool CMainFrame::NewDocument() {
    if (!SaveModified()) return false;
    doc_.New();
    AfterDocumentChanged();
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
    AfterDocumentChanged();
    return true;
}

bool CMainFrame::SaveDocument(bool askForPath) {
    std::string path = doc_.Path();
    if (askForPath || path.empty()) {
        const std::optional<std::string> chosen =
            host_.saveFileDialog("Save As", kSaveFilter, doc_.Title() + ".dxf");
        if (!chosen) return false;
        path = *chosen;
        const int filter = host_.chosenSaveFilter();
        if (filter >= 0 && filter < static_cast<int>(std::size(kSaveVersions)))
            doc_.SetSaveVersion(kSaveVersions[filter]);
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

void SetApplicationNames() {
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
}

std::unique_ptr<CMainFrame> OpenEditorWindow(const std::optional<std::string>& drawing) {
    auto frame = std::make_unique<CMainFrame>(drawing);
    frame->showMaximized();
    return frame;
}

int RunEditor(int argc, char** argv, const std::optional<std::string>& drawing) {
    SetApplicationNames();
    QApplication app(argc, argv);
    const std::unique_ptr<CMainFrame> frame = OpenEditorWindow(drawing);
    return app.exec();
}
