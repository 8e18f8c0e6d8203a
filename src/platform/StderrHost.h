// StderrHost: the headless mode's Host. Message boxes are written to standard error, one line
// each with the exact text; questions get a fixed answer.
#pragma once

#include <iosfwd>
#include <string>

#include "platform/Host.h"

namespace kestrel::platform {

class StderrHost : public Host {
public:
    // out defaults to std::cerr; it must outlive the host.
    explicit StderrHost(MessageAnswer questionAnswer = MessageAnswer::No);
    StderrHost(MessageAnswer questionAnswer, std::ostream& out);

    // Writes text and a line break (line breaks inside text are kept as they are). Returns the
    // question answer for a Question, Ok otherwise. The caption is not written.
    MessageAnswer messageBox(const std::string& text, MessageKind kind = MessageKind::Info,
                             const std::string& caption = {}) override;

    void setQuestionAnswer(MessageAnswer answer) { questionAnswer_ = answer; }

    // True once an Error message was shown: the headless run then exits non-zero.
    bool errorShown() const { return errorShown_; }

private:
    MessageAnswer questionAnswer_;
    std::ostream& out_;
    bool errorShown_ = false;
};

}  // namespace kestrel::platform
