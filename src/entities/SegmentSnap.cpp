// Grip and segment snapping of open geometry.
#include "entities/SegmentSnap.h"

#include <cmath>

#include "entities/Geometry.h"
#include "entities/Object.h"
#include "entities/SnapInfo.h"

namespace {

enum class GripResult { Accepted, OutOfReach, TooFar };

struct Pass {
    mmObject& entity;
    const mmSegmentSnapStyle& style;
    const mmRect& view;
    mmSnapInfo& info;
    const mmViewMatrices& m;
    const mmShift& shift;
    Vector3D cursor;  // window pixels
    double wx = 0.0;  // cursor in display coordinates
    double wy = 0.0;
    double tol = 0.0;
    int found = 0;
    int gripIndex = -1;  // grip accepted in this call
    mmVertex grip;
    bool perpendicular = false;  // perpendicular foot accepted in this call
    mmVertex foot;
    mmVertex nearestA, nearestB;  // segment remembered for the nearest result

    Pass(mmObject& e, const mmSegmentSnapStyle& st, const mmRect& v, mmSnapInfo& i,
         const mmViewMatrices& matrices, const mmShift& sh, int cx, int cy)
        : entity(e), style(st), view(v), info(i), m(matrices), shift(sh),
          cursor(static_cast<float>(cx), static_cast<float>(cy)) {}

    mmVertex display(const mmVertex& p) const {
        return {p.x + shift.dx1 - shift.dx2, p.y + shift.dy1 - shift.dy2};
    }
    Vector3D pixels(const mmVertex& p) const { return projectToPixels(p.x, p.y, m); }
};

GripResult tryGrip(Pass& s, int i) {
    const mmVertex g = s.display(s.entity.grips[i]);
    if (std::abs(s.wx - g.x) > s.tol || std::abs(s.wy - g.y) > s.tol) return GripResult::OutOfReach;
    if (s.style.polyline) {
        const float gx = static_cast<float>(g.x);
        const float gy = static_cast<float>(g.y);
        if (gx < static_cast<float>(s.view.minX) || gx > static_cast<float>(s.view.maxX) ||
            gy < static_cast<float>(s.view.minY) || gy > static_cast<float>(s.view.maxY))
            return GripResult::OutOfReach;
    } else if (!pointInExpandedRect(g.x, g.y, s.tol, s.view)) {
        return GripResult::OutOfReach;
    }
    const float d = pointDistance(s.cursor, s.pixels(g));
    if (d < kSnapPixels && d < s.info.gripDistance) {
        s.info.gripDistance = d;
        s.info.kind = kSnapGrip;
        s.found = 1;
        s.gripIndex = i;
        s.grip = g;
        return GripResult::Accepted;
    }
    return GripResult::TooFar;
}

bool segmentConsidered(const Pass& s, const mmVertex& a, const mmVertex& b) {
    const bool nearEnd = (std::abs(s.wx - a.x) <= s.tol && std::abs(s.wy - a.y) <= s.tol) ||
                         (std::abs(s.wx - b.x) <= s.tol && std::abs(s.wy - b.y) <= s.tol);
    const bool longEnough = std::abs(b.x - a.x) >= s.tol || std::abs(b.y - a.y) >= s.tol;
    return (nearEnd || longEnough) && segmentCrossesRect(a, b, s.view);
}

void trySegment(Pass& s, int segment) {
    const int count = s.entity.pointCount();
    const bool closing = s.style.closed && count >= 2 && segment == count - 1;
    if (segment > count - 2 && !closing) return;
    const mmVertex a = s.display(s.entity.points[segment]);
    const mmVertex b = s.display(s.entity.points[closing ? 0 : segment + 1]);
    if (!segmentConsidered(s, a, b)) return;
    mmSnapInfo& info = s.info;
    const Vector3D va(static_cast<float>(a.x), static_cast<float>(a.y));
    const Vector3D vb(static_cast<float>(b.x), static_cast<float>(b.y));

    if ((info.kind == kSnapNone || info.kind == kSnapPerpendicular) &&
        (info.modes & kSnapPerpendicular)) {
        const Vector3D base(static_cast<float>(info.baseX), static_cast<float>(info.baseY));
        const Vector3D f = closestPointOnSegment(base, va, vb);
        const float d = pointDistance(s.cursor, s.pixels(mmVertex(f.x, f.y)));
        if (d < kSnapPixels && d < info.perpendicularDistance) {
            info.perpendicularDistance = d;
            info.kind = kSnapPerpendicular;
            s.found = 1;
            s.perpendicular = true;
            s.foot = mmVertex(f.x, f.y);
            return;
        }
    }

    const float d = pointSegmentDistance(s.cursor, s.pixels(a), s.pixels(b));
    if ((info.kind == kSnapNone || info.kind == kSnapIntersection || info.kind == kSnapNearest) &&
        (info.modes & kSnapIntersection) && d < kSnapPixels) {
        bool stored = false;
        if (!info.fillSecond && d < info.candidate1Distance) {
            info.candidate1Distance = d;
            info.candidate1[0] = a;
            info.candidate1[1] = b;
            info.candidate1Updated = stored = true;
        } else if (info.fillSecond && d <= info.candidate2Distance) {
            info.candidate2Distance = d;
            info.candidate2[0] = a;
            info.candidate2[1] = b;
            info.candidate2Updated = stored = true;
        }
        if (stored && s.found == 0) s.found = 2;
    }
    if ((info.kind == kSnapNone || info.kind == kSnapNearest) && (info.modes & kSnapNearest) &&
        d < kSnapPixels && d < info.nearestDistance) {
        info.nearestDistance = d;
        info.kind = kSnapNearest;
        s.found = 1;
        s.nearestA = a;
        s.nearestB = b;
    }
}

void setPixels(Pass& s, double x, double y) {
    int px = 0;
    int py = 0;
    worldToScreen(x, y, s.m, px, py);
    s.info.screenX = px;
    s.info.screenY = py;
}

// The intersection of the two candidate segments, or the nearest point of this call's segment.
bool finishNearestOrIntersection(Pass& s) {
    mmSnapInfo& info = s.info;
    if (info.modes & kSnapIntersection) {
        if (info.candidate1Updated || info.candidate2Updated) info.fillSecond = !info.fillSecond;
        info.candidate1Updated = info.candidate2Updated = false;
        mmVertex p;
        if (info.candidate1Distance < kSnapPixels && info.candidate2Distance < kSnapPixels &&
            segmentIntersection(info.candidate1[0], info.candidate1[1], info.candidate2[0],
                                info.candidate2[1], p)) {
            const float d = pointDistance(s.cursor, s.pixels(p));
            if (d < kSnapPixels && d < info.intersectionDistance) {
                info.intersectionDistance = d;
                info.x = p.x;
                info.y = p.y;
                setPixels(s, p.x, p.y);
                info.kind = kSnapIntersection;
                info.entityId = s.entity.id;
                info.discrete = true;
                return true;
            }
        }
    }
    if (s.found == 1 && info.kind == kSnapNearest) {
        const Vector3D c(static_cast<float>(s.wx), static_cast<float>(s.wy));
        const Vector3D q = closestPointOnSegment(
            c, Vector3D(static_cast<float>(s.nearestA.x), static_cast<float>(s.nearestA.y)),
            Vector3D(static_cast<float>(s.nearestB.x), static_cast<float>(s.nearestB.y)));
        info.x = q.x;
        info.y = q.y;
        setPixels(s, q.x, q.y);
        info.entityId = s.entity.id;
        info.discrete = false;
    }
    return info.kind != kSnapNone;
}

}  // namespace

