// The loaders: the walk over sections, tables and blocks shared by the three of them.
#include "fileio/dxf/DxfLoad.h"

#include <algorithm>
#include <memory>

#include "drawing/Drawing.h"
#include "entities/Block.h"
#include "fileio/HeapGrowthHint.h"
#include "fileio/dxf/DxfFileVariables.h"
#include "fileio/dxf/DxfReader.h"
#include "fileio/dxf/DxfTables.h"

namespace {

enum class LoadMode { Drawing, Xref, Blocks };

struct LoadRequest {
    LoadMode mode = LoadMode::Drawing;
    DxfLayout* layout = nullptr;
    std::u16string_view xrefName;
    std::vector<std::u16string>* blockNames = nullptr;
    DxfLoadLimits limits;
};

class Loader {
public:
    Loader(DxfReader& reader, mmDrawing& drawing, const mmGlyphTable* glyphs, DxfLoadReport* report,
           const LoadRequest& request)
        : reader_(reader),
          drawing_(drawing),
          heapHint_(reader.size()),
          entities_(reader, drawing, glyphs, report, &heapHint_, request.limits),
          request_(request),
          report_(report) {}

    void run() {
        while (reader_.nextSection()) {
            switch (reader_.section()) {
                case DxfSection::Header:
                    readHeader();
                    break;
                case DxfSection::Tables:
                    readTables();
                    break;
                case DxfSection::Blocks:
                    readBlocks();
                    break;
                case DxfSection::Entities:
                    readEntities();
                    break;
                default:
                    break;
            }
        }
    }

private:
    // $ACADVER and $DWGCODEPAGE decide how the strings that follow are decoded; the numeric
    // settings a save writes back are kept (DxfFileVariables).
    void readHeader() {
        std::string name;
        mmFileVariable* kept = nullptr;
        while (reader_.readGroup() && !reader_.is(0, "ENDSEC")) {
            if (reader_.code() == 9) {
                name.assign(reader_.value());
                kept = nullptr;
                if (request_.mode == LoadMode::Drawing && IsKeptDxfVariable(name) &&
                    std::none_of(drawing_.fileVariables.begin(), drawing_.fileVariables.end(),
                                 [&](const mmFileVariable& v) { return v.name == name; }))
                    kept = &drawing_.fileVariables.emplace_back(mmFileVariable{name, {}});
                continue;
            }
            if (kept) KeepDxfVariableGroup(*kept, reader_.code(), reader_.value());
            if (name == "$ACADVER" && reader_.code() == 1) {
                reader_.strings().SetVersion(reader_.value());
            } else if (name == "$DWGCODEPAGE" && reader_.code() == 3) {
                if (!reader_.strings().SetCodePage(reader_.value()) && report_)
                    report_->unknownCodePage.assign(reader_.value());
            }
            name.clear();
        }
        std::erase_if(drawing_.fileVariables,
                      [](const mmFileVariable& v) { return v.groups.empty(); });
    }

    void readTables() {
        DxfTableEntry entry;
        while (reader_.section() == DxfSection::Tables && reader_.nextTable()) {
            const DxfTable table = reader_.table();
            while (reader_.table() != DxfTable::None && reader_.readTableEntry(entry)) {
                if (table == DxfTable::Layer &&
                    addLayerEntry(drawing_, entry, entities_.names(), reader_.strings()))
                    entities_.forgetLayers();
                else if (table == DxfTable::DimStyle)
                    addDimStyleEntry(drawing_, entry, entities_.names(), reader_.strings());
                else if (table == DxfTable::LineType)
                    addLineTypeEntry(drawing_, entry, entities_.names(), reader_.strings());
            }
        }
    }

