// Running the DWG decoder bridge and telling its failures apart.
#include "fileio/dwg/DwgBridge.h"

#include <filesystem>
#include <system_error>

#include "fileio/dwg/ChildProcess.h"
#include "fileio/dwg/DwgRelease.h"

#ifndef KESTREL_DWG_BRIDGE_DIR
#define KESTREL_DWG_BRIDGE_DIR "tools/dwg-bridge"
#endif

namespace {

namespace fs = std::filesystem;

constexpr char kModule[] = "node_modules/@mlightcad/libredwg-web/wasm/libredwg-web.js";

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// The last line of what the bridge wrote to standard error, without its prefix.
std::string lastLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    const std::size_t start = text.find_last_of('\n');
    if (start != std::string::npos) text.erase(0, start + 1);
    constexpr std::string_view kPrefix = "decode.mjs: ";
    if (text.compare(0, kPrefix.size(), kPrefix) == 0) text.erase(0, kPrefix.size());
    if (text.size() > 300) text.resize(300);
    return text;
}

DwgBridgeOutcome failed(std::string detail) {
    DwgBridgeOutcome o;
    o.message = kErrorReadingDwg;
    o.detail = std::move(detail);
    return o;
}

}  // namespace

std::string DefaultDwgBridgeDir() {
    return KESTREL_DWG_BRIDGE_DIR;
}

std::string DwgNeedsBridgeMessage(const std::string& bridgeDir) {
    return "Opening DWG files needs the DWG decoder in " + bridgeDir +
           ", which is not installed: run scripts/setup.";
}

std::chrono::milliseconds DwgBridgeTimeLimit(const DwgBridgeConfig& config,
                                             std::uintmax_t fileBytes) {
    if (config.timeLimit.count() > 0) return config.timeLimit;
    const std::uintmax_t megabytes = fileBytes >> 20;
    return std::chrono::milliseconds(
        60000 + 10000 * static_cast<long long>(std::min<std::uintmax_t>(megabytes, 100000)));
}

DwgBridgeOutcome RunDwgBridge(const std::string& path, const DwgBridgeConfig& config) {
    const fs::path dir = config.bridgeDir.empty() ? DefaultDwgBridgeDir() : config.bridgeDir;
    const fs::path script = dir / "decode.mjs";
    if (!isFile(script) || !isFile(dir / kModule)) {
        DwgBridgeOutcome o;
        o.message = DwgNeedsBridgeMessage(dir.string());
        return o;
    }
    std::error_code ec;
    const std::uintmax_t bytes = fs::file_size(path, ec);

    ChildProcessRequest request;
    request.program = config.node;
    request.arguments = {"--liftoff-only", script.string(), path};
    request.timeLimit = DwgBridgeTimeLimit(config, ec ? 0 : bytes);
    request.outputLimit = config.outputLimit;
    ChildProcessResult run = RunChildProcess(request);

    switch (run.outcome) {
        case ChildOutcome::NotFound: {
            DwgBridgeOutcome o;
            o.message = kDwgNeedsNode;
            return o;
        }
        case ChildOutcome::NotStarted:
            return failed("The DWG decoder could not be started: " +
                          std::system_category().message(run.startError) + ".");
        case ChildOutcome::TimedOut:
            return failed("The DWG decoder did not finish within " +
                          std::to_string(request.timeLimit.count() / 1000) +
                          " seconds and was stopped.");
        case ChildOutcome::OutputTooLarge:
            return failed("The DWG decoder wrote more than " +
                          std::to_string(request.outputLimit >> 20) + " MB and was stopped.");
        case ChildOutcome::Signalled:
            return failed("The DWG decoder stopped on signal " + std::to_string(run.signalNumber) +
                          ".");
        case ChildOutcome::Exited:
            break;
    }
    if (run.exitStatus != 0) {
        const std::string why = lastLine(run.errorTail);
        return failed("The DWG decoder stopped with status " + std::to_string(run.exitStatus) +
                      (why.empty() ? std::string(".") : ": " + why));
    }
    DwgBridgeOutcome o;
    o.ok = true;
    o.json = std::move(run.output);
    return o;
}
