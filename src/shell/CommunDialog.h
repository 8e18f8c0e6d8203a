// CCommunDialog: the command-line pane: the history of everything entered and said, and the input
// line that starts with the prompt. Both show the session's command-line model.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class CCustomEdit;
class CCustomEdit2;
class mmSession;

class CCommunDialog : public QWidget {
public:
    CCommunDialog(mmSession& session, QWidget* parent);

    mmSession& session() { return session_; }
    // After the model changed: the history and the input line show it again.
    void Refresh();
    void FocusInput();
    // Called after every key handled here (the view may need repainting).
    void setAfterInput(std::function<void()> afterInput) { afterInput_ = std::move(afterInput); }
    void InputHandled();

    CCustomEdit2* input() const { return input_; }
    CCustomEdit* history() const { return history_; }

private:
    mmSession& session_;
    CCustomEdit* history_;
    CCustomEdit2* input_;
    std::u16string shownHistory_;
    std::function<void()> afterInput_;
};
