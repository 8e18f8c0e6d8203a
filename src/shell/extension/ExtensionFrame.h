// mmExtensionFrame: what the exported toolbar, pane and window functions ask of the main frame.
// The Qt editor sets one; without one (the headless mode, tests) those calls are accepted and do
// nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The extension toolbar and pane slots are numbered 0 to 9.
inline constexpr int kExtensionSlots = 10;

struct mmExtensionButton {
    int image = 0;  // the 16 x 16 cell of the toolbar image
    int32_t commandId = 0;
    bool separator = false;
    std::u16string tooltip;  // used when no registered command has the id
};

struct mmExtensionToolbar {
    int index = 0;
    std::u16string title;
    // The image file of the buttons; empty when the module has none beside it.
    std::filesystem::path imageFile;
    std::vector<mmExtensionButton> buttons;
};

class mmExtensionFrame {
public:
    virtual ~mmExtensionFrame() = default;
    // The main window (a QMainWindow*).
    virtual void* MainWindow() = 0;
    // index is a valid slot.
    virtual void CreateToolbar(const mmExtensionToolbar& toolbar) = 0;
    // content is the module's QWidget*, not null; index is a valid slot.
    virtual void CreateDockbar(int index, const std::u16string& title, void* content) = 0;
};

// The frame the exported functions act on; null when there is none.
void SetExtensionFrame(mmExtensionFrame* frame);
mmExtensionFrame* ExtensionFrame();
