// mmSession: construction (with the system glyph table) and the redraw request.
#include "commands/Session.h"

#include "commands/CommandTable.h"
#include "commands/Layouts.h"

mmSession::mmSession(kestrel::platform::Host& h)
    : host(h),
      modelView(originOffset),
      activeView(&modelView),
      commandLine(*this),
      preview_(*this) {
    FillNewDrawing(drawing);
    modelView.commandPreview = &preview_;
    std::string fontMessage;
    glyphTable = SystemGlyphTable(&fontMessage);
    if (!fontMessage.empty()) host.messageBox(fontMessage, kestrel::platform::MessageKind::Warning);
    ResetLayouts(*this, true);
}

mmSceneSource mmSession::ModelScene() const {
    mmSceneSource scene{&drawing.ModelSpace(), pendingEntity.get()};
    if (CommandHidesPendingEntity(activeView->commandId)) scene.hiddenEntity = pendingEntity.get();
    return scene;
}

mmLayout* mmSession::ActiveLayout() const {
    if (activeTab < 1 || static_cast<std::size_t>(activeTab) > layouts.size()) return nullptr;
    return layouts[static_cast<std::size_t>(activeTab - 1)].get();
}

mmSpace* mmSession::FindSpace(uint64_t serial) {
    if (drawing.serial == serial) return &drawing.ModelSpace();
    for (const mmLayoutPtr& layout : layouts)
        if (layout->paper.serial == serial) return &layout->paper;
    return nullptr;
}

mmLayout* mmSession::LayoutOfSpace(const mmSpace* space) const {
    for (const mmLayoutPtr& layout : layouts)
        if (&layout->paper == space) return layout.get();
    return nullptr;
}

void mmSession::RequestRedraw() {
    activeView->needsFullRedraw = true;
    host.requestRedraw();
}
