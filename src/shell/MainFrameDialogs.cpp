// CMainFrame: the layers, dimension styles and block insert dialogs, and what their results do
// to the drawing.
#include "commands/Session.h"
#include "drawing/Drawing.h"
#include "shell/CommunDialog.h"
#include "shell/DimStylesDlg.h"
#include "shell/InsertBlkDlg.h"
#include "shell/LayersDlg.h"
#include "shell/MainFrame.h"

// On OK the rows become the layer table and the entities follow their layers.
void CMainFrame::LayersDialog() {
    CLayersDlg dialog(session_.drawing, this);
    if (dialog.exec() == QDialog::Accepted) {
        const std::map<int32_t, mmLayer> before = session_.drawing.layers;
        dialog.edit().Apply(session_.drawing, session_.glyphTable.get());
        if (session_.drawing.layers != before) session_.modified = true;
        RefreshLayerList();
        RefreshProperties();
        session_.RequestRedraw();
    }
    command_->FocusInput();
}

void CMainFrame::DimStylesDialog() {
    CDimStylesDlg dialog(session_, this);
    dialog.exec();
    RefreshProperties();
    command_->FocusInput();
}

std::optional<mmInsertBlockChoice> CMainFrame::InsertBlockDialog(mmInsertBlockList& list) {
    CInsertBlkDlg dialog(session_, list, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    command_->FocusInput();
    if (!accepted) return std::nullopt;
    return dialog.choice();
}
