// mmObject: the base of every drawing entity, with the common fields, the virtual interface
// through which entities are drawn, picked, snapped and selected, and the type codes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "entities/Vertex.h"

class mmDrawContext;
class mmGlyphTable;
struct mmSnapInfo;
struct mmViewMatrices;

enum mmEntityType : int32_t {
    kTypeObject = 10000,
    kTypePolyline = 10101,
    kTypeCircle = 10111,
    kTypeArc = 10121,
    kTypePoint = 10131,
    kTypeLine = 10141,
    kTypeSpline = 10151,
    kTypeEllipse = 10161,
    kTypeSolid = 10171,  // SOLID and TRACE
    kType3dFace = 10181,
    kTypeXLine = 10191,  // XLINE and RAY
    kTypeRasterImage = 10201,
    kTypeBlockRef = 10301,
    kTypeHatch = 10401,
    kTypeText = 10501,
    kTypeMText = 10511,
    kTypeAttributeDef = 10521,
    kTypeAttribute = 10531,
    kTypeViewport = 10601,
    kTypeDimension = 10701,
    kTypeLeader = 10711,
};

// Colour index meanings besides the palette indices 1 to 255.
inline constexpr int32_t kColorByBlock = 0;
inline constexpr int32_t kColorByLayer = 256;
inline constexpr int32_t kLineWidthByLayer = -1;
// Linetype ids besides those of the drawing's linetype table (which start at 1).
inline constexpr int32_t kLineTypeContinuous = 0;
inline constexpr int32_t kLineTypeByLayer = -1;
inline constexpr int32_t kLineTypeByBlock = -2;

class mmObject;

// Told when the extents of an entity it watches change: the spatial index of the space that holds
// the entity. slot is the number the watcher gave the entity when it began watching.
class mmExtentsWatcher {
public:
    virtual void ExtentsChanged(int32_t slot) = 0;

protected:
    ~mmExtentsWatcher() = default;
};

using mmObjectPtr = std::shared_ptr<mmObject>;
using mmEntityList = std::vector<mmObjectPtr>;

// The 32x32 polygon stipple of the highlighted look of filled geometry: rows alternating between
// 0x77 and 0xDD bytes. Every entity points at this one pattern; nothing changes it.
const uint8_t* DefaultHighlightStipple();

class mmObject {
public:
    int32_t id = -1;  // negative: not in any list
    std::vector<mmVertex> points;
    std::vector<mmVertex> grips;
    bool selected = false;
    bool visible = true;
    int32_t layerId = 0;
    uint32_t color = 0;  // 0x00BBGGRR
    int32_t colorIndex = kColorByLayer;
    int32_t lineWidth = 1;
    int32_t lineWidthSource = kLineWidthByLayer;
    int32_t type = kTypeObject;
    // Kept current by UpdateExtents. Read-only: every change goes through SetExtents, which tells
    // the watcher.
    const mmRect& extents = extents_;
    const uint8_t* highlightStipple = DefaultHighlightStipple();
    bool erased = false;
    // The linetype a file gave the entity (lines are drawn solid); kept for saving.
    int32_t lineType = kLineTypeByLayer;

    mmObject() = default;
    virtual ~mmObject() = default;
    mmObject(const mmObject&) = delete;
    mmObject& operator=(const mmObject&) = delete;

    int32_t pointCount() const { return static_cast<int32_t>(points.size()); }
    int32_t gripCount() const { return static_cast<int32_t>(grips.size()); }

