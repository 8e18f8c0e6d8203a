// mmLeader: a leader line through its vertices (the points), straight or, for a spline path, a
// smooth curve through them, with an arrowhead at vertex 0 when arrowhead is set: a filled
// triangle of the arrow size (its width a third of it) pointing at vertex 0 along the path.
// Grips: the vertices.
#pragma once

#include <vector>

#include "entities/Object.h"

class mmLeader : public mmObject {
public:
    bool arrowhead = true;
    bool splinePath = false;
    double arrowSize = 2.5;  // drawing units
    int32_t dimStyleId = 0;

    mmLeader() { type = kTypeLeader; }

    // The path as drawn (stored coordinates): the vertices, or points along the curve through
    // them.
    void Path(std::vector<mmVertex>& out) const;
    // The arrowhead's three corners (tip first); false when there is none to draw.
    bool Arrow(mmVertex corners[3]) const;

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override { GripsAtPoints(); }
    void UpdateExtents() override;
    void CopyFrom(const mmObject& from) override;
};
