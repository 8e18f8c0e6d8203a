// Image export and plotting of the active tab.
#include "commands/Plotting.h"

#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/Layouts.h"
#include "commands/Session.h"
#include "display/OutputPicture.h"
#include "platform/Unicode.h"

namespace {

constexpr char kExportTitle[] = "Export viewport to image file...";
constexpr char kExportFilter[] =
    "Image files|*.bmp;*.jpg;*.tif;*.png;*.gif";
// The page of a layout's plot is rendered this many pixels high.
constexpr int kPlotPageHeightPx = 2000;
constexpr int kPlotViewTiles = 4;

void historyLine(mmSession& s, const std::string& text) {
    std::u16string line;
    kestrel::platform::utf8ToUtf16(text, line);
    s.commandLine.AppendHistory(line, false);
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// EXPTOIMG and PLOTVIEW: the save dialog, then the picture.
void exportWithDialog(mmSession& s, std::u16string& text, int tiles) {
    const std::optional<std::string> path = s.host.saveFileDialog(kExportTitle, kExportFilter, "");
    if (path) ExportActiveView(s, *path, tiles);
    EndCommand(s);
    text.clear();
    s.RequestRedraw();
}

void startExport(mmSession& s, std::u16string& text) {
    exportWithDialog(s, text, 1);
}

void startPlotView(mmSession& s, std::u16string& text) {
    exportWithDialog(s, text, kPlotViewTiles);
}

}  // namespace

std::optional<std::string> ImageMimeTypeFor(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    std::string word = lowerCase(path.substr(dot + 1));
    if (word == "jpg") word = "jpeg";
    if (word == "tif") word = "tiff";
    for (const char* known : {"bmp", "jpeg", "png", "tiff", "gif"})
        if (word == known) return "image/" + word;
    return std::nullopt;
}

bool ExportActiveView(mmSession& s, const std::string& path, int tiles) {
    const std::optional<std::string> mime = ImageMimeTypeFor(path);
    if (!mime) {
        historyLine(s, "Cannot export to " + path +
                           ": no image encoder for its extension (use .bmp, .jpg, .tif, .png or "
                           ".gif).");
        return false;
    }
    std::string error;
    mmView& view = s.ActiveView();
    const std::optional<kestrel::platform::Image> picture =
        tiles > 1 ? RenderTiledPicture(view, s.ModelScene(), tiles, s.host, &error)
                  : RenderViewPicture(view, s.ModelScene(), s.host, &error);
    s.RequestRedraw();
    if (!picture || !s.host.saveImage(*picture, *mime, path, &error)) {
        historyLine(s, "Cannot export to " + path + ": " + error);
        return false;
    }
    return true;
}

bool PlotActiveView(mmSession& s, const std::optional<std::string>& outputFile) {
    const auto printer = CurrentPrinter(s);
    if (!printer) return false;
    std::optional<kestrel::platform::PrintJob> job;
    if (outputFile)
        job = kestrel::platform::PrintJob{*printer, *outputFile};
    else
        job = s.host.printDialog(*printer);
    if (!job) return false;
    mmView& view = s.ActiveView();
    if (view.isLayout) view.SetupPage(job->setup.metrics);
    std::string error;
    const std::optional<kestrel::platform::Image> picture =
        RenderPlotPicture(view, s.ModelScene(), kPlotPageHeightPx, s.host, &error);
    s.RequestRedraw();
    if (picture) {
        const kestrel::platform::PageRect placement =
            FitOnPage(picture->width, picture->height, job->setup.metrics);
        if (s.host.printPage(*picture, placement, *job, &error)) return true;
    }
    historyLine(s, "Cannot plot: " + error);
    return false;
}

const mmCommandSteps kExportImageSteps{startExport, nullptr, nullptr, nullptr};
const mmCommandSteps kPlotViewSteps{startPlotView, nullptr, nullptr, nullptr};
