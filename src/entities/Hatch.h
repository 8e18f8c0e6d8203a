// mmHatch: a solid fill or a pattern of lines bounded by loops of boundary entities it owns,
// stored relative to its point 0. Solid fills use the stencil buffer, patterns are clipped to
// the loops; both follow the even-odd rule. Only the boundary is pickable.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "entities/HatchPattern.h"
#include "entities/Object.h"

class mmHatch : public mmObject {
public:
    // Each loop lists boundary entities whose coordinates are relative to point 0.
    std::vector<std::shared_ptr<mmEntityList>> loops;
    int32_t nextBoundaryId = 0;

    // The fill: solid, or the pattern lines (as a file gives them: in drawing coordinates with
    // the pattern's angle and scale applied). A pattern without lines shows the boundary.
    bool solidFill = true;
    std::string patternName = "SOLID";  // UTF-8
    double patternAngle = 0.0;          // degrees; already in the lines
    double patternScale = 1.0;          // already in the lines
    int16_t patternType = 1;            // 0 user-defined, 1 predefined, 2 custom
    bool patternDouble = false;
    int16_t hatchStyle = 0;  // 0 odd parity, 1 outermost, 2 ignore islands (drawn by parity)
    std::vector<mmHatchPatternLine> patternLines;

    // Most dashes and dots one pattern is clipped into, and all patterns held at once (about
    // 512 MB); a pattern beyond either shows its boundary.
    static constexpr std::size_t kMostPatternPieces = std::size_t{1} << 20;
    static constexpr std::size_t kMostHeldPatternPieces = std::size_t{1} << 25;
    // Dashes and dots of all clipped patterns held now.
    static std::size_t HeldPatternPieces();

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

    // Clips the pattern to the boundary unless that was done since the last change; false when
    // the hatch has a pattern too dense to draw (it then shows its boundary).
    bool PreparePattern();
    // The clipped pattern of the last PreparePattern (relative to point 0); copies share it.
    const mmHatchPatternGeometry& PatternGeometry() const;
    // Call after changing the pattern lines or the boundary other than through RebuildFill.
    void PatternChanged() {
        patternState_ = PatternState::Unknown;
        pattern_.reset();
    }
    // Moves the pattern lines by the affine map x' = a x + b y + tx, y' = c x + d y + ty.
    void TransformPattern(double a, double b, double c, double d, double tx, double ty);
    // Moves the pattern lines along with point 0 (the clipped pattern stays valid).
    void MovePattern(double dx, double dy);

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
    void DrawStencilFill(mmDrawContext& dc, int mode, float pixelsPerUnit, const mmShift& shift);
    void DrawPattern(mmDrawContext& dc, int mode, const mmShift& shift);
    void DrawBoundary(mmDrawContext& dc, int mode, float pixelsPerUnit, const mmShift& shift);

    enum class PatternState { Unknown, Ready, TooDense };
    PatternState patternState_ = PatternState::Unknown;
    std::shared_ptr<const mmHatchPatternGeometry> pattern_;
};
