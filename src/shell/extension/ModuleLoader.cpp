// Extension modules: finding, loading and starting them, and the modules loaded so far.
#include "shell/extension/ModuleLoader.h"

#include <dlfcn.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "commands/Session.h"

namespace {

struct LoadedModule {
    void* handle;
    std::filesystem::path path;
};

// Modules stay loaded for the process; a module loaded again (a second main frame) is listed
// once.
std::vector<LoadedModule> gModules;
void* gLoading = nullptr;
std::optional<std::filesystem::path> gFolder;

void warn(mmSession& s, const std::string& name, const char* what) {
    s.host.messageBox("Warning: Extension module " + name + " " + what + "\n",
                      kestrel::platform::MessageKind::Warning);
}

// The modules of the folder, by name: regular files (or links to them) ending in ".kxm".
std::vector<std::filesystem::path> modulesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error)) {
        const std::filesystem::path& path = it->path();
        std::error_code typeError;
        if (path.extension() == ".kxm" && it->is_regular_file(typeError)) found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Calls the entry point with the module marked as the one loading; an exception is a failure.
int callEntryPoint(void* handle, int (*entry)()) {
    gLoading = handle;
    int result = 0;
    try {
        result = entry();
    } catch (...) {
        result = 0;
    }
    gLoading = nullptr;
    return result;
}

void remember(void* handle, const std::filesystem::path& path) {
    for (const LoadedModule& m : gModules)
        if (m.handle == handle) return;
    gModules.push_back({handle, path});
}

}  // namespace

std::filesystem::path ExtensionModulesFolder() {
    if (gFolder) return *gFolder;
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return executable.parent_path() / "ExtensionModules";
}

void SetExtensionModulesFolder(std::optional<std::filesystem::path> folder) {
    gFolder = std::move(folder);
}

int LoadExtensionModules(mmSession& s, const std::filesystem::path& folder) {
    int started = 0;
    if (folder.empty()) return started;
    for (const std::filesystem::path& path : modulesIn(folder)) {
        const std::string name = path.filename().string();
        // RTLD_NOW: a module that calls a function the program does not export fails here, with
        // the message, instead of in the middle of a command.
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            warn(s, name, "failed to load!");
            continue;
        }
        remember(handle, path);
        auto* entry = reinterpret_cast<int (*)()>(dlsym(handle, "KestrelExtEntryPoint"));
        if (!entry) {
            warn(s, name, "doesn't have KestrelExtEntryPoint!");
            continue;
        }
        if (callEntryPoint(handle, entry) == 0)
            warn(s, name, "entry point failed!");
        else
            ++started;
    }
    return started;
}

void* LoadingModule() {
    return gLoading;
}

std::optional<std::filesystem::path> LoadedModulePath(void* handle) {
    if (!handle) return std::nullopt;
    for (const LoadedModule& m : gModules)
        if (m.handle == handle) return m.path;
    return std::nullopt;
}
