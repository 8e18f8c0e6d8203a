// Dimension styles: the table's lookups, adding, removing and current style, and the dialog
// rules (set current, new, modify, delete, apply to all) acting on the drawing's dimensions.
#include <gtest/gtest.h>

#include "drawing/DimStyleRules.h"
#include "drawing/DimStyleTable.h"
#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "platform/RecordingHost.h"

namespace {

struct DimStyleFixture : ::testing::Test {
    mmDrawing d;
    mmSpace paper;  // the active layout's paper space

    void SetUp() override { FillNewDrawing(d); }

    std::shared_ptr<mmDimension> addDimension(mmSpace& space, int32_t styleId) {
        d.currentDimStyleId = styleId;
        auto dim = NewDimension(d, kDimRotated, space.nextEntityId++, {{{0, 0}, {10, 0}, {10, 5}}}, nullptr);
        AddEntity(space, dim);
        return dim;
    }
};

}  // namespace

TEST_F(DimStyleFixture, LookupsByIdAndByName) {
    const DimStyle* standard = FindDimStyle(d, 0);
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(standard->name, u"Standard");
    EXPECT_EQ(standard->arrowSize, 2.5);
    EXPECT_EQ(standard->textColor, 256);

    const DimStyle missing = DimStyleById(d, 5);
    EXPECT_EQ(missing.id, -1);
    EXPECT_TRUE(missing.name.empty());
    EXPECT_EQ(missing.textHeight, 0.0);

    EXPECT_EQ(FindDimStyleByName(d, u"STANDARD", mmNameMatch::IgnoreCase), standard);
    EXPECT_EQ(FindDimStyleByName(d, u"STANDARD", mmNameMatch::Exact), nullptr);
    EXPECT_EQ(FindDimStyleByName(d, u"Standard", mmNameMatch::Exact), standard);
    d.dimStyles[0].id = -1;  // a style whose id is -1 never matches
    EXPECT_EQ(FindDimStyleByName(d, u"Standard", mmNameMatch::Exact), nullptr);
}

TEST_F(DimStyleFixture, AddRemoveAndCurrent) {
    DimStyle s;
    s.name = u"Survey";
    EXPECT_EQ(AddDimStyle(d, s), 1);
    EXPECT_EQ(AddDimStyle(d, s), 2);
    EXPECT_EQ(d.nextDimStyleId, 3);
    EXPECT_EQ(d.currentDimStyleId, 0);
    EXPECT_TRUE(SetCurrentDimStyle(d, 2));
    EXPECT_FALSE(SetCurrentDimStyle(d, 9));
    EXPECT_EQ(CurrentDimStyle(d)->id, 2);
    // Removing the current style makes "Standard" current again; ids are not reused.
    EXPECT_TRUE(RemoveDimStyle(d, 2));
    EXPECT_FALSE(RemoveDimStyle(d, 2));
    EXPECT_EQ(d.currentDimStyleId, 0);
    EXPECT_EQ(AddDimStyle(d, s), 3);

    mmDrawing empty;
    EXPECT_EQ(AddDimStyle(empty, s), 0);  // the first style becomes current
    EXPECT_EQ(empty.currentDimStyleId, 0);
}

TEST_F(DimStyleFixture, NewCopiesTheSixValuesOfTheBase) {
    d.dimStyles[0].textColor = 3;
    d.dimStyles[0].dimLineColor = 5;
    d.dimStyles[0].arrowBlock1 = u"_DOT";
    const int32_t id = DimStyleNew(d, u"Plan", 0);
    ASSERT_EQ(id, 1);
    const DimStyle& s = d.dimStyles.at(id);
    EXPECT_EQ(s.id, 1);
    EXPECT_EQ(s.name, u"Plan");
    EXPECT_EQ(s.arrowSize, 2.5);
    EXPECT_EQ(s.textHeight, 2.5);
    EXPECT_EQ(s.extLineOffset, 0.625);
    EXPECT_EQ(s.extLineExtension, 1.25);
    EXPECT_EQ(s.textGap, 0.625);
    EXPECT_EQ(s.arrowKind, 0);
    // The rest is not copied: it takes the values of a fresh "Standard".
    EXPECT_EQ(s.textColor, 256);
    EXPECT_EQ(s.dimLineColor, 0);
    EXPECT_TRUE(s.arrowBlock1.empty());
    EXPECT_EQ(s.textPlacement, 0);
    // Names are not checked, only cut to 49 characters; a missing base makes nothing.
    EXPECT_EQ(DimStyleNew(d, u"Plan", 0), 2);
    EXPECT_EQ(DimStyleNew(d, std::u16string(60, u'x'), 0), 3);
    EXPECT_EQ(d.dimStyles.at(3).name.size(), 49u);
    EXPECT_EQ(DimStyleNew(d, u"None", 77), -1);
    EXPECT_EQ(d.nextDimStyleId, 4);

    EXPECT_TRUE(DimStyleSetCurrent(d, 2));
    EXPECT_EQ(d.currentDimStyleId, 2);
    EXPECT_FALSE(DimStyleSetCurrent(d, 77));
    EXPECT_EQ(d.currentDimStyleId, 2);
}

