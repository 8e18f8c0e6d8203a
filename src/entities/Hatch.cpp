// Hatches: loops, rebuilding around the centre, stencil fill, clipped patterns, boundary picking
// and deep copies.
#include "entities/Hatch.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/Spline.h"

namespace {

// Moves every point of a boundary entity (and a spline's fit points with them).
void translateBoundary(mmObject& e, double dx, double dy) {
    for (mmVertex& p : e.points) {
        p.x += dx;
        p.y += dy;
        p.hot = false;
    }
    if (auto* spline = dynamic_cast<mmSpline*>(&e))
        for (mmVertex& p : spline->fitPoints) {
            p.x += dx;
            p.y += dy;
        }
}

bool inverted(const mmRect& r) { return r.minX > r.maxX || r.minY > r.maxY; }

const mmRect kEverywhere{-1e300, -1e300, 1e300, 1e300};

// Curved boundaries are followed to within this part of the hatch's size when patterns are
// clipped to them.
constexpr double kOutlineTolerance = 1e-5;

std::atomic<std::size_t> gHeldPieces{0};

std::size_t piecesOf(const mmHatchPatternGeometry& g) {
    return g.segments.size() / 4 + g.dots.size() / 2;
}

// The geometry shared by a hatch and its copies, counted while it is held.
std::shared_ptr<const mmHatchPatternGeometry> held(std::unique_ptr<mmHatchPatternGeometry> g) {
    gHeldPieces += piecesOf(*g);
    return {g.release(), [](const mmHatchPatternGeometry* p) {
                gHeldPieces -= piecesOf(*p);
                delete p;
            }};
}

}  // namespace

mmHatch::mmHatch() {
    type = kTypeHatch;
    points.emplace_back(0.0, 0.0);
    grips.emplace_back(0.0, 0.0);
}

int mmHatch::AddLoop() {
    loops.push_back(std::make_shared<mmEntityList>());
    return static_cast<int>(loops.size()) - 1;
}

bool mmHatch::AddBoundary(const mmObjectPtr& entity, int loopIndex) {
    if (!entity || loopIndex < 0 || static_cast<std::size_t>(loopIndex) >= loops.size() ||
        !loops[loopIndex])
        return false;
    entity->id = nextBoundaryId++;
    loops[loopIndex]->push_back(entity);
    return true;
}

bool mmHatch::HasBoundary() const {
    for (const auto& loop : loops)
        if (loop)
            for (const mmObjectPtr& e : *loop)
                if (e) return true;
    return false;
}

mmRect mmHatch::BoundaryExtents() const {
    mmRect r = EmptyExtents();
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop) {
            if (!e || inverted(e->extents)) continue;
            WidenRect(r, e->extents.minX, e->extents.minY);
            WidenRect(r, e->extents.maxX, e->extents.maxY);
        }
    }
    return r;
}

void mmHatch::RebuildFill() {
    if (points.empty()) points.emplace_back(0.0, 0.0);
    const mmRect box = BoundaryExtents();
    const double cx = inverted(box) ? 0.0 : (box.minX + box.maxX) / 2.0;
    const double cy = inverted(box) ? 0.0 : (box.minY + box.maxY) / 2.0;
    points[0].x = cx;
    points[0].y = cy;
    UpdateGrips();
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop) {
            if (!e) continue;
            translateBoundary(*e, -cx, -cy);
            e->UpdateGrips();
            e->UpdateExtents();
        }
    }
    UpdateExtents();
    PatternChanged();
}

bool mmHatch::PreparePattern() {
    if (solidFill || patternLines.empty()) return true;
    if (patternState_ != PatternState::Unknown) return patternState_ == PatternState::Ready;
    const mmRect box = BoundaryExtents();
    const double size = inverted(box) ? 0.0 : std::hypot(box.maxX - box.minX, box.maxY - box.minY);
    const double tolerance = std::max(size * kOutlineTolerance, 1e-12);
    mmPolygonLoops polygons;
    for (const auto& loop : loops) {
        if (!loop) continue;
        polygons.emplace_back();
        for (const mmObjectPtr& e : *loop)
            if (e) AppendBoundaryOutline(*e, tolerance, polygons.back());
    }
    const double ox = points.empty() ? 0.0 : points[0].x;
    const double oy = points.empty() ? 0.0 : points[0].y;
    const std::size_t heldNow = gHeldPieces;
    const std::size_t room =
        heldNow < kMostHeldPatternPieces ? kMostHeldPatternPieces - heldNow : 0;
    auto geometry = std::make_unique<mmHatchPatternGeometry>();
    const bool fits = ClipHatchPattern(polygons, patternLines, ox, oy,
                                       std::min(kMostPatternPieces, room), *geometry);
    patternState_ = fits ? PatternState::Ready : PatternState::TooDense;
    if (fits) {
        geometry->segments.shrink_to_fit();
        geometry->dots.shrink_to_fit();
        pattern_ = held(std::move(geometry));
    }
    return fits;
}

