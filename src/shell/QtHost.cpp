// QtHost: Qt's message boxes and file dialogs.
#include "shell/QtHost.h"

#include "shell/ImageEncoders.h"
#include "shell/PrinterChoice.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>

using kestrel::platform::MessageAnswer;
using kestrel::platform::MessageKind;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// Message texts keep the "\r\n" of their origin; Qt shows "\n" only.
QString shown(const std::string& text) {
    QString s = q(text);
    s.remove(QLatin1Char('\r'));
    return s.trimmed();
}

// The arrow for a message box shown while a wait cursor is up.
class ArrowWhileBusy {
public:
    ArrowWhileBusy() : busy_(QApplication::overrideCursor() != nullptr) {
        if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileBusy() {
        if (busy_) QApplication::restoreOverrideCursor();
    }
    ArrowWhileBusy(const ArrowWhileBusy&) = delete;
    ArrowWhileBusy& operator=(const ArrowWhileBusy&) = delete;

private:
    bool busy_;
};

}  // namespace

MessageAnswer QtHost::messageBox(const std::string& text, MessageKind kind,
                                 const std::string& caption) {
    const QString title = caption.empty() ? QStringLiteral("Kestrel") : q(caption);
    const ArrowWhileBusy arrow;
    switch (kind) {
        case MessageKind::Question:
            return QMessageBox::question(window_, title, shown(text)) == QMessageBox::Yes
                       ? MessageAnswer::Yes
                       : MessageAnswer::No;
        case MessageKind::Error:
            QMessageBox::critical(window_, title, shown(text));
            break;
        case MessageKind::Warning:
            QMessageBox::warning(window_, title, shown(text));
            break;
        case MessageKind::Info:
            QMessageBox::information(window_, title, shown(text));
            break;
    }
    return MessageAnswer::Ok;
}

void QtHost::statusText(const std::string& text) {
    if (status_) status_(text);
}

void QtHost::historyMessage(const std::string& text) {
    if (history_) history_(text);
}

void QtHost::progress(int percent) {
    if (progress_) progress_(percent);
}

void QtHost::requestRedraw() {
    if (redraw_) redraw_();
}

std::string QtHost::QtFilter(const std::string& filter) {
    std::string out;
    std::size_t start = 0;
    while (start < filter.size()) {
        const std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos) break;
        std::size_t end = filter.find('|', bar + 1);
        if (end == std::string::npos) end = filter.size();
        std::string patterns = filter.substr(bar + 1, end - bar - 1);
        for (char& c : patterns)
            if (c == ';') c = ' ';
        if (!out.empty()) out += ";;";
        out += filter.substr(start, bar - start) + " (" + patterns + ")";
        start = end + 1;
    }
    return out;
}

std::vector<std::string> QtHost::openFileDialog(const std::string& title, const std::string& filter,
                                                bool multiple) {
    std::vector<std::string> paths;
    if (multiple) {
        for (const QString& p :
             QFileDialog::getOpenFileNames(window_, q(title), {}, q(QtFilter(filter))))
            paths.push_back(p.toStdString());
    } else {
        const QString p = QFileDialog::getOpenFileName(window_, q(title), {}, q(QtFilter(filter)));
        if (!p.isEmpty()) paths.push_back(p.toStdString());
    }
    return paths;
}

std::optional<std::string> QtHost::saveFileDialog(const std::string& title,
                                                  const std::string& filter,
                                                  const std::string& defaultName) {
    const QString filters = q(QtFilter(filter));
    QString chosen;
    const QString p =
        QFileDialog::getSaveFileName(window_, q(title), q(defaultName), filters, &chosen);
    chosenSaveFilter_ = std::max(0, static_cast<int>(filters.split(QStringLiteral(";;")).indexOf(chosen)));
    if (p.isEmpty()) return std::nullopt;
    return p.toStdString();
}

QtHost::QtHost() = default;
QtHost::~QtHost() = default;

namespace {

constexpr const char* kPdfSheets[] = {"A4", "A3", "Letter"};

QString orientationWord(bool landscape) {
    return landscape ? QStringLiteral("landscape") : QStringLiteral("portrait");
}

}  // namespace

