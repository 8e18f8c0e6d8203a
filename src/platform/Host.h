// Host: how the Qt-free parts of the program talk to the user (message boxes, status bar,
// progress, redraw requests, file dialogs). The Qt shell answers with real widgets; tests and the
// headless mode use RecordingHost and StderrHost.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrel::platform {

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
    // The filter chosen in the last save dialog, counted from 0 in the order of its pairs.
    // Default: 0.
    virtual int chosenSaveFilter() const;
};

}  // namespace kestrel::platform
