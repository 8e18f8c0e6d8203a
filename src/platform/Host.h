// Host: how the Qt-free parts of the program talk to the user (message boxes, status bar,
// progress, redraw requests, file dialogs). The Qt shell answers with real widgets; tests and the
// headless mode use RecordingHost and StderrHost.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Printer.h"

namespace kestrel::platform {

struct Image;

enum class MessageKind { Info, Warning, Error, Question };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// Texts are UTF-8. Every method but messageBox has a default body, so new requests can be added
// without touching existing hosts. Overrides repeat the defaults of messageBox unchanged.
class Host {
public:
    virtual ~Host();

    // Shows text exactly as given. A Question offers Yes and No; the others only Ok.
    virtual MessageAnswer messageBox(const std::string& text, MessageKind kind = MessageKind::Info,
                                     const std::string& caption = {}) = 0;

    // Replaces the status-bar text. Default: ignored.
    virtual void statusText(const std::string& text);

    // A message for the command-line history, as a line of its own. Default: ignored.
    virtual void historyMessage(const std::string& text);

    // Percent done, 0 to 100; -1 ends the progress display. Default: ignored.
    virtual void progress(int percent);

    // Asks for the views to be drawn again. Default: ignored.
    virtual void requestRedraw();

    // filter is "Description|*.ext;*.ext2|Description|*.ext..." pairs. Returns the chosen paths,
    // at most one unless multiple; empty when cancelled. Default: cancelled.
    virtual std::vector<std::string> openFileDialog(const std::string& title,
                                                    const std::string& filter, bool multiple);

    // Returns the path to save to, or nothing when cancelled. Default: cancelled.
    virtual std::optional<std::string> saveFileDialog(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& defaultName);

    // The application's current printer with its page; nothing when there is none and the user
    // chose none. Default: the PDF printer, A4 portrait at 600 dpi.
    virtual std::optional<PrinterSetup> defaultPrinter();
    // The page-setup dialog (printer and paper) starting from current; nothing when cancelled.
    // Default: cancelled.
    virtual std::optional<PrinterSetup> pageSetupDialog(const PrinterSetup& current);
    // The print dialog for one page on the printer of setup; nothing when cancelled. Default:
    // cancelled.
    virtual std::optional<PrintJob> printDialog(const PrinterSetup& setup);
    // Prints one page: the picture stretched onto the rectangle of the printable area. False
    // (with *error set) when nothing could be printed. Default: false.
    virtual bool printPage(const Image& picture, const PageRect& placement, const PrintJob& job,
                           std::string* error);
    // Writes the picture with the image encoder of this MIME type ("image/png", "image/jpeg"
    // ...). False (with *error set) when no encoder has the type or the file cannot be written.
    // Default: PNG only.
    virtual bool saveImage(const Image& picture, const std::string& mimeType,
                           const std::string& path, std::string* error);
    // The filter chosen in the last save dialog, counted from 0 in the order of its pairs.
    // Default: 0.
    virtual int chosenSaveFilter() const;
};

}  // namespace kestrel::platform
