// Length and area of a polyline, with its arc segments.
#include <cmath>

#include "entities/Polyline.h"

namespace {

// A segment of chord length c with bulge b: its included angle is 4 atan(b), and its radius
// c / (2 sin(angle / 2)).
struct BulgeArc {
    double angle = 0.0;  // included angle, radians, positive
    double radius = 0.0;
};

BulgeArc bulgeArc(double chord, double bulge) {
    BulgeArc arc;
    arc.angle = 4.0 * std::atan(std::fabs(bulge));
    const double half = std::sin(arc.angle / 2.0);
    arc.radius = half > 0.0 ? chord / (2.0 * half) : 0.0;
    return arc;
}

}  // namespace

double mmPolyline::Length() const {
    double length = 0.0;
    for (int i = 0; i < SegmentCount(); ++i) {
        const mmVertex& a = points[i];
        const mmVertex& b = points[SegmentEnd(i)];
        const double chord = std::hypot(b.x - a.x, b.y - a.y);
        const double bulge = BulgeAt(i);
        if (bulge == 0.0 || chord == 0.0 || !std::isfinite(bulge)) {
            length += chord;
            continue;
        }
        const BulgeArc arc = bulgeArc(chord, bulge);
        length += arc.radius * arc.angle;
    }
    return length;
}

// The shoelace sum of the vertices, plus for every arc the circular segment between its chord
// and the arc, on the side the bulge's sign gives (positive bulges run counter-clockwise, to the
// right of the chord, which adds to a counter-clockwise outline).
double mmPolyline::Area() const {
    const int n = pointCount();
    if (n < 2) return 0.0;
    double twice = 0.0;
    double segments = 0.0;
    for (int i = 0; i < n; ++i) {
        const mmVertex& a = points[i];
        const mmVertex& b = points[(i + 1) % n];
        twice += a.x * b.y - b.x * a.y;
        const bool arcSegment = i < SegmentCount();
        const double bulge = arcSegment ? BulgeAt(i) : 0.0;
        if (bulge == 0.0 || !std::isfinite(bulge)) continue;
        const BulgeArc arc = bulgeArc(std::hypot(b.x - a.x, b.y - a.y), bulge);
        const double area = arc.radius * arc.radius / 2.0 * (arc.angle - std::sin(arc.angle));
        segments += bulge > 0.0 ? area : -area;
    }
    return std::fabs(twice / 2.0 + segments);
}
