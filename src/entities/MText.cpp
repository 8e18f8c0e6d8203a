// Multi-line texts: the attachment rules and copies.
#include "entities/MText.h"

mmVertex mmMText::DrawOrigin() const {
    mmVertex origin = mmText::DrawOrigin();
    if (attachment >= 1 && attachment <= 3) origin.y -= height;
    if (attachment == 3 || attachment == 9) origin.x -= advance;
    return origin;
}

void mmMText::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* t = dynamic_cast<const mmText*>(&from)) CopyTextFields(*t);
    if (const auto* mt = dynamic_cast<const mmMText*>(&from)) attachment = mt->attachment;
    CopyPointsAndGrips(from);
    Rebuild(nullptr);
    UpdateExtents();
}
