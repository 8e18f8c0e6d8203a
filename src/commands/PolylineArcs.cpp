// Tangent and three-point arcs of polylines as bulges, and segment end directions.
#include "commands/PolylineArcs.h"

#include <cmath>

namespace {

// Relative tolerance below which points count as lying on one line.
constexpr double kStraight = 1e-9;

double cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

}  // namespace

// The chord turns by half the included angle away from the start direction, and the bulge is
// the tangent of a quarter of that angle: tan(alpha / 2) for the turn alpha.
std::optional<double> TangentArcBulge(const mmVertex& t, const mmVertex& a, const mmVertex& b) {
    const double cx = b.x - a.x, cy = b.y - a.y;
    const double length = std::hypot(cx, cy);
    if (!(length > 0.0)) return std::nullopt;
    const double sine = cross(t.x, t.y, cx, cy);
    const double denominator = length + t.x * cx + t.y * cy;
    if (!(denominator > kStraight * length)) return std::nullopt;
    const double bulge = sine / denominator;
    if (!std::isfinite(bulge)) return std::nullopt;
    return bulge;
}

// With angle g at m between m->a and m->b, the arc through m spans 2 (pi - g), so its bulge is
// cot(g / 2); it turns clockwise when m lies left of the chord.
std::optional<double> ThreePointArcBulge(const mmVertex& a, const mmVertex& m, const mmVertex& b) {
    const double ux = a.x - m.x, uy = a.y - m.y;
    const double vx = b.x - m.x, vy = b.y - m.y;
    const double lengths = std::hypot(ux, uy) * std::hypot(vx, vy);
    const double sine = cross(ux, uy, vx, vy);
    if (!(lengths > 0.0) || !(std::fabs(sine) > kStraight * lengths)) return std::nullopt;
    if (a.x == b.x && a.y == b.y) return std::nullopt;
    const double magnitude = (lengths + ux * vx + uy * vy) / std::fabs(sine);
    if (!std::isfinite(magnitude)) return std::nullopt;
    const bool mLeftOfChord = cross(b.x - a.x, b.y - a.y, m.x - a.x, m.y - a.y) > 0.0;
    return mLeftOfChord ? -magnitude : magnitude;
}

std::optional<mmVertex> EndDirection(const mmVertex& a, const mmVertex& b, double bulge) {
    const double cx = b.x - a.x, cy = b.y - a.y;
    const double length = std::hypot(cx, cy);
    if (!(length > 0.0) || !std::isfinite(length)) return std::nullopt;
    const double turn = 2.0 * std::atan(bulge);
    const double ux = cx / length, uy = cy / length;
    return mmVertex(ux * std::cos(turn) - uy * std::sin(turn),
                    ux * std::sin(turn) + uy * std::cos(turn));
}
