// RecordingHost: records requests, answers from scripted queues.
#include "platform/RecordingHost.h"

namespace kestrel::platform {

namespace {

template <typename T>
T takeFront(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

MessageAnswer RecordingHost::messageBox(const std::string& text, MessageKind kind,
                                        const std::string& caption) {
    messages_.push_back({text, kind, caption});
    return takeFront(answers_, defaultAnswer_);
}

void RecordingHost::statusText(const std::string& text) {
    statusTexts_.push_back(text);
}

void RecordingHost::historyMessage(const std::string& text) {
    historyMessages_.push_back(text);
}

void RecordingHost::progress(int percent) {
    progress_.push_back(percent);
}

void RecordingHost::requestRedraw() {
    ++redraws_;
}

std::vector<std::string> RecordingHost::openFileDialog(const std::string& title,
                                                       const std::string& filter, bool multiple) {
    fileDialogs_.push_back({false, title, filter, multiple, {}});
    return takeFront(openFiles_, {});
}

std::optional<std::string> RecordingHost::saveFileDialog(const std::string& title,
                                                         const std::string& filter,
                                                         const std::string& defaultName) {
    fileDialogs_.push_back({true, title, filter, false, defaultName});
    return takeFront(saveFiles_, {});
}

void RecordingHost::clearRecords() {
    messages_.clear();
    statusTexts_.clear();
    historyMessages_.clear();
    progress_.clear();
    fileDialogs_.clear();
    redraws_ = 0;
}

}  // namespace kestrel::platform
