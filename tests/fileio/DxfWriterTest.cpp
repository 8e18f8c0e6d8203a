// The DXF writer: whole files for the edge cases, the order of sections and tables, and saves
// that fail without touching the previous file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfSave.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

const std::string kHeaderAndTablesStart = Dxf(R"(
0 SECTION
2 HEADER
0 ENDSEC
0 SECTION
2 TABLES
0 TABLE
2 LAYER
0 LAYER
2 0
70 0
62 7
6 Continuous
)");

const std::string kStandardDimStyleTable = Dxf(R"(
0 ENDTAB
0 TABLE
2 DIMSTYLE
0 DIMSTYLE
2 Standard
70 0
3 
4 
5 
6 
7 
40 1
41 2.5
42 0.625
43 3.75
44 1.25
45 0
46 0
47 0
48 0
140 2.5
141 2.5
142 0
143 25.4
144 1
145 0
146 1
147 0.625
71 0
72 0
73 0
74 0
75 0
76 0
77 1
78 8
170 0
171 3
172 1
173 0
174 0
175 0
176 0
177 0
178 0
0 ENDTAB
0 ENDSEC
)");

struct WriterFixture : ::testing::Test {
    TempDir dir;
    mmDrawing d;
    void SetUp() override { FillNewDrawing(d); }

    template <class T>
    std::shared_ptr<T> add(std::initializer_list<mmVertex> pts, int32_t colorIndex = 256) {
        auto e = std::make_shared<T>();
        e->layerId = 0;
        e->colorIndex = colorIndex;
        for (const mmVertex& p : pts)
            e->AddPoint(p.x, p.y);
        e->id = d.nextEntityId++;
        AddEntity(d, e);
        return e;
    }
    std::string save(const DxfLayout* layout = nullptr) {
        const std::string path = dir.file("out.dxf");
        EXPECT_TRUE(saveDrawingAsDxf(d, layout, path));
        return ReadWholeFile(path);
    }
    // The text between "2 ENTITIES" and its ENDSEC.
    static std::string entitiesOf(const std::string& file) {
        const std::string start = Dxf("0 SECTION\n2 ENTITIES\n");
        const std::size_t at = file.find(start);
        const std::size_t end = file.rfind(Dxf("0 ENDSEC\n0 EOF\n"));
        if (at == std::string::npos || end == std::string::npos) return "(no ENTITIES)";
        return file.substr(at + start.size(), end - at - start.size());
    }
};

}  // namespace

TEST_F(WriterFixture, EmptyDrawingWritesTheFixedFile) {
    const std::string expected = kHeaderAndTablesStart + kStandardDimStyleTable + Dxf(R"(
0 SECTION
2 BLOCKS
0 ENDSEC
0 SECTION
2 ENTITIES
0 ENDSEC
0 EOF
)");
    EXPECT_EQ(save(), expected);
}

