// Block references: instancing a block, scaling and rotating the children, drawing, picking,
// crossing, selection, extents and deep copies; the per-class coordinate transforms.
#include "entities/BlockRef.h"

#include <cmath>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/DrawContext.h"
#include "entities/GLTexture.h"
#include "entities/Geometry.h"
#include "entities/Hatch.h"
#include "entities/PickReach.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"

namespace {

// x' = a x + b y + tx, y' = c x + d y + ty.
struct Affine {
    double a = 1.0, b = 0.0, c = 0.0, d = 1.0, tx = 0.0, ty = 0.0;
    void operator()(double& x, double& y) const {
        const double nx = a * x + b * y + tx;
        y = c * x + d * y + ty;
        x = nx;
    }
};

enum class Kind { Translate, Scale, Rotate };

struct Transform {
    Kind kind = Kind::Translate;
    Affine map;
    double fx = 1.0, fy = 1.0, radiusFactor = 1.0;  // Scale
    double degrees = 0.0;                             // Rotate
};

// A turn by a whole multiple of 90 degrees is exact.
void cosSin(double degrees, double& c, double& s) {
    const double r = std::fmod(degrees, 360.0);
    if (std::fmod(r, 90.0) == 0.0) {
        static constexpr double kCos[4] = {1, 0, -1, 0};
        static constexpr double kSin[4] = {0, 1, 0, -1};
        const int q = (static_cast<int>(r / 90.0) % 4 + 4) % 4;
        c = kCos[q];
        s = kSin[q];
        return;
    }
    c = std::cos(degrees * kDegToRad);
    s = std::sin(degrees * kDegToRad);
}

void mapPoints(mmObject& e, const Affine& map) {
    for (mmVertex& p : e.points) map(p.x, p.y);
}

void applyTransform(mmObject& e, const Transform& t);

// An image does not turn or mirror: a turn takes its centre round and leaves it upright, a move
// takes its lower-left corner, and a scale changes its pixel sizes by the factors' sizes, the
// corners keeping their places.
void transformImage(GLTexture& image, const Transform& t) {
    double x0 = image.insertX, y0 = image.insertY;
    if (t.kind == Kind::Rotate) {
        const double halfW = image.widthPx * image.pixelSizeX / 2.0;
        const double halfH = image.heightPx * image.pixelSizeY / 2.0;
        double cx = x0 + halfW, cy = y0 + halfH;
        t.map(cx, cy);
        image.SetInsertion(cx - halfW, cy - halfH);
        return;
    }
    t.map(x0, y0);
    if (t.kind == Kind::Scale) {
        double x1 = image.insertX + image.widthPx * image.pixelSizeX;
        double y1 = image.insertY + image.heightPx * image.pixelSizeY;
        t.map(x1, y1);
        if (!image.SetScale(std::fabs(t.fx), std::fabs(t.fy), true)) return;
        x0 = std::fmin(x0, x1);
        y0 = std::fmin(y0, y1);
    }
    image.SetInsertion(x0, y0);
}

// Boundary entities go back to the reference's frame, are transformed there, and the fill is
// rebuilt around its new centre.
void transformHatch(mmHatch& hatch, const Transform& t) {
    if (hatch.points.empty()) hatch.points.emplace_back(0.0, 0.0);
    const double ox = hatch.points[0].x, oy = hatch.points[0].y;
    for (const auto& loop : hatch.loops) {
        if (!loop) continue;
        for (const mmObjectPtr& b : *loop) {
            if (!b) continue;
            TranslateEntity(*b, ox, oy);
            applyTransform(*b, t);
        }
    }
    hatch.points[0].x = 0.0;
    hatch.points[0].y = 0.0;
    hatch.RebuildFill();
}

void mirrorArc(mmArc& arc, double fx, double fy) {
    const double start = arc.startAngle, end = arc.endAngle;
    if (fx < 0.0 && fy < 0.0) {
        arc.startAngle = start + 180.0;
        arc.endAngle = end + 180.0;
    } else if (fx < 0.0) {
        arc.startAngle = 180.0 - end;
        arc.endAngle = 180.0 - start;
    } else if (fy < 0.0) {
        arc.startAngle = -end;
        arc.endAngle = -start;
    }
}

void transformDimension(mmDimension& d, const Transform& t) {
    d.MapGeometry(t.map);
    Vector3D& e = d.direction;
    if (t.kind == Kind::Rotate)
        e = Vector3D(static_cast<float>(t.map.a * e.x + t.map.b * e.y),
                     static_cast<float>(t.map.c * e.x + t.map.d * e.y));
    else if (t.kind == Kind::Scale)
        e = Vector3D(static_cast<float>(t.fx * e.x), static_cast<float>(t.fy * e.y)).Normalized();
    d.UpdateExtents();
}

// Points and the class's own coordinates; then grips and extents.
void applyTransform(mmObject& e, const Transform& t) {
    switch (e.type) {
        case kTypeHatch:
            transformHatch(static_cast<mmHatch&>(e), t);
            return;
        case kTypeDimension:
            transformDimension(static_cast<mmDimension&>(e), t);
            return;
        case kTypeRasterImage:
            transformImage(static_cast<GLTexture&>(e), t);
            return;
        case kTypeBlockRef: {
            auto& ref = static_cast<mmBlockRef&>(e);
            mapPoints(ref, t.map);
            if (t.kind == Kind::Scale) ref.SetScale(t.fx, t.fy, true);
            if (t.kind == Kind::Rotate) ref.SetRotation(ref.rotation + t.degrees, false);
            break;
        }
        default:
            mapPoints(e, t.map);
            break;
    }
    const bool mirror = t.kind == Kind::Scale && t.fx * t.fy < 0.0;
    if (e.type == kTypeCircle && t.kind == Kind::Scale)
        static_cast<mmCircle&>(e).radius *= std::fabs(t.radiusFactor);
    if (e.type == kTypeArc) {
        auto& arc = static_cast<mmArc&>(e);
        if (t.kind == Kind::Scale) arc.radius *= std::fabs(t.radiusFactor);
        if (mirror) mirrorArc(arc, t.fx, t.fy);
        if (t.kind == Kind::Rotate) {
            arc.startAngle += t.degrees;
            arc.endAngle += t.degrees;
        }
    }
    if (e.type == kTypePolyline && mirror)
        for (double& bulge : static_cast<mmPolyline&>(e).bulges) bulge = -bulge;
    if (e.type == kTypeSpline) static_cast<mmSpline&>(e).SyncControlPoints();
    if (t.kind != Kind::Translate) e.UpdateGrips();
    e.UpdateExtents();
}

void setDrawColor(mmDrawContext& dc, uint32_t color) {
    if ((color & 0xFFFFFF) == 0xFFFFFF) color = 0;  // white is drawn black on the white sheet
    dc.Color((color & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, ((color >> 16) & 0xFF) / 255.0f);
}

bool inverted(const mmRect& r) { return r.minX > r.maxX || r.minY > r.maxY; }

const mmRect kEverywhere{-1e300, -1e300, 1e300, 1e300};

}  // namespace

void TranslateEntity(mmObject& e, double dx, double dy) {
    Transform t;
    t.map.tx = dx;
    t.map.ty = dy;
    if (e.type == kTypeDimension) {
        transformDimension(static_cast<mmDimension&>(e), t);
        return;
    }
    // Contents of hatches and references are relative to their point 0: only that moves.
    if (e.type == kTypeHatch || e.type == kTypeBlockRef) {
        if (!e.points.empty()) t.map(e.points[0].x, e.points[0].y);
        if (!e.grips.empty()) t.map(e.grips[0].x, e.grips[0].y);
        e.UpdateExtents();
        return;
    }
    for (mmVertex& g : e.grips) t.map(g.x, g.y);
    applyTransform(e, t);
}

void ScaleEntity(mmObject& e, double fx, double fy, double radiusFactor) {
    Transform t;
    t.kind = Kind::Scale;
    t.map.a = fx;
    t.map.d = fy;
    t.fx = fx;
    t.fy = fy;
    t.radiusFactor = radiusFactor;
    applyTransform(e, t);
}

void RotateEntity(mmObject& e, double degrees) {
    Transform t;
    t.kind = Kind::Rotate;
    t.degrees = degrees;
    double c = 1.0, s = 0.0;
    cosSin(degrees, c, s);
    t.map.a = c;
    t.map.b = -s;
    t.map.c = s;
    t.map.d = c;
    applyTransform(e, t);
}

void RebuildTexts(mmObject& e, const mmGlyphTablePtr& glyphs) {
    if (!glyphs) return;
    switch (e.type) {
        case kTypeText:
        case kTypeMText: {
            auto& text = static_cast<mmText&>(e);
            if (text.glyphs != glyphs) text.Rebuild(glyphs);
            break;
        }
        case kTypeDimension: {
            auto& d = static_cast<mmDimension&>(e);
            if (d.label.glyphs != glyphs) {
                d.label.Rebuild(glyphs);
                d.UpdateExtents();
            }
            break;
        }
        case kTypeBlockRef: {
            auto& ref = static_cast<mmBlockRef&>(e);
            for (const mmObjectPtr& c : ref.children)
                if (c) RebuildTexts(*c, glyphs);
            ref.UpdateExtents();
            break;
        }
        default:
            break;
    }
}

bool mmBlockRef::InstantiateBlock(std::u16string_view name, const mmBlockTable& blocks,
                                  const mmGlyphTablePtr& glyphs) {
    const mmBlockPtr block = FindBlockByName(blocks, name);
    if (!block) return false;
    InstantiateBlock(*block, glyphs);
    return true;
}

void mmBlockRef::InstantiateBlock(const mmBlock& block, const mmGlyphTablePtr& glyphs) {
    blockId = block.id;
    blockName = block.name;
    children.clear();
    children.reserve(block.entities.size());
    for (const mmObjectPtr& e : block.entities) {
        if (!e || e->erased) continue;
        mmObjectPtr child = CreateEntityOfType(e->type);
        if (!child) continue;
        child->CopyFrom(*e);
        child->selected = false;
        RebuildTexts(*child, glyphs);
        children.push_back(std::move(child));
    }
    scaleX = scaleY = 1.0;
    rotation = 0.0;
    UpdateExtents();
}

bool mmBlockRef::SetScale(double sx, double sy, bool byFactor) {
    if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0.0 || sy == 0.0) return false;
    const double osx = scaleX, osy = scaleY;
    scaleX = sx;
    scaleY = sy;
    const double fx = byFactor || osx == 0.0 || !std::isfinite(osx) ? sx : sx / osx;
    const double fy = byFactor || osy == 0.0 || !std::isfinite(osy) ? sy : sy / osy;
    const double radiusFactor = fx == osx ? fy : fx;
    const double turned = rotation;
    if (turned != 0.0) SetRotation(0.0, false);
    for (const mmObjectPtr& c : children)
        if (c) ScaleEntity(*c, fx, fy, radiusFactor);
    if (turned != 0.0) SetRotation(turned, false);
    UpdateExtents();
    return true;
}

