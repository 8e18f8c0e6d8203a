// The changes extension modules make to objects of the current space. Each change is one undo
// step and asks for a redraw; refused changes record nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "entities/Vertex.h"

class mmSession;
class mmPolyline;

// How many of the objects changed (ids naming no live object, and repeated ids, are passed
// over); nothing for a value that is not finite or a factor that is not positive.
std::optional<int> MoveObjects(mmSession& session, std::span<const int> ids, double dx, double dy);
std::optional<int> RotateObjects(mmSession& session, std::span<const int> ids, double baseX,
                                 double baseY, double degrees);
std::optional<int> ScaleObjects(mmSession& session, std::span<const int> ids, double baseX,
                                double baseY, double factor);

// The live polyline of that id; null when there is none.
mmPolyline* FindPolyline(mmSession& session, int id);
// Vertex index becomes new: the segment before it takes bulgeBefore, the one after bulgeAfter.
bool InsertPolylineVertex(mmSession& session, int id, int index, const mmVertex& at,
                          double bulgeBefore, double bulgeAfter);
// A polyline keeps at least two vertices; the segment that joins the neighbours takes bulge.
bool DeletePolylineVertex(mmSession& session, int id, int index, double bulge);
bool SetPolylineBulge(mmSession& session, int id, int index, double bulge);

// A radius dimension in the current style and layer, added as one undo step; its id.
std::optional<int32_t> AddRadiusDimension(mmSession& session, const mmVertex& centre,
                                          const mmVertex& onCircle, const mmVertex& text);
