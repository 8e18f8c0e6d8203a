// The lines of a headless script: typed lines, and directives written "!NAME ARGUMENTS" that do
// what a user does outside the command line (a click in the view, the answer to a dialog). A
// directive is one row of the table in HeadlessScript.cpp.
#pragma once

#include <deque>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/StderrHost.h"

class mmSession;

// The headless mode's Host: message boxes go to standard error and history lines to the
// session's command line. File dialogs and message boxes take the answers the script gave
// ahead of them, one each, in order; without one a file dialog is cancelled and a question
// answered No.
class HeadlessHost : public kestrel::platform::StderrHost {
public:
    explicit HeadlessHost(std::ostream& err);

    kestrel::platform::MessageAnswer messageBox(const std::string& text,
                                                kestrel::platform::MessageKind kind,
                                                const std::string& caption) override;
    void historyMessage(const std::string& text) override;
    std::vector<std::string> openFileDialog(const std::string& title, const std::string& filter,
                                            bool multiple) override;
    std::optional<std::string> saveFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& defaultName) override;
    bool saveImage(const kestrel::platform::Image& picture, const std::string& mimeType,
                   const std::string& path, std::string* error) override;
    // The PDF printer: the file the next !file line names.
    std::optional<kestrel::platform::PrintJob> printDialog(
        const kestrel::platform::PrinterSetup& setup) override;
    bool printPage(const kestrel::platform::Image& picture,
                   const kestrel::platform::PageRect& placement,
                   const kestrel::platform::PrintJob& job, std::string* error) override;

    void queueFiles(std::vector<std::string> paths) { files_.push_back(std::move(paths)); }
    void queueButton(kestrel::platform::MessageAnswer answer) { buttons_.push_back(answer); }

    mmSession* session = nullptr;

private:
    std::deque<std::vector<std::string>> files_;
    std::deque<kestrel::platform::MessageAnswer> buttons_;
};

struct mmScriptContext {
    mmSession& session;
    HeadlessHost& host;
};

struct mmScriptDirective {
    std::string_view name;  // the line starts with "!" and this, then a blank or its end
    // Runs the directive with the rest of the line (leading blanks removed); returns what was
    // wrong with the line, or nothing.
    std::string (*run)(mmScriptContext& context, std::string_view arguments);
};

std::span<const mmScriptDirective> ScriptDirectives();

// One script line: a directive, or a line typed into the command line and entered ("!!" at the
// start stands for "!"). Returns what was wrong with it, or nothing.
std::string RunScriptLine(mmScriptContext& context, std::string_view line);

// The blank-separated words of a directive's arguments; double quotes enclose blanks and are
// removed. Nothing for an unclosed quote.
std::optional<std::vector<std::string>> SplitScriptArguments(std::string_view arguments);