std::size_t mmHatch::HeldPatternPieces() { return gHeldPieces; }

const mmHatchPatternGeometry& mmHatch::PatternGeometry() const {
    static const mmHatchPatternGeometry none;
    return pattern_ ? *pattern_ : none;
}

void mmHatch::TransformPattern(double a, double b, double c, double d, double tx, double ty) {
    for (mmHatchPatternLine& line : patternLines) {
        const double bx = line.baseX, by = line.baseY;
        line.baseX = a * bx + b * by + tx;
        line.baseY = c * bx + d * by + ty;
        const double ox = line.offsetX, oy = line.offsetY;
        line.offsetX = a * ox + b * oy;
        line.offsetY = c * ox + d * oy;
        // The direction of the lines, and the stretch of their dashes along it.
        const double ux = std::cos(line.angle * kDegToRad), uy = std::sin(line.angle * kDegToRad);
        const double vx = a * ux + b * uy, vy = c * ux + d * uy;
        line.angle = std::atan2(vy, vx) * kRadToDeg;
        const double stretch = std::hypot(vx, vy);
        for (double& dash : line.dashes) dash *= stretch;
    }
    patternAngle += std::atan2(c, a) * kRadToDeg;
    patternScale *= std::sqrt(std::fabs(a * d - b * c));
    PatternChanged();
}

void mmHatch::MovePattern(double dx, double dy) {
    for (mmHatchPatternLine& line : patternLines) {
        line.baseX += dx;
        line.baseY += dy;
    }
}

mmShift mmHatch::BoundaryShift(const mmShift& shift) const {
    const double x = points.empty() ? 0.0 : points[0].x;
    const double y = points.empty() ? 0.0 : points[0].y;
    return {x + shift.dx1 - shift.dx2, y + shift.dy1 - shift.dy2, 0.0, 0.0};
}

void mmHatch::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int,
                   const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    if (!HasBoundary() || DrawAsDot(dc, *this, pixelsPerUnit, shift)) return;
    if (solidFill)
        DrawStencilFill(dc, mode, pixelsPerUnit, shift);
    else if (!patternLines.empty() && PreparePattern())
        DrawPattern(dc, mode, shift);
    else
        DrawBoundary(dc, mode, pixelsPerUnit, shift);
}

void mmHatch::DrawStencilFill(mmDrawContext& dc, int mode, float pixelsPerUnit,
                              const mmShift& shift) {
    // Fans of all loops invert the stencil: pixels covered an odd number of times are inside.
    dc.StencilMaskBegin();
    dc.PushMatrix();
    dc.Translate(points[0].x - shift.dx2, points[0].y - shift.dy2);
    dc.LineWidth(1.0f);
    if (mode == kDrawHighlight) dc.PolygonStipple(highlightStipple);
    for (const auto& loop : loops) {
        if (!loop) continue;
        dc.Begin(prim::kTriangleFan);
        for (const mmObjectPtr& e : *loop)
            if (e) e->Draw(dc, kEverywhere, kDrawNormal, pixelsPerUnit, kPrimitiveAlreadyOpen, {}, true);
        dc.End();
    }
    if (mode == kDrawHighlight) {
        dc.PolygonStipple(nullptr);
        dc.Color(1.0f, 1.0f, 1.0f);
    }
    dc.PopMatrix();

    // The cover quad over the extents, a pixel wider on every side.
    const double grow = 1.0 / pixelsPerUnit;
    dc.StencilCoverBegin();
    dc.Begin(prim::kQuads);
    dc.Vertex(extents.minX - shift.dx2 - grow, extents.minY - shift.dy2 - grow);
    dc.Vertex(extents.maxX - shift.dx2 + grow, extents.minY - shift.dy2 - grow);
    dc.Vertex(extents.maxX - shift.dx2 + grow, extents.maxY - shift.dy2 + grow);
    dc.Vertex(extents.minX - shift.dx2 - grow, extents.maxY - shift.dy2 + grow);
    dc.End();
    dc.StencilEnd();
}

