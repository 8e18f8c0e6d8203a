// The headless mode.
#include "shell/HeadlessRun.h"

#include <QCoreApplication>
#include <QImage>
#include <charconv>
#include <deque>
#include <fstream>
#include <iostream>

#include "commands/Interpreter.h"
#include "commands/MenuCommands.h"
#include "commands/PointerScript.h"
#include "commands/Session.h"
#include "commands/StartupDrawing.h"
#include "commands/XrefCommand.h"
#include "display/Renderer.h"
#include "platform/HeadlessGL.h"
#include "platform/StderrHost.h"
#include "platform/Unicode.h"
#include "shell/KestrelDoc.h"
#include "shell/extension/LoadXref.h"

namespace {

constexpr std::string_view kFile = "!file ";
constexpr std::string_view kMenu = "!menu ";
constexpr std::string_view kBrowseBlocks = "!browseblocks";

// What the history gained since the last call, with plain line breaks.
class Transcript {
public:
    explicit Transcript(std::ostream& out) : out_(out) {}
    void Flush(const std::u16string& history) {
        std::u16string_view fresh(history);
        if (fresh.size() >= shown_.size() && fresh.substr(0, shown_.size()) == shown_)
            fresh.remove_prefix(shown_.size());
        // The history's first line break only separates its first entry from nothing.
        if (shown_.empty() && fresh.substr(0, 2) == u"\r\n") fresh.remove_prefix(2);
        std::string text;
        kestrel::platform::utf16ToUtf8(fresh, text);
        for (char c : text)
            if (c != '\r') out_ << c;
        out_.flush();
        shown_ = history;
    }
    void End() { out_ << '\n'; }

private:
    std::ostream& out_;
    std::u16string shown_;
};

// Message boxes to standard error, history lines to the transcript; file dialogs take the paths
// queued by "!file" lines.
class HeadlessHost : public kestrel::platform::StderrHost {
public:
    explicit HeadlessHost(std::ostream& err)
        : StderrHost(kestrel::platform::MessageAnswer::No, err) {}
    void historyMessage(const std::string& text) override {
        if (session) AppendHistoryLine(*session, text);
    }
    std::vector<std::string> openFileDialog(const std::string&, const std::string&, bool) override {
        if (files.empty()) return {};
        std::vector<std::string> answer{std::move(files.front())};
        files.pop_front();
        return answer;
    }
    mmSession* session = nullptr;
    std::deque<std::string> files;
};

HeadlessHost* headlessHost(mmSession& s) {
    return dynamic_cast<HeadlessHost*>(&s.host);
}

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    return t;
}

std::string runMenu(mmSession& s, std::string_view idText) {
    int id = 0;
    idText = trimmed(idText);
    const auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (ec != std::errc() || end != idText.data() + idText.size()) return "a menu line is !menu ID";
    return SubmitMenuCommandId(s, id) ? std::string()
                                      : "no menu item has the id " + std::string(idText);
}

// The insert-block dialog's browse button, over a block list that starts as the dialog's does
// (the drawing's named blocks); the list and the chosen name go to the history.
std::string browseBlocks(mmSession& s) {
    mmInsertBlockList list;
    for (const auto& [id, block] : s.drawing.blocks)
        if (block && !block->name.empty() && block->name[0] != u'*')
            list.names.push_back(block->name);
    if (!BrowseInsertBlocks(s, list)) return {};
    std::u16string line = u"Insert block list:";
    for (std::size_t i = 0; i < list.names.size(); ++i)
        line += (i == 0 ? u" " : u", ") + list.names[i];
    line += u"; chosen: " + list.chosenName;
    s.commandLine.AppendHistory(line, false);
    return {};
}

}  // namespace

void AppendHistoryLine(mmSession& s, const std::string& utf8) {
    std::u16string text;
    kestrel::platform::utf8ToUtf16(utf8, text);
    s.commandLine.AppendHistory(text, false);
}

std::string RunScriptLine(mmSession& s, const std::string& line) {
    std::string_view text(line);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (const std::optional<std::string> problem = RunPointerScriptLine(s, text)) return *problem;
    if (text.substr(0, kFile.size()) == kFile) {
        HeadlessHost* host = headlessHost(s);
        const std::string_view path = trimmed(text.substr(kFile.size()));
        if (!host || path.empty()) return "a file answer is !file PATH";
        host->files.emplace_back(path);
        return {};
    }
    if (text.substr(0, kMenu.size()) == kMenu) return runMenu(s, text.substr(kMenu.size()));
    if (text == kBrowseBlocks) return browseBlocks(s);
    if (text.substr(0, 2) == "!!") text.remove_prefix(1);
    std::u16string typed;
    if (!kestrel::platform::utf8ToUtf16(text, typed)) return "the line is not UTF-8";
    s.commandLine.TypeText(typed);
    s.commandLine.InputKey(mmKey::Return);
    return {};
}

bool ExportModelView(mmSession& s, const std::string& path, std::string* error) {
    mmView& view = s.modelView;
    auto gl = kestrel::platform::HeadlessGlContext::create(view.Width(), view.Height(), error);
    if (!gl) return false;
    mmRenderer renderer(s.host);
    if (!renderer.InitializeGl(view)) {
        if (error) *error = "the OpenGL context cannot draw";
        return false;
    }
    view.renderForOutput = true;
    renderer.Paint(view, {&s.drawing.ModelSpace(), s.pendingEntity.get()});
    view.renderForOutput = false;
    const kestrel::platform::Image image = gl->readPixels();
    renderer.ReleaseGl();
    // The picture is opaque whatever alpha the framebuffer holds.
    const QImage picture(image.rgba.data(), image.width, image.height, image.width * 4,
                         QImage::Format_RGBX8888);
    if (!picture.save(QString::fromStdString(path))) {
        if (error) *error = "cannot write the image " + path;
        return false;
    }
    return true;
}

int RunHeadless(const mmProgramOptions& options, std::ostream& out, std::ostream& err) {
    HeadlessHost host(err);
    mmSession session(host);
    host.session = &session;
    SetExtensionSession(&session);
    struct SessionGuard {
        ~SessionGuard() { SetExtensionSession(nullptr); }
    } sessionGuard;
    Transcript transcript(out);
    bool failed = false;

    PrepareStartupView(session, options.width, options.height);
    CKestrelDoc document(session);
    if (options.drawing)
        failed |= !document.Open(*options.drawing);
    else
        TypeWelcomeTexts(session);
    transcript.Flush(session.commandLine.history());

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
            const std::string problem = RunScriptLine(session, line);
            if (!problem.empty())
                err << "kestrel: script line " << number << ": " << problem << "\n";
            transcript.Flush(session.commandLine.history());
        }
    }
    if (options.save) failed |= !document.Save(*options.save);
    transcript.Flush(session.commandLine.history());
    transcript.End();

    if (options.exportPath) {
        // Image writers other than PNG are plug-ins, which want an application object.
        int argc = 1;
        char name[] = "kestrel";
        char* argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        std::string error;
        if (!ExportModelView(session, *options.exportPath, &error)) {
            err << "kestrel: cannot export the view: " << error << "\n";
            failed = true;
        }
    }
    return failed || host.errorShown() ? 1 : 0;
}
