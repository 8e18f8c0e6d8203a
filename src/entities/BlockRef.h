// mmBlockRef: a block shown at an insertion point with a scale and a rotation. At insertion the
// reference takes copies of the block's entities ("children") relative to its insertion point;
// scaling and rotating change the children's coordinates. References made alike share one list
// of children (copies of references share theirs) until one of them changes its own, which then
// gets its own deep copy (mmChildList). The reference's attributes
// (mmAttribute, read from the ATTRIBs after an INSERT) are children too. A reference of rows and
// columns (MINSERT) shows its children once per cell, the cells spaced along the reference's
// rotated axes. Also the coordinate transforms that blocks and references apply to entities of
// every class.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "entities/Block.h"
#include "entities/ChildList.h"
#include "entities/GlyphTable.h"
#include "entities/Object.h"

class mmBlockRef : public mmObject {
public:
    mmChildList children;  // relative to the insertion point, scale and rotation applied
    int32_t blockId = -1;
    std::u16string blockName;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotation = 0.0;  // degrees
    // MINSERT: rows and columns of cells (1 and 1 for a plain reference) and their spacing.
    int32_t columns = 1;
    int32_t rows = 1;
    double columnSpacing = 0.0;
    double rowSpacing = 0.0;

    mmBlockRef() { type = kTypeBlockRef; }

    // The cells the children are shown in, and the offset of cell k from the insertion point.
    int64_t CellCount() const;
    mmVertex CellOffset(int64_t k) const;

    // Takes copies of the entities of the first block named exactly so (erased ones left out;
    // attribute definitions are not shown in references, except constant ones, which show their
    // value as an attribute); texts among them are laid out with the given table (null keeps
    // their own). The children start at scale 1 and rotation 0. False, and nothing changes, when
    // no block has the name.
    bool InstantiateBlock(std::u16string_view name, const mmBlockTable& blocks,
                          const mmGlyphTablePtr& glyphs);
    // The same with the block already found.
    void InstantiateBlock(const mmBlock& block, const mmGlyphTablePtr& glyphs);
    // Stores the factors and scales the children by sx / scaleX, sy / scaleY (by sx, sy
    // themselves when byFactor), in the unrotated frame. Radii of circles and arcs follow the x
    // factor (the y factor when the x factor equals the old x scale); texts keep their height,
    // attributes (placed by the reference) grow with the y factor, their width with x / y.
    // Factors that are zero or not finite are refused (false, nothing changes).
    bool SetScale(double sx, double sy, bool byFactor);
    // Turns the children about the insertion point by degrees - rotation (by degrees itself when
    // fromZero) and stores degrees; arcs add the turn to their angles, texts keep their own
    // rotation but attributes turn with the reference, nested references turn with their
    // contents. False for an angle that is not finite.
    bool SetRotation(double degrees, bool fromZero);

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    // Children hidden by their layer are neither drawn nor picked.
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    void SetSelected(bool on, int& delta) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    void CopyFrom(const mmObject& from) override;

private:
    // Draws the children of each cell through one display list compiled for the shared list;
    // false when the list is not shared or the context cannot compile one.
    bool DrawPrepared(mmDrawContext& dc, int mode, float pixelsPerUnit, int primitive,
                      const mmShift& shift);
    // The shift that places children (relative to the insertion point) of a cell in display
    // coordinates.
    mmShift ChildShift(const mmShift& shift, const mmVertex& cell) const;
};

// Moves every coordinate an entity has by (dx, dy): points and grips, a spline's control points,
// a dimension's definition points and parts. Hatches and references move their point 0 only
// (their contents are relative to it).
void TranslateEntity(mmObject& entity, double dx, double dy);
// Multiplies the coordinates of an entity by (fx, fy) about the origin, radii by |radiusFactor|;
// a mirroring (fx * fy < 0) also mirrors arc angles and polyline bulges. Raster images neither
// mirror nor turn: they keep their lower-left corner where it maps to. Grips and extents are updated.
void ScaleEntity(mmObject& entity, double fx, double fy, double radiusFactor);
// Turns the coordinates of an entity about the origin by degrees; arcs add the angle to theirs.
// Grips and extents are updated.
void RotateEntity(mmObject& entity, double degrees);
// Lays out again, with the given table, every text an entity holds (itself, a dimension's label,
// the children of a reference) whose table differs.
void RebuildTexts(mmObject& entity, const mmGlyphTablePtr& glyphs);
