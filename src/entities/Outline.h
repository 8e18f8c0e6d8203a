// Geometry shared by entities drawn as chains of points (ellipses, leaders, the edges of 3D faces
// and solids): emitting, picking and the crossing test of the segments between consecutive
// points, which are stored coordinates handled at the display position of a shift.
#pragma once

#include <cstddef>

#include "entities/Vertex.h"

class mmDrawContext;
struct mmViewMatrices;

// The points as one strip of the primitive, or only their vertices when the caller has opened a
// primitive (kPrimitiveAlreadyOpen); emitted at (x - dx2, y - dy2).
void EmitChain(mmDrawContext& dc, const mmVertex* points, std::size_t n, int primitive,
               const mmShift& shift);
// The cursor is within the pick distance of a segment.
bool ChainHit(const mmVertex* points, std::size_t n, int cx, int cy, const mmViewMatrices& m,
              const mmShift& shift);
// A segment touches or crosses the rectangle (display coordinates).
bool ChainCrossesRect(const mmVertex* points, std::size_t n, const mmRect& rect,
                      const mmShift& shift);
// The point (display coordinates) lies inside the closed polygon of the points (even-odd rule).
bool PolygonContains(const mmVertex* points, std::size_t n, double x, double y,
                     const mmShift& shift);
