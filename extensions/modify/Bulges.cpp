// Polyline segments: reading them, nearest points, splitting arcs and bulges through a point.
#include "Bulges.h"

#include <cmath>
#include <limits>

#include "KestrelExtension.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct Arc {
    Point centre;
    double radius = 0.0;
    double start = 0.0;  // radians, at a
    double sweep = 0.0;  // signed: positive counter-clockwise
};

Arc arcOf(const Segment& s) {
    const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    const double chord = std::hypot(dx, dy);
    Arc arc;
    arc.sweep = 4.0 * std::atan(s.bulge);
    // The centre lies on the chord's left for counter-clockwise arcs under a half turn.
    const double along = chord / 2.0 / std::tan(arc.sweep / 2.0);
    arc.centre = {s.a.x + dx / 2.0 - dy / chord * along, s.a.y + dy / 2.0 + dx / chord * along};
    arc.radius = std::hypot(s.a.x - arc.centre.x, s.a.y - arc.centre.y);
    arc.start = std::atan2(s.a.y - arc.centre.y, s.a.x - arc.centre.x);
    return arc;
}

// How far along the arc (radians, in the arc's own direction) the direction to p lies.
double turnTo(const Arc& arc, const Point& p) {
    double t = std::atan2(p.y - arc.centre.y, p.x - arc.centre.x) - arc.start;
    if (arc.sweep < 0.0) t = -t;
    t = std::fmod(t, 2.0 * kPi);
    return t < 0.0 ? t + 2.0 * kPi : t;
}

bool curved(const Segment& s) {
    return s.bulge != 0.0 && (s.a.x != s.b.x || s.a.y != s.b.y);
}

double distance(const Point& a, const Point& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace

int Polyline::SegmentCount() const {
    const int n = static_cast<int>(vertices.size());
    if (n < 2) return 0;
    return closed ? n : n - 1;
}

Segment Polyline::SegmentAt(int i) const {
    const std::size_t n = vertices.size();
    const std::size_t k = static_cast<std::size_t>(i);
    return {vertices[k], vertices[(k + 1) % n], bulges[k]};
}

Polyline ReadPolyline(int id) {
    Polyline line;
    int closed = 0;
    const int n = getPolylineInfo(id, &closed);
    line.closed = closed != 0;
    for (int i = 0; i < n; ++i) {
        Point p;
        double bulge = 0.0;
        if (getPolylineVertex(id, i, &p.x, &p.y, &bulge) != 0) return {};
        line.vertices.push_back(p);
        line.bulges.push_back(bulge);
    }
    return line;
}

Point NearestOnSegment(const Segment& s, const Point& p) {
    if (curved(s)) {
        const Arc arc = arcOf(s);
        const double t = turnTo(arc, p);
        if (t > std::fabs(arc.sweep)) return distance(p, s.a) <= distance(p, s.b) ? s.a : s.b;
        const double angle = arc.start + (arc.sweep < 0.0 ? -t : t);
        return {arc.centre.x + arc.radius * std::cos(angle),
                arc.centre.y + arc.radius * std::sin(angle)};
    }
    const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / length2 : 0.0;
    t = std::fmin(1.0, std::fmax(0.0, t));
    return {s.a.x + t * dx, s.a.y + t * dy};
}

int NearestSegment(const Polyline& line, const Point& p) {
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int i = 0; i < line.SegmentCount(); ++i) {
        const double d = distance(p, NearestOnSegment(line.SegmentAt(i), p));
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int NearestVertex(const Polyline& line, const Point& p) {
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < line.vertices.size(); ++i) {
        const double d = distance(p, line.vertices[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void SplitBulge(const Segment& s, const Point& at, double& before, double& after) {
    before = after = 0.0;
    if (!curved(s)) return;
    const Arc arc = arcOf(s);
    const double first = std::fmin(turnTo(arc, at), std::fabs(arc.sweep));
    const double sign = arc.sweep < 0.0 ? -1.0 : 1.0;
    before = std::tan(sign * first / 4.0);
    after = std::tan(sign * (std::fabs(arc.sweep) - first) / 4.0);
}

bool BulgeThrough(const Point& a, const Point& p, const Point& b, double& bulge) {
    const double ax = a.x - p.x, ay = a.y - p.y, bx = b.x - p.x, by = b.y - p.y;
    if ((ax == 0.0 && ay == 0.0) || (bx == 0.0 && by == 0.0)) return false;
    // The arc's angle is twice the supplement of the angle a-p-b; it turns counter-clockwise
    // when p lies right of the chord from a to b.
    const double atP = std::atan2(std::fabs(ax * by - ay * bx), ax * bx + ay * by);
    if (atP == 0.0) return false;
    const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    bulge = std::tan((kPi - atP) / 2.0);
    if (cross > 0.0) bulge = -bulge;
    return true;
}
