// The properties panel's rules: the items each class shows and their values, several and no
// entities selected, and every edit applied as one undo step (or refused).
#include <cmath>
#include <functional>

#include "commands/CommandTestSupport.h"
#include "commands/InputGrammar.h"
#include "commands/Properties.h"
#include "commands/Selection.h"
#include "commands/Undo.h"
#include "drawing/DimStyleTable.h"
#include "drawing/DimensionRules.h"
#include "drawing/LayerRules.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/Block.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr uint32_t kRed = 0x0000FF;

class Properties : public CommandTest {
protected:
    mmPropertiesModel model;
    int32_t walls = -1;  // a red layer, 3 pixels wide

    void SetUp() override {
        mmLayer layer = mmLayer::WithDefaults(session.drawing.nextLayerId++, u"Walls");
        layer.color = kRed;
        layer.colorIndex = 1;
        layer.lineWidth = 3;
        walls = layer.id;
        session.drawing.layers[walls] = layer;
    }

    template <class T>
    T& add(std::shared_ptr<T> e) {
        ApplyLayerDefaults(*e, session.drawing);
        e->id = session.drawing.nextEntityId++;
        e->UpdateGrips();
        e->UpdateExtents();
        AddEntity(session.drawing, e);
        return *e;
    }
    mmLine& line(double x1, double y1, double x2, double y2) {
        auto l = std::make_shared<mmLine>();
        l->AddPoint(x1, y1);
        l->AddPoint(x2, y2);
        return add(l);
    }
    mmCircle& circle(double x, double y, double r) {
        auto c = std::make_shared<mmCircle>();
        c->AddPoint(x, y);
        c->radius = r;
        return add(c);
    }
    mmArc& arc() {
        auto a = std::make_shared<mmArc>();
        a->AddPoint(0, 0);
        a->radius = 2;
        a->startAngle = 0;
        a->endAngle = 90;
        return add(a);
    }
    mmPolyline& polyline(std::vector<mmVertex> points, std::vector<double> bulges, bool closed) {
        auto p = std::make_shared<mmPolyline>();
        for (const mmVertex& v : points) p->AddPoint(v.x, v.y);
        p->bulges = std::move(bulges);
        p->closed = closed;
        return add(p);
    }
    mmPointObj& point() {
        auto p = std::make_shared<mmPointObj>();
        p->AddPoint(4, 5);
        return add(p);
    }
    template <class T = mmText>
    T& text(std::string_view contents) {
        auto t = std::make_shared<T>();
        t->CreateText(contents, session.glyphTable);
        t->SetInsertionPoint(1, 2);
        return add(t);
    }
    mmBlockRef& blockRef() {
        mmBlockPtr block = CreateBlock(session.drawing.nextBlockId++, 0, 0, 0, u"DOOR");
        auto l = std::make_shared<mmLine>();
        l->AddPoint(0, 0);
        l->AddPoint(10, 0);
        AddToBlock(*block, l);
        AddBlock(session.drawing, block);
        auto r = std::make_shared<mmBlockRef>();
        r->AddPoint(20, 30);
        r->InstantiateBlock(u"DOOR", session.drawing.blocks, session.glyphTable);
        return add(r);
    }
    mmDimension& dimension() {
        std::array<mmVertex, 7> p{};
        p[0] = mmVertex(0, 0);
        p[1] = mmVertex(10, 0);
        p[2] = mmVertex(10, 5);
        auto d = NewDimension(session.drawing, kDimAligned, session.drawing.nextEntityId++, p,
                              session.glyphTable);
        AddEntity(session.drawing, d);
        return *d;
    }

    const mmPropertySheet& select(std::initializer_list<mmObject*> entities) {
        ClearSelection(session);
        for (mmObject* e : entities) SelectEntity(session, *e, true);
        return model.Refresh(session);
    }
    const mmPropertyItem& item(mmPropertyId id) const {
        const mmPropertyItem* found = model.Sheet().Find(id);
        if (!found) throw std::runtime_error("no such item");
        return *found;
    }
    int32_t undoable() const { return session.drawing.undoCount - session.drawing.redoCount; }
    std::string value(mmPropertyId id) const { return utf8(item(id).value); }
    mmPropertyEdit edit(mmPropertyId id, std::u16string_view text) {
        return model.Edit(session, id, text);
    }
    // "Category/Label" of every item after "General".
    std::string layout() const {
        std::string out;
        for (const mmPropertyItem& i : model.Sheet().items)
            if (i.category != u"General")
                out += utf8(i.category) + "/" + utf8(i.label) + (i.readOnly ? "*" : "") + " ";
        return out;
    }
};

}  // namespace

