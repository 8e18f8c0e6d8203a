// Entities made from their records: polylines (POLYLINE, LWPOLYLINE), texts, multi-line texts,
// splines and hatches, placed in the plan from the planes they are given in.
#include <algorithm>
#include <cmath>
#include <limits>

#include "entities/Hatch.h"
#include "entities/MText.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "fileio/PlanShapes.h"
#include "fileio/dxf/DxfCurveEntities.h"
#include "fileio/dxf/DxfEntityLoader.h"
#include "fileio/dxf/DxfReader.h"

namespace {

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

// The vertices in order with one bulge each, the closed flag and the widths. Vertices of a 3D
// polyline (70 bit 8) are world coordinates.
void DxfEntityLoader::finishPolyline(std::string_view name) {
    if (polyline_.flags & kDxfPolyfaceMesh) {
        dropped("POLYLINE (polyface mesh)");
        return;
    }
    if (polyline_.flags & kDxfPolygonMesh) {
        dropped("POLYLINE (polygon mesh)");
        return;
    }
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
    if (!(polyline_.flags & 8)) {
        const mmOcs ocs = plane();
        PlacePolyline(ocs, polyline_.elevation, *p);
        const bool curved =
            std::any_of(p->bulges.begin(), p->bulges.end(), [](double b) { return b != 0.0; });
        noteApproximation(ocs, name, kTypePolyline, curved);
    }
    finish(p);
}

bool DxfEntityLoader::readPolyline() {
    const bool more = readDxfPolyline(reader_, header_, polyline_);
    finishPolyline("POLYLINE");
    return more;
}

bool DxfEntityLoader::readLwPolyline() {
    const bool more = readDxfLwPolyline(reader_, header_, polyline_);
    finishPolyline("LWPOLYLINE");
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
        PlaceText(plane(), 0.0, t);
    }
    t.UpdateGrips();
    t.Rebuild(glyphs_);
}

bool DxfEntityLoader::readText() {
    const bool more = readDxfText(reader_, header_, text_);
    auto text = std::make_shared<mmText>();
    fillText(*text, text_, true);
    noteApproximation(plane(), "TEXT", kTypeText, false);
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
    // The rotation is an angle of the text's plane; a direction (11) is given in the world.
    const mmOcs ocs = plane();
    const bool byDirection = !text_.rotationGiven && text_.alignGiven;
    if (!byDirection) text_.rotation = ocs.Angle(text_.rotation);
    fillText(*text, text_, false);
    noteApproximation(ocs, "MTEXT", kTypeMText, false);
    finish(text);
    return more;
}

bool DxfEntityLoader::readSpline() {
    DxfSplineRecord record;
    const bool more = readDxfSpline(reader_, header_, record);
    finish(splineFromRecord(record));
    return more;
}

// A pattern too dense to draw is counted: it shows its boundary.
bool DxfEntityLoader::readHatch() {
    DxfHatchRecord record;
    const bool more = readDxfHatch(reader_, header_, record);
    const mmOcs ocs = plane();
    bool curved = false;
    for (DxfHatchPath& path : record.paths) curved = PlaceHatchEdges(ocs, path.edges) || curved;
    PlaceHatchPattern(ocs, record.lines);
    if (auto hatch = hatchFromRecord(record)) {
        noteApproximation(ocs, "HATCH", kTypeHatch, curved);
        if (!hatch->PreparePattern() && report_) ++report_->patternsOutlined;
        finish(hatch);
    } else {
        dropped("HATCH");
    }
    return more;
}
