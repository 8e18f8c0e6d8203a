// Whole sequences typed into the command line, compared with the history text exactly.
#include "commands/CommandTable.h"
#include "commands/CommandTestSupport.h"
#include "entities/Line.h"

namespace {
constexpr char kFirstPoint[] = "Specify first point (pick point or type coordinates): ";
constexpr char kSecondPoint[] = "Insert or type second point: ";
}  // namespace

using Transcript = CommandTest;

TEST_F(Transcript, LineWithTwoTypedPoints) {
    type(u"line");
    type(u"1,1");
    type(u"4,5");
    EXPECT_EQ(history(), std::string("\r\n> line") + "\r\n" + kFirstPoint + "1,1" + "\r\n" +
                             kSecondPoint + "4,5");
    EXPECT_EQ(inputLine(), "> ");
    EXPECT_EQ(liveCount(), 1u);
}

TEST_F(Transcript, PicksEchoTheirCoordinates) {
    type(u"LINE");
    pick(12, 5);
    EXPECT_EQ(inputLine(), kSecondPoint);
    pick(-0.5, 3.25);
    EXPECT_EQ(history(), std::string("\r\n> LINE") + "\r\n" + kFirstPoint +
                             "12.0000,5.0000,0.0000" + "\r\n" + kSecondPoint +
                             "-0.5000,3.2500,0.0000");
    const mmLine& line = entity<mmLine>(0);
    EXPECT_EQ(line.points[0].x, 12);
    EXPECT_EQ(line.points[1].y, 3.25);
}

TEST_F(Transcript, AliasRepeatedWithSpaceStoresTheFullName) {
    type(u"re");
    session.commandLine.InputKey(mmKey::Space);
    EXPECT_EQ(history(), "\r\n> re\r\n> REGEN");
    EXPECT_EQ(utf8(session.lastCommand), "REGEN");
}

TEST_F(Transcript, UnknownNameWhileIdle) {
    type(u"foo");
    EXPECT_EQ(history(), "\r\n> foo\r\nUnknown command \"FOO\"");
    EXPECT_EQ(inputLine(), "> ");
    EXPECT_FALSE(session.modified);
}

TEST_F(Transcript, UnknownNameWhileLineWaitsIsIgnored) {
    type(u"line");
    type(u"foo");
    EXPECT_EQ(history(), std::string("\r\n> line\r\n") + kFirstPoint + "foo");
    EXPECT_EQ(inputLine(), kFirstPoint);
    EXPECT_EQ(view().commandId, cmd::kLine);
}

TEST_F(Transcript, SpaceRepeatsTheLastCommandUnlessQuoted) {
    type(u"testdim");
    typeKeys(u"a b");  // the Space submits TESTDIM and drops the a
    session.commandLine.InputKey(mmKey::Return);
    EXPECT_EQ(history(), "\r\n> testdim\r\n> aTESTDIM\r\n> b\r\nUnknown command \"B\"");

    type(u"\"a b");
    EXPECT_EQ(history(),
              "\r\n> testdim\r\n> aTESTDIM\r\n> b\r\nUnknown command \"B\""
              "\r\n> \"a b\r\nUnknown command \"A B\"");
}

TEST_F(Transcript, RelativeAndPolarFromAPick) {
    type(u"line");
    pick(1, 1);
    type(u"@3,4");
    type(u"line");
    pick(1, 1);
    type(u"@5<0");
    EXPECT_EQ(history(), std::string("\r\n> line\r\n") + kFirstPoint + "1.0000,1.0000,0.0000\r\n" +
                             kSecondPoint + "@3,4" + "\r\n> line\r\n" + kFirstPoint +
                             "1.0000,1.0000,0.0000\r\n" + kSecondPoint + "@5<0");
    EXPECT_EQ(entity<mmLine>(0).points[1].x, 4);
    EXPECT_EQ(entity<mmLine>(0).points[1].y, 5);
    EXPECT_NEAR(entity<mmLine>(1).points[1].x, 6, 1e-12);
    EXPECT_NEAR(entity<mmLine>(1).points[1].y, 1, 1e-12);
}

TEST_F(Transcript, NonPointsRepeatThePrompt) {
    type(u"line");
    type(u"1,2,3,4");
    type(u"7");
    EXPECT_EQ(history(),
              std::string("\r\n> line\r\n") + kFirstPoint + "1,2,3,4\r\n" + kFirstPoint + "7");
    EXPECT_EQ(inputLine(), kFirstPoint);
    EXPECT_EQ(view().step, 1);
    EXPECT_TRUE(session.pendingEntity->points.empty());
}
