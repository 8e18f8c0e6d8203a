// The document's save while a command is building an entity.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/CommandTestSupport.h"
#include "drawing/Drawing.h"
#include "entities/Circle.h"
#include "fileio/dxf/DxfLoad.h"
#include "shell/KestrelDoc.h"

namespace {

class DocumentSave : public CommandTest {
protected:
    CKestrelDoc document{session};
    const std::string path =
        (std::filesystem::path(KESTREL_TEST_OUTPUT_DIR) / "save-during-command.dxf").string();

    void SetUp() override { std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR); }

    // The types of the entities the saved file holds.
    std::vector<int32_t> savedTypes() {
        mmDrawing read;
        FillNewDrawing(read);
        EXPECT_TRUE(loadDrawingFromDxf(read, nullptr, path, nullptr));
        std::vector<int32_t> types;
        for (const mmObjectPtr& e : read.entities) types.push_back(e->type);
        return types;
    }
};

}  // namespace

// A save during CIRCLE wrote a circle of radius 0, during TEXT an empty text.
TEST_F(DocumentSave, RegressionEntityUnderConstructionIsLeftOut) {
    type(u"line");
    type(u"0,0");
    type(u"10,0");
    type(u"circle");
    type(u"5,5");
    ASSERT_TRUE(document.Save(path));
    EXPECT_EQ(savedTypes(), std::vector<int32_t>{kTypeLine});
    EXPECT_TRUE(session.modified);  // the circle is still to be saved
    type(u"2");                     // the command goes on
    EXPECT_EQ(entity<mmCircle>(1).radius, 2);
    EXPECT_FALSE(entity<mmCircle>(1).erased);

    type(u"text");
    ASSERT_TRUE(document.Save(path));
    EXPECT_EQ(savedTypes(), (std::vector<int32_t>{kTypeLine, kTypeCircle}));
    type(u"");
    ASSERT_TRUE(document.Save(path));
    EXPECT_FALSE(session.modified);
}
