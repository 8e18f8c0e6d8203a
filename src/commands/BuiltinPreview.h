// mmBuiltinCommandPreview: the preview the renderer gets for the view's running command: the
// extension rubber-band line, or the built-in command's own rubber band.
#pragma once

#include "display/CommandPreview.h"
#include "entities/Vertex.h"

class mmObject;
class mmSession;

class mmBuiltinCommandPreview : public mmCommandPreview {
public:
    explicit mmBuiltinCommandPreview(const mmSession& session) : session_(session) {}

    void DrawPreview(mmDrawContext& dc, const mmView& view, double cursorX,
                     double cursorY) const override;

private:
    const mmSession& session_;
};

// Helpers for the commands' previews. Points are drawing coordinates; the origin offset is taken
// off on the way out.
void PreviewLine(mmDrawContext& dc, const mmView& view, const mmVertex& a, const mmVertex& b);
// An entity drawn as it stands, unculled.
void PreviewEntity(mmDrawContext& dc, const mmView& view, mmObject& entity);
