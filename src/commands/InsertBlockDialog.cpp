// The block insert dialog's rules.
#include "commands/InsertBlockDialog.h"

#include "commands/InputGrammar.h"
#include "drawing/Drawing.h"

namespace {

constexpr std::size_t kCoordinateFieldLength = 39;

}  // namespace

mmInsertBlockList InsertDialogBlockList(const mmDrawing& drawing) {
    mmInsertBlockList list;
    for (const auto& [id, block] : drawing.blocks)
        if (block && !block->name.empty() && block->name[0] != u'*')
            list.names.push_back(block->name);
    if (!list.names.empty()) {
        list.selected = 0;
        list.chosenName = list.names.front();
    }
    return list;
}

double InsertDialogCoordinate(std::u16string_view text) {
    return ReadNumber(text.substr(0, kCoordinateFieldLength)).value_or(0.0);
}
