// The start-up drawing: the three welcome texts typed through the interpreter.
#include <gtest/gtest.h>

#include "commands/CommandTestSupport.h"
#include "commands/StartupDrawing.h"
#include "entities/Text.h"

using StartupDrawing = CommandTest;

TEST_F(StartupDrawing, WelcomeTextsAreTypedAsTextCommands) {
    if (!session.glyphTable || !session.glyphTable->Usable()) GTEST_SKIP() << "no outline font";
    PrepareStartupView(session, 1000, 700);
    TypeWelcomeTexts(session);
    ASSERT_EQ(liveCount(), 3u);
    const struct {
        std::string text;
        double x, y, height;
    } expected[] = {{"Kestrel", 3, 6, 10},
                    {"Release 1.2 (now with *.DWG read support)", 3, 3, 1},
                    {"News about Kestrel: see the release notes where you got this copy.", 3, 1, 1}};
    for (std::size_t i = 0; i < 3; ++i) {
        const mmText& t = entity<mmText>(i);
        EXPECT_EQ(t.String(), expected[i].text);
        EXPECT_EQ(t.points[0].x, expected[i].x);
        EXPECT_EQ(t.points[0].y, expected[i].y);
        EXPECT_EQ(t.height, expected[i].height);
        EXPECT_EQ(t.rotation, 0.0);
    }
    EXPECT_EQ(history().find("Unknown"), std::string::npos);
    EXPECT_EQ(view().commandId, 0);
    EXPECT_FALSE(session.modified);
    EXPECT_EQ(session.modelView.glyphs, session.glyphTable);
}
