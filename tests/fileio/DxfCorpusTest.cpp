// DXF files made by other programs: each opens with plausible contents, and reads back the same
// after a save (up to the differences the reader states).
#include <gtest/gtest.h>

#include <filesystem>

#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/EntityComparison.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"

namespace {

const std::string kDxfDir = std::string(KESTREL_TEST_DATA_DIR) + "/dxf";

struct Expected {
    const char* file;
    int lines, circles, arcs, points;
    int polylines;  // POLYLINE and LWPOLYLINE (meshes are not loaded)
    int texts, mtexts, splines, hatches;
    int inserts;  // of named and anonymous blocks
    int dimensions;  // DIMENSION and ARC_DIMENSION
    std::size_t blocks, layers, dimStyles;  // blocks: named and anonymous, not the layouts
};

// Counted in the files' ENTITIES sections and tables by an independent scan.
const Expected kFiles[] = {
    {"2018_TS1.dxf", 3, 2, 1, 1, 2, 1, 1, 1, 2, 1, 6, 8, 3, 3},
    {"example_2000.dxf", 8, 0, 2, 1, 12, 2, 1, 2, 1, 10, 10, 13, 5, 2},
    {"example_2004.dxf", 8, 0, 2, 1, 12, 2, 1, 2, 1, 10, 10, 13, 5, 2},
    {"example_2018.dxf", 8, 0, 2, 1, 12, 2, 1, 2, 1, 10, 10, 13, 5, 2},
    {"example_r12.dxf", 10, 0, 2, 1, 15, 2, 0, 0, 0, 19, 9, 38, 5, 2},
    {"example_r14.dxf", 8, 0, 2, 1, 12, 2, 1, 2, 1, 12, 9, 15, 5, 2},
    {"r12_Leader.dxf", 1, 0, 0, 0, 1, 0, 0, 0, 0, 3, 0, 4, 1, 2},
    {"r13_v.dxf", 16, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 5, 1},
    {"sample_2000.dxf", 3, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 2, 2},
};

void PrintTo(const Expected& e, std::ostream* os) {
    *os << e.file;
}

struct Loaded {
    mmDrawing drawing;
    mmSpace paper;
    DxfSpaceLayout layout{paper};
    bool ok = false;
    explicit Loaded(const std::string& path) {
        FillNewDrawing(drawing);
        ok = loadDrawingFromDxf(drawing, nullptr, path, &layout);
    }
    int count(int32_t type) const {
        int n = 0;
        for (const mmSpace* s : {static_cast<const mmSpace*>(&drawing), &paper})
            for (const mmObjectPtr& e : s->entities)
                n += e->type == type;
        return n;
    }
};

// The entities a save wrote: those of the types it had no form for (the save tells of them)
// are taken out, with the copies of such entities in references.
void keepWritten(mmEntityList& list, const std::map<int32_t, int64_t>& leftOut) {
    std::erase_if(list, [&](const mmObjectPtr& e) { return leftOut.count(e->type) != 0; });
    for (const mmObjectPtr& e : list)
        if (e->type == kTypeBlockRef) keepWritten(static_cast<mmBlockRef&>(*e).children, leftOut);
}

std::u16string layerName(const mmDrawing& d, int32_t id) {
    const mmLayer* l = d.FindLayer(id);
    return l ? l->name : u"(none)";
}

void expectSameEntities(const mmDrawing& da, const mmEntityList& a, const mmDrawing& db,
                        const mmEntityList& b, const std::string& what, DxfVersion version) {
    ExpectSameEntities(a, b, what, version);
    if (a.size() != b.size()) return;
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(layerName(da, a[i]->layerId), layerName(db, b[i]->layerId)) << what << " " << i;
}

class DxfCorpus : public ::testing::TestWithParam<Expected> {
protected:
    void expectSameAfterSave(DxfVersion version);
    void SetUp() override {
        if (!std::filesystem::exists(kDxfDir + "/" + GetParam().file))
            GTEST_SKIP() << "test drawing not found: " << kDxfDir << "/" << GetParam().file;
    }
};

}  // namespace

TEST_P(DxfCorpus, OpensWithPlausibleContents) {
    const Expected& e = GetParam();
    Loaded f(kDxfDir + "/" + e.file);
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.count(kTypeLine), e.lines);
    EXPECT_EQ(f.count(kTypeCircle), e.circles);
    EXPECT_EQ(f.count(kTypeArc), e.arcs);
    EXPECT_EQ(f.count(kTypePoint), e.points);
    EXPECT_EQ(f.count(kTypePolyline), e.polylines);
    EXPECT_EQ(f.count(kTypeText), e.texts);
    EXPECT_EQ(f.count(kTypeMText), e.mtexts);
    EXPECT_EQ(f.count(kTypeSpline), e.splines);
    EXPECT_EQ(f.count(kTypeHatch), e.hatches);
    EXPECT_EQ(f.count(kTypeBlockRef), e.inserts);
    EXPECT_EQ(f.count(kTypeDimension), e.dimensions);
    EXPECT_EQ(f.drawing.blocks.size(), e.blocks);
    EXPECT_EQ(f.drawing.layers.size(), e.layers);
    EXPECT_EQ(f.drawing.dimStyles.size(), e.dimStyles);
    for (const mmObjectPtr& ent : f.drawing.entities)
        EXPECT_NE(f.drawing.FindLayer(ent->layerId), nullptr);
}

