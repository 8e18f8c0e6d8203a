// Loading extension modules: every *.kxm of the ExtensionModules folder beside the executable is
// loaded with dlopen and its entry point KestrelExtEntryPoint called. Modules are never unloaded.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

class mmSession;

// The folder modules are loaded from: ExtensionModules beside the executable, unless another was
// set (tests).
std::filesystem::path ExtensionModulesFolder();
void SetExtensionModulesFolder(std::optional<std::filesystem::path> folder);

// Loads the modules of the folder in the order of their names; each failure is told in a warning
// message box of the session's host and loading goes on with the next file. A missing folder
// loads nothing. The exported functions must already act on the session (SetExtensionSession).
// Returns how many entry points succeeded.
int LoadExtensionModules(mmSession& session, const std::filesystem::path& folder);

// The handle of the module whose entry point is running; null outside entry points.
void* LoadingModule();
// The file of a module loaded here, found by its handle; nothing for any other handle.
std::optional<std::filesystem::path> LoadedModulePath(void* handle);
