// DXF 2000 texts, attributes, multi-line texts and dimensions.
#include <cmath>

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "entities/Attribute.h"
#include "entities/Dimension.h"
#include "entities/MText.h"
#include "entities/Text.h"
#include "fileio/dxf/Dxf2000EntityWriter.h"
#include "fileio/dxf/Dxf2000Plan.h"
#include "fileio/dxf/DxfBodies.h"
#include "fileio/dxf/DxfWriter.h"

// The insertion point, and for a justified text the alignment point it is placed by.
void Dxf2000EntityWriter::textBody(const mmText& t) {
    w_.writeGroupString(100, "AcDbText");
    point(10, t.points.empty() ? mmVertex() : t.points[0]);
    w_.writeGroupReal(40, t.height);
    w_.writeGroupUtf8(1, t.String());
    if (t.rotation != 0.0) w_.writeGroupReal(50, t.rotation);
    if (t.widthFactor != 1.0) w_.writeGroupReal(41, t.widthFactor);
    if (t.oblique != 0.0) w_.writeGroupReal(51, t.oblique);
    w_.writeGroupString(7, "Standard");
    if (t.horizontal != kTextLeft) w_.writeGroupInt(72, t.horizontal);
    if (t.Justified()) point(11, t.points.size() > 1 ? t.points[1] : t.points[0]);
}

bool Dxf2000EntityWriter::writeText(const mmText& t) {
    if (!w_.beginEntity("TEXT")) return false;
    textBody(t);
    w_.writeGroupString(100, "AcDbText");
    if (t.vertical != kTextBaseline) w_.writeGroupInt(73, t.vertical);
    return true;
}

// The value (or default value) as the text; the tag, the flags and the vertical justification
// (74) after the attribute's marker.
bool Dxf2000EntityWriter::writeAttribute(const mmAttribute& a) {
    const bool definition = a.type == kTypeAttributeDef;
    if (!w_.beginEntity(definition ? "ATTDEF" : "ATTRIB")) return false;
    textBody(a);
    if (definition) {
        w_.writeGroupString(100, "AcDbAttributeDefinition");
        w_.writeGroupUtf8(3, static_cast<const mmAttributeDef&>(a).prompt);
    } else {
        w_.writeGroupString(100, "AcDbAttribute");
    }
    w_.writeGroupUtf8(2, a.tag);
    w_.writeGroupInt(70, a.flags);
    if (a.vertical != kTextBaseline) w_.writeGroupInt(74, a.vertical);
    return true;
}

bool Dxf2000EntityWriter::writeMText(const mmMText& t) {
    if (!w_.beginEntity("MTEXT")) return false;
    writeDxfMTextBody(w_, t, offset_, scratch_, encoded_);
    return true;
}

namespace {

// Bit 32: the block (2) belongs to this dimension alone; bit 64: an ordinate measures along x.
enum DimensionFlags { kOwnBlock = 32, kOrdinateX = 64 };

// The angle of a rotated dimension's line: the one read, else across its extension lines, taken
// from the definition points in double precision where they give it (the built direction is
// single precision: 90 degrees would come back as 90.0000025).
double rotationOf(const mmDimension& d) {
    if (d.hasRotation && std::isfinite(d.rotation)) return d.rotation;
    const mmVertex& p1 = d.defPoints[1];
    const mmVertex& p2 = d.defPoints[2];
    const bool fromPoints = p2.x != p1.x || p2.y != p1.y;
    const double degrees = (fromPoints ? std::atan2(p2.y - p1.y, p2.x - p1.x)
                                       : std::atan2(d.direction.y, d.direction.x)) *
                           180.0 / 3.141592653589793;
    return std::fmod(degrees + 90.0 + 360.0, 180.0);
}

}  // namespace

// The definition points each type uses, after its geometry block and style. An arc length has
// no DIMENSION type of its own: it goes as a three-point angle showing its block.
bool Dxf2000EntityWriter::writeDimension(const mmDimension& d) {
    const auto block = plan_.dimensionBlock.find(&d);
    if (block == plan_.dimensionBlock.end() || !w_.beginEntity("DIMENSION")) return false;
    const auto& p = d.defPoints;
    const int16_t type = d.dimType == kDimArcLength ? kDimAngular3Point : d.dimType;
    w_.writeGroupString(100, "AcDbDimension");
    w_.writeGroupText(2, plan_.blocks[block->second].name);
    point(10, p[2]);
    point(11, p[6]);
    const bool xOrdinate = type == kDimOrdinate && d.ordinateAxis != 0;
    w_.writeGroupInt(70, type | kOwnBlock | (xOrdinate ? kOrdinateX : 0));
    if (!d.textOverride.empty()) w_.writeGroupUtf8(1, d.textOverride);
    if (d.textRotation != 0.0) w_.writeGroupReal(53, d.textRotation);
    const DimStyle* style = FindDimStyle(drawing_, d.dimStyleId);
    w_.writeGroupText(3, style ? std::u16string_view(style->name) : kStandardDimStyleName);
    switch (type) {
        case kDimRotated:
        case kDimAligned:
            w_.writeGroupString(100, "AcDbAlignedDimension");
            point(13, p[0]);
            point(14, p[1]);
            if (type == kDimRotated) {
                w_.writeGroupReal(50, rotationOf(d));
                w_.writeGroupString(100, "AcDbRotatedDimension");
            }
            break;
        case kDimOrdinate:
            w_.writeGroupString(100, "AcDbOrdinateDimension");
            point(13, p[0]);
            point(14, p[1]);
            break;
        case kDimAngular:
        case kDimAngular3Point:
            w_.writeGroupString(100, type == kDimAngular ? "AcDb2LineAngularDimension"
                                                         : "AcDb3PointAngularDimension");
            point(13, p[0]);
            point(14, p[1]);
            point(15, d.arcPoint);
            if (type == kDimAngular) point(16, d.arcLocation);
            break;
        case kDimDiameter:
        case kDimRadius:
            w_.writeGroupString(100, type == kDimDiameter ? "AcDbDiametricDimension"
                                                          : "AcDbRadialDimension");
            point(15, type == kDimRadius ? p[kDimRadialChordPoint] : d.arcPoint);
            w_.writeGroupReal(40, d.leaderLength);
            break;
        default:
            break;
    }
    return true;
}
