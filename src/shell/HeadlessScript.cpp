// Script lines of the headless mode: the directive table and the answers a script gives to
// dialogs.
#include "shell/HeadlessScript.h"

#include <charconv>
#include <cmath>

#include "commands/Interpreter.h"
#include "commands/Session.h"
#include "platform/Unicode.h"
#include "shell/HeadlessRun.h"

using kestrel::platform::MessageAnswer;
using kestrel::platform::MessageKind;

HeadlessHost::HeadlessHost(std::ostream& err) : StderrHost(MessageAnswer::No, err) {}

MessageAnswer HeadlessHost::messageBox(const std::string& text, MessageKind kind,
                                       const std::string& caption) {
    const MessageAnswer shown = StderrHost::messageBox(text, kind, caption);
    if (buttons_.empty()) return shown;
    const MessageAnswer answer = buttons_.front();
    buttons_.pop_front();
    return answer;
}

void HeadlessHost::historyMessage(const std::string& text) {
    if (session) AppendHistoryLine(*session, text);
}

std::vector<std::string> HeadlessHost::openFileDialog(const std::string&, const std::string&,
                                                      bool multiple) {
    if (files_.empty()) return {};
    std::vector<std::string> paths = std::move(files_.front());
    files_.pop_front();
    if (!multiple && paths.size() > 1) paths.resize(1);
    return paths;
}

std::optional<std::string> HeadlessHost::saveFileDialog(const std::string&, const std::string&,
                                                        const std::string&) {
    if (files_.empty()) return std::nullopt;
    std::vector<std::string> paths = std::move(files_.front());
    files_.pop_front();
    return paths.front();
}

std::optional<std::vector<std::string>> SplitScriptArguments(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) return std::nullopt;
    if (inWord) words.push_back(std::move(word));
    return words;
}

namespace {

// "X,Y" as two numbers, blanks allowed around them.
bool parsePoint(std::string_view text, double& x, double& y) {
    const auto number = [](std::string_view t, double& v) {
        while (!t.empty() && t.front() == ' ')
            t.remove_prefix(1);
        while (!t.empty() && t.back() == ' ')
            t.remove_suffix(1);
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        return ec == std::errc() && end == t.data() + t.size() && std::isfinite(v);
    };
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && number(text.substr(0, comma), x) &&
           number(text.substr(comma + 1), y);
}

// !pick X,Y: a left click on the drawing point (X, Y) for the running command, without snaps.
std::string pick(mmScriptContext& c, std::string_view arguments) {
    double x = 0.0, y = 0.0;
    if (!parsePoint(arguments, x, y)) return "a pick is written !pick X,Y";
    mmSession& s = c.session;
    mmView& view = s.ActiveView();
    const double dx = x - s.originOffset.x;
    const double dy = y - s.originOffset.y;
    int px = 0, py = 0;
    view.worldToScreen(dx, dy, view.Matrices(), px, py);
    view.SetCursor(dx, dy, px, py);
    return PickPoint(s, x, y) ? std::string() : "no command takes a pick here";
}

// !file PATH [PATH ...]: the paths chosen in the next file dialog.
std::string file(mmScriptContext& c, std::string_view arguments) {
    std::optional<std::vector<std::string>> paths = SplitScriptArguments(arguments);
    if (!paths || paths->empty())
        return "a file dialog is answered !file PATH [PATH ...] (\"quoted\" for blanks)";
    c.host.queueFiles(std::move(*paths));
    return {};
}

// !button NAME: the button pressed in the next message box.
std::string button(mmScriptContext& c, std::string_view arguments) {
    std::string name(arguments);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.pop_back();
    for (char& ch : name)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    const struct {
        const char* name;
        MessageAnswer answer;
    } buttons[] = {{"YES", MessageAnswer::Yes},
                   {"NO", MessageAnswer::No},
                   {"OK", MessageAnswer::Ok},
                   {"CANCEL", MessageAnswer::Cancel}};
    for (const auto& b : buttons)
        if (name == b.name) {
            c.host.queueButton(b.answer);
            return {};
        }
    return "a message box is answered !button Yes, No, OK or Cancel";
}

constexpr mmScriptDirective kDirectives[] = {
    {"pick", pick},
    {"file", file},
    {"button", button},
};

}  // namespace

std::span<const mmScriptDirective> ScriptDirectives() {
    return kDirectives;
}

std::string RunScriptLine(mmScriptContext& c, std::string_view text) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (text.starts_with('!') && !text.starts_with("!!")) {
        const std::size_t end = text.find_first_of(" \t");
        const std::string_view name = text.substr(1, end == std::string_view::npos ? end : end - 1);
        std::string_view arguments = end == std::string_view::npos ? "" : text.substr(end);
        while (!arguments.empty() && (arguments.front() == ' ' || arguments.front() == '\t'))
            arguments.remove_prefix(1);
        for (const mmScriptDirective& d : kDirectives)
            if (d.name == name) return d.run(c, arguments);
        return "no directive !" + std::string(name) +
               " (a typed line starting with ! is written !!)";
    }
    if (text.starts_with("!!")) text.remove_prefix(1);
    std::u16string typed;
    if (!kestrel::platform::utf8ToUtf16(text, typed)) return "the line is not UTF-8";
    c.session.commandLine.TypeText(typed);
    c.session.commandLine.InputKey(mmKey::Return);
    return {};
}