bool SnapGripsAndSegments(mmObject& entity, const mmSegmentSnapStyle& style, int commandId,
                          bool forceGrips, int cx, int cy, const mmRect& view, mmSnapInfo& info,
                          const mmViewMatrices& m, float pixelsPerUnit, const mmShift& shift,
                          bool cull) {
    if (cull && entity.CulledBy(view, shift)) return false;
    Pass s(entity, style, view, info, m, shift, cx, cy);
    screenToWorld(cx, cy, m, s.wx, s.wy);
    s.tol = kSnapPixels / pixelsPerUnit;

    for (int i = 0; i < entity.gripCount(); ++i) {
        mmVertex& g = entity.grips[i];
        g.hover = false;
        if (commandId != kGripEditCommandId) g.hot = false;
        if (style.skipGrip && style.skipGrip(entity, i)) continue;
        if (forceGrips || (info.modes & kSnapEndpoint)) {
            const GripResult r = tryGrip(s, i);
            // A grip out of reach still leaves its segment to be tried: only an accepted grip
            // wins over the segment.
            if (r == GripResult::Accepted) continue;
        }
        if (style.polyline) {
            if (i % 2 == 0) trySegment(s, i / 2);
        } else {
            trySegment(s, i);
        }
    }
    if (s.found == 0) return info.kind != kSnapNone;

    switch (info.kind) {
        case kSnapNone:
        case kSnapNearest:
            return finishNearestOrIntersection(s);
        case kSnapGrip:
            if (s.gripIndex >= 0) {
                info.x = s.grip.x;
                info.y = s.grip.y;
                setPixels(s, s.grip.x, s.grip.y);
                info.gripIndex = s.gripIndex;
                info.segmentIndex = s.gripIndex / 2;
                info.entityId = entity.id;
                info.discrete = true;
            }
            break;
        case kSnapPerpendicular:
            if (s.perpendicular) {
                info.x = s.foot.x;
                info.y = s.foot.y;
                setPixels(s, s.foot.x, s.foot.y);
                info.entityId = entity.id;
                info.discrete = true;
            }
            break;
        default:
            break;
    }
    return info.kind != kSnapNone;
}