// The type label and the items of each class; read-only items end with "*".
TEST_F(Properties, ItemsOfEachClass) {
    auto spline = std::make_shared<mmSpline>();
    spline->AddPoint(0, 0);
    auto hatch = std::make_shared<mmHatch>();
    struct Case {
        mmObject* entity;
        std::string type;
        std::string items;
    };
    const Case cases[] = {
        {&line(0, 0, 3, 4), "Line",
         "Geometry/Start point X Geometry/Start point Y Geometry/End point X Geometry/End point Y "
         "Geometry/Length* Misc/Description* "},
        {&circle(1, 2, 3), "Circle",
         "Geometry/Center X Geometry/Center Y Geometry/Radius Misc/Description* "},
        {&arc(), "Arc",
         "Geometry/Center X Geometry/Center Y Geometry/Radius Geometry/Start angle "
         "Geometry/End angle Misc/Description* "},
        {&point(), "Point", "Geometry/Vertex* Geometry/Vertex X Geometry/Vertex Y Misc/Description* "},
        {&polyline({{0, 0}, {1, 0}}, {}, false), "Polyline",
         "Geometry/Vertex Geometry/Vertex X Geometry/Vertex Y Geometry/Length* Geometry/Area* "
         "Misc/Closed Misc/Description* "},
        {&blockRef(), "Block Reference",
         "Geometry/Position X Geometry/Position Y Geometry/Scale X Geometry/Scale Y Misc/Name* "
         "Misc/Rotation Misc/Annotative* "},
        {&text("abc"), "Text",
         "Text/Contents Text/Height Text/Position X Text/Position Y Text/Rotation "},
        {&text<mmMText>("abc"), "MText",
         "MText/Contents MText/Height MText/Position X MText/Position Y MText/Rotation "},
        {&dimension(), "Dimension",
         "Dimension/Dim Style Dimension/Def.point1 X Dimension/Def.point1 Y Dimension/Def.point2 X "
         "Dimension/Def.point2 Y Dimension/Measurment* "},
        {&add(spline), "Spline", ""},
        {&add(hatch), "Hatch", ""},
    };
    for (const Case& c : cases) {
        const mmPropertySheet& sheet = select({c.entity});
        EXPECT_EQ(utf8(sheet.typeLabel), c.type);
        EXPECT_EQ(layout(), c.items) << c.type;
        ASSERT_GE(sheet.items.size(), 4u);
        EXPECT_EQ(utf8(sheet.items[0].label), "Color");
        EXPECT_EQ(utf8(sheet.items[3].label), "LineWidth");
    }
}

TEST_F(Properties, OneRedLineShowsItsValues) {
    session.drawing.currentLayerId = walls;
    mmLine& l = line(1, 1, 4, 5);
    l.SetColor(kRed, 1, nullptr);
    select({&l});
    EXPECT_EQ(value(mmPropertyId::Color), "Red");
    EXPECT_EQ(item(mmPropertyId::Color).choices.size(), 7u);  // no entry of its own: it is Red
    EXPECT_EQ(utf8(item(mmPropertyId::Color).choices.back().text), "Select...");
    EXPECT_EQ(value(mmPropertyId::Layer), "Walls");
    EXPECT_EQ(value(mmPropertyId::LineType), "Continuous");
    EXPECT_EQ(value(mmPropertyId::LineWidth), "3");
    EXPECT_EQ(value(mmPropertyId::StartX), "1.0000");
    EXPECT_EQ(value(mmPropertyId::EndY), "5.0000");
    EXPECT_EQ(value(mmPropertyId::Length), "5.0000");

    // A colour none of the entries names gets an entry of its own, chosen.
    l.SetColor(0x123456, 0x123456, nullptr);
    select({&l});
    EXPECT_EQ(value(mmPropertyId::Color), "86,52,18");
    EXPECT_EQ(item(mmPropertyId::Color).choices[item(mmPropertyId::Color).selected].swatch,
              0x123456);
    l.SetColor(0, 0, nullptr);
    select({&l});
    EXPECT_EQ(value(mmPropertyId::Color), "ByBlock");
}

