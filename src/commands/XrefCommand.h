// The XREF menu command, the exported LoadXREF's work, and the browse button of the insert-block
// dialog: the Qt-free parts of bringing another drawing file's contents in as blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class mmSession;

namespace menu {
inline constexpr int32_t kXref = 32867;
}

// Asks for a DXF or DWG file ("Browse block or XREF..."); cancelling ends the command. On
// success submits "INSERT" and the new block's name, so that INSERT only asks for the insertion
// point, and redraws; on failure shows "Can't make XREF from drawing file!".
void RunXrefCommand(mmSession& session);

// Loads the file as an XREF into the session's drawing. name (room for capacity characters)
// receives the block's name, at most capacity - 1 characters and a terminating zero; it stays
// empty on failure. Always returns 0: the caller tells success by the name.
int LoadXref(mmSession& session, std::u16string_view path, char16_t* name, std::size_t capacity);

// The block list of the insert-block dialog: its drop-down entries, the selected one and the
// block name chosen.
struct mmInsertBlockList {
    std::vector<std::u16string> names;
    int selected = -1;
    std::u16string chosenName;
};

// The dialog's browse button: asks for a DXF file and loads its tables and named blocks. On
// success the blocks' names are appended in file order, the first entry is selected and becomes
// the chosen name; on failure "Can't make block from DXF file!" is shown. Cancelling does
// nothing. Returns whether a file was loaded.
bool BrowseInsertBlocks(mmSession& session, mmInsertBlockList& list);
