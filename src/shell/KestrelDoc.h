// CKestrelDoc: the document as the editor and the headless mode see it: the session's drawing
// opened from and saved to a path, and the name shown for it.
#pragma once

#include <string>

#include "fileio/dxf/DxfSave.h"

class mmSession;

class CKestrelDoc {
public:
    explicit CKestrelDoc(mmSession& session) : session_(session) {}

    // Ends any running command, empties the drawing to what a new one holds (layer "0",
    // "Standard"), forgets the path and redraws; the view keeps its zoom.
    void New();
    // Ends any running command, reads the drawing (a failure is shown, and what was read stays),
    // zooms the model view to its extents and redraws. Returns whether the file was read; the
    // document takes the path either way, except for a DWG that could not be imported, which
    // leaves the document, its drawing and its path as they were.
    bool Open(const std::string& path);
    // Saves as DXF of the save version; a DWG name moves the document to the DXF name instead.
    // Returns whether a file was written.
    bool Save(const std::string& path);
    // The DXF release saves write: DXF 2000 unless another was chosen.
    void SetSaveVersion(DxfVersion version) { saveVersion_ = version; }
    DxfVersion SaveVersion() const { return saveVersion_; }

    const std::string& Path() const { return path_; }
    // The file name without its folder, or "Kestrel" for a drawing never saved.
    std::string Title() const;

private:
    mmSession& session_;
    std::string path_;
    DxfVersion saveVersion_ = DxfVersion::R2000;
};