    void readBlocks() {
        DxfBlockHeader header;
        while (reader_.section() == DxfSection::Blocks && reader_.readBlockHeader(header)) {
            lastBaseX_ = header.baseX;
            lastBaseY_ = header.baseY;
            const bool unnamed =
                !header.name.empty() && (header.name[0] == '*' || header.name[0] == '$');
            if (unnamed) {
                if (!header.empty) reader_.skipBlock();
                continue;
            }
            auto block = std::make_shared<mmBlock>();
            block->id = drawing_.nextBlockId++;
            block->name = reader_.strings().ToUtf16(header.name);
            block->baseX = header.baseX;
            block->baseY = header.baseY;
            block->flags = 0;
            if (!header.empty) entities_.loadEntities(*block, true);
            AddBlock(drawing_.ModelSpace(), block);
            entities_.names().AddBlock(block);
            if (request_.blockNames) request_.blockNames->push_back(block->name);
        }
    }

    void readEntities() {
        switch (request_.mode) {
            case LoadMode::Drawing:
                entities_.loadEntities(request_.layout);
                break;
            case LoadMode::Xref: {
                auto block = std::make_shared<mmBlock>();
                block->id = drawing_.nextBlockId++;
                block->name = std::u16string(request_.xrefName);
                block->baseX = lastBaseX_;
                block->baseY = lastBaseY_;
                block->flags = 0;
                entities_.loadEntities(*block, false);
                AddBlock(drawing_.ModelSpace(), block);
                entities_.names().AddBlock(block);
                break;
            }
            case LoadMode::Blocks:
                break;
        }
    }

    DxfReader& reader_;
    mmDrawing& drawing_;
    HeapGrowthHint heapHint_;
    DxfEntityLoader entities_;
    LoadRequest request_;
    DxfLoadReport* report_;
    double lastBaseX_ = 0.0;
    double lastBaseY_ = 0.0;
};

void run(DxfReader& reader, mmDrawing& drawing, const mmGlyphTable* glyphs, DxfLoadReport* report,
         const LoadRequest& request) {
    Loader(reader, drawing, glyphs, report, request).run();
    if (report) report->groupsRead = reader.groupsRead();
    reader.close();
}

}  // namespace

bool loadDrawingFromDxf(mmDrawing& drawing, const mmGlyphTable* glyphs, const std::string& path,
                        DxfLayout* layout, DxfLoadReport* report) {
    DxfReader reader;
    if (!reader.open(path)) return false;
    LoadRequest request;
    request.layout = layout;
    run(reader, drawing, glyphs, report, request);
    return true;
}

void loadDrawingFromDxfText(mmDrawing& drawing, const mmGlyphTable* glyphs, std::string_view text,
                            DxfLayout* layout, DxfLoadReport* report, const DxfLoadLimits& limits) {
    DxfReader reader;
    reader.openText(text);
    LoadRequest request;
    request.layout = layout;
    request.limits = limits;
    run(reader, drawing, glyphs, report, request);
}

bool loadXrefFromDxf(mmDrawing& drawing, const mmGlyphTable* glyphs, std::u16string_view blockName,
                     const std::string& path) {
    DxfReader reader;
    if (!reader.open(path)) return false;
    LoadRequest request;
    request.mode = LoadMode::Xref;
    request.xrefName = blockName;
    run(reader, drawing, glyphs, nullptr, request);
    return true;
}

bool loadBlocksFromDxf(mmDrawing& drawing, std::vector<std::u16string>& blockNames,
                       const std::string& path, const mmGlyphTable* glyphs) {
    DxfReader reader;
    if (!reader.open(path)) return false;
    LoadRequest request;
    request.mode = LoadMode::Blocks;
    request.blockNames = &blockNames;
    run(reader, drawing, glyphs, nullptr, request);
    return true;
}

void loadBlocksFromDxfText(mmDrawing& drawing, std::vector<std::u16string>& blockNames,
                           std::string_view text, const mmGlyphTable* glyphs,
                           const DxfLoadLimits& limits) {
    DxfReader reader;
    reader.openText(text);
    LoadRequest request;
    request.limits = limits;
    request.mode = LoadMode::Blocks;
    request.blockNames = &blockNames;
    run(reader, drawing, glyphs, nullptr, request);
}
