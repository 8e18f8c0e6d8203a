// The document's open and save: dispatch by extension, the DWG save redirect and the messages.
#include <gtest/gtest.h>

#include "drawing/Drawing.h"
#include "entities/Line.h"
#include "fileio/DrawingDocument.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfEntityLoader.h"
#include "platform/RecordingHost.h"

using kestrel::platform::MessageKind;
using kestrel::platform::RecordedMessage;
using kestrel::platform::RecordingHost;

TEST(DrawingDocument, ExtensionsChooseTheReader) {
    for (const char* dwg : {"a.dwg", "/x/plan.DWG", "p.Dwg", "/dir.v2/.dwg"})
        EXPECT_TRUE(HasDwgExtension(dwg)) << dwg;
    for (const char* dxf : {"a.dwgx", "a.dxf", "dwg", "/x.dwg/plan", "a.dwg.dxf"})
        EXPECT_FALSE(HasDwgExtension(dxf)) << dxf;
    EXPECT_EQ(DxfPathFor("/home/me/site.v2/plan.DWG"), "/home/me/site.v2/plan.dxf");
}

TEST(DrawingDocument, OpenReadsDxfAndReportsWhatCannotBeRead) {
    TempDir dir;
    // DXF content under a name that is not ".dwg" is read as DXF.
    WriteWholeFile(dir.file("plan.dwgx"), Dxf("0 SECTION\n2 ENTITIES\n0 LINE\n11 1\n0 ENDSEC\n"));
    mmDrawing d;
    RecordingHost host;
    EXPECT_TRUE(OpenDrawing(d, dir.file("plan.dwgx"), host, nullptr, nullptr));
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(d.entities.size(), 1u);

    // A DWG that cannot be read leaves the drawing as it was; the message box says why, the
    // history that the drawing was not read.
    WriteWholeFile(dir.file("plan.DWG"), "AC10");
    EXPECT_FALSE(OpenDrawing(d, dir.file("plan.DWG"), host, nullptr, nullptr));
    EXPECT_EQ(host.messages(),
              (std::vector<RecordedMessage>{{"Error reading DWG file!", MessageKind::Error, ""}}));
    EXPECT_EQ(host.historyMessages(), std::vector<std::string>{"Error reading drawing file!"});
    EXPECT_EQ(d.entities.size(), 1u);

    host.clearRecords();
    EXPECT_FALSE(OpenDrawing(d, dir.file("missing.dxf"), host, nullptr, nullptr));
    EXPECT_EQ(
        host.messages(),
        (std::vector<RecordedMessage>{{"Error reading drawing file!", MessageKind::Error, ""}}));
    EXPECT_TRUE(d.entities.empty()) << "the drawing was reset";
    ASSERT_EQ(d.layers.size(), 1u);
    EXPECT_EQ(d.layers.at(0).name, u"0");
    EXPECT_EQ(d.dimStyles.at(0).name, u"Standard");
}

// References beyond the copy limits were dropped without a word: they are kept, and one history
// line after the open says how many could not be expanded. Here references nest 40 deep.
TEST(DrawingDocument, RegressionUnexpandedReferencesAreToldAfterTheOpen) {
    TempDir dir;
    std::string file = "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 N0\n0 LINE\n11 1\n0 ENDBLK\n";
    for (int i = 1; i <= 40; ++i)
        file += "0 BLOCK\n2 N" + std::to_string(i) + "\n0 INSERT\n2 N" + std::to_string(i - 1) +
                "\n0 ENDBLK\n";
    file += "0 ENDSEC\n0 SECTION\n2 ENTITIES\n0 INSERT\n2 N40\n0 INSERT\n2 N1\n0 ENDSEC\n";
    WriteWholeFile(dir.file("deep.dxf"), Dxf(file));
    mmDrawing d;
    RecordingHost host;
    EXPECT_TRUE(OpenDrawing(d, dir.file("deep.dxf"), host, nullptr, nullptr));
    EXPECT_EQ(d.entities.size(), 2u);
    EXPECT_EQ(host.historyMessages(),
              std::vector<std::string>{
                  "1 block reference is kept without its contents: expanding it would copy more "
                  "than 4194304 block entities or nest references more than 32 deep."});
    EXPECT_EQ(UnexpandedReferencesMessage(3),
              "3 block references are kept without their contents: expanding them would copy "
              "more than 4194304 block entities or nest references more than 32 deep.");
}

