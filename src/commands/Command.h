// mmCommandSteps: what a built-in command does with each event while it runs. Each command's
// step machine lives in its own file and exports one of these.
#pragma once

#include <optional>
#include <string>

class mmDrawContext;
class mmSession;
class mmView;

struct mmCommandSteps {
    // Called when the command starts, with the view already at step 1 of it and its first prompt
    // set: prepares the pending entity. An immediate command acts here and finishes. text is the
    // line that started the command (the argument for commands that take one); finishing
    // consumes it.
    void (*start)(mmSession& session, std::u16string& text);
    // One submitted line for the running command. picked: the line is the echo of a pick the
    // command already took through pick. Consumes the text by clearing it when it finishes.
    void (*input)(mmSession& session, std::u16string& text, bool picked);
    // A left click at (x, y) in drawing coordinates while the command runs: the step takes the
    // point its own way and returns the text to submit with the picked flag, or nothing when the
    // step takes no pick. Null: picks are ignored.
    std::optional<std::u16string> (*pick)(mmSession& session, double x, double y);
    // The rubber band for the cursor at (x, y). Null: none.
    void (*preview)(const mmSession& session, const mmView& view, mmDrawContext& dc, double x,
                    double y);
};

// Built-in commands.
extern const mmCommandSteps kPointSteps;
extern const mmCommandSteps kPlineSteps;
extern const mmCommandSteps kLineSteps;
extern const mmCommandSteps kCircleSteps;
extern const mmCommandSteps kArcSteps;
extern const mmCommandSteps kRectangleSteps;
extern const mmCommandSteps kTextSteps;
extern const mmCommandSteps kRasterSteps;
extern const mmCommandSteps kImptxtSteps;
extern const mmCommandSteps kViewportSteps;
extern const mmCommandSteps kPlotScaleSteps;
extern const mmCommandSteps kExportImageSteps;
extern const mmCommandSteps kPlotViewSteps;
extern const mmCommandSteps kZoomSteps;
extern const mmCommandSteps kPanSteps;
extern const mmCommandSteps kUndoSteps;
extern const mmCommandSteps kRedoSteps;
extern const mmCommandSteps kRegenSteps;
extern const mmCommandSteps kTestDimSteps;
extern const mmCommandSteps kWinVerXpSteps;
extern const mmCommandSteps kGripEditSteps;
extern const mmCommandSteps kTrimSteps;
extern const mmCommandSteps kExtendSteps;
extern const mmCommandSteps kOffsetSteps;
extern const mmCommandSteps kSendBackSteps;
extern const mmCommandSteps kBringFrontSteps;
extern const mmCommandSteps kBlockSteps;
extern const mmCommandSteps kInsertSteps;
extern const mmCommandSteps kHatchSteps;
extern const mmCommandSteps kDimLinearSteps;
extern const mmCommandSteps kDimAlignedSteps;
