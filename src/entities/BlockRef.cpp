// Block references: instancing a block, scaling and rotating the children, drawing, picking,
// crossing, selection, extents and deep copies; the per-class coordinate transforms.
#include "entities/BlockRef.h"

#include <algorithm>
#include <cmath>

#include "entities/Arc.h"
#include "entities/Attribute.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/DrawContext.h"
#include "entities/Ellipse.h"
#include "entities/GLTexture.h"
#include "entities/Geometry.h"
#include "entities/Hatch.h"
#include "entities/Leader.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "entities/XLine.h"

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
    hatch.TransformPattern(t.map.a, t.map.b, t.map.c, t.map.d, t.map.tx, t.map.ty);
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
    for (const mmObjectPtr& c : d.blockEntities) {
        if (!c) continue;
        if (t.kind == Kind::Translate)
            TranslateEntity(*c, t.map.tx, t.map.ty);  // grips too
        else
            applyTransform(*c, t);
    }
    if (t.kind != Kind::Translate) {
        const double r = d.rotation * kDegToRad;
        const double x = std::cos(r), y = std::sin(r);
        d.rotation = std::atan2(t.map.c * x + t.map.d * y, t.map.a * x + t.map.b * y) * kRadToDeg;
    }
    Vector3D& e = d.direction;
    if (t.kind == Kind::Rotate)
        e = Vector3D(static_cast<float>(t.map.a * e.x + t.map.b * e.y),
                     static_cast<float>(t.map.c * e.x + t.map.d * e.y));
    else if (t.kind == Kind::Scale)
        e = Vector3D(static_cast<float>(t.fx * e.x), static_cast<float>(t.fy * e.y)).Normalized();
    d.UpdateExtents();
}

