// Undo and redo through the commands: the ring of 100 steps, the swap, availability.
#include "commands/CommandTestSupport.h"
#include "commands/MenuCommands.h"
#include "commands/Undo.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"

#include <sstream>

namespace {
class Undo : public CommandTest {
protected:
    void drawLine(int i) {
        type(u"line");
        type(u"0," + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
        type(u"5,5");
    }
    bool erased(std::size_t i) const { return session.drawing.entities.at(i)->erased; }
};
}  // namespace

TEST_F(Undo, HundredStepsLeaveTheFirstLine) {
    for (int i = 0; i < 101; ++i)
        drawLine(i);
    ASSERT_EQ(session.drawing.entities.size(), 101u);
    for (int i = 0; i < 100; ++i)
        type(u"undo");
    EXPECT_FALSE(erased(0));
    for (std::size_t i = 1; i < 101; ++i)
        EXPECT_TRUE(erased(i)) << i;
    EXPECT_FALSE(CanUndo(session.drawing));
    type(u"undo");  // nothing left: no change, no message
    EXPECT_FALSE(erased(0));
    EXPECT_EQ(history().find("Unknown"), std::string::npos);
}

TEST_F(Undo, CreatedEntityDisappearsAndComesBack) {
    drawLine(1);
    const mmObjectPtr line = session.drawing.entities[0];
    type(u"undo");
    EXPECT_TRUE(line->erased);
    EXPECT_TRUE(CanRedo(session.drawing));
    type(u"redo");
    EXPECT_FALSE(line->erased);
    EXPECT_EQ(line->points[1].x, 5);  // the live entity got its state back, not a copy's
    EXPECT_EQ(session.drawing.entities[0], line);
}

TEST_F(Undo, RecordingDiscardsRedo) {
    drawLine(1);
    type(u"undo");
    type(u"circle");
    type(u"0,0");
    type(u"2");
    EXPECT_FALSE(CanRedo(session.drawing));
    EXPECT_FALSE(MenuCommandEnabled(session, menu::kRedo));
    EXPECT_TRUE(MenuCommandEnabled(session, menu::kUndo));
    type(u"redo");
    EXPECT_TRUE(erased(0));
    type(u"undo");
    type(u"undo");  // the line's step was overwritten by the circle's
    EXPECT_TRUE(erased(0));
    EXPECT_TRUE(erased(1));
}

// Redoing the newest of 100 steps left the next slot one past the ring; the next record wrote
// outside it.
TEST_F(Undo, RecordAfterRedoOfTheNewestStepStaysInTheRing) {
    for (int i = 0; i < 100; ++i)
        drawLine(i);
    type(u"undo");
    type(u"redo");
    EXPECT_EQ(session.drawing.undoNext, 100);
    drawLine(7);
    EXPECT_EQ(session.drawing.undoNext, 1);
    EXPECT_EQ(session.drawing.undoCount, 100);
    type(u"undo");
    EXPECT_TRUE(erased(100));
    EXPECT_FALSE(erased(99));
}

// Model and paper ids come from separate counters: a step applied to whatever space is edited
// now would overwrite the paper entity that shares the model entity's id.
TEST_F(Undo, RegressionStepsNeverTouchAnotherSpaceWithTheSameIds) {
    drawLine(1);
    const mmObjectPtr model = session.drawing.entities.at(0);
    mmSpace paper;
    auto onPaper = std::make_shared<mmLine>();
    onPaper->id = model->id;
    onPaper->AddPoint(100, 100);
    onPaper->AddPoint(200, 100);
    AddEntity(paper, onPaper);
    session.drawing.activePaperSpace = &paper;
    type(u"undo");
    EXPECT_TRUE(model->erased);  // the step undoes the model line it was recorded for
    EXPECT_FALSE(onPaper->erased);
    EXPECT_EQ(onPaper->points.at(0).x, 100);
    type(u"redo");
    EXPECT_FALSE(model->erased);
    session.drawing.activePaperSpace = nullptr;
}

namespace {

// Everything an entity of these classes holds, as text, so two states compare exactly (an arc's
// emission direction only when asked: copies do not take it).
std::string stateOf(const mmObject& e, bool direction = true) {
    std::ostringstream s;
    s.precision(17);
    s << e.type << " " << e.id << " " << e.erased << " " << e.visible << " " << e.color << " "
      << e.colorIndex << " " << e.layerId << " " << e.lineWidth << " " << e.lineWidthSource << " |";
    for (const mmVertex& v : e.points) s << " " << v.x << "," << v.y;
    s << " |";
    for (const mmVertex& v : e.grips) s << " " << v.x << "," << v.y;
    s << " | " << e.extents.minX << " " << e.extents.minY << " " << e.extents.maxX << " "
      << e.extents.maxY;
    if (const auto* a = dynamic_cast<const mmArc*>(&e))
        s << " arc " << a->radius << " " << a->startAngle << " " << a->endAngle << " "
          << (direction ? a->direction : -1);
    if (const auto* p = dynamic_cast<const mmPointObj*>(&e)) s << " point " << p->pointStyle;
    if (const auto* p = dynamic_cast<const mmPolyline*>(&e)) {
        s << " polyline " << p->closed;
        for (double b : p->bulges) s << " " << b;
    }
    return s.str();
}

}  // namespace

// Undo and redo of what ARC, POINT and RECTANGLE make give back every field as it was, and the
// snapshots they are made of hold every field.
TEST_F(Undo, ArcPointAndRectangleComeBackExactly) {
    const std::vector<std::u16string> scripts[] = {
        {u"arc", u"10,0", u"0,10", u"-10,0"},
        {u"arc", u"c", u"3,4", u"2.5", u"30", u"-40"},
        {u"point", u"7.25,-3"},
        {u"rectangle", u"1,2", u"-4,6.5"},
    };
    for (const auto& script : scripts) {
        for (const std::u16string& line : script) type(line);
        const mmObjectPtr made = session.drawing.entities.back();
        const std::string before = stateOf(*made);
        type(u"undo");
        EXPECT_TRUE(made->erased) << before;
        type(u"redo");
        EXPECT_EQ(stateOf(*made), before);
        if (auto* point = dynamic_cast<mmPointObj*>(made.get())) point->pointStyle = 2;
        mmEntityList copies;
        EXPECT_EQ(stateOf(*CloneEntity(*made, copies), false), stateOf(*made, false));
    }
}
