// libFuzzer target: any bytes, read as a DXF drawing and as a block library, must neither crash
// nor hang the reader. Texts are laid out with the system font when there is one, and the copy
// limits are the program's own (fuzz/run-dxf-fuzz gives the memory they may take).
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "drawing/Drawing.h"
#include "entities/GlyphTable.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"

namespace {
mmGlyphTablePtr gGlyphs;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gGlyphs = SystemGlyphTable(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        mmSpace paper;
        DxfSpaceLayout layout(paper);
        DxfLoadReport report;
        loadDrawingFromDxfText(drawing, gGlyphs.get(), text, &layout, &report);
    }
    {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        std::vector<std::u16string> names;
        loadBlocksFromDxfText(drawing, names, text, gGlyphs.get());
    }
    return 0;
}
