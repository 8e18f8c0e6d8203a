// CPropertiesDlg: the content of the "Properties" pane: a combo naming the type of the selection
// and the property grid of its items. It shows the sheet of mmPropertiesModel and hands the
// grid's edits to it; "Select..." of the colour list asks for a colour with the colour dialog.
#pragma once

#include <QWidget>
#include <functional>

#include "commands/Properties.h"

class CPropertyGrid;
class QComboBox;
class mmSession;

class CPropertiesDlg : public QWidget {
public:
    CPropertiesDlg(mmSession& session, QWidget* parent);

    // Builds the grid again from the selection of the current space.
    void Refresh();
    // Applies what was typed or chosen for an item, as the grid does after an edit.
    mmPropertyEdit Edit(mmPropertyId id, const QString& value);

    CPropertyGrid* grid() const { return grid_; }
    QComboBox* typeCombo() const { return type_; }
    const mmPropertiesModel& model() const { return model_; }

    // Esc in the panel.
    void setEscape(std::function<void()> escape) { escape_ = std::move(escape); }
    // After an edit changed the drawing.
    void setAfterEdit(std::function<void()> afterEdit) { afterEdit_ = std::move(afterEdit); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    mmSession& session_;
    mmPropertiesModel model_;
    QComboBox* type_;
    CPropertyGrid* grid_;
    std::function<void()> escape_;
    std::function<void()> afterEdit_;
};
