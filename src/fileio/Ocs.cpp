// The arbitrary axis rule of DXF, projected onto the plan.
#include "fileio/Ocs.h"

#include <cmath>

#include "entities/Geometry.h"

mmOcs::mmOcs(double nx, double ny, double nz) {
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0.0) || !std::isfinite(length)) return;
    nx /= length;
    ny /= length;
    nz /= length;
    // Directions this close to the z axis are taken as it: files write 0.9999999999999998.
    constexpr double kOnAxis = 1e-10;
    if (std::fabs(nx) < kOnAxis && std::fabs(ny) < kOnAxis) {
        if (nz < 0.0) {
            identity_ = false;
            mirrored_ = true;
            ax_ = -1.0;
        }
        return;
    }
    identity_ = false;
    // The plane's x axis: the world y (near the poles) or z axis crossed with the normal.
    constexpr double kPole = 1.0 / 64.0;
    double x[3];
    if (std::fabs(nx) < kPole && std::fabs(ny) < kPole) {
        x[0] = nz;
        x[1] = 0.0;
        x[2] = -nx;
    } else {
        x[0] = -ny;
        x[1] = nx;
        x[2] = 0.0;
    }
    const double xl = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
    for (double& c : x) c /= xl;
    // y = normal x x.
    const double y[3] = {ny * x[2] - nz * x[1], nz * x[0] - nx * x[2], nx * x[1] - ny * x[0]};
    ax_ = x[0];
    ay_ = x[1];
    bx_ = y[0];
    by_ = y[1];
    zx_ = nx;
    zy_ = ny;
}

double mmOcs::Angle(double degrees) const {
    if (identity_) return degrees;
    if (mirrored_) return 180.0 - degrees;
    const mmVertex d = Vector(std::cos(degrees * kDegToRad), std::sin(degrees * kDegToRad));
    return std::atan2(d.y, d.x) * kRadToDeg;
}
