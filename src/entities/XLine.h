// mmXLine: a construction line (XLINE) through point 0 in both directions, or a ray (RAY) from it
// in one, along a unit direction. It is drawn across whatever view shows it and has no extents:
// it never widens the drawing's extents, is never culled, and the spatial index finds it
// everywhere. Grip: point 0.
#pragma once

#include "entities/Object.h"

class mmXLine : public mmObject {
public:
    double dirX = 1.0;
    double dirY = 0.0;
    bool ray = false;

    mmXLine() { type = kTypeXLine; }

    // Stores the direction made unit; a zero or not finite one leaves it as it was.
    void SetDirection(double dx, double dy);
    // The part of the line inside the rectangle (display coordinates, the line at its point 0
    // moved by the shift's culling offset); false when it misses the rectangle.
    bool Clip(const mmRect& rect, const mmShift& shift, mmVertex& a, mmVertex& b) const;

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
              mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
              const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override { GripsAtPoints(); }
    void UpdateExtents() override { SetExtents(EmptyExtents()); }
    void CopyFrom(const mmObject& from) override;
};
