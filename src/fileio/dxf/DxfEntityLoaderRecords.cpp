// Entities made from their records: polylines (POLYLINE, LWPOLYLINE, 3DFACE), texts, multi-line
// texts, splines and hatches with their boundary loops.
#include <algorithm>
#include <cmath>
#include <limits>

#include "entities/Arc.h"
#include "entities/Hatch.h"
#include "entities/MText.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "fileio/dxf/DxfEntityLoader.h"
#include "fileio/dxf/DxfReader.h"

namespace {

// Control points (x, y, z triples; z is not kept) as the spline's points, its float control
// points and its knots.
void fillSpline(mmSpline& s, const std::vector<double>& control, const std::vector<float>& knots) {
    const std::size_t n = control.size() / 3;
    s.points.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        s.points.emplace_back(control[3 * i], control[3 * i + 1]);
    s.SyncControlPoints();
    s.knots = knots;
}

mmObjectPtr boundaryLine(const DxfHatchEdge& e) {
    auto line = std::make_shared<mmPolyline>();
    line->points.reserve(2);
    line->points.emplace_back(e.x1, e.y1);
    line->points.emplace_back(e.x2, e.y2);
    return line;
}

mmObjectPtr boundaryArc(const DxfHatchEdge& e) {
    auto arc = std::make_shared<mmArc>();
    arc->AddPoint(e.cx, e.cy);
    arc->radius = e.radius;
    arc->startAngle = e.startAngle;
    arc->endAngle = e.endAngle;
    // The fill follows the boundary in order: a clockwise edge is emitted from its end.
    arc->direction = e.counterClockwise ? 1 : 0;
    arc->lineWidth = 1;
    return arc;
}

mmObjectPtr boundarySpline(const DxfHatchEdge& e) {
    auto spline = std::make_shared<mmSpline>();
    fillSpline(*spline, e.control, e.knots);
    spline->lineWidth = 1;
    return spline;
}

mmObjectPtr boundaryEntity(const DxfHatchEdge& e) {
    mmObjectPtr entity;
    switch (e.kind) {
        case DxfHatchEdge::Line:
            entity = boundaryLine(e);
            break;
        case DxfHatchEdge::Arc:
            entity = boundaryArc(e);
            break;
        case DxfHatchEdge::Spline:
            entity = boundarySpline(e);
            break;
    }
    entity->UpdateGrips();
    entity->UpdateExtents();
    return entity;
}

// One loop per path and one boundary entity per edge; null when there is no edge at all.
std::shared_ptr<mmHatch> hatchOf(const DxfHatchRecord& record) {
    auto hatch = std::make_shared<mmHatch>();
    bool anyEdge = false;
    for (const DxfHatchPath& path : record.paths) {
        const int loop = hatch->AddLoop();
        for (const DxfHatchEdge& edge : path.edges) {
            hatch->AddBoundary(boundaryEntity(edge), loop);
            anyEdge = true;
        }
    }
    if (!anyEdge) return nullptr;
    hatch->RebuildFill();
    // The move to the hatch's point 0 shifted the float control points of splines from their
    // rounded values; the double points give them again exactly.
    for (const auto& loop : hatch->loops)
        for (const mmObjectPtr& e : *loop)
            if (auto* spline = dynamic_cast<mmSpline*>(e.get())) spline->SyncControlPoints();
    return hatch;
}

int16_t attachmentOf(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

}  // namespace

namespace {

// Vertex widths that are all one value become the polyline's constant width.
void fillWidths(mmPolyline& p, const DxfPolylineRecord& r) {
    p.constantWidth = r.startWidth == r.endWidth ? r.startWidth : 0.0;
    const std::size_t n = r.vertexStartWidth.size();
    if (n == 0) return;
    const double w = r.vertexStartWidth[0];
    bool uniform = true;
    for (std::size_t i = 0; i < n && uniform; ++i)
        uniform = r.vertexStartWidth[i] == w && r.vertexEndWidth[i] == w;
    if (uniform) {
        p.constantWidth = w;
        return;
    }
    p.constantWidth = 0.0;
    p.widths.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        p.widths[i] = {r.vertexStartWidth[i], r.vertexEndWidth[i]};
}

}  // namespace

// The vertices in order with one bulge each (3DFACE: none), the closed flag and the widths.
void DxfEntityLoader::finishPolyline() {
    auto p = std::make_shared<mmPolyline>();
    const std::size_t n = polyline_.x.size();
    p->points.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        p->points.emplace_back(polyline_.x[i], polyline_.y[i]);
    p->bulges.assign(polyline_.bulge.begin(), polyline_.bulge.end());
    p->closed = (polyline_.flags & 1) != 0 && n > 0;
    p->lightweight = polyline_.lightweight;
    fillWidths(*p, polyline_);
    p->grips.reserve(2 * n);
    finish(p);
}

bool DxfEntityLoader::readPolyline() {
    const bool more = readDxfPolyline(reader_, header_, polyline_);
    finishPolyline();
    return more;
}

bool DxfEntityLoader::readLwPolyline() {
    const bool more = readDxfLwPolyline(reader_, header_, polyline_);
    finishPolyline();
    return more;
}

bool DxfEntityLoader::read3dFace() {
    const bool more = readDxf3dFace(reader_, header_, polyline_);
    finishPolyline();
    return more;
}

// Points, string, sizes and justification, then one layout. A justified text without its
// alignment point (11) is placed by its insertion point.
void DxfEntityLoader::fillText(mmText& t, const DxfTextRecord& record, bool singleLine) const {
    t.points.reserve(2);
    t.points.emplace_back(record.x, record.y);
    t.text = reader_.strings().ToUtf8(record.text);
    t.height = std::isfinite(record.height) ? record.height : 0.0;
    t.rotation = std::isfinite(record.rotation) ? record.rotation : 0.0;
    if (singleLine) {
        if (record.group41 > 0.0 && std::isfinite(record.group41)) t.widthFactor = record.group41;
        t.SetOblique(record.oblique, nullptr);
        t.horizontal = static_cast<int16_t>(
            record.horizontal >= 0 && record.horizontal <= 5 ? record.horizontal : 0);
        t.vertical = static_cast<int16_t>(
            record.vertical >= 0 && record.vertical <= 3 ? record.vertical : 0);
        if (t.Justified()) {
            if (record.alignGiven)
                t.points.emplace_back(record.alignX, record.alignY);
            else
                t.points.emplace_back(record.x, record.y);
        }
    }
    t.UpdateGrips();
    t.Rebuild(glyphs_);
}

bool DxfEntityLoader::readText() {
    const bool more = readDxfText(reader_, header_, text_);
    auto text = std::make_shared<mmText>();
    fillText(*text, text_, true);
    finish(text);
    return more;
}

bool DxfEntityLoader::readMText() {
    const bool more = readDxfMText(reader_, header_, text_);
    auto text = std::make_shared<mmMText>();
    text->attachment = attachmentOf(text_.attachment);
    if (std::isfinite(text_.group41)) text->rectangleWidth = text_.group41;
    if (text_.lineSpacing > 0.0 && std::isfinite(text_.lineSpacing))
        text->lineSpacing = text_.lineSpacing;
    if (text_.cut && report_) ++report_->textsCut;
    fillText(*text, text_, false);
    finish(text);
    return more;
}

bool DxfEntityLoader::readSpline() {
    DxfSplineRecord record;
    const bool more = readDxfSpline(reader_, header_, record);
    auto spline = std::make_shared<mmSpline>();
    fillSpline(*spline, record.control, record.knots);
    finish(spline);
    return more;
}

bool DxfEntityLoader::readHatch() {
    DxfHatchRecord record;
    const bool more = readDxfHatch(reader_, header_, record);
    if (auto hatch = hatchOf(record))
        finish(hatch);
    else
        dropped("HATCH");
    return more;
}
