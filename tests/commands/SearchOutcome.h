// What a snap search leaves behind (the record, the view's flags, the cursor, the flagged grips),
// to compare a search through the spatial index with the pass over the whole list.
#pragma once

#include <tuple>
#include <vector>

#include "commands/Session.h"

struct mmSearchOutcome {
    int kind, entityId, gripIndex, screenX, screenY;
    double x, y, gripDistance, nearestDistance, intersectionDistance, perpendicularDistance;
    bool snapFound, markerShown;
    int hotGripIndex;
    const mmObject* pending;
    double cursorX, cursorY;
    int cursorPixelX, cursorPixelY;
    std::vector<std::tuple<std::size_t, int, bool, bool>> flaggedGrips;

    bool operator==(const mmSearchOutcome&) const = default;
};

inline mmSearchOutcome CaptureSearchOutcome(const mmSession& session) {
    const mmView& v = session.ActiveView();
    const mmSnapInfo& i = v.snapInfo;
    mmSearchOutcome o{i.kind,
                      i.entityId,
                      i.gripIndex,
                      i.screenX,
                      i.screenY,
                      i.x,
                      i.y,
                      i.gripDistance,
                      i.nearestDistance,
                      i.intersectionDistance,
                      i.perpendicularDistance,
                      v.snapFound,
                      v.snapMarkerShown,
                      v.hotGripIndex,
                      session.pendingEntity.get(),
                      v.cursorX,
                      v.cursorY,
                      v.cursorPixelX,
                      v.cursorPixelY,
                      {}};
    const mmEntityList& list = session.drawing.entities;
    for (std::size_t e = 0; e < list.size(); ++e) {
        if (!list[e]) continue;
        for (int g = 0; g < list[e]->gripCount(); ++g)
            if (list[e]->grips[g].hot || list[e]->grips[g].hover)
                o.flaggedGrips.emplace_back(e, g, list[e]->grips[g].hot, list[e]->grips[g].hover);
    }
    return o;
}
