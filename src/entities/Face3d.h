// mm3dFace: a 3D face seen from above. Points 0 to 3 are its corners (a triangle repeats its
// third); it is drawn as the edges 0-1, 1-2, 2-3 and 3-0 that are not marked invisible. Grips:
// the corners.
#pragma once

#include "entities/Object.h"

class mm3dFace : public mmObject {
public:
    // As DXF group 70: bit 1 hides edge 0-1, 2 edge 1-2, 4 edge 2-3, 8 edge 3-0.
    int16_t invisibleEdges = 0;

    mm3dFace() { type = kType3dFace; }

    bool EdgeVisible(int edge) const { return (invisibleEdges & (1 << edge)) == 0; }

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override { GripsAtPoints(); }
    void UpdateExtents() override { UpdateExtentsFromPoints(); }
    void CopyFrom(const mmObject& from) override;
};
