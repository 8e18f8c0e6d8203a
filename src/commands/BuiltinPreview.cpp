// The preview of the running command, drawn in grey with width 1.
#include "commands/BuiltinPreview.h"

#include "commands/Command.h"
#include "commands/CommandTable.h"
#include "commands/Session.h"
#include "entities/DrawContext.h"

void mmBuiltinCommandPreview::DrawPreview(mmDrawContext& dc, const mmView& view, double cursorX,
                                          double cursorY) const {
    if (view.commandId == 0) return;
    dc.Color(0.2f, 0.2f, 0.2f);
    dc.LineWidth(1.0f);
    if (view.rubberBand == kRubberFromBase)
        PreviewLine(dc, view, view.rubberBase, mmVertex(cursorX, cursorY));
    const mmCommandSteps* steps = StepsOfCommand(view.commandId);
    if (steps && steps->preview) steps->preview(session_, view, dc, cursorX, cursorY);
}

void PreviewLine(mmDrawContext& dc, const mmView& view, const mmVertex& a, const mmVertex& b) {
    const mmOriginOffset& o = view.originOffset;
    dc.Begin(prim::kLineStrip);
    dc.Vertex(a.x - o.x, a.y - o.y);
    dc.Vertex(b.x - o.x, b.y - o.y);
    dc.End();
}

void PreviewEntity(mmDrawContext& dc, const mmView& view, mmObject& entity) {
    const mmShift shift{0.0, 0.0, view.originOffset.x, view.originOffset.y};
    entity.Draw(dc, view.VisibleWindow(), kDrawNormal, static_cast<float>(view.ActiveZoomScale()),
                prim::kLineStrip, shift, false);
}
