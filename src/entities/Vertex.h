// The point record entities are built from, the rectangle type used for extents and view windows,
// and the shift that moves stored coordinates to display coordinates.
#pragma once

struct mmVertex {
    double x = 0.0;
    double y = 0.0;
    bool hot = false;    // the grip being dragged (drawn red)
    bool hover = false;  // the grip under the cursor (drawn green)

    mmVertex() = default;
    mmVertex(double x_, double y_) : x(x_), y(y_) {}
};

// Axis-aligned rectangle: minX, minY, maxX, maxY.
struct mmRect {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
};

// Extents of an entity without points: inverted, so they never pass a culling test.
inline constexpr double kExtentsEmptyMin = 9999999999.0;
inline constexpr double kExtentsEmptyMax = -9999999999.0;

inline mmRect EmptyExtents() { return {kExtentsEmptyMin, kExtentsEmptyMin, kExtentsEmptyMax, kExtentsEmptyMax}; }

inline void WidenRect(mmRect& r, double x, double y) {
    if (x < r.minX) r.minX = x;
    if (y < r.minY) r.minY = y;
    if (x > r.maxX) r.maxX = x;
    if (y > r.maxY) r.maxY = y;
}

// A stored point (x, y) is handled at display position (x + dx1 - dx2, y + dy1 - dy2). Callers
// pass the view's origin offset as (dx2, dy2); Draw emits vertices at (x - dx2, y - dy2) and uses
// (dx1, dy1) only for culling.
struct mmShift {
    double dx1 = 0.0;
    double dy1 = 0.0;
    double dx2 = 0.0;
    double dy2 = 0.0;

    double cullX() const { return dx1 - dx2; }
    double cullY() const { return dy1 - dy2; }
};
