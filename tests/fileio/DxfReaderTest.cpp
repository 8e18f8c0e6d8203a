// The reading machine: lines and groups, the window, the mark, searches and the structure of
// sections, tables and blocks.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>
#include <vector>

#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfReader.h"

namespace {

using Groups = std::vector<std::pair<int32_t, std::string>>;

Groups readAll(DxfReader& r) {
    Groups out;
    while (r.readGroup())
        out.emplace_back(r.code(), std::string(r.value()));
    return out;
}

Groups readAllText(std::string_view text) {
    DxfReader r;
    r.openText(text);
    return readAll(r);
}

}  // namespace

TEST(DxfReader, LineEndsReadTheSame) {
    const Groups expected = {{0, "SECTION"}, {2, "ENTITIES"}, {10, " 1.5 "}, {0, "EOF"}};
    for (const char* text : {"0\r\nSECTION\r\n2\r\nENTITIES\r\n10\r\n 1.5 \r\n0\r\nEOF\r\n",
                             "0\nSECTION\n2\nENTITIES\n10\n 1.5 \n0\nEOF\n",
                             "0\rSECTION\r2\rENTITIES\n10\r\n 1.5 \r0\nEOF",
                             "  0\nSECTION\r\n2\nENTITIES\n10\n 1.5 \n0\nEOF"}) {
        EXPECT_EQ(readAllText(text), expected) << text;
    }
}

// 0x8D and 0x8A share their low bits with CR and LF; neither ends a line.
TEST(DxfReader, HighBytesAreNotLineEnds) {
    const std::string value = "Caf\xe9 \x8d\x8a\x8d\x8a long enough for a word \x0d\x8a";
    const std::string text = "1\r\n" + value.substr(0, value.size() - 2) + "\r\n2\nx";
    EXPECT_EQ(readAllText(text), (Groups{{1, value.substr(0, value.size() - 2)}, {2, "x"}}));
}

TEST(DxfReader, TruncatedGroupHasAnEmptyValue) {
    EXPECT_EQ(readAllText("0\nLINE\n10"), (Groups{{0, "LINE"}, {10, ""}}));
    EXPECT_EQ(readAllText(""), Groups{});
    EXPECT_EQ(readAllText("\n"), (Groups{{0, ""}}));
}

// Lines that end exactly at, or run over, the end of a window, with CR LF split between two
// windows, read as they do in the middle of a window.
TEST(DxfReader, GroupsAcrossWindowBoundaries) {
    for (std::size_t pad = DxfReader::kWindowSize - 12; pad <= DxfReader::kWindowSize + 4; ++pad) {
        const std::string filler(pad, 'x');
        const std::string text = "999\r\n" + filler + "\r\n10\r\n2.5\r\n1\r\nabc\r\n";
        DxfReader r;
        r.openText(text);
        ASSERT_TRUE(r.readGroup());
        EXPECT_EQ(r.value().size(), pad);
        ASSERT_TRUE(r.readGroup()) << pad;
        EXPECT_EQ(r.code(), 10) << pad;
        EXPECT_EQ(r.realValue(), 2.5) << pad;
        r.stepBack();  // the mark may lie in the previous window
        ASSERT_TRUE(r.readGroup());
        EXPECT_EQ(r.code(), 10) << pad;
        ASSERT_TRUE(r.readGroup());
        EXPECT_EQ(r.value(), "abc") << pad;
        EXPECT_FALSE(r.readGroup());
    }
}

TEST(DxfReader, OverlongValueIsCutAndReadingGoesOn) {
    const std::string text = "1\n" + std::string(200000, 'a') + "\n2\nname\n";
    EXPECT_EQ(readAllText(text),
              (Groups{{1, std::string(DxfReader::kMaxValueLength, 'a')}, {2, "name"}}));
}

TEST(DxfReader, FindGroupMatchesExactlyAndStopsWhereAsked) {
    const std::string text = Dxf("0 line\n0 SECTION\n2 X\n0 LINE\n8 A\n0 ENDSEC\n0 LINE\n8 B\n");
    DxfReader r;
    r.openText(text);
    ASSERT_TRUE(r.findGroup(0, "LINE"));
    ASSERT_TRUE(r.readGroup());
    EXPECT_EQ(r.value(), "A");
    EXPECT_FALSE(r.findGroup(0, "LINE", {"CIRCLE", "ENDSEC"}));
    ASSERT_TRUE(r.readGroup());  // a stop is the next group read
    EXPECT_TRUE(r.is(0, "ENDSEC"));
    ASSERT_TRUE(r.findGroup(0, "LINE"));  // does not stop at ENDSEC unless asked
    ASSERT_TRUE(r.readGroup());
    EXPECT_EQ(r.value(), "B");
    EXPECT_FALSE(r.findGroup(0, "CIRCLE"));
    EXPECT_TRUE(r.atEnd());  // a search never goes back
}

