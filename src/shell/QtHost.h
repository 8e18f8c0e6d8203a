// QtHost: the Host of the editor: message boxes, file dialogs and the status bar (with its
// progress) with Qt widgets, history lines to the command line, redraw requests to the drawing
// view.
#pragma once

#include <functional>
#include <memory>

#include "platform/Host.h"

class QPrinter;
class QWidget;

class QtHost : public kestrel::platform::Host {
public:
    // Dialogs are centred on the window; until it is set they have no parent.
    void setWindow(QWidget* window) { window_ = window; }
    void setRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
    void setStatus(std::function<void(const std::string&)> status) { status_ = std::move(status); }
    void setHistory(std::function<void(const std::string&)> history) { history_ = std::move(history); }
    void setProgress(std::function<void(int)> progress) { progress_ = std::move(progress); }

    kestrel::platform::MessageAnswer messageBox(
        const std::string& text,
        kestrel::platform::MessageKind kind = kestrel::platform::MessageKind::Info,
        const std::string& caption = {}) override;
    void statusText(const std::string& text) override;
    void historyMessage(const std::string& text) override;
    void progress(int percent) override;
    void requestRedraw() override;
    std::vector<std::string> openFileDialog(const std::string& title, const std::string& filter,
                                            bool multiple) override;
    std::optional<std::string> saveFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& defaultName) override;
    bool saveImage(const kestrel::platform::Image& picture, const std::string& mimeType,
                   const std::string& path, std::string* error) override;
    // The system's default printer (ChoosePrinter), or the PDF printer when none is installed.
    std::optional<kestrel::platform::PrinterSetup> defaultPrinter() override;
    // A choice of the PDF printer's sheets and those of the installed printers.
    std::optional<kestrel::platform::PrinterSetup> pageSetupDialog(
        const kestrel::platform::PrinterSetup& current) override;
    // The system's print dialog on an installed printer; without one, the PDF printer's file
    // chosen in a save dialog.
    std::optional<kestrel::platform::PrintJob> printDialog(
        const kestrel::platform::PrinterSetup& setup) override;
    bool printPage(const kestrel::platform::Image& picture,
                   const kestrel::platform::PageRect& placement,
                   const kestrel::platform::PrintJob& job, std::string* error) override;
    int chosenSaveFilter() const override { return chosenSaveFilter_; }

    // "Description|*.a;*.b|Other|*.c" as Qt writes it: "Description (*.a *.b);;Other (*.c)".
    static std::string QtFilter(const std::string& filter);

    QtHost();
    ~QtHost() override;

private:
    QWidget* window_ = nullptr;
    std::unique_ptr<QPrinter> printer_;  // as the print dialog set it up, until the page
    int chosenSaveFilter_ = 0;
    std::function<void()> redraw_;
    std::function<void(const std::string&)> status_;
    std::function<void(const std::string&)> history_;
    std::function<void(int)> progress_;
};
