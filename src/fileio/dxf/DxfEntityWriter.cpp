// The entity bodies of a DXF save, in the order their groups are written.
#include "fileio/dxf/DxfEntityWriter.h"

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include <algorithm>

#include "entities/Arc.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Face3d.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Solid.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "entities/Viewport.h"
#include "fileio/dxf/DxfStrings.h"
#include "fileio/dxf/DxfBodies.h"
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
        case kTypePolyline:
            if (auto* p = dynamic_cast<const mmPolyline*>(&e)) written = writePolyline(*p);
            break;
        case kTypeText:
            if (auto* t = dynamic_cast<const mmText*>(&e)) written = writeText(*t);
            break;
        case kTypeMText:
            if (auto* t = dynamic_cast<const mmMText*>(&e)) written = writeMText(*t);
            break;
        case kTypeSpline:
            if (auto* sp = dynamic_cast<const mmSpline*>(&e)) written = writeSpline(*sp);
            break;
        case kTypeHatch:
            if (auto* h = dynamic_cast<const mmHatch*>(&e)) written = writeHatch(*h);
            break;
        case kTypeBlockRef:
            if (auto* r = dynamic_cast<const mmBlockRef*>(&e)) written = writeBlockRef(*r);
            break;
        case kTypeDimension:
            if (auto* d = dynamic_cast<const mmDimension*>(&e)) written = writeDimension(*d);
            break;
        case kTypeViewport:
            if (auto* v = dynamic_cast<const mmViewport*>(&e)) written = writeViewport(*v);
            break;
        case kTypeSolid:
            if (auto* s = dynamic_cast<const mmSolid*>(&e))
                written = writeCorners(*s, s->trace ? "TRACE" : "SOLID", 0);
            break;
        case kType3dFace:
            if (auto* f = dynamic_cast<const mm3dFace*>(&e))
                written = writeCorners(*f, "3DFACE", f->invisibleEdges);
            break;
        case kTypeAttribute:
        case kTypeAttributeDef:
            if (auto* a = dynamic_cast<const mmAttribute*>(&e)) written = writeAttribute(*a, {});
            break;
        // Raster images, ellipses, leaders, construction lines and rays have no form in this
        // file: they are left out, and the save says so.
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

// VERTEX carries only the layer; SEQEND always layer "0".
bool DxfEntityWriter::writePolyline(const mmPolyline& p) {
    if (!w_.beginEntity("POLYLINE")) return false;
    w_.writeGroupInt(70, p.closed ? 1 : 0);
    w_.writeGroupString(66, " 1");
    w_.writeGroupString(10, "0.0");
    w_.writeGroupString(20, "0.0");
    const bool withBulges = !p.bulges.empty();
    for (std::size_t j = 0; j < p.points.size(); ++j) {
        w_.writeVertexStart();
        w_.writeGroupReal(10, p.points[j].x);
        w_.writeGroupReal(20, p.points[j].y);
        w_.writeGroupReal(30, 0.0);
        if (withBulges) w_.writeGroupReal(42, j < p.bulges.size() ? p.bulges[j] : 0.0);
    }
    w_.writeGroupString(0, "SEQEND");
    w_.writeGroupString(8, "0");
    return true;
}

// at: where the text's points are relative to (an attribute's reference).
void DxfEntityWriter::textBody(const mmText& t, const mmVertex& at) {
    const mmVertex p = pointAt(t, 0);
    w_.writeGroupString(7, "Standard");
    w_.writeGroupReal(10, p.x + at.x);
    w_.writeGroupReal(20, p.y + at.y);
    w_.writeGroupReal(40, t.height);
    w_.writeGroupReal(41, t.widthFactor);
    w_.writeGroupReal(50, t.rotation);
    w_.writeGroupUtf8(1, t.String());
    if (t.oblique != 0.0) w_.writeGroupReal(51, t.oblique);
    if (t.horizontal != kTextLeft) w_.writeGroupInt(72, t.horizontal);
    if (t.Justified()) {
        const mmVertex a = pointAt(t, t.points.size() > 1 ? 1 : 0);
        w_.writeGroupReal(11, a.x + at.x);
        w_.writeGroupReal(21, a.y + at.y);
    }
}

bool DxfEntityWriter::writeText(const mmText& t) {
    if (!w_.beginEntity("TEXT")) return false;
    textBody(t, mmVertex());
    if (t.vertical != kTextBaseline) w_.writeGroupInt(73, t.vertical);
    return true;
}

// The text's groups, then the prompt of a definition, the tag, the flags and the vertical
// justification, which is 74 here.
bool DxfEntityWriter::writeAttribute(const mmAttribute& a, const mmVertex& at) {
    const bool definition = a.type == kTypeAttributeDef;
    if (!w_.beginEntity(definition ? "ATTDEF" : "ATTRIB")) return false;
    textBody(a, at);
    if (definition) w_.writeGroupUtf8(3, static_cast<const mmAttributeDef&>(a).prompt);
    w_.writeGroupUtf8(2, a.tag);
    w_.writeGroupInt(70, a.flags);
    if (a.vertical != kTextBaseline) w_.writeGroupInt(74, a.vertical);
    return true;
}

// SOLID and TRACE (corners in the file's order) and 3DFACE with its invisible edges.
bool DxfEntityWriter::writeCorners(const mmObject& e, std::string_view name, int16_t flags) {
    if (!w_.beginEntity(name)) return false;
    for (int32_t i = 0; i < 4; ++i) {
        const mmVertex c = pointAt(e, std::min<std::size_t>(i, e.points.size() - 1));
        w_.writeGroupReal(10 + i, c.x);
        w_.writeGroupReal(20 + i, c.y);
        w_.writeGroupReal(30 + i, 0.0);
    }
    if (flags != 0) w_.writeGroupInt(70, flags);
    return true;
}

