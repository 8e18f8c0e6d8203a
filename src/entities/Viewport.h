// mmViewport: a rectangular window of a paper-space layout onto the model. Its points are the
// four corners in paper millimetres; the model window is the model area (drawing coordinates) it
// showed when last drawn or saved, and the view slot the index of its zoom and pan in the
// layout's view.
#pragma once

#include "entities/Object.h"

class mmViewport : public mmObject {
public:
    mmViewport() { type = kTypeViewport; }

    mmRect modelWindow = EmptyExtents();
    int32_t viewSlot = -1;

    // The four corners (minX, minY), (maxX, minY), (maxX, maxY), (minX, maxY) of a rectangle with
    // these two opposite corners, with their grips and extents. The new-viewport properties:
    // layer 0, white (drawn black), shown, width 1 by layer.
    void SetRectangle(double x1, double y1, double x2, double y2);
    void SetNewViewportProperties();

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override { UpdateExtentsFromPoints(); }
    void CopyFrom(const mmObject& from) override;
};

using mmViewportPtr = std::shared_ptr<mmViewport>;
