// RecordingHost: a Host that records every request and answers from scripted queues; used by
// tests.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Host.h"

namespace kestrel::platform {

struct RecordedMessage {
    std::string text;
    MessageKind kind = MessageKind::Info;
    std::string caption;
    bool operator==(const RecordedMessage&) const = default;
};

struct RecordedFileDialog {
    bool save = false;
    std::string title;
    std::string filter;
    bool multiple = false;    // open dialogs
    std::string defaultName;  // save dialogs
    bool operator==(const RecordedFileDialog&) const = default;
};

class RecordingHost : public Host {
public:
    MessageAnswer messageBox(const std::string& text, MessageKind kind = MessageKind::Info,
                             const std::string& caption = {}) override;
    void statusText(const std::string& text) override;
    void historyMessage(const std::string& text) override;
    void progress(int percent) override;
    void requestRedraw() override;
    std::vector<std::string> openFileDialog(const std::string& title, const std::string& filter,
                                            bool multiple) override;
    std::optional<std::string> saveFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& defaultName) override;

    // Scripted answers, used in order. When a queue is empty: the default answer (Ok unless
    // set), no file chosen.
    void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    void queueOpenFiles(std::vector<std::string> paths) { openFiles_.push_back(std::move(paths)); }
    void queueSaveFile(std::optional<std::string> path) { saveFiles_.push_back(std::move(path)); }
    void setDefaultAnswer(MessageAnswer answer) { defaultAnswer_ = answer; }

    const std::vector<RecordedMessage>& messages() const { return messages_; }
    const std::vector<std::string>& statusTexts() const { return statusTexts_; }
    const std::vector<std::string>& historyMessages() const { return historyMessages_; }
    const std::vector<int>& progressValues() const { return progress_; }
    const std::vector<RecordedFileDialog>& fileDialogs() const { return fileDialogs_; }
    int redrawCount() const { return redraws_; }

    // Forgets what was recorded; the scripted queues are kept.
    void clearRecords();

private:
    std::deque<MessageAnswer> answers_;
    std::deque<std::vector<std::string>> openFiles_;
    std::deque<std::optional<std::string>> saveFiles_;
    MessageAnswer defaultAnswer_ = MessageAnswer::Ok;

    std::vector<RecordedMessage> messages_;
    std::vector<std::string> statusTexts_;
    std::vector<std::string> historyMessages_;
    std::vector<int> progress_;
    std::vector<RecordedFileDialog> fileDialogs_;
    int redraws_ = 0;
};

}  // namespace kestrel::platform
