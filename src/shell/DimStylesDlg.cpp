// The dimension style dialogs.
#include "shell/DimStylesDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "commands/Session.h"
#include "drawing/DimStyleTable.h"
#include "shell/Icons.h"
#include "shell/QtText.h"

namespace {

constexpr int kStyleIdRole = Qt::UserRole;

QPushButton* button(QWidget* parent, const char* text, const char* name) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

CDimStylesDlg::CDimStylesDlg(mmSession& session, QWidget* parent)
    : QDialog(parent), session_(session), current_(new QLabel(this)), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("dimStylesDialog"));
    setWindowTitle(QStringLiteral("Dimension Styles"));
    auto* layout = new QGridLayout(this);
    auto* currentRow = new QHBoxLayout();
    currentRow->addWidget(new QLabel(QStringLiteral("Current dimension style:"), this));
    current_->setObjectName(QStringLiteral("currentStyle"));
    QFont bold = current_->font();
    bold.setBold(true);
    current_->setFont(bold);
    currentRow->addWidget(current_, 1);
    layout->addLayout(currentRow, 0, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Styles:"), this), 1, 0);
    list_->setObjectName(QStringLiteral("styleList"));
    list_->setMinimumSize(300, 220);
    layout->addWidget(list_, 2, 0);

    auto* actions = new QVBoxLayout();
    const auto add = [&](const char* text, const char* name, void (CDimStylesDlg::*run)()) {
        QPushButton* b = button(this, text, name);
        connect(b, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
        actions->addWidget(b);
    };
    add("Set current", "setCurrent", &CDimStylesDlg::SetCurrent);
    add("New...", "newStyle", &CDimStylesDlg::NewStyle);
    add("Modify...", "modifyStyle", &CDimStylesDlg::ModifyStyle);
    add("Delete", "deleteStyle", &CDimStylesDlg::DeleteStyle);
    add("Apply to all", "applyToAll", &CDimStylesDlg::ApplyToAll);
    actions->addStretch(1);
    layout->addLayout(actions, 2, 1);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::accept);
    layout->addWidget(close, 3, 0, 1, 2);
    Fill(session_.drawing.currentDimStyleId);
}

void CDimStylesDlg::Fill(int32_t selectId) {
    list_->clear();
    for (const auto& [id, style] : session_.drawing.dimStyles) {
        auto* item = new QListWidgetItem(ToQString(style.name), list_);
        item->setData(kStyleIdRole, id);
        if (id == selectId) list_->setCurrentItem(item);
    }
    const DimStyle* current = CurrentDimStyle(session_.drawing);
    current_->setText(current ? ToQString(current->name) : QString());
}

int32_t CDimStylesDlg::SelectedId() const {
    const QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? item->data(kStyleIdRole).toInt() : -1;
}

// The drawing changed: its dimensions are drawn again and it is saved with the styles.
void CDimStylesDlg::Changed() {
    session_.modified = true;
    session_.RequestRedraw();
}

void CDimStylesDlg::SetCurrent() {
    if (DimStyleSetCurrent(session_.drawing, SelectedId())) Fill(SelectedId());
}

void CDimStylesDlg::NewStyle() {
    CDimStyleNewDlg ask(session_, this);
    if (ask.exec() != QDialog::Accepted) return;
    const int32_t id = DimStyleNew(session_.drawing, ToU16(ask.name()->text()), ask.BaseId());
    if (id < 0) return;
    Changed();
    Fill(id);
    ModifyStyle();
}

void CDimStylesDlg::ModifyStyle() {
    const DimStyle* style = FindDimStyle(session_.drawing, SelectedId());
    if (!style) return;
    CDimStyleModifyDlg modify(DimStyleModifyFields(*style), this);
    if (modify.exec() != QDialog::Accepted) return;
    DimStyleModify(session_.drawing, style->id, modify.Fields(), session_.glyphTable);
    Changed();
}

void CDimStylesDlg::DeleteStyle() {
    const int32_t id = SelectedId();
    if (!DimStyleDelete(session_.drawing, id, session_.host)) return;
    Changed();
    Fill(session_.drawing.currentDimStyleId);
}

