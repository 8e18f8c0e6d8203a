// DWG files that exist beside their DXF export open to the same drawing: the same layers, named
// blocks and entities in the same order, up to the differences of the two readers stated here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "drawing/Drawing.h"
#include "fileio/EntityComparison.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "support/StripDistance.h"

namespace {

const std::string kData = KESTREL_TEST_DATA_DIR;

struct Opened {
    mmDrawing drawing;
    mmSpace paper;
    DxfSpaceLayout layout{paper};
    Opened() { FillNewDrawing(drawing); }
};

// A spline the DWG file gives by fit points only, against the DXF export, which holds the control
// points the program that wrote it worked out: the same fit points, and curves that lie within
// a millionth of the curve's size of each other when both end tangents are given; the program's
// own end condition without one is matched to a thousandth.
void expectSameFitSpline(const mmSpline& dwg, const mmSpline& dxf, const std::string& what) {
    ExpectSamePoints(dwg.fitPoints, dxf.fitPoints, what);
    std::vector<mmVertex> ours, theirs;
    const double size = std::hypot(dxf.extents.maxX - dxf.extents.minX, dxf.extents.maxY - dxf.extents.minY);
    dwg.SampleCurve(size * 1e-7, 1 << 16, [&](double x, double y) { ours.emplace_back(x, y); });
    dxf.SampleCurve(size * 1e-4, 1 << 16, [&](double x, double y) { theirs.emplace_back(x, y); });
    ASSERT_GE(ours.size(), 2u) << what;
    double farthest = 0.0;
    for (const mmVertex& p : theirs) farthest = std::max(farthest, DistanceToStrip(p, ours));
    const bool tangents = (dwg.startTangent.x != 0 || dwg.startTangent.y != 0) &&
                          (dwg.endTangent.x != 0 || dwg.endTangent.y != 0);
    EXPECT_LT(farthest, size * (tangents ? 1e-6 : 1e-3)) << what;
}

bool isArcLength(const mmObject& e) {
    return e.type == kTypeDimension && static_cast<const mmDimension&>(e).dimType == kDimArcLength;
}

// The entities of a list in order, DWG against DXF. Splines given only by fit points are
// compared by their curves. An R14 export has no arc length dimension: the DWG's is passed over.
// An export may also stand in for objects the import leaves out (tables, multi-leaders) with
// references to anonymous blocks of their own.
bool anonymousReference(const mmObject& e) {
    return e.type == kTypeBlockRef && static_cast<const mmBlockRef&>(e).blockName.starts_with(u"*");
}

void compareInOrder(const mmEntityList& dwg, const mmEntityList& dxf, const std::string& what) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < dxf.size(); ++k) {
        const mmObject& b = *dxf[k];
        if (i < dwg.size() && isArcLength(*dwg[i]) && !isArcLength(b)) ++i;
        const bool standIn = anonymousReference(b) && (i >= dwg.size() || !anonymousReference(*dwg[i]));
        const auto* fitted = dynamic_cast<const mmSpline*>(i < dwg.size() ? dwg[i].get() : nullptr);
        if (fitted && b.type == kTypeSpline && !fitted->fitPoints.empty()) {
            expectSameFitSpline(*fitted, static_cast<const mmSpline&>(b),
                                what + " entity " + std::to_string(i));
            ++i;
        } else if (i < dwg.size() && dwg[i]->type == b.type && !standIn) {
            ExpectSameEntity(*dwg[i], b, what + " entity " + std::to_string(i));
            ++i;
        } else if (!standIn) {
            ADD_FAILURE() << what << ": the DXF's entity " << k << " (type " << b.type
                          << ") has no DWG counterpart";
            return;
        }
    }
    EXPECT_EQ(i, dwg.size()) << what << ": DWG entities beyond the DXF's";
}

// Anonymous blocks by their letters ("*D", "*T" ...), in table order: their numbers are the
// export's own.
std::map<std::u16string, std::vector<mmBlockPtr>> anonymousBlocks(const mmDrawing& d) {
    std::map<std::u16string, std::vector<mmBlockPtr>> out;
    for (const auto& [id, block] : d.blocks) {
        if (!(block->flags & kBlockAnonymous)) continue;
        std::size_t letters = 1;
        while (letters < block->name.size() && !std::isdigit(block->name[letters])) ++letters;
        out[block->name.substr(0, letters)].push_back(block);
    }
    return out;
}

class DwgTwin : public ::testing::TestWithParam<const char*> {};

TEST_P(DwgTwin, OpensToTheSameDrawingAsItsDxfExport) {
    const std::string dwg = kData + "/dwg/" + GetParam() + ".dwg";
    const std::string dxf = kData + "/dxf/" + GetParam() + ".dxf";
    if (!std::filesystem::exists(dwg) || !std::filesystem::exists(dxf))
        GTEST_SKIP() << "test drawings not found: " << dwg << ", " << dxf;
    Opened a, b;
    const DwgImportResult r = loadDrawingFromDwg(a.drawing, nullptr, dwg, &a.layout, false, {});
    if (r.message == kDwgNeedsNode || r.message == DwgNeedsBridgeMessage(DefaultDwgBridgeDir()))
        GTEST_SKIP() << r.message;
    ASSERT_TRUE(r.ok) << r.message << " " << r.detail;
    ASSERT_TRUE(loadDrawingFromDxf(b.drawing, nullptr, dxf, &b.layout));

    ASSERT_EQ(a.drawing.layers.size(), b.drawing.layers.size());
    for (auto ia = a.drawing.layers.begin(), ib = b.drawing.layers.begin();
         ia != a.drawing.layers.end(); ++ia, ++ib) {
        EXPECT_EQ(ia->second.name, ib->second.name);
        EXPECT_EQ(ia->second.color, ib->second.color);
    }
    std::vector<std::u16string> blocksA, blocksB;
    for (const auto& [id, block] : a.drawing.blocks)
        if (!(block->flags & kBlockAnonymous)) blocksA.push_back(block->name);
    for (const auto& [id, block] : b.drawing.blocks)
        if (!(block->flags & kBlockAnonymous)) blocksB.push_back(block->name);
    EXPECT_EQ(blocksA, blocksB);
    // The anonymous blocks of the dimensions and tables the DWG has, with the same contents.
    const auto anonymousA = anonymousBlocks(a.drawing), anonymousB = anonymousBlocks(b.drawing);
    for (const auto& [letters, list] : anonymousA) {
        const auto other = anonymousB.find(letters);
        ASSERT_NE(other, anonymousB.end());
        ASSERT_EQ(list.size(), other->second.size());
        for (std::size_t k = 0; k < list.size(); ++k)
            compareInOrder(list[k]->entities, other->second[k]->entities,
                           "anonymous block " + std::to_string(k));
    }

    compareInOrder(a.drawing.entities, b.drawing.entities, "model space");
    compareInOrder(a.paper.entities, b.paper.entities, "paper space");
}

INSTANTIATE_TEST_SUITE_P(Corpus, DwgTwin,
                         ::testing::Values("example_2000", "example_2004", "example_r14",
                                           "sample_2000"));

}  // namespace
