// mmCommandLine: the model of the command-line pane: the prompt, the input line that always
// starts with it, the history transcript, the pending message, and the keys of the input line
// and of the history pane. Every submission reaches the interpreter through this class.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class mmSession;

// The keys the command line and the drawing view treat specially; every other key is Other and
// brings its text, if any.
enum class mmKey { Backspace, Return, Escape, Space, F3, Delete, Shift, Other };

inline constexpr char16_t kIdlePrompt[] = u"> ";
// Submitted for the second delivery of a pick to an extension command: echoes the prompt alone.
inline constexpr char16_t kPickMarker[] = u"#EXT#";

class mmCommandLine {
public:
    // The history keeps about this many characters of its newest lines, so long batch runs do
    // not grow it without bound.
    static constexpr std::size_t kHistoryLimit = std::size_t{1} << 20;
    // The most characters the input line takes after its prompt; further typed ones are dropped.
    static constexpr std::size_t kMaxTypedLength = 4095;

    explicit mmCommandLine(mmSession& session) : session_(session) {}

    std::u16string prompt = kIdlePrompt;
    // Written to the history after the echo of the line being interpreted, then cleared.
    std::u16string pendingMessage;
    // Toggled by every double quote typed; while set, Space is an ordinary character.
    bool quoteMode = false;

    const std::u16string& history() const { return history_; }
    // Characters ever appended to the history, trimmed ones included: the history holds the last
    // history().size() of them.
    uint64_t historyAppended() const { return appended_; }
    // The input line: the prompt, then what was typed.
    const std::u16string& inputText() const { return input_; }
    std::u16string_view typedText() const;

    // The path by which program components hand text to the interpreter as if typed. picked:
    // the text is the coordinates (or value) of a pick the command has already applied.
    void SubmitInput(std::u16string_view text, bool picked);
    // Menus, toolbars and extensions: echoes "> " + name, then interprets it.
    void SubmitMenuCommand(std::u16string_view name);
    // history += "\r\n" + text (+ the pending message when withPending).
    void AppendHistory(std::u16string_view text, bool withPending);
    void FlushPendingMessage();
    // The input line shows the prompt and nothing typed.
    void ResetInputLine();
    // Takes effect in the input line at the next ResetInputLine.
    void SetPrompt(std::u16string_view text) { prompt = text; }

    // A key pressed in the input line; text is what the key types (empty for none).
    void InputKey(mmKey key, std::u16string_view text = {});
    // A key pressed in the history pane. Returns true when the focus moves to the input line.
    bool HistoryKey(mmKey key, std::u16string_view text = {});
    // Characters typed elsewhere (history pane, drawing view) continue the input line, up to
    // kMaxTypedLength of them. False when some were dropped for that limit.
    bool TypeText(std::u16string_view text);
    // Pasted text: each line break (CR, LF or CR LF) enters the line before it, as Return does;
    // what follows the last break stays typed in the input line.
    void PasteText(std::u16string_view text);

private:
    void trimHistory();
    void submitTyped();
    void escape();
    void backspace();

    mmSession& session_;
    std::u16string history_;
    uint64_t appended_ = 0;
    std::u16string input_ = kIdlePrompt;
    // Length of the prompt the input line shows (SetPrompt changes prompt before the line does).
    std::size_t shownPrompt_ = std::char_traits<char16_t>::length(kIdlePrompt);
};
