// libFuzzer target: any bytes, taken as the DWG bridge's JSON document, opened as a drawing and
// loaded as an XREF, must neither crash nor hang the import.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "drawing/Drawing.h"
#include "entities/GlyphTable.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dxf/DxfLayout.h"

namespace {
mmGlyphTablePtr gGlyphs;

// Copies of block entities bounded well below the fuzzer's memory limit.
DxfLoadLimits fuzzLimits() {
    DxfLoadLimits limits;
    limits.mostCopiedEntities = 1 << 18;
    return limits;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gGlyphs = SystemGlyphTable(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view json(reinterpret_cast<const char*>(data), size);
    {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        mmSpace paper;
        DxfSpaceLayout layout(paper);
        importDwgDocument(drawing, gGlyphs.get(), json, &layout, false, {}, fuzzLimits());
    }
    {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        importDwgDocument(drawing, gGlyphs.get(), json, nullptr, true, u"xref", fuzzLimits());
    }
    return 0;
}
