// Viewports and the view slots of a layout.
#include "display/Viewports.h"

#include <algorithm>

#include "display/PageGeometry.h"
#include "display/View.h"
#include "drawing/Drawing.h"

namespace {

void eraseSlot(mmView& view, std::size_t i) {
    const auto at = [i](auto& list) { list.erase(list.begin() + static_cast<std::ptrdiff_t>(i)); };
    at(view.viewIds);
    at(view.zoomScale);
    at(view.zoomShiftX);
    at(view.zoomShiftY);
    at(view.panX);
    at(view.panY);
    at(view.plotScale);
}

// Each viewport's slot index is its position in the slot list; the last slot becomes current
// when the current viewport has none.
void renumber(mmView& view) {
    for (std::size_t i = 0; i < view.SlotCount(); ++i)
        if (mmViewport* v = view.ViewportOfSlot(i)) v->viewSlot = static_cast<int32_t>(i);
    const auto current = std::find(view.viewIds.begin(), view.viewIds.end(),
                                   view.currentViewportId);
    if (current != view.viewIds.end()) {
        view.activeView = static_cast<int32_t>(current - view.viewIds.begin());
    } else if (view.SlotCount() > 0) {
        MakeViewportCurrent(view, view.SlotCount() - 1);
    } else {
        view.activeView = -1;
        view.currentViewportId = -1;
        view.paperMode = true;
    }
    UpdateViewportWidths(view);
    view.PageChanged();
}

}  // namespace

void MakeViewportCurrent(mmView& view, std::size_t slot) {
    if (slot >= view.SlotCount()) return;
    view.activeView = static_cast<int32_t>(slot);
    view.currentViewportId = view.viewIds[slot];
    UpdateViewportWidths(view);
    view.regenPending = true;
    view.PageChanged();
}

mmViewportPtr CreateViewport(mmView& view, mmSpace& paper, int32_t id, double x1, double y1,
                             double x2, double y2) {
    auto viewport = std::make_shared<mmViewport>();
    viewport->SetNewViewportProperties();
    viewport->id = id;
    viewport->SetRectangle(x1, y1, x2, y2);
    view.AddSlot(id, 1.0);
    viewport->viewSlot = static_cast<int32_t>(view.SlotCount() - 1);
    AddEntity(paper, viewport);
    MakeViewportCurrent(view, view.SlotCount() - 1);
    return viewport;
}

mmViewportPtr CreateDefaultViewport(mmView& view, mmSpace& paper) {
    const double w = PrintableWidthMm(view.printerMetrics);
    const double h = PrintableHeightMm(view.printerMetrics);
    const int32_t id = paper.nextEntityId++;
    return CreateViewport(view, paper, id, 0.1 * w, 0.1 * h, 0.9 * w, 0.9 * h);
}

void AddViewportSlot(mmView& view, mmViewport& viewport) {
    view.AddSlot(viewport.id, 1.0);
    const std::size_t slot = view.SlotCount() - 1;
    viewport.viewSlot = static_cast<int32_t>(slot);
    MakeViewportCurrent(view, slot);
    const mmRect& w = viewport.modelWindow;
    const double ox = view.originOffset.x, oy = view.originOffset.y;
    if (w.minX <= w.maxX && w.minY <= w.maxY)
        view.zoomSlotToWindow(slot, {w.minX - ox, w.minY - oy, w.maxX - ox, w.maxY - oy}, 0);
}

void RemoveViewportSlot(mmView& view, int32_t id) {
    const auto it = std::find(view.viewIds.begin(), view.viewIds.end(), id);
    if (it == view.viewIds.end()) return;
    eraseSlot(view, static_cast<std::size_t>(it - view.viewIds.begin()));
    if (view.currentViewportId == id) view.currentViewportId = -1;
    renumber(view);
}

void SyncViewportSlots(mmView& view) {
    if (!view.isLayout || !view.paperSpace) return;
    for (std::size_t i = view.SlotCount(); i-- > 0;) {
        const mmViewport* v = view.ViewportOfSlot(i);
        if (!v || v->erased) {
            if (view.viewIds[i] == view.currentViewportId) view.currentViewportId = -1;
            eraseSlot(view, i);
        }
    }
    const int32_t current = view.currentViewportId;
    for (const mmObjectPtr& e : view.paperSpace->entities) {
        if (!e || e->erased || e->type != kTypeViewport) continue;
        if (std::find(view.viewIds.begin(), view.viewIds.end(), e->id) != view.viewIds.end())
            continue;
        if (FindEntity(*view.paperSpace, e->id) != e) continue;  // a duplicate id
        AddViewportSlot(view, static_cast<mmViewport&>(*e));
    }
    if (current >= 0) view.currentViewportId = current;
    renumber(view);
}

bool ActivateViewportAt(mmView& view, double x, double y) {
    for (std::size_t i = view.SlotCount(); i-- > 0;) {
        const mmViewport* v = view.ViewportOfSlot(i);
        if (!v || v->erased) continue;
        const mmRect& r = v->extents;
        if (!(x > r.minX && x < r.maxX && y > r.minY && y < r.maxY)) continue;
        view.paperMode = false;
        MakeViewportCurrent(view, i);
        return true;
    }
    return false;
}

void UpdateViewportWidths(mmView& view) {
    for (std::size_t i = 0; i < view.SlotCount(); ++i)
        if (mmViewport* v = view.ViewportOfSlot(i))
            v->lineWidth = (view.viewIds[i] == view.currentViewportId && !view.paperMode) ? 3 : 1;
}

mmRect SlotModelWindow(const mmView& view, std::size_t slot) {
    const mmViewport* v = view.ViewportOfSlot(slot);
    if (!v) return EmptyExtents();
    const double s = view.zoomScale[slot];
    const mmRect& r = v->extents;
    const double dx = view.zoomShiftX[slot] - view.panX[slot];
    const double dy = view.zoomShiftY[slot] + view.panY[slot];
    const double ox = view.originOffset.x, oy = view.originOffset.y;
    return {(r.minX + dx) / s + ox, (r.minY + dy) / s + oy, (r.maxX + dx) / s + ox,
            (r.maxY + dy) / s + oy};
}

void UpdateModelWindows(mmView& view) {
    for (std::size_t i = 0; i < view.SlotCount(); ++i) {
        if (mmViewport* v = view.ViewportOfSlot(i)) v->modelWindow = SlotModelWindow(view, i);
        view.plotScale[i] = 1.0 / view.zoomScale[i];
    }
}
