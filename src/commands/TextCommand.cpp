// TEXT: a text, added at the start with an empty string, takes in turn its string (at most 199
// characters), its position, its height and its rotation.
#include "commands/Command.h"
#include "commands/DrawingText.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Undo.h"
#include "entities/Text.h"

namespace {

constexpr std::size_t kMaxTextCharacters = 199;
constexpr char16_t kPositionPrompt[] = u"Specify text position: ";
constexpr char16_t kHeightPrompt[] = u"Type text height <1.0>: ";
constexpr char16_t kRotationPrompt[] = u"Type text rotation <0.0>: ";
constexpr char16_t kNoTextMessage[] = u"You didn't enter any text. Will exit text mode!";

enum Step { kString = 1, kPosition = 2, kHeight = 3, kRotation = 4 };

mmText& textEntity(mmSession& s) {
    return static_cast<mmText&>(*s.pendingEntity);
}

void start(mmSession& s, std::u16string&) {
    NewPendingEntity<mmText>(s)->CreateText("", s.glyphTable);
    AddPendingEntity(s);
}

void complete(mmSession& s, std::u16string& text) {
    CompleteGeometry(s, textEntity(s));
    RecordUndoForPending(s, true);
    FinishCommand(s, text);
}

// Before it has a string and a position the text is discarded; after that the empty line keeps
// the default height and rotation.
void onEmpty(mmSession& s, std::u16string& text) {
    switch (s.ActiveView().step) {
        case kString:
            s.commandLine.pendingMessage = kNoTextMessage;
            [[fallthrough]];
        case kPosition:
            DiscardPendingEntity(s);
            FinishCommand(s, text);
            break;
        case kHeight:
            SetCommandStep(s, kRotation, kRotationPrompt);
            break;
        case kRotation:
            complete(s, text);
            break;
    }
}

// The string waits for the position: until then the text shows nothing.
void onString(mmSession& s, const std::u16string& text) {
    const mmDrawingText converted = ToDrawingText(text, kMaxTextCharacters);
    s.scratch.heldText = converted.text;
    s.commandLine.pendingMessage =
        DrawingTextNotice(u"The text", false, converted.cut, kMaxTextCharacters);
    SetCommandStep(s, kPosition, kPositionPrompt);
}

void onPoint(mmSession& s, const mmVertex& position) {
    textEntity(s).SetInsertionPoint(position.x, position.y);
    textEntity(s).SetString(s.scratch.heldText, s.glyphTable);
    s.ActiveView().lastPoint = position;
    SetCommandStep(s, kHeight, kHeightPrompt);
}

// Only a positive height and a non-zero rotation replace the defaults.
void onNumber(mmSession& s, std::u16string& text) {
    const std::optional<double> value = ReadNumber(text);
    switch (s.ActiveView().step) {
        case kHeight:
            if (value && *value > 0.0) textEntity(s).SetHeight(*value, nullptr);
            SetCommandStep(s, kRotation, kRotationPrompt);
            break;
        case kRotation:
            if (value && *value != 0.0) textEntity(s).SetRotation(*value, nullptr);
            complete(s, text);
            break;
    }
}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty()) return onEmpty(s, text);
    switch (s.ActiveView().step) {
        case kString:
            onString(s, text);
            break;
        case kPosition: {
            const std::optional<mmVertex> position =
                picked ? std::optional<mmVertex>(s.ActiveView().pickedPoint) : TypedPoint(s, text);
            if (position) onPoint(s, mmVertex(position->x, position->y));
            break;
        }
        default:
            onNumber(s, text);
            break;
    }
}

// Only the position is picked; the pick is echoed first and applied by the input handler.
std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    if (s.ActiveView().step != kPosition) return std::nullopt;
    return FormatPickedPoint(x, y);
}

}  // namespace

const mmCommandSteps kTextSteps{start, input, pick, nullptr};
