// A cheap pre-test for picking: the square around the cursor, in display coordinates, outside of
// which no geometry can come within a given number of pixels. Lets entities with many edges skip
// projecting the ones far from the cursor.
#pragma once

#include <cmath>
#include <cstring>

#include "entities/Geometry.h"

struct mmPickReach {
    double x = 0.0;  // cursor in display coordinates
    double y = 0.0;
    double tol = 0.0;
    bool everywhere = true;  // the view transform gave no usable scale: test everything

    // pixels: the pick distance; one pixel is added for rounding. A pick pass asks every entity
    // with the same cursor and view, so the last answer is kept.
    mmPickReach(int cx, int cy, const mmViewMatrices& m, double pixels) {
        struct Last {
            bool valid = false;
            int cx = 0, cy = 0;
            double pixels = 0.0;
            mmViewMatrices m;
            double x = 0.0, y = 0.0, tol = 0.0;
            bool everywhere = true;
        };
        thread_local Last last;
        if (last.valid && last.cx == cx && last.cy == cy && last.pixels == pixels &&
            std::memcmp(&last.m, &m, sizeof m) == 0) {
            x = last.x;
            y = last.y;
            tol = last.tol;
            everywhere = last.everywhere;
            return;
        }
        compute(cx, cy, m, pixels);
        last = {true, cx, cy, pixels, m, x, y, tol, everywhere};
    }

    bool Near(double minX, double minY, double maxX, double maxY) const {
        return everywhere ||
               (x >= minX - tol && x <= maxX + tol && y >= minY - tol && y <= maxY + tol);
    }
    bool NearSegment(double ax, double ay, double bx, double by) const {
        return Near(std::fmin(ax, bx), std::fmin(ay, by), std::fmax(ax, bx), std::fmax(ay, by));
    }

private:
    void compute(int cx, int cy, const mmViewMatrices& m, double pixels) {
        double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
        if (!screenToWorld(cx, cy, m, x, y) || !screenToWorld(cx + 1, cy, m, x1, y1) ||
            !screenToWorld(cx, cy + 1, m, x2, y2))
            return;
        // Drawing units of one pixel step, bounded above for any linear view transform.
        const double unit = std::hypot(x1 - x, y1 - y) + std::hypot(x2 - x, y2 - y);
        if (std::isfinite(unit) && std::isfinite(x) && std::isfinite(y)) {
            tol = (pixels + 1.0) * unit;
            everywhere = false;
        }
    }
};
