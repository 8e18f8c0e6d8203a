// CMyView: GL set-up and painting through the renderer, and the view's input.
#include "shell/MyView.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>
#include <cmath>

#include "commands/Layouts.h"
#include "commands/Session.h"
#include "commands/ViewInput.h"
#include "commands/ViewMouse.h"
#include "shell/CustomEdit.h"
#include "shell/QtText.h"

CMyView::CMyView(mmSession& session, kestrel::platform::Host& host, QWidget* parent)
    : QOpenGLWidget(parent), session_(session), renderer_(host) {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(16);
    format.setStencilBufferSize(8);
    setFormat(format);
    // The XOR overlays of a renderer without texture cache erase what the last frame drew.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::BlankCursor);  // the view draws its own
    setMinimumSize(100, 80);
    session_.modelView.window = this;
}

CMyView::~CMyView() {
    // The base class destroys the context after this object is gone: no call back into it.
    disconnect(contextGone_);
    session_.modelView.window = nullptr;
    releaseGl();
}

void CMyView::releaseGl() {
    if (!renderer_.Initialised() || !context()) return;
    makeCurrent();
    renderer_.ReleaseGl();
    doneCurrent();
}

int CMyView::px(double x) const {
    return static_cast<int>(std::lround(x * devicePixelRatioF()));
}

void CMyView::initializeGL() {
    disconnect(contextGone_);
    contextGone_ = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                           [this] { releaseGl(); });
    if (!context()->isValid()) {
        session_.host.messageBox("wglCreateContext failed.", kestrel::platform::MessageKind::Error);
        return;
    }
    if (!renderer_.InitializeGl(session_.modelView)) return;
    session_.drawing.rasterTileLimit = renderer_.RasterTileLimit();
}

// Every tab's view has the window's size; the renderer draws the active one.
void CMyView::resizeGL(int width, int height) {
    mmView& active = session_.ActiveView();
    if (&active != &session_.modelView) session_.modelView.Resize(px(width), px(height));
    for (const mmLayoutPtr& layout : session_.layouts)
        if (&layout->view != &active) layout->view.Resize(px(width), px(height));
    renderer_.Resize(active, px(width), px(height));
}

void CMyView::paintGL() {
    mmView& view = session_.ActiveView();
    if (view.Width() != px(width()) || view.Height() != px(height()))
        renderer_.Resize(view, px(width()), px(height()));
    painting_ = true;
    renderer_.Paint(view, session_.ModelScene());
    painting_ = false;
}

void CMyView::Invalidate() {
    update();
}

void CMyView::CoordinatesChanged(const std::u16string& text) {
    if (coordinates_) coordinates_(ToQString(text));
}

void CMyView::handled() {
    if (afterInput_) afterInput_();
    update();
}

void CMyView::mouseMoveEvent(QMouseEvent* event) {
    ViewMouseMove(session_, px(event->position().x()), px(event->position().y()));
}

void CMyView::mousePressEvent(QMouseEvent* event) {
    const int x = px(event->position().x());
    const int y = px(event->position().y());
    if (event->button() == Qt::LeftButton) {
        // Shift may have gone down while another widget had the keys.
        mmView& view = session_.ActiveView();
        if (view.commandId == 0 || view.cursorMode == kCursorSelect)
            view.shiftHeld = event->modifiers().testFlag(Qt::ShiftModifier);
        ViewLeftButtonDown(session_, x, y);
        handled();
    } else if (event->button() == Qt::MiddleButton) {
        ViewMiddleButtonDown(session_, x, y);
    }
}

void CMyView::mouseReleaseEvent(QMouseEvent* event) {
    const int x = px(event->position().x());
    const int y = px(event->position().y());
    switch (event->button()) {
        case Qt::LeftButton:
            ViewLeftButtonUp(session_, x, y);
            break;
        case Qt::MiddleButton:
            ViewMiddleButtonUp(session_, x, y);
            break;
        case Qt::RightButton:
            contextMenuAt(event->globalPosition().toPoint());
            break;
        default:
            break;
    }
    handled();
}

// On a layout a double-click enters a viewport or goes back to the paper. Elsewhere it is a
// press, and a left one also tells the frame (which shows the properties).
void CMyView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton &&
        LayoutDoubleClick(session_, px(event->position().x()), px(event->position().y()))) {
        handled();
        return;
    }
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton && doubleClicked_) doubleClicked_();
}

void CMyView::contextMenuAt(const QPoint& globalPosition) {
    const std::vector<mmContextMenuItem> items = ViewRightButtonUp(session_);
    if (items.empty()) return;  // the running command was given an empty line
    QMenu menu(this);
    for (const mmContextMenuItem& item : items) {
        if (item.action == mmMenuAction::Separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.label));
        action->setData(static_cast<int>(item.action));
    }
    const QAction* chosen = menu.exec(globalPosition);
    if (!chosen) return;
    const auto action = static_cast<mmMenuAction>(chosen->data().toInt());
    if (ChooseContextMenuItem(session_, action) == mmViewAction::FocusInputLine && focusInput_)
        focusInput_();
}

// Notches of 120 zoom by the same factor however the wheel reports them; finer wheels and touch
// pads add up to whole notches.
void CMyView::wheelEvent(QWheelEvent* event) {
    wheelRest_ += event->angleDelta().y();
    ViewMouseMove(session_, px(event->position().x()), px(event->position().y()));
    while (std::abs(wheelRest_) >= kWheelNotch) {
        const int notch = wheelRest_ > 0 ? kWheelNotch : -kWheelNotch;
        ViewWheel(session_, notch);
        wheelRest_ -= notch;
    }
    event->accept();
}

void CMyView::keyPressEvent(QKeyEvent* event) {
    const mmViewAction action = ViewKey(session_, KeyOf(*event), ToU16(event->text()));
    if (action == mmViewAction::FocusInputLine && focusInput_) focusInput_();
    handled();
}

void CMyView::keyReleaseEvent(QKeyEvent*) {
    ViewKeyUp(session_);
}

void CMyView::leaveEvent(QEvent*) {
    ViewMouseLeave(session_);
}
