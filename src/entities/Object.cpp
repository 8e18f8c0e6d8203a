// The common behaviour of mmObject: properties, copies, extents, culling, grip snap and the
// highlight and grip drawing shared by the entity classes.
#include "entities/Object.h"

#include <array>
#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/SnapInfo.h"

const uint8_t* DefaultHighlightStipple() {
    static const std::array<uint8_t, 128> pattern = [] {
        std::array<uint8_t, 128> p{};
        for (int row = 0; row < 32; ++row)
            for (int b = 0; b < 4; ++b) p[row * 4 + b] = (row % 2 == 0) ? 0x77 : 0xDD;
        return p;
    }();
    return pattern.data();
}

void mmObject::Draw(mmDrawContext&, const mmRect&, int, float, int, const mmShift&, bool) {}

bool mmObject::HitTest(int, int, const mmRect&, const mmViewMatrices&, float, const mmShift&,
                       bool) {
    return false;
}

bool mmObject::Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                    mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                    const mmShift& shift, bool cull) {
    return SnapToGrips(commandId, forceGrips, cx, cy, view, info, m, pixelsPerUnit, shift, cull);
}

void mmObject::SetSelected(bool on, int& delta) {
    selected = on;
    delta = on ? 1 : -1;
}

bool mmObject::CrossesRect(const mmRect&, const mmShift&, bool) { return false; }

void mmObject::UpdateGrips() {}

void mmObject::UpdateExtents() {}

void mmObject::ApplyOriginOffset(double, double) {}

void mmObject::SetColor(uint32_t newColor, int32_t newColorIndex, const mmGlyphTable*) {
    color = newColor;
    colorIndex = newColorIndex;
}

void mmObject::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    CopyPointsAndGrips(from);
    UpdateExtents();
}

void mmObject::AddPoint(double x, double y) {
    points.emplace_back(x, y);
    if (type == kTypeLine)
        UpdateGrips();
    else
        grips.emplace_back(x, y);
}

void mmObject::CopyProperties(const mmObject& from) {
    color = from.color;
    colorIndex = from.colorIndex;
    selected = from.selected;
    erased = from.erased;
    visible = from.visible;
    layerId = from.layerId;
    lineWidth = from.lineWidth;
    lineWidthSource = from.lineWidthSource;
    lineType = from.lineType;
    id = from.id;
}

void mmObject::CopyPointsAndGrips(const mmObject& from) {
    points = from.points;
    grips = from.grips;
}

void mmObject::GripsAtPoints() {
    if (grips.size() != points.size()) grips.assign(points.size(), mmVertex());
    for (std::size_t i = 0; i < points.size(); ++i) SetGripAt(grips, i, points[i].x, points[i].y);
}

void mmObject::SetExtents(const mmRect& r) {
    if (r.minX == extents_.minX && r.minY == extents_.minY && r.maxX == extents_.maxX &&
        r.maxY == extents_.maxY)
        return;
    extents_ = r;
    if (watcher_) watcher_->ExtentsChanged(watchSlot_);
}

void mmObject::UpdateExtentsFromPoints() {
    mmRect r = EmptyExtents();
    for (const mmVertex& p : points)
        WidenRect(r, p.x, p.y);
    SetExtents(r);
}

bool mmObject::CulledBy(const mmRect& r, const mmShift& shift) const {
    // Construction lines and rays have no extents; they clip themselves to what they are drawn in.
    if (type == kTypeXLine) return false;
    const double sx = shift.cullX();
    const double sy = shift.cullY();
    return r.maxX < extents.minX + sx || r.minX > extents.maxX + sx ||
           r.maxY < extents.minY + sy || r.minY > extents.maxY + sy;
}

bool mmObject::SnapToGrips(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                           mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                           const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    double wx = 0.0;
    double wy = 0.0;
    screenToWorld(cx, cy, m, wx, wy);
    const double tol = kSnapPixels / pixelsPerUnit;
    const Vector3D cursor(static_cast<float>(cx), static_cast<float>(cy));
    int found = -1;
    mmVertex best;
    int bestPx = 0;
    int bestPy = 0;
    for (int i = 0; i < gripCount(); ++i) {
        mmVertex& grip = grips[i];
        grip.hover = false;
        if (commandId != kGripEditCommandId) grip.hot = false;
        if (!forceGrips && !(info.modes & kSnapEndpoint)) continue;
        const double gx = grip.x + shift.dx1 - shift.dx2;
        const double gy = grip.y + shift.dy1 - shift.dy2;
        if (std::abs(wx - gx) > tol || std::abs(wy - gy) > tol) continue;
        if (!pointInExpandedRect(gx, gy, tol, view)) continue;
        int px = 0;
        int py = 0;
        worldToScreen(gx, gy, m, px, py);
        const float d = pointDistance(cursor, Vector3D(static_cast<float>(px), static_cast<float>(py)));
        if (d < kSnapPixels && d < info.gripDistance) {
            info.gripDistance = d;
            info.kind = kSnapGrip;
            best = mmVertex(gx, gy);
            bestPx = px;
            bestPy = py;
            found = i;
        }
    }
    if (found < 0) return false;
    info.x = best.x;
    info.y = best.y;
    info.screenX = bestPx;
    info.screenY = bestPy;
    info.gripIndex = found;
    info.segmentIndex = found / 2;
    info.entityId = id;
    info.discrete = true;
    return true;
}

