// CPropertyGrid: the model of rows, the in-place editors and the keys.
#include "widgets/PropertyGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

#include "widgets/ColorSwatch.h"

namespace {

// Item rows keep the position of their item in Items() here.
constexpr int kItemRole = Qt::UserRole + 1;
constexpr int kLabelColumnWidth = 110;

class PropertyDelegate : public QStyledItemDelegate {
public:
    explicit PropertyDelegate(CPropertyGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        const CPropertyGridItem* item = itemAt(index);
        if (!item || item->readOnly) return nullptr;
        if (item->kind == CPropertyGridItem::Kind::Choice) {
            auto* box = new QComboBox(parent);
            for (qsizetype i = 0; i < item->choices.size(); ++i) {
                const QColor swatch = i < item->swatches.size() ? item->swatches[i] : QColor();
                if (swatch.isValid())
                    box->addItem(SwatchIcon(swatch), item->choices[i]);
                else
                    box->addItem(item->choices[i]);
            }
            // A choice takes effect as soon as it is made.
            connect(box, &QComboBox::activated, this, [this, box] {
                auto* self = const_cast<PropertyDelegate*>(this);
                emit self->commitData(box);
                emit self->closeEditor(box, QAbstractItemDelegate::NoHint);
            });
            return box;
        }
        auto* line = new QLineEdit(parent);
        line->setFrame(false);
        return line;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QString value = index.data(Qt::EditRole).toString();
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentIndex(box->findText(value));
        else if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setText(value);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            grid_->Commit(index, box->currentText());
        else if (auto* line = qobject_cast<QLineEdit*>(editor))
            grid_->Commit(index, line->text());
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        editor->setGeometry(option.rect);
    }

protected:
    // Enter commits and moves on, as Tab does; Esc drops the edit and goes to the grid's owner.
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
                return true;
            }
            if (key == Qt::Key_Escape) {
                emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
                grid_->Escape();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    const CPropertyGridItem* itemAt(const QModelIndex& index) const {
        const QVariant position = index.siblingAtColumn(0).data(kItemRole);
        if (!position.isValid()) return nullptr;
        const auto i = static_cast<std::size_t>(position.toInt());
        return i < grid_->Items().size() ? &grid_->Items()[i] : nullptr;
    }

    CPropertyGrid* grid_;
};

void showValue(QStandardItem& cell, const CPropertyGridItem& item) {
    cell.setText(item.value);
    const qsizetype entry = item.kind == CPropertyGridItem::Kind::Choice
                                ? item.choices.indexOf(item.value)
                                : -1;
    const QColor swatch = entry >= 0 && entry < item.swatches.size() ? item.swatches[entry] : QColor();
    cell.setIcon(swatch.isValid() ? SwatchIcon(swatch) : QIcon());
}

}  // namespace

bool CPropertyGridItem::SameShapeAs(const CPropertyGridItem& o) const {
    return id == o.id && category == o.category && label == o.label && kind == o.kind &&
           choices == o.choices && swatches == o.swatches && readOnly == o.readOnly;
}

CPropertyGrid::CPropertyGrid(QWidget* parent)
    : QTreeView(parent), model_(new QStandardItemModel(this)) {
    setObjectName(QStringLiteral("propertyGrid"));
    setModel(model_);
    setItemDelegate(new PropertyDelegate(this));
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setAlternatingRowColors(true);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    model_->setColumnCount(2);
}

void CPropertyGrid::SetItems(const std::vector<CPropertyGridItem>& items) {
    const bool sameShape =
        items.size() == items_.size() &&
        std::equal(items.begin(), items.end(), items_.begin(),
                   [](const auto& a, const auto& b) { return a.SameShapeAs(b); });
    items_ = items;
    if (!sameShape) {
        Rebuild();
        return;
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const QModelIndex index = ValueIndex(items_[i].id);
        if (QStandardItem* cell = model_->itemFromIndex(index); cell && cell->text() != items_[i].value)
            showValue(*cell, items_[i]);
    }
}

