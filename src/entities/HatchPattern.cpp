// Pattern clipping: per family, the loops in the family's frame (u along the lines, v across),
// the crossings of each line with the loop edges sorted along it, inside intervals by parity,
// and the dash pattern laid over them. Boundary outlines for it.
#include "entities/HatchPattern.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Geometry.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"

namespace {

struct Crossing {
    int64_t line;
    double u;
    bool operator<(const Crossing& o) const { return line != o.line ? line < o.line : u < o.u; }
};

// Lays the dash pattern (starting at phase) over [u0, u1] of the line at v; false when the
// budget runs out. The pattern draws something (drawsSomething), so every repetition within the
// interval costs a piece.
bool dashInterval(const std::vector<double>& dashes, double length, double phase, double u0,
                  double u1, const auto& place, std::size_t& budget,
                  mmHatchPatternGeometry& out) {
    auto segment = [&](double a, double b) {
        const mmVertex p = place(a), q = place(b);
        out.segments.insert(out.segments.end(), {static_cast<float>(p.x), static_cast<float>(p.y),
                                                 static_cast<float>(q.x), static_cast<float>(q.y)});
    };
    if (dashes.empty() || !(length > 0.0)) {
        if (budget == 0) return false;
        --budget;
        segment(u0, u1);
        return true;
    }
    double x = phase + std::floor((u0 - phase) / length) * length;
    while (x < u1) {
        for (const double dash : dashes) {
            const double end = x + std::fabs(dash);
            if (dash > 0.0 && end > u0 && x < u1) {
                if (budget == 0) return false;
                --budget;
                segment(std::max(x, u0), std::min(end, u1));
            } else if (dash == 0.0 && x >= u0 && x <= u1) {
                if (budget == 0) return false;
                --budget;
                const mmVertex p = place(x);
                out.dots.insert(out.dots.end(), {static_cast<float>(p.x), static_cast<float>(p.y)});
            }
            x = end;
        }
    }
    return true;
}

bool drawsSomething(const std::vector<double>& dashes) {
    if (dashes.empty()) return true;
    for (double d : dashes)
        if (d >= 0.0) return true;
    return false;
}

// One family; false when it exceeds the budgets.
bool clipFamily(const mmPolygonLoops& loops, const mmHatchPatternLine& line, double ox, double oy,
                std::size_t& budget, std::size_t& crossingBudget, std::vector<Crossing>& crossings,
                mmHatchPatternGeometry& out) {
    const double a = line.angle * kDegToRad;
    const double dx = std::cos(a), dy = std::sin(a);  // along the lines
    const double nx = -dy, ny = dx;                   // across them
    double spacing = line.offsetX * nx + line.offsetY * ny;
    double shift = line.offsetX * dx + line.offsetY * dy;
    const double bx = line.baseX - ox, by = line.baseY - oy;
    if (!std::isfinite(spacing) || !std::isfinite(shift) || !std::isfinite(bx) || !std::isfinite(by))
        return true;
    if (spacing < 0.0) {
        spacing = -spacing;
        shift = -shift;
    }
    if (!(spacing > 0.0) || !drawsSomething(line.dashes)) return true;
    double length = 0.0;
    for (double d : line.dashes)
        length += std::fabs(d);
    if (!std::isfinite(length)) return true;
    const double baseV = bx * nx + by * ny, baseU = bx * dx + by * dy;

    double vmin = HUGE_VAL, vmax = -HUGE_VAL;
    for (const auto& loop : loops)
        for (const mmVertex& p : loop) {
            const double v = p.x * nx + p.y * ny;
            vmin = std::min(vmin, v);
            vmax = std::max(vmax, v);
        }
    if (!(vmin <= vmax)) return true;
    // Lines are counted in doubles first, so that no count overflows.
    if ((vmax - vmin) / spacing > static_cast<double>(crossingBudget)) return false;

    crossings.clear();
    for (const auto& loop : loops) {
        const std::size_t n = loop.size();
        for (std::size_t i = 0; i < n; ++i) {
            const mmVertex& p = loop[i];
            const mmVertex& q = loop[(i + 1) % n];
            const double pv = p.x * nx + p.y * ny, qv = q.x * nx + q.y * ny;
            if (pv == qv) continue;
            // Lines with lo <= v < hi cross the edge: a vertex on a line is counted once.
            const double lo = std::min(pv, qv), hi = std::max(pv, qv);
            const auto k0 = static_cast<int64_t>(std::ceil((lo - baseV) / spacing));
            const auto k1 = static_cast<int64_t>(std::ceil((hi - baseV) / spacing)) - 1;
            if (k1 < k0) continue;
            const auto count = static_cast<std::size_t>(k1 - k0 + 1);
            if (count > crossingBudget) return false;
            crossingBudget -= count;
            const double pu = p.x * dx + p.y * dy, qu = q.x * dx + q.y * dy;
            for (int64_t k = k0; k <= k1; ++k) {
                const double v = baseV + static_cast<double>(k) * spacing;
                const double t = (v - pv) / (qv - pv);
                crossings.push_back({k, pu + t * (qu - pu)});
            }
        }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size();) {
        const int64_t k = crossings[i].line;
        if (crossings[i + 1].line != k) {  // an odd crossing left over: nothing inside
            ++i;
            continue;
        }
        const double v = baseV + static_cast<double>(k) * spacing;
        const double phase = baseU + static_cast<double>(k) * shift;
        auto place = [&](double u) { return mmVertex(u * dx + v * nx, u * dy + v * ny); };
        if (!dashInterval(line.dashes, length, phase, crossings[i].u, crossings[i + 1].u, place,
                          budget, out))
            return false;
        i += 2;
    }
    return true;
}

// Points of the arc of a polyline segment from p to q with the bulge, q excluded.
void appendBulge(const mmVertex& p, const mmVertex& q, double bulge, double tolerance,
                 std::vector<mmVertex>& out) {
    out.push_back(p);
    const double chordX = q.x - p.x, chordY = q.y - p.y;
    const double chord = std::hypot(chordX, chordY);
    const double sweep = 4.0 * std::atan(bulge);  // signed, counter-clockwise positive
    if (bulge == 0.0 || !(chord > 0.0) || !std::isfinite(sweep)) return;
    const double radius = chord / (2.0 * std::sin(std::fabs(sweep) / 2.0));
    // The centre lies left of the chord for a counter-clockwise arc of less than half a turn.
    const double toCentre = radius * std::cos(sweep / 2.0) * (bulge > 0.0 ? 1.0 : -1.0);
    const double cx = (p.x + q.x) / 2.0 - chordY / chord * toCentre;
    const double cy = (p.y + q.y) / 2.0 + chordX / chord * toCentre;
    const double start = std::atan2(p.y - cy, p.x - cx);
    const double step = tolerance < radius ? 2.0 * std::acos(1.0 - tolerance / radius) : kPi / 2.0;
    const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / step)), 1, 4096);
    for (int i = 1; i < n; ++i) {
        const double t = start + sweep * i / n;
        out.emplace_back(cx + radius * std::cos(t), cy + radius * std::sin(t));
    }
}

