// CMyView: the model view of the editor: an OpenGL widget (compatibility profile with a stencil)
// drawn by the renderer, its mouse and keys handed to the view input of the command layer, and
// its context menu.
#pragma once

#include <QOpenGLWidget>
#include <functional>

#include "display/Renderer.h"
#include "display/View.h"

class mmSession;

class CMyView : public QOpenGLWidget, public mmViewWindow {
public:
    CMyView(mmSession& session, kestrel::platform::Host& host, QWidget* parent);
    ~CMyView() override;

    // After input that may have changed the command line (picks, keys, menu items).
    void setAfterInput(std::function<void()> afterInput) { afterInput_ = std::move(afterInput); }
    // A key went on to the input line, and the focus follows it.
    void setFocusInput(std::function<void()> focusInput) { focusInput_ = std::move(focusInput); }
    void setCoordinates(std::function<void(const QString&)> show) { coordinates_ = std::move(show); }
    // A double-click of the left button, after it was handled as a click.
    void setDoubleClicked(std::function<void()> doubleClicked) {
        doubleClicked_ = std::move(doubleClicked);
    }

    const mmRenderer& renderer() const { return renderer_; }
    // Inside paintGL (where images load): other widgets cannot be repainted at once.
    bool Painting() const { return painting_; }

    void Invalidate() override;
    void CoordinatesChanged(const std::u16string& text) override;

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Window pixels of the framebuffer (device pixels) for a position in the widget.
    int px(double x) const;
    void releaseGl();
    void contextMenuAt(const QPoint& globalPosition);
    void handled();

    mmSession& session_;
    mmRenderer renderer_;
    int wheelRest_ = 0;
    bool painting_ = false;
    QMetaObject::Connection contextGone_;
    std::function<void()> afterInput_;
    std::function<void()> focusInput_;
    std::function<void(const QString&)> coordinates_;
    std::function<void()> doubleClicked_;
};