// The clipped lines in the colour the caller set (white dashes over them when highlighted).
void mmHatch::DrawPattern(mmDrawContext& dc, int mode, const mmShift& shift) {
    dc.PushMatrix();
    dc.Translate(points[0].x - shift.dx2, points[0].y - shift.dy2);
    if (mode == kDrawHighlight) BeginHighlight(dc, prim::kLines);
    const std::vector<float>& s = PatternGeometry().segments;
    if (!s.empty()) {
        dc.Begin(prim::kLines);
        for (std::size_t i = 0; i + 3 < s.size(); i += 4) {
            dc.Vertex(s[i], s[i + 1]);
            dc.Vertex(s[i + 2], s[i + 3]);
        }
        dc.End();
    }
    const std::vector<float>& d = PatternGeometry().dots;
    if (!d.empty()) {
        dc.Begin(prim::kPoints);
        for (std::size_t i = 0; i + 1 < d.size(); i += 2) dc.Vertex(d[i], d[i + 1]);
        dc.End();
    }
    if (mode == kDrawHighlight) EndHighlight(dc, prim::kLines);
    dc.PopMatrix();
}

void mmHatch::DrawBoundary(mmDrawContext& dc, int mode, float pixelsPerUnit, const mmShift& shift) {
    const mmShift inner{0.0, 0.0, shift.dx2 - points[0].x, shift.dy2 - points[0].y};
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop)
            if (e) e->Draw(dc, kEverywhere, mode, pixelsPerUnit, prim::kLineStrip, inner, false);
    }
}

bool mmHatch::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                      float pixelsPerUnit, const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    const mmShift inner = BoundaryShift(shift);
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop)
            if (e && e->HitTest(cx, cy, view, m, pixelsPerUnit, inner, true)) return true;
    }
    return false;
}

void mmHatch::SetSelected(bool on, int& delta) {
    selected = on;
    delta = 0;
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop) {
            if (!e) continue;
            int d = 0;
            e->SetSelected(on, d);
            delta += d;
        }
    }
}

bool mmHatch::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (cull && CulledBy(rect, shift)) return false;
    const mmShift inner = BoundaryShift(shift);
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop)
            if (e && e->CrossesRect(rect, inner, true)) return true;
    }
    return false;
}

void mmHatch::UpdateGrips() {
    if (grips.size() != points.size()) grips.assign(points.size(), mmVertex());
    for (std::size_t i = 0; i < points.size(); ++i) {
        grips[i].x = points[i].x;
        grips[i].y = points[i].y;
    }
}

void mmHatch::UpdateExtents() {
    mmRect r = BoundaryExtents();
    if (!inverted(r) && !points.empty()) {
        r.minX += points[0].x;
        r.maxX += points[0].x;
        r.minY += points[0].y;
        r.maxY += points[0].y;
    }
    SetExtents(r);
}

void mmHatch::CopyFrom(const mmObject& from) {
    if (&from == this) return;
    CopyProperties(from);
    CopyPointsAndGrips(from);
    loops.clear();
    PatternChanged();
    if (const auto* h = dynamic_cast<const mmHatch*>(&from)) {
        nextBoundaryId = h->nextBoundaryId;
        solidFill = h->solidFill;
        patternName = h->patternName;
        patternAngle = h->patternAngle;
        patternScale = h->patternScale;
        patternType = h->patternType;
        patternDouble = h->patternDouble;
        hatchStyle = h->hatchStyle;
        patternLines = h->patternLines;
        // The boundary is copied as it is: the clipped pattern holds for the copy.
        patternState_ = h->patternState_;
        pattern_ = h->pattern_;
        for (const auto& loop : h->loops) {
            auto copy = std::make_shared<mmEntityList>();
            if (loop) {
                copy->reserve(loop->size());
                for (const mmObjectPtr& e : *loop) {
                    if (!e) continue;
                    mmObjectPtr clone = CreateEntityOfType(e->type);
                    if (!clone) continue;
                    clone->CopyFrom(*e);
                    copy->push_back(std::move(clone));
                }
            }
            loops.push_back(std::move(copy));
        }
    }
    UpdateExtents();
}
