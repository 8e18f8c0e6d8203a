// DwgConverter: turns the bridge's decoded drawing into the program's tables and entities: the
// dimension styles, the layers, the named blocks with their entities and the model-space (and
// paper-space) entities, each entity type by a conversion function of its own.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "entities/GlyphTable.h"
#include "entities/Object.h"
#include "fileio/ReferencePool.h"
#include "fileio/dwg/DwgJson.h"
#include "fileio/dxf/DxfEntityLoader.h"
#include "fileio/dxf/DxfLayout.h"

class mmBlock;
class mmBlockRef;
class mmDimension;
class mmDrawing;
class mmOcs;
class mmText;
struct mmLayer;
struct mmSpace;

class DwgConverter {
public:
    // Entities go into drawing (a scratch drawing the caller swaps in); paper-space entities into
    // paper when it is given, else they are left out.
    DwgConverter(mmDrawing& drawing, const mmGlyphTable* glyphs, mmSpace* paper,
                 const DxfLoadLimits& limits = {});

    // Tables first, so that the entities find their layers, styles and blocks. With
    // replaceDefaults (an opened drawing), the styles the drawing starts with take the values of
    // the file's style of the same name.
    void convertDimStyles(const DwgJson& list, bool replaceDefaults = false);
    void convertLayers(const DwgJson& list);
    // The named and anonymous blocks (an anonymous name the drawing has is replaced by a free
    // one); a block is kept only when it received an entity. The contents of the blocks of other
    // layouts are counted as not imported.
    void convertBlocks(const DwgJson& list);
    // A visible entity of the drawing's entity list: a model-space one into model space, or into
    // xref when given (a paper-space one is then left out).
    void convertSpaceEntity(const DwgJson& e, mmBlock* xref = nullptr);
    // The paper-space layouts (DwgLayouts.cpp): the entities of those other than the active one
    // into the paper spaces layout adds (counted as not imported when it adds none). Returns the
    // layouts in tab order, the active one with the converter's paper space; none when the file
    // lists none or the converter has no paper space.
    std::vector<DxfLayoutEntry> convertLayouts(const DwgJson& list, DxfLayout* layout);

    // Entities the drawing did not get, and those drawn approximately, by DXF entity name.
    const DxfEntityCounts& notImported() const { return notImported_; }
    const DxfEntityCounts& approximated() const { return approximated_; }
    // Pattern hatches too dense to draw (shown by their boundary).
    int64_t patternsOutlined() const { return patternsOutlined_; }

    // Common properties of an entity from its layer name and colour (also used for the
    // entities a converter makes up, such as a dimension's label).
    void applyProperties(mmObject& entity, const DwgJson& source);

private:
    using Converter = mmObjectPtr (DwgConverter::*)(const DwgJson& e);
    struct Target {
        mmSpace* space = nullptr;
        mmBlock* block = nullptr;  // block entities are kept relative to its base point
        bool paper = false;        // the space is a layout's paper space
    };
    // A block of the file: its entry, the block made for it, and whether its entities are in.
    struct FileBlock {
        const DwgJson* entry = nullptr;
        std::shared_ptr<mmBlock> block;
        enum State { Pending, Converting, Done } state = Pending;
    };

    static Converter converterFor(std::string_view type);
    void convertEntity(const DwgJson& e, const Target& target);
    // A viewport of a paper space; the first of each layout is the layout's own paper viewport
    // and is left out (DwgLayouts.cpp).
    void convertViewport(const DwgJson& e, const Target& target);
    void add(const mmObjectPtr& entity, const Target& target);
    void notImported(std::string_view dwgType, int64_t count = 1);
    // Counts the entity as drawn approximately when its plane makes it so.
    void noteApproximation(const mmOcs& ocs, std::string_view dxfName, int32_t type, bool curved);
    // The attributes of an INSERT as the reference's children (relative to the insertion point
    // at, as the file gives it).
    void addAttributes(const DwgJson& insert, mmBlockRef& reference, const mmVertex& at);
    int32_t layerIdFor(std::string_view name);
    // The block of that name, its entities converted first (the file's own blocks before the
    // drawing's); null when there is none, it is empty, or it is being converted (a cycle).
    std::shared_ptr<mmBlock> blockNamed(std::string_view name);
    void fillBlock(FileBlock& fileBlock);
    DxfEntityLoader::BlockSize blockSize(const mmBlock& block);

