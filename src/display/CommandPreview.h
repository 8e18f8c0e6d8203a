// mmCommandPreview: how the renderer asks the running command for its rubber-band geometry.
#pragma once

class mmDrawContext;
class mmView;

class mmCommandPreview {
public:
    virtual ~mmCommandPreview() = default;

    // Emits the preview of the view's running command for the cursor at (cursorX, cursorY) in
    // drawing coordinates. Vertices are display coordinates (origin offset subtracted), in the
    // view's model transform; the preview sets its own colour and line width.
    virtual void DrawPreview(mmDrawContext& dc, const mmView& view, double cursorX,
                             double cursorY) const = 0;
};
