// 2D geometry shared by entities and interactive code: projection between drawing and window,
// distances, intersections and rectangle tests. Window pixels have y pointing down.
#pragma once

#include <vector>

#include "entities/Vector3D.h"
#include "entities/Vertex.h"
#include "entities/ViewMatrices.h"

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kDegToRad = kPi / 180.0;
inline constexpr double kRadToDeg = 180.0 / kPi;

// Screen tolerances in pixels.
inline constexpr int kPickPixels = 5;
inline constexpr int kSnapPixels = 15;

// Projects (x, y, 0); px, py are window pixels rounded half away from zero, y down, held to
// +-2^30 for points far outside the window. Returns false (and leaves px, py unchanged) if the
// projection is degenerate.
bool worldToScreen(double x, double y, const mmViewMatrices& m, int& px, int& py);
// Unprojects the window pixel at depth 1.
bool screenToWorld(double px, double py, const mmViewMatrices& m, double& x, double& y);
// Both corners through screenToWorld, ordered into a rectangle.
mmRect screenRectToWorld(int px1, int py1, int px2, int py2, const mmViewMatrices& m);

// Projection of a point as a single-precision pixel vector (rounded, not held to the int range).
Vector3D projectToPixels(double x, double y, const mmViewMatrices& m);

float pointDistance(const Vector3D& a, const Vector3D& b);
Vector3D closestPointOnSegment(const Vector3D& p, const Vector3D& a, const Vector3D& b);
float pointSegmentDistance(const Vector3D& p, const Vector3D& a, const Vector3D& b);
// |(|p - centre| - r)|; nearest receives the point of the circle towards p when given.
double pointCircleDistance(double px, double py, double cx, double cy, double r,
                           double* nearestX = nullptr, double* nearestY = nullptr);

bool pointInExpandedRect(double x, double y, double tol, const mmRect& rect);
bool rectInsideRect(const mmRect& outer, const mmRect& inner);
bool segmentCrossesRect(const mmVertex& a, const mmVertex& b, const mmRect& rect);
bool segmentIntersection(const mmVertex& p1, const mmVertex& p2, const mmVertex& p3,
                         const mmVertex& p4, mmVertex& point);
bool circleCrossesRect(double cx, double cy, double r, const mmRect& rect);
bool circleVerticalLineHits(double r, double cx, double cy, double x, double& y1, double& y2);
bool circleHorizontalLineHits(double r, double cx, double cy, double y, double& x1, double& x2);
bool angleInArc(double px, double py, double cx, double cy, double startDeg, double endDeg);
bool arcCrossesRect(double cx, double cy, double r, double startDeg, double endDeg,
                    const mmRect& rect);

// The open line through points, each handled at its display position (shift): the window pixel
// (cx, cy) lies less than kPickPixels from a segment, and a segment crosses the rectangle.
bool pointStripHit(const std::vector<mmVertex>& points, int cx, int cy, const mmViewMatrices& m,
                   const mmShift& shift);
bool pointStripCrossesRect(const std::vector<mmVertex>& points, const mmRect& rect,
                           const mmShift& shift);
