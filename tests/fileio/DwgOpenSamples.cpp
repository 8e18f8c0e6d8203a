// Opens each DWG file of a folder as the program does and tells what it got, for the corpus
// check (dwg_corpus_check.py): one JSON line per file with the result, the message shown and
// the model-space entities by DXF name; each opened drawing is saved as DXF beside it.
// Usage: dwg_open_samples OUT_DIR DWG_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "SampleCounts.h"
#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "fileio/DrawingDocument.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfSave.h"
#include "platform/RecordingHost.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dwg_open_samples OUT_DIR DWG_DIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    std::ofstream report(out / "opened.jsonl");
    int failures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
        if (!HasDwgExtension(entry.path().string())) continue;
        mmDrawing d;
        FillNewDrawing(d);
        mmSpace paper;
        DxfSpaceLayout layout(paper);
        kestrel::platform::RecordingHost host;
        const bool read = OpenDrawing(d, entry.path().string(), host, nullptr, &layout);
        std::map<std::string, int> counts;
        CountSampleEntities(d.entities, counts);
        report << "{\"file\":" << QuotedJson(entry.path().filename().string())
               << ",\"read\":" << (read ? "true" : "false") << ",\"message\":"
               << QuotedJson(host.messages().empty() ? "" : host.messages()[0].text)
               << ",\"counts\":" << CountsJson(counts) << "}\n";
        if (!read) continue;
        MakeDimensionBlock(d);
        const std::string saved = (out / (entry.path().stem().string() + ".dxf")).string();
        if (!saveDrawingAsDxf(d, &layout, saved, DxfVersion::R2000)) {
            std::fprintf(stderr, "could not save %s\n", saved.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
