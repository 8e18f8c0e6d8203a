// DXF 2000 entities: the dispatch by type, the header properties, and the entities of few
// groups (points, lines, circles, arcs, block references, splines, hatches,
// viewports).
#include "fileio/dxf/Dxf2000EntityWriter.h"

#include <algorithm>

#include "drawing/Drawing.h"
#include "entities/Arc.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Ellipse.h"
#include "entities/Face3d.h"
#include "entities/Hatch.h"
#include "entities/Leader.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Solid.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "entities/Viewport.h"
#include "entities/XLine.h"
#include "fileio/dxf/Dxf2000Plan.h"
#include "fileio/dxf/DxfBodies.h"
#include "fileio/dxf/DxfWriter.h"

Dxf2000EntityWriter::Dxf2000EntityWriter(DxfWriter& writer, const mmDrawing& drawing,
                                         const Dxf2000Plan& plan)
    : w_(writer), drawing_(drawing), plan_(plan) {}

void Dxf2000EntityWriter::setContainer(uint64_t owner, const mmVertex& offset, bool paper) {
    w_.setOwner(owner);
    w_.setPaperSpace(paper ? 1 : 0);
    offset_ = offset;
}

// An entity on a layer the table lacks goes on layer "0"; a linetype the table lacks is by layer.
void Dxf2000EntityWriter::setProperties(const mmObject& e) {
    if (!layerSet_ || e.layerId != layerId_) {
        const mmLayer* layer = drawing_.FindLayer(e.layerId);
        w_.setEntityLayer(layer && !layer->name.empty() ? std::u16string_view(layer->name)
                                                        : std::u16string_view(u"0"));
        layerId_ = e.layerId;
        layerSet_ = true;
    }
    std::u16string_view lineType;
    if (e.lineType != kLineTypeByLayer &&
        (e.lineType < kFirstLineTypeId || plan_.lineTypes.count(e.lineType)))
        lineType = drawing_.LineTypeName(e.lineType);
    w_.setEntityLineType(lineType);
    w_.setColorNumber(e.colorIndex);
}

void Dxf2000EntityWriter::point(int32_t code, const mmVertex& p) {
    w_.writeGroupReal(code, p.x + offset_.x);
    w_.writeGroupReal(code + 10, p.y + offset_.y);
    w_.writeGroupReal(code + 20, 0.0);
}

bool Dxf2000EntityWriter::writeEntity(const mmObject& e) {
    setProperties(e);
    bool written = false;
    switch (e.type) {
        case kTypePoint:
            written = writePoint(static_cast<const mmPointObj&>(e));
            break;
        case kTypeLine:
            written = writeLine(static_cast<const mmLine&>(e));
            break;
        case kTypeCircle:
            written = writeCircle(static_cast<const mmCircle&>(e));
            break;
        case kTypeArc:
            written = writeArc(static_cast<const mmArc&>(e));
            break;
        case kTypePolyline:
            written = writePolyline(static_cast<const mmPolyline&>(e));
            break;
        case kTypeText:
            written = writeText(static_cast<const mmText&>(e));
            break;
        case kTypeMText:
            written = writeMText(static_cast<const mmMText&>(e));
            break;
        case kTypeSpline:
            written = w_.beginEntity("SPLINE");
            if (written) writeDxfSplineBody(w_, static_cast<const mmSpline&>(e), offset_);
            break;
        case kTypeHatch:
            written = w_.beginEntity("HATCH");
            if (written) writeDxfHatchBody(w_, static_cast<const mmHatch&>(e), offset_);
            break;
        case kTypeBlockRef:
            written = writeBlockRef(static_cast<const mmBlockRef&>(e));
            break;
        case kTypeDimension:
            written = writeDimension(static_cast<const mmDimension&>(e));
            break;
        case kTypeViewport:
            written = writeViewport(static_cast<const mmViewport&>(e));
            break;
        case kTypeEllipse:
            written = writeEllipse(static_cast<const mmEllipse&>(e));
            break;
        case kTypeSolid:
            written = writeSolid(static_cast<const mmSolid&>(e));
            break;
        case kType3dFace:
            written = write3dFace(static_cast<const mm3dFace&>(e));
            break;
        case kTypeXLine:
            written = writeXLine(static_cast<const mmXLine&>(e));
            break;
        case kTypeLeader:
            written = writeLeader(static_cast<const mmLeader&>(e));
            break;
        case kTypeAttribute:
        case kTypeAttributeDef:
            written = writeAttribute(static_cast<const mmAttribute&>(e));
            break;
        default:  // raster images have no form here
            break;
    }
    if (!written) ++leftOut_[e.type];
    return written;
}

