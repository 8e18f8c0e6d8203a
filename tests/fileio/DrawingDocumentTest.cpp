// The document's open and save: dispatch by extension, the DWG save redirect and the messages.
#include <gtest/gtest.h>

#include "drawing/Drawing.h"
#include "entities/Line.h"
#include "fileio/DrawingDocument.h"
#include "fileio/DxfTestSupport.h"
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

    for (const std::string& path : {dir.file("plan.DWG"), dir.file("missing.dxf")}) {
        WriteWholeFile(dir.file("plan.DWG"), "AC1015");
        host.clearRecords();
        EXPECT_FALSE(OpenDrawing(d, path, host, nullptr, nullptr));
        EXPECT_EQ(host.messages(), (std::vector<RecordedMessage>{
                                       {"Error reading drawing file!", MessageKind::Error, ""}}));
        EXPECT_TRUE(d.entities.empty()) << "the drawing was reset";
        ASSERT_EQ(d.layers.size(), 1u);
        EXPECT_EQ(d.layers.at(0).name, u"0");
        EXPECT_EQ(d.dimStyles.at(0).name, u"Standard");
    }
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

TEST(DrawingDocument, FailedSaveSaysSoAndCountsWhatWasLeftOut) {
    TempDir dir;
    mmDrawing d;
    NewDrawing(d);
    auto unknown = std::make_shared<mmObject>();  // a type without a DXF form
    unknown->id = d.nextEntityId++;
    AddEntity(d, unknown);
    RecordingHost host;
    const SaveOutcome ok = SaveDrawing(d, dir.file("a.dxf"), host, nullptr);
    EXPECT_TRUE(ok.written);
    EXPECT_EQ(ok.leftOut, (std::map<int32_t, int64_t>{{kTypeObject, 1}}));

    d.layers[0] = mmLayer::WithDefaults(0, u"\u0141");
    const SaveOutcome failed = SaveDrawing(d, dir.file("a.dxf"), host, nullptr);
    EXPECT_FALSE(failed.written);
    EXPECT_EQ(host.messages(),
              (std::vector<RecordedMessage>{{"Error saving DXF file!", MessageKind::Error, ""}}));
}
