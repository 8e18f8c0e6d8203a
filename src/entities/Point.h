// mmPointObj: a point entity drawn as a dot and a small circle (style 0), a dot only (style 2,
// the definition points of dimensions) or the circle only (other styles).
#pragma once

#include "entities/Object.h"

inline constexpr int16_t kPointStyleDotAndCircle = 0;
inline constexpr int16_t kPointStyleDot = 2;
// Radius in pixels of the circle drawn around a point.
inline constexpr int kPointCirclePixels = 4;

class mmPointObj : public mmObject {
public:
    int16_t pointStyle = kPointStyleDotAndCircle;

    mmPointObj() { type = kTypePoint; }

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override { UpdateExtentsFromPoints(); }
    void CopyFrom(const mmObject& from) override;
};
