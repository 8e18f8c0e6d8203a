// mmDimension: a measured annotation built from definition points and its own copies of six
// dimension style values, out of embedded parts (a label text, six polylines and two points) that
// it draws, picks and crosses through. Rotated, aligned, radius and ordinate dimensions are
// built; a dimension read from a file shows the entities of its file block instead, until it is
// built again (other types keep showing them). Also the anonymous "*D" blocks made for saving.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "entities/Block.h"
#include "entities/GlyphTable.h"
#include "entities/Object.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "entities/Vector3D.h"

// Dimension types, as DXF numbers them (ARC_DIMENSION entities are given a number of their own).
inline constexpr int16_t kDimRotated = 0;
inline constexpr int16_t kDimAligned = 1;
inline constexpr int16_t kDimAngular = 2;
inline constexpr int16_t kDimDiameter = 3;
inline constexpr int16_t kDimRadius = 4;
inline constexpr int16_t kDimAngular3Point = 5;
inline constexpr int16_t kDimOrdinate = 6;
inline constexpr int16_t kDimArcLength = 8;
// Radius dimensions: the point on the circle (DXF 15) and the centre (10) among the definition
// points; the text middle is P6 for every type.
inline constexpr int kDimRadialChordPoint = 0;
inline constexpr int kDimRadialCentre = 2;
inline constexpr int kDimTextPoint = 6;

// The six values a dimension copies from its style, and the factor of its measurement.
struct mmDimStyleValues {
    double arrowSize = 0.0;
    double extLineOffset = 0.0;
    double extLineExtension = 0.0;
    double textGap = 0.0;
    double textHeight = 0.0;
    int16_t arrowKind = 0;  // 0 filled arrowheads, any other value 45-degree ticks
    double measurementScale = 1.0;  // the label shows the measured length times this
};

class mmDimension : public mmObject {
public:
    // P0, P1: origins of the extension lines (ordinates: the feature point, the leader end;
    // radius: P0 the point on the circle); P2: where the dimension line meets the second
    // extension line (ordinates: the origin of measurement; radius: the centre); P3: computed,
    // the other end of the dimension line; P4, P5: computed ends of the extension lines; P6:
    // middle of the text (computed, given for ordinates; for radius its distance from the centre
    // is given).
    std::array<mmVertex, 7> defPoints{};
    double textRotation = 0.0;  // as read from a file; kept, not used when building
    // Rotated dimensions from files: the direction of the dimension line in degrees. Without it
    // the direction follows from the definition points.
    double rotation = 0.0;
    bool hasRotation = false;
    // The text a file gives (UTF-8): "<>" stands for the measurement, a single blank for no
    // text; empty shows the measurement alone.
    std::string textOverride;
    // Definition points the build does not use, as read (DXF 15 and 16; a radius keeps its 15 in
    // P0), and the leader length.
    mmVertex arcPoint, arcLocation;
    double leaderLength = 0.0;
    // The entities of the dimension's block in a file, in drawing coordinates: shown, picked and
    // saved instead of the built parts while there are any. Building clears them.
    mmEntityList blockEntities;
    int16_t dimType = kDimRotated;
    int16_t ordinateAxis = 0;  // ordinates: 1 measures along x, 0 along y
    int32_t dimStyleId = 0;
    mmText label;
    mmPolyline arrow1, arrow2;      // terminators at P3 and P2, three points each
    mmPolyline extLine1, extLine2;  // ordinates: extLine1 is a leader piece
    mmPolyline dimLine;             // ordinates: a leader piece
    mmPolyline leaderLine;          // ordinates only: the third leader piece
    mmPointObj mark1, mark2;        // dots at P0 and P1
    Vector3D direction;             // unit direction of the extension lines of the last build
    std::u16string blockName;       // "*D" followed by the id
    double arrowSize = 0.0;
    double extLineOffset = 0.0;
    double extLineExtension = 0.0;
    double textGap = 0.0;
    double textHeight = 0.0;
    int16_t arrowKind = 0;
    double measurementScale = 1.0;

    mmDimension() { type = kTypeDimension; }

