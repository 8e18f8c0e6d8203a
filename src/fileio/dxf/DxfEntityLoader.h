// DxfEntityLoader: reads the entities of the ENTITIES section or of one block, converts each
// into the program's entity class with the common properties, and adds it to its target.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "entities/GlyphTable.h"
#include "entities/Object.h"
#include "fileio/dxf/DxfEntityRecords.h"
#include "fileio/dxf/DxfNameIndex.h"

class DxfLayout;
class DxfReader;
class HeapGrowthHint;
class mmBlock;
class mmDrawing;
class mmGlyphTable;
class mmText;
struct mmSpace;

// What a load left out: entity names and how many of each were dropped.
struct DxfLoadReport {
    std::map<std::string, int64_t, std::less<>> dropped;
    int64_t textsCut = 0;         // multi-line texts beyond kDxfMTextRawLimit
    std::string unknownCodePage;  // a $DWGCODEPAGE we cannot convert (read as Windows-1252)
    int64_t unexpanded = 0;       // references kept without their contents (DxfLoadLimits)
    uint64_t groupsRead = 0;  // by the reader, groups read again after a step back included
};

// A load copies at most mostCopiedEntities block entities into references, and references nest
// at most mostNesting deep: a file cannot make the copies grow beyond memory (blocks of
// references to blocks of references ...). References past either bound are kept without their
// contents.
struct DxfLoadLimits {
    // About 1.5 to 3 GB of copies at the most: a block of a million entities inserted four
    // times.
    int64_t mostCopiedEntities = int64_t{1} << 22;
    int mostNesting = 32;
};

class DxfEntityLoader {
public:
    // Entities a reference to the block copies (nested references' children included) and how
    // deep references nest in it.
    struct BlockSize {
        int64_t entities = 0;
        int depth = 0;
    };

    DxfEntityLoader(DxfReader& reader, mmDrawing& drawing, const mmGlyphTable* glyphs,
                    DxfLoadReport* report, HeapGrowthHint* heapHint = nullptr,
                    const DxfLoadLimits& limits = {});

    // The ENTITIES section, up to its end: model space, or the layout for paper-space entities
    // when one is given.
    void loadEntities(DxfLayout* layout);
    // Entities into a block: the current block's up to its ENDBLK, or (outside BLOCKS) the
    // ENTITIES section's, paper-space ones included. With moveToBase the block's base point is
    // subtracted, so that the entities are relative to it as block entities are kept.
    void loadEntities(mmBlock& block, bool moveToBase);

    // To be called when layers were added after entities were read.
    void forgetLayers() {
        layerIds_.clear();
        lastLayerValid_ = false;
    }
    // The names of the tables as the load goes: what the loader adds to the tables goes here.
    DxfNameIndex& names() { return names_; }

private:
    struct Target {
        DxfLayout* layout = nullptr;
        mmBlock* block = nullptr;
        bool moveToBase = false;
    };
    using EntityReader = bool (DxfEntityLoader::*)();

    void load(const Target& target);
    // True when the current group ends the list being read (and does what the end does).
    bool atListEnd();
    static EntityReader readerFor(std::string_view name);
    void dropped(std::string_view name);

    template <class Body>
    bool readGroups(unsigned headerMask, Body&& body) {
        return readDxfEntityGroups(reader_, header_, headerMask, body);
    }

    // Entity readers: each reads its entity, stops at the next code 0 and returns false when the
    // file ended instead.
    bool readPoint();
    bool readLine();
    bool readCircle();
    bool readArc();
    bool skipEntity();  // a type that is read but not kept (ELLIPSE, SOLID)
    // Types read into a record first, then made into their entity (DxfEntityLoaderRecords.cpp).
    bool readPolyline();
    bool readLwPolyline();
    bool read3dFace();
    bool readText();
    bool readMText();
    bool readSpline();
    bool readHatch();
    // Block references and dimensions (DxfEntityLoaderReferences.cpp).
    bool readInsert();
    bool readDimension();
    // Read but not kept until layouts exist.
    bool readViewport();

    void finishPolyline();
    BlockSize blockSize(const mmBlock& block);
    // The text's string, height, rotation, points (and for a single line its width factor,
    // oblique angle and justification), laid out once.
    void fillText(mmText& text, const DxfTextRecord& record, bool singleLine) const;

    // Common properties, grips and extents; then the entity goes to the target.
    void finish(const mmObjectPtr& entity);
    void applyProperties(mmObject& entity);
    // Id, grips and extents, and the entity goes to the target (a block relative to its base).
    void add(const mmObjectPtr& entity);
    mmSpace& targetSpace();
    int32_t layerIdFor(std::string_view name);
    // By layer for no name and for a name the linetype table lacks.
    int32_t lineTypeIdFor(std::string_view name);

    DxfReader& reader_;
    mmDrawing& drawing_;
    mmGlyphTablePtr glyphs_;  // for the text entities; null lays texts out without outlines
    DxfLoadReport* report_;
    HeapGrowthHint* heapHint_;
    Target target_;
    DxfEntityHeader header_;
    // Kept between entities for their buffers.
    DxfPolylineRecord polyline_;
    DxfTextRecord text_;
    DxfNameIndex names_;
    std::map<std::string, int32_t, std::less<>> layerIds_;  // group 8 as read -> layer id
    std::map<const mmBlock*, BlockSize> blockSizes_;
    DxfLoadLimits limits_;
    int64_t copied_ = 0;  // block entities copied into references so far
    std::string lastLayerName_;
    int32_t lastLayerId_ = 0;
    bool lastLayerValid_ = false;
    std::string lastLineTypeName_;
    int32_t lastLineTypeId_ = kLineTypeByLayer;
};
