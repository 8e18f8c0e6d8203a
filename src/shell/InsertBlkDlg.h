// CInsertBlkDlg: the block insert dialog: the block to insert (from the list, or typed), the
// insertion point typed or to be picked on screen, and the browse button that imports the
// blocks of a DXF file.
#pragma once

#include <QDialog>

#include "commands/InsertBlockDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class mmSession;

class CInsertBlkDlg : public QDialog {
public:
    // The list is the INSERT command's; browsing adds to it.
    CInsertBlkDlg(mmSession& session, mmInsertBlockList& list, QWidget* parent);

    // What the dialog hands back; complete once it ended with OK.
    const mmInsertBlockChoice& choice() const { return choice_; }

    QComboBox* blockNames() const { return names_; }
    QLineEdit* field(int axis) const { return fields_[axis]; }
    QCheckBox* onScreen() const { return onScreen_; }
    void Browse();

    void accept() override;

private:
    void FillNames();

    mmSession& session_;
    mmInsertBlockList& list_;
    mmInsertBlockChoice choice_;
    QComboBox* names_;
    QLineEdit* fields_[3];
    QCheckBox* onScreen_;
};
