// Hatch patterns: the pattern line families of a hatch and their clipping to the boundary loops
// with the even-odd rule, into dashes and dots.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "entities/Vertex.h"

class mmObject;

// One family of parallel lines: the line through the base point at the angle, repeated at the
// offset, each drawn with the dash pattern from where the base point falls on it.
struct mmHatchPatternLine {
    double angle = 0.0;                   // degrees
    double baseX = 0.0, baseY = 0.0;      // drawing coordinates
    double offsetX = 0.0, offsetY = 0.0;  // from one line to the next
    std::vector<double> dashes;           // > 0 dash, < 0 gap, 0 dot; empty: continuous
};

// The clipped pattern, relative to the hatch's origin: segments x1 y1 x2 y2, dots x y.
struct mmHatchPatternGeometry {
    std::vector<float> segments;
    std::vector<float> dots;
    void clear() {
        segments.clear();
        dots.clear();
    }
};

// Closed polygons relative to the origin (the last vertex joins the first).
using mmPolygonLoops = std::vector<std::vector<mmVertex>>;

// Clips every family to the inside of the loops (even-odd over all of them). False, with the
// geometry cleared, when it would hold more than mostPieces segments and dots, or the families
// would cut the loops more than twice that often.
bool ClipHatchPattern(const mmPolygonLoops& loops, std::span<const mmHatchPatternLine> lines,
                      double originX, double originY, std::size_t mostPieces,
                      mmHatchPatternGeometry& out);

// Appends the outline of a boundary entity (line, polyline, arc, circle, spline), curves within
// tolerance, in the order the entity is followed.
void AppendBoundaryOutline(const mmObject& entity, double tolerance, std::vector<mmVertex>& out);
