// CLayersDlg: the layers dialog: a list of the layers (name, Show lamp, colour swatch, line
// type, width) edited in place, with New layer and Delete layer. It works on a copy of the layer
// table (mmLayerTableEdit); the frame applies it on OK.
#pragma once

#include <QDialog>

#include "drawing/LayerTableEdit.h"

class QTableWidget;
class QTableWidgetItem;
class mmDrawing;

class CLayersDlg : public QDialog {
public:
    // The columns of the list.
    enum Column { kName, kShow, kSelectable, kColor, kLineType, kLineWidth, kColumns };

    CLayersDlg(mmDrawing& drawing, QWidget* parent);

    const mmLayerTableEdit& edit() const { return edit_; }
    QTableWidget* list() const { return list_; }

    // The toolbar's commands.
    void NewLayer();
    void DeleteLayers();
    // A colour chosen for the first selected row.
    void ChooseColor();

private:
    void Fill();
    void FillRow(int row);
    std::size_t FirstSelectedRow() const;
    void CellClicked(int row, int column);
    void CellDoubleClicked(int row, int column);
    void ItemEdited(QTableWidgetItem* item);

    mmDrawing& drawing_;
    mmLayerTableEdit edit_;
    QTableWidget* list_;
};
