// The layouts of the test drawings: every DXF file opens with the layouts ezdxf lists, in their
// tab order, and each DWG file with those of its DXF twin.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <map>

#include "drawing/Drawing.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "platform/Unicode.h"

namespace {

const std::string kData = KESTREL_TEST_DATA_DIR;

// "Layout1,Layout2 active 1": the names in tab order and the position of the active one.
std::string describe(const DxfLayoutList& layouts) {
    std::string out;
    for (const DxfLayoutEntry& e : layouts.Layouts()) {
        std::string name;
        kestrel::platform::utf16ToUtf8(e.name, name);
        out += (out.empty() ? "" : ",") + name;
    }
    return out + " active " + std::to_string(layouts.ActiveIndex());
}

std::string dxfLayouts(const std::string& path) {
    mmDrawing d;
    FillNewDrawing(d);
    DxfLayoutList layouts;
    EXPECT_TRUE(loadDrawingFromDxf(d, nullptr, path, &layouts));
    return describe(layouts);
}

// ezdxf's layouts of each file, in the form of describe(); the active one owns "*Paper_Space".
constexpr char kEzdxfLayouts[] = R"(import ezdxf, sys
for path in sys.argv[1:]:
    doc = ezdxf.readfile(path)
    paper = sorted((l for l in doc.layouts if l.name != 'Model'),
                   key=lambda l: l.dxf_layout.dxf.taborder)
    active = [i for i, l in enumerate(paper) if l.block_record.dxf.name.upper() == '*PAPER_SPACE']
    print(path, ','.join(l.name for l in paper), 'active', active[0] if active else 0)
)";

}  // namespace

TEST(LayoutCorpus, DxfFilesOpenWithTheLayoutsEzdxfLists) {
    if (!std::filesystem::is_directory(kData + "/dxf")) GTEST_SKIP() << "no " << kData << "/dxf";
    if (std::string(KESTREL_PYTHON3).find("NOTFOUND") != std::string::npos)
        GTEST_SKIP() << "python3 is not installed";
    TempDir dir;
    const std::string script = dir.file("layouts.py");
    WriteWholeFile(script, kEzdxfLayouts);
    std::string command = std::string(KESTREL_PYTHON3) + " '" + script + "'";
    std::map<std::string, std::string> ours;
    for (const auto& entry : std::filesystem::directory_iterator(kData + "/dxf")) {
        if (entry.path().extension() != ".dxf") continue;
        ours[entry.path().string()] = dxfLayouts(entry.path().string());
        command += " '" + entry.path().string() + "'";
    }
    int status = 0;
    const std::string out = RunCommand(command + " 2>&1", status);
    ASSERT_EQ(status, 0) << out;
    for (const auto& [path, layouts] : ours)
        EXPECT_NE(out.find(path + " " + layouts + "\n"), std::string::npos)
            << path << " opens with " << layouts << "; ezdxf:\n"
            << out;
}

TEST(LayoutCorpus, DwgFilesOpenWithTheLayoutsOfTheirDxfTwins) {
    for (const char* name : {"example_2000", "example_2004"}) {
        const std::string dwg = kData + "/dwg/" + name + ".dwg";
        const std::string dxf = kData + "/dxf/" + name + ".dxf";
        if (!std::filesystem::exists(dwg) || !std::filesystem::exists(dxf))
            GTEST_SKIP() << "no " << dwg << " or " << dxf;
        mmDrawing d;
        FillNewDrawing(d);
        DxfLayoutList layouts;
        const DwgImportResult r = loadDrawingFromDwg(d, nullptr, dwg, &layouts, false, {});
        if (r.message == kDwgNeedsNode || r.message == DwgNeedsBridgeMessage(DefaultDwgBridgeDir()))
            GTEST_SKIP() << r.message;
        ASSERT_TRUE(r.ok) << r.message << r.detail;
        EXPECT_EQ(describe(layouts), dxfLayouts(dxf)) << name;
    }
}