    // Conversions by type (DwgCurves.cpp, DwgTexts.cpp, DwgReferences.cpp, DwgHatch.cpp).
    mmObjectPtr convertLine(const DwgJson& e);
    mmObjectPtr convertPoint(const DwgJson& e);
    mmObjectPtr convertCircle(const DwgJson& e);
    mmObjectPtr convertArc(const DwgJson& e);
    mmObjectPtr convertLwPolyline(const DwgJson& e);
    mmObjectPtr convertPolyline2d(const DwgJson& e);
    mmObjectPtr convertPolyline3d(const DwgJson& e);
    mmObjectPtr convert3dFace(const DwgJson& e);
    mmObjectPtr convertSpline(const DwgJson& e);
    mmObjectPtr convertText(const DwgJson& e);
    mmObjectPtr convertMText(const DwgJson& e);
    mmObjectPtr convertInsert(const DwgJson& e);
    mmObjectPtr convertDimension(const DwgJson& e);
    void showDimensionBlock(mmDimension& d, const DwgJson& e);
    mmObjectPtr convertHatch(const DwgJson& e);
    // DwgShapes.cpp.
    mmObjectPtr convertEllipse(const DwgJson& e);
    mmObjectPtr convertSolid(const DwgJson& e);
    mmObjectPtr convertLeader(const DwgJson& e);
    mmObjectPtr convertXLine(const DwgJson& e);
    mmObjectPtr convertAttributeDef(const DwgJson& e);
    // An ATTRIB or ATTDEF with its text fields, in the plan.
    std::shared_ptr<mmText> attributeOf(const DwgJson& e, bool definition);
    // The text fields of TEXT, ATTRIB and ATTDEF (DwgTexts.cpp), laid out.
    void fillText(const DwgJson& e, std::string_view value, mmText& text);

    mmDrawing& drawing_;
    mmGlyphTablePtr glyphs_;
    mmSpace* paper_;
    DxfLoadLimits limits_;
    int64_t copied_ = 0;                // block entities copied into references
    mmReferencePool pool_;              // children of references, shared by those made alike
    int depth_ = 0;                     // blocks being converted inside one another
    const mmBlock* current_ = nullptr;  // the block whose entities are being converted
    std::unordered_map<std::string, int32_t> layerIds_;  // exact UTF-8 name -> layer id
    std::string lastLayerName_;
    int32_t lastLayerId_ = 0;
    bool lastLayerValid_ = false;
    std::unordered_map<std::string, FileBlock> fileBlocks_;
    std::map<const mmBlock*, DxfEntityLoader::BlockSize> blockSizes_;
    std::map<std::u16string, int64_t> nextAnonymous_;  // renamed anonymous blocks, per prefix
    std::unordered_set<const mmSpace*> paperViewportSeen_;  // layouts whose first viewport came
    DxfEntityCounts notImported_;
    DxfEntityCounts approximated_;
    int64_t patternsOutlined_ = 0;
};

// The plane of an entity of the decoded drawing, from its extrusion.
mmOcs DwgPlaneOf(const DwgJson& e);

// A text of the drawing as the text entities keep it: UTF-8 with the \U+XXXX escapes decoded, at
// most as long as the DXF reader keeps one.
std::string DwgDrawingText(std::string_view utf8);

// The DXF name of a LibreDWG entity type: the dimension and polyline kinds by their DXF entity.
std::string_view DxfNameOfDwgType(std::string_view dwgType);
