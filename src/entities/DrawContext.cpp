// Drawing helpers shared by every drawing context.
#include "entities/DrawContext.h"

void EmitRectangleOutline(mmDrawContext& dc, double x0, double y0, double x1, double y1) {
    dc.Begin(prim::kLineStrip);
    dc.Vertex(x0, y0);
    dc.Vertex(x1, y0);
    dc.Vertex(x1, y1);
    dc.Vertex(x0, y1);
    dc.Vertex(x0, y0);
    dc.End();
}
