// CCommunDialog: layout of the pane and its view of the command-line model.
#include "shell/CommunDialog.h"

#include <QScrollBar>
#include <QVBoxLayout>

#include "commands/Session.h"
#include "shell/CustomEdit.h"
#include "shell/QtText.h"

namespace {

// The model's "\r\n" line breaks as the edit controls show them.
QString shown(std::u16string_view text) {
    QString s = ToQString(text);
    s.remove(QLatin1Char('\r'));
    return s;
}

}  // namespace

CCommunDialog::CCommunDialog(mmSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    history_ = new CCustomEdit(*this);
    input_ = new CCustomEdit2(*this);
    QFont font(QStringLiteral("Arial"), 10);
    history_->setFont(font);
    input_->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 2, 3);
    layout->setSpacing(3);
    layout->addWidget(history_);
    layout->addWidget(input_);
    Refresh();
}

void CCommunDialog::Refresh() {
    const std::u16string& history = session_.commandLine.history();
    if (history != shownHistory_) {
        const bool grows = !shownHistory_.empty() && history.size() > shownHistory_.size() &&
                           std::u16string_view(history).substr(0, shownHistory_.size()) == shownHistory_;
        if (grows) {
            QTextCursor end = history_->textCursor();
            end.movePosition(QTextCursor::End);
            end.insertText(shown(std::u16string_view(history).substr(shownHistory_.size())));
        } else {
            // The first line break only separates the first entry from nothing.
            std::u16string_view all(history);
            if (all.substr(0, 2) == u"\r\n") all.remove_prefix(2);
            history_->setPlainText(shown(all));
        }
        shownHistory_ = history;
        history_->verticalScrollBar()->setValue(history_->verticalScrollBar()->maximum());
    }
    const std::u16string& line = session_.commandLine.inputText();
    input_->setText(ToQString(line));
    input_->setCursorPosition(static_cast<int>(input_->text().size()));
}

void CCommunDialog::FocusInput() {
    input_->setFocus(Qt::OtherFocusReason);
}

void CCommunDialog::InputHandled() {
    Refresh();
    if (afterInput_) afterInput_();
}
