// Single-precision vector for screen-space (pixel) arithmetic; z is always 0 in this 2D system.
#pragma once

#include <cmath>

class Vector3D {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3D() = default;
    Vector3D(float x_, float y_, float z_ = 0.0f) : x(x_), y(y_), z(z_) {}
    virtual ~Vector3D() = default;
    Vector3D(const Vector3D&) = default;
    Vector3D& operator=(const Vector3D&) = default;

    Vector3D operator+(const Vector3D& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3D operator-(const Vector3D& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3D operator*(float s) const { return {x * s, y * s, z * s}; }
    Vector3D operator/(float s) const { return {x / s, y / s, z / s}; }

    float Length() const { return std::sqrt(x * x + y * y + z * z); }

    // Unit vector of the same direction; a vector of length 0 or less is returned unchanged.
    Vector3D Normalized() const {
        const float len = Length();
        if (len <= 0.0f) return *this;
        return *this / len;
    }
};
