// CKestrelDoc: opening and saving through the DXF reader and writer.
#include "shell/KestrelDoc.h"

#include <filesystem>

#include "commands/Interpreter.h"
#include "commands/Layouts.h"
#include "commands/Session.h"
#include "fileio/DrawingDocument.h"
#include "fileio/dxf/DxfLayout.h"

namespace {

// The folder relative image paths are taken from: the drawing file's, made absolute.
std::string folderOf(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? std::string() : absolute.parent_path().string();
}

void endRunningCommand(mmSession& s) {
    EndCommand(s);
    s.commandLine.SetPrompt(kIdlePrompt);
    s.commandLine.ResetInputLine();
}

}  // namespace

void CKestrelDoc::New() {
    endRunningCommand(session_);
    NewDrawing(session_.drawing);
    ResetLayouts(session_, true);
    path_.clear();
    session_.documentFolder.clear();
    session_.modified = false;
    session_.modelView.regenPending = true;
    session_.RequestRedraw();
}

bool CKestrelDoc::Open(const std::string& path) {
    endRunningCommand(session_);
    DxfLayoutList target;
    const bool read =
        OpenDrawing(session_.drawing, path, session_.host, session_.glyphTable.get(), &target);
    // A file that cannot be read leaves the document as it was.
    if (!read) {
        session_.commandLine.FlushPendingMessage();
        session_.RequestRedraw();
        return false;
    }
    path_ = path;
    session_.documentFolder = folderOf(path);
    session_.modified = false;
    ReceiveLayouts(session_, target);
    mmView& view = session_.modelView;
    if (!view.zoomExtents(session_.drawing.ModelSpace().entities) &&
        !session_.drawing.entities.empty())
        session_.commandLine.pendingMessage = kZoomExtentsRangeMessage;
    session_.commandLine.FlushPendingMessage();
    view.regenPending = true;
    session_.RequestRedraw();
    return true;
}

// The entity a running command is still building is not part of the drawing yet: the file is
// written without it, the command goes on, and the drawing stays modified.
bool CKestrelDoc::Save(const std::string& path) {
    mmObject* pending = session_.pendingEntity.get();
    const bool leaveOut = pending && session_.ActiveView().commandId != 0 && !pending->erased &&
                          FindEntity(session_.CurrentSpace(), pending->id).get() == pending;
    if (leaveOut) pending->erased = true;
    const DxfLayoutList layouts = LayoutsToSave(session_);
    const SaveOutcome outcome =
        SaveDrawing(session_.drawing, path, session_.host, &layouts, saveVersion_);
    if (leaveOut) pending->erased = false;
    const mmLayout* saved = LayoutToSave(session_);
    if (outcome.written && saved && saveVersion_ == DxfVersion::R12)
        if (const std::string line = LayoutsLeftOutMessage(session_, *saved); !line.empty())
            session_.host.historyMessage(line);
    if (!outcome.documentPath.empty()) {
        path_ = outcome.documentPath;
        session_.documentFolder = folderOf(path_);
    }
    if (outcome.written && !leaveOut) session_.modified = false;
    return outcome.written;
}

std::string CKestrelDoc::Title() const {
    if (path_.empty()) return "Kestrel";
    return std::filesystem::path(path_).filename().string();
}
