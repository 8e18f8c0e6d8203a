// Keys of the history pane and of the input line.
#include "shell/CustomEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include "commands/Session.h"
#include "shell/CommunDialog.h"
#include "shell/QtText.h"

namespace {

bool isCopyOrSelect(const QKeyEvent& event) {
    return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::SelectAll);
}

}  // namespace

mmKey KeyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return mmKey::Backspace;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return mmKey::Return;
        case Qt::Key_Escape:
            return mmKey::Escape;
        case Qt::Key_Space:
            return mmKey::Space;
        case Qt::Key_F3:
            return mmKey::F3;
        case Qt::Key_Delete:
            return mmKey::Delete;
        case Qt::Key_Shift:
            return mmKey::Shift;
        default:
            return mmKey::Other;
    }
}

CCustomEdit::CCustomEdit(CCommunDialog& pane) : QPlainTextEdit(&pane), pane_(pane) {
    setReadOnly(true);
    setObjectName(QStringLiteral("commandHistory"));
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// The history keeps no caret for long: what is typed there continues in the input line.
void CCustomEdit::keyPressEvent(QKeyEvent* event) {
    if (isCopyOrSelect(*event)) return QPlainTextEdit::keyPressEvent(event);
    const bool toInput =
        pane_.session().commandLine.HistoryKey(KeyOf(*event), ToU16(event->text()));
    if (toInput || !event->text().isEmpty()) pane_.FocusInput();
    pane_.InputHandled();
}

CCustomEdit2::CCustomEdit2(CCommunDialog& pane) : QLineEdit(&pane), pane_(pane) {
    setObjectName(QStringLiteral("commandInput"));
    setContextMenuPolicy(Qt::NoContextMenu);  // its edits would bypass the prompt
    setDragEnabled(false);
    setAcceptDrops(false);
}

// The line has no undo of its own: Ctrl+Z and Ctrl+Y reach the drawing's Undo and Redo.
bool CCustomEdit2::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
            event->ignore();
            return false;
        }
    }
    return QLineEdit::event(event);
}

void CCustomEdit2::keyPressEvent(QKeyEvent* event) {
    if (isCopyOrSelect(*event)) return QLineEdit::keyPressEvent(event);
    mmCommandLine& line = pane_.session().commandLine;
    if (event->matches(QKeySequence::Paste))
        line.PasteText(ToU16(QApplication::clipboard()->text()));
    else
        line.InputKey(KeyOf(*event), ToU16(event->text()));
    pane_.InputHandled();
}

void CCustomEdit2::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) {
        pane_.session().commandLine.TypeText(ToU16(event->commitString()));
        pane_.InputHandled();
    }
    event->accept();
}
