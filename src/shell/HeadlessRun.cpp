// The headless mode.
#include "shell/HeadlessRun.h"

#include <QGuiApplication>
#include <fstream>
#include <iostream>

#include "commands/Interpreter.h"
#include "commands/Plotting.h"
#include "commands/Session.h"
#include "commands/StartupDrawing.h"
#include "platform/Unicode.h"
#include "shell/HeadlessScript.h"
#include "shell/KestrelDoc.h"
#include "shell/extension/LoadXref.h"
#include "shell/extension/ModuleLoader.h"

namespace {

// What the history gained since the last call, with plain line breaks. Each character is printed
// once, however the history is trimmed.
class Transcript {
public:
    explicit Transcript(std::ostream& out) : out_(out) {}
    void Flush(const mmCommandLine& line) {
        const std::u16string& history = line.history();
        const uint64_t fresh = line.historyAppended() - shown_;
        std::u16string_view text(history);
        if (fresh < text.size()) text.remove_prefix(text.size() - static_cast<std::size_t>(fresh));
        // The history's first line break only separates its first entry from nothing.
        if (shown_ == 0 && text.substr(0, 2) == u"\r\n") text.remove_prefix(2);
        shown_ = line.historyAppended();
        if (text.empty()) return;
        std::string utf8;
        kestrel::platform::utf16ToUtf8(text, utf8);
        std::erase(utf8, '\r');
        out_ << utf8;
        out_.flush();
    }
    void End() { out_ << '\n'; }

private:
    std::ostream& out_;
    uint64_t shown_ = 0;
};

}  // namespace

void AppendHistoryLine(mmSession& s, const std::string& utf8) {
    std::u16string text;
    kestrel::platform::utf8ToUtf16(utf8, text);
    s.commandLine.AppendHistory(text, false);
}

int RunHeadless(const mmProgramOptions& options, std::ostream& out, std::ostream& err) {
    HeadlessHost host(err);
    mmSession session(host);
    host.session = &session;
    mmScriptContext script{session, host};
    SetExtensionSession(&session);
    struct SessionGuard {
        ~SessionGuard() { SetExtensionSession(nullptr); }
    } sessionGuard;
    // Scripts can use the modules' commands; their toolbars and panes are left out.
    LoadExtensionModules(session, ExtensionModulesFolder());
    Transcript transcript(out);
    bool failed = false;

    PrepareStartupView(session, options.width, options.height);
    CKestrelDoc document(session);
    if (options.drawing)
        failed |= !document.Open(*options.drawing);
    else
        TypeWelcomeTexts(session);
    transcript.Flush(session.commandLine);
    // A drawing that cannot be read ends the run: nothing is run on it, saved or exported.
    if (failed) {
        transcript.End();
        return 1;
    }

    if (options.script) {
        std::ifstream file;
        std::istream* in = &std::cin;
        if (*options.script != "-") {
            file.open(*options.script);
            if (!file) {
                err << "kestrel: cannot read the script " << *options.script << "\n";
                return 1;
            }
            in = &file;
        }
        std::string line;
        for (int number = 1; std::getline(*in, line); ++number) {
            const std::string problem = RunScriptLine(script, line);
            if (!problem.empty())
                err << "kestrel: script line " << number << ": " << problem << "\n";
            transcript.Flush(session.commandLine);
        }
    }
    document.SetSaveVersion(options.dxfVersion);
    if (options.save) failed |= !document.Save(*options.save);
    transcript.Flush(session.commandLine);

    if (options.exportPath || options.plotPath) {
        // Image writers other than PNG are plug-ins and PDF pages are painted: both want an
        // application object, which needs no display on the offscreen platform.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        int argc = 1;
        char name[] = "kestrel";
        char* argv[] = {name, nullptr};
        QGuiApplication app(argc, argv);
        if (options.exportPath) failed |= !ExportActiveView(session, *options.exportPath, 1);
        if (options.plotPath) failed |= !PlotActiveView(session, *options.plotPath);
        transcript.Flush(session.commandLine);
    }
    transcript.End();
    return failed || host.errorShown() ? 1 : 0;
}
