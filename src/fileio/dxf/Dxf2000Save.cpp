// The layout of a DXF 2000 save: HEADER, CLASSES, TABLES, BLOCKS (model space, the layouts' paper
// spaces, the named blocks and the dimensions' blocks), ENTITIES (model space, then the active
// layout's paper space) and OBJECTS.
#include "drawing/Drawing.h"
#include "fileio/dxf/Dxf2000EntityWriter.h"
#include "fileio/dxf/Dxf2000Plan.h"
#include "fileio/dxf/Dxf2000Sections.h"
#include "fileio/dxf/DxfSave.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

void blockEntity(DxfWriter& w, std::string_view type, uint64_t handle,
                 const Dxf2000Plan::Block& b) {
    w.writeGroupString(0, type);
    w.writeGroupHandle(5, handle);
    w.writeGroupHandle(330, b.record);
    w.writeGroupString(100, "AcDbEntity");
    if (b.paper) w.writeGroupInt(67, 1);
    w.writeGroupString(8, "0");
}

// Block entities are written in block coordinates: relative to the base point, which is added.
bool writeBlock(DxfWriter& w, Dxf2000EntityWriter& entities, const Dxf2000Plan::Block& b) {
    const bool ok = w.openBlock();
    blockEntity(w, "BLOCK", b.begin, b);
    w.writeGroupString(100, "AcDbBlockBegin");
    w.writeGroupText(2, b.name);
    w.writeGroupInt(70, b.flags);
    w.writeGroupReal(10, b.base.x);
    w.writeGroupReal(20, b.base.y);
    w.writeGroupReal(30, 0.0);
    w.writeGroupText(3, b.name);
    w.writeGroupString(1, "");
    if (b.block) {
        entities.setContainer(b.record, b.base, false);
        for (const mmObjectPtr& e : b.block->entities)
            if (e && !e->erased) entities.writeEntity(*e);
    } else if (b.space) {
        entities.setContainer(b.record, mmVertex(), true);
        for (const mmObjectPtr& e : b.space->entities)
            if (e && !e->erased) entities.writeEntity(*e);
    }
    blockEntity(w, "ENDBLK", b.end, b);
    w.writeGroupString(100, "AcDbBlockEnd");
    return w.closeBlock() && ok;
}

bool writeBlocks(DxfWriter& w, Dxf2000EntityWriter& entities, const Dxf2000Plan& plan) {
    bool ok = w.beginSection(DxfWriter::Section::Blocks);
    ok = writeBlock(w, entities, plan.model) && ok;
    for (const Dxf2000Plan::Layout& l : plan.layouts)
        ok = writeBlock(w, entities, l.block) && ok;
    for (const Dxf2000Plan::Block& b : plan.blocks)
        ok = writeBlock(w, entities, b) && ok;
    return w.endSection() && ok;
}

bool writeEntities(DxfWriter& w, Dxf2000EntityWriter& entities, const mmDrawing& drawing,
                   const Dxf2000Plan& plan) {
    const bool ok = w.beginSection(DxfWriter::Section::Entities);
    entities.setContainer(plan.model.record, mmVertex(), false);
    for (const mmObjectPtr& e : drawing.entities)
        if (e && !e->erased) entities.writeEntity(*e);
    const Dxf2000Plan::Layout& active = plan.layouts[plan.activeLayout];
    if (active.space) {
        entities.setContainer(active.block.record, mmVertex(), true);
        for (const mmObjectPtr& e : active.space->entities)
            if (e && !e->erased) entities.writeEntity(*e);
    }
    return w.endSection() && ok;
}

}  // namespace

bool saveDrawingAsDxf2000(const mmDrawing& drawing, const DxfLayout* layout,
                          const std::string& path, DxfSaveReport* report) {
    const Dxf2000Plan plan = PlanDxf2000(drawing, layout);
    DxfWriter w;
    if (!w.create(path)) return false;
    w.setCodePage(plan.codePage);
    bool ok = writeDxf2000Header(w, drawing, plan);
    ok = writeDxf2000Classes(w) && ok;
    ok = writeDxf2000Tables(w, drawing, plan) && ok;
    w.useHandles(plan.firstEntity);
    Dxf2000EntityWriter entities(w, drawing, plan);
    ok = writeBlocks(w, entities, plan) && ok;
    ok = writeEntities(w, entities, drawing, plan) && ok;
    ok = writeDxf2000Objects(w, plan) && ok;
    // Every handle handed out lies below the seed the header gave.
    ok = ok && w.nextHandle() <= plan.handleSeed;
    if (report) report->leftOut = entities.leftOut();
    return ok && w.closeDxfFile();
}

bool saveDrawingAsDxf(const mmDrawing& drawing, const DxfLayout* layout, const std::string& path,
                      DxfVersion version, DxfSaveReport* report) {
    if (version == DxfVersion::R12) return saveDrawingAsDxf(drawing, layout, path, report);
    return saveDrawingAsDxf2000(drawing, layout, path, report);
}
