// LoadXREF for extension modules.
#include "shell/extension/LoadXref.h"

#include <string_view>

#include "commands/XrefCommand.h"

namespace {
mmSession* gSession = nullptr;
constexpr std::size_t kNameCapacity = 255;
}  // namespace

void SetExtensionSession(mmSession* session) {
    gSession = session;
}

mmSession* ExtensionSession() {
    return gSession;
}

extern "C" int LoadXREF(const char16_t* path, char16_t* name) {
    if (!name) return 0;
    name[0] = 0;
    if (!path || !gSession) return 0;
    try {
        LoadXref(*gSession, std::u16string_view(path), name, kNameCapacity);
    } catch (...) {
        name[0] = 0;
    }
    return 0;
}
