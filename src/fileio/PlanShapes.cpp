// Entities of object planes, seen from above.
#include "fileio/PlanShapes.h"

#include <cmath>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Ellipse.h"
#include "entities/Geometry.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "entities/Viewport.h"

mmObjectPtr CircleInPlan(const mmOcs& ocs, const mmPoint3& centre, double radius) {
    const mmVertex c = ocs.Point(centre.x, centre.y, centre.z);
    if (ocs.Exact()) {
        auto circle = std::make_shared<mmCircle>();
        circle->points.reserve(1);
        circle->grips.reserve(5);
        circle->AddPoint(c.x, c.y);
        circle->radius = radius;
        return circle;
    }
    const mmVertex a = ocs.Vector(radius, 0.0), b = ocs.Vector(0.0, radius);
    auto ellipse = std::make_shared<mmEllipse>();
    ellipse->SetConjugate(c.x, c.y, a.x, a.y, b.x, b.y, 0.0, 0.0);
    return ellipse;
}

namespace {

double normalizedDegrees(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0) d += 360.0;
    return d;
}

}  // namespace

mmObjectPtr ArcInPlan(const mmOcs& ocs, const mmPoint3& centre, double radius, double start,
                      double end) {
    const mmVertex c = ocs.Point(centre.x, centre.y, centre.z);
    if (!ocs.Exact()) {
        const mmVertex a = ocs.Vector(radius, 0.0), b = ocs.Vector(0.0, radius);
        double sweep = std::fmod(end - start, 360.0);
        if (sweep <= 0.0) sweep += 360.0;
        auto ellipse = std::make_shared<mmEllipse>();
        ellipse->SetConjugate(c.x, c.y, a.x, a.y, b.x, b.y, start * kDegToRad,
                              (start + sweep) * kDegToRad);
        return ellipse;
    }
    auto arc = std::make_shared<mmArc>();
    arc->points.reserve(1);
    arc->grips.reserve(4);
    arc->AddPoint(c.x, c.y);
    arc->radius = radius;
    // Seen from below, the arc from start to end counter-clockwise is the one from 180 - end to
    // 180 - start.
    arc->startAngle = ocs.Mirrored() ? normalizedDegrees(180.0 - end) : start;
    arc->endAngle = ocs.Mirrored() ? normalizedDegrees(180.0 - start) : end;
    arc->direction = 1;
    return arc;
}

std::shared_ptr<mmEllipse> EllipseInPlan(const mmPoint3& centre, const mmPoint3& major,
                                         const mmPoint3& normal, double ratio, double start,
                                         double end) {
    double nx = normal.x, ny = normal.y, nz = normal.z;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0.0) || !std::isfinite(length)) {
        nx = ny = 0.0;
        nz = 1.0;
    } else {
        nx /= length;
        ny /= length;
        nz /= length;
    }
    if (!(ratio > 0.0) || !std::isfinite(ratio)) ratio = 1.0;
    // The minor axis is the normal crossed with the major axis, scaled by the ratio.
    const double bx = ratio * (ny * major.z - nz * major.y);
    const double by = ratio * (nz * major.x - nx * major.z);
    auto ellipse = std::make_shared<mmEllipse>();
    ellipse->SetConjugate(centre.x, centre.y, major.x, major.y, bx, by, start, end);
    return ellipse;
}

void PlacePolyline(const mmOcs& ocs, double elevation, mmPolyline& p) {
    if (ocs.Identity()) return;
    for (mmVertex& v : p.points) v = ocs.Point(v.x, v.y, elevation);
    if (ocs.Flips())
        for (double& bulge : p.bulges) bulge = -bulge;
}

void PlaceText(const mmOcs& ocs, double elevation, mmText& t) {
    if (ocs.Identity()) return;
    for (mmVertex& v : t.points) v = ocs.Point(v.x, v.y, elevation);
    t.rotation = ocs.Angle(t.rotation);
}

