// What the DXF reader and the DWG import make of entities given in the coordinates of their plane
// (mmOcs): circles, arcs, ellipses, polylines, texts and references as the plan shows them.
#pragma once

#include <memory>
#include <vector>

#include "entities/Object.h"
#include "fileio/Ocs.h"
#include "fileio/dxf/DxfEntityRecords.h"

class mmEllipse;
class mmPolyline;
class mmText;

struct mmPoint3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

// A paper-space viewport of its centre, size and view (the model window it shows, as high as the
// view and as wide as the viewport's shape makes it); null without a size.
mmObjectPtr ViewportOfRecord(const DxfViewportRecord& record);

// A circle of the plane: a circle of the plan, or an ellipse when the plane is tilted.
mmObjectPtr CircleInPlan(const mmOcs& ocs, const mmPoint3& centre, double radius);
// An arc of the plane (degrees, counter-clockwise in the plane): an arc of the plan, or an
// elliptic arc when the plane is tilted.
mmObjectPtr ArcInPlan(const mmOcs& ocs, const mmPoint3& centre, double radius, double start,
                      double end);
// An ELLIPSE: centre and the end of the major axis (from the centre) in world coordinates, the
// normal of its plane (which turns the minor axis), the ratio and the parameters (radians).
std::shared_ptr<mmEllipse> EllipseInPlan(const mmPoint3& centre, const mmPoint3& major,
                                         const mmPoint3& normal, double ratio, double start,
                                         double end);
// The polyline's vertices, given in the plane at the elevation, moved into the plan; its arcs
// turn the other way when the plane is seen from its back.
void PlacePolyline(const mmOcs& ocs, double elevation, mmPolyline& polyline);
// A text's points (given in the plane at the elevation) and its rotation, in the plan.
void PlaceText(const mmOcs& ocs, double elevation, mmText& text);

// The edges of a hatch path, given in the hatch's plane, moved into the plan; true when an arc
// edge had to be kept circular in a tilted plane.
bool PlaceHatchEdges(const mmOcs& ocs, std::vector<DxfHatchEdge>& edges);
// A hatch's pattern lines, given in its plane, moved into the plan (their dashes keep their
// lengths, exact in the plan's own and mirrored planes only).
void PlaceHatchPattern(const mmOcs& ocs, std::vector<mmHatchPatternLine>& lines);

// A reference placed in a plane: where it lands in the plan, turned and (seen from the plane's
// back) mirrored.
struct mmInsertPlacement {
    double x = 0.0, y = 0.0;
    double rotation = 0.0;  // degrees
    double scaleX = 1.0, scaleY = 1.0;
};
mmInsertPlacement PlaceInsert(const mmOcs& ocs, const mmPoint3& at, double rotation,
                              double scaleX, double scaleY);

// The entity of that type, read in that plane, can only be shown approximately: texts of any
// plane but the plan (their glyphs are not mirrored or slanted), and references, polylines with
// arcs and hatches with arcs of tilted planes. curved: the entity has arcs.
bool ShownApproximately(const mmOcs& ocs, int32_t type, bool curved);
