// Telling a DXF text file from what is not one before anything is read from it.
#include "fileio/dxf/DxfLoad.h"

#include "fileio/dxf/DxfReader.h"

namespace {

// Comments may stand before the first section; this many are looked through at most.
constexpr int kMostLeadingComments = 10000;

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string DxfFileProblem(DxfReader& reader) {
    if (reader.size() == 0) return "The file is empty.";
    const std::string_view head = reader.head(8);
    if (startsWith(head, "AutoCAD ")) {
        if (startsWith(reader.head(18), "AutoCAD Binary DXF"))
            return "The file is a binary DXF file, which cannot be read: save it as a text (ASCII) "
                   "DXF file.";
    }
    // DWG files of every release begin with "AC" and their version: AC1.50, AC2.10, AC1015 ...
    if (head.size() >= 3 && startsWith(head, "AC") &&
        ((head[2] >= '0' && head[2] <= '9') || head[2] == '.'))
        return "The file holds a DWG drawing, not DXF text: open it under a name ending in .dwg.";
    bool dxf = false;
    for (int i = 0; i < kMostLeadingComments && reader.readGroup(); ++i) {
        if (reader.code() == 999) continue;
        dxf = reader.is(0, "SECTION");
        break;
    }
    reader.rewind();
    if (!dxf) return "The file is not a DXF file: it does not begin with a section.";
    return {};
}

std::string DxfFileProblem(const std::string& path) {
    DxfReader reader;
    if (!reader.open(path)) return "The file cannot be opened.";
    return DxfFileProblem(reader);
}
