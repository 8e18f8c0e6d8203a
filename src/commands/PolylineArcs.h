// The arcs PLINE appends, as bulges: tangent to the last segment, or through a second point; and
// the direction in which a segment reaches its end.
#pragma once

#include <optional>

#include "entities/Vertex.h"

// The bulge of the arc from a to b that leaves a in the unit direction t. Nothing when b
// coincides with a or lies straight behind it (no circle is tangent there and passes b).
std::optional<double> TangentArcBulge(const mmVertex& t, const mmVertex& a, const mmVertex& b);
// The bulge of the arc from a through m to b. Nothing when the points lie on one line or two of
// them coincide.
std::optional<double> ThreePointArcBulge(const mmVertex& a, const mmVertex& m, const mmVertex& b);
// The unit direction in which the segment from a to b with the bulge arrives at b. Nothing for a
// segment of no length.
std::optional<mmVertex> EndDirection(const mmVertex& a, const mmVertex& b, double bulge);
