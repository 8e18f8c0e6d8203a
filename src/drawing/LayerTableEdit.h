// The rules of the layer dialog over its working copy of the layer table: new rows, deleted rows
// and applying the rows to the drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drawing/Layer.h"

class mmDrawing;
class mmGlyphTable;

inline constexpr char kCantDeleteCurrentLayer[] = "Can't delete current layer!";

class mmLayerTableEdit {
public:
    // The rows start as a copy of the drawing's layer table in id order.
    explicit mmLayerTableEdit(const mmDrawing& drawing);

    std::vector<mmLayer>& rows() { return rows_; }
    const std::vector<mmLayer>& rows() const { return rows_; }
    const std::vector<int32_t>& deletedIds() const { return deleted_; }

    // A row "New layer" with the default fields and an id taken from the drawing's counter at
    // once (the counter advances even if the dialog is cancelled). Returns its row index.
    std::size_t NewLayer(mmDrawing& drawing);

    // Deletes the selected rows (indices into rows()), first to last. Returns the message to show
    // (empty when none): the current layer, and the last remaining layer, cannot be deleted.
    std::string Delete(const std::vector<std::size_t>& selectedRows, int32_t currentLayerId);

    // Stores the rows in the drawing, removes the deleted ids, then pushes the layer properties.
    void Apply(mmDrawing& drawing, const mmGlyphTable* glyphs) const;

private:
    std::vector<mmLayer> rows_;
    std::vector<int32_t> deleted_;
};
