// DWG files that exist beside their DXF export open to the same drawing: the same layers, named
// blocks and entities in the same order, up to the differences of the two readers stated here.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "drawing/Drawing.h"
#include "fileio/EntityComparison.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"

namespace {

const std::string kData = KESTREL_TEST_DATA_DIR;

struct Opened {
    mmDrawing drawing;
    mmSpace paper;
    DxfSpaceLayout layout{paper};
    Opened() { FillNewDrawing(drawing); }
};

// The entities of a list in order, DWG against DXF. The DXF reader keeps a few things the DWG
// import leaves out (and counts as not imported): splines given only by fit points (the DXF
// export holds control points worked out by the program that wrote it), counted into skipped by
// name. An export may also stand in for objects the import leaves out (tables, multi-leaders)
// with references to anonymous blocks of their own.
bool anonymousReference(const mmObject& e) {
    return e.type == kTypeBlockRef && static_cast<const mmBlockRef&>(e).blockName.starts_with(u"*");
}

void compareInOrder(const mmEntityList& dwg, const mmEntityList& dxf, const std::string& what,
                    std::map<std::string, int64_t>& skipped) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < dxf.size(); ++k) {
        const mmObject& b = *dxf[k];
        const bool standIn = anonymousReference(b) && (i >= dwg.size() || !anonymousReference(*dwg[i]));
        if (i < dwg.size() && dwg[i]->type == b.type && !standIn) {
            ExpectSameEntity(*dwg[i], b, what + " entity " + std::to_string(i));
            ++i;
        } else if (b.type == kTypeSpline) {
            ++skipped["SPLINE"];
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
    std::map<std::string, int64_t> skipped;
    const auto anonymousA = anonymousBlocks(a.drawing), anonymousB = anonymousBlocks(b.drawing);
    for (const auto& [letters, list] : anonymousA) {
        const auto other = anonymousB.find(letters);
        ASSERT_NE(other, anonymousB.end());
        ASSERT_EQ(list.size(), other->second.size());
        for (std::size_t k = 0; k < list.size(); ++k)
            compareInOrder(list[k]->entities, other->second[k]->entities,
                           "anonymous block " + std::to_string(k), skipped);
    }

    compareInOrder(a.drawing.entities, b.drawing.entities, "model space", skipped);
    for (const auto& [name, count] : skipped) {
        const auto it = r.notImported.find(name);
        EXPECT_EQ(it == r.notImported.end() ? 0 : it->second, count) << name;
    }
    compareInOrder(a.paper.entities, b.paper.entities, "paper space", skipped);
}

INSTANTIATE_TEST_SUITE_P(Corpus, DwgTwin,
                         ::testing::Values("example_2000", "example_2004", "example_r14",
                                           "sample_2000"));

}  // namespace
