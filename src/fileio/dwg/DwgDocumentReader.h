// Reads the bridge's JSON document in one pass without holding it as one tree: the members of
// the top-level object are collected whole, except the "entities" list, whose elements are
// handed over one by one as they are parsed. The bridge writes the entity list last; members
// after it are not seen by the head callback.
#pragma once

#include <functional>
#include <string_view>

#include "fileio/dwg/DwgJson.h"

struct DwgDocumentCallbacks {
    // Once, with the members before the entity list (or all of them when there is none);
    // returning false stops the reading.
    std::function<bool(const DwgJson& head)> head;
    // Each element of the entity list.
    std::function<void(const DwgJson& entity)> entity;
};

// False when the text is no JSON object or the head callback stopped the reading; the
// callbacks may have run before an error further on.
bool ReadDwgDocument(std::string_view json, const DwgDocumentCallbacks& callbacks);
