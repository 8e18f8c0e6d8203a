// Layer dialog rules.
#include "drawing/LayerTableEdit.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/Names.h"
#include "drawing/Palette.h"

namespace {

// The integer a text starts with, as the C library's wcstol reads it (blanks, a sign, digits),
// clamped to the range of int32; 0 when there is none.
int32_t leadingInteger(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
    std::string digits;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') digits.push_back('-');
        ++i;
    }
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        digits.push_back(static_cast<char>(text[i]));
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range)
        return digits.starts_with('-') ? std::numeric_limits<int32_t>::min()
                                       : std::numeric_limits<int32_t>::max();
    if (ec != std::errc()) return 0;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

mmLayerTableEdit::mmLayerTableEdit(const mmDrawing& drawing) {
    for (const auto& [id, layer] : drawing.layers) rows_.push_back(layer);
}

std::size_t mmLayerTableEdit::NewLayer(mmDrawing& drawing) {
    std::u16string name = kNewLayerName;
    for (int n = 2; FindName(name, rows_.size()) >= 0; ++n) {
        const std::string number = std::to_string(n);
        name = std::u16string(kNewLayerName) + u' ' + std::u16string(number.begin(), number.end());
    }
    rows_.push_back(mmLayer::WithDefaults(drawing.nextLayerId++, std::move(name)));
    return rows_.size() - 1;
}

int mmLayerTableEdit::FindName(std::u16string_view name, std::size_t except) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (i != except && NamesEqualIgnoringCase(rows_[i].name, name)) return static_cast<int>(i);
    return -1;
}

std::string mmLayerTableEdit::Rename(std::size_t row, std::u16string_view name) {
    if (row >= rows_.size() || name.empty()) return {};
    if (FindName(name, row) >= 0) return kLayerNameTaken;
    rows_[row].name.assign(name);
    return {};
}

void mmLayerTableEdit::SetLineWidthText(std::size_t row, std::u16string_view text) {
    if (row < rows_.size() && !text.empty()) rows_[row].lineWidth = leadingInteger(text);
}

void mmLayerTableEdit::SetColor(std::size_t row, uint32_t color) {
    if (row >= rows_.size()) return;
    mmLayer& layer = rows_[row];
    layer.color = color & 0xFFFFFF;
    layer.colorText = ColorText(layer.color);
    layer.colorIndex = PaletteIndex(layer.color);
}

void mmLayerTableEdit::ToggleShow(std::size_t row) {
    if (row < rows_.size()) rows_[row].show = !rows_[row].show;
}

std::array<uint32_t, 16> mmLayerTableEdit::CustomColors(int k) {
    std::array<uint32_t, 16> colors{};
    const int base = 16 * std::clamp(k, 0, 15);
    for (int i = 0; i < 16; ++i) colors[i] = PaletteColor(base + i);
    return colors;
}

std::string mmLayerTableEdit::Delete(const std::vector<std::size_t>& selectedRows,
                                     int32_t currentLayerId) {
    // Work on the ids, since removing rows shifts the indices.
    std::vector<std::size_t> sorted = selectedRows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<int32_t> ids;
    for (std::size_t row : sorted)
        if (row < rows_.size()) ids.push_back(rows_[row].id);

    for (std::size_t k = 0; k < ids.size(); ++k) {
        if (rows_.size() <= 1) return kCantDeleteCurrentLayer;
        if (ids[k] == currentLayerId) return kCantDeleteCurrentLayer;
        auto it = std::find_if(rows_.begin(), rows_.end(),
                               [&](const mmLayer& l) { return l.id == ids[k]; });
        if (it == rows_.end()) continue;
        rows_.erase(it);
        deleted_.push_back(ids[k]);
    }
    return {};
}

void mmLayerTableEdit::Apply(mmDrawing& drawing, const mmGlyphTable* glyphs) const {
    for (const mmLayer& row : rows_) drawing.layers[row.id] = row;
    for (int32_t id : deleted_) drawing.layers.erase(id);
    PushLayerProperties(drawing, glyphs);
}