// Several entities: the type varies; each general item shows the common value or that it varies.
TEST_F(Properties, SeveralSelectedShowWhatTheyShare) {
    mmLine& a = line(0, 0, 1, 1);
    mmCircle& b = circle(0, 0, 1);
    select({&a, &b});
    EXPECT_EQ(utf8(model.Sheet().typeLabel), "***VARIES***");
    EXPECT_EQ(model.Sheet().items.size(), 4u);
    EXPECT_EQ(value(mmPropertyId::Layer), "0");
    EXPECT_EQ(value(mmPropertyId::Color), "ByLayer");
    EXPECT_EQ(value(mmPropertyId::LineWidth), "1");

    b.layerId = walls;
    b.lineWidth = 2;
    b.SetColor(kRed, 1, nullptr);
    select({&a, &b});
    EXPECT_EQ(value(mmPropertyId::Layer), "***VARIES***");
    EXPECT_EQ(item(mmPropertyId::Layer).selected, -1);
    EXPECT_EQ(value(mmPropertyId::Color), "");
    EXPECT_EQ(value(mmPropertyId::LineWidth), "***VARIES***");

    // One edit changes both, as one step.
    const int32_t steps = undoable();
    EXPECT_EQ(edit(mmPropertyId::Color, u"Green"), mmPropertyEdit::Applied);
    EXPECT_EQ(a.color, 0x00FF00u);
    EXPECT_EQ(b.color, 0x00FF00u);
    EXPECT_EQ(undoable(), steps + 1);
    type(u"undo");
    EXPECT_EQ(a.colorIndex, kColorByLayer);
    EXPECT_EQ(b.color, kRed);
}

TEST_F(Properties, NothingSelectedShowsTheCurrentLayerReadOnly) {
    session.drawing.currentLayerId = walls;
    line(0, 0, 1, 1);
    select({});
    EXPECT_EQ(utf8(model.Sheet().typeLabel), "No selection");
    EXPECT_EQ(value(mmPropertyId::Layer), "Walls");
    EXPECT_EQ(value(mmPropertyId::LineWidth), "3");
    for (const mmPropertyItem& i : model.Sheet().items) EXPECT_TRUE(i.readOnly);
    EXPECT_EQ(edit(mmPropertyId::Color, u"Red"), mmPropertyEdit::Unchanged);
}

TEST_F(Properties, ColorChoices) {
    mmLayer& layer = session.drawing.layers[walls];
    session.drawing.currentLayerId = walls;
    mmLine& l = line(0, 0, 1, 1);
    struct Case {
        std::u16string entry;
        int32_t index;
        uint32_t color;
    };
    const Case cases[] = {
        {u"ByBlock", 0, 0},          {u"Blue", 5, 0xFF0000},     {u"Green", 3, 0x00FF00},
        {u"Yellow", 2, 0x00FFFF},    {u"Red", 1, 0x0000FF},      {u"ByLayer", 256, kRed},
    };
    for (const Case& c : cases) {
        select({&l});
        EXPECT_EQ(edit(mmPropertyId::Color, c.entry), mmPropertyEdit::Applied) << utf8(c.entry);
        EXPECT_EQ(l.colorIndex, c.index) << utf8(c.entry);
        EXPECT_EQ(l.color, c.color) << utf8(c.entry);
        EXPECT_EQ(value(mmPropertyId::Color), utf8(c.entry));
    }
    // By layer after by block takes the layer's colour, whatever the panel showed.
    layer.color = 0x00FF00;
    edit(mmPropertyId::Color, u"ByBlock");
    edit(mmPropertyId::Color, u"ByLayer");
    EXPECT_EQ(l.color, 0x00FF00u);

    const int32_t steps = undoable();
    EXPECT_EQ(edit(mmPropertyId::Color, u"ByLayer"), mmPropertyEdit::Unchanged);
    EXPECT_EQ(edit(mmPropertyId::Color, u"Select..."), mmPropertyEdit::ChooseColor);
    EXPECT_EQ(undoable(), steps);
    EXPECT_EQ(model.ApplyColor(session, 0x414141), mmPropertyEdit::Applied);
    EXPECT_EQ(l.colorIndex, 8);  // a palette colour takes its index
    EXPECT_EQ(model.ApplyColor(session, 0x123456), mmPropertyEdit::Applied);
    EXPECT_EQ(l.colorIndex, 0x123456);  // any other colour is a true colour
    EXPECT_EQ(value(mmPropertyId::Color), "86,52,18");
}

