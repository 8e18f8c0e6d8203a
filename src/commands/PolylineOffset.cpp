// OFFSET's geometry: tangents and normals of segments, vertex placement and refitted bulges.
#include "commands/PolylineOffset.h"

#include <cmath>
#include <optional>
#include <vector>

#include "commands/PolylineArcs.h"
#include "entities/Polyline.h"

namespace {

constexpr double kNearlyClosed = 0.01;
constexpr double kReversal = 1e-6;

struct Direction {
    double x = 0.0, y = 0.0;
};

Direction turned(const Direction& d, double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {d.x * c - d.y * s, d.x * s + d.y * c};
}

// The unit normals (left of travel) at the start and the end of each segment; none for a
// segment of no length.
struct SegmentNormals {
    bool valid = false;
    Direction start, end;
};

SegmentNormals normalsOf(const mmVertex& a, const mmVertex& b, double bulge) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0) || !std::isfinite(length)) return {};
    const Direction chord{dx / length, dy / length};
    const double turn = bulge == 0.0 ? 0.0 : 2.0 * std::atan(bulge);
    const Direction t0 = turned(chord, -turn), t1 = turned(chord, turn);
    return {true, {-t0.y, t0.x}, {-t1.y, t1.x}};
}

// The segments of a polyline as OFFSET walks them: whether they form a ring (closed, or nearly
// closed), and each one's normals.
class Chain {
public:
    explicit Chain(const mmPolyline& p) : n_(p.pointCount()) {
        const mmVertex& first = p.points.front();
        const mmVertex& last = p.points.back();
        ring_ = p.closed || (n_ > 2 && std::fabs(last.x - first.x) <= kNearlyClosed &&
                             std::fabs(last.y - first.y) <= kNearlyClosed);
        for (int i = 0; i < p.SegmentCount(); ++i)
            normals_.push_back(normalsOf(p.points[i], p.points[p.SegmentEnd(i)], p.BulgeAt(i)));
    }

    // The normal at the end of the segment arriving at vertex v, and at the start of the one
    // leaving it; segments of no length are passed over.
    std::optional<Direction> incoming(int v) const {
        return find(v == 0 || v == n_ - 1 ? lastArriving(v) : v - 1, -1, false);
    }
    std::optional<Direction> outgoing(int v) const {
        return find(v == n_ - 1 && !closedRing() ? (ring_ ? 0 : -1) : v, +1, true);
    }

private:
    int segments() const { return static_cast<int>(normals_.size()); }
    bool closedRing() const { return ring_ && segments() == n_; }
    // The segment arriving at the first or last vertex: the closing one, or in a nearly closed
    // ring the last one; none at the start of an open polyline.
    int lastArriving(int v) const {
        if (v == n_ - 1) return v - 1;
        return ring_ ? segments() - 1 : -1;
    }
    std::optional<Direction> find(int segment, int stepBy, bool atStart) const {
        for (int tried = 0; segment >= 0 && segment < segments() && tried < segments(); ++tried) {
            if (normals_[segment].valid)
                return atStart ? normals_[segment].start : normals_[segment].end;
            segment += stepBy;
            if (ring_) segment = (segment + segments()) % segments();
        }
        return std::nullopt;
    }

    int n_;
    bool ring_ = false;
    std::vector<SegmentNormals> normals_;
};

// How far vertex v moves for an offset of 1 to the left.
Direction vertexShift(const Chain& chain, int v) {
    const std::optional<Direction> in = chain.incoming(v);
    const std::optional<Direction> out = chain.outgoing(v);
    if (!in && !out) return {};
    if (!in) return *out;
    if (!out) return *in;
    const Direction m{in->x + out->x, in->y + out->y};
    const double length = std::hypot(m.x, m.y);
    if (length < kReversal) return *in;
    const Direction u{m.x / length, m.y / length};
    const double along = u.x * out->x + u.y * out->y;
    return {u.x / along, u.y / along};
}

// The bulge of a source arc segment between its moved vertices: the arc through them and the
// source mid point moved by the distance (not negative) along its radius, outward when the moved
// start lies at least as far from the centre as the source start. 0 when the three points make no
// arc.
double refittedBulge(const mmVertex& a, const mmVertex& b, double bulge, const mmVertex& a2,
                     const mmVertex& b2, double distance) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double half = std::hypot(dx, dy) / 2.0;
    if (!(half > 0.0)) return 0.0;
    const Direction left{-dy / (2.0 * half), dx / (2.0 * half)};
    const mmVertex chordMid((a.x + b.x) / 2.0, (a.y + b.y) / 2.0);
    const double towardCentre = half * (1.0 - bulge * bulge) / (2.0 * bulge);
    const mmVertex centre(chordMid.x + left.x * towardCentre, chordMid.y + left.y * towardCentre);
    const mmVertex mid(chordMid.x - left.x * bulge * half, chordMid.y - left.y * bulge * half);
    const double radius = std::hypot(mid.x - centre.x, mid.y - centre.y);
    if (!(radius > 0.0)) return 0.0;
    const bool outward =
        std::hypot(a2.x - centre.x, a2.y - centre.y) >= std::hypot(a.x - centre.x, a.y - centre.y);
    const double by = (outward ? distance : -distance) / radius;
    const mmVertex mid2(mid.x + (mid.x - centre.x) * by, mid.y + (mid.y - centre.y) * by);
    const std::optional<double> fitted = ThreePointArcBulge(a2, mid2, b2);
    if (!fitted) return 0.0;
    return std::copysign(std::fabs(*fitted), bulge);
}

}  // namespace

int OffsetSide(const mmPolyline& source, const mmVertex& sidePoint) {
    const int n = source.pointCount();
    int i = mmPolyline::NearestSegment(source.points, sidePoint);
    if (i < 0) return 0;
    if (i >= n - 1) i = n - 2;
    const mmVertex& a = source.points[i];
    const mmVertex& b = source.points[i + 1];
    const double cross = (b.x - a.x) * (sidePoint.y - a.y) - (b.y - a.y) * (sidePoint.x - a.x);
    return cross < 0.0 ? -1 : 1;
}

void OffsetPolyline(const mmPolyline& source, double distance, int side, mmPolyline& copy) {
    const int n = source.pointCount();
    if (n < 2) return;
    const Chain chain(source);
    const double d = distance * side;
    copy.points.resize(n);
    for (int v = 0; v < n; ++v) {
        const Direction shift = vertexShift(chain, v);
        copy.points[v] =
            mmVertex(source.points[v].x + shift.x * d, source.points[v].y + shift.y * d);
    }
    copy.bulges.assign(source.bulges.begin(), source.bulges.end());
    for (int i = 0; i < source.SegmentCount() && i < static_cast<int>(copy.bulges.size()); ++i) {
        const double bulge = source.bulges[i];
        if (bulge == 0.0 || !std::isfinite(bulge)) continue;
        const int e = source.SegmentEnd(i);
        copy.bulges[i] = refittedBulge(source.points[i], source.points[e], bulge, copy.points[i],
                                       copy.points[e], std::fabs(d));
    }
    copy.UpdateGrips();
    copy.UpdateExtents();
}
