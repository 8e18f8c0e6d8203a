// Default bodies of the Host requests.
#include "platform/Host.h"

#include "platform/Image.h"

namespace kestrel::platform {

Host::~Host() = default;

void Host::statusText(const std::string&) {}

void Host::historyMessage(const std::string&) {}

void Host::progress(int) {}

void Host::requestRedraw() {}

std::vector<std::string> Host::openFileDialog(const std::string&, const std::string&, bool) {
    return {};
}

int Host::chosenSaveFilter() const {
    return 0;
}

std::optional<std::string> Host::saveFileDialog(const std::string&, const std::string&,
                                                const std::string&) {
    return std::nullopt;
}

std::optional<PrinterSetup> Host::defaultPrinter() {
    return PdfPrinterA4();
}

std::optional<PrinterSetup> Host::pageSetupDialog(const PrinterSetup&) {
    return std::nullopt;
}

std::optional<PrintJob> Host::printDialog(const PrinterSetup&) {
    return std::nullopt;
}

bool Host::printPage(const Image&, const PageRect&, const PrintJob&, std::string* error) {
    if (error) *error = "no printer can print here";
    return false;
}

bool Host::saveImage(const Image& picture, const std::string& mimeType, const std::string& path,
                     std::string* error) {
    if (mimeType == "image/png" && picture.savePng(path)) return true;
    if (error)
        *error = mimeType == "image/png" ? "cannot write the file " + path
                                         : "no image encoder for " + mimeType;
    return false;
}

}  // namespace kestrel::platform
