// What a space shows, as text, for comparing a drawing before a command with the drawing after
// its UNDO (and after the command with the drawing after REDO): the entities that are not erased,
// in drawing order, with their class, id, properties and geometry, whether their id refers to
// them, and the names of the blocks.
#pragma once

#include <cstdio>
#include <string>

#include "drawing/Drawing.h"
#include "entities/Arc.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Hatch.h"
#include "entities/Polyline.h"

inline void AppendNumber(std::string& out, double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %.12g", v);
    out += buffer;
}

inline void AppendEntityState(std::string& out, const mmObject& e) {
    out += std::to_string(e.type) + " #" + std::to_string(e.id) + " layer " +
           std::to_string(e.layerId) + " colour " + std::to_string(e.colorIndex) + ":";
    for (const mmVertex& p : e.points) {
        AppendNumber(out, p.x);
        AppendNumber(out, p.y);
    }
    if (auto* p = dynamic_cast<const mmPolyline*>(&e)) {
        out += p->closed ? " closed" : " open";
        for (double b : p->bulges)
            AppendNumber(out, b);
    } else if (auto* c = dynamic_cast<const mmCircle*>(&e)) {
        AppendNumber(out, c->radius);
    } else if (auto* a = dynamic_cast<const mmArc*>(&e)) {
        AppendNumber(out, a->radius);
        AppendNumber(out, a->startAngle);
        AppendNumber(out, a->endAngle);
    } else if (auto* d = dynamic_cast<const mmDimension*>(&e)) {
        for (const mmVertex& v : d->defPoints) {
            AppendNumber(out, v.x);
            AppendNumber(out, v.y);
        }
    } else if (auto* h = dynamic_cast<const mmHatch*>(&e)) {
        for (const auto& loop : h->loops) {
            out += " [";
            for (const mmObjectPtr& b : *loop)
                AppendEntityState(out, *b);
            out += "]";
        }
    } else if (auto* r = dynamic_cast<const mmBlockRef*>(&e)) {
        out += " children " + std::to_string(r->children.size());
    }
}

inline std::string DrawingState(const mmSpace& space) {
    std::string out;
    for (const mmObjectPtr& e : space.entities) {
        if (!e || e->erased) continue;
        AppendEntityState(out, *e);
        if (FindEntity(space, e->id) != e) out += " (id refers elsewhere)";
        out += "\n";
    }
    for (const auto& [id, block] : space.blocks)
        out += "block " + std::to_string(id) + " " + std::to_string(block->entities.size()) + "\n";
    return out;
}