TEST_F(DimStyleFixture, ModifyPushesIntoDimensionsOfTheStyleInBothSpaces) {
    const int32_t other = DimStyleNew(d, u"Other", 0);
    d.activePaperSpace = &paper;
    auto model = addDimension(d, 0);
    auto layout = addDimension(paper, 0);
    auto erased = addDimension(d, 0);
    erased->erased = true;
    auto otherStyle = addDimension(d, other);

    mmDimStyleModifyFields fields = DimStyleModifyFields(d.dimStyles.at(0));
    EXPECT_EQ(fields.title, u"Modify Dimension Style: Standard");
    EXPECT_EQ(fields.textHeight, u"2.5000");
    EXPECT_EQ(fields.extLineOffset, u"0.6250");
    EXPECT_EQ(fields.arrowSize, u"2.5000");
    fields.textHeight = u"5";
    fields.arrowSize = u"abc";  // letters store 0
    fields.textGap = u" 1,5";   // the number the text starts with
    fields.arrowKind = 1;
    ASSERT_TRUE(DimStyleModify(d, 0, fields, nullptr));
    const DimStyle& s = d.dimStyles.at(0);
    EXPECT_EQ(s.textHeight, 5.0);
    EXPECT_EQ(s.arrowSize, 0.0);
    EXPECT_EQ(s.textGap, 1.0);
    EXPECT_EQ(s.arrowKind, 1);
    for (const auto& dim : {model, layout, erased}) {
        EXPECT_EQ(dim->textHeight, 5.0);
        EXPECT_EQ(dim->label.height, 5.0);
        EXPECT_EQ(dim->arrowKind, 1);
        EXPECT_NEAR(dim->defPoints[6].y, 5 + 1 + 2.5, 1e-9);  // rebuilt with gap 1 and height 5
    }
    EXPECT_EQ(otherStyle->textHeight, 2.5);
    EXPECT_EQ(otherStyle->label.height, 2.5);
    EXPECT_FALSE(DimStyleModify(d, 77, fields, nullptr));
}

TEST(DimStyleNumbers, ParsedAsTheCLibraryReadsThem) {
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {{u"2.5", 2.5}, {u"  -3", -3}, {u"+4e1", 40}, {u"7abc", 7}, {u".5", 0.5},
                 {u"abc", 0}, {u"", 0}, {u"inf", 0}, {u"nan", 0}, {u"1e999", 0}};
    for (const auto& c : cases) EXPECT_EQ(ParseDimStyleNumber(c.text), c.value);
}

TEST_F(DimStyleFixture, DeleteRefusesStandardAndStylesInUse) {
    const int32_t used = DimStyleNew(d, u"Used", 0);
    const int32_t inLayout = DimStyleNew(d, u"Layout", 0);
    const int32_t erasedOnly = DimStyleNew(d, u"Erased", 0);
    d.activePaperSpace = &paper;
    addDimension(d, used);
    addDimension(paper, inLayout);
    addDimension(d, erasedOnly)->erased = true;
    d.currentDimStyleId = 0;

    EXPECT_EQ(DimStyleDelete(d, 0), kCannotDeleteStandardDimStyle);
    EXPECT_EQ(DimStyleDelete(d, used), kCannotDeleteUsedDimStyle);
    EXPECT_EQ(DimStyleDelete(d, inLayout), kCannotDeleteUsedDimStyle);
    EXPECT_EQ(d.dimStyles.size(), 4u);
    EXPECT_EQ(DimStyleDelete(d, erasedOnly), "");
    EXPECT_FALSE(d.dimStyles.count(erasedOnly));
    EXPECT_EQ(DimStyleDelete(d, 99), "");

    kestrel::platform::RecordingHost host;
    EXPECT_FALSE(DimStyleDelete(d, 0, host));
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, "Cannot delete 'Standard' dim style!");
    EXPECT_FALSE(DimStyleDelete(d, 99, host));
    d.activePaperSpace = nullptr;  // the layout's dimensions count only while it is active
    EXPECT_TRUE(DimStyleDelete(d, inLayout, host));
    EXPECT_EQ(host.messages().size(), 1u);
}

TEST_F(DimStyleFixture, ApplyToAllRestylesEveryLiveDimension) {
    const int32_t big = DimStyleNew(d, u"Big", 0);
    d.dimStyles.at(big).textHeight = 10;
    d.activePaperSpace = &paper;
    auto a = addDimension(d, 0);
    auto b = addDimension(paper, 0);
    auto erased = addDimension(d, 0);
    erased->erased = true;
    ASSERT_TRUE(DimStyleApplyToAll(d, big, nullptr));
    for (const auto& dim : {a, b}) {
        EXPECT_EQ(dim->dimStyleId, big);
        EXPECT_EQ(dim->textHeight, 10);
        EXPECT_EQ(dim->label.height, 10);
    }
    EXPECT_EQ(erased->dimStyleId, 0);
    EXPECT_EQ(erased->textHeight, 2.5);
    EXPECT_FALSE(DimStyleApplyToAll(d, 77, nullptr));
}
