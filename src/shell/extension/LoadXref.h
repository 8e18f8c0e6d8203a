// Functions the program exports for extension modules (C linkage, UTF-16 strings), and the
// session they act on.
#pragma once

class mmSession;

// The session of the main frame (or of the headless run) that exported functions act on; null
// before one is set.
void SetExtensionSession(mmSession* session);
mmSession* ExtensionSession();

extern "C" {
// Loads the DXF or DWG file at path as an XREF block into the drawing. name must have room for
// 255 characters: it receives the block's name (at most 254 characters), or stays empty when
// the file could not be loaded. Always 0.
int LoadXREF(const char16_t* path, char16_t* name);
}
