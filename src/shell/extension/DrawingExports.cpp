// The exported functions that draw and edit: polylines on the working layer, and the objects
// modules move, turn, scale and edit.
#include <cmath>

#include "commands/Session.h"
#include "drawing/LayerRules.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Polyline.h"
#include "shell/extension/ExportGuard.h"
#include "shell/extension/ObjectEdits.h"

namespace {

std::span<const int> idsOf(const int* ids, int count) {
    return {ids, static_cast<std::size_t>(count)};
}

bool validIds(const int* ids, int count) {
    return count >= 0 && (ids || count == 0);
}

}  // namespace

extern "C" {

void setWorkingLayer(const char16_t* name) {
    if (name) WithSession([&](mmSession& s) { setWorkingLayer(s.drawing, name); });
}

void addPolyline(const double* xy, int count, int* id) {
    if (!id || count < 0 || (!xy && count > 0)) return;
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(xy[i])) return;
    WithSession([&](mmSession& s) {
        auto line = std::make_shared<mmPolyline>();
        ApplyCurrentProps(*line, CurrentProps());
        for (int i = 0; i + 1 < count; i += 2) line->points.emplace_back(xy[i], xy[i + 1]);
        line->UpdateGrips();
        line->UpdateExtents();
        mmSpace& space = s.CurrentSpace();
        line->id = space.nextEntityId;
        if (!AddEntity(s.drawing, line)) return;
        ++space.nextEntityId;
        *id = line->id;
    });
}

void updatePolyline(int id, int index, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    WithSession([&](mmSession& s) {
        const mmObjectPtr e = FindEntity(s.CurrentSpace(), id);
        if (!e) return;
        if (index >= 0 && index < e->pointCount())
            e->points[index] = mmVertex(x, y);
        else
            e->points.emplace_back(x, y);
        e->UpdateGrips();
        e->UpdateExtents();
        s.RequestRedraw();
    });
}

int getObjectType(int id) {
    return WithSession(0, [&](mmSession& s) {
        const mmObjectPtr e = FindEntity(s.CurrentSpace(), id);
        return e && !e->erased ? static_cast<int>(e->type) : 0;
    });
}

int moveObjects(const int* ids, int count, double dx, double dy) {
    if (!validIds(ids, count)) return -1;
    return WithSession(-1, [&](mmSession& s) {
        return MoveObjects(s, idsOf(ids, count), dx, dy).value_or(-1);
    });
}

int rotateObjects(const int* ids, int count, double baseX, double baseY, double degrees) {
    if (!validIds(ids, count)) return -1;
    return WithSession(-1, [&](mmSession& s) {
        return RotateObjects(s, idsOf(ids, count), baseX, baseY, degrees).value_or(-1);
    });
}

int scaleObjects(const int* ids, int count, double baseX, double baseY, double factor) {
    if (!validIds(ids, count)) return -1;
    return WithSession(-1, [&](mmSession& s) {
        return ScaleObjects(s, idsOf(ids, count), baseX, baseY, factor).value_or(-1);
    });
}

int getPolylineInfo(int id, int* closed) {
    return WithSession(-1, [&](mmSession& s) {
        const mmPolyline* line = FindPolyline(s, id);
        if (!line) return -1;
        if (closed) *closed = line->closed ? 1 : 0;
        return line->pointCount();
    });
}

int getPolylineVertex(int id, int index, double* x, double* y, double* bulge) {
    if (!x || !y || !bulge) return -1;
    return WithSession(-1, [&](mmSession& s) {
        const mmPolyline* line = FindPolyline(s, id);
        if (!line || index < 0 || index >= line->pointCount()) return -1;
        *x = line->points[index].x;
        *y = line->points[index].y;
        *bulge = line->BulgeAt(index);
        return 0;
    });
}

int insertPolylineVertex(int id, int index, double x, double y, double bulgeBefore,
                         double bulgeAfter) {
    return WithSession(-1, [&](mmSession& s) {
        return InsertPolylineVertex(s, id, index, mmVertex(x, y), bulgeBefore, bulgeAfter) ? 0 : -1;
    });
}

int deletePolylineVertex(int id, int index, double bulge) {
    return WithSession(-1, [&](mmSession& s) {
        return DeletePolylineVertex(s, id, index, bulge) ? 0 : -1;
    });
}

int setPolylineBulge(int id, int index, double bulge) {
    return WithSession(-1, [&](mmSession& s) {
        return SetPolylineBulge(s, id, index, bulge) ? 0 : -1;
    });
}

int getCircle(int id, double* centerX, double* centerY, double* radius) {
    if (!centerX || !centerY || !radius) return -1;
    return WithSession(-1, [&](mmSession& s) {
        const mmObjectPtr e = FindEntity(s.CurrentSpace(), id);
        if (!e || e->erased || e->points.empty()) return -1;
        if (e->type == kTypeCircle)
            *radius = static_cast<const mmCircle&>(*e).radius;
        else if (e->type == kTypeArc)
            *radius = static_cast<const mmArc&>(*e).radius;
        else
            return -1;
        *centerX = e->points[0].x;
        *centerY = e->points[0].y;
        return 0;
    });
}

int addRadiusDimension(double centerX, double centerY, double pointX, double pointY, double textX,
                       double textY, int* id) {
    if (!id) return -1;
    return WithSession(-1, [&](mmSession& s) {
        const std::optional<int32_t> added = AddRadiusDimension(
            s, mmVertex(centerX, centerY), mmVertex(pointX, pointY), mmVertex(textX, textY));
        if (!added) return -1;
        *id = *added;
        return 0;
    });
}

}  // extern "C"
