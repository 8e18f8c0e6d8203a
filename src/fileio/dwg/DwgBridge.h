// The DWG decoder bridge: `node --liftoff-only tools/dwg-bridge/decode.mjs FILE`, run as a child
// process with a time limit, printing the decoded drawing as one JSON document.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

struct DwgBridgeConfig {
    std::string node = "node";  // looked up in PATH when it has no slash
    // Folder holding decode.mjs and its node_modules; empty: the one the build was configured
    // with.
    std::string bridgeDir;
    // 0: 60 seconds and 10 more per megabyte of the file.
    std::chrono::milliseconds timeLimit{0};
    std::size_t outputLimit = std::size_t{2} << 30;
};

// The folder the build was configured with (tools/dwg-bridge of the source tree by default).
std::string DefaultDwgBridgeDir();

struct DwgBridgeOutcome {
    bool ok = false;
    std::string json;     // the document, when ok
    std::string message;  // for the message box, when not ok
    std::string detail;   // what went wrong, for the history; may be empty
};

inline constexpr char kDwgNeedsNode[] =
    "Opening DWG files needs Node.js, which was not found: install the package nodejs "
    "(scripts/setup does).";

// "Opening DWG files needs the DWG decoder in <dir>, which is not installed: run scripts/setup."
std::string DwgNeedsBridgeMessage(const std::string& bridgeDir);

// Decodes the file. Without Node.js or the bridge, says which is missing; a bridge that fails,
// hangs (it is killed at the limit) or prints no JSON gives "Error reading DWG file!".
DwgBridgeOutcome RunDwgBridge(const std::string& path, const DwgBridgeConfig& config = {});

// The time limit for a file of this size under the configuration.
std::chrono::milliseconds DwgBridgeTimeLimit(const DwgBridgeConfig& config,
                                             std::uintmax_t fileBytes);
