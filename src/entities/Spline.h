// mmSpline: a NURBS curve of any degree up to kSplineMaxDegree, with weights and the closed and
// periodic forms, or a cubic through fit points; drawn within half a pixel of the curve in double
// precision. Picked and crossed on its control polygon. Grips equal the control points.
#pragma once

#include <functional>
#include <vector>

#include "entities/Object.h"
#include "entities/SplineCurve.h"

class mmSpline : public mmObject {
public:
    // Bits of flags, as DXF group 70 has them.
    static constexpr int32_t kClosed = 1;
    static constexpr int32_t kPeriodic = 2;
    static constexpr int32_t kRational = 4;
    static constexpr int32_t kPlanar = 8;

    // points are the control points.
    int16_t degree = 3;
    int32_t flags = kPlanar;
    std::vector<double> knots;
    std::vector<double> weights;      // one per control point, or empty (all 1)
    std::vector<mmVertex> fitPoints;  // as given; the control points are worked out from them
    mmVertex startTangent, endTangent;  // of the fit points; (0, 0) when not given

    mmSpline() { type = kTypeSpline; }

    int ControlPointCount() const { return static_cast<int>(points.size()); }
    // The definition gives a curve: knots that fit the control points (count + degree + 1, or
    // count + 1 for a periodic one), finite and not decreasing over a range, positive weights.
    bool IsDrawable() const;
    // The control points, weights and knots of the cubic through the fit points (with the
    // tangents given); false, and nothing changes, when there is no such curve.
    bool ControlFromFitPoints();
    // Points of the curve, start to end, within tolerance; nothing when it is not drawable.
    void SampleCurve(double tolerance, std::size_t maxPoints,
                     const std::function<void(double x, double y)>& emit) const;

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override { UpdateExtentsFromPoints(); }
    void CopyFrom(const mmObject& from) override;

private:
    // The definition as a curve (periodic ones in their open form, kept in storage).
    mmNurbsView Curve(mmNurbsStorage& storage) const;
};
