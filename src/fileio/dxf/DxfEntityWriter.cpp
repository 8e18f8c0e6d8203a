// The entity bodies of a DXF save, in the order their groups are written.
#include "fileio/dxf/DxfEntityWriter.h"

#include "drawing/Drawing.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "fileio/dxf/DxfWriter.h"

DxfEntityWriter::DxfEntityWriter(DxfWriter& writer, const mmDrawing& drawing)
    : w_(writer), drawing_(drawing) {}

// A layer id that is not in the table gives an empty layer name.
void DxfEntityWriter::setLayer(int32_t layerId) {
    if (layerSet_ && layerId == layerId_) return;
    const mmLayer* layer = drawing_.FindLayer(layerId);
    w_.setEntityLayer(layer ? std::u16string_view(layer->name) : std::u16string_view());
    layerId_ = layerId;
    layerSet_ = true;
}

bool DxfEntityWriter::writeEntity(const mmObject& e, int32_t paperFlag) {
    setLayer(e.layerId);
    w_.setColorNumber(e.colorIndex);
    w_.setPaperSpace(paperFlag);
    bool written = false;
    switch (e.type) {
        case kTypePoint:
            if (auto* p = dynamic_cast<const mmPointObj*>(&e)) written = writePoint(*p);
            break;
        case kTypeLine:
            if (auto* l = dynamic_cast<const mmLine*>(&e)) written = writeLine(*l);
            break;
        case kTypeCircle:
            if (auto* c = dynamic_cast<const mmCircle*>(&e)) written = writeCircle(*c);
            break;
        case kTypeArc:
            if (auto* a = dynamic_cast<const mmArc*>(&e)) written = writeArc(*a);
            break;
        // POLYLINE, SPLINE, INSERT, HATCH, TEXT, MTEXT, VIEWPORT and DIMENSION are written once
        // their entity classes exist.
        default:
            break;
    }
    if (!written) ++leftOut_[e.type];
    return written;
}

namespace {

// Entities keep their defining points; a malformed one without them writes the origin.
mmVertex pointAt(const mmObject& e, std::size_t i) {
    return i < e.points.size() ? e.points[i] : mmVertex();
}

}  // namespace

bool DxfEntityWriter::writePoint(const mmPointObj& point) {
    if (!w_.beginEntity("POINT")) return false;
    const mmVertex p = pointAt(point, 0);
    w_.writeGroupReal(10, p.x);
    w_.writeGroupReal(20, p.y);
    if (point.lineWidth != 0) w_.writeGroupReal(39, point.lineWidth);
    return true;
}

bool DxfEntityWriter::writeLine(const mmLine& line) {
    if (!w_.beginEntity("LINE")) return false;
    const mmVertex a = pointAt(line, 0);
    const mmVertex b = pointAt(line, 1);
    w_.writeGroupReal(10, a.x);
    w_.writeGroupReal(20, a.y);
    w_.writeGroupReal(11, b.x);
    w_.writeGroupReal(21, b.y);
    return true;
}

bool DxfEntityWriter::writeCircle(const mmCircle& circle) {
    if (!w_.beginEntity("CIRCLE")) return false;
    const mmVertex c = pointAt(circle, 0);
    w_.writeGroupReal(10, c.x);
    w_.writeGroupReal(20, c.y);
    w_.writeGroupReal(40, circle.radius);
    return true;
}

bool DxfEntityWriter::writeArc(const mmArc& arc) {
    if (!w_.beginEntity("ARC")) return false;
    const mmVertex c = pointAt(arc, 0);
    w_.writeGroupReal(10, c.x);
    w_.writeGroupReal(20, c.y);
    w_.writeGroupReal(40, arc.radius);
    w_.writeGroupReal(50, arc.startAngle);
    w_.writeGroupReal(51, arc.endAngle);
    return true;
}
