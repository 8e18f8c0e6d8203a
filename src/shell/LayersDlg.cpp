// CLayersDlg: the list of layers, its in-place edits and the toolbar's commands.
#include "shell/LayersDlg.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "drawing/Drawing.h"
#include "shell/Icons.h"
#include "shell/QtText.h"
#include "widgets/ColorSwatch.h"

namespace {

constexpr int kNewLayerCommand = 32798;
constexpr int kDeleteLayerCommand = 32799;
constexpr int kColumnWidths[] = {150, 42, 66, 110, 80, 72};
const char* const kHeadings[] = {"Name", "Show", "Selectable", "Color", "LineType", "LineWidth"};

// The cell's item, made when the row is new, showing the text.
QTableWidgetItem* put(QTableWidget& list, int row, int column, const QString& text, bool editable) {
    QTableWidgetItem* item = list.item(row, column);
    if (!item) {
        item = new QTableWidgetItem();
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editable) flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        list.setItem(row, column, item);
    }
    item->setText(text);
    return item;
}

}  // namespace

CLayersDlg::CLayersDlg(mmDrawing& drawing, QWidget* parent)
    : QDialog(parent), drawing_(drawing), edit_(drawing), list_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("layersDialog"));
    setWindowTitle(QStringLiteral("Layers"));
    auto* layout = new QVBoxLayout(this);

    auto* tools = new QToolBar(this);
    tools->setIconSize(QSize(16, 16));
    QAction* add = tools->addAction(KestrelIcon("layer-new"), QStringLiteral("New layer"));
    add->setData(kNewLayerCommand);
    add->setObjectName(QStringLiteral("newLayer"));
    connect(add, &QAction::triggered, this, [this] { NewLayer(); });
    QAction* remove = tools->addAction(KestrelIcon("layer-delete"), QStringLiteral("Delete layer"));
    remove->setData(kDeleteLayerCommand);
    remove->setObjectName(QStringLiteral("deleteLayer"));
    connect(remove, &QAction::triggered, this, [this] { DeleteLayers(); });
    layout->addWidget(tools);

    list_->setObjectName(QStringLiteral("layerList"));
    list_->setColumnCount(kColumns);
    for (int c = 0; c < kColumns; ++c) {
        list_->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromLatin1(kHeadings[c])));
        list_->setColumnWidth(c, kColumnWidths[c]);
    }
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    list_->setShowGrid(false);
    list_->setIconSize(QSize(16, 16));
    connect(list_, &QTableWidget::cellClicked, this, [this](int r, int c) { CellClicked(r, c); });
    connect(list_, &QTableWidget::cellDoubleClicked, this,
            [this](int r, int c) { CellDoubleClicked(r, c); });
    connect(list_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* i) { ItemEdited(i); });
    layout->addWidget(list_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(620, 440);
    Fill();
}

void CLayersDlg::Fill() {
    const QSignalBlocker block(list_);
    list_->setRowCount(static_cast<int>(edit_.rows().size()));
    for (int row = 0; row < list_->rowCount(); ++row) FillRow(row);
}

void CLayersDlg::FillRow(int row) {
    const QSignalBlocker block(list_);
    const mmLayer& layer = edit_.rows()[static_cast<std::size_t>(row)];
    put(*list_, row, kName, ToQString(layer.name), true);
    QTableWidgetItem* show = put(*list_, row, kShow, {}, false);
    show->setIcon(KestrelIcon(layer.show ? "lamp-on" : "lamp-off"));
    show->setToolTip(layer.show ? QStringLiteral("Shown") : QStringLiteral("Hidden"));
    put(*list_, row, kSelectable, {}, false);
    put(*list_, row, kColor, ToQString(layer.colorText), false)->setIcon(SwatchIcon(ColorOf(layer.color)));
    put(*list_, row, kLineType, QStringLiteral("Continuous"), false);
    put(*list_, row, kLineWidth, QString::number(layer.lineWidth), true);
}

std::size_t CLayersDlg::FirstSelectedRow() const {
    int first = -1;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        if (first < 0 || index.row() < first) first = index.row();
    return first < 0 ? edit_.rows().size() : static_cast<std::size_t>(first);
}

void CLayersDlg::NewLayer() {
    const int row = static_cast<int>(edit_.NewLayer(drawing_));
    list_->setRowCount(row + 1);
    FillRow(row);
    list_->setFocus();
    list_->clearSelection();
    list_->selectRow(row);
    list_->editItem(list_->item(row, kName));
}

void CLayersDlg::DeleteLayers() {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    if (rows.empty()) return;
    const std::string message = edit_.Delete(rows, drawing_.currentLayerId);
    Fill();
    if (!message.empty()) QMessageBox::warning(this, QStringLiteral("Layers"), ToQString(message));
}

// A click on a Show cell switches the lamp of that row.
void CLayersDlg::CellClicked(int row, int column) {
    if (column != kShow || row < 0) return;
    edit_.ToggleShow(static_cast<std::size_t>(row));
    FillRow(row);
}

void CLayersDlg::CellDoubleClicked(int row, int column) {
    if (column == kColor && row >= 0) ChooseColor();
}

// The colour dialog offers sixteen palette colours, a different run of them each time.
void CLayersDlg::ChooseColor() {
    const std::size_t row = FirstSelectedRow();
    if (row >= edit_.rows().size()) return;
    const auto custom = mmLayerTableEdit::CustomColors(QRandomGenerator::global()->bounded(16));
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, ColorOf(custom[i]));
    const QColor chosen = QColorDialog::getColor(Qt::black, this, QStringLiteral("Layer Color"));
    if (!chosen.isValid()) return;
    edit_.SetColor(row, BgrOf(chosen));
    FillRow(static_cast<int>(row));
}

void CLayersDlg::ItemEdited(QTableWidgetItem* item) {
    const auto row = static_cast<std::size_t>(item->row());
    if (item->column() == kName) {
        const std::string message = edit_.Rename(row, ToU16(item->text()));
        if (!message.empty())
            QMessageBox::warning(this, QStringLiteral("Layers"), ToQString(message));
    } else if (item->column() == kLineWidth) {
        edit_.SetLineWidthText(row, ToU16(item->text()));
    }
    FillRow(item->row());
}
