// XREF, LoadXREF and the insert-block browse over the block and XREF loaders.
#include "commands/XrefCommand.h"

#include <algorithm>

#include "commands/Session.h"
#include "fileio/BlockImport.h"
#include "platform/Unicode.h"

namespace {

using kestrel::platform::MessageKind;

std::string utf8(std::u16string_view text) {
    std::string out;
    kestrel::platform::utf16ToUtf8(text, out);
    return out;
}

bool loadXref(mmSession& s, const std::string& path, std::u16string& name) {
    std::string detail;
    const bool loaded = LoadXrefFile(s.drawing, s.glyphTable.get(), path, name, &detail);
    if (!detail.empty()) s.host.historyMessage(detail);
    if (!loaded) return false;
    s.modified = true;
    return true;
}

}  // namespace

void RunXrefCommand(mmSession& s) {
    const std::vector<std::string> paths =
        s.host.openFileDialog(kBrowseBlockTitle, kXrefFilter, false);
    if (paths.empty()) return;
    std::u16string name;
    if (!loadXref(s, paths.front(), name)) {
        s.host.messageBox(kCantMakeXref, MessageKind::Error);
        return;
    }
    s.commandLine.SubmitMenuCommand(u"INSERT");
    s.commandLine.SubmitMenuCommand(name);
    s.RequestRedraw();
}

int LoadXref(mmSession& s, std::u16string_view path, char16_t* name, std::size_t capacity) {
    if (!name || capacity == 0) return 0;
    name[0] = 0;
    std::u16string block;
    if (!loadXref(s, utf8(path), block)) return 0;
    const std::size_t n = std::min(block.size(), capacity - 1);
    std::copy_n(block.data(), n, name);
    name[n] = 0;
    return 0;
}

bool BrowseInsertBlocks(mmSession& s, mmInsertBlockList& list) {
    const std::vector<std::string> paths =
        s.host.openFileDialog(kBrowseBlockTitle, kBlockFileFilter, false);
    if (paths.empty()) return false;
    std::vector<std::u16string> names;
    if (!LoadBlockFile(s.drawing, s.glyphTable.get(), paths.front(), names)) {
        s.host.messageBox(kCantMakeBlock, MessageKind::Error);
        return false;
    }
    s.modified = s.modified || !names.empty();
    list.names.insert(list.names.end(), names.begin(), names.end());
    if (!list.names.empty()) {
        list.selected = 0;
        list.chosenName = list.names.front();
    }
    return true;
}
