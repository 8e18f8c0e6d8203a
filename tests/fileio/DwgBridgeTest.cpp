// The decoder bridge as a child process: stand-in "node" programs that hang, print garbage, fail
// or write much, and the messages for a missing Node.js or bridge.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "drawing/Drawing.h"
#include "fileio/DrawingDocument.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dwg/ChildProcess.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dwg/DwgRelease.h"
#include "platform/RecordingHost.h"

namespace {

namespace fs = std::filesystem;

// A folder with a fake bridge (the files the import looks for), a shell script standing in for
// node, and an R2000 file.
struct FakeBridge {
    TempDir dir;
    std::string node, dwg;

    explicit FakeBridge(const std::string& script) {
        fs::create_directories(dir.file("node_modules/@mlightcad/libredwg-web/wasm"));
        WriteWholeFile(dir.file("decode.mjs"), "");
        WriteWholeFile(dir.file("node_modules/@mlightcad/libredwg-web/wasm/libredwg-web.js"), "");
        node = dir.file("node");
        WriteWholeFile(node, "#!/bin/sh\n" + script);
        ::chmod(node.c_str(), 0755);
        dwg = dir.file("drawing.dwg");
        WriteWholeFile(dwg, std::string("AC1015") + std::string(100, '\0'));
    }

    DwgImportOptions options(std::chrono::milliseconds limit = std::chrono::seconds(20)) const {
        DwgImportOptions o;
        o.bridge.node = node;
        o.bridge.bridgeDir = dir.path;
        o.bridge.timeLimit = limit;
        return o;
    }

    DwgImportResult open(mmDrawing& d, const DwgImportOptions& o) const {
        return loadDrawingFromDwg(d, nullptr, dwg, nullptr, false, {}, o);
    }
};

bool processGone(pid_t pid) {
    // The killed process may take a moment to be reaped by its new parent.
    for (int i = 0; i < 200; ++i) {
        if (::kill(pid, 0) != 0 && errno == ESRCH) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(DwgBridge, AHangingBridgeIsKilledAtTheLimitWithWhatItStarted) {
    FakeBridge bridge("sleep 300 &\necho $! > \"$(dirname \"$0\")/child\"\nwait\n");
    mmDrawing d;
    NewDrawing(d);
    const DwgImportResult r = bridge.open(d, bridge.options(std::chrono::milliseconds(1000)));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, kErrorReadingDwg);
    EXPECT_NE(r.detail.find("did not finish"), std::string::npos) << r.detail;
    const pid_t child = std::stoi(ReadWholeFile(bridge.dir.file("child")));
    EXPECT_TRUE(processGone(child));
    EXPECT_TRUE(d.entities.empty());
}

TEST(DwgBridge, GarbageOrAFailingBridgeIsAReadError) {
    const struct {
        const char* script;
        const char* detail;
    } cases[] = {
        {"echo 'this is no JSON'\n", "no drawing"},
        {"echo '{\"format\":1,\"file_magic\":\"AC1015\",\"version\":\"R_2000\",\"entities\":[' \n",
         "no drawing"},
        {"echo 'decode.mjs: out of memory' >&2\nexit 3\n", "status 3: out of memory"},
        {"kill -9 $$\n", "signal 9"},
    };
    for (const auto& c : cases) {
        FakeBridge bridge(c.script);
        mmDrawing d;
        NewDrawing(d);
        const DwgImportResult r = bridge.open(d, bridge.options());
        EXPECT_FALSE(r.ok) << c.script;
        EXPECT_EQ(r.message, kErrorReadingDwg) << c.script;
        EXPECT_NE(r.detail.find(c.detail), std::string::npos) << r.detail;
    }
}

TEST(DwgBridge, MissingNodeOrBridgeSaysWhatIsMissing) {
    FakeBridge bridge("exit 0\n");
    mmDrawing d;
    NewDrawing(d);
    DwgImportOptions o = bridge.options();
    o.bridge.node = bridge.dir.file("no-such-node");
    EXPECT_EQ(bridge.open(d, o).message, kDwgNeedsNode);
    o.bridge.node = "kestrel-no-such-program-in-path";
    EXPECT_EQ(bridge.open(d, o).message, kDwgNeedsNode);
    o = bridge.options();
    o.bridge.bridgeDir = bridge.dir.file("nowhere");
    EXPECT_EQ(bridge.open(d, o).message, DwgNeedsBridgeMessage(bridge.dir.file("nowhere")));
}

// Megabytes on both pipes at once: neither blocks the other, and all of the output arrives.
TEST(DwgBridge, EverythingTheBridgeWritesIsRead) {
    FakeBridge bridge(
        "head -c 3000000 /dev/zero | tr '\\0' 'e' >&2 &\n"
        "printf '{\"format\":1,\"file_magic\":\"AC1015\",\"version\":\"R_2000\",\"error\":0,'\n"
        "printf '\"LAYER\":[],\"BLOCK_HEADER\":[],\"entities\":['\n"
        "i=0; while [ $i -lt 20000 ]; do\n"
        "  printf "
        "'{\"type\":\"LINE\",\"entmode\":2,\"layer\":\"0\",\"start\":[%d,0],\"end\":[1,1]},' $i\n"
        "  i=$((i+1)); done\n"
        "printf '{\"type\":\"POINT\",\"entmode\":2,\"x\":1,\"y\":2}]}'\nwait\n");
    mmDrawing d;
    NewDrawing(d);
    const DwgImportResult r = bridge.open(d, bridge.options(std::chrono::minutes(2)));
    ASSERT_TRUE(r.ok) << r.message << " " << r.detail;
    ASSERT_EQ(d.entities.size(), 20001u);
    EXPECT_EQ(d.entities[19999]->points[0].x, 19999.0);
}

TEST(DwgBridge, OutputBeyondTheLimitStopsTheBridge) {
    ChildProcessRequest request;
    request.program = "/bin/sh";
    request.arguments = {"-c", "head -c 50000000 /dev/zero"};
    request.outputLimit = 1 << 20;
    const ChildProcessResult run = RunChildProcess(request);
    EXPECT_EQ(run.outcome, ChildOutcome::OutputTooLarge);
    EXPECT_LT(run.output.size(), std::size_t{50000000});
}

// Opening a DWG that fails leaves the drawing as it was, shows the specific message in the
// message box and the general one in the history.
TEST(DwgBridge, AFailedOpenLeavesTheDrawingAndSaysWhy) {
    TempDir dir;
    const std::string r2010 = dir.file("new.DWG");
    WriteWholeFile(r2010, std::string("AC1024") + std::string(64, '\0'));
    mmDrawing d;
    NewDrawing(d);
    d.layers[5] = mmLayer::WithDefaults(5, u"mine");
    kestrel::platform::RecordingHost host;
    EXPECT_FALSE(OpenDrawing(d, r2010, host, nullptr, nullptr));
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, "DWG file version R2010 is not supported at this moment!");
    EXPECT_EQ(host.historyMessages(), std::vector<std::string>{kErrorReadingDrawing});
    EXPECT_TRUE(d.FindLayerByName(u"mine"));
    host.clearRecords();
    EXPECT_FALSE(OpenDrawing(d, dir.file("missing.dwg"), host, nullptr, nullptr));
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, kErrorReadingDwg);
}

}  // namespace
