// What the editor's window tests share: the application of the tests, acting on a modal dialog
// while it runs, screenshots, and finding ink in the view.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <functional>

#include "commands/Session.h"
#include "shell/MyView.h"

// Makes the application once; settings go to the tests' own folder, not the user's.
void StartTestApplication();

// Acts on the next modal dialog of class T once it shows (from a timer while its event loop
// runs). When none has shown after a minute (a loaded machine is slow to open one), whatever
// modal dialog is up is rejected, so a test never hangs on one it did not expect.
template <class T>
void WhenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(20);
    auto* waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act, waited] {
        QWidget* modal = QApplication::activeModalWidget();
        T* dialog = dynamic_cast<T*>(modal);
        if (!dialog && ++*waited < 3000) return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (dialog)
            act(dialog);
        else if (auto* other = dynamic_cast<QDialog*>(modal))
            other->reject();
    });
    timer->start();
}

// While it lives, every modal dialog that shows is rejected.
class RejectDialogs {
public:
    RejectDialogs() {
        QObject::connect(&timer_, &QTimer::timeout, [] {
            if (auto* dialog = dynamic_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        timer_.start(20);
    }

private:
    QTimer timer_;
};

// The whole screen into build/test-output/screens/NAME.png, for looking at the windows.
inline void SaveScreenshot(const QString& name) {
    const QString dir = QStringLiteral(KESTREL_TEST_OUTPUT_DIR "/screens");
    QDir().mkpath(dir);
    QApplication::processEvents();
    QGuiApplication::primaryScreen()->grabWindow(0).save(dir + QLatin1Char('/') + name +
                                                         QStringLiteral(".png"));
}

// The widget position of a drawing point in the model view.
inline QPoint ViewPosition(mmSession& s, const CMyView& view, double x, double y) {
    int px = 0, py = 0;
    s.modelView.worldToScreen(x - s.originOffset.x, y - s.originOffset.y, s.modelView.Matrices(),
                              px, py);
    const double ratio = view.devicePixelRatioF();
    return QPoint(static_cast<int>(std::lround(px / ratio)), static_cast<int>(std::lround(py / ratio)));
}

// Dark pixels of the view's last frame in a square of the given half side around a point.
inline int InkAround(CMyView& view, QPoint at, int half = 3) {
    const QImage picture = view.grabFramebuffer();
    const double ratio = view.devicePixelRatioF();
    int ink = 0;
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx) {
            const QPoint p(static_cast<int>(at.x() * ratio) + dx, static_cast<int>(at.y() * ratio) + dy);
            if (picture.rect().contains(p)) ink += qGray(picture.pixel(p)) < 160;
        }
    return ink;
}
