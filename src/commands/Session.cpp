// mmSession: construction and the redraw request.
#include "commands/Session.h"

mmSession::mmSession(kestrel::platform::Host& h)
    : host(h),
      modelView(originOffset),
      activeView(&modelView),
      commandLine(*this),
      preview_(*this) {
    FillNewDrawing(drawing);
    modelView.commandPreview = &preview_;
}

void mmSession::RequestRedraw() {
    activeView->needsFullRedraw = true;
    host.requestRedraw();
}