// A new layer brings its colour, width and visibility to entities that take them by layer.
TEST_F(Properties, LayerChangeAppliesTheLayerRules) {
    mmCircle& c = circle(0, 0, 1);
    mmLine& own = line(0, 0, 1, 1);
    own.SetColor(0x00FFFF, 2, nullptr);
    own.lineWidth = own.lineWidthSource = 5;
    session.drawing.layers[walls].show = false;
    select({&c, &own});
    EXPECT_EQ(edit(mmPropertyId::Layer, u"Walls"), mmPropertyEdit::Applied);
    EXPECT_EQ(c.layerId, walls);
    EXPECT_EQ(c.color, kRed);
    EXPECT_EQ(c.lineWidth, 3);
    EXPECT_FALSE(c.visible);
    EXPECT_EQ(own.color, 0x00FFFFu);  // its own colour and width stay
    EXPECT_EQ(own.lineWidth, 5);
    EXPECT_EQ(edit(mmPropertyId::Layer, u"No such layer"), mmPropertyEdit::Refused);
    type(u"undo");
    EXPECT_EQ(c.layerId, 0);
    EXPECT_TRUE(c.visible);
}

TEST_F(Properties, LineWidthTakesWholePixels) {
    mmLine& l = line(0, 0, 1, 1);
    select({&l});
    EXPECT_EQ(edit(mmPropertyId::LineWidth, u"4"), mmPropertyEdit::Applied);
    EXPECT_EQ(l.lineWidth, 4);
    EXPECT_EQ(l.lineWidthSource, 4);
    for (const std::u16string bad : {u"0", u"-1", u"2.5", u"abc", u"", u"300"})
        EXPECT_EQ(edit(mmPropertyId::LineWidth, bad), mmPropertyEdit::Refused) << utf8(bad);
    EXPECT_EQ(l.lineWidth, 4);
}

TEST_F(Properties, TextContentsHeightPositionAndRotation) {
    mmText& t = text("old");
    select({&t});
    EXPECT_EQ(value(mmPropertyId::Contents), "old");
    EXPECT_EQ(edit(mmPropertyId::Contents, u"Straße 12"), mmPropertyEdit::Applied);
    EXPECT_EQ(t.String(), "Straße 12");
    EXPECT_EQ(edit(mmPropertyId::Contents, u"42"), mmPropertyEdit::Applied);  // digits are text
    EXPECT_EQ(t.String(), "42");
    EXPECT_EQ(edit(mmPropertyId::Contents, u""), mmPropertyEdit::Refused);

    const double width = t.extents.maxX - t.extents.minX;
    EXPECT_EQ(edit(mmPropertyId::Height, u"2"), mmPropertyEdit::Applied);
    EXPECT_EQ(t.height, 2.0);
    EXPECT_GT(t.extents.maxX - t.extents.minX, width * 1.5);  // laid out again
    EXPECT_EQ(edit(mmPropertyId::Height, u"0"), mmPropertyEdit::Refused);
    EXPECT_EQ(edit(mmPropertyId::Rotation, u"90"), mmPropertyEdit::Applied);
    EXPECT_EQ(t.rotation, 90.0);
    EXPECT_EQ(edit(mmPropertyId::PositionX, u"11"), mmPropertyEdit::Applied);
    EXPECT_EQ(t.points[0].x, 11.0);
    EXPECT_EQ(t.grips[0].x, 11.0);
    EXPECT_EQ(value(mmPropertyId::PositionY), "2.0000");

    // A centred text is shown and moved by the point it is placed at.
    t.SetJustification(kTextCenter, kTextBaseline, nullptr);
    t.SetAlignmentPoint(20, 2);
    select({&t});
    EXPECT_EQ(value(mmPropertyId::PositionX), "20.0000");
    EXPECT_EQ(edit(mmPropertyId::PositionX, u"25"), mmPropertyEdit::Applied);
    EXPECT_EQ(t.DrawOrigin().x, 25.0);
}

