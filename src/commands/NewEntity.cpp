// New-entity properties and the handling of the pending entity.
#include "commands/NewEntity.h"

#include "drawing/LayerRules.h"

void PrepareNewEntity(mmSession& s, mmObject& entity) {
    ApplyLayerDefaults(entity, s.drawing);
    entity.id = s.CurrentSpace().nextEntityId++;
}

void AddPendingEntity(mmSession& s) {
    AddEntity(s.drawing, s.pendingEntity);
}

void CompleteGeometry(mmSession& s, mmObject& entity) {
    entity.ApplyOriginOffset(s.originOffset.x, s.originOffset.y);
    entity.UpdateGrips();
    entity.UpdateExtents();
}

void DiscardPendingEntity(mmSession& s) {
    if (!s.pendingEntity) return;
    if (FindEntity(s.CurrentSpace(), s.pendingEntity->id) == s.pendingEntity)
        s.pendingEntity->erased = true;
}