TEST(DxfReader, ReadsFilesLikeText) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += Dxf("10 " + std::to_string(i * 0.5) + "\n8 layer\n", "\r\n");
    WriteWholeFile(dir.file("a.dxf"), text);
    DxfReader r;
    ASSERT_TRUE(r.open(dir.file("a.dxf")));
    EXPECT_EQ(readAll(r), readAllText(text));
    EXPECT_FALSE(r.open(dir.file("missing.dxf")));
    EXPECT_FALSE(r.open(dir.path));
    // A named pipe blocked open() until something wrote to it.
    ASSERT_EQ(mkfifo(dir.file("pipe.dxf").c_str(), 0600), 0);
    EXPECT_FALSE(r.open(dir.file("pipe.dxf")));
}

TEST(DxfReader, SectionsTablesAndEntries) {
    const std::string text = Dxf(R"(
0 SECTION
2 HEADER
9 $ACADVER
1 AC1009
0 ENDSEC
0 SECTION
2 TABLES
0 TABLE
2 VPORT
0 VPORT
2 *ACTIVE
0 ENDTAB
0 TABLE
2 LAYER
70 2
0 LAYER
2 Walls
62 -3
370 25
0 LAYER
2 Doors
0 ENDTAB
0 TABLE
2 LTYPE
0 ENDTAB
0 TABLE
2 DIMSTYLE
0 DIMSTYLE
2 ISO
41 3.5
140 2.0
0 ENDTAB
0 ENDSEC
0 SECTION
2 CLASSES
0 ENDSEC
)");
    DxfReader r;
    r.openText(text);
    ASSERT_TRUE(r.nextSection());
    EXPECT_EQ(r.section(), DxfSection::Header);
    ASSERT_TRUE(r.nextSection());
    ASSERT_EQ(r.section(), DxfSection::Tables);
    DxfTableEntry e;
    std::vector<std::string> seen;
    while (r.section() == DxfSection::Tables && r.nextTable()) {
        const DxfTable t = r.table();
        while (r.table() != DxfTable::None && r.readTableEntry(e)) {
            seen.push_back(e.name);
            if (e.name == "Walls") {
                EXPECT_EQ(t, DxfTable::Layer);
                EXPECT_EQ(e.color, -3);
                EXPECT_EQ(e.lineWeight, 25);
            }
            if (e.name == "ISO") {
                EXPECT_EQ(t, DxfTable::DimStyle);
                EXPECT_EQ(e.arrowSize, 3.5);
                EXPECT_EQ(e.textHeight, 2.0);
            }
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Walls", "Doors", "ISO"}));
    EXPECT_EQ(r.section(), DxfSection::None) << "ENDTAB and ENDSEC after the last entry";
    ASSERT_TRUE(r.nextSection());
    EXPECT_EQ(r.section(), DxfSection::Other);
    EXPECT_FALSE(r.nextSection());
}

TEST(DxfReader, BlockHeadersEmptyAndFull) {
    const std::string text = Dxf(R"(
0 SECTION
2 BLOCKS
0 BLOCK
8 0
2 Empty
70 0
10 12.75
20 -1
3 Empty
0 ENDBLK
8 0
0 BLOCK
2 Full
3 FullLater
0 LINE
0 ENDBLK
0 ENDSEC
)");
    DxfReader r;
    r.openText(text);
    ASSERT_TRUE(r.nextSection());
    DxfBlockHeader h;
    ASSERT_TRUE(r.readBlockHeader(h));
    EXPECT_TRUE(h.empty);
    EXPECT_EQ(h.name, "Empty");
    EXPECT_EQ(h.baseX, 12.75);
    EXPECT_EQ(h.baseY, -1.0);
    EXPECT_FALSE(r.insideBlock());
    ASSERT_TRUE(r.readBlockHeader(h));
    EXPECT_FALSE(h.empty);
    EXPECT_EQ(h.name, "FullLater");
    EXPECT_TRUE(r.insideBlock());
    r.skipBlock();
    EXPECT_FALSE(r.insideBlock());
    EXPECT_EQ(r.section(), DxfSection::None);
}
