// How commands create entities: the new-entity properties (current layer, by-layer colour,
// visibility and width, the next id of the current space) and the geometry finish.
#pragma once

#include <memory>

#include "commands/Session.h"

// Layer properties and a new id from the current space's counter.
void PrepareNewEntity(mmSession& session, mmObject& entity);

// A new entity of class T with the new-entity properties, made the pending entity.
template <class T>
std::shared_ptr<T> NewPendingEntity(mmSession& session) {
    auto entity = std::make_shared<T>();
    PrepareNewEntity(session, *entity);
    session.pendingEntity = entity;
    return entity;
}

// The pending entity as the class the running command made it of.
template <class T>
T& PendingAs(mmSession& session) {
    return static_cast<T&>(*session.pendingEntity);
}

// Adds the pending entity to the current space.
void AddPendingEntity(mmSession& session);
// After the geometry is set: origin offset, grips, extents.
void CompleteGeometry(mmSession& session, mmObject& entity);
// A command left before its entity had any geometry: the entity it added at the start is erased,
// so no empty entity is drawn, picked or saved.
void DiscardPendingEntity(mmSession& session);
