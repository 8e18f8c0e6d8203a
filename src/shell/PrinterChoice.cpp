// The installed printers and the choice among them.
#include "shell/PrinterChoice.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace {

// The standard sheet of that key ("A4", "Letter" ...); invalid when there is none.
QPageSize pageSizeOfKey(const std::string& key) {
    const QString wanted = QString::fromStdString(key);
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto sizeId = static_cast<QPageSize::PageSizeId>(id);
        if (QPageSize::key(sizeId) == wanted) return QPageSize(sizeId);
    }
    return QPageSize();
}

}  // namespace

std::string ChoosePrinter(const std::vector<mmInstalledPrinter>& installed,
                          const std::string& wanted) {
    if (installed.empty()) return {};
    const auto named = [&](const mmInstalledPrinter& p) { return p.name == wanted; };
    const auto isDefault = [](const mmInstalledPrinter& p) { return p.isDefault; };
    if (!wanted.empty())
        if (auto it = std::find_if(installed.begin(), installed.end(), named);
            it != installed.end())
            return it->name;
    if (auto it = std::find_if(installed.begin(), installed.end(), isDefault);
        it != installed.end())
        return it->name;
    return installed.front().name;
}

std::vector<mmInstalledPrinter> InstalledPrinters() {
    std::vector<mmInstalledPrinter> out;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        out.push_back({info.printerName().toStdString(), info.isDefault()});
    return out;
}

kestrel::platform::PrinterSetup SetupOfPrinter(const QPrinter& printer) {
    kestrel::platform::PrinterSetup setup;
    setup.printerName = printer.printerName().toStdString();
    const QPageLayout layout = printer.pageLayout();
    setup.paperName = layout.pageSize().key().toStdString();
    setup.landscape = layout.orientation() == QPageLayout::Landscape;
    const int dpi = std::max(1, printer.resolution());
    const QRect paint = layout.paintRectPixels(dpi);
    const QRect full = layout.fullRectPixels(dpi);
    kestrel::platform::PrinterMetrics& m = setup.metrics;
    m.logPixelsX = dpi;
    m.horzRes = std::max(1, paint.width());
    m.vertRes = std::max(1, paint.height());
    m.physicalWidth = std::max(1, full.width());
    m.physicalHeight = std::max(1, full.height());
    m.offsetX = paint.x() - full.x();
    m.offsetY = paint.y() - full.y();
    return setup;
}

void ApplySetup(const kestrel::platform::PrinterSetup& setup, QPrinter& printer) {
    printer.setPrinterName(QString::fromStdString(setup.printerName));
    if (const QPageSize size = pageSizeOfKey(setup.paperName); size.isValid())
        printer.setPageSize(size);
    printer.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}