void BeginHighlight(mmDrawContext& dc, int primitive) {
    dc.LineWidth(1.0f);
    if (primitive != kPrimitiveAlreadyOpen) dc.LineStipple(true, 4, 0xAAAA);
    dc.Color(1.0f, 1.0f, 1.0f);
}

void EndHighlight(mmDrawContext& dc, int primitive) {
    if (primitive != kPrimitiveAlreadyOpen) dc.LineStipple(false);
}

void DrawHeldEntities(mmDrawContext& dc, const mmEntityList& entities, int mode,
                      float pixelsPerUnit, int primitive, const mmShift& shift,
                      uint32_t byBlockColor, const mmRect* view) {
    static const mmRect everywhere{-1e300, -1e300, 1e300, 1e300};
    for (const mmObjectPtr& e : entities) {
        if (!e || e->erased || !e->visible) continue;
        uint32_t c = e->colorIndex == kColorByBlock ? byBlockColor : e->color;
        if ((c & 0xFFFFFF) == 0xFFFFFF) c = 0;  // white is drawn black on the white sheet
        dc.Color((c & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, ((c >> 16) & 0xFF) / 255.0f);
        dc.LineWidth(static_cast<float>(e->lineWidth));
        e->Draw(dc, view ? *view : everywhere, mode, pixelsPerUnit, primitive, shift, view != nullptr);
    }
}

bool DrawAsDot(mmDrawContext& dc, const mmObject& e, float pixelsPerUnit, const mmShift& shift) {
    const float limit = dc.DetailPixels();
    const mmRect& r = e.extents;
    if (limit <= 0.0f || r.minX > r.maxX || r.minY > r.maxY) return false;
    if ((r.maxX - r.minX) * pixelsPerUnit >= limit || (r.maxY - r.minY) * pixelsPerUnit >= limit)
        return false;
    dc.PointSize(1.0f);
    dc.Begin(prim::kPoints);
    dc.Vertex((r.minX + r.maxX) / 2.0 - shift.dx2, (r.minY + r.maxY) / 2.0 - shift.dy2);
    dc.End();
    return true;
}

void SetGripColor(mmDrawContext& dc, const mmVertex& grip) {
    if (grip.hot)
        dc.Color(0.8f, 0.1f, 0.1f);
    else if (grip.hover)
        dc.Color(0.1f, 0.8f, 0.1f);
    else
        dc.Color(0.1f, 0.1f, 0.8f);
}

void DrawGripSquare(mmDrawContext& dc, const mmVertex& grip, double dx, double dy,
                    float pixelsPerUnit, int upper) {
    dc.PushMatrix();
    dc.Translate(grip.x - dx, grip.y - dy);
    dc.Scale(1.0 / pixelsPerUnit, 1.0 / pixelsPerUnit);
    dc.Begin(prim::kQuads);
    dc.Vertex(-5, -5);
    dc.Vertex(upper, -5);
    dc.Vertex(upper, upper);
    dc.Vertex(-5, upper);
    dc.End();
    dc.PopMatrix();
}

void DrawGripList(mmDrawContext& dc, const std::vector<mmVertex>& grips, double dx, double dy,
                  float pixelsPerUnit, int upper) {
    dc.Color(0.1f, 0.1f, 0.8f);
    for (const mmVertex& g : grips) DrawGripSquare(dc, g, dx, dy, pixelsPerUnit, upper);
    for (const mmVertex& g : grips)
        if (g.hover && !g.hot) {
            SetGripColor(dc, g);
            DrawGripSquare(dc, g, dx, dy, pixelsPerUnit, upper);
        }
    for (const mmVertex& g : grips)
        if (g.hot) {
            SetGripColor(dc, g);
            DrawGripSquare(dc, g, dx, dy, pixelsPerUnit, upper);
        }
}

mmObjectPtr CloneEntity(const mmObject& source, mmEntityList& target) {
    mmObjectPtr clone = CreateEntityOfType(source.type);
    if (!clone) return nullptr;
    clone->CopyFrom(source);
    clone->selected = false;
    target.push_back(clone);
    return clone;
}

bool AssignEntity(const mmObject& source, mmObject& target) {
    if (source.type != target.type) return false;
    target.CopyFrom(source);
    target.selected = false;
    return true;
}
