// The curve of a NURBS definition: validity, rational evaluation (de Boor) in double precision,
// the periodic form, and sampling into a polyline within a tolerance.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "entities/Vertex.h"

// Degrees above this are not drawn.
inline constexpr int kSplineMaxDegree = 15;

// A view of a definition: control points, their weights (empty: all 1), the knots. The curve
// runs over knots[degree] .. knots[count], count = number of control points.
struct mmNurbsView {
    int degree = 3;
    std::span<const mmVertex> points;
    std::span<const double> weights;
    std::span<const double> knots;

    // count + degree + 1 finite, non-decreasing knots spanning a range; finite points; weights
    // one per point and positive (or none).
    bool Valid() const;
    // The point at parameter u of the knot span [knots[span], knots[span + 1]).
    mmVertex PointAt(std::size_t span, double u) const;
};

// A periodic curve given by count + 1 knots (one period) and count control points is turned
// into the same curve in the form of mmNurbsView: the first degree points again at the end and
// the knots continued periodically. The storage holds the result; other definitions are left as
// they are (the view refers to the caller's arrays).
struct mmNurbsStorage {
    std::vector<mmVertex> points;
    std::vector<double> weights;
    std::vector<double> knots;
};
mmNurbsView PeriodicAsNurbs(const mmNurbsView& periodic, mmNurbsStorage& storage);

// Points of the curve from its start to its end, within tolerance of it (in the units of the
// points): each knot span is cut into enough pieces for its control polygon's bulge. At most
// maxPoints points are emitted (the pieces per span shrink to fit).
void SampleNurbs(const mmNurbsView& curve, double tolerance, std::size_t maxPoints,
                 const std::function<void(double x, double y)>& emit);