void CDimStylesDlg::ApplyToAll() {
    if (DimStyleApplyToAll(session_.drawing, SelectedId(), session_.glyphTable)) Changed();
}

CDimStyleNewDlg::CDimStyleNewDlg(const mmSession& session, QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(this)), base_(new QComboBox(this)) {
    setObjectName(QStringLiteral("newDimStyleDialog"));
    setWindowTitle(QStringLiteral("New Dimension Style"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout();
    name_->setObjectName(QStringLiteral("styleName"));
    name_->setMaxLength(static_cast<int>(kNewDimStyleNameMax));
    name_->setMinimumWidth(220);
    form->addRow(QStringLiteral("New style name:"), name_);
    base_->setObjectName(QStringLiteral("baseStyle"));
    for (const auto& [id, style] : session.drawing.dimStyles) base_->addItem(ToQString(style.name), id);
    base_->setCurrentIndex(0);
    form->addRow(QStringLiteral("Start with:"), base_);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(okCancel(this));
}

int32_t CDimStyleNewDlg::BaseId() const {
    return base_->currentIndex() < 0 ? -1 : base_->currentData().toInt();
}

CDimStyleModifyDlg::CDimStyleModifyDlg(const mmDimStyleModifyFields& fields, QWidget* parent)
    : QDialog(parent), shown_(fields), kind_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("modifyDimStyleDialog"));
    setWindowTitle(ToQString(fields.title));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout();
    auto* form = new QFormLayout();
    const std::pair<const char*, const std::u16string*> rows[] = {
        {"Text height:", &fields.textHeight},       {"Extension line offset:", &fields.extLineOffset},
        {"Extension line extension:", &fields.extLineExtension},
        {"Arrow size:", &fields.arrowSize},         {"Text gap:", &fields.textGap}};
    // Numbers only: digits and a decimal point.
    const QRegularExpression number(QStringLiteral("[0-9]*[.]?[0-9]*"));
    for (int i = 0; i < 5; ++i) {
        fields_[i] = new QLineEdit(ToQString(*rows[i].second), this);
        fields_[i]->setValidator(new QRegularExpressionValidator(number, fields_[i]));
        fields_[i]->setFixedWidth(90);
        form->addRow(QString::fromLatin1(rows[i].first), fields_[i]);
    }
    columns->addLayout(form);

    auto* arrows = new QGroupBox(QStringLiteral("Arrow kind"), this);
    auto* grid = new QGridLayout(arrows);
    const char* const kinds[][2] = {{"dim-arrow", "Arrow"}, {"dim-tick", "Line"}};
    for (int k = 0; k < 2; ++k) {
        auto* picture = new QLabel(arrows);
        picture->setPixmap(KestrelPixmap(kinds[k][0], QSize(56, 34)));
        picture->setFrameShape(QFrame::Box);
        grid->addWidget(picture, 0, k, Qt::AlignCenter);
        auto* radio = new QRadioButton(QString::fromLatin1(kinds[k][1]), arrows);
        radio->setChecked(fields.arrowKind == k);
        kind_->addButton(radio, k);
        grid->addWidget(radio, 1, k, Qt::AlignCenter);
    }
    if (fields.arrowKind != 0 && fields.arrowKind != 1) kind_->button(0)->setChecked(true);
    columns->addWidget(arrows, 0, Qt::AlignTop);
    layout->addLayout(columns);
    layout->addStretch(1);
    layout->addWidget(okCancel(this));
}

mmDimStyleModifyFields CDimStyleModifyDlg::Fields() const {
    mmDimStyleModifyFields typed = shown_;
    std::u16string* values[] = {&typed.textHeight, &typed.extLineOffset, &typed.extLineExtension,
                                &typed.arrowSize, &typed.textGap};
    for (int i = 0; i < 5; ++i) *values[i] = ToU16(fields_[i]->text());
    typed.arrowKind = static_cast<int16_t>(kind_->checkedId() < 0 ? 0 : kind_->checkedId());
    return typed;
}
