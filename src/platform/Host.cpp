// Default bodies of the Host requests.
#include "platform/Host.h"

namespace kestrel::platform {

Host::~Host() = default;

void Host::statusText(const std::string&) {}

void Host::historyMessage(const std::string&) {}

void Host::progress(int) {}

void Host::requestRedraw() {}

std::vector<std::string> Host::openFileDialog(const std::string&, const std::string&, bool) {
    return {};
}

int Host::chosenSaveFilter() const {
    return 0;
}

std::optional<std::string> Host::saveFileDialog(const std::string&, const std::string&,
                                                const std::string&) {
    return std::nullopt;
}

}  // namespace kestrel::platform
