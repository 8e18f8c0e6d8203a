// The kestrel executable: the editor, or a headless run for batch work.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "shell/HeadlessRun.h"
#include "shell/MainFrame.h"
#include "shell/ProgramOptions.h"

namespace {

// Qt aborts when it finds no display; say what to do instead.
bool displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::cerr << "kestrel: " << error << "\n\n" << ProgramUsage();
        return 2;
    }
    if (options->help) {
        std::cout << ProgramUsage();
        return 0;
    }
    if (options->version) {
        std::cout << "Kestrel " << KESTREL_VERSION << "\n";
        return 0;
    }
    if (options->headless) return RunHeadless(*options, std::cout, std::cerr);
    if (!displayAvailable()) {
        std::cerr << "kestrel: there is no display to open the editor on; for a run without a "
                     "window use --headless (see --help)\n";
        return 1;
    }
    return RunEditor(argc, argv, options->drawing);
}
