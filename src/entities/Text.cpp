// Texts: string and layout, display-list compiling and release, drawing, picking and crossing.
#include "entities/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/PickReach.h"

namespace {

constexpr double kBoxStart = 99999999999.0;
constexpr float kPale = 0.7f;  // the outline is the colour blended this far towards white

// The character positions of a text: scale, rotation and pen, as the glyph placement rules give
// them. Point (x, y) of a glyph maps relative to the insertion point.
struct Placement {
    double s, cosT, sinT, ox, oy;
    double penX, penY;

    void map(double x, double y, double& outX, double& outY) const {
        const double u = s * x - ox;
        const double w = s * y - oy;
        outX = cosT * u - sinT * w + ox + penX;
        outY = oy + sinT * u + cosT * w + penY;
    }
    void step(const mmGlyph& g) {
        penX += cosT * s * g.advanceX - sinT * s * g.advanceY;
        penY += sinT * s * g.advanceX + cosT * s * g.advanceY;
    }
};

}  // namespace

mmText::~mmText() { ReleaseLists(); }

double mmText::Scale() const {
    const double ref = glyphs ? glyphs->ReferenceHeight() : 0.0;
    return ref > 0.0 ? height / ref : 0.0;
}

// Calls visitor.Begin() for each contour, visitor.Point(x, y) for each of its points mapped
// relative to the insertion point, visitor.End(); stops early when Point returns false.
template <class Visitor>
bool mmText::VisitOutlines(Visitor& visitor) const {
    if (!hasOutlines_) return true;
    const double theta = rotation * kDegToRad;
    Placement place{Scale(), std::cos(theta), std::sin(theta), offsetX, offsetY, -offsetX, -offsetY};
    for (const char* c = text; *c; ++c) {
        const mmGlyph* g = glyphs->Find(static_cast<unsigned char>(*c));
        if (!g) continue;  // outside the table
        for (std::size_t k = 0; k < g->contourCount(); ++k) {
            visitor.Begin();
            for (const mmGlyphPoint& q : g->contour(k)) {
                double x = 0.0, y = 0.0;
                place.map(q.x, q.y, x, y);
                if (!visitor.Point(x, y)) return false;
            }
            visitor.End();
        }
        place.step(*g);
    }
    return true;
}

// offsetX/offsetY from the first character, the advance, and the box over the mapped contour
// points and the pen positions. Unrotated glyphs contribute their ink boxes, which map to the
// same extremes as their points.
void mmText::Layout() {
    offsetX = offsetY = advance = 0.0;
    hasOutlines_ = false;
    const double s = Scale();
    if (s == 0.0 || !std::isfinite(s)) {
        box = {0.0, 0.0, 0.0, 0.0};
        return;
    }
    if (const mmGlyph* first = glyphs->Find(static_cast<unsigned char>(text[0])); first && text[0]) {
        offsetX = s * first->originX;
        offsetY = s * first->originY;
    }
    box = {kBoxStart, kBoxStart, -kBoxStart, -kBoxStart};
    const double theta = rotation * kDegToRad;
    Placement place{s, std::cos(theta), std::sin(theta), offsetX, offsetY, -offsetX, -offsetY};
    const bool upright = place.cosT == 1.0 && place.sinT == 0.0;
    WidenRect(box, place.penX, place.penY);
    for (const char* c = text; *c; ++c) {
        const mmGlyph* g = glyphs->Find(static_cast<unsigned char>(*c));
        if (!g) continue;
        if (!g->points.empty()) {
            hasOutlines_ = true;
            double x = 0.0, y = 0.0;
            if (upright) {
                place.map(g->inkMinX, g->inkMinY, x, y);
                WidenRect(box, x, y);
                place.map(g->inkMaxX, g->inkMaxY, x, y);
                WidenRect(box, x, y);
            } else {
                for (const mmGlyphPoint& q : g->points) {
                    place.map(q.x, q.y, x, y);
                    WidenRect(box, x, y);
                }
            }
        }
        place.step(*g);
        advance += s * g->advanceX;
        WidenRect(box, place.penX, place.penY);
    }
}

void mmText::CreateText(std::string_view string, mmGlyphTablePtr table) {
    height = 1.0;
    rotation = 0.0;
    SetString(string, std::move(table));
}

void mmText::SetInsertionPoint(double x, double y) {
    if (points.empty())
        points.emplace_back(x, y);
    else {
        points[0].x = x;
        points[0].y = y;
    }
    SetGripAt(grips, 0, x, y);
    UpdateExtents();
}

