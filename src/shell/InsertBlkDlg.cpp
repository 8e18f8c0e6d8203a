// CInsertBlkDlg: its controls, the browse button and what OK reads.
#include "shell/InsertBlkDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/Session.h"
#include "shell/QtText.h"

namespace {

constexpr int kFieldWidth = 140;

}  // namespace

CInsertBlkDlg::CInsertBlkDlg(mmSession& session, mmInsertBlockList& list, QWidget* parent)
    : QDialog(parent), session_(session), list_(list), names_(new QComboBox(this)),
      onScreen_(new QCheckBox(QStringLiteral("Specify on-screen"), this)) {
    setObjectName(QStringLiteral("insertBlockDialog"));
    setWindowTitle(QStringLiteral("Insert Block"));
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(QStringLiteral("Block name:"), this));
    auto* nameRow = new QHBoxLayout();
    names_->setObjectName(QStringLiteral("blockName"));
    names_->setEditable(true);
    names_->setInsertPolicy(QComboBox::NoInsert);
    names_->setMinimumWidth(220);
    nameRow->addWidget(names_, 1);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    nameRow->addWidget(browse);
    layout->addLayout(nameRow);
    connect(names_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(list_.names.size())) {
            list_.selected = index;
            list_.chosenName = list_.names[static_cast<std::size_t>(index)];
        }
    });

    auto* point = new QGroupBox(QStringLiteral("Insertion point"), this);
    auto* form = new QFormLayout(point);
    const char* const captions[] = {"X:", "Y:", "Z:"};
    for (int axis = 0; axis < 3; ++axis) {
        fields_[axis] = new QLineEdit(QStringLiteral("0.0"), point);
        fields_[axis]->setObjectName(QString::fromLatin1(captions[axis]).left(1).toLower());
        fields_[axis]->setFixedWidth(kFieldWidth);
        form->addRow(QString::fromLatin1(captions[axis]), fields_[axis]);
    }
    onScreen_->setObjectName(QStringLiteral("onScreen"));
    form->addRow(onScreen_);
    connect(onScreen_, &QCheckBox::toggled, this, [this](bool on) {
        for (QLineEdit* f : fields_) f->setEnabled(!on);
    });
    auto* pointRow = new QHBoxLayout();
    pointRow->addWidget(point);
    pointRow->addStretch(1);
    layout->addLayout(pointRow);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    FillNames();
}

void CInsertBlkDlg::FillNames() {
    const QSignalBlocker block(names_);
    names_->clear();
    for (const std::u16string& name : list_.names) names_->addItem(ToQString(name));
    names_->setCurrentIndex(list_.names.empty() ? -1 : 0);
    if (!list_.names.empty()) {
        list_.selected = 0;
        list_.chosenName = list_.names.front();
    }
}

void CInsertBlkDlg::Browse() {
    if (BrowseInsertBlocks(session_, list_)) FillNames();
}

// The name in the field is the block inserted: one chosen from the list, or one typed.
void CInsertBlkDlg::accept() {
    const std::u16string typed = ToU16(names_->currentText().trimmed());
    const auto named = std::find(list_.names.begin(), list_.names.end(), typed);
    if (named == list_.names.end()) {
        QMessageBox::warning(this, windowTitle(),
                             typed.empty() ? QStringLiteral("Choose a block to insert.")
                                           : QStringLiteral("There is no block named %1.")
                                                 .arg(ToQString(typed)));
        return;
    }
    choice_.chosenName = *named;
    choice_.insertX = InsertDialogCoordinate(ToU16(fields_[0]->text()));
    choice_.insertY = InsertDialogCoordinate(ToU16(fields_[1]->text()));
    choice_.insertZ = InsertDialogCoordinate(ToU16(fields_[2]->text()));
    choice_.specifyOnScreen = onScreen_->isChecked();
    QDialog::accept();
}
