// The geometry of polyline segments the module needs: a segment is straight, or the arc of its
// bulge (the tangent of a quarter of its angle, positive counter-clockwise).
#pragma once

#include <vector>

#include "Input.h"

struct Segment {
    Point a, b;
    double bulge = 0.0;
};

// The vertices and bulges of a polyline of the drawing; empty when id is no polyline.
struct Polyline {
    std::vector<Point> vertices;
    std::vector<double> bulges;
    bool closed = false;

    int SegmentCount() const;
    Segment SegmentAt(int i) const;
};
Polyline ReadPolyline(int id);

// The point of the segment nearest to p.
Point NearestOnSegment(const Segment& s, const Point& p);
// The segment nearest to p; -1 when there is none.
int NearestSegment(const Polyline& line, const Point& p);
// The vertex nearest to p; -1 when there is none.
int NearestVertex(const Polyline& line, const Point& p);
// The bulges of the two pieces a point on the segment cuts it into.
void SplitBulge(const Segment& s, const Point& at, double& before, double& after);
// The bulge of the arc from a through p to b; 0 when p lies on the chord between them, nothing
// when there is no such arc (p on the chord's line outside it, or on an end).
bool BulgeThrough(const Point& a, const Point& p, const Point& b, double& bulge);
