// DXF 2000 ellipses, solids and traces, 3D faces, construction lines and rays, leaders, and the
// attributes of block references.
#include <algorithm>

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Ellipse.h"
#include "entities/Face3d.h"
#include "entities/Leader.h"
#include "entities/Solid.h"
#include "entities/XLine.h"
#include "fileio/dxf/Dxf2000EntityWriter.h"
#include "fileio/dxf/Dxf2000Plan.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

enum LeaderForm { kStraightPath = 0, kSplinePath = 1, kNoAnnotation = 3 };

mmVertex cornerAt(const mmObject& e, std::size_t i) {
    if (e.points.empty()) return mmVertex();
    return e.points[std::min(i, e.points.size() - 1)];
}

}  // namespace

bool Dxf2000EntityWriter::writeEllipse(const mmEllipse& e) {
    if (!w_.beginEntity("ELLIPSE")) return false;
    w_.writeGroupString(100, "AcDbEllipse");
    point(10, cornerAt(e, 0));
    w_.writeGroupReal(11, e.majorX);
    w_.writeGroupReal(21, e.majorY);
    w_.writeGroupReal(31, 0.0);
    w_.writeGroupReal(40, e.ratio);
    w_.writeGroupReal(41, e.startParam);
    w_.writeGroupReal(42, e.endParam);
    return true;
}

// The corners in the file's order (a triangle repeats its third).
bool Dxf2000EntityWriter::writeSolid(const mmSolid& s) {
    if (!w_.beginEntity(s.trace ? "TRACE" : "SOLID")) return false;
    w_.writeGroupString(100, "AcDbTrace");
    for (int i = 0; i < 4; ++i) point(10 + i, cornerAt(s, static_cast<std::size_t>(i)));
    return true;
}

bool Dxf2000EntityWriter::write3dFace(const mm3dFace& f) {
    if (!w_.beginEntity("3DFACE")) return false;
    w_.writeGroupString(100, "AcDbFace");
    for (int i = 0; i < 4; ++i) point(10 + i, cornerAt(f, static_cast<std::size_t>(i)));
    if (f.invisibleEdges != 0) w_.writeGroupInt(70, f.invisibleEdges);
    return true;
}

bool Dxf2000EntityWriter::writeXLine(const mmXLine& x) {
    if (!w_.beginEntity(x.ray ? "RAY" : "XLINE")) return false;
    w_.writeGroupString(100, x.ray ? "AcDbRay" : "AcDbXline");
    point(10, cornerAt(x, 0));
    w_.writeGroupReal(11, x.dirX);
    w_.writeGroupReal(21, x.dirY);
    w_.writeGroupReal(31, 0.0);
    return true;
}

// The style by name; an arrow size other than the style's goes as the leader's own override of
// it (extended data DSTYLE, as other programs write it).
bool Dxf2000EntityWriter::writeLeader(const mmLeader& l) {
    if (!w_.beginEntity("LEADER")) return false;
    const DimStyle* style = FindDimStyle(drawing_, l.dimStyleId);
    w_.writeGroupString(100, "AcDbLeader");
    w_.writeGroupText(3, style ? std::u16string_view(style->name) : kStandardDimStyleName);
    w_.writeGroupInt(71, l.arrowhead ? 1 : 0);
    w_.writeGroupInt(72, l.splinePath ? kSplinePath : kStraightPath);
    w_.writeGroupInt(73, kNoAnnotation);
    w_.writeGroupInt(74, 0);
    w_.writeGroupInt(75, 0);
    w_.writeGroupInt(76, static_cast<int64_t>(l.points.size()));
    for (const mmVertex& p : l.points) point(10, p);
    if (style && style->arrowSize == l.arrowSize) return true;
    w_.writeGroupString(1001, "ACAD");
    w_.writeGroupString(1000, "DSTYLE");
    w_.writeGroupString(1002, "{");
    w_.writeGroupInt(1070, 41);
    w_.writeGroupReal(1040, l.arrowSize);
    w_.writeGroupString(1002, "}");
    return true;
}

// Attributes are kept relative to the insertion point: written, they are placed by it.
bool Dxf2000EntityWriter::writeAttributes(const mmBlockRef& r, uint64_t owner) {
    const mmVertex saved = offset_;
    const uint64_t container = w_.owner();
    const mmVertex at = cornerAt(r, 0);
    offset_ = mmVertex(saved.x + at.x, saved.y + at.y);
    w_.setOwner(owner);
    for (const mmObjectPtr& c : r.children) {
        if (!IsOwnAttribute(c)) continue;
        setProperties(*c);
        writeAttribute(static_cast<const mmAttribute&>(*c));
    }
    offset_ = saved;
    w_.setOwner(container);
    setProperties(r);
    return w_.beginSubEntity("SEQEND", owner);
}