TEST(DrawingDocument, OpenTellsOfAnUnknownCodePageAndCutTexts) {
    TempDir dir;
    WriteWholeFile(dir.file("p.dxf"), Dxf("0 SECTION\n2 HEADER\n9 $DWGCODEPAGE\n3 ANSI_4711\n"
                                          "0 ENDSEC\n0 SECTION\n2 ENTITIES\n0 ENDSEC\n"));
    mmDrawing d;
    RecordingHost host;
    EXPECT_TRUE(OpenDrawing(d, dir.file("p.dxf"), host, nullptr, nullptr));
    EXPECT_EQ(host.historyMessages(),
              (std::vector<std::string>{"The drawing's code page ANSI_4711 is not known: its texts "
                                        "were read as Windows-1252 (ANSI_1252)."}));
    DxfLoadReport cut;
    cut.textsCut = 2;
    EXPECT_EQ(TextReadMessages(cut),
              (std::vector<std::string>{"2 multi-line texts were longer than 1 MB and were cut."}));
}

TEST(DrawingDocument, SavingToDwgWritesNothingAndMovesToTheDxfName) {
    TempDir dir;
    mmDrawing d;
    NewDrawing(d);
    RecordingHost host;
    const SaveOutcome redirected = SaveDrawing(d, dir.file("plan.Dwg"), host, nullptr);
    EXPECT_FALSE(redirected.written);
    EXPECT_EQ(redirected.documentPath, dir.file("plan.dxf"));
    EXPECT_EQ(dir.fileCount(), 0u);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text,
              "Saving to *.DWG is not yet supported. File will be "
              "renamed to " +
                  dir.file("plan.dxf") + "\nPlease save again.");

    host.clearRecords();
    const SaveOutcome saved = SaveDrawing(d, redirected.documentPath, host, nullptr);
    EXPECT_TRUE(saved.written);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(dir.fileCount(), 1u);
}

TEST(DrawingDocument, SavesDxf2000UnlessR12IsAsked) {
    TempDir dir;
    mmDrawing d;
    NewDrawing(d);
    RecordingHost host;
    ASSERT_TRUE(SaveDrawing(d, dir.file("a.dxf"), host, nullptr).written);
    EXPECT_NE(ReadWholeFile(dir.file("a.dxf")).find("$ACADVER\r\n1\r\nAC1015\r\n"),
              std::string::npos);
    ASSERT_TRUE(SaveDrawing(d, dir.file("b.dxf"), host, nullptr, DxfVersion::R12).written);
    EXPECT_EQ(ReadWholeFile(dir.file("b.dxf")).find("$ACADVER"), std::string::npos);
}

// Raster images have no form in a DXF file: the save leaves them out and the command history
// says so. A failed save says only that it failed.
TEST(DrawingDocument, SaveTellsWhatWasLeftOutAndWhenItFailed) {
    TempDir dir;
    mmDrawing d;
    NewDrawing(d);
    RecordingHost host;
    EXPECT_TRUE(SaveDrawing(d, dir.file("a.dxf"), host, nullptr).written);
    EXPECT_TRUE(host.historyMessages().empty()) << "nothing left out, nothing said";

    for (int32_t type : {kTypeRasterImage, kTypeRasterImage, kTypeObject}) {
        auto e = std::make_shared<mmObject>();  // stands in for types without a DXF form
        e->type = type;
        e->id = d.nextEntityId++;
        AddEntity(d, e);
    }
    const SaveOutcome ok = SaveDrawing(d, dir.file("a.dxf"), host, nullptr);
    EXPECT_TRUE(ok.written);
    EXPECT_EQ(ok.leftOut, (std::map<int32_t, int64_t>{{kTypeObject, 1}, {kTypeRasterImage, 2}}));
    EXPECT_EQ(host.historyMessages(),
              (std::vector<std::string>{
                  "2 raster images were left out: a DXF file cannot hold raster images.",
                  "1 entity was left out: the DXF file has no form for its type."}));
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(LeftOutMessages({{kTypeRasterImage, 1}}),
              (std::vector<std::string>{
                  "1 raster image was left out: a DXF file cannot hold raster images."}));

    host.clearRecords();
    d.layers[0] = mmLayer::WithDefaults(0, std::u16string(1, char16_t(0xD800)));  // malformed
    const SaveOutcome failed = SaveDrawing(d, dir.file("a.dxf"), host, nullptr);
    EXPECT_FALSE(failed.written);
    EXPECT_EQ(host.messages(),
              (std::vector<RecordedMessage>{{"Error saving DXF file!", MessageKind::Error, ""}}));
    EXPECT_TRUE(host.historyMessages().empty());
}
