// The built-in command table.
#include "commands/CommandTable.h"

#include <array>

#include "commands/Command.h"

namespace {

constexpr char16_t kFirstCornerPrompt[] =
    u"Specify first corner (pick point or type coordinates): ";
constexpr char16_t kFirstOriginPrompt[] = u"Specify first origin for dimension: ";
constexpr char16_t kEdgePrompt[] = u"Select edge object: ";

// Rows whose steps is null join the program with the issue that builds their steps.
constexpr std::array<mmCommandRow, 30> kRows{{
    {u"EXTEND", u"", cmd::kExtend, true, kEdgePrompt, &kExtendSteps},
    {u"TRIM", u"", cmd::kTrim, true, kEdgePrompt, &kTrimSteps},
    {u"OFFSET", u"", cmd::kOffset, true, u"Specify offset distance or [Through]: ", &kOffsetSteps},
    {u"UNDO", u"", cmd::kNone, false, u"", &kUndoSteps},
    {u"REDO", u"", cmd::kNone, false, u"", &kRedoSteps},
    {u"TESTDIM", u"", cmd::kNone, false, u"", &kTestDimSteps},
    {u"PLOTSCALE", u"", cmd::kPlotScale, false, u"Specify plot scale, 1[mm] = <%.4f> [units]: ",
     &kPlotScaleSteps},
    {u"PLOTVIEW", u"", cmd::kNone, false, u"", &kPlotViewSteps},
    {u"EXPTOIMG", u"", cmd::kNone, false, u"", &kExportImageSteps},
    {u"IMPTXT", u"", cmd::kNone, true, u"", &kImptxtSteps},
    {u"SENDBACK", u"", cmd::kSendBack, false, u"Select object(s) to send to back: ",
     &kSendBackSteps},
    {u"BRINGFRONT", u"", cmd::kBringFront, false, u"Select object(s) to bring to front: ",
     &kBringFrontSteps},
    {u"DIMLINEAR", u"", cmd::kDimLinear, true, kFirstOriginPrompt, &kDimLinearSteps},
    {u"DIMALIGNED", u"", cmd::kDimAligned, true, kFirstOriginPrompt, &kDimAlignedSteps},
    {u"POINT", u"", cmd::kPoint, true,
     u"Specify point coordinates (pick point or type coordinates): ", &kPointSteps},
    {u"RECTANGLE", u"", cmd::kRectangle, true, kFirstCornerPrompt, &kRectangleSteps},
    {u"VIEWPORT", u"", cmd::kViewport, false, kFirstCornerPrompt, &kViewportSteps},
    {u"LINE", u"", cmd::kLine, true, u"Specify first point (pick point or type coordinates): ",
     &kLineSteps},
    {u"PLINE", u"", cmd::kPline, true, u"Specify first point: ", &kPlineSteps},
    {u"CIRCLE", u"", cmd::kCircle, true, u"Specify center point: ", &kCircleSteps},
    {u"ARC", u"", cmd::kArc, true, u"Specify start point or [Center]: ", &kArcSteps},
    {u"BLOCK", u"", cmd::kBlock, true, u"Select objects to make block: ", &kBlockSteps},
    {u"HATCH", u"", cmd::kHatch, true, u"Select objects to make hatch: ", &kHatchSteps},
    {u"INSERT", u"", cmd::kInsert, true,
     u"Type block name or [Display 'Block Insert Dialog' (hit enter)]: ", &kInsertSteps},
    {u"RASTER", u"", cmd::kRaster, false, u"Specify raster image insertion point: ",
     &kRasterSteps},
    {u"TEXT", u"", cmd::kText, true, u"Type the text: ", &kTextSteps},
    {u"ZOOM", u"Z", cmd::kZoom, true,
     u"Specify corner of window or [All/Extents/Real time/Window/Center/Scale]: <real time> ",
     &kZoomSteps},
    {u"PAN", u"", cmd::kPan, false,
     u"Hold left mouse button and move arround. Hit <Enter> or <Esc> to exit.", &kPanSteps},
    {u"REGEN", u"RE", cmd::kNone, false, u"", &kRegenSteps},
    {u"WINVERXP", u"XP", cmd::kNone, false, u"", &kWinVerXpSteps},
}};

}  // namespace

std::span<const mmCommandRow> CommandTable() {
    return kRows;
}

const mmCommandRow* FindCommandRow(std::u16string_view upperName) {
    if (upperName.empty()) return nullptr;
    for (const mmCommandRow& row : kRows)
        if (row.name == upperName || row.alias == upperName) return &row;
    return nullptr;
}

const mmCommandRow* FindBuiltinCommand(std::u16string_view upperName) {
    const mmCommandRow* row = FindCommandRow(upperName);
    return row && row->steps ? row : nullptr;
}

const mmCommandSteps* StepsOfCommand(int32_t commandId) {
    if (commandId == cmd::kNone) return nullptr;
    if (commandId == cmd::kGripEdit) return &kGripEditSteps;  // started by a click, not typed
    for (const mmCommandRow& row : kRows)
        if (row.commandId == commandId) return row.steps;
    return nullptr;
}

std::u16string LastCommandName(std::u16string_view upperTyped) {
    if (upperTyped == u"Z") return u"ZOOM";
    if (upperTyped == u"RE") return u"REGEN";
    return std::u16string(upperTyped);
}
