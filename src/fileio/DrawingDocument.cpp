// New, open and save of the document, dispatched by file extension.
#include "fileio/DrawingDocument.h"

#include <algorithm>

#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"
#include "platform/Host.h"

namespace {

// Index of the extension's dot in the last path component, or npos.
std::size_t extensionDot(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string_view::npos;
    return dot;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) {
            return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

bool readDwg(mmDrawing& drawing, const std::string& path, kestrel::platform::Host& host,
             const mmGlyphTable* glyphs, DxfLayout* layout) {
    const DwgImportResult result = loadDrawingFromDwg(drawing, glyphs, path, layout, false, {});
    if (!result.ok) {
        host.messageBox(result.message, kestrel::platform::MessageKind::Error);
        if (!result.detail.empty()) host.historyMessage(result.detail);
        host.historyMessage(kErrorReadingDrawing);
        return false;
    }
    const std::string skipped = SkippedEntitiesLine(kNotImported, result.notImported);
    if (!skipped.empty()) host.historyMessage(skipped);
    UpdateSpatialIndex(drawing.ModelSpace());
    return true;
}

}  // namespace

bool HasDwgExtension(std::string_view path) {
    const std::size_t dot = extensionDot(path);
    return dot != std::string_view::npos && equalsIgnoringCase(path.substr(dot), ".DWG");
}

std::string DxfPathFor(std::string_view path) {
    const std::size_t dot = extensionDot(path);
    return std::string(path.substr(0, dot)) + ".dxf";
}

std::string DwgSaveRedirectMessage(std::string_view dxfPath) {
    return "Saving to *.DWG is not yet supported. File will be renamed to " + std::string(dxfPath) +
           "\nPlease save again.";
}

std::vector<std::string> LeftOutMessages(const std::map<int32_t, int64_t>& leftOut) {
    std::vector<std::string> lines;
    int64_t others = 0;
    for (const auto& [type, count] : leftOut) {
        if (type != kTypeRasterImage) {
            others += count;
            continue;
        }
        lines.push_back(count == 1 ? "1 raster image was left out: a DXF file cannot hold "
                                     "raster images."
                                   : std::to_string(count) +
                                         " raster images were left out: a DXF file cannot hold "
                                         "raster images.");
    }
    if (others > 0)
        lines.push_back(std::to_string(others) + (others == 1 ? " entity was" : " entities were") +
                        " left out: the DXF file has no form for " +
                        (others == 1 ? "its type." : "their types."));
    return lines;
}

void NewDrawing(mmDrawing& drawing) {
    ResetDrawing(drawing);
    FillNewDrawing(drawing);
}

std::string SkippedEntitiesLine(std::string_view lead,
                                const std::map<std::string, int64_t>& counts) {
    std::vector<std::pair<std::string_view, int64_t>> order;
    for (const auto& [name, count] : counts)
        if (count > 0) order.emplace_back(name, count);
    if (order.empty()) return {};
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string line(lead);
    line += ": ";
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0) line += ", ";
        line += std::to_string(order[i].second);
        line += ' ';
        line += order[i].first;
    }
    return line;
}

std::string UnexpandedReferencesMessage(int64_t count) {
    const DxfLoadLimits limits;
    const bool one = count == 1;
    return std::to_string(count) + (one ? " block reference is" : " block references are") +
           " kept without " + (one ? "its" : "their") + " contents: expanding " +
           (one ? "it" : "them") + " would copy more than " +
           std::to_string(limits.mostCopiedEntities) +
           " block entities or nest references more than " + std::to_string(limits.mostNesting) +
           " deep.";
}

std::vector<std::string> TextReadMessages(const DxfLoadReport& report) {
    std::vector<std::string> lines;
    if (!report.unknownCodePage.empty())
        lines.push_back("The drawing's code page " + report.unknownCodePage +
                        " is not known: its texts were read as Windows-1252 (ANSI_1252).");
    if (report.textsCut == 1)
        lines.push_back("1 multi-line text was longer than 1 MB and was cut.");
    else if (report.textsCut > 1)
        lines.push_back(std::to_string(report.textsCut) +
                        " multi-line texts were longer than 1 MB and were cut.");
    return lines;
}

bool OpenDrawing(mmDrawing& drawing, const std::string& path, kestrel::platform::Host& host,
                 const mmGlyphTable* glyphs, DxfLayout* layout) {
    if (HasDwgExtension(path)) return readDwg(drawing, path, host, glyphs, layout);
    NewDrawing(drawing);
    DxfLoadReport report;
    const bool read = loadDrawingFromDxf(drawing, glyphs, path, layout, &report);
    if (!read) host.messageBox(kErrorReadingDrawing, kestrel::platform::MessageKind::Error);
    for (const std::string& line : TextReadMessages(report))
        host.historyMessage(line);
    if (report.unexpanded > 0) host.historyMessage(UnexpandedReferencesMessage(report.unexpanded));
    UpdateSpatialIndex(drawing.ModelSpace());  // packed at once, not at the first mouse move
    return read;
}

SaveOutcome SaveDrawing(mmDrawing& drawing, const std::string& path, kestrel::platform::Host& host,
                        const DxfLayout* layout, DxfVersion version) {
    SaveOutcome outcome;
    if (HasDwgExtension(path)) {
        outcome.documentPath = DxfPathFor(path);
        host.messageBox(DwgSaveRedirectMessage(outcome.documentPath),
                        kestrel::platform::MessageKind::Warning);
        return outcome;
    }
    outcome.documentPath = path;
    MakeDimensionBlock(drawing);
    DxfSaveReport report;
    outcome.written = saveDrawingAsDxf(drawing, layout, path, version, &report);
    outcome.leftOut = std::move(report.leftOut);
    if (!outcome.written) {
        host.messageBox(kErrorSavingDxf, kestrel::platform::MessageKind::Error);
        return outcome;
    }
    for (const std::string& line : LeftOutMessages(outcome.leftOut))
        host.historyMessage(line);
    return outcome;
}