namespace {

mmVertex pointAt(const mmObject& e, std::size_t i) {
    return i < e.points.size() ? e.points[i] : mmVertex();
}

}  // namespace

bool Dxf2000EntityWriter::writePoint(const mmPointObj& p) {
    if (!w_.beginEntity("POINT")) return false;
    w_.writeGroupString(100, "AcDbPoint");
    point(10, pointAt(p, 0));
    return true;
}

bool Dxf2000EntityWriter::writeLine(const mmLine& line) {
    if (!w_.beginEntity("LINE")) return false;
    w_.writeGroupString(100, "AcDbLine");
    point(10, pointAt(line, 0));
    point(11, pointAt(line, 1));
    return true;
}

bool Dxf2000EntityWriter::writeCircle(const mmCircle& circle) {
    if (!w_.beginEntity("CIRCLE")) return false;
    w_.writeGroupString(100, "AcDbCircle");
    point(10, pointAt(circle, 0));
    w_.writeGroupReal(40, circle.radius);
    return true;
}

bool Dxf2000EntityWriter::writeArc(const mmArc& arc) {
    if (!w_.beginEntity("ARC")) return false;
    w_.writeGroupString(100, "AcDbCircle");
    point(10, pointAt(arc, 0));
    w_.writeGroupReal(40, arc.radius);
    w_.writeGroupString(100, "AcDbArc");
    w_.writeGroupReal(50, arc.startAngle);
    w_.writeGroupReal(51, arc.endAngle);
    return true;
}

// A reference to a block the file does not hold is left out: it would name nothing. Its
// attributes follow it; rows and columns make it a MINSERT.
bool Dxf2000EntityWriter::writeBlockRef(const mmBlockRef& r) {
    const Dxf2000Plan::Block* block = plan_.FindBlock(r.blockName);
    if (!block || !w_.beginEntity("INSERT")) return false;
    const uint64_t handle = w_.entityHandle();
    const bool cells = r.columns > 1 || r.rows > 1;
    const bool attributes = std::any_of(r.children.begin(), r.children.end(), IsOwnAttribute);
    w_.writeGroupString(100, cells ? "AcDbMInsertBlock" : "AcDbBlockReference");
    if (attributes) w_.writeGroupInt(66, 1);
    w_.writeGroupText(2, block->name);
    point(10, pointAt(r, 0));
    if (r.scaleX != 1.0) w_.writeGroupReal(41, r.scaleX);
    if (r.scaleY != 1.0) w_.writeGroupReal(42, r.scaleY);
    if (r.rotation != 0.0) w_.writeGroupReal(50, r.rotation);
    if (cells) {
        w_.writeGroupInt(70, r.columns);
        w_.writeGroupInt(71, r.rows);
        w_.writeGroupReal(44, r.columnSpacing);
        w_.writeGroupReal(45, r.rowSpacing);
    }
    if (attributes) writeAttributes(r, handle);
    return true;
}

// A paper-space viewport: the rectangle in paper millimetres, its number in the layout (68 and 69,
// as the R12 writer numbers them) and the model window it shows as the view centre and height.
bool Dxf2000EntityWriter::writeViewport(const mmViewport& viewport) {
    if (viewport.points.size() != 4) return false;
    if (!w_.beginEntity("VIEWPORT")) return false;
    w_.writeGroupString(100, "AcDbViewport");
    const DxfViewportFrame f = DxfViewportFrameOf(viewport);
    point(10, f.centre);
    w_.writeGroupReal(40, f.width);
    w_.writeGroupReal(41, f.height);
    w_.writeGroupInt(68, f.index);
    w_.writeGroupInt(69, f.index);
    w_.writeGroupReal(12, f.viewCentre.x);
    w_.writeGroupReal(22, f.viewCentre.y);
    for (const int32_t code : {13, 23}) w_.writeGroupReal(code, 0.0);
    for (const int32_t code : {14, 24, 15, 25}) w_.writeGroupReal(code, 10.0);
    for (const int32_t code : {16, 26}) w_.writeGroupReal(code, 0.0);
    w_.writeGroupReal(36, 1.0);
    for (const int32_t code : {17, 27, 37}) w_.writeGroupReal(code, 0.0);
    w_.writeGroupReal(42, 50.0);
    w_.writeGroupReal(43, 0.0);
    w_.writeGroupReal(44, 0.0);
    w_.writeGroupReal(45, f.viewHeight);
    w_.writeGroupReal(50, 0.0);
    w_.writeGroupReal(51, 0.0);
    w_.writeGroupInt(72, 1000);
    w_.writeGroupInt(90, 0);
    w_.writeGroupInt(281, 0);
    w_.writeGroupInt(71, 1);
    w_.writeGroupInt(74, 0);
    return true;
}
