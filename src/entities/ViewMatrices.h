// The matrices a view computes and keeps: every conversion between drawing and window uses these,
// never the current OpenGL state.
#pragma once

struct mmViewMatrices {
    // Column-major, as OpenGL takes them.
    double modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    int viewport[4] = {0, 0, 1, 1};  // x, y, width, height

    // An orthographic projection of the rectangle (left, right, bottom, top) with near -1, far 1.
    void SetOrtho(double left, double right, double bottom, double top);
    // modelview := modelview * translate(x, y) / scale(sx, sy), as glTranslated / glScaled do.
    void Translate(double x, double y);
    void Scale(double sx, double sy);
    void LoadIdentityModelview();
};
