// mmEllipse: an ellipse or elliptic arc. Point 0 is the centre; the major axis is a vector from the
// centre, the minor axis that vector turned counter-clockwise and scaled by the ratio. The point
// of parameter t is centre + major cos t + minor sin t; the arc runs counter-clockwise from
// startParam to endParam (radians), a whole ellipse from 0 to 2 pi. Grips: the centre and the four
// axis ends of a whole ellipse; the centre, start, middle and end of an arc.
#pragma once

#include <vector>

#include "entities/Object.h"

class mmEllipse : public mmObject {
public:
    double majorX = 1.0;
    double majorY = 0.0;
    double ratio = 1.0;  // minor / major, 0 to 1
    double startParam = 0.0;
    double endParam = 0.0;  // set to 2 pi by the constructor

    mmEllipse();

    // Centre c and any two conjugate half diameters a and b (the image of a circle's two radii
    // under an affine map): the points c + a cos t + b sin t for t from t0 to t1 counter-clockwise
    // become this ellipse in the form above. A sweep of 0 or a whole turn is a whole ellipse.
    void SetConjugate(double cx, double cy, double ax, double ay, double bx, double by, double t0,
                      double t1);
    // Maps the ellipse by x' = a x + b y + tx, y' = c x + d y + ty (any affine map, mirrors too).
    void Map(double a, double b, double c, double d, double tx, double ty);

    bool IsWhole() const;
    double Sweep() const { return endParam - startParam; }
    // The point of parameter t, in stored coordinates.
    mmVertex PointAt(double t) const;

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    void CopyFrom(const mmObject& from) override;

    // The outline as points in stored coordinates: segments of at most a third of a pixel's
    // error at the scale (a fixed fine division when the scale is 0).
    void Outline(float pixelsPerUnit, std::vector<mmVertex>& out) const;

private:
    void SetParams(double t0, double t1);
};
