// The session the functions exported for extension modules act on (LoadXREF among them).
#pragma once

#include "shell/extension/KestrelExtension.h"

class mmSession;

// The session of the main frame (or of the headless run) that exported functions act on; null
// before one is set.
void SetExtensionSession(mmSession* session);
mmSession* ExtensionSession();
