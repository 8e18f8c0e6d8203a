// What TRIM and EXTEND do to a polyline: its end segments are cut back or lengthened to where
// they meet an edge polyline. Only the first and the last segment are tested.
#pragma once

#include <optional>

#include "entities/Vertex.h"

class mmPolyline;

// The end of a lengthened segment: this many units beyond the end vertex.
inline constexpr double kExtendReach = 9999999.0;

// The point where the first segment of the edge (in its order, the closing one last, arcs as
// their chords) meets the segment from t1 to t2. The test is made in single precision, relative
// to the edge segment's start: parallel lines never meet, and the crossing must lie within the x
// and y ranges of both segments, those of a nearly vertical (horizontal) edge segment widened by
// 0.00001 across it. The point itself is computed in double precision.
std::optional<mmVertex> EdgeCrossing(const mmPolyline& edge, const mmVertex& t1,
                                     const mmVertex& t2);

// The new first and last vertex of a cut polyline.
struct mmPolylineEnds {
    mmVertex first;
    mmVertex last;
};

// TRIM: the first vertex moves to where the first segment meets the edge, the last vertex to
// where the last segment does. A polyline of one segment is cut once: at its end only when its
// start segment meets nothing. Nothing when no vertex would move.
std::optional<mmPolylineEnds> TrimmedEnds(const mmPolyline& target, const mmPolyline& edge);
// EXTEND: the first segment, lengthened beyond its start, moves the first vertex to where it
// meets the edge; the last segment, lengthened beyond its end, moves the last vertex likewise. A
// polyline of one segment is changed once, as for TRIM. Nothing when no vertex would move.
std::optional<mmPolylineEnds> ExtendedEnds(const mmPolyline& target, const mmPolyline& edge);
// Sets the first and last vertex (a polyline of two vertices or more); grips and extents follow.
void MoveEnds(mmPolyline& target, const mmPolylineEnds& ends);
