// The object snap shared by lines, circles, arcs and polylines: grips first, then the segments
// between consecutive defining points (perpendicular, intersection candidates, nearest).
#pragma once

#include "entities/Vertex.h"

class mmObject;
struct mmSnapInfo;
struct mmViewMatrices;

struct mmSegmentSnapStyle {
    // Polylines accept a grip only inside the view rectangle itself (edges included) and test
    // segment i once, at the vertex grip 2i; lines, circles and arcs use the widened rectangle and
    // segment i at grip i.
    bool polyline = false;
    // Closed polylines: the segment at the last vertex grip joins the last vertex to vertex 0.
    bool closed = false;
    // Grips for which this returns true are skipped (the placeholders of polylines).
    bool (*skipGrip)(const mmObject& entity, int gripIndex) = nullptr;
};

bool SnapGripsAndSegments(mmObject& entity, const mmSegmentSnapStyle& style, int commandId,
                          bool forceGrips, int cx, int cy, const mmRect& view, mmSnapInfo& info,
                          const mmViewMatrices& m, float pixelsPerUnit, const mmShift& shift,
                          bool cull);
