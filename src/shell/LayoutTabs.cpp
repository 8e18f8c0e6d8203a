// The layout tab strip and its menu.
#include "shell/LayoutTabs.h"

#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

#include "commands/Layouts.h"
#include "commands/Plotting.h"
#include "commands/Session.h"

namespace {

QString qt(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CLayoutTabs::CLayoutTabs(mmSession& session, QWidget* parent) : QTabBar(parent), session_(session) {
    setObjectName(QStringLiteral("layoutTabs"));
    setShape(QTabBar::RoundedSouth);
    setExpanding(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QTabBar::currentChanged, this, [this](int tab) {
        if (refreshing_ || tab < 0) return;
        ActivateTab(session_, tab);
        if (afterAction_) afterAction_();
    });
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showMenu(at); });
    Refresh();
}

void CLayoutTabs::Refresh() {
    refreshing_ = true;
    const int count = TabCount(session_);
    while (QTabBar::count() > count) removeTab(QTabBar::count() - 1);
    for (int tab = 0; tab < count; ++tab) {
        if (tab >= QTabBar::count()) addTab(QString());
        setTabText(tab, qt(TabLabel(session_, tab)));
        setTabToolTip(tab, qt(TabTooltip(tab)));
    }
    setCurrentIndex(session_.activeTab);
    refreshing_ = false;
}

// A right-click first makes the tab under the cursor the active one.
void CLayoutTabs::showMenu(const QPoint& position) {
    const int tab = tabAt(position);
    if (tab < 0) return;
    if (tab != session_.activeTab) setCurrentIndex(tab);
    const mmTabMenuState state = TabMenuState(session_, tab);
    QMenu menu(this);
    QAction* newLayout = menu.addAction(QStringLiteral("New layout"));
    QAction* remove = menu.addAction(QStringLiteral("Delete"));
    QAction* renameAction = menu.addAction(QStringLiteral("Rename"));
    menu.addSeparator();
    QAction* plotScale = menu.addAction(QStringLiteral("Plot scale..."));
    menu.addSeparator();
    QAction* pageSetup = menu.addAction(QStringLiteral("Page setup"));
    QAction* plot = menu.addAction(QStringLiteral("Plot"));
    remove->setEnabled(state.deleteEnabled);
    renameAction->setEnabled(state.renameEnabled);
    const QAction* chosen = menu.exec(mapToGlobal(position));
    if (chosen == newLayout)
        NewLayout(session_);
    else if (chosen == remove)
        DeleteLayout(session_, tab);
    else if (chosen == renameAction)
        rename(tab);
    else if (chosen == plotScale)
        session_.commandLine.SubmitMenuCommand(u"PLOTSCALE");
    else if (chosen == pageSetup)
        PageSetup(session_);
    else if (chosen == plot)
        PlotActiveView(session_, std::nullopt);
    else
        return;
    Refresh();
    if (afterAction_) afterAction_();
}

void CLayoutTabs::rename(int tab) {
    bool ok = false;
    const QString label = QInputDialog::getText(this, QStringLiteral("Rename"), QString(),
                                                QLineEdit::Normal, tabText(tab), &ok);
    if (!ok) return;
    const std::u16string text = label.toStdU16String();
    if (const std::optional<std::string> problem = RenameLayout(session_, tab, text))
        session_.host.messageBox(*problem, kestrel::platform::MessageKind::Warning);
}
