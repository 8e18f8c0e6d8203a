// A view for tests: a window of w x h pixels showing drawing units at ppu pixels per unit, with
// the drawing origin at window pixel (originPx, originPy) measured from the top-left corner.
#pragma once

#include "entities/Geometry.h"
#include "entities/ViewMatrices.h"

struct TestView {
    int width = 400;
    int height = 300;
    double ppu = 1.0;
    double originPx = 0.0;
    double originPy = 300.0;
    mmViewMatrices m;

    TestView(int w, int h, double pixelsPerUnit, double ox, double oy)
        : width(w), height(h), ppu(pixelsPerUnit), originPx(ox), originPy(oy) {
        m.viewport[0] = 0;
        m.viewport[1] = 0;
        m.viewport[2] = w;
        m.viewport[3] = h;
        m.SetOrtho(0, w, 0, h);
        m.LoadIdentityModelview();
        m.Translate(ox, h - oy);
        m.Scale(pixelsPerUnit, pixelsPerUnit);
    }

    // The visible window in drawing units.
    mmRect rect() const { return screenRectToWorld(0, height, width, 0, m); }
    float scale() const { return static_cast<float>(ppu); }

    // Window pixel of a drawing point.
    int px(double x) const { return static_cast<int>(std::lround(originPx + x * ppu)); }
    int py(double y) const { return static_cast<int>(std::lround(originPy - y * ppu)); }
};
