// mmText: a single line of Unicode text (UTF-8, with its %% codes as written) drawn with filled
// glyph outlines of the shared glyph cache, at a height (that of a capital A), a width factor, an
// oblique angle and a rotation, placed by its justification: left on the baseline at the
// insertion point, or centred, right, middle, bottom or top at the alignment point, or aligned or
// fitted between the two points. The geometry is laid out without GL; the glyphs are placed by
// the text's transform each time it is drawn, and a text too small to read is drawn as a line.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "entities/GlyphTable.h"
#include "entities/Object.h"

// Horizontal justification (DXF group 72) and vertical justification (73).
enum mmTextHorizontal : int16_t {
    kTextLeft = 0,
    kTextCenter = 1,
    kTextRight = 2,
    kTextAligned = 3,
    kTextMiddle = 4,
    kTextFit = 5,
};
enum mmTextVertical : int16_t {
    kTextBaseline = 0,
    kTextBottom = 1,
    kTextVerticalMiddle = 2,
    kTextTop = 3,
};

// Texts whose capital A is lower than this on screen are drawn as a line along their middle.
inline constexpr double kTextGreekPixels = 2.0;

// One line of what a text shows, placed in the text's own frame: x along the baseline from the
// start of its ink, y up, before the rotation.
struct mmTextLine {
    std::string_view shown;  // UTF-8, codes decoded
    double x = 0.0;          // where its first character's ink starts
    double y = 0.0;          // its baseline
    double width = 0.0;      // from its ink start to its ink end (or last advance)
};

class mmText : public mmObject {
public:
    std::string text;       // as written: UTF-8, codes included
    double height = 1.0;    // height of a capital A in drawing units
    double rotation = 0.0;  // degrees about the insertion (or alignment) point
    double widthFactor = 1.0;
    double oblique = 0.0;  // degrees the characters lean right of the vertical
    int16_t horizontal = kTextLeft;
    int16_t vertical = kTextBaseline;
    // The first character's glyph origin, scaled: its ink starts at the start of the line.
    double offsetX = 0.0;
    double offsetY = 0.0;
    double advance = 0.0;  // total advance of the first line along the baseline
    // Bounding box of the glyphs (and pen positions) relative to DrawOrigin.
    mmRect box;
    // The table the geometry was laid out with; picking and drawing use it.
    mmGlyphTablePtr glyphs;

    mmText() { type = kTypeText; }

    // The operations taking a glyph table keep the current one when given null.
    // Height 1, rotation 0, the string, an insertion point at (0, 0) unless there is one.
    void CreateText(std::string_view string, mmGlyphTablePtr table);
    // Overwrites point 0 and grip 0, or appends them.
    void SetInsertionPoint(double x, double y);
    // Point 1: the point a justified text is placed by (the second point of aligned and fitted
    // texts). Added after the insertion point when missing.
    void SetAlignmentPoint(double x, double y);
    // The whole string (UTF-8).
    void SetString(std::string_view string, mmGlyphTablePtr table);
    // False (and nothing changes) for a value that is not a finite number (or a width factor
    // that is not positive, an oblique angle of 85 degrees or more either way).
    bool SetHeight(double h, mmGlyphTablePtr table);
    bool SetRotation(double degrees, mmGlyphTablePtr table);
    bool SetWidthFactor(double factor, mmGlyphTablePtr table);
    bool SetOblique(double degrees, mmGlyphTablePtr table);
    // Values outside 0 to 5 and 0 to 3 are taken as left and baseline.
    void SetJustification(int horizontalCode, int verticalCode, mmGlyphTablePtr table);
    // Lays the text out again (after a colour, string or table change).
    void Rebuild(mmGlyphTablePtr table);

    std::string_view String() const { return text; }
    // The string the text shows (codes included): its own, or what a subclass shows instead.
    virtual std::string_view ShownString() const { return text; }
    // Placed by the alignment point rather than the insertion point.
    bool Justified() const { return horizontal != kTextLeft || vertical != kTextBaseline; }
    // The point the text's frame is placed at and turned about.
    virtual mmVertex DrawOrigin() const;
    // The rotation as drawn: aligned and fitted texts follow their two points.
    double DrawRotation() const;
    // What the text shows, line by line, in its own frame.
    virtual void VisitLines(const std::function<void(const mmTextLine&)>& visit) const;

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    void SetColor(uint32_t newColor, int32_t newColorIndex, const mmGlyphTable* table) override;
    void CopyFrom(const mmObject& from) override;

    // The glyph geometry as drawn: pale outlines, then the fill (normal look) or the white
    // stippled fill (highlighted look), relative to DrawOrigin.
    void EmitGlyphs(mmDrawContext& dc, int mode) const;

protected:
    void CopyTextFields(const mmText& from);
    // Scale of font units to drawing units along and across the baseline.
    double ScaleX() const;
    double ScaleY() const;
    // The natural width and the start of the ink of a shown line, at the text's own scale.
    void MeasureLine(std::string_view shown, double& width, double& inkStart,
                     double& advanceSum) const;
    virtual void LayoutLines();

private:
    void Layout();
    void EmitFill(mmDrawContext& dc) const;
    void EmitGreeked(mmDrawContext& dc, double ox, double oy) const;
    // The outline of the box, placed at (ox, oy).
    void EmitBox(mmDrawContext& dc, double ox, double oy) const;
    template <class Visitor>
    bool VisitOutlines(Visitor& visitor) const;

    // The single line's place in the text's frame.
    double lineX_ = 0.0, lineY_ = 0.0, lineWidth_ = 0.0;
    // Aligned and fitted texts stretch to their two points.
    double stretchX_ = 1.0, stretchY_ = 1.0;
    bool hasOutlines_ = false;
};
