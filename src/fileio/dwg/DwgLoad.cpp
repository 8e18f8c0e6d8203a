// The import's steps: the release of the file, the bridge, the JSON document, the conversion
// into a scratch drawing and the swap.
#include "fileio/dwg/DwgLoad.h"

#include "drawing/Drawing.h"
#include "entities/Block.h"
#include "fileio/dwg/DwgConverter.h"
#include "fileio/dwg/DwgDocumentReader.h"
#include "fileio/dwg/DwgRelease.h"
#include "fileio/dxf/DxfLayout.h"

namespace {

constexpr int kFormat = 1;
constexpr char kNoDrawing[] = "The DWG decoder gave no drawing it could be read from.";

DwgImportResult failure(std::string message, std::string detail = {}) {
    DwgImportResult r;
    r.message = std::move(message);
    r.detail = std::move(detail);
    return r;
}

// The scratch drawing starts from the tables the drawing keeps through an XREF, or from those
// of a new drawing.
void prepareScratch(mmDrawing& scratch, const mmDrawing& drawing, bool xref) {
    if (!xref) {
        FillNewDrawing(scratch);
        return;
    }
    scratch.layers = drawing.layers;
    scratch.dimStyles = drawing.dimStyles;
    scratch.blocks = drawing.blocks;
    scratch.nextBlockId = drawing.nextBlockId;
    scratch.nextLayerId = drawing.nextLayerId;
    scratch.currentLayerId = drawing.currentLayerId;
    scratch.nextDimStyleId = drawing.nextDimStyleId;
    scratch.currentDimStyleId = drawing.currentDimStyleId;
}

// The layouts read name the scratch paper space for the active one.
void commitLayouts(DxfLayout& layout, mmSpace& paper, std::vector<DxfLayoutEntry> layouts) {
    TakeSpaceContents(layout.PaperSpace(), paper);
    if (layouts.empty()) return;
    for (DxfLayoutEntry& l : layouts)
        if (l.space == &paper) l.space = &layout.PaperSpace();
    layout.SetLayouts(std::move(layouts));
}

void commit(mmDrawing& drawing, mmDrawing&& scratch, DxfLayout* layout, mmSpace& paper,
            std::vector<DxfLayoutEntry> layouts, bool xref) {
    if (!xref) {
        ResetDrawing(drawing);
        TakeSpaceContents(drawing.ModelSpace(), scratch.ModelSpace());
        drawing.currentLayerId = scratch.currentLayerId;
        drawing.currentDimStyleId = scratch.currentDimStyleId;
        if (layout) commitLayouts(*layout, paper, std::move(layouts));
    } else {
        drawing.blocks = std::move(scratch.blocks);
    }
    drawing.layers = std::move(scratch.layers);
    drawing.dimStyles = std::move(scratch.dimStyles);
    drawing.nextBlockId = scratch.nextBlockId;
    drawing.nextLayerId = scratch.nextLayerId;
    drawing.nextDimStyleId = scratch.nextDimStyleId;
}

}  // namespace

DwgImportResult importDwgDocument(mmDrawing& drawing, const mmGlyphTable* glyphs,
                                  std::string_view json, DxfLayout* layout, bool xref,
                                  std::u16string_view blockName, const DxfLoadLimits& limits) {
    using namespace dwgjson;
    mmDrawing scratch;
    prepareScratch(scratch, drawing, xref);
    mmSpace paper;
    DwgConverter converter(scratch, glyphs, layout && !xref ? &paper : nullptr, limits);
    mmBlockPtr xrefBlock;
    DwgImportResult result = failure(kErrorReadingDwg, kNoDrawing);
    std::vector<DxfLayoutEntry> layouts;

    // The head: the release gate, then the tables and blocks before any entity.
    DwgDocumentCallbacks callbacks;
    callbacks.head = [&](const DwgJson& head) {
        if (integer(head, "format") != kFormat) return false;
        const DwgRelease release = DwgReleaseOfCode(text(head, "file_magic"));
        if (release != DwgRelease::Supported) {
            result = failure(DwgReleaseMessage(release));
            return false;
        }
        if (!hasText(head, "version") || integer(head, "error") >= 128) {
            result = failure(kErrorReadingDwg, "LibreDWG could not decode the file (error " +
                                                   std::to_string(integer(head, "error")) + ").");
            return false;
        }
        if (xref)
            xrefBlock = CreateBlock(scratch.nextBlockId++, 0.0, 0.0, 0, std::u16string(blockName));
        converter.convertDimStyles(array(head, "DIMSTYLE"), !xref);
        converter.convertLayers(array(head, "LAYER"));
        converter.convertBlocks(array(head, "BLOCK_HEADER"));
        layouts = converter.convertLayouts(array(head, "LAYOUT"), xref ? nullptr : layout);
        result = DwgImportResult();
        result.ok = true;
        return true;
    };
    callbacks.entity = [&](const DwgJson& e) { converter.convertSpaceEntity(e, xrefBlock.get()); };
    if (!ReadDwgDocument(json, callbacks)) {
        if (result.ok) result = failure(kErrorReadingDwg, kNoDrawing);
        return result;
    }
    if (!result.ok) return result;
    if (xrefBlock) AddBlock(scratch.ModelSpace(), xrefBlock);
    result.notImported = converter.notImported();
    result.approximated = converter.approximated();
    result.patternsOutlined = converter.patternsOutlined();
    commit(drawing, std::move(scratch), layout, paper, std::move(layouts), xref);
    return result;
}

DwgImportResult loadDrawingFromDwg(mmDrawing& drawing, const mmGlyphTable* glyphs,
                                   const std::string& path, DxfLayout* layout, bool xref,
                                   std::u16string_view blockName, const DwgImportOptions& options) {
    const DwgRelease release = DwgReleaseOfFile(path);
    if (release != DwgRelease::Supported) return failure(DwgReleaseMessage(release));
    DwgBridgeOutcome decoded = RunDwgBridge(path, options.bridge);
    if (!decoded.ok) return failure(std::move(decoded.message), std::move(decoded.detail));
    return importDwgDocument(drawing, glyphs, decoded.json, layout, xref, blockName,
                             options.limits);
}
