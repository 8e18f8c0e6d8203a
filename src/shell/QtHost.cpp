// QtHost: Qt's message boxes and file dialogs.
#include "shell/QtHost.h"

#include "shell/ImageEncoders.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
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

// The PDF printer's sheets, portrait or landscape.
std::optional<kestrel::platform::PrinterSetup> QtHost::pageSetupDialog(
    const kestrel::platform::PrinterSetup& current) {
    QStringList items;
    int chosen = 0;
    for (const char* paper : {"A4", "A3", "Letter"})
        for (const bool landscape : {false, true}) {
            if (current.paperName == paper && current.landscape == landscape) chosen = items.size();
            items << QStringLiteral("%1 %2").arg(QLatin1String(paper),
                                                 landscape ? QStringLiteral("landscape")
                                                           : QStringLiteral("portrait"));
        }
    bool ok = false;
    const QString item = QInputDialog::getItem(window_, QStringLiteral("Page setup"),
                                               QStringLiteral("Paper (PDF printer):"), items,
                                               chosen, false, &ok);
    if (!ok) return std::nullopt;
    const QStringList words = item.split(QLatin1Char(' '));
    return PdfPrinterSetup(words[0].toStdString(), words[1] == QStringLiteral("landscape"));
}

bool QtHost::saveImage(const kestrel::platform::Image& picture, const std::string& mimeType,
                   const std::string& path, std::string* error) {
    return SaveImageWithEncoder(picture, mimeType, path, error);
}

std::optional<kestrel::platform::PrintJob> QtHost::printDialog(
    const kestrel::platform::PrinterSetup& setup) {
    const std::optional<std::string> file = saveFileDialog("Plot", "PDF files|*.pdf", "plot.pdf");
    if (!file) return std::nullopt;
    return kestrel::platform::PrintJob{setup, *file};
}

bool QtHost::printPage(const kestrel::platform::Image& picture,
                   const kestrel::platform::PageRect& placement,
                   const kestrel::platform::PrintJob& job, std::string* error) {
    return WritePdfPage(picture, placement, job, error);
}
