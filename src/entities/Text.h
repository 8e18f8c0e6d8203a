// mmText: a single line of 8-bit characters drawn with filled glyph outlines of the glyph table,
// at a height (that of a capital A) and a rotation about the insertion point. The geometry is laid
// out without GL; two display lists (normal and highlighted look) are compiled in the drawing
// context when first needed there and given back to it when the text changes or dies.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "entities/GlyphTable.h"
#include "entities/Object.h"

struct mmDisplayListSpace;

// Size of the text field, terminating zero included: strings keep at most 259 bytes.
inline constexpr std::size_t kTextCapacity = 260;

class mmText : public mmObject {
public:
    // First of two consecutive display lists: normal look, then highlighted; 0 when none.
    uint32_t displayLists = 0;
    char text[kTextCapacity] = {};
    double height = 1.0;    // height of a capital A in drawing units
    double rotation = 0.0;  // degrees about the insertion point
    // The first character's glyph origin, scaled: its ink starts at the insertion point.
    double offsetX = 0.0;
    double offsetY = 0.0;
    double advance = 0.0;  // total advance along the baseline
    // Bounding box of the glyphs (and pen positions) relative to the insertion point.
    mmRect box;
    // The table the geometry was laid out with; picking and compiling use it.
    mmGlyphTablePtr glyphs;

    mmText() { type = kTypeText; }
    ~mmText() override;

    // The operations taking a glyph table keep the current one when given null.
    // Height 1, rotation 0, the string, an insertion point at (0, 0) unless there is one.
    void CreateText(std::string_view string, mmGlyphTablePtr table);
    // Overwrites point 0 and grip 0, or appends them.
    void SetInsertionPoint(double x, double y);
    // Copies at most 259 bytes, up to the first zero byte.
    void SetString(std::string_view string, mmGlyphTablePtr table);
    // False (and nothing changes) for a height or angle that is not a finite number.
    bool SetHeight(double h, mmGlyphTablePtr table);
    bool SetRotation(double degrees, mmGlyphTablePtr table);
    // Lays the text out again and drops the compiled lists (after a colour, context or table
    // change); the next Draw compiles them.
    void Rebuild(mmGlyphTablePtr table);

    std::string_view String() const { return text; }
    // The insertion point as drawn: a multi-line text moves it by its attachment.
    virtual mmVertex DrawOrigin() const;
    // True when the display lists are compiled and belong to dc.
    bool HasListsIn(const mmDrawContext& dc) const;

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    void SetColor(uint32_t newColor, int32_t newColorIndex, const mmGlyphTable* table) override;
    void CopyFrom(const mmObject& from) override;

protected:
    void CopyTextFields(const mmText& from);

private:
    double Scale() const;
    void Layout();
    bool Compile(mmDrawContext& dc);
    void EmitFill(mmDrawContext& dc) const;
    void ReleaseLists();
    template <class Visitor>
    bool VisitOutlines(Visitor& visitor) const;

    std::weak_ptr<mmDisplayListSpace> listSpace_;
    bool hasOutlines_ = false;
};
