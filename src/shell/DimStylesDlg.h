// The dimension style dialogs: CDimStylesDlg lists the styles with the current one and offers
// Set current, New, Modify, Delete and Apply to all; CDimStyleNewDlg asks for a name and a base
// style; CDimStyleModifyDlg edits the five sizes and the arrow kind. Their rules are those of
// drawing/DimStyleRules.h and act on the drawing at once (Modify on its OK).
#pragma once

#include <QDialog>
#include <functional>

#include "drawing/DimStyleRules.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class mmSession;

class CDimStylesDlg : public QDialog {
public:
    CDimStylesDlg(mmSession& session, QWidget* parent);

    QListWidget* styles() const { return list_; }
    QLabel* currentName() const { return current_; }

    void SetCurrent();
    void NewStyle();
    void ModifyStyle();
    void DeleteStyle();
    void ApplyToAll();

private:
    void Fill(int32_t selectId);
    // The id of the selected style; -1 when none is selected.
    int32_t SelectedId() const;
    void Changed();

    mmSession& session_;
    QLabel* current_;
    QListWidget* list_;
};

class CDimStyleNewDlg : public QDialog {
public:
    CDimStyleNewDlg(const mmSession& session, QWidget* parent);

    QLineEdit* name() const { return name_; }
    QComboBox* base() const { return base_; }
    int32_t BaseId() const;

private:
    QLineEdit* name_;
    QComboBox* base_;
};

class CDimStyleModifyDlg : public QDialog {
public:
    CDimStyleModifyDlg(const mmDimStyleModifyFields& fields, QWidget* parent);

    // The fields as typed, on OK.
    mmDimStyleModifyFields Fields() const;
    QLineEdit* field(int i) const { return fields_[i]; }

private:
    mmDimStyleModifyFields shown_;
    QLineEdit* fields_[5];
    QButtonGroup* kind_;
};
