// Splines and hatches made from their records, shared by the DXF reader and the DWG import (which
// fills the same records from the decoded drawing).
#pragma once

#include <memory>

#include "fileio/dxf/DxfEntityRecords.h"

class mmHatch;
class mmSpline;

// The definition as read (weights only when there is one per control point); a spline given
// only by fit points gets the control points of the cubic through them. The z values are not
// kept.
std::shared_ptr<mmSpline> splineFromRecord(const DxfSplineRecord& record);

// One loop per path and one boundary entity per edge (elliptic arcs as rational splines), with
// the fill or the pattern as read; null when no path has an edge.
std::shared_ptr<mmHatch> hatchFromRecord(const DxfHatchRecord& record);