// By block is written as 62 0 and a true colour as 420 after the nearest index, so that neither
// comes back by layer.
TEST_F(WriterFixture, SimpleEntitiesWithTheirColoursAndPointWidth) {
    add<mmLine>({{1, 2}, {3.5, -4}}, 256);       // by layer: no 62
    add<mmLine>({{0, 0}, {1, 1}}, 1);            // ACI 1
    add<mmCircle>({{10, 10}}, 0)->radius = 2.5;  // by block
    auto arc = add<mmArc>({{0, 0}}, 300);        // a true colour: red 44, green 1, blue 0
    arc->radius = 1;
    arc->startAngle = 10;
    arc->endAngle = 370.25;
    add<mmPointObj>({{7, 8}})->lineWidth = 1;
    add<mmPointObj>({{9, 9}})->lineWidth = 0;  // no 39
    auto erased = add<mmLine>({{5, 5}, {6, 6}});
    erased->erased = true;

    EXPECT_EQ(entitiesOf(save()), Dxf(R"(
0 LINE
8 0
6 Continuous
10 1
20 2
11 3.5
21 -4
0 LINE
8 0
62 1
6 Continuous
10 0
20 0
11 1
21 1
0 CIRCLE
8 0
62 0
6 Continuous
10 10
20 10
40 2.5
0 ARC
8 0
62 18
420 2883840
6 Continuous
10 0
20 0
40 1
50 10
51 370.25
0 POINT
8 0
6 Continuous
10 7
20 8
39 1
0 POINT
8 0
6 Continuous
10 9
20 9
)"));
}

TEST_F(WriterFixture, PolylinesWithAndWithoutBulges) {
    add<mmPolyline>({{0, 0}, {10, 0}, {10, 5}});  // no bulge list: no 42
    auto closed = add<mmPolyline>({{0, 0}, {4, 0}, {4, 4}}, 3);
    closed->closed = true;
    closed->bulges = {0.0, -0.5, 1.0};
    EXPECT_EQ(entitiesOf(save()), Dxf(R"(
0 POLYLINE
8 0
6 Continuous
70 0
66  1
10 0.0
20 0.0
0 VERTEX
8 0
10 0
20 0
30 0
0 VERTEX
8 0
10 10
20 0
30 0
0 VERTEX
8 0
10 10
20 5
30 0
0 SEQEND
8 0
0 POLYLINE
8 0
62 3
6 Continuous
70 1
66  1
10 0.0
20 0.0
0 VERTEX
8 0
10 0
20 0
30 0
42 0
0 VERTEX
8 0
10 4
20 0
30 0
42 -0.5
0 VERTEX
8 0
10 4
20 4
30 0
42 1
0 SEQEND
8 0
)"));
}

// TEXT is written in the code page; MTEXT with its codes as read, in chunks of at most 250 bytes
// that do not split an escape; both carry the rotation in degrees. MTEXT and SPLINE carry
// subclass markers.
TEST_F(WriterFixture, TextsAndSplines) {
    auto text = add<mmText>({});
    text->SetInsertionPoint(1.5, 2);
    text->height = 2.5;
    text->rotation = 30;
    text->SetString("Caf\xc3\xa9 {1}", nullptr);
    auto mtext = add<mmMText>({}, 5);
    mtext->SetInsertionPoint(3, 4);
    mtext->attachment = 3;
    mtext->SetString(std::string(248, 'm') + "\\x", nullptr);
    auto spline = add<mmSpline>({{0, 0}, {1, 2}, {3, 2}, {2500000.125, 0}});
    spline->SyncControlPoints();
    spline->knots = {0, 0, 0, 0, 1, 1, 1, 1};
    EXPECT_EQ(entitiesOf(save()), Dxf(R"(
0 TEXT
8 0
6 Continuous
7 Standard
10 1.5
20 2
40 2.5
41 1
50 30
1 Caf)"
                                      "\xe9"
                                      R"( {1}
0 MTEXT
100 AcDbEntity
8 0
62 5
6 Continuous
100 AcDbMText
10 3
20 4
30 0
40 1
71 3
3 )" + std::string(248, 'm') + R"(
1 \x
7 Standard
50 0
0 SPLINE
100 AcDbEntity
8 0
6 Continuous
100 AcDbSpline
70 8
71 3
72 8
73 4
74 0
40 0
40 0
40 0
40 0
40 1
40 1
40 1
40 1
10 0
20 0
30 0
10 1
20 2
30 0
10 3
20 2
30 0
10 2500000.125
20 0
30 0
)"));
}

// A loop of one polyline is a polyline path; other loops are edge paths. A clockwise arc gives
// its angles as 360 minus those of the counter-clockwise arc. Point 0 is added back.
TEST_F(WriterFixture, HatchWithOnePathPerLoop) {
    auto hatch = std::make_shared<mmHatch>();
    const int square = hatch->AddLoop();
    auto outline = std::make_shared<mmPolyline>();
    for (const mmVertex& p : {mmVertex(0, 0), mmVertex(10, 0), mmVertex(10, 10), mmVertex(0, 10)})
        outline->AddPoint(p.x, p.y);
    outline->closed = true;
    outline->bulges = {0, 0, 0.5, 0};
    hatch->AddBoundary(outline, square);
    const int hole = hatch->AddLoop();
    auto top = std::make_shared<mmArc>();
    top->AddPoint(5, 5);
    top->radius = 2;
    top->startAngle = 0;
    top->endAngle = 180;
    auto bottom = std::make_shared<mmArc>();
    bottom->AddPoint(5, 5);
    bottom->radius = 2;
    bottom->startAngle = 180;
    bottom->endAngle = 360;
    bottom->direction = 0;  // followed clockwise
    auto line = std::make_shared<mmLine>();
    line->AddPoint(3, 5);
    line->AddPoint(7, 5);
    hatch->AddBoundary(top, hole);
    hatch->AddBoundary(bottom, hole);
    hatch->AddBoundary(line, hole);
    hatch->AddBoundary(std::make_shared<mmPointObj>(), hole);  // no edge
    hatch->AddLoop();                                          // empty: no path
    for (const auto& loop : hatch->loops)
        for (const mmObjectPtr& e : *loop) {
            e->UpdateGrips();
            e->UpdateExtents();
        }
    hatch->RebuildFill();
    hatch->layerId = 0;
    hatch->id = d.nextEntityId++;
    AddEntity(d, hatch);

    EXPECT_EQ(entitiesOf(save()), Dxf(R"(
0 HATCH
100 AcDbEntity
8 0
6 Continuous
100 AcDbHatch
10 0
20 0
30 0
210 0
220 0
230 1
2 SOLID
70 1
71 0
91 2
92 3
72 1
73 1
93 4
10 0
20 0
42 0
10 10
20 0
42 0
10 10
20 10
42 0.5
10 0
20 10
42 0
97 0
92 1
93 3
72 2
10 5
20 5
40 2
50 0
51 180
73 1
72 2
10 5
20 5
40 2
50 0
51 180
73 0
72 1
10 3
20 5
11 7
21 5
97 0
75 0
76 1
98 0
)"));
}

// A reference names its block; a dimension its block and style, with its colour, the flag of an
// x ordinate and, for rotated dimensions only, 50: 0 when horizontal, 90 when vertical.
TEST_F(WriterFixture, ReferencesAndDimensions) {
    auto block = CreateBlock(d.nextBlockId++, 0, 0, 0, u"Baum");
    AddBlock(d, block);
    auto ref = std::make_shared<mmBlockRef>();
    ref->AddPoint(10, 20);
    ASSERT_TRUE(ref->InstantiateBlock(u"Baum", d.blocks, nullptr));
    ref->SetScale(2, -1, false);
    ref->SetRotation(45, false);
    ref->colorIndex = 0;
    ref->id = d.nextEntityId++;
    AddEntity(d, ref);
    auto dim = [&](int16_t type, std::array<mmVertex, 7> p, int16_t axis = 0) {
        auto dimension = NewDimension(d, type, d.nextEntityId++, p, nullptr, axis);
        AddEntity(d, dimension);
        return dimension;
    };
    dim(kDimRotated, {mmVertex(0, 0), mmVertex(10, 0), mmVertex(10, 5)})->colorIndex = 1;
    dim(kDimRotated, {mmVertex(0, 0), mmVertex(0, 10), mmVertex(5, 10)});
    dim(kDimAligned, {mmVertex(0, 0), mmVertex(3, 4), mmVertex(4, 5)});
    dim(kDimOrdinate, {mmVertex(30, 20), mmVertex(35, 25), mmVertex(0, 0)}, 1);
    // A radius writes its point on the circle as 15 (and no extension line origins).
    dim(kDimRadius, {mmVertex(6, 2), mmVertex(), mmVertex(1, 2), {}, {}, {}, mmVertex(3, 2)});
    EXPECT_EQ(entitiesOf(save()), Dxf(R"(
0 INSERT
8 0
62 0
6 Continuous
2 Baum
10 10
20 20
41 2
42 -1
50 45
0 DIMENSION
8 0
62 1
2 *D1
3 Standard
10 10
20 5
30 0
11 5
21 6.875
31 0
70 0
13 0
23 0
33 0
14 10
24 0
34 0
50 0
0 DIMENSION
8 0
2 *D2
3 Standard
10 5
20 10
30 0
11 3.125
21 5
31 0
70 0
13 0
23 0
33 0
14 0
24 10
34 0
50 90
0 DIMENSION
8 0
2 *D3
3 Standard
10 4
20 5
30 0
11 1.1741748079657555
21 4.3258251920342445
31 0
70 1
13 0
23 0
33 0
14 3
24 4
34 0
0 DIMENSION
8 0
2 *D4
3 Standard
10 0
20 0
30 0
11 0
21 0
31 0
70 70
13 30
23 20
33 0
14 35
24 25
34 0
0 DIMENSION
8 0
2 *D5
3 Standard
10 1
20 2
30 0
11 3
21 3.875
31 0
70 4
15 6
25 2
35 0
)"));
}

TEST_F(WriterFixture, LineEndsInsideAValueAreWrittenAsBlanks) {
    auto text = add<mmText>({});
    text->SetString("two\r\nlines", nullptr);
    d.layers[0].name = u"a\nb";
    const std::string entities = entitiesOf(save());
    EXPECT_NE(entities.find(Dxf("8 a b\n")), std::string::npos) << entities;
    EXPECT_NE(entities.find(Dxf("1 two  lines\n")), std::string::npos) << entities;
}

TEST_F(WriterFixture, LayersInIdOrderAndMissingLayerGivesEmptyName) {
    mmLayer walls = mmLayer::WithDefaults(d.nextLayerId++, u"W\u00e4nde");
    walls.colorIndex = 1;
    d.layers[walls.id] = walls;
    mmLayer odd = mmLayer::WithDefaults(d.nextLayerId++, u"Odd");
    odd.colorIndex = -3;  // written as stored
    d.layers[odd.id] = odd;
    add<mmLine>({{0, 0}, {1, 0}})->layerId = 1;
    add<mmLine>({{0, 0}, {1, 0}})->layerId = 42;

    const std::string file = save();
    EXPECT_NE(file.find(Dxf("0 LAYER\n2 0\n70 0\n62 7\n6 Continuous\n"
                            "0 LAYER\n2 W\xe4nde\n70 0\n62 1\n6 Continuous\n"
                            "0 LAYER\n2 Odd\n70 0\n62 -3\n6 Continuous\n0 ENDTAB\n")),
              std::string::npos);
    EXPECT_EQ(entitiesOf(file), Dxf("0 LINE\n8 W\xe4nde\n6 Continuous\n10 0\n20 0\n"
                                    "11 1\n21 0\n"
                                    "0 LINE\n8 \n6 Continuous\n10 0\n20 0\n"
                                    "11 1\n21 0\n"));
}

TEST_F(WriterFixture, BlockBasedAtFiveFiveIsWrittenAtTheOriginWithErasedEntities) {
    auto block = std::make_shared<mmBlock>();
    block->id = d.nextBlockId++;
    block->name = u"Door";
    block->baseX = 5;
    block->baseY = 5;
    block->flags = 1;
    auto line = std::make_shared<mmLine>();
    line->AddPoint(0, 0);
    line->AddPoint(1, 0);
    line->erased = true;
    line->colorIndex = 3;
    block->entities.push_back(line);
    AddBlock(d, block);

    const std::string file = save();
    EXPECT_NE(file.find(Dxf(R"(
0 SECTION
2 BLOCKS
0 BLOCK
8 0
2 Door
70 1
10 0
20 0
3 Door
0 LINE
8 0
62 3
6 Continuous
10 0
20 0
11 1
21 0
0 ENDBLK
0 ENDSEC
)")),
              std::string::npos)
        << file;
}

TEST_F(WriterFixture, PaperSpaceOfTheActiveLayoutOnlyFollowsModelSpace) {
    add<mmPointObj>({{1, 1}})->lineWidth = 0;
    mmSpace paper;
    auto p = std::make_shared<mmPointObj>();
    p->AddPoint(2, 2);
    p->lineWidth = 0;
    p->colorIndex = 5;
    p->id = paper.nextEntityId++;
    AddEntity(paper, p);

    const std::string model = Dxf("0 POINT\n8 0\n6 Continuous\n10 1\n20 1\n");
    EXPECT_EQ(entitiesOf(save()), model);
    DxfSpaceLayout layout(paper);
    EXPECT_EQ(entitiesOf(save(&layout)),
              model + Dxf("0 POINT\n8 0\n67 1\n62 5\n6 Continuous\n10 2\n20 2\n"));
}

// Characters outside the code page are written as \U+XXXX escapes; only a name that is not
// well-formed UTF-16 fails the save, which keeps the previous file.
TEST_F(WriterFixture, CharactersOutsideTheCodePageAreEscapedAndMalformedNamesFail) {
    d.layers[0].name = u"\u0141\u00f3d\u017a";
    auto block = std::make_shared<mmBlock>();
    block->id = 0;
    block->name = u"\u4e2d\U0001F600";
    AddBlock(d, block);
    auto text = add<mmText>({});
    text->SetString(
        "\xc5\x81\xc3\xb3"
        "d\xc5\xba 25\xe2\x82\xac",
        nullptr);
    const std::string file = save();
    EXPECT_NE(file.find(Dxf("2 \\U+0141\xf3"
                            "d\\U+017A\n")),
              std::string::npos);
    EXPECT_NE(file.find(Dxf("2 \\U+4E2D\\U+D83D\\U+DE00\n")), std::string::npos);
    EXPECT_NE(file.find(Dxf("1 \\U+0141\xf3"
                            "d\\U+017A 25\x80\n")),
              std::string::npos)
        << file;

    const std::string path = dir.file("kept.dxf");
    WriteWholeFile(path, "previous contents");
    const std::size_t files = dir.fileCount();
    mmDrawing drawing;
    FillNewDrawing(drawing);
    drawing.layers[0].name = std::u16string(1, char16_t(0xDC00));
    EXPECT_FALSE(saveDrawingAsDxf(drawing, nullptr, path));
    EXPECT_EQ(ReadWholeFile(path), "previous contents");
    EXPECT_EQ(dir.fileCount(), files) << "no temporary file is left behind";
}

TEST_F(WriterFixture, FileThatCannotBeCreatedFails) {
    EXPECT_FALSE(saveDrawingAsDxf(d, nullptr, dir.file("missing/out.dxf")));
    EXPECT_FALSE(saveDrawingAsDxf(d, nullptr, dir.path));  // a folder
    EXPECT_EQ(dir.fileCount(), 0u);
}

TEST_F(WriterFixture, FullDiskFailsAndKeepsThePreviousFile) {
    const std::string path = dir.file("kept.dxf");
    WriteWholeFile(path, "previous contents");
    for (int i = 0; i < 20000; ++i)
        add<mmLine>({{i * 1.0, 0}, {i * 1.0, 1}});

    // A file size limit makes writes fail as a full disk does.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = saveDrawingAsDxf(d, nullptr, path);
    ::setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadWholeFile(path), "previous contents");
    EXPECT_EQ(dir.fileCount(), 1u);
}

TEST_F(WriterFixture, SaveReplacesAnExistingFileAndKeepsItsMode) {
    const std::string path = dir.file("plan.dxf");
    WriteWholeFile(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    ASSERT_TRUE(saveDrawingAsDxf(d, nullptr, path));
    EXPECT_EQ(ReadWholeFile(path).substr(0, 9), "0\r\nSECTIO");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(dir.fileCount(), 1u);
}

TEST_F(WriterFixture, SaveThroughASymbolicLinkWritesItsTarget) {
    const std::string real = dir.file("real.dxf");
    const std::string link = dir.file("link.dxf");
    WriteWholeFile(real, "old");
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(saveDrawingAsDxf(d, nullptr, link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(ReadWholeFile(real), "old");
}

TEST(DxfWriter, PrimitivesInTheWrongStateWriteNothing) {
    TempDir dir;
    const std::string path = dir.file("p.dxf");
    DxfWriter w;
    ASSERT_TRUE(w.create(path));
    EXPECT_FALSE(w.beginTable(DxfWriter::Table::Layer));  // outside TABLES
    EXPECT_FALSE(w.endSection());
    EXPECT_FALSE(w.beginEntity("LINE"));
    EXPECT_FALSE(w.writeBlockHeader(u"0", u"B", 0));
    ASSERT_TRUE(w.beginSection(DxfWriter::Section::Tables));
    EXPECT_FALSE(w.beginSection(DxfWriter::Section::Blocks));  // one open at a time
    EXPECT_FALSE(w.writeLayerEntry(u"0", 7));                  // no LAYER table open
    ASSERT_TRUE(w.beginTable(DxfWriter::Table::Layer));
    EXPECT_FALSE(w.beginTable(DxfWriter::Table::DimStyle));
    EXPECT_FALSE(w.endSection());  // a table is open
    ASSERT_TRUE(w.endTable());
    EXPECT_FALSE(w.beginTable(DxfWriter::Table::Layer));  // each table once
    ASSERT_TRUE(w.endSection());
    EXPECT_FALSE(w.beginSection(DxfWriter::Section::Header));  // sections keep their order
    EXPECT_FALSE(w.beginSection(DxfWriter::Section::Tables));
    ASSERT_TRUE(w.beginSection(DxfWriter::Section::Blocks));
    EXPECT_FALSE(w.beginEntity("LINE"));  // no block open
    EXPECT_FALSE(w.endBlock());
    ASSERT_TRUE(w.writeBlockHeader(u"0", u"B", 0));
    EXPECT_FALSE(w.writeBlockHeader(u"0", u"C", 0));
    EXPECT_FALSE(w.endSection());
    EXPECT_FALSE(w.closeDxfFile());  // a section is open
    ASSERT_TRUE(w.endBlock());
    ASSERT_TRUE(w.endSection());
    ASSERT_TRUE(w.closeDxfFile());
    EXPECT_FALSE(w.writeGroupInt(70, 1));  // closed

    EXPECT_EQ(ReadWholeFile(path), Dxf(R"(
0 SECTION
2 TABLES
0 TABLE
2 LAYER
0 ENDTAB
0 ENDSEC
0 SECTION
2 BLOCKS
0 BLOCK
8 0
2 B
70 0
10 0
20 0
3 B
0 ENDBLK
0 ENDSEC
0 EOF
)"));
}

TEST(DxfWriter, WriterThatIsNotClosedLeavesNoFile) {
    TempDir dir;
    {
        DxfWriter w;
        ASSERT_TRUE(w.create(dir.file("never.dxf")));
        w.beginSection(DxfWriter::Section::Header);
    }
    EXPECT_EQ(dir.fileCount(), 0u);
}
