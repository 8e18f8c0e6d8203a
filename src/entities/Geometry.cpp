// 2D geometry functions and the kept-matrix projection.
#include "entities/Geometry.h"

#include <algorithm>
#include <cmath>

namespace {

void multiplyMatrixVector(const double m[16], const double in[4], double out[4]) {
    for (int i = 0; i < 4; ++i)
        out[i] = m[i] * in[0] + m[4 + i] * in[1] + m[8 + i] * in[2] + m[12 + i] * in[3];
}

void multiplyMatrices(const double a[16], const double b[16], double out[16]) {
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k) s += a[k * 4 + row] * b[col * 4 + k];
            out[col * 4 + row] = s;
        }
}

// General 4x4 inverse (cofactors); false when singular.
bool invertMatrix(const double m[16], double inv[16]) {
    double t[16];
    t[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
           m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    t[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
           m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    t[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
           m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    t[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
            m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    t[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
           m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    t[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
           m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    t[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
           m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    t[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
            m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    t[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] +
           m[5] * m[3] * m[14] + m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    t[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
           m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    t[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
            m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    t[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
            m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    t[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
           m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    t[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] +
           m[4] * m[3] * m[10] + m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    t[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] -
            m[4] * m[3] * m[9] - m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    t[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] +
            m[4] * m[2] * m[9] + m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double det = m[0] * t[0] + m[1] * t[4] + m[2] * t[8] + m[3] * t[12];
    if (det == 0.0) return false;
    for (int i = 0; i < 16; ++i) inv[i] = t[i] / det;
    return true;
}

// Window coordinates (y up) of a drawing point, as gluProject computes them.
bool projectToWindow(double x, double y, const mmViewMatrices& m, double& wx, double& wy) {
    const double in[4] = {x, y, 0.0, 1.0};
    double eye[4];
    double clip[4];
    multiplyMatrixVector(m.modelview, in, eye);
    multiplyMatrixVector(m.projection, eye, clip);
    if (clip[3] == 0.0) return false;
    const double nx = clip[0] / clip[3];
    const double ny = clip[1] / clip[3];
    wx = m.viewport[0] + (1.0 + nx) * m.viewport[2] / 2.0;
    wy = m.viewport[1] + (1.0 + ny) * m.viewport[3] / 2.0;
    return true;
}

}  // namespace

void mmViewMatrices::SetOrtho(double left, double right, double bottom, double top) {
    const double nearZ = -1.0;
    const double farZ = 1.0;
    for (double& v : projection) v = 0.0;
    projection[0] = 2.0 / (right - left);
    projection[5] = 2.0 / (top - bottom);
    projection[10] = -2.0 / (farZ - nearZ);
    projection[12] = -(right + left) / (right - left);
    projection[13] = -(top + bottom) / (top - bottom);
    projection[14] = -(farZ + nearZ) / (farZ - nearZ);
    projection[15] = 1.0;
}

void mmViewMatrices::LoadIdentityModelview() {
    for (int i = 0; i < 16; ++i) modelview[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

void mmViewMatrices::Translate(double x, double y) {
    const double t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, 0, 1};
    double out[16];
    multiplyMatrices(modelview, t, out);
    std::copy(out, out + 16, modelview);
}

void mmViewMatrices::Scale(double sx, double sy) {
    const double s[16] = {sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double out[16];
    multiplyMatrices(modelview, s, out);
    std::copy(out, out + 16, modelview);
}

namespace {

// Window pixels (y down) rounded half away from zero, still in double precision.
bool roundedPixels(double x, double y, const mmViewMatrices& m, double& px, double& py) {
    double wx = 0.0;
    double wy = 0.0;
    if (!projectToWindow(x, y, m, wx, wy)) return false;
    px = std::round(wx);
    py = std::round(m.viewport[3] - wy);
    return true;
}

// Far beyond any window, and far enough from the int limits that differences do not overflow.
int clampedPixel(double p) {
    constexpr double kFar = 1 << 30;
    if (std::isnan(p)) return static_cast<int>(kFar);
    return static_cast<int>(std::clamp(p, -kFar, kFar));
}

}  // namespace

bool worldToScreen(double x, double y, const mmViewMatrices& m, int& px, int& py) {
    double wx = 0.0;
    double wy = 0.0;
    if (!roundedPixels(x, y, m, wx, wy)) return false;
    px = clampedPixel(wx);
    py = clampedPixel(wy);
    return true;
}

// Not through int: a point far outside the window keeps its direction from the cursor.
Vector3D projectToPixels(double x, double y, const mmViewMatrices& m) {
    double px = 0.0;
    double py = 0.0;
    if (!roundedPixels(x, y, m, px, py)) return Vector3D();
    return Vector3D(static_cast<float>(px), static_cast<float>(py));
}

bool screenToWorld(double px, double py, const mmViewMatrices& m, double& x, double& y) {
    double pm[16];
    double inv[16];
    multiplyMatrices(m.projection, m.modelview, pm);
    if (!invertMatrix(pm, inv)) return false;
    const double wy = m.viewport[3] - py;
    const double in[4] = {2.0 * (px - m.viewport[0]) / m.viewport[2] - 1.0,
                          2.0 * (wy - m.viewport[1]) / m.viewport[3] - 1.0, 1.0, 1.0};
    double out[4];
    multiplyMatrixVector(inv, in, out);
    if (out[3] == 0.0) return false;
    x = out[0] / out[3];
    y = out[1] / out[3];
    return true;
}

mmRect screenRectToWorld(int px1, int py1, int px2, int py2, const mmViewMatrices& m) {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    screenToWorld(px1, py1, m, x1, y1);
    screenToWorld(px2, py2, m, x2, y2);
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

float pointDistance(const Vector3D& a, const Vector3D& b) { return (a - b).Length(); }

Vector3D closestPointOnSegment(const Vector3D& p, const Vector3D& a, const Vector3D& b) {
    const Vector3D ab = b - a;
    const float len2 = ab.x * ab.x + ab.y * ab.y + ab.z * ab.z;
    if (len2 <= 0.0f) return a;  // a degenerate segment is its end point
    const Vector3D ap = p - a;
    const float t = (ap.x * ab.x + ap.y * ab.y + ap.z * ab.z) / len2;
    if (t <= 0.0f) return a;
    if (t >= 1.0f) return b;
    return a + ab * t;
}

float pointSegmentDistance(const Vector3D& p, const Vector3D& a, const Vector3D& b) {
    return pointDistance(p, closestPointOnSegment(p, a, b));
}

double pointCircleDistance(double px, double py, double cx, double cy, double r, double* nearestX,
                           double* nearestY) {
    const double dx = px - cx;
    const double dy = py - cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (nearestX && nearestY) {
        if (d > 0.0) {
            *nearestX = cx + dx / d * r;
            *nearestY = cy + dy / d * r;
        } else {
            *nearestX = cx + r;
            *nearestY = cy;
        }
    }
    return std::fabs(d - r);
}

bool pointInExpandedRect(double x, double y, double tol, const mmRect& r) {
    return r.minX - tol < x && x < r.maxX + tol && r.minY - tol < y && y < r.maxY + tol;
}

bool rectInsideRect(const mmRect& outer, const mmRect& inner) {
    return inner.minX > outer.minX && inner.maxX < outer.maxX && inner.minY > outer.minY &&
           inner.maxY < outer.maxY;
}

bool segmentCrossesRect(const mmVertex& a, const mmVertex& b, const mmRect& r) {
    const float loX = static_cast<float>(std::min(a.x, b.x));
    const float hiX = static_cast<float>(std::max(a.x, b.x));
    const float loY = static_cast<float>(std::min(a.y, b.y));
    const float hiY = static_cast<float>(std::max(a.y, b.y));
    if (hiX < r.minX || loX > r.maxX) return false;
    if (hiY < r.minY || loY > r.maxY) return false;
    if (a.x == b.x) return true;
    const double slope = (b.y - a.y) / (b.x - a.x);
    const double yAtMin = a.y + (r.minX - a.x) * slope;
    const double yAtMax = a.y + (r.maxX - a.x) * slope;
    if (yAtMin < r.minY && yAtMax < r.minY) return false;
    if (yAtMin > r.maxY && yAtMax > r.maxY) return false;
    return true;
}

bool segmentIntersection(const mmVertex& p1, const mmVertex& p2, const mmVertex& p3,
                         const mmVertex& p4, mmVertex& point) {
    const double x21 = p2.x - p1.x, y21 = p2.y - p1.y;
    const double x43 = p4.x - p3.x, y43 = p4.y - p3.y;
    const double x13 = p1.x - p3.x, y13 = p1.y - p3.y;
    const double d = x21 * y43 - y21 * x43;
    if (d == 0.0) return false;  // parallel segments never intersect
    const float u = static_cast<float>((x21 * y13 - y21 * x13) / d);
    const float s = static_cast<float>((x43 * y13 - y43 * x13) / d);
    if (!(u >= 0.0f && u <= 1.0f) || !(s >= 0.0f && s <= 1.0f)) return false;
    point = mmVertex(p1.x + s * x21, p1.y + s * y21);
    return true;
}

// The outline touches the rectangle exactly when the radius lies between the distances from the
// centre to the rectangle's nearest point and to its farthest corner.
bool circleCrossesRect(double cx, double cy, double r, const mmRect& rect) {
    const double nearX = std::max(rect.minX - cx, std::max(0.0, cx - rect.maxX));
    const double nearY = std::max(rect.minY - cy, std::max(0.0, cy - rect.maxY));
    const double farX = std::max(std::fabs(cx - rect.minX), std::fabs(cx - rect.maxX));
    const double farY = std::max(std::fabs(cy - rect.minY), std::fabs(cy - rect.maxY));
    return std::hypot(nearX, nearY) <= r && r <= std::hypot(farX, farY);
}

bool circleVerticalLineHits(double r, double cx, double cy, double x, double& y1, double& y2) {
    const double q = r * r - (cx - x) * (cx - x);
    if (q < 0.0) return false;
    const double s = std::sqrt(q);
    y1 = cy - s;
    y2 = cy + s;
    return true;
}

bool circleHorizontalLineHits(double r, double cx, double cy, double y, double& x1, double& x2) {
    const double q = r * r - (cy - y) * (cy - y);
    if (q < 0.0) return false;
    const double s = std::sqrt(q);
    x1 = cx - s;
    x2 = cx + s;
    return true;
}

bool angleInArc(double px, double py, double cx, double cy, double startDeg, double endDeg) {
    if (!std::isfinite(startDeg) || !std::isfinite(endDeg)) return false;
    // The arc runs counter-clockwise from start to end: raise the end above the start and bring
    // the point's angle into (start, start + 360].
    double end = endDeg;
    if (end <= startDeg) end += 360.0 * std::ceil((startDeg - end) / 360.0 + 1e-12);
    double a = std::atan2(py - cy, px - cx) * kRadToDeg;
    a += 360.0 * std::ceil((startDeg - a) / 360.0);
    if (a <= startDeg) a += 360.0;
    return startDeg < a && a < end;
}

bool arcCrossesRect(double cx, double cy, double r, double startDeg, double endDeg,
                    const mmRect& rect) {
    if (!circleCrossesRect(cx, cy, r, rect)) return false;
    double h1 = 0.0, h2 = 0.0;
    for (double x : {rect.minX, rect.maxX}) {
        if (!circleVerticalLineHits(r, cx, cy, x, h1, h2)) continue;
        for (double y : {h1, h2})
            if (y > rect.minY && y < rect.maxY && angleInArc(x, y, cx, cy, startDeg, endDeg))
                return true;
    }
    for (double y : {rect.minY, rect.maxY}) {
        if (!circleHorizontalLineHits(r, cx, cy, y, h1, h2)) continue;
        for (double x : {h1, h2})
            if (x > rect.minX && x < rect.maxX && angleInArc(x, y, cx, cy, startDeg, endDeg))
                return true;
    }
    return false;
}

bool pointStripHit(const std::vector<mmVertex>& points, int cx, int cy, const mmViewMatrices& m,
                   const mmShift& shift) {
    const Vector3D cursor(static_cast<float>(cx), static_cast<float>(cy));
    const double sx = shift.cullX();
    const double sy = shift.cullY();
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Vector3D a = projectToPixels(points[i - 1].x + sx, points[i - 1].y + sy, m);
        const Vector3D b = projectToPixels(points[i].x + sx, points[i].y + sy, m);
        if (pointSegmentDistance(cursor, a, b) < kPickPixels) return true;
    }
    return false;
}

bool pointStripCrossesRect(const std::vector<mmVertex>& points, const mmRect& rect,
                           const mmShift& shift) {
    const double sx = shift.cullX();
    const double sy = shift.cullY();
    for (std::size_t i = 1; i < points.size(); ++i)
        if (segmentCrossesRect(mmVertex(points[i - 1].x + sx, points[i - 1].y + sy),
                               mmVertex(points[i].x + sx, points[i].y + sy), rect))
            return true;
    return false;
}
