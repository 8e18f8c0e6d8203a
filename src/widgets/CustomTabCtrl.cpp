// CCustomTabCtrl: the tabs and their navigation buttons.
#include "widgets/CustomTabCtrl.h"

#include <QHBoxLayout>
#include <QTabBar>
#include <QToolButton>

CCustomTabCtrl::CCustomTabCtrl(QWidget* parent) : CCustomTabCtrl(new QTabBar, parent) {
    setObjectName(QStringLiteral("layoutTabs"));
}

CCustomTabCtrl::CCustomTabCtrl(QTabBar* tabs, QWidget* parent) : QWidget(parent), tabs_(tabs) {
    setObjectName(QStringLiteral("layoutTabStrip"));
    tabs_->setParent(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    connect(AddButton(QStringLiteral("First"), Qt::NoArrow, QStringLiteral("|<")),
            &QToolButton::clicked, this, [this] { SelectFirst(); });
    connect(AddButton(QStringLiteral("Prev"), Qt::LeftArrow), &QToolButton::clicked, this,
            [this] { SelectPrevious(); });
    connect(AddButton(QStringLiteral("Next"), Qt::RightArrow), &QToolButton::clicked, this,
            [this] { SelectNext(); });
    connect(AddButton(QStringLiteral("Last"), Qt::NoArrow, QStringLiteral(">|")),
            &QToolButton::clicked, this, [this] { SelectLast(); });
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    layout->addWidget(tabs_);
    layout->addStretch(1);
    connect(AddButton(QStringLiteral("Close"), Qt::NoArrow, QStringLiteral("x")),
            &QToolButton::clicked, this, [this] {
                if (closeRequested_ && tabs_->currentIndex() >= 0) closeRequested_(tabs_->currentIndex());
            });
}

QToolButton* CCustomTabCtrl::AddButton(const QString& tip, Qt::ArrowType arrow, const QString& text) {
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("tab") + tip);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    if (arrow != Qt::NoArrow)
        button->setArrowType(arrow);
    else
        button->setText(text);
    button->setFixedSize(20, 20);
    layout()->addWidget(button);
    return button;
}

int CCustomTabCtrl::AddTab(const QString& label) {
    return tabs_->addTab(label);
}

void CCustomTabCtrl::SetTabAvailable(int index, bool available, const QString& reason) {
    tabs_->setTabEnabled(index, available);
    tabs_->setTabToolTip(index, available ? QString() : reason);
}

void CCustomTabCtrl::SelectFrom(int start, int step) {
    for (int i = start; i >= 0 && i < tabs_->count(); i += step)
        if (tabs_->isTabEnabled(i)) {
            tabs_->setCurrentIndex(i);
            return;
        }
}

void CCustomTabCtrl::SelectFirst() {
    SelectFrom(0, 1);
}

void CCustomTabCtrl::SelectPrevious() {
    SelectFrom(tabs_->currentIndex() - 1, -1);
}

void CCustomTabCtrl::SelectNext() {
    SelectFrom(tabs_->currentIndex() + 1, 1);
}

void CCustomTabCtrl::SelectLast() {
    SelectFrom(tabs_->count() - 1, -1);
}
