// Texts: the glyphs placed by the text's transform, drawn (filled through the stencil, with a pale
// outline), picked and tested against rectangles; texts too small to read drawn as a line.
#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/PickReach.h"
#include "entities/Text.h"
#include "platform/Unicode.h"

namespace {

constexpr float kPale = 0.7f;  // the outline is the colour blended this far towards white

}  // namespace

// Calls visitor.Begin() for each contour, visitor.Point(x, y) for each of its points placed
// relative to DrawOrigin, visitor.End(); stops early when Point returns false.
template <class Visitor>
bool mmText::VisitOutlines(Visitor& visitor) const {
    if (!hasOutlines_) return true;
    const double theta = DrawRotation() * kDegToRad;
    const double c = std::cos(theta), sn = std::sin(theta);
    const double shear = std::tan(oblique * kDegToRad);
    const double sx = ScaleX(), sy = ScaleY();
    bool go = true;
    VisitLines([&](const mmTextLine& line) {
        double pen = 0.0, inkStart = 0.0;
        bool first = true;
        const std::string_view s = line.shown;
        for (std::size_t i = 0; go && i < s.size();) {
            char32_t cp = 0;
            const std::size_t n = kestrel::platform::decodeUtf8(s, i, cp);
            i += n ? n : 1;
            const mmGlyph* g = n ? glyphs->Find(cp) : nullptr;
            if (!g) continue;
            if (first) inkStart = sx * g->originX;
            first = false;
            const double x0 = line.x + sx * pen - inkStart;
            for (std::size_t k = 0; go && k < g->contourCount(); ++k) {
                visitor.Begin();
                for (const mmGlyphPoint& q : g->contour(k)) {
                    const double x = x0 + sx * q.x + shear * sy * q.y;
                    const double y = line.y + sy * q.y;
                    if (!visitor.Point(c * x - sn * y, sn * x + c * y)) {
                        go = false;
                        break;
                    }
                }
                visitor.End();
            }
            pen += g->advanceX;
        }
    });
    return go;
}

void mmText::EmitFill(mmDrawContext& dc) const {
    struct Fans {
        mmDrawContext& dc;
        void Begin() { dc.Begin(prim::kTriangleFan); }
        bool Point(double x, double y) {
            dc.Vertex(x, y);
            return true;
        }
        void End() { dc.End(); }
    } fans{dc};
    dc.StencilMaskBegin();
    VisitOutlines(fans);
    dc.StencilCoverBegin();
    dc.Begin(prim::kQuads);
    dc.Vertex(box.minX, box.minY);
    dc.Vertex(box.maxX, box.minY);
    dc.Vertex(box.maxX, box.maxY);
    dc.Vertex(box.minX, box.maxY);
    dc.End();
    dc.StencilEnd();
}

