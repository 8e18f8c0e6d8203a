// Entities made from their records: ellipses, solids and traces, 3D faces, leaders, construction
// lines and rays, and attributes.
#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "entities/Attribute.h"
#include "entities/Ellipse.h"
#include "entities/Face3d.h"
#include "entities/Leader.h"
#include "entities/Solid.h"
#include "entities/XLine.h"
#include "fileio/PlanShapes.h"
#include "fileio/dxf/DxfEntityLoader.h"
#include "fileio/dxf/DxfReader.h"

bool DxfEntityLoader::readEllipse() {
    DxfEllipseRecord e;
    const bool more = readDxfEllipse(reader_, header_, e);
    finish(EllipseInPlan({e.cx, e.cy, e.cz}, {e.mx, e.my, e.mz},
                         {header_.extrusionX, header_.extrusionY, header_.extrusionZ}, e.ratio,
                         e.start, e.end));
    return more;
}

// The corners are given in the solid's plane, at the elevation of the first.
bool DxfEntityLoader::readSolid() {
    const bool trace = reader_.value() == "TRACE";
    DxfCornersRecord c;
    const bool more = readDxfCorners(reader_, header_, c);
    const mmOcs ocs = plane();
    mmVertex corners[4];
    for (int i = 0; i < 4; ++i) corners[i] = ocs.Point(c.x[i], c.y[i], c.z[0]);
    auto solid = std::make_shared<mmSolid>();
    solid->trace = trace;
    solid->SetCorners(corners);
    finish(solid);
    return more;
}

bool DxfEntityLoader::read3dFace() {
    DxfCornersRecord c;
    const bool more = readDxfCorners(reader_, header_, c);
    auto face = std::make_shared<mm3dFace>();
    face->points.reserve(4);
    for (int i = 0; i < 4; ++i) face->points.emplace_back(c.x[i], c.y[i]);
    face->invisibleEdges = static_cast<int16_t>(c.flags & 15);
    finish(face);
    return more;
}

// The arrow is the style's (named ignoring case, else the current one), with the sizes the
// leader's own overrides give.
bool DxfEntityLoader::readLeader() {
    DxfLeaderRecord l;
    const bool more = readDxfLeader(reader_, header_, l);
    auto leader = std::make_shared<mmLeader>();
    const std::optional<int32_t> named =
        l.styleName.empty() ? std::nullopt
                            : names_.DimStyle(reader_.strings().ToUtf16(l.styleName));
    leader->dimStyleId = named.value_or(drawing_.currentDimStyleId);
    const DimStyle style = DimStyleById(drawing_, leader->dimStyleId);
    const double size = l.arrowSize >= 0.0 ? l.arrowSize : style.arrowSize;
    leader->arrowSize = size * (l.scale > 0.0 ? l.scale : 1.0);
    leader->arrowhead = l.arrowhead;
    leader->splinePath = l.spline;
    leader->points.reserve(l.x.size());
    for (std::size_t i = 0; i < l.x.size(); ++i) leader->points.emplace_back(l.x[i], l.y[i]);
    finish(leader);
    return more;
}

bool DxfEntityLoader::readXLine() {
    const bool ray = reader_.value() == "RAY";
    DxfXLineRecord x;
    const bool more = readDxfXLine(reader_, header_, x);
    auto line = std::make_shared<mmXLine>();
    line->ray = ray;
    line->points.emplace_back(x.x, x.y);
    line->SetDirection(x.dx, x.dy);
    finish(line);
    return more;
}

mmObjectPtr DxfEntityLoader::attributeOf(bool definition) {
    std::shared_ptr<mmAttribute> a;
    if (definition) {
        auto d = std::make_shared<mmAttributeDef>();
        d->prompt = reader_.strings().ToUtf8(attribute_.prompt);
        a = d;
    } else {
        a = std::make_shared<mmAttribute>();
    }
    a->tag = reader_.strings().ToUtf8(attribute_.tag);
    a->flags = static_cast<int16_t>(attribute_.flags & 15);
    if (header_.invisible && !definition) a->flags |= kAttributeInvisible;
    fillText(*a, attribute_.text, true);
    noteApproximation(plane(), definition ? "ATTDEF" : "ATTRIB", a->type, false);
    applyProperties(*a);
    a->UpdateGrips();
    a->UpdateExtents();
    return a;
}

bool DxfEntityLoader::readAttributeDef() {
    const bool more = readDxfAttribute(reader_, header_, attribute_);
    add(attributeOf(true));
    return more;
}
