// CPropertyGrid: a two-column grid of named values under category rows, each value edited in
// place: a line for texts and numbers, a drop-down list (with colour swatches) for choices.
// Read-only values are shown greyed. The grid only shows and forwards: an edit is handed to the
// callback after its editor closed, and the caller shows the outcome with SetItems.
#pragma once

#include <QColor>
#include <QStringList>
#include <QTreeView>
#include <functional>
#include <vector>

class QStandardItemModel;

struct CPropertyGridItem {
    enum class Kind { Text, Number, Integer, Choice };

    int id = 0;  // the caller's key
    QString category;
    QString label;
    Kind kind = Kind::Text;
    QString value;          // shown; for a choice the selected entry's text
    QStringList choices;    // the entries of a choice
    QList<QColor> swatches;  // one per entry (invalid: none), or empty
    bool readOnly = false;

    bool SameShapeAs(const CPropertyGridItem& other) const;
};

class CPropertyGrid : public QTreeView {
public:
    explicit CPropertyGrid(QWidget* parent = nullptr);

    // Shows the items, grouped by category in the order given. When they have the shape of
    // those shown (ids, labels, kinds, entries) only the values change, so an open editor and
    // the current row stay.
    void SetItems(const std::vector<CPropertyGridItem>& items);
    const std::vector<CPropertyGridItem>& Items() const { return items_; }
    QString ValueOf(int id) const;

    // Called with the item's id and the text typed or the entry chosen, once the editor has
    // closed and only when the value differs from the one shown.
    void setEdited(std::function<void(int id, const QString& value)> edited) {
        edited_ = std::move(edited);
    }
    // Esc in the grid or in one of its editors.
    void setEscape(std::function<void()> escape) { escape_ = std::move(escape); }

    // Makes the item current and opens its editor; false when it is read-only or not shown.
    bool EditItem(int id);
    // The open editor, if any.
    QWidget* Editor() const;

    // Forwarded by the delegate.
    void Commit(const QModelIndex& index, const QString& value);
    void Escape();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void Rebuild();
    QModelIndex ValueIndex(int id) const;
    // The next editable value after the current row, wrapping around; invalid when none.
    QModelIndex NextEditable() const;

    QStandardItemModel* model_;
    std::vector<CPropertyGridItem> items_;
    std::function<void(int, const QString&)> edited_;
    std::function<void()> escape_;
};