bool PlaceHatchEdges(const mmOcs& ocs, std::vector<DxfHatchEdge>& edges) {
    if (ocs.Identity()) return false;
    bool approximated = false;
    const auto place = [&](double& x, double& y) {
        const mmVertex v = ocs.Point(x, y);
        x = v.x;
        y = v.y;
    };
    for (DxfHatchEdge& e : edges) {
        place(e.x1, e.y1);
        place(e.x2, e.y2);
        place(e.cx, e.cy);
        for (std::size_t i = 0; i + 1 < e.control.size(); i += 3)
            place(e.control[i], e.control[i + 1]);
        for (std::size_t i = 0; i + 1 < e.fit.size(); i += 2) place(e.fit[i], e.fit[i + 1]);
        for (double* t : {e.startTangent, e.endTangent}) {
            const mmVertex v = ocs.Vector(t[0], t[1]);
            t[0] = v.x;
            t[1] = v.y;
        }
        if (e.kind == DxfHatchEdge::Ellipse) {
            // The angles are measured from the major axis, which turns with the plane; seen from
            // the back they run the other way round it.
            approximated = approximated || !ocs.Exact();
            const mmVertex major = ocs.Vector(e.majorX, e.majorY);
            e.majorX = major.x;
            e.majorY = major.y;
            if (ocs.Flips()) {
                const double start = e.startAngle;
                e.startAngle = normalizedDegrees(360.0 - e.endAngle);
                e.endAngle = normalizedDegrees(360.0 - start);
                if (e.endAngle <= e.startAngle) e.endAngle += 360.0;
                e.counterClockwise = !e.counterClockwise;
            }
            continue;
        }
        if (e.kind != DxfHatchEdge::Arc) continue;
        approximated = approximated || !ocs.Exact();
        const double start = e.startAngle, end = e.endAngle;
        if (ocs.Flips()) {
            // The arc from start to end, seen from the back, runs from the image of the end.
            e.startAngle = normalizedDegrees(ocs.Angle(end));
            e.endAngle = normalizedDegrees(ocs.Angle(start));
            e.counterClockwise = !e.counterClockwise;
        } else {
            e.startAngle = ocs.Angle(start);
            e.endAngle = ocs.Angle(end);
        }
    }
    return approximated;
}

void PlaceHatchPattern(const mmOcs& ocs, std::vector<mmHatchPatternLine>& lines) {
    if (ocs.Identity()) return;
    for (mmHatchPatternLine& line : lines) {
        const mmVertex base = ocs.Point(line.baseX, line.baseY);
        const mmVertex offset = ocs.Vector(line.offsetX, line.offsetY);
        line.baseX = base.x;
        line.baseY = base.y;
        line.offsetX = offset.x;
        line.offsetY = offset.y;
        line.angle = ocs.Angle(line.angle);
    }
}

mmInsertPlacement PlaceInsert(const mmOcs& ocs, const mmPoint3& at, double rotation,
                              double scaleX, double scaleY) {
    mmInsertPlacement p;
    const mmVertex v = ocs.Point(at.x, at.y, at.z);
    p.x = v.x;
    p.y = v.y;
    p.rotation = ocs.Angle(rotation);
    p.scaleX = scaleX;
    // The block's y axis turns the other way from its x axis: a mirror about the x axis.
    p.scaleY = ocs.Flips() ? -scaleY : scaleY;
    return p;
}

bool ShownApproximately(const mmOcs& ocs, int32_t type, bool curved) {
    if (ocs.Identity()) return false;
    switch (type) {
        case kTypeText:
        case kTypeMText:
        case kTypeAttribute:
        case kTypeAttributeDef:
            return true;
        case kTypeBlockRef:
            return !ocs.Exact();
        case kTypePolyline:
        case kTypeHatch:
            return curved && !ocs.Exact();
        default:
            return false;
    }
}

mmObjectPtr ViewportOfRecord(const DxfViewportRecord& record) {
    if (!(record.width > 0.0) || !(record.height > 0.0)) return nullptr;
    auto viewport = std::make_shared<mmViewport>();
    viewport->SetNewViewportProperties();
    viewport->SetRectangle(record.cx - record.width / 2.0, record.cy - record.height / 2.0,
                           record.cx + record.width / 2.0, record.cy + record.height / 2.0);
    if (record.hasView && record.viewHeight > 0.0) {
        const double h = record.viewHeight;
        const double w = h * record.width / record.height;
        viewport->modelWindow = {record.viewCx - w / 2.0, record.viewCy - h / 2.0,
                                 record.viewCx + w / 2.0, record.viewCy + h / 2.0};
    }
    return viewport;
}
