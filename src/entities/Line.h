// mmLine: a straight segment from point 0 to point 1; grips start, midpoint, end.
#pragma once

#include "entities/Object.h"

class mmLine : public mmObject {
public:
    mmLine() { type = kTypeLine; }

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
              mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
              const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override { UpdateExtentsFromPoints(); }
};