bool mmBlockRef::SetRotation(double degrees, bool fromZero) {
    if (!std::isfinite(degrees)) return false;
    const double delta = fromZero ? degrees : degrees - rotation;
    rotation = degrees;
    if (delta != 0.0)
        for (const mmObjectPtr& c : children)
            if (c) RotateEntity(*c, delta);
    UpdateExtents();
    return true;
}

mmShift mmBlockRef::ChildShift(const mmShift& shift) const {
    const double x = points.empty() ? 0.0 : points[0].x;
    const double y = points.empty() ? 0.0 : points[0].y;
    return {x + shift.dx1 - shift.dx2, y + shift.dy1 - shift.dy2, 0.0, 0.0};
}

void mmBlockRef::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                      int primitive, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode >= kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    dc.PushMatrix();
    dc.Translate(points[0].x - shift.dx2, points[0].y - shift.dy2);
    for (const mmObjectPtr& c : children) {
        if (!c || c->erased) continue;
        // A child coloured by block takes the reference's colour.
        setDrawColor(dc, c->colorIndex == kColorByBlock ? color : c->color);
        dc.LineWidth(static_cast<float>(c->lineWidth));
        c->Draw(dc, kEverywhere, mode, pixelsPerUnit, primitive, {}, true);
    }
    dc.PopMatrix();
}

