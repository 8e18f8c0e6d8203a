// Opens each DWG file of a folder as the program does and tells what it got, for the corpus
// check (dwg_corpus_check.py): one JSON line per file with the result, the message shown and
// the model-space entities by class; each opened drawing is saved as DXF beside it.
// Usage: dwg_open_samples OUT_DIR DWG_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "fileio/DrawingDocument.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfSave.h"
#include "platform/RecordingHost.h"

namespace {

const char* className(int32_t type) {
    switch (type) {
        case kTypePolyline:
            return "polyline";
        case kTypeCircle:
            return "circle";
        case kTypeArc:
            return "arc";
        case kTypePoint:
            return "point";
        case kTypeLine:
            return "line";
        case kTypeSpline:
            return "spline";
        case kTypeBlockRef:
            return "blockref";
        case kTypeHatch:
            return "hatch";
        case kTypeText:
            return "text";
        case kTypeMText:
            return "mtext";
        case kTypeDimension:
            return "dimension";
        default:
            return "other";
    }
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

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
        for (const mmObjectPtr& e : d.entities)
            ++counts[className(e->type)];
        report << "{\"file\":" << quoted(entry.path().filename().string())
               << ",\"read\":" << (read ? "true" : "false")
               << ",\"message\":" << quoted(host.messages().empty() ? "" : host.messages()[0].text)
               << ",\"counts\":{";
        bool first = true;
        for (const auto& [name, count] : counts) {
            report << (first ? "" : ",") << quoted(name) << ":" << count;
            first = false;
        }
        report << "}}\n";
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
