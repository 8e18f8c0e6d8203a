// The layout of a saved DXF file: an empty HEADER, the LAYER and DIMSTYLE tables, the named
// blocks and the entities of model space and of the active layout.
#include "fileio/dxf/DxfSave.h"

#include "drawing/Drawing.h"
#include "fileio/dxf/DxfEntityWriter.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

bool writeTables(DxfWriter& w, const mmDrawing& drawing) {
    bool ok = w.beginSection(DxfWriter::Section::Tables);
    ok = w.beginTable(DxfWriter::Table::Layer) && ok;
    for (const auto& [id, layer] : drawing.layers)
        ok = w.writeLayerEntry(layer.name, layer.colorIndex) && ok;
    ok = w.endTable() && ok;
    ok = w.beginTable(DxfWriter::Table::DimStyle) && ok;
    for (const auto& [id, style] : drawing.dimStyles)
        ok = w.writeDimStyleEntry(style) && ok;
    ok = w.endTable() && ok;
    return w.endSection() && ok;
}

bool writeBlocks(DxfWriter& w, DxfEntityWriter& entities, const mmDrawing& drawing) {
    bool ok = w.beginSection(DxfWriter::Section::Blocks);
    const mmLayer* layer0 = drawing.FindLayer(0);
    const std::u16string_view layerName = layer0 ? std::u16string_view(layer0->name) : u"";
    for (const auto& [id, block] : drawing.blocks) {
        if (!block) continue;
        ok = w.writeBlockHeader(layerName, block->name, block->flags) && ok;
        // Entities of a block are written whether or not they are erased.
        for (const mmObjectPtr& e : block->entities)
            if (e) entities.writeEntity(*e, 0);
        ok = w.endBlock() && ok;
    }
    return w.endSection() && ok;
}

bool writeEntities(DxfWriter& w, DxfEntityWriter& entities, const mmDrawing& drawing,
                   const DxfLayout* layout) {
    bool ok = w.beginSection(DxfWriter::Section::Entities);
    for (const mmObjectPtr& e : drawing.entities)
        if (e && !e->erased) entities.writeEntity(*e, 0);
    if (layout)
        for (const mmObjectPtr& e : layout->PaperSpace().entities)
            if (e && !e->erased) entities.writeEntity(*e, 1);
    return w.endSection() && ok;
}

}  // namespace

bool saveDrawingAsDxf(const mmDrawing& drawing, const DxfLayout* layout, const std::string& path,
                      DxfSaveReport* report) {
    DxfWriter w;
    if (!w.create(path)) return false;
    DxfEntityWriter entities(w, drawing);
    bool ok = w.beginSection(DxfWriter::Section::Header);
    ok = w.endSection() && ok;
    ok = writeTables(w, drawing) && ok;
    ok = writeBlocks(w, entities, drawing) && ok;
    ok = writeEntities(w, entities, drawing, layout) && ok;
    if (report) report->leftOut = entities.leftOut();
    // Not closing a writer that met a failure leaves the target as it was.
    return ok && w.closeDxfFile();
}
