// libFuzzer target: any bytes, read as a DXF drawing and as a block library, must neither crash
// nor hang the reader.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "drawing/Drawing.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        mmSpace paper;
        DxfSpaceLayout layout(paper);
        DxfLoadReport report;
        loadDrawingFromDxfText(drawing, nullptr, text, &layout, &report);
    }
    {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        std::vector<std::u16string> names;
        loadBlocksFromDxfText(drawing, names, text, nullptr);
    }
    return 0;
}
