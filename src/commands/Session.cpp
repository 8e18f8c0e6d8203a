// mmSession: construction (with the system glyph table) and the redraw request.
#include "commands/Session.h"

#include "commands/CommandTable.h"

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
}

mmSceneSource mmSession::ModelScene() const {
    mmSceneSource scene{&drawing.ModelSpace(), pendingEntity.get()};
    if (CommandHidesPendingEntity(modelView.commandId)) scene.hiddenEntity = pendingEntity.get();
    return scene;
}

void mmSession::RequestRedraw() {
    activeView->needsFullRedraw = true;
    host.requestRedraw();
}
