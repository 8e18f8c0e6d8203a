// Ellipses, solids and traces, leaders, construction lines and rays, and attributes from the
// decoded drawing, made as the DXF reader makes them from the same data.
#include <cmath>

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Ellipse.h"
#include "entities/Geometry.h"
#include "entities/Leader.h"
#include "entities/Solid.h"
#include "entities/XLine.h"
#include "fileio/PlanShapes.h"
#include "fileio/dwg/DwgConverter.h"
#include "platform/Unicode.h"

namespace {

using namespace dwgjson;

mmPoint3 point3(const DwgJson& e, std::string_view key) {
    const Point p = point(e, key);
    return {p.x, p.y, p.z};
}

}  // namespace

mmObjectPtr DwgConverter::convertEllipse(const DwgJson& e) {
    return EllipseInPlan(point3(e, "center"), point3(e, "sm_axis"), point3(e, "extrusion"),
                         real(e, "axis_ratio", 1.0), real(e, "start_angle"),
                         real(e, "end_angle"));
}

// The corners are given in the solid's plane, at its elevation.
mmObjectPtr DwgConverter::convertSolid(const DwgJson& e) {
    const mmOcs ocs = DwgPlaneOf(e);
    const double elevation = real(e, "elevation");
    mmVertex corners[4];
    const char* names[4] = {"corner1", "corner2", "corner3", "corner4"};
    for (int i = 0; i < 4; ++i) {
        const Point p = point(e, names[i]);
        corners[i] = ocs.Point(p.x, p.y, elevation);
    }
    auto solid = std::make_shared<mmSolid>();
    solid->trace = text(e, "type") == "TRACE";
    solid->SetCorners(corners);
    return solid;
}

// The arrow size is the style's (named exactly so, else the current one).
mmObjectPtr DwgConverter::convertLeader(const DwgJson& e) {
    auto leader = std::make_shared<mmLeader>();
    std::u16string styleName;
    kestrel::platform::utf8ToUtf16(text(e, "dimstyle"), styleName);
    const DimStyle* named =
        styleName.empty() ? nullptr : FindDimStyleByName(drawing_, styleName, mmNameMatch::Exact);
    leader->dimStyleId = named ? named->id : drawing_.currentDimStyleId;
    leader->arrowSize = DimStyleById(drawing_, leader->dimStyleId).arrowSize;
    leader->arrowhead = integer(e, "arrowhead_on", 1) != 0;
    leader->splinePath = integer(e, "path_type") == 1;
    const DwgJson& points = array(e, "points");
    leader->points.reserve(points.size());
    for (const DwgJson& p : points) {
        const Point v = point(p);
        leader->points.emplace_back(v.x, v.y);
    }
    return leader;
}

mmObjectPtr DwgConverter::convertXLine(const DwgJson& e) {
    const Point at = point(e, "point"), direction = point(e, "vector");
    auto line = std::make_shared<mmXLine>();
    line->ray = text(e, "type") == "RAY";
    line->points.emplace_back(at.x, at.y);
    line->SetDirection(direction.x, direction.y);
    return line;
}

std::shared_ptr<mmText> DwgConverter::attributeOf(const DwgJson& e, bool definition) {
    std::shared_ptr<mmAttribute> a;
    if (definition) {
        auto d = std::make_shared<mmAttributeDef>();
        d->prompt = DwgDrawingText(text(e, "prompt"));
        a = d;
    } else {
        a = std::make_shared<mmAttribute>();
    }
    a->tag = DwgDrawingText(text(e, "tag"));
    a->flags = static_cast<int16_t>(integer(e, "flags") & 15);
    fillText(e, text(e, definition ? "default_value" : "text_value"), *a);
    return a;
}

mmObjectPtr DwgConverter::convertAttributeDef(const DwgJson& e) {
    return attributeOf(e, true);
}

void DwgConverter::addAttributes(const DwgJson& insert, mmBlockRef& ref, const mmVertex& at) {
    const DwgJson& attribs = array(insert, "attribs");
    if (attribs.empty()) return;
    for (const DwgJson& a : attribs) {
        if (integer(a, "unreadable") != 0) {
            notImported("ATTRIB");
            continue;
        }
        std::shared_ptr<mmText> attribute = attributeOf(a, false);
        applyProperties(*attribute, a);
        TranslateEntity(*attribute, -at.x, -at.y);
        attribute->id = static_cast<int32_t>(ref.children.size());
        attribute->UpdateGrips();
        attribute->UpdateExtents();
        ref.children.push_back(std::move(attribute));
    }
    ref.UpdateExtents();
}
