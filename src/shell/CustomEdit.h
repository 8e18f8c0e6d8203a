// The two edit controls of the command-line pane: CCustomEdit, the history, and CCustomEdit2,
// the input line. Their text belongs to the command-line model; keys typed in them go to it.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

#include "commands/CommandLine.h"

class CCommunDialog;
class QKeyEvent;

// The command-line key of a Qt key press (Other for keys without a meaning of their own).
mmKey KeyOf(const QKeyEvent& event);

class CCustomEdit : public QPlainTextEdit {
public:
    explicit CCustomEdit(CCommunDialog& pane);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CCommunDialog& pane_;
};

class CCustomEdit2 : public QLineEdit {
public:
    explicit CCustomEdit2(CCommunDialog& pane);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    CCommunDialog& pane_;
};
