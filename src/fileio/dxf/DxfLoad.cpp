// The loaders: the walk over sections, tables and blocks shared by the three of them.
#include "fileio/dxf/DxfLoad.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "drawing/Drawing.h"
#include "entities/Block.h"
#include "fileio/HeapGrowthHint.h"
#include "fileio/dxf/DxfFileVariables.h"
#include "fileio/dxf/DxfPaperLayouts.h"
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
          report_(report),
          layouts_(request.mode == LoadMode::Drawing ? request.layout : nullptr) {
        // An opened file's styles replace those a new drawing starts with.
        if (request.mode == LoadMode::Drawing)
            for (const auto& [id, style] : drawing.dimStyles) replaceableStyles_.insert(id);
    }

    void run() {
        while (reader_.nextSection()) {
            if (reader_.section() != DxfSection::Header) fileStylesStart();
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
                case DxfSection::Objects:
                    layouts_.ReadObjects(reader_);
                    break;
                default:
                    break;
            }
        }
        entities_.resolveForwardReferences();  // those of an XREF's block
        layouts_.Finish();
    }

private:
    // The styles a new drawing starts with take the file's defaults (its header's dimension
    // variables, else DXF's) before any entry or dimension of the file is read.
    void fileStylesStart() {
        if (fileStylesStarted_ || request_.mode != LoadMode::Drawing) return;
        fileStylesStarted_ = true;
        setDimStylesToDefaults(drawing_, replaceableStyles_, reader_.tableEntryDefaults());
    }

    // $ACADVER and $DWGCODEPAGE decide how the strings that follow are decoded; the numeric
    // settings a save writes back are kept (DxfFileVariables); the dimension variables give the
    // values style entries leave out.
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
            } else {
                takeDimHeaderVariable(reader_.tableEntryDefaults(), name, reader_);
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
                    addDimStyleEntry(drawing_, entry, entities_.names(), reader_.strings(),
                                     &replaceableStyles_);
                else if (table == DxfTable::LineType)
                    addLineTypeEntry(drawing_, entry, entities_.names(), reader_.strings());
            }
        }
    }

    // Named and anonymous blocks ("*U", "*X", "*T", "*D" ... of hatches, tables and
    // dimensions); the blocks of paper space go to their layouts (DxfPaperLayouts); those of
    // model space (and those named with "$") are counted as not read. An anonymous name the
    // drawing has already is replaced by a free one. The dimensions naming a "*D" block show it.
    void readBlocks() {
        DxfBlockHeader header;
        while (reader_.section() == DxfSection::Blocks && reader_.readBlockHeader(header)) {
            lastBaseX_ = header.baseX;
            lastBaseY_ = header.baseY;
            if (IsLayoutBlockName(header.name)) {
                mmBlock* paper = layouts_.BlockFor(header);
                if (header.empty) continue;
                if (paper)
                    entities_.loadPaperEntities(*paper, layouts_.IsActive(*paper));
                else
                    entities_.skipEntities();
                continue;
            }
            const std::u16string fileName = reader_.strings().ToUtf16(header.name);
            const bool anonymous = !fileName.empty() && fileName[0] == u'*';
            auto block = std::make_shared<mmBlock>();
            block->id = drawing_.nextBlockId++;
            block->name = anonymous ? freeAnonymousName(fileName) : fileName;
            block->baseX = header.baseX;
            block->baseY = header.baseY;
            block->flags = anonymous ? kBlockAnonymous : 0;
            if (!header.empty) entities_.loadEntities(*block, true);
            AddBlock(drawing_.ModelSpace(), block);
            // The dimensions naming a "*D" block show what it holds.
            if (isDimensionBlock(header.name)) entities_.keepDimensionBlock(header.name, block);
            if (anonymous) {
                entities_.names().AddBlockAs(fileName, block);
                continue;
            }
            entities_.names().AddBlock(block);
            if (request_.blockNames) request_.blockNames->push_back(block->name);
        }
        // The dimensions in blocks show their blocks with what those hold.
        entities_.resolveForwardReferences();
        entities_.attachPendingDimensions();
        layouts_.FillSpaces();
    }

    // The anonymous blocks that draw dimensions: "*D" and a number.
    static bool isDimensionBlock(std::string_view name) {
        return name.size() > 2 && name[0] == '*' && (name[1] == 'D' || name[1] == 'd') &&
               name[2] >= '0' && name[2] <= '9';
    }

    std::u16string freeAnonymousName(const std::u16string& name) {
        return FreeAnonymousName(
            name, [&](const std::u16string& n) { return entities_.names().Block(n) != nullptr; },
            nextAnonymous_);
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
    DxfPaperLayouts layouts_;
    double lastBaseX_ = 0.0;
    double lastBaseY_ = 0.0;
    // The last number given to a renamed anonymous block, per prefix.
    std::map<std::u16string, int64_t> nextAnonymous_;
    std::set<int32_t> replaceableStyles_;
    bool fileStylesStarted_ = false;
};

void run(DxfReader& reader, mmDrawing& drawing, const mmGlyphTable* glyphs, DxfLoadReport* report,
         const LoadRequest& request) {
    Loader(reader, drawing, glyphs, report, request).run();
    if (report) report->groupsRead = reader.groupsRead();
    reader.close();
}

// Opens the file when it is DXF text; otherwise says why in the report.
bool openDxf(DxfReader& reader, const std::string& path, DxfLoadReport* report) {
    std::string problem =
        reader.open(path) ? DxfFileProblem(reader) : std::string("The file cannot be opened.");
    if (problem.empty()) return true;
    if (report) report->problem = std::move(problem);
    return false;
}

}  // namespace

bool loadDrawingFromDxf(mmDrawing& drawing, const mmGlyphTable* glyphs, const std::string& path,
                        DxfLayout* layout, DxfLoadReport* report) {
    DxfReader reader;
    if (!openDxf(reader, path, report)) return false;
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
                     const std::string& path, DxfLoadReport* report) {
    DxfReader reader;
    if (!openDxf(reader, path, report)) return false;
    LoadRequest request;
    request.mode = LoadMode::Xref;
    request.xrefName = blockName;
    run(reader, drawing, glyphs, report, request);
    return true;
}

bool loadBlocksFromDxf(mmDrawing& drawing, std::vector<std::u16string>& blockNames,
                       const std::string& path, const mmGlyphTable* glyphs) {
    DxfReader reader;
    if (!openDxf(reader, path, nullptr)) return false;
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