// Normal look: a pale outline, then the fill in the entity colour (pure white shows black).
// Highlighted: the fill in white through the highlight stipple.
void mmText::EmitGlyphs(mmDrawContext& dc, int mode) const {
    if (mode != kDrawNormal) {
        dc.LineWidth(1.0f);
        dc.PolygonStipple(highlightStipple);
        dc.Color(1.0f, 1.0f, 1.0f);
        EmitFill(dc);
        dc.PolygonStipple(nullptr);
        return;
    }
    float rgb[3] = {(color & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                    ((color >> 16) & 0xFF) / 255.0f};
    if ((color & 0xFFFFFF) == 0xFFFFFF) rgb[0] = rgb[1] = rgb[2] = 0.0f;
    struct Strips {
        mmDrawContext& dc;
        void Begin() { dc.Begin(prim::kLineStrip); }
        bool Point(double x, double y) {
            dc.Vertex(x, y);
            return true;
        }
        void End() { dc.End(); }
    } strips{dc};
    dc.Color(rgb[0] + (1 - rgb[0]) * kPale, rgb[1] + (1 - rgb[1]) * kPale,
             rgb[2] + (1 - rgb[2]) * kPale);
    VisitOutlines(strips);
    dc.Color(rgb[0], rgb[1], rgb[2]);
    EmitFill(dc);
}

// A line through the middle of each shown line, from the start to the end of its ink, placed
// at (ox, oy) without a matrix of its own, so that the lines of many texts go in one batch.
void mmText::EmitGreeked(mmDrawContext& dc, double ox, double oy) const {
    const double theta = DrawRotation() * kDegToRad;
    const double c = std::cos(theta), sn = std::sin(theta);
    const double middle = ScaleY() * glyphs->ReferenceHeight() / 2.0;
    VisitLines([&](const mmTextLine& line) {
        const double y = line.y + middle;
        dc.Begin(prim::kLines);
        dc.Vertex(ox + c * line.x - sn * y, oy + sn * line.x + c * y);
        const double x1 = line.x + line.width;
        dc.Vertex(ox + c * x1 - sn * y, oy + sn * x1 + c * y);
        dc.End();
    });
}

void mmText::EmitBox(mmDrawContext& dc, double ox, double oy) const {
    dc.Begin(prim::kLineLoop);
    dc.Vertex(ox + box.minX, oy + box.minY);
    dc.Vertex(ox + box.maxX, oy + box.minY);
    dc.Vertex(ox + box.maxX, oy + box.maxY);
    dc.Vertex(ox + box.minX, oy + box.maxY);
    dc.End();
}

void mmText::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int,
                  const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    if (!hasOutlines_) return;
    const mmVertex origin = DrawOrigin();
    if (std::fabs(height) * pixelsPerUnit < kTextGreekPixels) {
        if (mode == kDrawNormal) {
            const bool white = (color & 0xFFFFFF) == 0xFFFFFF;
            dc.Color(white ? 0.0f : (color & 0xFF) / 255.0f,
                     white ? 0.0f : ((color >> 8) & 0xFF) / 255.0f,
                     white ? 0.0f : ((color >> 16) & 0xFF) / 255.0f);
        } else {
            dc.Color(1.0f, 1.0f, 1.0f);
        }
        // On screen a text too small to read shows as its box; pictures and plots keep the lines.
        if (dc.DetailPixels() > 0.0f)
            EmitBox(dc, origin.x - shift.dx2, origin.y - shift.dy2);
        else
            EmitGreeked(dc, origin.x - shift.dx2, origin.y - shift.dy2);
        return;
    }
    dc.PushMatrix();
    dc.Translate(origin.x - shift.dx2, origin.y - shift.dy2);
    if (mode != kDrawNormal) dc.PolygonStipple(highlightStipple);
    EmitGlyphs(dc, mode);
    dc.PopMatrix();
}

bool mmText::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                     const mmShift& shift, bool cull) {
    if (points.empty() || !hasOutlines_ || (cull && CulledBy(view, shift))) return false;
    const mmPickReach reach(cx, cy, m, kPickPixels);
    const double sx = shift.cullX();
    const double sy = shift.cullY();
    if (!reach.Near(extents.minX + sx, extents.minY + sy, extents.maxX + sx, extents.maxY + sy))
        return false;
    const mmVertex origin = DrawOrigin();
    // Edges between consecutive points of each contour (contours are closed by their points).
    struct Edges {
        const mmPickReach& reach;
        const mmViewMatrices& m;
        Vector3D cursor;
        double ox, oy;
        bool first = true;
        double px = 0.0, py = 0.0;
        bool hit = false;
        void Begin() { first = true; }
        bool Point(double x, double y) {
            x += ox;
            y += oy;
            if (!first && reach.NearSegment(px, py, x, y) &&
                pointSegmentDistance(cursor, projectToPixels(px, py, m), projectToPixels(x, y, m)) <
                    kPickPixels)
                hit = true;
            first = false;
            px = x;
            py = y;
            return !hit;
        }
        void End() {}
    } edges{reach, m, Vector3D(static_cast<float>(cx), static_cast<float>(cy)), origin.x + sx,
            origin.y + sy};
    VisitOutlines(edges);
    return edges.hit;
}

bool mmText::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || !hasOutlines_ || (cull && CulledBy(rect, shift))) return false;
    const mmVertex origin = DrawOrigin();
    struct Edges {
        const mmRect& rect;
        double ox, oy;
        bool first = true;
        mmVertex previous;
        bool crosses = false;
        void Begin() { first = true; }
        bool Point(double x, double y) {
            const mmVertex p(x + ox, y + oy);
            if (!first && segmentCrossesRect(previous, p, rect)) crosses = true;
            first = false;
            previous = p;
            return !crosses;
        }
        void End() {}
    } edges{rect, origin.x + shift.cullX(), origin.y + shift.cullY(), true, mmVertex(), false};
    VisitOutlines(edges);
    return edges.crosses;
}
