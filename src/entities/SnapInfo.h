// The record in which object snap accumulates the best candidate over all entities of a pass.
#pragma once

#include <cstdint>

#include "entities/Vertex.h"

// Snap kinds and mode bits.
inline constexpr int kSnapNone = 0;
inline constexpr int kSnapGrip = 1;
inline constexpr int kSnapNearest = 2;
inline constexpr int kSnapEndpoint = 4;
inline constexpr int kSnapIntersection = 8;
inline constexpr int kSnapPerpendicular = 32;

inline constexpr double kSnapNoDistance = 999999999.0;

// The command id of grip editing: its dragged grip stays hot while snapping.
inline constexpr int kGripEditCommandId = 6121;

struct mmSnapInfo {
    int32_t kind = kSnapNone;
    int32_t modes = 0;
    int32_t entityId = -1;
    double gripDistance = kSnapNoDistance;
    double nearestDistance = kSnapNoDistance;
    double intersectionDistance = kSnapNoDistance;
    double candidate1Distance = kSnapNoDistance;
    double candidate2Distance = kSnapNoDistance;
    double perpendicularDistance = kSnapNoDistance;
    double x = 0.0;  // display coordinates
    double y = 0.0;
    double baseX = 0.0;  // base point of the perpendicular mode
    double baseY = 0.0;
    int32_t screenX = 0;
    int32_t screenY = 0;
    int32_t segmentIndex = 0;
    int32_t gripIndex = 0;
    bool discrete = true;
    mmVertex candidate1[2];
    mmVertex candidate2[2];
    bool fillSecond = false;
    bool candidate1Updated = false;
    bool candidate2Updated = false;

    // Prepares the record for a pass over the entities.
    void BeginPass(int requestedModes, double baseX_, double baseY_) {
        kind = kSnapNone;
        gripDistance = nearestDistance = intersectionDistance = kSnapNoDistance;
        candidate1Distance = candidate2Distance = perpendicularDistance = kSnapNoDistance;
        discrete = true;
        fillSecond = candidate1Updated = candidate2Updated = false;
        modes = requestedModes;
        baseX = baseX_;
        baseY = baseY_;
    }
};
