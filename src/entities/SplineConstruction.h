// NURBS definitions made from other descriptions: a cubic through fit points, as drafting
// programs interpolate them, and an elliptic arc as an exact rational quadratic.
#pragma once

#include <span>
#include <vector>

#include "entities/Vertex.h"

struct mmNurbsDefinition {
    int degree = 3;
    std::vector<mmVertex> points;
    std::vector<double> weights;  // empty: all 1
    std::vector<double> knots;
};

// The cubic through the fit points (repeats dropped) with chord-length parameters, whose end
// derivatives have the direction of the given tangents and the length of the fit polygon; at an
// end without a tangent (null or zero) the curve has no curvature. False for fewer than two
// distinct points or a system that cannot be solved.
bool InterpolateFitPoints(std::span<const mmVertex> fitPoints, const mmVertex* startTangent,
                          const mmVertex* endTangent, mmNurbsDefinition& out);

// The arc of the ellipse centre + a cos t + b sin t from parameter t0 to t1 (radians, t1 > t0,
// at most a full turn), where a is the major axis and b the major axis turned a quarter turn
// counter-clockwise and scaled by ratio. Reversed, it runs from t1 to t0.
mmNurbsDefinition EllipticArcAsNurbs(const mmVertex& centre, const mmVertex& majorAxis,
                                     double ratio, double t0, double t1, bool reversed);
