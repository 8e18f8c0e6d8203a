// CLayoutTabs: the tab strip below the drawing view, one tab for the model and one for each
// layout, with the layout tab menu. It shows what the session's tab model holds and forwards
// every action to it (commands/Layouts.h).
#pragma once

#include <QTabBar>
#include <functional>

class mmSession;

class CLayoutTabs : public QTabBar {
public:
    CLayoutTabs(mmSession& session, QWidget* parent);

    // The tabs, their labels and tooltips and the active one, after the session.
    void Refresh();
    // Called after an action changed the drawing or the view.
    void setAfterAction(std::function<void()> afterAction) { afterAction_ = std::move(afterAction); }

private:
    void showMenu(const QPoint& position);
    void rename(int tab);

    mmSession& session_;
    bool refreshing_ = false;
    std::function<void()> afterAction_;
};
