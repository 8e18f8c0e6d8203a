// Moving, turning and scaling entities about a base point: the coordinate transforms of blocks
// and references, plus what a whole entity changes besides its coordinates.
#include "entities/EntityTransform.h"

#include <cmath>

#include "entities/BlockRef.h"
#include "entities/Dimension.h"
#include "entities/MText.h"
#include "entities/Text.h"
#include "entities/Viewport.h"

namespace {

// Dimensions lay their label out again along the turned or scaled line and measure again.
void rebuildDimension(mmObject& e) {
    if (e.type != kTypeDimension) return;
    auto& d = static_cast<mmDimension&>(e);
    d.BuildDimension(nullptr);
    d.UpdateGrips();
    d.UpdateExtents();
}

// A viewport stays an axis-parallel rectangle: a turned one takes the box of its corners.
void finish(mmObject& e) {
    e.UpdateGrips();
    e.UpdateExtents();
    if (e.type == kTypeViewport && e.pointCount() == 4) {
        const mmRect r = e.extents;
        static_cast<mmViewport&>(e).SetRectangle(r.minX, r.minY, r.maxX, r.maxY);
    }
}

}  // namespace

void MoveEntity(mmObject& e, double dx, double dy) {
    TranslateEntity(e, dx, dy);
    finish(e);
}

void RotateEntityAbout(mmObject& e, double baseX, double baseY, double degrees) {
    TranslateEntity(e, -baseX, -baseY);
    RotateEntity(e, degrees);  // references add the turn to their rotation
    TranslateEntity(e, baseX, baseY);
    if (auto* text = dynamic_cast<mmText*>(&e))
        text->SetRotation(std::fmod(text->rotation + degrees, 360.0), nullptr);
    rebuildDimension(e);
    finish(e);
}

bool ScaleEntityAbout(mmObject& e, double baseX, double baseY, double factor) {
    if (!std::isfinite(factor) || factor <= 0.0) return false;
    if (e.type == kTypeBlockRef) {
        // The children scale with the reference's own factors.
        auto& ref = static_cast<mmBlockRef&>(e);
        if (!ref.SetScale(ref.scaleX * factor, ref.scaleY * factor, false)) return false;
        for (mmVertex& p : ref.points) {
            p.x = baseX + (p.x - baseX) * factor;
            p.y = baseY + (p.y - baseY) * factor;
        }
        finish(e);
        return true;
    }
    TranslateEntity(e, -baseX, -baseY);
    ScaleEntity(e, factor, factor, factor);
    TranslateEntity(e, baseX, baseY);
    if (auto* text = dynamic_cast<mmText*>(&e)) {
        if (auto* mtext = dynamic_cast<mmMText*>(&e)) mtext->rectangleWidth *= factor;
        text->SetHeight(text->height * factor, nullptr);
    }
    rebuildDimension(e);
    finish(e);
    return true;
}
