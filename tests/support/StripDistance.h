// The distance from a point to a line strip (the nearest of its segments), for tests that check
// drawn curves against the curve itself.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "entities/Vertex.h"

inline double DistanceToStrip(const mmVertex& p, const std::vector<mmVertex>& strip) {
    double best = HUGE_VAL;
    for (std::size_t i = 1; i < strip.size(); ++i) {
        const mmVertex& a = strip[i - 1];
        const mmVertex& b = strip[i];
        const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
        const double t =
            l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
    return best;
}
