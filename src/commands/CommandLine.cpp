// The command-line model: submissions, the transcript and the keys of the input line and the
// history pane.
#include "commands/CommandLine.h"

#include <algorithm>

#include "commands/Interpreter.h"
#include "commands/ObjectSnap.h"
#include "commands/Selection.h"
#include "commands/Session.h"

std::u16string_view mmCommandLine::typedText() const {
    return std::u16string_view(input_).substr(shownPrompt_);
}

void mmCommandLine::SubmitInput(std::u16string_view text, bool picked) {
    std::u16string line = input_;
    if (text != kPickMarker) line += text;
    AppendHistory(line, false);
    InterpretInput(session_, std::u16string(text), picked);
    FlushPendingMessage();
    ResetInputLine();
}

void mmCommandLine::SubmitMenuCommand(std::u16string_view name) {
    std::u16string line = kIdlePrompt;
    line += name;
    AppendHistory(line, true);
    InterpretInput(session_, std::u16string(name), false);
    FlushPendingMessage();
    ResetInputLine();
}

void mmCommandLine::AppendHistory(std::u16string_view text, bool withPending) {
    const std::size_t before = history_.size();
    history_ += u"\r\n";
    history_ += text;
    if (withPending) history_ += pendingMessage;
    appended_ += history_.size() - before;
    trimHistory();
}

void mmCommandLine::FlushPendingMessage() {
    if (pendingMessage.empty()) return;
    history_ += u"\r\n";
    history_ += pendingMessage;
    appended_ += 2 + pendingMessage.size();
    pendingMessage.clear();
    trimHistory();
}

void mmCommandLine::trimHistory() {
    if (history_.size() <= kHistoryLimit) return;
    // Whole lines go from the front, down to three quarters of the limit, so trimming is rare.
    const std::size_t keep = kHistoryLimit / 4 * 3;
    std::size_t cut = history_.find(u"\r\n", history_.size() - keep);
    if (cut == std::u16string::npos) cut = history_.size() - keep;
    history_.erase(0, cut);
}

void mmCommandLine::ResetInputLine() {
    input_ = prompt;
    shownPrompt_ = prompt.size();
    // The quote that opened a quoted text left with the line it was typed in.
    quoteMode = false;
}

void mmCommandLine::InputKey(mmKey key, std::u16string_view text) {
    pendingMessage.clear();
    switch (key) {
        case mmKey::Backspace:
            backspace();
            break;
        case mmKey::Return:
            submitTyped();
            break;
        case mmKey::Escape:
            escape();
            break;
        case mmKey::Space:
            if (quoteMode)
                TypeText(u" ");
            else
                SubmitInput(session_.lastCommand, false);
            break;
        case mmKey::F3:
            ToggleSnap(session_);
            break;
        case mmKey::Delete:
        case mmKey::Shift:
            break;
        case mmKey::Other:
            TypeText(text);
            break;
    }
}

bool mmCommandLine::HistoryKey(mmKey key, std::u16string_view text) {
    switch (key) {
        case mmKey::Backspace:
            return false;
        case mmKey::Space:
            SubmitInput(session_.lastCommand, false);
            return false;
        case mmKey::Return:
            return true;
        default:
            TypeText(text);
            return false;
    }
}

bool mmCommandLine::TypeText(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x20 || c == 0x7F) continue;  // control characters are keys, not text
        const std::size_t room = kMaxTypedLength - std::min(kMaxTypedLength, typedText().size());
        // A surrogate pair goes in whole or not at all.
        const bool pair = c >= 0xD800 && c <= 0xDBFF;
        if (room < (pair ? 2u : 1u)) return false;
        if (c == u'"') quoteMode = !quoteMode;
        input_ += c;
        if (pair && i + 1 < text.size()) input_ += text[++i];
    }
    return true;
}

void mmCommandLine::PasteText(std::u16string_view text) {
    for (;;) {
        const std::size_t end = text.find_first_of(u"\r\n");
        TypeText(text.substr(0, end));
        if (end == std::u16string_view::npos) return;
        submitTyped();
        const bool pair = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
        text.remove_prefix(end + (pair ? 2 : 1));
    }
}

void mmCommandLine::submitTyped() {
    const std::u16string full = input_;
    const std::u16string typed(typedText());
    AppendHistory(full, true);
    InterpretInput(session_, typed, false);
    FlushPendingMessage();
    ResetInputLine();
}

void mmCommandLine::escape() {
    ClearSelection(session_);
    session_.ActiveView().selectionWindowStarted = false;
    session_.RequestRedraw();
}

void mmCommandLine::backspace() {
    if (input_.size() <= shownPrompt_) return;  // the prompt cannot be erased
    std::size_t cut = input_.size() - 1;
    // A surrogate pair goes as one character.
    if (cut > shownPrompt_ && input_[cut] >= 0xDC00 && input_[cut] <= 0xDFFF &&
        input_[cut - 1] >= 0xD800 && input_[cut - 1] <= 0xDBFF)
        --cut;
    if (input_[cut] == u'"') quoteMode = !quoteMode;
    input_.erase(cut);
}