    // Virtual operations, in slot order.
    virtual void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                      int primitive, const mmShift& shift, bool cull);
    virtual bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                         float pixelsPerUnit, const mmShift& shift, bool cull);
    virtual bool Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                      mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                      const mmShift& shift, bool cull);
    virtual void SetSelected(bool on, int& delta);
    virtual bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull);
    virtual void UpdateGrips();
    virtual void UpdateExtents();
    virtual void ApplyOriginOffset(double offsetX, double offsetY);
    virtual void SetColor(uint32_t newColor, int32_t newColorIndex, const mmGlyphTable* glyphs);

    // The class's own fields are copied by its override; the base copies properties, points and
    // grips, then updates the extents.
    virtual void CopyFrom(const mmObject& from);

    void SetExtents(const mmRect& r);
    // The watcher is told of every change of the extents from now on (null: none is).
    void WatchExtents(mmExtentsWatcher* watcher, int32_t slot) {
        watcher_ = watcher;
        watchSlot_ = slot;
    }
    const mmExtentsWatcher* ExtentsWatcher() const { return watcher_; }

    void AddPoint(double x, double y);
    void CopyProperties(const mmObject& from);

    // The common extents: the bounding box of the points (inverted when there are none).
    void UpdateExtentsFromPoints();
    // True when the extents, shifted for culling, miss the rectangle (touching overlaps). Never
    // for construction lines and rays, which reach everywhere.
    bool CulledBy(const mmRect& rect, const mmShift& shift) const;

protected:
    void CopyPointsAndGrips(const mmObject& from);
    // One grip at each point (keeping the grips' flags where the count stays).
    void GripsAtPoints();
    // The grip snap shared by classes without a snap of their own. widenedRect false accepts
    // a grip only inside the view rectangle itself (polylines).
    bool SnapToGrips(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                     mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                     const mmShift& shift, bool cull);

private:
    mmRect extents_;
    mmExtentsWatcher* watcher_ = nullptr;
    int32_t watchSlot_ = -1;
};

// Overwrites grip i in place (keeping its flags), or appends it when the list is shorter.
inline void SetGripAt(std::vector<mmVertex>& grips, std::size_t i, double x, double y) {
    if (i < grips.size()) {
        grips[i].x = x;
        grips[i].y = y;
    } else {
        grips.resize(i + 1);
        grips[i] = mmVertex(x, y);
    }
}

// Drawing helpers shared by the entity classes.
// Dashed white highlight bracket around open geometry (skipped when the caller owns the primitive).
void BeginHighlight(mmDrawContext& dc, int primitive);
void EndHighlight(mmDrawContext& dc, int primitive);
// Grip squares of fixed pixel size: from (-5, -5) to (halfPlus, halfPlus) pixels.
inline constexpr int kGripSquareLarge = 6;  // 11-pixel squares: lines, polylines, references
inline constexpr int kGripSquareSmall = 5;  // 10-pixel squares: circles and arcs
void DrawGripSquare(mmDrawContext& dc, const mmVertex& grip, double dx, double dy,
                    float pixelsPerUnit, int upper);
// All grips in the normal colour, then the hovered one green and the hot one red on top.
void DrawGripList(mmDrawContext& dc, const std::vector<mmVertex>& grips, double dx, double dy,
                  float pixelsPerUnit, int upper);
void SetGripColor(mmDrawContext& dc, const mmVertex& grip);
// Draws entities another one holds (a reference's children, a dimension's block) in their own
// colours (white shown black) and widths, those coloured by block in byBlockColor; erased and
// hidden ones are left out. They are culled against *view when one is given, else not at all.
void DrawHeldEntities(mmDrawContext& dc, const mmEntityList& entities, int mode,
                      float pixelsPerUnit, int primitive, const mmShift& shift,
                      uint32_t byBlockColor, const mmRect* view = nullptr);

// On screen, an entity whose extents are smaller than the context's detail size both ways is
// drawn as a dot at their middle (true); false when it is to be drawn in full.
bool DrawAsDot(mmDrawContext& dc, const mmObject& entity, float pixelsPerUnit,
               const mmShift& shift);

// Copy of source of its own class appended to target, with the same id, not selected.
// Returns the clone (null for an unknown type).
mmObjectPtr CloneEntity(const mmObject& source, mmEntityList& target);
// target := copy of source when both have the same type.
bool AssignEntity(const mmObject& source, mmObject& target);
// A new, empty entity of the class of a type code; null for an unknown code.
mmObjectPtr CreateEntityOfType(int32_t type);