std::optional<kestrel::platform::PrinterSetup> QtHost::defaultPrinter() {
    const std::string name = ChoosePrinter(InstalledPrinters(), {});
    if (name.empty()) return kestrel::platform::PdfPrinterA4();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(name));
    return SetupOfPrinter(printer);
}

// The PDF printer's sheets, then each installed printer's, portrait or landscape.
std::optional<kestrel::platform::PrinterSetup> QtHost::pageSetupDialog(
    const kestrel::platform::PrinterSetup& current) {
    struct Choice {
        std::string printer, paper;
        bool landscape;
    };
    std::vector<Choice> choices;
    for (const char* paper : kPdfSheets) choices.push_back({"", paper, false});
    for (const mmInstalledPrinter& p : InstalledPrinters())
        for (const QPageSize& size : QPrinterInfo::printerInfo(QString::fromStdString(p.name))
                                         .supportedPageSizes())
            choices.push_back({p.name, size.key().toStdString(), false});
    QStringList items;
    int chosen = 0;
    std::vector<Choice> listed;
    for (Choice c : choices)
        for (const bool landscape : {false, true}) {
            c.landscape = landscape;
            if (current.printerName == c.printer && current.paperName == c.paper &&
                current.landscape == landscape)
                chosen = items.size();
            const QString printer = c.printer.empty() ? QStringLiteral("PDF")
                                                      : QString::fromStdString(c.printer);
            items << QStringLiteral("%1: %2 %3").arg(printer, QString::fromStdString(c.paper),
                                                     orientationWord(landscape));
            listed.push_back(c);
        }
    bool ok = false;
    const QString item = QInputDialog::getItem(window_, QStringLiteral("Page setup"),
                                               QStringLiteral("Printer and paper:"), items,
                                               chosen, false, &ok);
    const auto at = items.indexOf(item);
    if (!ok || at < 0) return std::nullopt;
    const Choice& c = listed[static_cast<std::size_t>(at)];
    if (c.printer.empty()) return PdfPrinterSetup(c.paper, c.landscape);
    kestrel::platform::PrinterSetup wanted;
    wanted.printerName = c.printer;
    wanted.paperName = c.paper;
    wanted.landscape = c.landscape;
    QPrinter printer(QPrinter::HighResolution);
    ApplySetup(wanted, printer);
    return SetupOfPrinter(printer);
}

bool QtHost::saveImage(const kestrel::platform::Image& picture, const std::string& mimeType,
                   const std::string& path, std::string* error) {
    return SaveImageWithEncoder(picture, mimeType, path, error);
}

// The print dialog of the installed printer the setup names (else the default one) for one page;
// with no printer installed, the PDF printer's file in a save dialog.
std::optional<kestrel::platform::PrintJob> QtHost::printDialog(
    const kestrel::platform::PrinterSetup& setup) {
    kestrel::platform::PrinterSetup wanted = setup;
    wanted.printerName = ChoosePrinter(InstalledPrinters(), setup.printerName);
    if (wanted.printerName.empty()) {
        const std::optional<std::string> file =
            saveFileDialog("Plot", "PDF files|*.pdf", "plot.pdf");
        if (!file) return std::nullopt;
        return kestrel::platform::PrintJob{setup, *file};
    }
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    ApplySetup(wanted, *printer_);
    QPrintDialog dialog(printer_.get(), window_);
    dialog.setMinMax(1, 1);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted) {
        printer_.reset();
        return std::nullopt;
    }
    return kestrel::platform::PrintJob{SetupOfPrinter(*printer_), {}};
}

// A job with a file goes to the PDF writer; one without to the printer the print dialog set up.
bool QtHost::printPage(const kestrel::platform::Image& picture,
                       const kestrel::platform::PageRect& placement,
                       const kestrel::platform::PrintJob& job, std::string* error) {
    if (!job.outputFile.empty()) return WritePdfPage(picture, placement, job, error);
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        ApplySetup(job.setup, *printer_);
    }
    const bool printed = PaintPage(*printer_, picture, placement.x, placement.y,
                                   placement.width, placement.height);
    if (!printed && error) *error = "the printer " + job.setup.printerName + " refused the page";
    printer_.reset();
    return printed;
}