void appendCircleArc(double cx, double cy, double radius, double start, double sweep,
                     bool reversed, double tolerance, std::vector<mmVertex>& out) {
    const double step = tolerance < radius ? 2.0 * std::acos(1.0 - tolerance / radius) : kPi / 2.0;
    const int n = std::clamp(static_cast<int>(std::ceil(sweep / step)), 1, 4096);
    for (int k = 0; k <= n; ++k) {
        const int i = reversed ? n - k : k;
        const double t = start + sweep * i / n;
        out.emplace_back(cx + radius * std::cos(t), cy + radius * std::sin(t));
    }
}

}  // namespace

bool ClipHatchPattern(const mmPolygonLoops& loops, std::span<const mmHatchPatternLine> lines,
                      double originX, double originY, std::size_t mostPieces,
                      mmHatchPatternGeometry& out) {
    out.clear();
    std::size_t budget = mostPieces;
    std::size_t crossingBudget = 2 * mostPieces;
    std::vector<Crossing> crossings;
    for (const mmHatchPatternLine& line : lines)
        if (!clipFamily(loops, line, originX, originY, budget, crossingBudget, crossings, out)) {
            out = mmHatchPatternGeometry();
            return false;
        }
    return true;
}

void AppendBoundaryOutline(const mmObject& e, double tolerance, std::vector<mmVertex>& out) {
    switch (e.type) {
        case kTypeLine:
            out.insert(out.end(), e.points.begin(), e.points.end());
            break;
        case kTypePolyline: {
            const auto& p = static_cast<const mmPolyline&>(e);
            const int segments = p.SegmentCount();
            for (int i = 0; i < segments; ++i)
                appendBulge(p.points[static_cast<std::size_t>(i)],
                            p.points[static_cast<std::size_t>(p.SegmentEnd(i))], p.BulgeAt(i),
                            tolerance, out);
            if (!p.points.empty()) out.push_back(p.points[static_cast<std::size_t>(p.closed ? 0 : p.points.size() - 1)]);
            break;
        }
        case kTypeArc: {
            const auto& arc = static_cast<const mmArc&>(e);
            if (arc.points.empty()) break;
            double start = 0.0, sweep = 0.0;
            arc.DrawAngles(start, sweep);
            appendCircleArc(arc.points[0].x, arc.points[0].y, arc.radius, start, sweep,
                            arc.direction == 0, tolerance, out);
            break;
        }
        case kTypeCircle: {
            const auto& circle = static_cast<const mmCircle&>(e);
            if (circle.points.empty()) break;
            appendCircleArc(circle.points[0].x, circle.points[0].y, circle.radius, 0.0, 2.0 * kPi,
                            false, tolerance, out);
            break;
        }
        case kTypeSpline:
            static_cast<const mmSpline&>(e).SampleCurve(
                tolerance, 1 << 16, [&](double x, double y) { out.emplace_back(x, y); });
            break;
        default:
            break;
    }
}
