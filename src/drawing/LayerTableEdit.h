// The rules of the layer dialog over its working copy of the layer table: new rows, deleted rows
// and applying the rows to the drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/Layer.h"

class mmDrawing;
class mmGlyphTable;

inline constexpr char kCantDeleteCurrentLayer[] = "Can't delete current layer!";
inline constexpr char kLayerNameTaken[] = "A layer with this name already exists.";

class mmLayerTableEdit {
public:
    // The rows start as a copy of the drawing's layer table in id order.
    explicit mmLayerTableEdit(const mmDrawing& drawing);

    std::vector<mmLayer>& rows() { return rows_; }
    const std::vector<mmLayer>& rows() const { return rows_; }
    const std::vector<int32_t>& deletedIds() const { return deleted_; }

    // A row "New layer" with the default fields and an id taken from the drawing's counter at
    // once (the counter advances even if the dialog is cancelled). Returns its row index. While
    // a row has that name, the new one is "New layer 2" (3, ...): names stay distinct.
    std::size_t NewLayer(mmDrawing& drawing);

    // The edits of one row; an index that names no row does nothing. A name typed in place:
    // empty keeps the old one, a name another row has (ignoring case) is refused with the
    // message returned (empty when accepted).
    std::string Rename(std::size_t row, std::u16string_view name);
    // The width typed in place: the integer the text starts with (0 when it starts with none).
    // An empty text keeps the old width.
    void SetLineWidthText(std::size_t row, std::u16string_view text);
    // A colour picked for the row: its colour text "r,g,b" and its palette index (or the colour
    // value itself when no palette entry has it).
    void SetColor(std::size_t row, uint32_t color);
    void ToggleShow(std::size_t row);
    // The row whose name equals this one ignoring case, other than except; -1 when none.
    int FindName(std::u16string_view name, std::size_t except) const;

    // Deletes the selected rows (indices into rows()), first to last. Returns the message to show
    // (empty when none): the current layer, and the last remaining layer, cannot be deleted.
    std::string Delete(const std::vector<std::size_t>& selectedRows, int32_t currentLayerId);

    // Stores the rows in the drawing, removes the deleted ids, then pushes the layer properties.
    void Apply(mmDrawing& drawing, const mmGlyphTable* glyphs) const;

    // The sixteen custom colours the colour dialog offers: palette entries 16k to 16k + 15.
    static std::array<uint32_t, 16> CustomColors(int k);

private:
    std::vector<mmLayer> rows_;
    std::vector<int32_t> deleted_;
};
