// Dimensions: parts, the build of rotated, aligned, radius and ordinate dimensions, drawing, picking,
// crossing, extents, copies and the anonymous blocks saved with them.
#include "entities/Dimension.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "entities/BlockRef.h"
#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/Hatch.h"
#include "entities/TextCodes.h"

namespace {

// Differences of definition points are taken in double precision, so large coordinates keep
// their digits; the vector arithmetic on them is single precision.
Vector3D difference(const mmVertex& a, const mmVertex& b) {
    return {static_cast<float>(a.x - b.x), static_cast<float>(a.y - b.y)};
}

float dot(const Vector3D& a, const Vector3D& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vector3D turnedLeft(const Vector3D& v) { return {-v.y, v.x}; }

Vector3D turned(const Vector3D& v, float degrees) {
    const float r = degrees * static_cast<float>(kDegToRad);
    const float c = std::cos(r), s = std::sin(r);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

mmVertex offset(const mmVertex& p, const Vector3D& v, double length) {
    return {p.x + length * v.x, p.y + length * v.y};
}

void setPoints(mmPolyline& line, std::initializer_list<mmVertex> pts) {
    line.points.resize(pts.size());
    std::size_t i = 0;
    for (const mmVertex& p : pts) {
        line.points[i].x = p.x;
        line.points[i].y = p.y;
        ++i;
    }
    line.UpdateGrips();
    line.UpdateExtents();
}

void setPoint(mmPointObj& mark, const mmVertex& p) {
    if (mark.points.empty()) mark.points.emplace_back();
    mark.points[0].x = p.x;
    mark.points[0].y = p.y;
    mark.UpdateGrips();
    mark.UpdateExtents();
}

// "10" when the fractional part is below 0.01, else "10.50"; the integer part is printed without
// a cast, so any magnitude is safe. Nothing for a measurement that is not finite.
std::string measurementText(float measurement) {
    char buffer[64];
    const double value = measurement;
    if (!std::isfinite(value)) return {};
    if (value - std::floor(value) < 0.01)
        std::snprintf(buffer, sizeof buffer, "%.0f", std::floor(value));
    else
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

// The dimension line's direction given by a rotation: the measured vector is the projection of
// P1 - P0 on it, and P2 moves along the extension line through P1 onto the dimension line.
void measureRotated(double degrees, std::array<mmVertex, 7>& p, Vector3D& m, Vector3D& e) {
    const double c = std::cos(degrees * kDegToRad), s = std::sin(degrees * kDegToRad);
    const double across = (p[2].x - p[1].x) * -s + (p[2].y - p[1].y) * c;
    p[2] = mmVertex(p[1].x - s * across, p[1].y + c * across);
    const double along = (p[1].x - p[0].x) * c + (p[1].y - p[0].y) * s;
    m = Vector3D(static_cast<float>(c * along), static_cast<float>(s * along));
    e = across < 0.0 ? Vector3D(static_cast<float>(s), static_cast<float>(-c))
                     : Vector3D(static_cast<float>(-s), static_cast<float>(c));
}

void widenBy(mmRect& r, const mmRect& other) {
    if (other.minX > other.maxX || other.minY > other.maxY) return;
    WidenRect(r, other.minX, other.minY);
    WidenRect(r, other.maxX, other.maxY);
}

}  // namespace

void mmDimension::InitParts() {
    points.assign(5, mmVertex());
    grips.assign(5, mmVertex());
    for (mmPolyline* part : {&arrow1, &arrow2}) {
        part->points.assign(3, mmVertex());
        part->grips.assign(3, mmVertex());
    }
    for (mmPolyline* part : {&extLine1, &extLine2, &dimLine, &leaderLine}) {
        part->points.assign(2, mmVertex());
        part->grips.assign(2, mmVertex());
    }
    for (mmPointObj* mark : {&mark1, &mark2}) {
        mark->points.assign(1, mmVertex());
        mark->grips.assign(1, mmVertex());
        mark->pointStyle = kPointStyleDot;
    }
    for (mmObject* part : std::initializer_list<mmObject*>{&label, &arrow1, &arrow2, &extLine1,
                                                           &extLine2, &dimLine, &leaderLine,
                                                           &mark1, &mark2}) {
        part->layerId = 0;
        part->colorIndex = kColorByLayer;
    }
}

void mmDimension::InitLabel(const mmGlyphTablePtr& glyphs) {
    label.CreateText("0.0", glyphs);
    label.SetHeight(textHeight, nullptr);
    label.SetInsertionPoint(0.0, 0.0);
    label.UpdateExtents();
}

bool mmDimension::IsBuiltType() const {
    return dimType == kDimRotated || dimType == kDimAligned || dimType == kDimRadius ||
           dimType == kDimOrdinate;
}

void mmDimension::SetStyleValues(const mmDimStyleValues& v) {
    arrowSize = v.arrowSize;
    extLineOffset = v.extLineOffset;
    extLineExtension = v.extLineExtension;
    textGap = v.textGap;
    textHeight = v.textHeight;
    arrowKind = v.arrowKind;
    measurementScale = v.measurementScale;
}

mmDimStyleValues mmDimension::StyleValues() const {
    return {arrowSize, extLineOffset, extLineExtension, textGap, textHeight, arrowKind,
            measurementScale};
}

std::u16string mmDimension::BlockNameFor(int32_t id) {
    const std::string digits = std::to_string(id);
    std::u16string name = u"*D";
    name.append(digits.begin(), digits.end());
    return name;
}

void mmDimension::SetBlockNameFromId() { blockName = BlockNameFor(id); }

// The measured vector m and the extension direction e of rotated and aligned dimensions.
void mmDimension::MeasureLinear(Vector3D& m, Vector3D& e) {
    if (dimType == kDimRotated && hasRotation && std::isfinite(rotation)) {
        measureRotated(rotation, defPoints, m, e);
        return;
    }
    const mmVertex& p0 = defPoints[0];
    const mmVertex& p1 = defPoints[1];
    const mmVertex& p2 = defPoints[2];
    const Vector3D span = difference(p1, p0);
    auto project = [&](const Vector3D& dir) {
        const Vector3D n = turnedLeft(dir);
        return n * dot(span, n);
    };
    if (p2.x != p1.x || p2.y != p1.y) {
        e = difference(p2, p1).Normalized();
        m = dimType == kDimRotated ? project(e) : span;
    } else if (dimType == kDimAligned) {
        m = span;
        e = turnedLeft(m).Normalized();
    } else if (p0.x == p1.x) {
        e = Vector3D(0.0f, 1.0f);
        m = span;
    } else if (p0.y == p1.y) {
        e = Vector3D(-1.0f, 0.0f);
        m = span;
    } else {
        const float textOffset = static_cast<float>(std::fabs(p2.x - defPoints[6].x));
        if (span.Length() / 2.0f > textOffset)
            e = Vector3D(static_cast<float>(p2.x - p0.x), 0.0f).Normalized();
        else
            e = Vector3D(0.0f, static_cast<float>(p2.y - p0.y)).Normalized();
        m = project(e);
    }
    if (e.Length() == 0.0f) e = turnedLeft(m).Normalized();
}

// The label's text, rotation and insertion point, and P6 of rotated and aligned dimensions.
void mmDimension::PlaceLabel(const Vector3D& m, const Vector3D& e, const mmGlyphTablePtr& glyphs) {
    const double h = textHeight;
    const mmVertex& p1 = defPoints[1];
    const mmVertex& p6 = defPoints[6];
    const bool reversed = m.x < 0.0f || (m.x == 0.0f && m.y < 0.0f);
    const mmVertex& start = reversed ? defPoints[2] : defPoints[3];
    const mmVertex& end = reversed ? defPoints[3] : defPoints[2];
    const Vector3D along = reversed ? m * -1.0f : m;
    const double theta = std::atan2(static_cast<double>(along.y), static_cast<double>(along.x)) * kRadToDeg;

    label.height = textHeight;
    if (dimType == kDimOrdinate)
        label.rotation = ordinateAxis != 0 ? 90.0 : 0.0;
    else
        label.rotation = theta;
    label.SetString(LabelText(measurementText(m.Length() * static_cast<float>(measurementScale))),
                    glyphs);
    const double w = label.advance;

    double x = 0.0, y = 0.0;
    if (dimType == kDimOrdinate) {
        const double q = p1.y < p6.y ? 1.0 : -1.0;
        if (ordinateAxis != 0) {
            const double g = p1.x > p6.x ? 1.0 : -1.0;
            x = p6.x + g * h / 2.0;
            y = p6.y - q * w / 2.0;
        } else {
            const double g = p1.x < p6.x ? 1.0 : -1.0;
            x = p6.x - g * w / 2.0;
            y = p6.y - q * h / 2.0;
        }
    } else {
        const double f = (theta > -90.0 && theta < 0.0) ? -1.0 : 1.0;
        const Vector3D unit = along.Normalized();
        const double midX = start.x + (end.x - start.x) / 2.0;
        const double midY = start.y + (end.y - start.y) / 2.0;
        const double ex = std::fabs(e.x), ey = std::fabs(e.y);
        x = midX - w / 2.0 * unit.x - f * ex * textGap;
        y = midY - w / 2.0 * unit.y + ey * textGap;
        defPoints[6] = mmVertex(midX - f * ex * (textGap + h / 2.0), midY + ey * (textGap + h / 2.0));
    }
    label.SetInsertionPoint(x, y);
    label.UpdateGrips();
    label.UpdateExtents();
}

void mmDimension::BuildTerminators(const Vector3D& m) {
    const double l = arrowSize / std::cos(15.0 * kDegToRad);
    const mmVertex& p2 = defPoints[2];
    const mmVertex& p3 = defPoints[3];
    if (arrowKind == 0) {
        const Vector3D up = turned(m, 15.0f).Normalized();
        const Vector3D down = turned(m, -15.0f).Normalized();
        setPoints(arrow1, {offset(p3, up, l), p3, offset(p3, down, l)});
        setPoints(arrow2, {offset(p2, up, -l), p2, offset(p2, down, -l)});
    } else {
        const Vector3D w45 = turned(m, 45.0f).Normalized();
        setPoints(arrow1, {offset(p3, w45, l), p3, offset(p3, w45, -l)});
        setPoints(arrow2, {offset(p2, w45, -l), p2, offset(p2, w45, l)});
    }
}

std::string mmDimension::LabelText(const std::string& measurement) const {
    if (textOverride.empty()) return measurement;
    if (textOverride == " ") return {};
    std::string text = textOverride;
    if (const std::size_t at = text.find("<>"); at != std::string::npos)
        text.replace(at, 2, measurement);
    // One line: paragraphs of a multi-line override are joined by blanks.
    std::string shown;
    for (const std::string& paragraph : MTextParagraphs(text)) {
        if (!shown.empty()) shown += ' ';
        shown += paragraph;
    }
    return shown;
}

void mmDimension::ShowBlock(const mmEntityList& entities, double dx, double dy) {
    blockEntities.clear();
    blockEntities.reserve(entities.size());
    for (const mmObjectPtr& e : entities) {
        if (!e || e->erased) continue;
        mmObjectPtr copy = CloneEntity(*e, blockEntities);
        if (copy && (dx != 0.0 || dy != 0.0)) TranslateEntity(*copy, dx, dy);
        // Definition points show as dots, like the marks of a built dimension.
        if (copy && copy->type == kTypePoint)
            static_cast<mmPointObj&>(*copy).pointStyle = kPointStyleDot;
    }
    UpdateExtents();
}

// A radius dimension: the line from the centre P2 through the point P0 on the circle, with an
// arrowhead there, drawn on under the label when the label lies beyond the circle; the label
// "R" and the radius, along the line on its upper side at P6's distance from the centre.
void mmDimension::BuildRadius(const mmGlyphTablePtr& glyphs) {
    std::array<mmVertex, 7>& p = defPoints;
    const mmVertex& centre = p[kDimRadialCentre];
    const mmVertex& onCircle = p[kDimRadialChordPoint];
    const Vector3D m = difference(onCircle, centre);
    const Vector3D u = m.Normalized();
    const double radius = std::hypot(onCircle.x - centre.x, onCircle.y - centre.y);
    measured_ = std::isfinite(radius) && radius > 0.0;
    // The label reads left to right: along u, or against it when u points to the left.
    const bool reversed = u.x < 0.0f || (u.x == 0.0f && u.y < 0.0f);
    const Vector3D along = reversed ? u * -1.0f : u;
    const Vector3D up = turnedLeft(along);
    label.height = textHeight;
    label.rotation = std::atan2(static_cast<double>(along.y), static_cast<double>(along.x)) * kRadToDeg;
    label.SetString(
        LabelText("R" + measurementText(static_cast<float>(radius * measurementScale))), glyphs);
    const double w = label.advance;
    const double atText = (p[kDimTextPoint].x - centre.x) * u.x + (p[kDimTextPoint].y - centre.y) * u.y;
    const mmVertex mid = offset(centre, u, atText);
    label.SetInsertionPoint(mid.x - w / 2.0 * along.x + textGap * up.x,
                            mid.y - w / 2.0 * along.y + textGap * up.y);
    label.UpdateGrips();
    label.UpdateExtents();
    p[kDimTextPoint] = offset(mid, up, textGap + textHeight / 2.0);

    const mmVertex end = offset(centre, u, std::max(radius, atText + w / 2.0));
    setPoints(dimLine, {centre, end});
    const double l = arrowSize / std::cos(15.0 * kDegToRad);
    if (arrowKind == 0)
        setPoints(arrow2, {offset(onCircle, turned(u, 15.0f).Normalized(), -l), onCircle,
                           offset(onCircle, turned(u, -15.0f).Normalized(), -l)});
    else
        setPoints(arrow2, {offset(onCircle, turned(u, 45.0f).Normalized(), -l), onCircle,
                           offset(onCircle, turned(u, 45.0f).Normalized(), l)});
    // The extents take P0, P1, P4 and P5: the circle point and the centre.
    p[1] = onCircle;
    p[3] = end;
    p[4] = p[5] = centre;
    direction = u;
    points.resize(3);
    points[0] = mmVertex(onCircle.x, onCircle.y);
    points[1] = mmVertex(centre.x, centre.y);
    points[2] = mmVertex(p[kDimTextPoint].x, p[kDimTextPoint].y);
}

bool mmDimension::BuildDimension(const mmGlyphTablePtr& glyphs) {
    if (!IsBuiltType()) return true;
    blockEntities.clear();
    if (dimType == kDimRadius) {
        BuildRadius(glyphs);
        return true;
    }
    std::array<mmVertex, 7>& p = defPoints;
    Vector3D m, e;
    if (dimType == kDimOrdinate) {
        m = ordinateAxis != 0 ? Vector3D(static_cast<float>(std::fabs(p[0].x - p[2].x)), 0.0f)
                              : Vector3D(0.0f, static_cast<float>(std::fabs(p[0].y - p[2].y)));
    } else {
        MeasureLinear(m, e);
        p[3] = mmVertex(p[2].x - m.x, p[2].y - m.y);
        direction = e;
    }
    measured_ = std::isfinite(m.Length());
    PlaceLabel(m, e, glyphs);
    BuildTerminators(m);

    if (points.size() < 5) points.resize(5);
    if (dimType == kDimOrdinate) {
        const double h = textHeight;
        const double w = label.advance;
        if (ordinateAxis != 0) {
            setPoints(dimLine, {p[0], {p[0].x, p[1].y - 4 * h}});
            setPoints(leaderLine, {{p[1].x, p[1].y + w}, {p[1].x, p[1].y - 2 * h}});
            setPoints(extLine1, {{p[0].x, p[1].y - 4 * h}, {p[1].x, p[1].y - 2 * h}});
        } else {
            setPoints(dimLine, {p[0], {p[1].x - 4 * h, p[0].y}});
            setPoints(leaderLine, {{p[1].x + w, p[1].y}, {p[1].x - 2 * h, p[1].y}});
            setPoints(extLine1, {{p[1].x - 4 * h, p[0].y}, {p[1].x - 2 * h, p[1].y}});
        }
        for (int i : {0, 1, 2}) points[i] = mmVertex(p[i].x, p[i].y);
        points[3] = mmVertex(p[6].x, p[6].y);
        return true;
    }
    p[4] = offset(p[3], e, extLineExtension);
    p[5] = offset(p[2], e, extLineExtension);
    setPoints(extLine1, {offset(p[0], e, extLineOffset), p[4]});
    setPoints(extLine2, {offset(p[1], e, extLineOffset), p[5]});
    setPoints(dimLine, {p[2], p[3]});
    setPoint(mark1, p[0]);
    setPoint(mark2, p[1]);
    for (int i : {0, 1, 2, 3}) points[i] = mmVertex(p[i].x, p[i].y);
    points[4] = mmVertex(p[6].x, p[6].y);
    return true;
}

void mmDimension::DrawTerminators(mmDrawContext& dc, const mmRect& view, int mode,
                                  float pixelsPerUnit, int primitive, const mmShift& shift) {
    // A radius dimension has one terminator, at the circle.
    const bool secondOnly = dimType == kDimRadius;
    if (arrowKind != 0) {
        if (!secondOnly) arrow1.Draw(dc, view, mode, pixelsPerUnit, primitive, shift, false);
        arrow2.Draw(dc, view, mode, pixelsPerUnit, primitive, shift, false);
        return;
    }
    // Filled: each arrowhead is a triangle fan of its three points.
    const bool open = primitive != kPrimitiveAlreadyOpen;
    if (mode == kDrawHighlight) dc.PolygonStipple(highlightStipple);
    for (mmPolyline* arrow : {&arrow1, &arrow2}) {
        if (secondOnly && arrow == &arrow1) continue;
        if (open) dc.Begin(prim::kTriangleFan);
        arrow->Draw(dc, view, mode, pixelsPerUnit, kPrimitiveAlreadyOpen, shift, false);
        if (open) dc.End();
    }
    if (mode == kDrawHighlight) dc.PolygonStipple(nullptr);
}

void mmDimension::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                       int primitive, const mmShift& shift, bool cull) {
    if (!measured_ || (cull && CulledBy(view, shift))) return;
    if (mode >= kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    const mmShift parts{0.0, 0.0, shift.dx2, shift.dy2};
    if (ShowsBlock()) {
        DrawHeldEntities(dc, blockEntities, mode, pixelsPerUnit, primitive, parts, color);
        return;
    }
    if (!IsBuiltType()) return;
    const bool ordinate = dimType == kDimOrdinate;
    dimLine.Draw(dc, view, mode, pixelsPerUnit, primitive, parts, false);
    if (dimType == kDimRadius) {
        DrawTerminators(dc, view, mode, pixelsPerUnit, primitive, parts);
        label.Draw(dc, view, mode, pixelsPerUnit, primitive, parts, false);
        return;
    }
    if (ordinate) leaderLine.Draw(dc, view, mode, pixelsPerUnit, primitive, parts, false);
    extLine1.Draw(dc, view, mode, pixelsPerUnit, primitive, parts, false);
    if (!ordinate) {
        extLine2.Draw(dc, view, mode, pixelsPerUnit, primitive, parts, false);
        DrawTerminators(dc, view, mode, pixelsPerUnit, primitive, parts);
        mark2.Draw(dc, view, mode, pixelsPerUnit, primitive, parts, false);
    }
    mark1.Draw(dc, view, mode, pixelsPerUnit, primitive, parts, false);
    label.Draw(dc, view, mode, pixelsPerUnit, primitive, parts, false);
}

bool mmDimension::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                          float pixelsPerUnit, const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    if (ShowsBlock()) {
        for (const mmObjectPtr& e : blockEntities)
            if (e && !e->erased && e->HitTest(cx, cy, view, m, pixelsPerUnit, shift, true)) return true;
        return false;
    }
    if (!IsBuiltType() || !measured_) return false;
    bool hit = false;
    ForEachDrawnLine([&](mmPolyline& part) {
        hit = hit || part.HitTest(cx, cy, view, m, pixelsPerUnit, shift, false);
    });
    return hit || label.HitTest(cx, cy, view, m, pixelsPerUnit, shift, false);
}

bool mmDimension::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (cull && CulledBy(rect, shift)) return false;
    if (ShowsBlock()) {
        for (const mmObjectPtr& e : blockEntities)
            if (e && !e->erased && e->CrossesRect(rect, shift, true)) return true;
        return false;
    }
    if (!IsBuiltType() || !measured_) return false;
    bool crosses = false;
    ForEachDrawnLine([&](mmPolyline& part) { crosses = crosses || part.CrossesRect(rect, shift, false); });
    return crosses || label.CrossesRect(rect, shift, false);
}

void mmDimension::UpdateGrips() {
    if (grips.size() != points.size()) grips.assign(points.size(), mmVertex());
    for (std::size_t i = 0; i < points.size(); ++i) {
        grips[i].x = points[i].x;
        grips[i].y = points[i].y;
    }
}

// The box of what is drawn: the definition points P0 and P1 and the drawn parts with the label.
// Types that are not built span their given definition points.
void mmDimension::UpdateExtents() {
    mmRect r = EmptyExtents();
    if (ShowsBlock()) {
        for (const mmObjectPtr& e : blockEntities)
            if (e && !e->erased) widenBy(r, e->extents);
        SetExtents(r);
        return;
    }
    if (!measured_) {
        SetExtents(r);
        return;
    }
    WidenRect(r, defPoints[0].x, defPoints[0].y);
    WidenRect(r, defPoints[1].x, defPoints[1].y);
    if (!IsBuiltType()) {
        WidenRect(r, defPoints[2].x, defPoints[2].y);
        WidenRect(r, defPoints[6].x, defPoints[6].y);
        SetExtents(r);
        return;
    }
    if (dimType != kDimOrdinate) {
        WidenRect(r, defPoints[4].x, defPoints[4].y);
        WidenRect(r, defPoints[5].x, defPoints[5].y);
    }
    ForEachDrawnLine([&](mmPolyline& part) {
        for (const mmVertex& v : part.points)
            WidenRect(r, v.x, v.y);
    });
    widenBy(r, label.extents);
    SetExtents(r);
}

void mmDimension::SetColor(uint32_t newColor, int32_t newColorIndex, const mmGlyphTable* glyphs) {
    mmObject::SetColor(newColor, newColorIndex, glyphs);
    label.color = newColor;
    label.Rebuild(glyphs ? glyphs->weak_from_this().lock() : nullptr);
}

void mmDimension::CopyFrom(const mmObject& from) {
    if (&from == this) return;
    CopyProperties(from);
    if (const auto* d = dynamic_cast<const mmDimension*>(&from)) {
        dimStyleId = d->dimStyleId;
        defPoints = d->defPoints;
        textRotation = d->textRotation;
        rotation = d->rotation;
        hasRotation = d->hasRotation;
        textOverride = d->textOverride;
        arcPoint = d->arcPoint;
        arcLocation = d->arcLocation;
        leaderLength = d->leaderLength;
        blockEntities.clear();
        blockEntities.reserve(d->blockEntities.size());
        for (const mmObjectPtr& e : d->blockEntities)
            if (e) CloneEntity(*e, blockEntities);
        dimType = d->dimType;
        ordinateAxis = d->ordinateAxis;
        direction = d->direction;
        label.CopyFrom(d->label);
        arrow1.CopyFrom(d->arrow1);
        arrow2.CopyFrom(d->arrow2);
        extLine1.CopyFrom(d->extLine1);
        extLine2.CopyFrom(d->extLine2);
        dimLine.CopyFrom(d->dimLine);
        leaderLine.CopyFrom(d->leaderLine);
        mark1.CopyFrom(d->mark1);
        mark2.CopyFrom(d->mark2);
        SetStyleValues(d->StyleValues());
        measured_ = d->measured_;
    }
    SetBlockNameFromId();
    CopyPointsAndGrips(from);
    UpdateExtents();
}

namespace {

// A filled arrowhead as the solid hatch of its triangle, so that it comes back filled.
mmObjectPtr filledArrow(const mmPolyline& arrow) {
    auto triangle = std::make_shared<mmPolyline>();
    triangle->CopyFrom(arrow);
    triangle->closed = true;
    auto fill = std::make_shared<mmHatch>();
    fill->CopyProperties(arrow);
    fill->AddBoundary(triangle, fill->AddLoop());
    fill->RebuildFill();
    return fill;
}

// Copies of what a dimension shows: its file block's entities, or the parts it draws in block
// order: marks, lines, terminators (filled ones as solid hatches), label.
void fillDimensionBlock(mmBlock& block, const mmDimension& d) {
    auto add = [&](const mmObject& part) {
        mmObjectPtr copy;
        if (&part == &d.arrow1 || &part == &d.arrow2) {
            if (d.arrowKind == 0) copy = filledArrow(static_cast<const mmPolyline&>(part));
        }
        if (!copy) copy = CreateEntityOfType(part.type);
        if (!copy) return;
        if (copy->type == part.type) copy->CopyFrom(part);
        AddToBlock(block, copy);
    };
    if (d.ShowsBlock()) {
        for (const mmObjectPtr& e : d.blockEntities)
            if (e && !e->erased) add(*e);
        return;
    }
    if (!d.IsBuiltType() || !d.Measured()) return;
    if (d.dimType == kDimRadius) {
        for (const mmObject* part : std::initializer_list<const mmObject*>{&d.dimLine, &d.arrow2, &d.label})
            add(*part);
        return;
    }
    if (d.dimType == kDimOrdinate) {
        for (const mmObject* part : std::initializer_list<const mmObject*>{
                 &d.mark1, &d.dimLine, &d.leaderLine, &d.extLine1, &d.label})
            add(*part);
        return;
    }
    for (const mmObject* part : std::initializer_list<const mmObject*>{
             &d.mark1, &d.mark2, &d.dimLine, &d.extLine1, &d.extLine2, &d.arrow1, &d.arrow2, &d.label})
        add(*part);
}

}  // namespace

int MakeDimensionBlock(const mmEntityList& entities, mmBlockTable& blocks, int32_t& nextBlockId) {
    std::unordered_map<std::u16string, mmBlock*> byName;
    byName.reserve(blocks.size());
    for (const auto& [id, block] : blocks)
        if (block) byName.emplace(block->name, block.get());  // the first of a name wins
    // Each name holds one dimension's block: a dimension whose name an earlier one took (a file's
    // block name, a copy) is given the first "*D" name no block has.
    std::unordered_set<std::u16string> taken;
    int32_t nextNumber = 0;
    int added = 0;
    for (const mmObjectPtr& entity : entities) {
        if (!entity || entity->type != kTypeDimension) continue;
        auto& d = static_cast<mmDimension&>(*entity);
        if (d.blockName.empty()) d.blockName = mmDimension::BlockNameFor(d.id);
        if (taken.count(d.blockName)) {
            do {
                d.blockName = mmDimension::BlockNameFor(nextNumber++);
            } while (taken.count(d.blockName) || byName.count(d.blockName));
        }
        const std::u16string name = d.blockName;
        taken.insert(name);
        if (auto it = byName.find(name); it != byName.end()) {
            mmBlock& existing = *it->second;
            if (d.erased || !(existing.flags & kBlockAnonymous)) continue;
            existing.entities.clear();
            existing.nextEntityId = 0;
            existing.SetBasePoint(0.0, 0.0);
            fillDimensionBlock(existing, d);
            continue;
        }
        while (blocks.count(nextBlockId)) ++nextBlockId;  // never replace a block
        mmBlockPtr block = CreateBlock(nextBlockId++, 0.0, 0.0, kBlockAnonymous, name);
        fillDimensionBlock(*block, d);
        blocks.emplace(block->id, block);
        byName.emplace(block->name, block.get());
        ++added;
    }
    return added;
}
