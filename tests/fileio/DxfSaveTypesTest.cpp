// What a save writes of the entity types read from other programs' files: a drawing of every
// such type, opened, saved and opened again, is the same drawing (what an R12 file has no form
// for is left out and named); the groups other programs need to read it as it was meant.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawing/DimStyleTable.h"
#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/EntityComparison.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"

namespace {

// A style of the file's own sizes; a block with attribute definitions (one constant, which its
// references show, not an attribute of theirs) referred to with rows, columns and a value; an anonymous block and its reference; a dimension block kept from the
// file; and an entity of each type the R12 release lacks.
const char* const kEveryType = R"(
0 SECTION
2 TABLES
0 TABLE
2 DIMSTYLE
0 DIMSTYLE
2 Plan
40 2
41 0.75
42 0.2
44 0.3
140 0.5
142 0.25
144 10
147 0.1
0 ENDTAB
0 ENDSEC
0 SECTION
2 BLOCKS
0 BLOCK
2 Tag
70 2
10 1
20 1
0 ATTDEF
10 1
20 2
40 0.5
1 X-0
3 Which number?
2 NUMBER
70 8
0 ATTDEF
10 1
20 3
40 0.5
1 Kestrel
2 MAKER
70 2
0 LINE
10 1
20 1
11 4
21 1
0 ENDBLK
0 BLOCK
2 *U3
70 1
10 0
20 0
0 CIRCLE
10 0
20 0
40 2
0 ENDBLK
0 BLOCK
2 *D5
70 1
10 0
20 0
0 LINE
10 0
20 0
11 1
21 1
0 ENDBLK
0 ENDSEC
0 SECTION
2 ENTITIES
0 ELLIPSE
10 5
20 5
11 0
21 3
40 0.5
41 5.5
42 7
0 TRACE
10 0
20 0
11 2
21 0
12 0
22 1
13 2
23 1
0 3DFACE
10 0
20 10
11 2
21 10
12 2
22 12
13 0
23 12
70 5
0 XLINE
10 1
20 1
11 0.6
21 0.8
0 RAY
10 2
20 2
11 1
21 0
0 LEADER
3 Plan
71 0
72 1
76 3
10 0
20 0
10 3
20 4
10 6
20 4
0 LEADER
3 Plan
71 1
76 2
10 10
20 0
10 13
20 4
1001 ACAD
1000 DSTYLE
1002 {
1070 41
1040 1.5
1002 }
0 INSERT
2 Tag
66 1
10 20
20 5
70 2
71 3
44 10
45 5
0 ATTRIB
10 21
20 7
40 0.5
1 A-17
2 NUMBER
70 0
0 SEQEND
0 INSERT
2 *U3
10 30
20 0
0 DIMENSION
2 *D5
3 Plan
70 2
1 <> deg
10 40
20 10
11 45
21 12
13 40
23 0
14 50
24 0
15 40
25 20
16 44
26 8
0 DIMENSION
3 Plan
70 3
10 60
20 0
11 66
21 3
15 64
25 0
40 2
0 DIMENSION
3 Plan
70 0
50 30
10 80
20 5
11 82
21 6
13 70
23 0
14 78
24 2
0 ENDSEC
0 EOF
)";

struct Opened {
    mmDrawing drawing;
    explicit Opened(const std::string& path) {
        FillNewDrawing(drawing);
        ok = loadDrawingFromDxf(drawing, nullptr, path, nullptr);
    }
    bool ok = false;
};

std::vector<std::u16string> blockNames(const mmDrawing& d) {
    std::vector<std::u16string> names;
    for (const auto& [id, block] : d.blocks) names.push_back(block->name);
    return names;
}

}  // namespace

// Entities, attributes, cells, blocks under their own names and the style's sizes come back; R12
// leaves out the ellipse, the construction line, the ray and the leaders, and says so.
// Constant attributes are not written after references: they came back twice.
TEST(DxfSaveTypes, EveryTypeReadComesBackFromTheSave) {
    TempDir dir;
    WriteWholeFile(dir.file("in.dxf"), Dxf(kEveryType));
    const struct {
        DxfVersion version;
        std::map<int32_t, int64_t> leftOut;
    } saves[] = {
        {DxfVersion::R2000, {}},
        {DxfVersion::R12, {{kTypeEllipse, 1}, {kTypeXLine, 2}, {kTypeLeader, 2}}},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(save.version == DxfVersion::R12 ? "R12" : "DXF 2000");
        Opened first(dir.file("in.dxf"));
        ASSERT_TRUE(first.ok);
        ASSERT_EQ(first.drawing.entities.size(), 12u);
        MakeDimensionBlock(first.drawing);
        DxfSaveReport report;
        ASSERT_TRUE(saveDrawingAsDxf(first.drawing, nullptr, dir.file("out.dxf"), save.version,
                                     &report));
        EXPECT_EQ(report.leftOut, save.leftOut);
        std::erase_if(first.drawing.entities,
                      [&](const mmObjectPtr& e) { return save.leftOut.count(e->type) != 0; });
        Opened second(dir.file("out.dxf"));
        ASSERT_TRUE(second.ok);
        ExpectSameEntities(first.drawing.entities, second.drawing.entities, "model space",
                           save.version);
        EXPECT_EQ(blockNames(first.drawing), blockNames(second.drawing));
        for (auto a = first.drawing.blocks.begin(), b = second.drawing.blocks.begin();
             a != first.drawing.blocks.end() && b != second.drawing.blocks.end(); ++a, ++b)
            ExpectSameEntities(a->second->entities, b->second->entities, "block", save.version);
        const auto found = std::find_if(
            second.drawing.entities.begin(), second.drawing.entities.end(),
            [](const mmObjectPtr& e) { return e->type == kTypeBlockRef; });
        ASSERT_NE(found, second.drawing.entities.end());
        const auto& tag = static_cast<const mmBlockRef&>(**found);
        EXPECT_EQ(tag.columns * tag.rows, 6);
        EXPECT_EQ(tag.rowSpacing, 5.0);
        ASSERT_EQ(tag.children.size(), 3u);  // the line, the constant attribute, the value
        const auto& number = dynamic_cast<const mmAttribute&>(*tag.children[2]);
        EXPECT_EQ(number.tag, "NUMBER");
        EXPECT_EQ(number.String(), "A-17");
        if (save.version == DxfVersion::R12) continue;
        const DimStyle* plan = FindDimStyleByName(second.drawing, u"Plan", mmNameMatch::Exact);
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->overallScale, 2.0);
        EXPECT_EQ(plan->tickSize, 0.25);
        EXPECT_EQ(plan->linearFactor, 10.0);
        EXPECT_EQ(plan->textGap, 0.1);
    }
}