bool DxfEntityWriter::writeMText(const mmMText& t) {
    if (!w_.beginEntity("MTEXT", DxfWriter::EntityHeader::Full, DxfWriter::Markers::Subclass))
        return false;
    writeDxfMTextBody(w_, t, mmVertex(), scratch_, encoded_);
    return true;
}

bool DxfEntityWriter::writeSpline(const mmSpline& s) {
    if (!w_.beginEntity("SPLINE", DxfWriter::EntityHeader::Full, DxfWriter::Markers::Subclass))
        return false;
    writeDxfSplineBody(w_, s, mmVertex());
    return true;
}

bool DxfEntityWriter::writeHatch(const mmHatch& h) {
    if (!w_.beginEntity("HATCH", DxfWriter::EntityHeader::Full, DxfWriter::Markers::Subclass))
        return false;
    writeDxfHatchBody(w_, h, mmVertex());
    return true;
}

// The reference's attributes follow it, and a SEQEND on its layer.
bool DxfEntityWriter::writeBlockRef(const mmBlockRef& r) {
    if (!w_.beginEntity("INSERT")) return false;
    const mmVertex p = pointAt(r, 0);
    const bool attributes = std::any_of(r.children.begin(), r.children.end(), IsOwnAttribute);
    if (attributes) w_.writeGroupInt(66, 1);
    w_.writeGroupText(2, r.blockName);
    w_.writeGroupReal(10, p.x);
    w_.writeGroupReal(20, p.y);
    w_.writeGroupReal(41, r.scaleX);
    w_.writeGroupReal(42, r.scaleY);
    w_.writeGroupReal(50, r.rotation);
    if (r.columns > 1 || r.rows > 1) {
        w_.writeGroupInt(70, r.columns);
        w_.writeGroupInt(71, r.rows);
        w_.writeGroupReal(44, r.columnSpacing);
        w_.writeGroupReal(45, r.rowSpacing);
    }
    if (!attributes) return true;
    const int32_t layerId = r.layerId;
    for (const mmObjectPtr& c : r.children) {
        if (!IsOwnAttribute(c)) continue;
        setLayer(c->layerId);
        w_.setColorNumber(c->colorIndex);
        writeAttribute(static_cast<const mmAttribute&>(*c), p);
    }
    setLayer(layerId);
    const mmLayer* layer = drawing_.FindLayer(layerId);
    w_.writeGroupString(0, "SEQEND");
    w_.writeGroupText(8, layer ? std::u16string_view(layer->name) : std::u16string_view());
    return true;
}

// The colour is written too, so that a dimension does not come back by layer; an x ordinate
// carries its flag (64) with its type, so that it comes back measuring along x. The 50 of a
// rotated dimension: its rotation, or without one 90 when its extension lines are horizontal.
bool DxfEntityWriter::writeDimension(const mmDimension& d) {
    if (!w_.beginEntity("DIMENSION", DxfWriter::EntityHeader::NoLineType)) return false;
    w_.writeGroupText(2, d.blockName);
    if (const DimStyle* style = FindDimStyle(drawing_, d.dimStyleId); style && !style->name.empty())
        w_.writeGroupText(3, style->name);
    const auto& p = d.defPoints;
    w_.writeGroupReal(10, p[2].x);
    w_.writeGroupReal(20, p[2].y);
    w_.writeGroupReal(30, 0.0);
    w_.writeGroupReal(11, p[6].x);
    w_.writeGroupReal(21, p[6].y);
    w_.writeGroupReal(31, 0.0);
    const bool xOrdinate = d.dimType == kDimOrdinate && d.ordinateAxis != 0;
    // An arc length has no DIMENSION type of its own: it goes as a three-point angle showing its
    // block.
    const int16_t dimType = d.dimType == kDimArcLength ? kDimAngular3Point : d.dimType;
    w_.writeGroupInt(70, dimType | (xOrdinate ? 64 : 0));
    if (!d.textOverride.empty()) w_.writeGroupUtf8(1, d.textOverride);
    if (d.dimType == kDimRadius) {
        w_.writeGroupReal(15, p[kDimRadialChordPoint].x);
        w_.writeGroupReal(25, p[kDimRadialChordPoint].y);
        w_.writeGroupReal(35, 0.0);
        if (d.leaderLength != 0.0) w_.writeGroupReal(40, d.leaderLength);
        return true;
    }
    w_.writeGroupReal(13, p[0].x);
    w_.writeGroupReal(23, p[0].y);
    w_.writeGroupReal(33, 0.0);
    w_.writeGroupReal(14, p[1].x);
    w_.writeGroupReal(24, p[1].y);
    w_.writeGroupReal(34, 0.0);
    if (d.dimType == kDimRotated)
        w_.writeGroupReal(50, d.hasRotation ? d.rotation : d.direction.y == 0.0f ? 90.0 : 0.0);
    if (d.dimType != kDimRotated && d.dimType != kDimAligned && d.dimType != kDimOrdinate) {
        w_.writeGroupReal(15, d.arcPoint.x);
        w_.writeGroupReal(25, d.arcPoint.y);
        w_.writeGroupReal(35, 0.0);
        w_.writeGroupReal(16, d.arcLocation.x);
        w_.writeGroupReal(26, d.arcLocation.y);
        w_.writeGroupReal(36, 0.0);
        if (d.leaderLength != 0.0) w_.writeGroupReal(40, d.leaderLength);
    }
    return true;
}
