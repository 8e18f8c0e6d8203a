// mmArc: centre in point 0, radius and angles in degrees, counter-clockwise from start to end.
// Grips: centre, start point, mid point, end point.
#pragma once

#include "entities/Object.h"

class mmArc : public mmObject {
public:
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    // Emission order as a line strip: 1 from the start angle to the end angle, 0 reversed.
    int32_t direction = 1;

    mmArc() { type = kTypeArc; }

    // Gives the arc the four zero points that SetFromBulge and SetThroughThreePoints overwrite.
    void PrepareFourPoints();

    void SetRadius(double r);
    void SetStartAngle(double degrees);
    void SetEndAngle(double degrees);
    void SetStartThrough(double x, double y, double dx, double dy);
    void SetEndThrough(double x, double y, double dx, double dy);
    // Arc through p1, p2 (on the arc) and p3, centre moved by (offsetX, offsetY). Returns false
    // and leaves the arc unchanged when the points are collinear or coincide.
    bool SetThroughThreePoints(const mmVertex& p1, const mmVertex& p2, const mmVertex& p3,
                               double offsetX, double offsetY);
    // Arc of a polyline segment from p1 to p2 with the given bulge (single precision). Returns
    // false and leaves the arc unchanged for a zero bulge or a zero-length chord.
    bool SetFromBulge(double bulge, const mmVertex& p1, const mmVertex& p2);

    // Start and sweep in radians, normalised as for drawing.
    void DrawAngles(double& start, double& sweep) const;

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
