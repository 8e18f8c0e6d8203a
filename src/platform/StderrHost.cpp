// StderrHost: message boxes as lines on standard error.
#include "platform/StderrHost.h"

#include <iostream>

namespace kestrel::platform {

StderrHost::StderrHost(MessageAnswer questionAnswer) : StderrHost(questionAnswer, std::cerr) {}

StderrHost::StderrHost(MessageAnswer questionAnswer, std::ostream& out)
    : questionAnswer_(questionAnswer), out_(out) {}

MessageAnswer StderrHost::messageBox(const std::string& text, MessageKind kind,
                                     const std::string&) {
    out_ << text << '\n' << std::flush;
    if (kind == MessageKind::Error) errorShown_ = true;
    return kind == MessageKind::Question ? questionAnswer_ : MessageAnswer::Ok;
}

}  // namespace kestrel::platform