// Every geometry item takes its edit through the entity's setters (grips and extents follow),
// and one UNDO takes it back.
TEST_F(Properties, GeometryEditsAreAppliedAndUndone) {
    struct Case {
        std::string name;
        std::function<mmObject&()> make;
        mmPropertyId id;
        std::u16string value;
        std::function<bool(mmObject&)> applied;
    };
    const auto near = [](double a, double b) { return std::fabs(a - b) < 1e-9; };
    const Case cases[] = {
        {"line start", [&]() -> mmObject& { return line(0, 0, 3, 4); }, mmPropertyId::StartX, u"-2",
         [&](mmObject& e) { return e.points[0].x == -2 && e.grips[0].x == -2 && e.extents.minX == -2; }},
        {"line end", [&]() -> mmObject& { return line(0, 0, 3, 4); }, mmPropertyId::EndY, u"9",
         [&](mmObject& e) { return e.points[1].y == 9 && e.grips[2].y == 9 && e.extents.maxY == 9; }},
        {"circle centre", [&]() -> mmObject& { return circle(1, 2, 3); }, mmPropertyId::CenterX,
         u"10", [&](mmObject& e) { return e.points[0].x == 10 && e.grips[1].x == 13 && e.extents.maxX == 13; }},
        {"circle radius", [&]() -> mmObject& { return circle(1, 2, 3); }, mmPropertyId::Radius, u"5",
         [&](mmObject& e) { return static_cast<mmCircle&>(e).radius == 5 && e.extents.maxY == 7; }},
        {"arc radius", [&]() -> mmObject& { return arc(); }, mmPropertyId::Radius, u"4",
         [&](mmObject& e) { return near(e.grips[1].x, 4); }},
        {"arc start", [&]() -> mmObject& { return arc(); }, mmPropertyId::StartAngle, u"45",
         [&](mmObject& e) { return static_cast<mmArc&>(e).startAngle == 45 && near(e.grips[1].x, std::sqrt(2.0)); }},
        {"arc end", [&]() -> mmObject& { return arc(); }, mmPropertyId::EndAngle, u"180",
         [&](mmObject& e) { return near(e.grips[3].x, -2) && near(e.extents.minX, -2); }},
        {"arc centre", [&]() -> mmObject& { return arc(); }, mmPropertyId::CenterY, u"3",
         [&](mmObject& e) { return e.points[0].y == 3 && near(e.grips[1].y, 3); }},
        {"point", [&]() -> mmObject& { return point(); }, mmPropertyId::VertexY, u"-1",
         [&](mmObject& e) { return e.points[0].y == -1 && e.grips[0].y == -1; }},
        {"polyline vertex", [&]() -> mmObject& { return polyline({{0, 0}, {4, 0}}, {}, false); },
         mmPropertyId::VertexX, u"2", [&](mmObject& e) { return e.points[0].x == 2 && e.extents.minX == 2; }},
        {"polyline closed", [&]() -> mmObject& { return polyline({{0, 0}, {4, 0}, {4, 3}}, {}, false); },
         mmPropertyId::Closed, u"Yes", [&](mmObject& e) { return static_cast<mmPolyline&>(e).closed; }},
        {"reference position", [&]() -> mmObject& { return blockRef(); }, mmPropertyId::PositionX,
         u"0", [&](mmObject& e) { return e.points[0].x == 0 && e.grips[0].x == 0 && near(e.extents.maxX, 10); }},
        {"reference scale", [&]() -> mmObject& { return blockRef(); }, mmPropertyId::ScaleX, u"2",
         [&](mmObject& e) { return static_cast<mmBlockRef&>(e).scaleX == 2 && near(e.extents.maxX, 40); }},
        {"reference rotation", [&]() -> mmObject& { return blockRef(); }, mmPropertyId::Rotation,
         u"90", [&](mmObject& e) { return near(e.extents.maxY, 40) && near(e.extents.maxX, 20); }},
        {"dimension point", [&]() -> mmObject& { return dimension(); }, mmPropertyId::DefPoint2X,
         u"20", [&](mmObject& e) {
             auto& d = static_cast<mmDimension&>(e);
             return d.defPoints[1].x == 20 && d.label.String() == "20" && e.extents.maxX >= 20;
         }},
    };
    for (const Case& c : cases) {
        mmObject& e = c.make();
        mmEntityList before;
        CloneEntity(e, before);
        select({&e});
        const int32_t steps = undoable();
        EXPECT_EQ(edit(c.id, c.value), mmPropertyEdit::Applied) << c.name;
        EXPECT_TRUE(c.applied(e)) << c.name;
        EXPECT_EQ(undoable(), steps + 1) << c.name;
        EXPECT_TRUE(session.modified);
        type(u"undo");
        ASSERT_EQ(e.points.size(), before.front()->points.size()) << c.name;
        for (std::size_t i = 0; i < e.points.size(); ++i) {
            EXPECT_EQ(e.points[i].x, before.front()->points[i].x) << c.name;
            EXPECT_EQ(e.points[i].y, before.front()->points[i].y) << c.name;
        }
        EXPECT_EQ(e.extents.maxX, before.front()->extents.maxX) << c.name;
    }
}

