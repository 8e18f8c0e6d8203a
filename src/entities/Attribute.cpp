// Attributes and attribute definitions: texts that keep their tag, hidden when invisible.
#include "entities/Attribute.h"

#include "entities/DrawContext.h"

void mmAttribute::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                       int primitive, const mmShift& shift, bool cull) {
    if (Invisible() && mode != kDrawGrips) return;
    mmText::Draw(dc, view, mode, pixelsPerUnit, primitive, shift, cull);
}

bool mmAttribute::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                          float pixelsPerUnit, const mmShift& shift, bool cull) {
    return !Invisible() && mmText::HitTest(cx, cy, view, m, pixelsPerUnit, shift, cull);
}

bool mmAttribute::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    return !Invisible() && mmText::CrossesRect(rect, shift, cull);
}

// An invisible attribute takes no room.
void mmAttribute::UpdateExtents() {
    if (Invisible())
        SetExtents(EmptyExtents());
    else
        mmText::UpdateExtents();
}

void mmAttribute::CopyFrom(const mmObject& from) {
    if (const auto* a = dynamic_cast<const mmAttribute*>(&from)) {
        tag = a->tag;
        flags = a->flags;
    }
    mmText::CopyFrom(from);
}

void mmAttributeDef::CopyFrom(const mmObject& from) {
    if (const auto* d = dynamic_cast<const mmAttributeDef*>(&from)) prompt = d->prompt;
    mmAttribute::CopyFrom(from);
}