void mmText::SetString(std::string_view string, mmGlyphTablePtr table) {
    string = string.substr(0, std::min(string.find('\0'), kTextCapacity - 1));
    std::memcpy(text, string.data(), string.size());
    text[string.size()] = '\0';
    Rebuild(std::move(table));
}

bool mmText::SetHeight(double h, mmGlyphTablePtr table) {
    if (!std::isfinite(h)) return false;
    height = h;
    SetString(String(), std::move(table));
    return true;
}

bool mmText::SetRotation(double degrees, mmGlyphTablePtr table) {
    if (!std::isfinite(degrees)) return false;
    rotation = degrees;
    Rebuild(std::move(table));
    return true;
}

void mmText::Rebuild(mmGlyphTablePtr table) {
    if (table) glyphs = std::move(table);
    if (points.empty()) SetInsertionPoint(0.0, 0.0);
    Layout();
    ReleaseLists();
    UpdateExtents();
}

mmVertex mmText::DrawOrigin() const {
    return points.empty() ? mmVertex() : mmVertex(points[0].x, points[0].y);
}

bool mmText::HasListsIn(const mmDrawContext& dc) const {
    return displayLists != 0 && listSpace_.lock() == dc.ListSpace();
}

void mmText::ReleaseLists() {
    if (displayLists != 0)
        if (auto space = listSpace_.lock()) space->Release(displayLists, 2);
    displayLists = 0;
    listSpace_.reset();
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

// List 0: a pale outline, then the fill in the entity colour (pure white shows black). List 1:
// the fill in white through the highlight stipple.
bool mmText::Compile(mmDrawContext& dc) {
    dc.DeleteReleasedLists();
    ReleaseLists();
    const uint32_t base = dc.GenLists(2);
    if (base == 0) return false;
    displayLists = base;
    listSpace_ = dc.ListSpace();

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

    dc.NewList(base);
    dc.Color(rgb[0] + (1 - rgb[0]) * kPale, rgb[1] + (1 - rgb[1]) * kPale,
             rgb[2] + (1 - rgb[2]) * kPale);
    VisitOutlines(strips);
    dc.Color(rgb[0], rgb[1], rgb[2]);
    EmitFill(dc);
    dc.EndList();

    dc.NewList(base + 1);
    dc.LineWidth(1.0f);
    dc.PolygonStipple(highlightStipple);
    dc.Color(1.0f, 1.0f, 1.0f);
    EmitFill(dc);
    dc.PolygonStipple(nullptr);
    dc.EndList();
    return true;
}

void mmText::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int,
                  const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    if (!hasOutlines_) return;
    if (!HasListsIn(dc) && !Compile(dc)) return;
    const mmVertex origin = DrawOrigin();
    dc.PushMatrix();
    dc.Translate(origin.x - shift.dx2, origin.y - shift.dy2);
    if (mode == kDrawNormal) {
        dc.CallList(displayLists);
    } else {
        dc.PolygonStipple(highlightStipple);
        dc.CallList(displayLists + 1);
    }
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

void mmText::UpdateGrips() {
    if (grips.size() != points.size()) grips.assign(points.size(), mmVertex());
    for (std::size_t i = 0; i < points.size(); ++i) {
        grips[i].x = points[i].x;
        grips[i].y = points[i].y;
    }
}

void mmText::UpdateExtents() {
    if (points.empty()) {
        SetExtents(EmptyExtents());
        return;
    }
    const mmVertex origin = DrawOrigin();
    SetExtents(
        {origin.x + box.minX, origin.y + box.minY, origin.x + box.maxX, origin.y + box.maxY});
}

void mmText::SetColor(uint32_t newColor, int32_t newColorIndex, const mmGlyphTable* table) {
    mmObject::SetColor(newColor, newColorIndex, table);
    Rebuild(table ? table->weak_from_this().lock() : nullptr);
}

void mmText::CopyTextFields(const mmText& from) {
    if (&from == this) return;
    height = from.height;
    offsetX = from.offsetX;
    offsetY = from.offsetY;
    std::memcpy(text, from.text, kTextCapacity);
    text[kTextCapacity - 1] = '\0';
    rotation = from.rotation;
    advance = from.advance;
    glyphs = from.glyphs;
}

void mmText::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* t = dynamic_cast<const mmText*>(&from)) CopyTextFields(*t);
    CopyPointsAndGrips(from);
    Rebuild(nullptr);
    UpdateExtents();
}
