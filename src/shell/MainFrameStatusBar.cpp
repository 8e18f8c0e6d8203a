// CMainFrame: the status bar: the coordinates and the OSNAP and MODEL toggles, and the loading
// layout (a message and a progress bar) shown while images load.
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

#include "commands/Layouts.h"
#include "commands/ObjectSnap.h"
#include "shell/FrameCommands.h"
#include "shell/MainFrame.h"
#include "shell/MyView.h"
#include "shell/QtText.h"

namespace {

constexpr int kCoordsWidth = 180;
constexpr int kToggleWidth = 50;
constexpr int kProgressWidth = 200;
constexpr int kStatusMessageMs = 5000;

}  // namespace

void CMainFrame::CreateStatusBar() {
    coords_ = new QLabel(this);
    coords_->setObjectName(QStringLiteral("coords"));
    coords_->setMinimumWidth(kCoordsWidth);
    statusBar()->addWidget(coords_);
    view_->setCoordinates([this](const QString& text) { coords_->setText(text); });

    const auto toggle = [this](const char* name) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromLatin1(name));
        button->setObjectName(QString::fromLatin1(name).toLower());
        button->setCheckable(true);
        button->setChecked(true);
        button->setAutoRaise(true);
        button->setMinimumWidth(kToggleWidth);
        statusBar()->addPermanentWidget(button);
        return button;
    };
    osnap_ = toggle("OSNAP");
    osnap_->setToolTip(QStringLiteral("Object snap (F3); right-click for the snap modes"));
    connect(osnap_, &QToolButton::clicked, this, [this] { RunCommand(frame::kOsnapPane); });
    // A right-click on OSNAP opens the object-snap menu at the button's top-left corner.
    osnap_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(osnap_, &QToolButton::customContextMenuRequested, this,
            [this](const QPoint&) { ShowSnapMenu(); });
    // MODEL or PAPER, after the active view; pressing it switches a layout between the two.
    model_ = toggle("MODEL");
    model_->setCheckable(false);
    model_->setToolTip(QStringLiteral("Model space or paper space of the active tab"));
    connect(model_, &QToolButton::clicked, this, [this] {
        TogglePaperMode(session_);
        AfterInput();
    });

    loadingMessage_ = new QLabel(this);
    loadingMessage_->setObjectName(QStringLiteral("loadingMessage"));
    loadingProgress_ = new QProgressBar(this);
    loadingProgress_->setObjectName(QStringLiteral("loadingProgress"));
    loadingProgress_->setRange(0, 100);
    loadingProgress_->setFixedWidth(kProgressWidth);
    statusBar()->addWidget(loadingMessage_);
    statusBar()->addWidget(loadingProgress_);
    loadingMessage_->hide();
    loadingProgress_->hide();

    host_.setStatus([this](const std::string& text) {
        statusText_ = text;
        if (LoadingShown()) {
            loadingMessage_->setText(ToQString(text));
            ShowStatusNow();
        } else {
            statusBar()->showMessage(ToQString(text), kStatusMessageMs);
        }
    });
    host_.setProgress([this](int percent) {
        if (percent < 0) {
            RestoreStatusPanes();
            return;
        }
        if (!LoadingShown()) ShowLoadingMessage(ToQString(statusText_));
        loadingProgress_->setValue(percent);
        ShowStatusNow();
    });
}

void CMainFrame::ShowLoadingMessage(const QString& text) {
    statusBar()->clearMessage();
    coords_->hide();
    osnap_->hide();
    model_->hide();
    loadingMessage_->setText(text);
    loadingMessage_->show();
    loadingProgress_->setValue(0);
    loadingProgress_->show();
    ShowStatusNow();
}

// Loading runs without the event loop: the status bar is painted at once, except while the view
// paints (images load then), when it follows with the view.
void CMainFrame::ShowStatusNow() {
    if (view_->Painting())
        statusBar()->update();
    else
        statusBar()->repaint();
}

void CMainFrame::RestoreStatusPanes() {
    loadingMessage_->hide();
    loadingProgress_->hide();
    coords_->show();
    osnap_->show();
    model_->show();
}

bool CMainFrame::LoadingShown() const {
    return loadingProgress_->isVisibleTo(this);
}

void CMainFrame::SnapToggled(bool on) {
    const QSignalBlocker block(osnap_);
    osnap_->setChecked(on);
}