// Fit points move with the control points; the tangents turn and stretch with them.
void transformFitData(mmSpline& s, const Affine& map) {
    for (mmVertex& p : s.fitPoints) map(p.x, p.y);
    for (mmVertex* v : {&s.startTangent, &s.endTangent}) {
        const double x = map.a * v->x + map.b * v->y;
        v->y = map.c * v->x + map.d * v->y;
        v->x = x;
    }
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
        case kTypeEllipse: {
            const Affine& a = t.map;
            static_cast<mmEllipse&>(e).Map(a.a, a.b, a.c, a.d, a.tx, a.ty);
            break;
        }
        case kTypeXLine: {
            auto& x = static_cast<mmXLine&>(e);
            mapPoints(x, t.map);
            x.SetDirection(t.map.a * x.dirX + t.map.b * x.dirY, t.map.c * x.dirX + t.map.d * x.dirY);
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
    if (e.type == kTypeSpline) transformFitData(static_cast<mmSpline&>(e), t.map);
    if (e.type == kTypeLeader && t.kind == Kind::Scale)
        static_cast<mmLeader&>(e).arrowSize *= std::fabs(t.radiusFactor);
    if (t.kind != Kind::Translate) e.UpdateGrips();
    e.UpdateExtents();
}


bool inverted(const mmRect& r) { return r.minX > r.maxX || r.minY > r.maxY; }

// What a reference shows of a block entity: a copy, except for attribute definitions, which only
// show in references when they are constant (as an attribute with their value); null for none.
mmObjectPtr referenceCopyOf(const mmObject& e) {
    int32_t type = e.type;
    if (type == kTypeAttributeDef) {
        if (!(static_cast<const mmAttributeDef&>(e).flags & kAttributeConstant)) return nullptr;
        type = kTypeAttribute;
    }
    mmObjectPtr copy = CreateEntityOfType(type);
    if (copy) copy->CopyFrom(e);
    return copy;
}

// Attributes were placed by their reference (as a file gives them), so they turn and grow with it.
void turnAttribute(mmAttribute& a, double degrees) {
    a.SetRotation(std::fmod(a.rotation + degrees, 360.0), nullptr);
    a.UpdateGrips();
    a.UpdateExtents();
}

void scaleAttribute(mmAttribute& a, double fx, double fy) {
    const double height = a.height * std::fabs(fy);
    const double width = a.widthFactor * std::fabs(fx / fy);
    if (height > 0.0 && std::isfinite(height)) a.SetHeight(height, nullptr);
    if (width > 0.0 && std::isfinite(width)) a.SetWidthFactor(width, nullptr);
    a.UpdateGrips();
    a.UpdateExtents();
}

// Some text among the entities (nested ones included) is laid out with another table.
bool TextsDiffer(const mmEntityList& entities, const mmGlyphTablePtr& glyphs) {
    for (const mmObjectPtr& e : entities) {
        if (!e) continue;
        switch (e->type) {
            case kTypeText:
            case kTypeMText:
            case kTypeAttribute:
            case kTypeAttributeDef:
                if (static_cast<const mmText&>(*e).glyphs != glyphs) return true;
                break;
            case kTypeDimension: {
                const auto& d = static_cast<const mmDimension&>(*e);
                if (d.label.glyphs != glyphs || TextsDiffer(d.blockEntities, glyphs)) return true;
                break;
            }
            case kTypeBlockRef:
                if (TextsDiffer(static_cast<const mmBlockRef&>(*e).children.Shared(), glyphs))
                    return true;
                break;
            default:
                break;
        }
    }
    return false;
}

// Cells of rows and columns beyond this are not shown: the bound a file cannot pass.
constexpr int64_t kMostCells = int64_t{1} << 24;

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
        if (e.type == kTypeHatch) static_cast<mmHatch&>(e).MovePattern(dx, dy);
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
        case kTypeMText:
        case kTypeAttribute:
        case kTypeAttributeDef: {
            auto& text = static_cast<mmText&>(e);
            if (text.glyphs != glyphs) text.Rebuild(glyphs);
            break;
        }
        case kTypeDimension: {
            auto& d = static_cast<mmDimension&>(e);
            if (d.label.glyphs != glyphs) d.label.Rebuild(glyphs);
            for (const mmObjectPtr& c : d.blockEntities)
                if (c) RebuildTexts(*c, glyphs);
            d.UpdateExtents();
            break;
        }
        case kTypeBlockRef: {
            auto& ref = static_cast<mmBlockRef&>(e);
            if (!TextsDiffer(ref.children.Shared(), glyphs)) break;
            for (const mmObjectPtr& c : ref.children.Own())
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
    mmEntityList copies;
    copies.reserve(block.entities.size());
    for (const mmObjectPtr& e : block.entities) {
        if (!e || e->erased) continue;
        mmObjectPtr child = referenceCopyOf(*e);
        if (!child) continue;
        child->selected = false;
        RebuildTexts(*child, glyphs);
        copies.push_back(std::move(child));
    }
    children.Assign(std::move(copies));
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
    if (fx == 1.0 && fy == 1.0) return true;  // nothing to change (a shared list stays shared)
    const double turned = rotation;
    if (turned != 0.0) SetRotation(0.0, false);
    for (const mmObjectPtr& c : children.Own()) {
        if (!c) continue;
        ScaleEntity(*c, fx, fy, radiusFactor);
        if (c->type == kTypeAttribute) scaleAttribute(static_cast<mmAttribute&>(*c), fx, fy);
    }
    if (turned != 0.0) SetRotation(turned, false);
    UpdateExtents();
    return true;
}

bool mmBlockRef::SetRotation(double degrees, bool fromZero) {
    if (!std::isfinite(degrees)) return false;
    const double delta = fromZero ? degrees : degrees - rotation;
    rotation = degrees;
    if (delta != 0.0)
        for (const mmObjectPtr& c : children.Own()) {
            if (!c) continue;
            RotateEntity(*c, delta);
            if (c->type == kTypeAttribute) turnAttribute(static_cast<mmAttribute&>(*c), delta);
        }
    UpdateExtents();
    return true;
}

int64_t mmBlockRef::CellCount() const {
    const int64_t n = static_cast<int64_t>(std::max(columns, 1)) * std::max(rows, 1);
    return std::min(n, kMostCells);
}

mmVertex mmBlockRef::CellOffset(int64_t k) const {
    const int32_t cols = std::max(columns, 1);
    const double x = static_cast<double>(k % cols) * columnSpacing;
    const double y = static_cast<double>(k / cols) * rowSpacing;
    if (x == 0.0 && y == 0.0) return mmVertex();
    double c = 1.0, s = 0.0;
    cosSin(rotation, c, s);
    return mmVertex(x * c - y * s, x * s + y * c);
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
    for (const mmObjectPtr& c : children.Shared()) {
        if (!c || c->erased || inverted(c->extents)) continue;
        WidenRect(r, c->extents.minX, c->extents.minY);
        WidenRect(r, c->extents.maxX, c->extents.maxY);
    }
    if (!inverted(r) && !points.empty()) {
        // The cells lie between the first and the corners of the last row and column.
        const int32_t cols = std::max(columns, 1);
        const int64_t cells = CellCount();
        double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
        for (const int64_t k : {int64_t{0}, int64_t{cols - 1}, cells - cols, cells - 1}) {
            const mmVertex o = CellOffset(std::clamp<int64_t>(k, 0, cells - 1));
            minX = std::min(minX, o.x);
            minY = std::min(minY, o.y);
            maxX = std::max(maxX, o.x);
            maxY = std::max(maxY, o.y);
        }
        r.minX += points[0].x + minX;
        r.maxX += points[0].x + maxX;
        r.minY += points[0].y + minY;
        r.maxY += points[0].y + maxY;
    }
    SetExtents(r);
}

void mmBlockRef::CopyFrom(const mmObject& from) {
    if (&from == this) return;
    CopyProperties(from);
    children.clear();
    // The copy shares the children until either changes its own.
    if (const auto* r = dynamic_cast<const mmBlockRef*>(&from)) {
        scaleX = r->scaleX;
        scaleY = r->scaleY;
        rotation = r->rotation;
        columns = r->columns;
        rows = r->rows;
        columnSpacing = r->columnSpacing;
        rowSpacing = r->rowSpacing;
        blockId = r->blockId;
        blockName = r->blockName;
        children.ShareWith(r->children);
    }
    CopyPointsAndGrips(from);
    UpdateExtents();
}
