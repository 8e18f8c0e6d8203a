// DXF 2000 polylines: LWPOLYLINE for the polylines drawn or read as light-weight ones, POLYLINE
// with its VERTEX and SEQEND entities (on the polyline's layer) for those read from a POLYLINE;
// both with their closed flag, bulges and widths.
#include "entities/Polyline.h"
#include "fileio/dxf/Dxf2000EntityWriter.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

enum PolylineFlags { kClosed = 1 };

bool anyBulge(const mmPolyline& p) {
    for (const double b : p.bulges)
        if (b != 0.0) return true;
    return false;
}

// Widths of every vertex are written when the polyline has them for each vertex.
bool vertexWidths(const mmPolyline& p) {
    return !p.widths.empty() && p.widths.size() == p.points.size();
}

}  // namespace

bool Dxf2000EntityWriter::writePolyline(const mmPolyline& p) {
    return p.lightweight ? writeLightweight(p) : writeHeavy(p);
}

bool Dxf2000EntityWriter::writeLightweight(const mmPolyline& p) {
    if (!w_.beginEntity("LWPOLYLINE")) return false;
    const bool bulged = anyBulge(p);
    const bool widths = vertexWidths(p);
    w_.writeGroupString(100, "AcDbPolyline");
    w_.writeGroupInt(90, static_cast<int64_t>(p.points.size()));
    w_.writeGroupInt(70, p.closed ? kClosed : 0);
    if (!widths) w_.writeGroupReal(43, p.constantWidth);
    for (std::size_t i = 0; i < p.points.size(); ++i) {
        w_.writeGroupReal(10, p.points[i].x + offset_.x);
        w_.writeGroupReal(20, p.points[i].y + offset_.y);
        if (widths) {
            w_.writeGroupReal(40, p.widths[i].start);
            w_.writeGroupReal(41, p.widths[i].end);
        }
        if (bulged) w_.writeGroupReal(42, i < p.bulges.size() ? p.bulges[i] : 0.0);
    }
    return true;
}

bool Dxf2000EntityWriter::writeHeavy(const mmPolyline& p) {
    if (!w_.beginEntity("POLYLINE")) return false;
    const uint64_t owner = w_.entityHandle();
    const bool widths = vertexWidths(p);
    w_.writeGroupString(100, "AcDb2dPolyline");
    w_.writeGroupInt(66, 1);
    w_.writeGroupReal(10, 0.0);
    w_.writeGroupReal(20, 0.0);
    w_.writeGroupReal(30, 0.0);
    w_.writeGroupInt(70, p.closed ? kClosed : 0);
    if (p.constantWidth != 0.0 && !widths) {
        w_.writeGroupReal(40, p.constantWidth);
        w_.writeGroupReal(41, p.constantWidth);
    }
    for (std::size_t i = 0; i < p.points.size(); ++i) {
        w_.beginSubEntity("VERTEX", owner);
        w_.writeGroupString(100, "AcDbVertex");
        w_.writeGroupString(100, "AcDb2dVertex");
        point(10, p.points[i]);
        if (widths) {
            w_.writeGroupReal(40, p.widths[i].start);
            w_.writeGroupReal(41, p.widths[i].end);
        }
        if (i < p.bulges.size() && p.bulges[i] != 0.0) w_.writeGroupReal(42, p.bulges[i]);
    }
    w_.beginSubEntity("SEQEND", owner);
    return true;
}
