// The exported functions of the main frame: its window, and the toolbars and panes modules add.
#include <string>
#include <system_error>

#include "shell/extension/ExportGuard.h"
#include "shell/extension/ExtensionFrame.h"
#include "shell/extension/ModuleLoader.h"

namespace {

mmExtensionFrame* gFrame = nullptr;

// More buttons than this on one toolbar is taken for a bad count.
constexpr int kMaxButtons = 256;

bool validSlot(int index) {
    return index >= 0 && index < kExtensionSlots;
}

// NAME.bitmapId.png (or .bmp) beside NAME.kxm; empty when there is neither.
std::filesystem::path toolbarImage(const std::filesystem::path& module, int bitmapId) {
    for (const char* extension : {".png", ".bmp"}) {
        std::filesystem::path image = module;
        image.replace_filename(module.stem().string() + "." + std::to_string(bitmapId) + extension);
        std::error_code error;
        if (std::filesystem::is_regular_file(image, error)) return image;
    }
    return {};
}

template <class Body>
void guarded(Body&& body) {
    try {
        body();
    } catch (...) {
    }
}

}  // namespace

void SetExtensionFrame(mmExtensionFrame* frame) {
    gFrame = frame;
}

mmExtensionFrame* ExtensionFrame() {
    return gFrame;
}

extern "C" {

void GetMainFrameWindow(void** out) {
    if (!out) return;
    *out = nullptr;
    guarded([&] {
        if (gFrame) *out = gFrame->MainWindow();
    });
}

void CreateExtensionToolbar(int bitmapId, void* module, const char16_t* title, int index,
                            const KestrelToolbarButton* buttons, int buttonCount) {
    if (buttonCount < 0 || buttonCount > kMaxButtons || (!buttons && buttonCount > 0)) return;
    if (!validSlot(index) || !gFrame) return;
    guarded([&] {
        const std::optional<std::filesystem::path> path = LoadedModulePath(module);
        if (!path) return;
        mmExtensionToolbar toolbar;
        toolbar.index = index;
        toolbar.title = ModuleText(title);
        toolbar.imageFile = toolbarImage(*path, bitmapId);
        for (int i = 0; i < buttonCount; ++i) {
            const KestrelToolbarButton& b = buttons[i];
            toolbar.buttons.push_back(
                {b.image, b.commandId, b.style == KESTREL_SEPARATOR, std::u16string(ModuleText(b.tooltip))});
        }
        gFrame->CreateToolbar(toolbar);
    });
}

void CreateExtensionDockbar(int, void* module, const char16_t* title, int index, void* content) {
    if (!content || !validSlot(index) || !gFrame) return;
    guarded([&] {
        if (LoadedModulePath(module)) gFrame->CreateDockbar(index, std::u16string(ModuleText(title)), content);
    });
}

}  // extern "C"
