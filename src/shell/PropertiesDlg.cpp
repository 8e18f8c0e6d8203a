// CPropertiesDlg: the sheet shown in the grid, and edits handed to the model.
#include "shell/PropertiesDlg.h"

#include <QColorDialog>
#include <QComboBox>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "commands/Selection.h"
#include "commands/Session.h"
#include "shell/QtText.h"
#include "widgets/ColorSwatch.h"
#include "widgets/PropertyGrid.h"

namespace {

constexpr int kMargin = 10;

CPropertyGridItem::Kind kindOf(mmPropertyKind kind) {
    switch (kind) {
        case mmPropertyKind::Number: return CPropertyGridItem::Kind::Number;
        case mmPropertyKind::Integer: return CPropertyGridItem::Kind::Integer;
        case mmPropertyKind::Choice: return CPropertyGridItem::Kind::Choice;
        case mmPropertyKind::Text: break;
    }
    return CPropertyGridItem::Kind::Text;
}

std::vector<CPropertyGridItem> gridItems(const mmPropertySheet& sheet) {
    std::vector<CPropertyGridItem> items;
    items.reserve(sheet.items.size());
    for (const mmPropertyItem& p : sheet.items) {
        CPropertyGridItem& item = items.emplace_back();
        item.id = static_cast<int>(p.id);
        item.category = ToQString(p.category);
        item.label = ToQString(p.label);
        item.kind = kindOf(p.kind);
        item.value = ToQString(p.value);
        item.readOnly = p.readOnly;
        for (const mmPropertyChoice& choice : p.choices) {
            item.choices.push_back(ToQString(choice.text));
            item.swatches.push_back(choice.swatch >= 0 ? ColorOf(static_cast<uint32_t>(choice.swatch))
                                                       : QColor());
        }
    }
    return items;
}

}  // namespace

CPropertiesDlg::CPropertiesDlg(mmSession& session, QWidget* parent)
    : QWidget(parent), session_(session), type_(new QComboBox(this)), grid_(new CPropertyGrid(this)) {
    setObjectName(QStringLiteral("propertiesPanel"));
    type_->setObjectName(QStringLiteral("propertiesType"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kMargin);
    layout->addWidget(type_);
    layout->addWidget(grid_, 1);
    grid_->setEdited([this](int id, const QString& value) {
        Edit(static_cast<mmPropertyId>(id), value);
    });
    grid_->setEscape([this] {
        if (escape_) escape_();
    });
    Refresh();
}

void CPropertiesDlg::Refresh() {
    const mmPropertySheet& sheet = model_.Refresh(session_);
    const QString label = ToQString(sheet.typeLabel);
    if (type_->count() != 1 || type_->itemText(0) != label) {
        type_->clear();
        type_->addItem(label);
    }
    grid_->SetItems(gridItems(sheet));
}

mmPropertyEdit CPropertiesDlg::Edit(mmPropertyId id, const QString& value) {
    mmPropertyEdit result = model_.Edit(session_, id, ToU16(value));
    if (result == mmPropertyEdit::ChooseColor) {
        const mmEntityList selected = SelectedEntities(session_);
        const QColor initial = selected.empty() ? QColor(Qt::black) : ColorOf(selected.front()->color);
        const QColor chosen = QColorDialog::getColor(initial, this, QStringLiteral("Select Color"));
        result = chosen.isValid() ? model_.ApplyColor(session_, BgrOf(chosen))
                                  : mmPropertyEdit::Unchanged;
    }
    Refresh();
    if (result == mmPropertyEdit::Applied && afterEdit_) afterEdit_();
    return result;
}

void CPropertiesDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && escape_) {
        escape_();
        return;
    }
    QWidget::keyPressEvent(event);
}
