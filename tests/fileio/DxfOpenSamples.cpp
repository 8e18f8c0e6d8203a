// Opens each DXF file of a folder as the program does and tells what it got, for the corpus
// check against ezdxf (dxf_corpus_check.py): one JSON line per file with the result, the entities
// kept by DXF name (model space, paper space, the contents of every block and the attributes of
// references) and the lines the history gained.
// Usage: dxf_open_samples OUT_FILE DXF_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "SampleCounts.h"
#include "drawing/Drawing.h"
#include "fileio/DrawingDocument.h"
#include "fileio/dxf/DxfLayout.h"
#include "platform/RecordingHost.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dxf_open_samples OUT_FILE DXF_DIR\n");
        return 2;
    }
    std::ofstream report(argv[1]);
    for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".dxf" && ext != ".DXF") continue;
        mmDrawing d;
        mmSpace paper;
        DxfSpaceLayout layout(paper);
        kestrel::platform::RecordingHost host;
        const bool read = OpenDrawing(d, entry.path().string(), host, nullptr, &layout);
        std::map<std::string, int> counts;
        CountSampleEntities(d.entities, counts);
        CountSampleEntities(paper.entities, counts);
        for (const auto& [id, block] : d.blocks) CountSampleEntities(block->entities, counts);
        report << "{\"file\":" << QuotedJson(entry.path().filename().string())
               << ",\"read\":" << (read ? "true" : "false") << ",\"loaded\":" << CountsJson(counts)
               << ",\"history\":[";
        bool first = true;
        for (const std::string& line : host.historyMessages()) {
            report << (first ? "" : ",") << QuotedJson(line);
            first = false;
        }
        report << "]}\n";
    }
    return 0;
}
