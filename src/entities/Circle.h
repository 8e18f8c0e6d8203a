// mmCircle: centre in point 0 and a radius; grips centre, east, north, west, south.
#pragma once

#include "entities/Object.h"

// Segments of a circle or arc outline: five per pixel of radius, at most 100. May be 0.
int CircleSegmentCount(float pixelsPerUnit, double radius);
// What is actually drawn: a tiny circle still gets a few segments so it shows as a dot.
int DrawnSegmentCount(float pixelsPerUnit, double radius);
inline constexpr int kMinDrawnSegments = 4;

class mmCircle : public mmObject {
public:
    double radius = 0.0;

    mmCircle() { type = kTypeCircle; }

    void SetRadius(double r);
    void SetRadiusThrough(double x, double y, double dx, double dy);

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
              mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
              const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    void CopyFrom(const mmObject& from) override;
};
