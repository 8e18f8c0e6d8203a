// mmSolid: the filled triangle or quadrilateral of a SOLID or TRACE. Points 0 to 3 are the corners
// in the file's order: the fill is the triangles (0, 1, 2) and (1, 2, 3), so the outline runs 0,
// 1, 3, 2 and a triangle repeats its third corner. Grips: the corners.
#pragma once

#include "entities/Object.h"

class mmSolid : public mmObject {
public:
    bool trace = false;  // read from a TRACE

    mmSolid() { type = kTypeSolid; }

    // Four corners, in the file's order (a triangle gives its third corner twice).
    void SetCorners(const mmVertex corners[4]);

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override { GripsAtPoints(); }
    void UpdateExtents() override { UpdateExtentsFromPoints(); }
    void CopyFrom(const mmObject& from) override;

    // The point (display coordinates, shifted as the entity) lies in the fill.
    bool Covers(double x, double y, const mmShift& shift) const;
};

// The corners of a triangle or quadrilateral as the closed outline 0, 1, 3, 2, 0 (out: 5 points).
void SolidOutline(const std::vector<mmVertex>& corners, mmVertex out[5]);