    // Five points, three on each terminator, two on each line, one on each mark, all (0, 0);
    // marks drawn as dots; every part on layer 0, by layer.
    void InitParts();
    // The label of a new dimension: text "0.0" at (0, 0) with the style's text height.
    void InitLabel(const mmGlyphTablePtr& glyphs);
    // Recomputes the measurement, the label and every part from the definition points and the
    // style values (the label laid out with the given table; null keeps its own). Types other
    // than rotated, aligned and ordinate change nothing. Always true. Grips and extents are the
    // caller's to update.
    bool BuildDimension(const mmGlyphTablePtr& glyphs);
    // Rotated, aligned, radius and ordinate dimensions are built; the others show nothing.
    bool IsBuiltType() const;
    // False when the last build measured no finite distance: the dimension then shows nothing,
    // is neither picked nor crossed, and has empty extents.
    bool Measured() const { return measured_; }
    bool ShowsBlock() const { return !blockEntities.empty(); }
    // blockEntities := copies of the entities (erased ones left out) moved by (dx, dy), points as
    // dots; extents updated.
    void ShowBlock(const mmEntityList& entities, double dx, double dy);
    // The label's text for a measurement: the text override with "<>" replaced by it.
    std::string LabelText(const std::string& measurement) const;

    void SetStyleValues(const mmDimStyleValues& values);
    mmDimStyleValues StyleValues() const;
    // blockName := "*D" followed by the id.
    void SetBlockNameFromId();
    static std::u16string BlockNameFor(int32_t id);

    // Moves the definition points, the points and every part (a block base point, a reference's
    // transform); the label keeps its height and rotation.
    template <class Map>
    void MapGeometry(const Map& map);

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    void SetColor(uint32_t newColor, int32_t newColorIndex, const mmGlyphTable* glyphs) override;
    // The copy keeps the id and is named "*D" followed by it.
    void CopyFrom(const mmObject& from) override;

    // The parts that are drawn, picked and crossed, in drawing order (terminators included).
    template <class Visit>
    void ForEachDrawnLine(Visit&& visit);

private:
    bool measured_ = true;

    void MeasureLinear(Vector3D& m, Vector3D& e);
    void PlaceLabel(const Vector3D& m, const Vector3D& e, const mmGlyphTablePtr& glyphs);
    void BuildTerminators(const Vector3D& m);
    void BuildRadius(const mmGlyphTablePtr& glyphs);
    void DrawTerminators(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                         int primitive, const mmShift& shift);
};

template <class Map>
void mmDimension::MapGeometry(const Map& map) {
    auto move = [&](mmVertex& v) { map(v.x, v.y); };
    for (mmVertex& v : defPoints) move(v);
    move(arcPoint);
    move(arcLocation);
    for (mmVertex& v : points) move(v);
    for (mmVertex& v : grips) move(v);
    for (mmObject* part : std::initializer_list<mmObject*>{&arrow1, &arrow2, &extLine1, &extLine2,
                                                           &dimLine, &leaderLine, &mark1, &mark2}) {
        for (mmVertex& v : part->points) move(v);
        part->UpdateGrips();
        part->UpdateExtents();
    }
    if (!label.points.empty()) {
        double x = label.points[0].x, y = label.points[0].y;
        map(x, y);
        label.SetInsertionPoint(x, y);
    }
}

template <class Visit>
void mmDimension::ForEachDrawnLine(Visit&& visit) {
    if (!IsBuiltType()) return;
    if (dimType == kDimRadius) {
        visit(arrow2);
        visit(dimLine);
        return;
    }
    if (dimType == kDimOrdinate) {
        visit(dimLine);
        visit(leaderLine);
        visit(extLine1);
        return;
    }
    visit(arrow1);
    visit(arrow2);
    visit(extLine1);
    visit(extLine2);
    visit(dimLine);
}

// The anonymous blocks saved with the dimensions: for every dimension of the list (erased ones
// included), in list order, a block named by its blockName ("*D" and the id when it has none),
// flags 1, base point (0, 0), holding copies of the parts the dimension draws. A name the table
// already has is not added again; when that block is anonymous and the dimension not erased, the
// block takes the dimension's current geometry. New blocks take their ids from nextBlockId
// (passing over ids in use). Returns the number of blocks added.
int MakeDimensionBlock(const mmEntityList& entities, mmBlockTable& blocks, int32_t& nextBlockId);
