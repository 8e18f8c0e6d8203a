// The XREF and block-file loaders, dispatched by file extension.
#include "fileio/BlockImport.h"

#include "fileio/DrawingDocument.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dxf/DxfLoad.h"
#include "platform/Unicode.h"

std::u16string XrefBlockName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    std::u16string wide;
    kestrel::platform::utf8ToUtf16(name, wide);
    return wide;
}

bool LoadXrefFile(mmDrawing& drawing, const mmGlyphTable* glyphs, const std::string& path,
                  std::u16string& blockName, std::string* detail) {
    const std::u16string name = XrefBlockName(path);
    if (HasDwgExtension(path)) {
        const DwgImportResult result =
            loadDrawingFromDwg(drawing, glyphs, path, nullptr, true, name);
        if (!result.ok) {
            if (detail) *detail = result.detail.empty() ? result.message : result.detail;
            return false;
        }
        if (detail) *detail = SkippedEntitiesLine(kNotLoaded, result.notImported);
    } else {
        DxfLoadReport report;
        if (!loadXrefFromDxf(drawing, glyphs, name, path, &report)) {
            if (detail) *detail = path + ": " + report.problem;
            return false;
        }
        if (detail) *detail = SkippedEntitiesLine(kNotLoaded, report.dropped);
    }
    blockName = name;
    return true;
}

bool LoadBlockFile(mmDrawing& drawing, const mmGlyphTable* glyphs, const std::string& path,
                   std::vector<std::u16string>& names) {
    return loadBlocksFromDxf(drawing, names, path, glyphs);
}
