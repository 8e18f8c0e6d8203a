// DxfEntityLoader: reads the entities of the ENTITIES section or of one block, converts each
// into the program's entity class with the common properties, and adds it to its target.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "entities/Object.h"

class DxfLayout;
class DxfReader;
class HeapGrowthHint;
class mmBlock;
class mmDrawing;
class mmGlyphTable;

// What a load left out: entity names and how many of each were dropped.
struct DxfLoadReport {
    std::map<std::string, int64_t, std::less<>> dropped;
};

// Filled for every entity before its own data; cleared to these defaults first.
struct DxfEntityHeader {
    std::string layer;           // 8
    std::string lineType;        // 6
    int32_t color = 256;         // 62
    double thickness = 0.0;      // 39
    double lineTypeScale = 1.0;  // 48
    bool paperSpace = false;     // 67

    void clear() {
        layer.clear();
        lineType.clear();
        color = 256;
        thickness = 0.0;
        lineTypeScale = 1.0;
        paperSpace = false;
    }
};

class DxfEntityLoader {
public:
    DxfEntityLoader(DxfReader& reader, mmDrawing& drawing, const mmGlyphTable* glyphs,
                    DxfLoadReport* report, HeapGrowthHint* heapHint = nullptr);

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

    // The header groups an entity type stores (the others are ignored).
    enum HeaderGroups : unsigned {
        kLayer = 1,
        kLineType = 2,
        kColor = 4,
        kThickness = 8,
        kLineTypeScale = 16,
        kPaper = 32,
        kAllHeader = 63,
    };

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

    // Reads the groups of one entity up to the next code 0, the header groups of the mask into
    // header_, all others through body(code). False when the file ended first.
    template <class Body>
    bool readGroups(unsigned headerMask, Body&& body);
    bool readHeaderGroup(int32_t code, unsigned mask);

    // Entity readers: each reads its entity, stops at the next code 0 and returns false when the
    // file ended instead.
    bool readPoint();
    bool readLine();
    bool readCircle();
    bool readArc();
    bool skipEntity();  // a type that is read but not kept (ELLIPSE, SOLID)

    // Common properties, grips and extents; then the entity goes to the target.
    void finish(const mmObjectPtr& entity);
    int32_t layerIdFor(std::string_view name);

    DxfReader& reader_;
    mmDrawing& drawing_;
    [[maybe_unused]] const mmGlyphTable* glyphs_;  // for the text entities
    DxfLoadReport* report_;
    HeapGrowthHint* heapHint_;
    Target target_;
    DxfEntityHeader header_;
    std::map<std::string, int32_t, std::less<>> layerIds_;  // group 8 as read -> layer id
    std::string lastLayerName_;
    int32_t lastLayerId_ = 0;
    bool lastLayerValid_ = false;
};
