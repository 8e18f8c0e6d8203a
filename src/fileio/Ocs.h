// mmOcs: the plane an entity of a DXF or DWG file is drawn in, given by its extrusion direction
// (DXF's arbitrary axis rule), as the drawing's plan shows it: object coordinates (x, y, z) are
// seen from above. The extrusion (0, 0, 1) is the plan itself; (0, 0, -1), the plane of entities
// mirrored in other programs, shows its x axis turned round; any other direction a tilted plane.
#pragma once

#include "entities/Vertex.h"

class mmOcs {
public:
    mmOcs() = default;
    mmOcs(double nx, double ny, double nz);

    bool Identity() const { return identity_; }
    bool Mirrored() const { return mirrored_; }
    // Shapes keep their kind and size (the plan or its mirror).
    bool Exact() const { return identity_ || mirrored_; }
    // The plane is seen from its back: turns run the other way.
    bool Flips() const { return ax_ * by_ - ay_ * bx_ < 0.0; }

    mmVertex Point(double x, double y, double z = 0.0) const {
        return {ax_ * x + bx_ * y + zx_ * z, ay_ * x + by_ * y + zy_ * z};
    }
    mmVertex Vector(double x, double y) const { return {ax_ * x + bx_ * y, ay_ * x + by_ * y}; }
    // The direction of an angle of the plane (degrees), as an angle of the plan.
    double Angle(double degrees) const;

private:
    // Where the plane's x and y axes and its normal go in the plan.
    double ax_ = 1.0, ay_ = 0.0, bx_ = 0.0, by_ = 1.0, zx_ = 0.0, zy_ = 0.0;
    bool identity_ = true;
    bool mirrored_ = false;
};
