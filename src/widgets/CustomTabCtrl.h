// CCustomTabCtrl: the strip of layout tabs along the bottom of the drawing: the tabs, and the
// navigation buttons "First", "Prev", "Next", "Last" and "Close".
#pragma once

#include <QWidget>
#include <functional>

class QTabBar;
class QToolButton;

class CCustomTabCtrl : public QWidget {
public:
    explicit CCustomTabCtrl(QWidget* parent = nullptr);
    // Around a tab bar made elsewhere (one that keeps its own tabs), which the control adopts.
    CCustomTabCtrl(QTabBar* tabs, QWidget* parent);

    QTabBar* tabBar() const { return tabs_; }
    int AddTab(const QString& label);
    // A tab that cannot be chosen yet (shown greyed, with the reason as its tooltip).
    void SetTabAvailable(int index, bool available, const QString& reason = {});
    // The navigation buttons choose among the tabs that can be chosen.
    void SelectFirst();
    void SelectPrevious();
    void SelectNext();
    void SelectLast();

    // Close was pressed with this tab current.
    void setCloseRequested(std::function<void(int)> closeRequested) {
        closeRequested_ = std::move(closeRequested);
    }

private:
    QToolButton* AddButton(const QString& tip, Qt::ArrowType arrow, const QString& text = {});
    void SelectFrom(int start, int step);

    QTabBar* tabs_;
    std::function<void(int)> closeRequested_;
};
