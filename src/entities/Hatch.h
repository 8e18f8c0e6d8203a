// mmHatch: a solid fill bounded by loops of boundary entities it owns, stored relative to its
// point 0. Filled with the stencil buffer (even-odd rule); only the boundary is pickable.
#pragma once

#include <memory>
#include <vector>

#include "entities/Object.h"

class mmHatch : public mmObject {
public:
    // Each loop lists boundary entities whose coordinates are relative to point 0.
    std::vector<std::shared_ptr<mmEntityList>> loops;
    int32_t nextBoundaryId = 0;

    // One point at (0, 0) and no loops.
    mmHatch();

    // Appends an empty loop and returns its index.
    int AddLoop();
    // Gives the entity the next boundary id and appends it to the loop; false (and nothing
    // changes) for a null entity or a loop that does not exist.
    bool AddBoundary(const mmObjectPtr& entity, int loopIndex);
    // With the boundary in drawing coordinates: point 0 becomes the centre of the boundary's
    // bounding box and the boundary is made relative to it.
    void RebuildFill();
    bool HasBoundary() const;

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    void SetSelected(bool on, int& delta) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    void CopyFrom(const mmObject& from) override;

private:
    // The union of the boundary entities' own extents; inverted when there are none.
    mmRect BoundaryExtents() const;
    mmShift BoundaryShift(const mmShift& shift) const;
};
