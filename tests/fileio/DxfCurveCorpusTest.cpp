// The hatches, dimensions and splines of every corpus DXF file read as ezdxf reads them: the same
// entities in the same order, hatches with their fill, pattern lines and paths, dimensions with
// their type and their file block, splines with their degree and control points (those worked
// out from fit points where the file gives only these).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "drawing/Drawing.h"
#include "entities/Dimension.h"
#include "entities/Hatch.h"
#include "entities/Spline.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"

namespace {

const std::string kDxfDir = std::string(KESTREL_TEST_DATA_DIR) + "/dxf";

// Kestrel's entities of these types in the form the script prints.
nlohmann::json described(const mmEntityList& entities) {
    nlohmann::json list = nlohmann::json::array();
    for (const mmObjectPtr& e : entities) {
        if (const auto* h = dynamic_cast<const mmHatch*>(e.get())) {
            list.push_back({"HATCH", h->solidFill ? 1 : 0, h->patternLines.size(), h->loops.size()});
        } else if (const auto* d = dynamic_cast<const mmDimension*>(e.get())) {
            list.push_back({"DIMENSION", d->dimType, d->ShowsBlock() ? 1 : 0});
        } else if (const auto* s = dynamic_cast<const mmSpline*>(e.get())) {
            list.push_back({"SPLINE", s->degree, s->points.size(), s->fitPoints.size()});
        }
    }
    return list;
}

// A spline of fit points only: Kestrel adds the control points of the cubic through them.
nlohmann::json withWorkedOutControlPoints(nlohmann::json list) {
    for (auto& e : list)
        if (e[0] == "SPLINE" && e[2] == 0 && e[3].get<int>() >= 2) {
            e[1] = 3;
            e[2] = e[3].get<int>() + 2;
        }
    return list;
}

}  // namespace

TEST(DxfCurveCorpus, HatchesDimensionsAndSplinesAsEzdxfReadsThem) {
    if (!std::filesystem::is_directory(kDxfDir)) GTEST_SKIP() << "test drawings not found: " << kDxfDir;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kDxfDir))
        if (entry.path().extension() == ".dxf") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    std::string command = std::string(KESTREL_PYTHON3) + " " + KESTREL_SOURCE_DIR +
                          "/tests/fileio/ezdxf_curves.py";
    for (const std::string& f : files) command += " '" + f + "'";
    int status = 0;
    const std::string out = RunCommand(command, status);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) GTEST_SKIP() << out;
    ASSERT_EQ(status, 0) << out;

    int compared = 0;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        const auto theirs = nlohmann::json::parse(out.substr(start, end - start));
        start = end + 1;
        const std::string file = theirs["file"];
        mmDrawing drawing;
        FillNewDrawing(drawing);
        mmSpace paper;
        DxfSpaceLayout layout(paper);
        ASSERT_TRUE(loadDrawingFromDxf(drawing, nullptr, file, &layout));
        EXPECT_EQ(described(drawing.entities), withWorkedOutControlPoints(theirs["model"])) << file;
        EXPECT_EQ(described(paper.entities), withWorkedOutControlPoints(theirs["paper"])) << file;
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<int>(files.size()));
}
