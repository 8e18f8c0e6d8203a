// The parallel copy OFFSET makes of a polyline: every segment moved by a distance to one side,
// the vertices where the moved segments meet, arcs refitted through their moved mid points.
#pragma once

#include "entities/Vertex.h"

class mmPolyline;

// +1 when the point lies left of (or on) the chord of the segment nearest to it, -1 when right;
// the closing segment is not considered. 0 for a polyline of fewer than two vertices.
int OffsetSide(const mmPolyline& source, const mmVertex& sidePoint);

// Gives copy (a copy of source) the vertices and bulges of the source moved by distance to the
// side (+1 left, -1 right of the direction of travel). An end vertex of an open polyline moves
// square to its segment; every other vertex moves along the bisector of the two segments' normals
// to where the two moved segments meet (straight back when the path reverses there). The first
// and last vertex of a closed polyline, and of one whose last vertex lies within 0.01 in x and y
// of its first, are such joints too: between the closing (or the first) segment and its
// neighbour. Segments of no length are passed over when looking for a vertex's neighbours.
void OffsetPolyline(const mmPolyline& source, double distance, int side, mmPolyline& copy);