bool mmBlockRef::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                         float pixelsPerUnit, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return false;
    // No child is picked farther from the cursor than a point's marker circle plus the pick
    // distance: references away from the cursor are passed over without visiting their children.
    const mmPickReach reach(cx, cy, m, kPickPixels + kPointCirclePixels);
    const double sx = shift.cullX(), sy = shift.cullY();
    if (!reach.Near(extents.minX + sx, extents.minY + sy, extents.maxX + sx, extents.maxY + sy))
        return false;
    const mmShift inner = ChildShift(shift);
    for (const mmObjectPtr& c : children)
        if (c && !c->erased && c->HitTest(cx, cy, view, m, pixelsPerUnit, inner, true)) return true;
    return false;
}

bool mmBlockRef::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(rect, shift))) return false;
    const mmShift inner = ChildShift(shift);
    for (const mmObjectPtr& c : children)
        if (c && !c->erased && c->CrossesRect(rect, inner, true)) return true;
    return false;
}

void mmBlockRef::SetSelected(bool on, int& delta) {
    selected = on;
    delta = 0;
    for (const mmObjectPtr& c : children) {
        if (!c) continue;
        int d = 0;
        c->SetSelected(on, d);
        delta += d;
    }
}

void mmBlockRef::UpdateGrips() {
    if (grips.size() != points.size()) grips.assign(points.size(), mmVertex());
    for (std::size_t i = 0; i < points.size(); ++i) {
        grips[i].x = points[i].x;
        grips[i].y = points[i].y;
    }
}

void mmBlockRef::UpdateExtents() {
    mmRect r = EmptyExtents();
    for (const mmObjectPtr& c : children) {
        if (!c || c->erased || inverted(c->extents)) continue;
        WidenRect(r, c->extents.minX, c->extents.minY);
        WidenRect(r, c->extents.maxX, c->extents.maxY);
    }
    if (!inverted(r) && !points.empty()) {
        r.minX += points[0].x;
        r.maxX += points[0].x;
        r.minY += points[0].y;
        r.maxY += points[0].y;
    }
    SetExtents(r);
}

void mmBlockRef::CopyFrom(const mmObject& from) {
    if (&from == this) return;
    CopyProperties(from);
    children.clear();
    if (const auto* r = dynamic_cast<const mmBlockRef*>(&from)) {
        scaleX = r->scaleX;
        scaleY = r->scaleY;
        rotation = r->rotation;
        blockId = r->blockId;
        blockName = r->blockName;
        children.reserve(r->children.size());
        for (const mmObjectPtr& c : r->children) {
            if (!c) continue;
            mmObjectPtr copy = CreateEntityOfType(c->type);
            if (!copy) continue;
            copy->CopyFrom(*c);
            children.push_back(std::move(copy));
        }
    }
    CopyPointsAndGrips(from);
    UpdateExtents();
}
