// The application of the window tests.
#include "FrameSupport.h"

#include <QStandardPaths>

void StartTestApplication() {
    static int argc = 1;
    static char name[] = "shell_gui_tests";
    static char* argv[] = {name, nullptr};
    // The recent-file list goes to a settings file of the tests, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationName(QStringLiteral("KestrelTests"));
    if (!QApplication::instance()) new QApplication(argc, argv);
}
