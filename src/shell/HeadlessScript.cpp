// Script lines of the headless mode: the directive table and the answers a script gives to
// dialogs.
#include "shell/HeadlessScript.h"

#include <charconv>

#include "commands/Interpreter.h"
#include "commands/Layouts.h"
#include "commands/MenuCommands.h"
#include "commands/PointerScript.h"
#include "commands/Session.h"
#include "commands/InsertBlockDialog.h"
#include "commands/XrefCommand.h"
#include "drawing/Names.h"
#include "platform/Unicode.h"
#include "shell/HeadlessRun.h"
#include "shell/ImageEncoders.h"

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

// The lines of the view's mouse and keys (!move, !pick, !shiftpick, !key): PointerScript.h.
std::string pointer(mmScriptContext& c, std::string_view name, std::string_view arguments) {
    std::string line = "!" + std::string(name) + " " + std::string(arguments);
    return RunPointerScriptLine(c.session, line).value_or(std::string());
}
std::string move(mmScriptContext& c, std::string_view a) {
    return pointer(c, "move", a);
}
std::string pick(mmScriptContext& c, std::string_view a) {
    return pointer(c, "pick", a);
}
std::string shiftpick(mmScriptContext& c, std::string_view a) {
    return pointer(c, "shiftpick", a);
}
std::string dblclick(mmScriptContext& c, std::string_view a) {
    return pointer(c, "dblclick", a);
}
std::string key(mmScriptContext& c, std::string_view a) {
    return pointer(c, "key", a);
}

// !menu ID: the menu item with that id, such as 32867 for XREF.
std::string menu(mmScriptContext& c, std::string_view arguments) {
    while (!arguments.empty() && (arguments.back() == ' ' || arguments.back() == '\t'))
        arguments.remove_suffix(1);
    int id = 0;
    const auto [end, ec] =
        std::from_chars(arguments.data(), arguments.data() + arguments.size(), id);
    if (arguments.empty() || ec != std::errc() || end != arguments.data() + arguments.size())
        return "a menu line is !menu ID";
    return SubmitMenuCommandId(c.session, id) ? std::string()
                                              : "no menu item has the id " + std::string(arguments);
}

// !browseblocks: the insert-block dialog's browse button, over a block list that starts as the
// dialog's does (the drawing's named blocks); the list and the chosen name go to the history.
std::string browseblocks(mmScriptContext& c, std::string_view) {
    mmSession& s = c.session;
    mmInsertBlockList list = InsertDialogBlockList(s.drawing);
    if (!BrowseInsertBlocks(s, list)) return {};
    std::u16string line = u"Insert block list:";
    for (std::size_t i = 0; i < list.names.size(); ++i)
        line += (i == 0 ? u" " : u", ") + list.names[i];
    line += u"; chosen: " + list.chosenName;
    s.commandLine.AppendHistory(line, false);
    return {};
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

// !layout NAME: the tab of that label (Model or a layout, any letter case) becomes active.
std::string layout(mmScriptContext& c, std::string_view arguments) {
    while (!arguments.empty() && (arguments.back() == ' ' || arguments.back() == '\t'))
        arguments.remove_suffix(1);
    std::u16string name;
    kestrel::platform::utf8ToUtf16(arguments, name);
    for (int tab = 0; tab < TabCount(c.session); ++tab)
        if (NamesEqualIgnoringCase(TabLabel(c.session, tab), name)) {
            ActivateTab(c.session, tab);
            return {};
        }
    return "no tab is labelled " + std::string(arguments);
}

constexpr mmScriptDirective kDirectives[] = {
    {"move", move}, {"pick", pick},     {"shiftpick", shiftpick}, {"key", key},
    {"file", file}, {"button", button}, {"menu", menu},           {"browseblocks", browseblocks},
    {"layout", layout}, {"dblclick", dblclick},
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
    const bool whole = c.session.commandLine.TypeText(typed);
    c.session.commandLine.InputKey(mmKey::Return);
    if (!whole)
        return "the line is longer than the " + std::to_string(mmCommandLine::kMaxTypedLength) +
               " characters the command line takes; it was entered without the rest";
    return {};
}

bool HeadlessHost::saveImage(const kestrel::platform::Image& picture, const std::string& mimeType,
                   const std::string& path, std::string* error) {
    return SaveImageWithEncoder(picture, mimeType, path, error);
}

std::optional<kestrel::platform::PrintJob> HeadlessHost::printDialog(
    const kestrel::platform::PrinterSetup& setup) {
    const std::optional<std::string> file = saveFileDialog("Plot", "PDF files|*.pdf", "plot.pdf");
    if (!file) return std::nullopt;
    return kestrel::platform::PrintJob{setup, *file};
}

bool HeadlessHost::printPage(const kestrel::platform::Image& picture,
                   const kestrel::platform::PageRect& placement,
                   const kestrel::platform::PrintJob& job, std::string* error) {
    return WritePdfPage(picture, placement, job, error);
}