// Through both releases; a DXF 2000 file also keeps block base points, linetypes, layer widths
// and polyline widths.
TEST_P(DxfCorpus, SavedFileReadsBackTheSame) {
    for (const DxfVersion version : {DxfVersion::R12, DxfVersion::R2000}) {
        SCOPED_TRACE(version == DxfVersion::R12 ? "R12" : "DXF 2000");
        expectSameAfterSave(version);
    }
}

void DxfCorpus::expectSameAfterSave(DxfVersion version) {
    Loaded first(kDxfDir + "/" + GetParam().file);
    ASSERT_TRUE(first.ok);
    TempDir dir;
    MakeDimensionBlock(first.drawing);  // as the document's save does
    DxfSaveReport report;
    ASSERT_TRUE(saveDrawingAsDxf(first.drawing, &first.layout, dir.file("saved.dxf"), version, &report));
    keepWritten(first.drawing.entities, report.leftOut);
    keepWritten(first.paper.entities, report.leftOut);
    for (const auto& [id, block] : first.drawing.blocks) keepWritten(block->entities, report.leftOut);
    Loaded second(dir.file("saved.dxf"));
    ASSERT_TRUE(second.ok);
    const bool full = version == DxfVersion::R2000;

    ASSERT_EQ(first.drawing.layers.size(), second.drawing.layers.size());
    for (auto a = first.drawing.layers.begin(), b = second.drawing.layers.begin();
         a != first.drawing.layers.end(); ++a, ++b) {
        EXPECT_EQ(a->second.name, b->second.name);
        EXPECT_EQ(a->second.colorIndex, b->second.colorIndex);
        EXPECT_EQ(a->second.color, b->second.color);
        if (!full) continue;
        EXPECT_EQ(a->second.lineWidth, b->second.lineWidth);
        EXPECT_EQ(first.drawing.LineTypeName(a->second.linetype),
                  second.drawing.LineTypeName(b->second.linetype));
    }
    if (full) {
        ASSERT_EQ(first.drawing.lineTypes.size(), second.drawing.lineTypes.size());
        for (auto a = first.drawing.lineTypes.begin(), b = second.drawing.lineTypes.begin();
             a != first.drawing.lineTypes.end(); ++a, ++b) {
            EXPECT_EQ(a->second.name, b->second.name);
            EXPECT_EQ(a->second.dashes, b->second.dashes);
        }
    }
    ASSERT_EQ(first.drawing.dimStyles.size(), second.drawing.dimStyles.size());
    for (auto a = first.drawing.dimStyles.begin(), b = second.drawing.dimStyles.begin();
         a != first.drawing.dimStyles.end(); ++a, ++b) {
        EXPECT_EQ(a->second.name, b->second.name);
        EXPECT_EQ(a->second.arrowSize, b->second.arrowSize);
        EXPECT_EQ(a->second.textHeight, b->second.textHeight);
    }
    // The blocks of the file and those of the dimensions, anonymous like them, read back.
    ASSERT_EQ(first.drawing.blocks.size(), second.drawing.blocks.size());
    auto a = first.drawing.blocks.begin();
    for (auto b = second.drawing.blocks.begin(); b != second.drawing.blocks.end(); ++a, ++b) {
        EXPECT_EQ(a->second->name, b->second->name);
        if (full) {
            EXPECT_EQ(a->second->baseX, b->second->baseX);
            EXPECT_EQ(a->second->baseY, b->second->baseY);
        }
        expectSameEntities(first.drawing, a->second->entities, second.drawing, b->second->entities,
                           "block", version);
    }
    expectSameEntities(first.drawing, first.drawing.entities, second.drawing,
                       second.drawing.entities, "model space", version);
    expectSameEntities(first.drawing, first.paper.entities, second.drawing, second.paper.entities,
                       "paper space", version);
}

namespace {
std::string fileTestName(const ::testing::TestParamInfo<Expected>& param) {
    std::string name = param.param.file;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}
}  // namespace

INSTANTIATE_TEST_SUITE_P(Files, DxfCorpus, ::testing::ValuesIn(kFiles), fileTestName);
