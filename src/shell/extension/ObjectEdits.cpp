// Moving, turning and scaling objects, editing polyline vertices and adding radius dimensions
// for extension modules, each as one undo step.
#include "shell/extension/ObjectEdits.h"

#include <cmath>
#include <unordered_set>

#include "commands/Session.h"
#include "commands/Undo.h"
#include "drawing/DimensionRules.h"
#include "entities/EntityTransform.h"
#include "entities/Polyline.h"

namespace {

bool finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// Snapshots of the live objects of the ids, then the edit of each, as one undo step.
template <class Edit>
int editObjects(mmSession& s, std::span<const int> ids, Edit&& edit) {
    mmSpace& space = s.CurrentSpace();
    std::vector<mmObjectPtr> targets;
    std::unordered_set<int> seen;
    for (const int id : ids) {
        if (!seen.insert(id).second) continue;
        mmObjectPtr e = FindEntity(space, id);
        if (e && !e->erased) targets.push_back(std::move(e));
    }
    if (targets.empty()) return 0;
    auto snapshots = std::make_shared<mmEntityList>();
    snapshots->reserve(targets.size());
    for (const mmObjectPtr& e : targets) CloneEntity(*e, *snapshots);
    for (const mmObjectPtr& e : targets) edit(*e);
    RecordUndo(s.drawing, std::move(snapshots));
    s.RequestRedraw();
    return static_cast<int>(targets.size());
}

// Records the polyline's state, then edits it; grips and extents follow.
template <class Edit>
bool editPolyline(mmSession& s, int id, Edit&& edit) {
    mmPolyline* line = FindPolyline(s, id);
    if (!line) return false;
    mmPolyline edited;
    edited.CopyFrom(*line);
    edited.bulges.resize(edited.points.size(), 0.0);
    if (!edit(edited)) return false;
    auto snapshots = std::make_shared<mmEntityList>();
    CloneEntity(*line, *snapshots);
    line->points = std::move(edited.points);
    line->bulges = std::move(edited.bulges);
    line->UpdateGrips();
    line->UpdateExtents();
    RecordUndo(s.drawing, std::move(snapshots));
    s.RequestRedraw();
    return true;
}

}  // namespace

std::optional<int> MoveObjects(mmSession& s, std::span<const int> ids, double dx, double dy) {
    if (!finite({dx, dy})) return std::nullopt;
    return editObjects(s, ids, [&](mmObject& e) { MoveEntity(e, dx, dy); });
}

std::optional<int> RotateObjects(mmSession& s, std::span<const int> ids, double baseX,
                                 double baseY, double degrees) {
    if (!finite({baseX, baseY, degrees})) return std::nullopt;
    return editObjects(s, ids, [&](mmObject& e) { RotateEntityAbout(e, baseX, baseY, degrees); });
}

std::optional<int> ScaleObjects(mmSession& s, std::span<const int> ids, double baseX,
                                double baseY, double factor) {
    if (!finite({baseX, baseY, factor}) || factor <= 0.0) return std::nullopt;
    return editObjects(s, ids, [&](mmObject& e) { ScaleEntityAbout(e, baseX, baseY, factor); });
}

mmPolyline* FindPolyline(mmSession& s, int id) {
    const mmObjectPtr e = FindEntity(s.CurrentSpace(), id);
    if (!e || e->erased || e->type != kTypePolyline) return nullptr;
    return static_cast<mmPolyline*>(e.get());
}

bool InsertPolylineVertex(mmSession& s, int id, int index, const mmVertex& at, double bulgeBefore,
                          double bulgeAfter) {
    if (!finite({at.x, at.y, bulgeBefore, bulgeAfter})) return false;
    return editPolyline(s, id, [&](mmPolyline& p) {
        if (index < 1 || index > p.pointCount()) return false;
        p.bulges[index - 1] = bulgeBefore;
        p.bulges.insert(p.bulges.begin() + index, bulgeAfter);
        p.points.insert(p.points.begin() + index, mmVertex(at.x, at.y));
        return true;
    });
}

bool DeletePolylineVertex(mmSession& s, int id, int index, double bulge) {
    if (!std::isfinite(bulge)) return false;
    return editPolyline(s, id, [&](mmPolyline& p) {
        const int n = p.pointCount();
        if (n <= 2 || index < 0 || index >= n) return false;
        p.points.erase(p.points.begin() + index);
        p.bulges.erase(p.bulges.begin() + index);
        // The segment that now runs from the vertex before to the one after: an inner one, or
        // the closing one. An open polyline that lost its last vertex joins nothing.
        const int last = n - 2;
        if (index > 0 && index < n - 1)
            p.bulges[index - 1] = bulge;
        else if (p.closed)
            p.bulges[last] = bulge;
        else if (index == n - 1)
            p.bulges[last] = 0.0;
        return true;
    });
}

bool SetPolylineBulge(mmSession& s, int id, int index, double bulge) {
    if (!std::isfinite(bulge)) return false;
    return editPolyline(s, id, [&](mmPolyline& p) {
        if (index < 0 || index >= p.SegmentCount()) return false;
        p.bulges[index] = bulge;
        return true;
    });
}

std::optional<int32_t> AddRadiusDimension(mmSession& s, const mmVertex& centre,
                                          const mmVertex& onCircle, const mmVertex& text) {
    if (!finite({centre.x, centre.y, onCircle.x, onCircle.y, text.x, text.y})) return std::nullopt;
    if (centre.x == onCircle.x && centre.y == onCircle.y) return std::nullopt;
    std::array<mmVertex, 7> points{};
    points[kDimRadialChordPoint] = mmVertex(onCircle.x, onCircle.y);
    points[kDimRadialCentre] = mmVertex(centre.x, centre.y);
    points[kDimTextPoint] = mmVertex(text.x, text.y);
    mmSpace& space = s.CurrentSpace();
    const int32_t id = space.nextEntityId;
    const auto d = NewDimension(s.drawing, kDimRadius, id, points, s.glyphTable);
    if (!AddEntity(s.drawing, d)) return std::nullopt;
    ++space.nextEntityId;
    auto snapshots = std::make_shared<mmEntityList>();
    if (const mmObjectPtr snapshot = CloneEntity(*d, *snapshots)) snapshot->erased = true;
    RecordUndo(s.drawing, std::move(snapshots));
    s.RequestRedraw();
    return id;
}
