// DxfEntityLoader: reads the entities of the ENTITIES section or of one block, converts each
// into the program's entity class with the common properties, and adds it to its target.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "entities/GlyphTable.h"
#include "entities/Object.h"
#include "fileio/ReferencePool.h"
#include "fileio/dxf/DxfEntityRecords.h"
#include "fileio/dxf/DxfNameIndex.h"

class DxfLayout;
class DxfReader;
class HeapGrowthHint;
class mmBlock;
class mmBlockRef;
class mmDimension;
class mmDrawing;
class mmGlyphTable;
class mmOcs;
class mmText;
struct mmSpace;

// Entity counts by entity name.
using DxfEntityCounts = std::map<std::string, int64_t, std::less<>>;

// What a load left out: entity names and how many of each were dropped.
struct DxfLoadReport {
    DxfEntityCounts dropped;
    // Entities shown only approximately (texts of a mirrored plane, shapes of a tilted one), by
    // entity name.
    DxfEntityCounts approximated;
    std::string problem;          // why the file is not read at all (see DxfFileProblem)
    int64_t textsCut = 0;         // multi-line texts beyond kDxfMTextRawLimit
    std::string unknownCodePage;  // a $DWGCODEPAGE we cannot convert (read as Windows-1252)
    int64_t unexpanded = 0;       // references kept without their contents (DxfLoadLimits)
    int64_t patternsOutlined = 0;  // pattern hatches too dense to draw, shown by their boundary
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
    // The entities of a block of paper space, viewports included, into a block that holds them
    // for their layout. The viewports of a layout other than the active one are kept whatever
    // their status, but for the first, which is the layout's own paper viewport.
    void loadPaperEntities(mmBlock& block, bool activeLayout);

    // To be called when layers were added after entities were read.
    void forgetLayers() {
        layerIds_.clear();
        lastLayerValid_ = false;
    }
    // The names of the tables as the load goes: what the loader adds to the tables goes here.
    DxfNameIndex& names() { return names_; }
    // Steps over the entities of the current block up to its ENDBLK, counting each as dropped
    // (the contents of layouts other than the one read).
    void skipEntities();
    // After the blocks: the references in blocks to blocks defined later in the file take their
    // contents (those to blocks that are not there, or that wait on each other, are dropped).
    void resolveForwardReferences();

    // A block of the file's dimensions (named "*D..."), shown by the dimensions that name it.
    void keepDimensionBlock(std::string_view name, std::shared_ptr<mmBlock> block);
    // After the BLOCKS section: dimensions in blocks that named a dimension block read after them
    // get it now.
    void attachPendingDimensions();

private:
    struct Target {
        DxfLayout* layout = nullptr;
        mmBlock* block = nullptr;
        bool moveToBase = false;
        bool paper = false;  // the block holds a layout's paper space
        bool otherLayout = false;  // of a layout other than the active one
        bool viewportSeen = false;
    };
    // A reference in a block to a block not read yet, kept empty until the blocks are read.
    struct ForwardReference {
        mmBlock* owner = nullptr;
        std::shared_ptr<mmBlockRef> reference;
        std::u16string name;
        double scaleX = 1.0, scaleY = 1.0, rotation = 0.0;
    };
    using EntityReader = bool (DxfEntityLoader::*)();

    void load(const Target& target);
    // True when the current group ends the list being read (and does what the end does).
    bool atListEnd();
    static EntityReader readerFor(std::string_view name);
    void dropped(std::string_view name);
    // Counts the entity as shown approximately when its plane makes it so.
    void noteApproximation(const mmOcs& ocs, std::string_view name, int32_t type, bool curved);
    mmOcs plane() const;

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
    // Ellipses, solids and traces, 3D faces, leaders, construction lines and rays, attribute
    // definitions (DxfEntityLoaderShapes.cpp).
    bool readEllipse();
    bool readSolid();
    bool read3dFace();
    bool readLeader();
    bool readXLine();
    bool readAttributeDef();
    // Types read into a record first, then made into their entity (DxfEntityLoaderRecords.cpp).
    bool readPolyline();
    bool readLwPolyline();
    bool readText();
    bool readMText();
    bool readSpline();
    bool readHatch();
    // Block references with their attributes, and dimensions (DxfEntityLoaderReferences.cpp).
    bool readInsert();
    // The ATTRIBs after an INSERT, as its children, and their SEQEND.
    bool readAttributes(mmBlockRef* reference, const mmVertex& insertion, bool more);
    bool readDimension() { return readDimensionOf(-1); }
    bool readArcDimension();
    // A DIMENSION (type from its 70), or with type >= 0 an entity of that dimension type.
    bool readDimensionOf(int16_t type);
    // A viewport of paper space; dropped elsewhere.
    bool readViewport();

    // The polyline of the record, in the plan; polygon and polyface meshes are dropped.
    void finishPolyline(std::string_view name);
    BlockSize blockSize(const mmBlock& block);
    // The reference takes the block's contents (or is kept without them past the bounds).
    void instantiate(mmBlockRef& reference, const mmBlock& block);
    // Takes a forward reference's block now; false while that block waits on references itself.
    bool resolve(const ForwardReference& forward);
    void dropForward(const ForwardReference& forward);
    // The text's string, height, rotation, points (and for a single line its width factor,
    // oblique angle and justification, in the plan), laid out once.
    void fillText(mmText& text, const DxfTextRecord& record, bool singleLine) const;
    // An ATTRIB (or, with definition, an ATTDEF) of the attribute record, laid out.
    mmObjectPtr attributeOf(bool definition);

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
    std::string entityName_;  // of the entity being read
    // Kept between entities for their buffers.
    DxfPolylineRecord polyline_;
    DxfTextRecord text_;
    DxfAttributeRecord attribute_;
    DxfNameIndex names_;
    std::map<std::string, int32_t, std::less<>> layerIds_;  // group 8 as read -> layer id
    std::map<const mmBlock*, BlockSize> blockSizes_;
    std::vector<ForwardReference> forward_;
    std::map<const mmBlock*, int> forwardOwners_;  // blocks holding forward references, how many
    std::map<std::string, std::shared_ptr<mmBlock>, std::less<>> dimensionBlocks_;
    struct PendingDimension {
        std::weak_ptr<mmDimension> dimension;
        std::string blockName;
        double dx = 0.0, dy = 0.0;  // besides the block's own base and the insertion point
    };
    std::vector<PendingDimension> pendingDimensions_;
    DxfLoadLimits limits_;
    int64_t copied_ = 0;  // block entities copied into references so far
    mmReferencePool pool_;  // children of references read, shared by those read alike
    std::string lastLayerName_;
    int32_t lastLayerId_ = 0;
    bool lastLayerValid_ = false;
    std::string lastLineTypeName_;
    int32_t lastLineTypeId_ = kLineTypeByLayer;
};
