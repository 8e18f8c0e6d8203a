// The paper-space layouts of a DWG file and their viewports.
#include <algorithm>

#include "drawing/Drawing.h"
#include "fileio/PlanShapes.h"
#include "fileio/dwg/DwgConverter.h"
#include "platform/Unicode.h"

namespace {

std::u16string nameOf(const DwgJson& layout) {
    std::u16string out;
    kestrel::platform::utf8ToUtf16(dwgjson::text(layout, "name"), out);
    return out;
}

}  // namespace

std::vector<DxfLayoutEntry> DwgConverter::convertLayouts(const DwgJson& list, DxfLayout* layout) {
    using namespace dwgjson;
    struct Read {
        int order;
        DxfLayoutEntry entry;
    };
    std::vector<Read> read;
    if (!paper_) return {};
    for (const DwgJson& l : list) {
        const int order = static_cast<int>(integer(l, "tab_order"));
        if (integer(l, "active") != 0) {
            read.push_back({order, {nameOf(l), paper_}});
            continue;
        }
        Target target;
        target.space = layout ? layout->AddPaperSpace() : nullptr;
        target.paper = true;
        for (const DwgJson& e : array(l, "entities")) {
            if (target.space)
                convertEntity(e, target);
            else
                notImported(text(e, "type"));
        }
        if (target.space) read.push_back({order, {nameOf(l), target.space}});
    }
    std::stable_sort(read.begin(), read.end(),
                     [](const Read& a, const Read& b) { return a.order < b.order; });
    std::vector<DxfLayoutEntry> entries;
    for (Read& r : read) entries.push_back(std::move(r.entry));
    return entries;
}

void DwgConverter::convertViewport(const DwgJson& e, const Target& target) {
    using namespace dwgjson;
    if (!target.paper || !target.space) {
        notImported("VIEWPORT");
        return;
    }
    if (paperViewportSeen_.insert(target.space).second) return;
    DxfViewportRecord record;
    const Point centre = point(e, "center");
    record.cx = centre.x;
    record.cy = centre.y;
    record.width = real(e, "width");
    record.height = real(e, "height");
    const Point view = point(e, "VIEWCTR");
    record.viewCx = view.x;
    record.viewCy = view.y;
    record.viewHeight = real(e, "VIEWSIZE");
    record.hasView = true;
    const mmObjectPtr viewport = ViewportOfRecord(record);
    if (!viewport) {
        notImported("VIEWPORT");
        return;
    }
    add(viewport, target);
}
