// mmDrawing: the drawing database. Model space (entity list, id index, block table, selection),
// the layer and dimension style tables, the id counters and the undo history.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "drawing/DimStyle.h"
#include "drawing/EntityIndex.h"
#include "drawing/Layer.h"
#include "drawing/LineType.h"
#include "drawing/SpatialIndex.h"
#include "drawing/UndoStep.h"
#include "entities/Block.h"
#include "entities/Object.h"

// Told when the selection set changes (the properties panel).
class mmSelectionObserver {
public:
    virtual ~mmSelectionObserver() = default;
    virtual void SelectionChanged(int count) = 0;
};

struct mmSelectionSet {
    int32_t count = 0;
    int32_t flag = 1;
    std::set<int32_t> ids;
    mmSelectionObserver* observer = nullptr;

    void Clear() {
        count = 0;
        flag = 1;
        ids.clear();
        if (observer) observer->SelectionChanged(0);
    }
};

uint64_t NextSpaceSerial();

// A set of entities edited together: model space, or the paper space of one layout.
struct mmSpace {
    mmEntityIndex entityIndex;
    mmEntityList entities;  // drawing order
    std::map<int32_t, mmBlockPtr> blocks;
    mmSelectionSet selection;
    int32_t nextEntityId = 0;
    // The boxes of the entities by position; follows appends and extents changes by itself.
    // Whoever reorders or replaces the list calls ReindexSpace.
    mmSpatialIndex spatialIndex;
    // Distinct for every space the process makes: undo steps name the space they belong to.
    const uint64_t serial = NextSpaceSerial();

    mmSpace() = default;
    mmSpace(const mmSpace&) = delete;
    mmSpace& operator=(const mmSpace&) = delete;
    ~mmSpace() { spatialIndex.Clear(entities); }
};

inline constexpr int kUndoSlots = 100;

// A drawing setting a file gave as a header variable (units, limits, linetype scale, point
// style ...) that the program does not use but a save writes back: its name ("$LTSCALE") and its
// groups (code and value text).
struct mmFileVariable {
    std::string name;
    std::vector<std::pair<int32_t, std::string>> groups;
};

class mmDrawing : public mmSpace {
public:
    std::map<int32_t, mmLayer> layers;
    std::map<int32_t, DimStyle> dimStyles;
    // Linetypes other than the fixed ones (ByLayer, ByBlock, Continuous), from kFirstLineTypeId.
    std::map<int32_t, mmLineType> lineTypes;
    int32_t nextLineTypeId = kFirstLineTypeId;
    std::vector<mmFileVariable> fileVariables;
    int32_t nextBlockId = 0;
    int32_t nextLayerId = 0;
    int32_t currentLayerId = 0;
    int32_t nextDimStyleId = 0;
    int32_t currentDimStyleId = 0;

    // Undo history: a ring of steps with the next slot, the stored and the redoable steps.
    std::array<std::shared_ptr<mmUndoStep>, kUndoSlots> undoSlots;
    int32_t undoNext = 0;
    int32_t undoCount = 0;
    int32_t redoCount = 0;

    // The largest raster tile edge in texels that the view's GL context takes, for the images
    // inserted.
    int32_t rasterTileLimit = 512;

    // The paper space of the active layout when the active view is a layout in paper mode;
    // null otherwise. Set by the view layer.
    mmSpace* activePaperSpace = nullptr;

    mmSpace& ModelSpace() { return *this; }
    const mmSpace& ModelSpace() const { return *this; }
    // Where new entities and blocks go.
    mmSpace& TargetSpace() { return activePaperSpace ? *activePaperSpace : ModelSpace(); }

    const mmLayer* FindLayer(int32_t layerId) const;
    mmLayer* FindLayer(int32_t layerId);
    // The layer whose name equals the given one ignoring case; null when none does.
    const mmLayer* FindLayerByName(std::u16string_view name) const;
    // The name of a linetype id: a fixed one's, a table entry's, or empty for an unknown id.
    std::u16string_view LineTypeName(int32_t lineTypeId) const;
};

// Appends an entity with a non-negative id to the target space of the drawing and indexes it
// (an id already indexed keeps its old position). The caller advances the space's id counter.
// Returns false when nothing was added.
bool AddEntity(mmDrawing& drawing, const mmObjectPtr& entity);
bool AddEntity(mmSpace& space, const mmObjectPtr& entity);
// Inserts a block with a non-negative id into the block table of the target space (an existing
// id stays as it is).
bool AddBlock(mmDrawing& drawing, const mmBlockPtr& block);
bool AddBlock(mmSpace& space, const mmBlockPtr& block);
mmObjectPtr FindEntity(const mmSpace& space, int32_t id);

// Moves the entities, blocks, selection and id counter of from into into (whose own are dropped),
// keeping into's selection observer; both spatial indexes follow.
void TakeSpaceContents(mmSpace& into, mmSpace& from);
// Rebuilds the id index of a space from its list, and the spatial index at its next query (after
// a reorder). An id listed more than once refers to its first entry that is not erased, or to its
// first entry when all are.
void ReindexSpace(mmSpace& space);
// Appends to out, in list order, the positions of the entities whose stored geometry or grips may
// touch the rectangle (stored coordinates). Every entity a culled test against the rectangle can
// pass is among them.
void EntitiesNear(mmSpace& space, const mmRect& rect, std::vector<int32_t>& out);
// Brings the spatial index up to date now: after a file was read, so that the first search is as
// quick as any other.
void UpdateSpatialIndex(mmSpace& space);

// Empties the tables, the model space and the selection, and zeroes every counter.
void ResetDrawing(mmDrawing& drawing);
// Adds what every new or opened drawing starts with: the dimension style "Standard" and the
// layer "0", both with id 0.
void FillNewDrawing(mmDrawing& drawing);
