// mmSpline: a cubic NURBS curve drawn by GLU from its knots and control points; picked and
// crossed on its control polygon. Grips equal the control points.
#pragma once

#include <functional>
#include <vector>

#include "entities/Object.h"

class mmSpline : public mmObject {
public:
    static constexpr int kOrder = 4;

    // The control points as GLU takes them: x, y, z (= 0) floats, stride 3. points holds the same
    // in double precision.
    std::vector<float> controlPoints;
    std::vector<float> knots;

    mmSpline() { type = kTypeSpline; }

    int ControlPointCount() const { return static_cast<int>(controlPoints.size() / 3); }
    // The knots fit the control points (count + 4, finite, not decreasing, a non-empty range),
    // so the curve can be handed to GLU without it reading beyond the arrays.
    bool IsDrawable() const;
    // controlPoints := points (z = 0).
    void SyncControlPoints();

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override { UpdateExtentsFromPoints(); }
    void CopyFrom(const mmObject& from) override;
};

// Points of the non-rational B-spline of the given order (knotCount - order control points of
// `stride` floats), samplesPerSpan per knot span, from the start of the curve to its end. Used
// where GLU's renderer cannot run: inside a primitive the caller has opened.
void EvaluateSplineCurve(int knotCount, const float* knots, int stride, const float* controlPoints,
                         int order, int samplesPerSpan,
                         const std::function<void(double x, double y)>& emit);