void CPropertyGrid::Rebuild() {
    model_->removeRows(0, model_->rowCount());
    QStandardItem* category = nullptr;
    const QColor readOnlyText = palette().color(QPalette::Disabled, QPalette::Text);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const CPropertyGridItem& item = items_[i];
        if (!category || category->text() != item.category) {
            category = new QStandardItem(item.category);
            QFont bold = font();
            bold.setBold(true);
            category->setFont(bold);
            category->setFlags(Qt::ItemIsEnabled);
            model_->appendRow({category, new QStandardItem()});
            setFirstColumnSpanned(model_->rowCount() - 1, QModelIndex(), true);
        }
        auto* label = new QStandardItem(item.label);
        label->setData(static_cast<int>(i), kItemRole);
        label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        auto* value = new QStandardItem();
        showValue(*value, item);
        value->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                        (item.readOnly ? Qt::NoItemFlags : Qt::ItemIsEditable));
        if (item.readOnly) {
            label->setForeground(readOnlyText);
            value->setForeground(readOnlyText);
        }
        category->appendRow({label, value});
    }
    expandAll();
    // The labels are shown whole, beside the indentation of the category rows.
    int widest = kLabelColumnWidth;
    for (const CPropertyGridItem& item : items_)
        widest = std::max(widest, fontMetrics().horizontalAdvance(item.label) + indentation() + 12);
    setColumnWidth(0, widest);
}

QModelIndex CPropertyGrid::ValueIndex(int id) const {
    for (int c = 0; c < model_->rowCount(); ++c) {
        const QStandardItem* category = model_->item(c);
        for (int r = 0; r < category->rowCount(); ++r) {
            const auto i = static_cast<std::size_t>(category->child(r)->data(kItemRole).toInt());
            if (i < items_.size() && items_[i].id == id) return category->child(r, 1)->index();
        }
    }
    return {};
}

QString CPropertyGrid::ValueOf(int id) const {
    return ValueIndex(id).data().toString();
}

bool CPropertyGrid::EditItem(int id) {
    const QModelIndex index = ValueIndex(id);
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable)) return false;
    setCurrentIndex(index);
    edit(index);
    return state() == QAbstractItemView::EditingState;
}

QWidget* CPropertyGrid::Editor() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? indexWidget(index) : nullptr;
}

void CPropertyGrid::Commit(const QModelIndex& index, const QString& value) {
    const QModelIndex label = index.siblingAtColumn(0);
    const auto i = static_cast<std::size_t>(label.data(kItemRole).toInt());
    if (!label.data(kItemRole).isValid() || i >= items_.size() || items_[i].value == value) return;
    const int id = items_[i].id;
    // Shown at once; the owner's answer (SetItems) comes after the editor has closed.
    if (QStandardItem* cell = model_->itemFromIndex(index)) cell->setText(value);
    QMetaObject::invokeMethod(
        this, [this, id, value] { if (edited_) edited_(id, value); }, Qt::QueuedConnection);
}

void CPropertyGrid::Escape() {
    QMetaObject::invokeMethod(this, [this] { if (escape_) escape_(); }, Qt::QueuedConnection);
}

QModelIndex CPropertyGrid::NextEditable() const {
    std::vector<QModelIndex> values;
    for (int c = 0; c < model_->rowCount(); ++c)
        for (int r = 0; r < model_->item(c)->rowCount(); ++r)
            values.push_back(model_->item(c)->child(r, 1)->index());
    const QModelIndex current = currentIndex().siblingAtColumn(1);
    const auto at = std::find(values.begin(), values.end(), current);
    const std::size_t start = at == values.end() ? 0 : static_cast<std::size_t>(at - values.begin()) + 1;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const QModelIndex& index = values[(start + k) % values.size()];
        if (index.flags() & Qt::ItemIsEditable) return index;
    }
    return {};
}

void CPropertyGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            Escape();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const QModelIndex current = currentIndex().siblingAtColumn(1);
            const QModelIndex target =
                current.isValid() && (current.flags() & Qt::ItemIsEditable) ? current : NextEditable();
            if (target.isValid()) {
                setCurrentIndex(target);
                edit(target);
            }
            return;
        }
        default:
            QTreeView::keyPressEvent(event);
    }
}

void CPropertyGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    QTreeView::closeEditor(editor, next ? QAbstractItemDelegate::NoHint : hint);
    if (!next) return;
    const QModelIndex target = NextEditable();
    if (!target.isValid()) return;
    setCurrentIndex(target);
    edit(target);
}
