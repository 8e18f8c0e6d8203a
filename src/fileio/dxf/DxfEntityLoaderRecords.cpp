// Entities made from their records: polylines (POLYLINE, LWPOLYLINE, 3DFACE), texts, multi-line
// texts, splines and hatches.
#include <algorithm>
#include <cmath>
#include <limits>

#include "entities/Hatch.h"
#include "entities/MText.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "fileio/dxf/DxfCurveEntities.h"
#include "fileio/dxf/DxfEntityLoader.h"
#include "fileio/dxf/DxfReader.h"

namespace {

int16_t attachmentOf(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

}  // namespace

// The vertices in order with one bulge each (3DFACE: none); a closed polyline gets its first
// vertex again at the end and stays open.
void DxfEntityLoader::finishPolyline() {
    appendClosingVertex(polyline_);
    auto p = std::make_shared<mmPolyline>();
    const std::size_t n = polyline_.x.size();
    p->points.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        p->points.emplace_back(polyline_.x[i], polyline_.y[i]);
    p->bulges.assign(polyline_.bulge.begin(), polyline_.bulge.end());
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
    finish(splineFromRecord(record));
    return more;
}

// A pattern too dense to draw is counted: it shows its boundary.
bool DxfEntityLoader::readHatch() {
    DxfHatchRecord record;
    const bool more = readDxfHatch(reader_, header_, record);
    if (auto hatch = hatchFromRecord(record)) {
        if (!hatch->PreparePattern() && report_) ++report_->patternsOutlined;
        finish(hatch);
    } else {
        dropped("HATCH");
    }
    return more;
}