TEST_F(Properties, ValuesThatCannotBeTakenAreRefused) {
    mmCircle& c = circle(0, 0, 2);
    select({&c});
    for (const std::u16string bad : {u"abc", u"-1", u"0", u"1e999", u"2,5", u"nan"})
        EXPECT_EQ(edit(mmPropertyId::Radius, bad), mmPropertyEdit::Refused) << utf8(bad);
    EXPECT_EQ(c.radius, 2.0);
    EXPECT_EQ(edit(mmPropertyId::Radius, u" 2.5 "), mmPropertyEdit::Applied);
    EXPECT_EQ(edit(mmPropertyId::Radius, u"2.5"), mmPropertyEdit::Unchanged);
    EXPECT_EQ(edit(mmPropertyId::Description, u"note"), mmPropertyEdit::Unchanged);

    mmBlockRef& r = blockRef();
    select({&r});
    EXPECT_EQ(edit(mmPropertyId::ScaleY, u"0"), mmPropertyEdit::Refused);
    EXPECT_EQ(edit(mmPropertyId::Name, u"WINDOW"), mmPropertyEdit::Unchanged);
    mmLine& l = line(0, 0, 3, 4);
    select({&l});
    EXPECT_EQ(edit(mmPropertyId::Length, u"10"), mmPropertyEdit::Unchanged);
    EXPECT_EQ(edit(mmPropertyId::Radius, u"10"), mmPropertyEdit::Unchanged);  // not a line's
}

// Length and area count the arcs; the vertex shown is chosen by "Vertex".
TEST_F(Properties, PolylineLengthAreaAndVertex) {
    // A half disc of radius 1: the arc below the chord, closed by the chord.
    mmPolyline& half = polyline({{0, 0}, {2, 0}}, {1, 0}, true);
    select({&half});
    EXPECT_EQ(value(mmPropertyId::Length), utf8(FormatFixed4(kPi + 2)));
    EXPECT_EQ(value(mmPropertyId::Area), utf8(FormatFixed4(kPi / 2)));

    // An open square counts as closed for its area.
    mmPolyline& square = polyline({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {}, false);
    select({&square});
    EXPECT_EQ(value(mmPropertyId::Length), "6.0000");
    EXPECT_EQ(value(mmPropertyId::Area), "4.0000");
    EXPECT_EQ(value(mmPropertyId::Closed), "No");

    EXPECT_EQ(edit(mmPropertyId::Vertex, u"3"), mmPropertyEdit::ViewChanged);
    EXPECT_EQ(value(mmPropertyId::VertexX), "2.0000");
    EXPECT_EQ(value(mmPropertyId::VertexY), "2.0000");
    EXPECT_EQ(edit(mmPropertyId::VertexY, u"4"), mmPropertyEdit::Applied);
    EXPECT_EQ(square.points[2].y, 4.0);
    EXPECT_EQ(square.grips[4].y, 4.0);
    EXPECT_EQ(value(mmPropertyId::Area), "6.0000");
    EXPECT_EQ(edit(mmPropertyId::Vertex, u"5"), mmPropertyEdit::Refused);
    EXPECT_EQ(edit(mmPropertyId::Vertex, u"0"), mmPropertyEdit::Refused);
    // Another polyline starts at its first vertex.
    select({&half});
    EXPECT_EQ(value(mmPropertyId::Vertex), "1");
}

TEST_F(Properties, DimensionStyleChoice) {
    mmDimension& d = dimension();
    DimStyle big = DimStyle::Standard(-1);
    big.name = u"Big";
    big.textHeight = 5;
    const int32_t bigId = AddDimStyle(session.drawing, big);
    select({&d});
    EXPECT_EQ(value(mmPropertyId::DimStyle), "Standard");
    EXPECT_EQ(value(mmPropertyId::Measurement), "10");
    EXPECT_EQ(edit(mmPropertyId::DimStyle, u"Big"), mmPropertyEdit::Applied);
    EXPECT_EQ(d.dimStyleId, bigId);
    EXPECT_EQ(d.textHeight, 5.0);
    EXPECT_EQ(d.label.height, 5.0);
    type(u"undo");
    EXPECT_EQ(d.dimStyleId, 0);
    EXPECT_EQ(d.label.height, 2.5);
}
