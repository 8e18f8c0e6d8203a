// The spatial index against the pass over the whole list, side by side on random drawings: every
// snap search, pick and window selection gives the same result either way (same entity, same
// kind, same point, same hovered grip, same cursor), while entities are added, moved, dragged by
// their grips, erased and brought back by UNDO, near the origin and at survey coordinates; and
// while the modify, block, hatch and dimension commands change the drawing and UNDO and REDO
// take their changes back and forth.
#include <random>
#include <set>

#include "commands/GripEdit.h"
#include "commands/NewEntity.h"
#include "commands/ObjectSnap.h"
#include "commands/PointerTestSupport.h"
#include "commands/SearchOutcome.h"
#include "commands/DrawingState.h"
#include "entities/Arc.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Text.h"

namespace {

class SearchEquivalence : public PointerTest {
protected:
    std::mt19937 rng{20261210};

    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }

    double ox = 0.0, oy = 0.0;  // where the drawing lies
    mmVertex spot() { return {ox + uniform(0, 100), oy + uniform(0, 75)}; }

    void add(const std::shared_ptr<mmObject>& e) {
        PrepareNewEntity(session, *e);
        if (chance(0.03))
            e->id = pick(std::max(1, e->id));  // a duplicate id: found by position only
        CompleteGeometry(session, *e);
        e->erased = chance(0.05);
        e->visible = !chance(0.05);
        AddEntity(session.drawing, e);
    }

    void addRandomEntity() {
        const mmVertex a = spot();
        switch (pick(7)) {
            case 0: {
                auto line = std::make_shared<mmLine>();
                line->AddPoint(a.x, a.y);
                const mmVertex b = chance(0.2) ? a : spot();  // some of zero length
                line->AddPoint(b.x, b.y);
                return add(line);
            }
            case 1: {
                auto p = std::make_shared<mmPolyline>();
                const int n = 2 + pick(8);
                mmVertex v = a;
                for (int i = 0; i < n; ++i) {
                    p->points.emplace_back(v.x, v.y);
                    p->bulges.push_back(chance(0.4) ? uniform(-1.5, 1.5) : 0.0);
                    v = mmVertex(v.x + uniform(-15, 15), v.y + uniform(-15, 15));
                }
                p->closed = chance(0.3);
                return add(p);
            }
            case 2: {
                auto c = std::make_shared<mmCircle>();
                c->AddPoint(a.x, a.y);
                c->SetRadius(uniform(0.2, 20));
                return add(c);
            }
            case 3: {
                auto arc = std::make_shared<mmArc>();
                const mmVertex b = spot(), c = spot();
                if (!arc->SetThroughThreePoints(a, b, c, 0, 0)) return;
                return add(arc);
            }
            case 4: {
                auto point = std::make_shared<mmPointObj>();
                point->AddPoint(a.x, a.y);
                return add(point);
            }
            case 5: {
                auto text = std::make_shared<mmText>();
                text->CreateText(chance(0.1) ? "" : "Abc 12", session.glyphTable);
                text->SetHeight(uniform(0.5, 6), nullptr);
                text->SetRotation(uniform(0, 360), nullptr);
                text->SetInsertionPoint(a.x, a.y);
                return add(text);
            }
            default: {  // a reference whose insertion point lies away from its geometry
                auto ref = std::make_shared<mmBlockRef>();
                auto child = std::make_shared<mmLine>();
                child->AddPoint(uniform(5, 20), uniform(5, 20));
                child->AddPoint(uniform(5, 20), uniform(-20, -5));
                child->UpdateGrips();
                child->UpdateExtents();
                if (!chance(0.1)) ref->children.push_back(child);  // some of an empty block
                ref->AddPoint(a.x, a.y);
                return add(ref);
            }
        }
    }

    // A pixel near a random entity's grip or on its way between two of its points, or anywhere
    // in the view.
    std::pair<int, int> randomPixel() {
        for (int tries = 0; tries < 20; ++tries) {
            const auto [px, py] = pixelNearSomething();
            if (px >= 0 && py >= 0 && px < model().Width() && py < model().Height())
                return {px, py};
        }
        return {pick(model().Width()), pick(model().Height())};
    }
    std::pair<int, int> pixelNearSomething() {
        const mmEntityList& list = session.drawing.entities;
        const mmObject& e = *list[pick(static_cast<int>(list.size()))];
        if (chance(0.4) && e.gripCount() > 0) {
            const mmVertex& g = e.grips[pick(e.gripCount())];
            const auto [px, py] = pixel(g.x, g.y);
            const int reach = chance(0.5) ? 6 : 20;
            return {px + pick(2 * reach + 1) - reach, py + pick(2 * reach + 1) - reach};
        }
        if (chance(0.5) && e.pointCount() > 1) {
            const int i = pick(e.pointCount() - 1);
            const double t = uniform(0, 1);
            const mmVertex& a = e.points[i];
            const mmVertex& b = e.points[i + 1];
            const auto [px, py] = pixel(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y));
            return {px + pick(13) - 6, py + pick(13) - 6};
        }
        return {pick(model().Width()), pick(model().Height())};
    }

    void compareSearches(int px, int py) {
        session.linearSearch = true;
        ViewMouseMove(session, px, py);
        const mmSearchOutcome linear = CaptureSearchOutcome(session);
        const mmObjectPtr pickedLinear = PickEntity(session, px, py);
        session.linearSearch = false;
        ViewMouseMove(session, px, py);
        const mmSearchOutcome indexed = CaptureSearchOutcome(session);
        EXPECT_TRUE(linear == indexed)
            << "snap at pixel " << px << "," << py << ": kind " << linear.kind << " entity "
            << linear.entityId << " against kind " << indexed.kind << " entity "
            << indexed.entityId;
        EXPECT_EQ(pickedLinear, PickEntity(session, px, py)) << "pick at " << px << "," << py;
    }

    std::set<int32_t> windowSelection(bool linear, const std::set<int32_t>& before,
                                      std::pair<int, int> a, std::pair<int, int> b, bool shift) {
        ClearSelection(session);
        for (int32_t id : before)
            if (const mmObjectPtr e = FindEntity(session.drawing, id))
                SelectEntity(session, *e, true);
        session.linearSearch = linear;
        model().shiftHeld = shift;
        model().selectionWindowStarted = true;
        model().SetMousePosition(a.first, a.second);
        model().selectionWindowCorner = model().CursorInDrawing();
        model().SetMousePosition(b.first, b.second);
        SelectionClick(session);
        model().shiftHeld = false;
        session.linearSearch = false;
        return session.drawing.selection.ids;
    }

    void compareWindows() {
        const std::set<int32_t> before = session.drawing.selection.ids;
        const auto a = randomPixel(), b = randomPixel();
        const bool shift = chance(0.3);
        EXPECT_EQ(windowSelection(true, before, a, b, shift),
                  windowSelection(false, before, a, b, shift))
            << "window " << a.first << "," << a.second << " to " << b.first << "," << b.second;
    }

    // Edits through the real paths: a grip drag, an erase and its undo, a move in place.
    void editSomething() {
        mmEntityList& list = session.drawing.entities;
        switch (pick(3)) {
            case 0:
                for (int tries = 0; tries < 20 && model().commandId == 0; ++tries) {
                    const auto [px, py] = randomPixel();
                    ViewMouseMove(session, px, py);
                    if (StartGripEdit(session)) {
                        const auto [qx, qy] = randomPixel();
                        ViewMouseMove(session, qx, qy);
                        click();
                    }
                }
                break;
            case 1:
                for (int k = 0; k < 5; ++k)
                    SelectEntity(session, *list[pick(static_cast<int>(list.size()))], true);
                EraseSelection(session);
                if (chance(0.5)) type(u"undo");
                break;
            default: {  // an entity moved by its own operations: the index hears of it
                mmObject& e = *list[pick(static_cast<int>(list.size()))];
                for (mmVertex& p : e.points)
                    p = mmVertex(p.x + uniform(-30, 30), p.y);
                e.UpdateGrips();
                e.UpdateExtents();
            }
        }
        if (model().commandId != 0) type(u"");  // a drag that found nowhere to go
    }

    void selectSome() {
        ClearSelection(session);
        for (const mmObjectPtr& e : session.drawing.entities)
            if (!e->erased && chance(0.15)) SelectEntity(session, *e, true);
    }

    mmObjectPtr randomLive(int type = 0) {
        const mmEntityList& list = session.drawing.entities;
        for (int tries = 0; tries < 50; ++tries) {
            const mmObjectPtr& e = list[pick(static_cast<int>(list.size()))];
            if (!e->erased && e->visible && (type == 0 || e->type == type)) return e;
        }
        return nullptr;
    }
    void selectRandomly(int n) {
        for (int k = 0; k < n; ++k)
            if (const mmObjectPtr e = randomLive()) SelectEntity(session, *e, true);
    }
    // The single pick of an object, as the view makes it.
    void pickObject(const mmObjectPtr& e) {
        SelectEntity(session, *e, true);
        session.pendingEntity = e;
        session.commandLine.SubmitInput(u"", true);
    }

    std::u16string blockName() { return u"B" + coordinates(pick(10), 0); }

    // One of the commands that change the drawing, with random objects and points.
    void runRandomCommand() {
        const mmObjectPtr polyline = randomLive(kTypePolyline);
        const mmVertex p = spot();
        switch (pick(8)) {
            case 0:
            case 1:
                if (!polyline) return;
                type(chance(0.5) ? u"trim" : u"extend");
                pickObject(polyline);
                selectRandomly(10);
                return type(u"");
            case 2:
                if (!polyline) return;
                type(u"offset");
                type(coordinates(uniform(0, 5), 0));  // the number is read from the front
                pickObject(polyline);
                return type(coordinates(p.x, p.y));
            case 3:
                selectRandomly(1 + pick(6));
                return type(chance(0.5) ? u"sendback" : u"bringfront");
            case 4:
                type(u"hatch");
                selectRandomly(3);
                type(u"");
                return type(u"");
            case 5:
                type(u"block");
                selectRandomly(3);
                type(u"");
                type(coordinates(p.x, p.y));
                return type(blockName());
            case 6:
                type(u"insert");
                type(blockName());  // one made before, or none
                return type(coordinates(p.x, p.y));
            default:
                type(chance(0.5) ? u"dimlinear" : u"dimaligned");
                for (int k = 0; k < 3; ++k) {
                    const mmVertex q = spot();
                    PickPoint(session, q.x, q.y);
                }
        }
    }

    // The id index refers every id to an entry of it that is not erased, when there is one.
    void expectIdsReferToEntriesShown() {
        const mmSpace& space = session.drawing;
        for (const mmObjectPtr& e : space.entities) {
            const mmObjectPtr found = FindEntity(space, e->id);
            ASSERT_NE(found, nullptr);
            EXPECT_TRUE(!found->erased || e->erased) << "id " << e->id;
        }
    }

    // Idle, or during LINE after its first point (so the perpendicular mode has a base).
    void randomState() {
        if (model().commandId != 0) type(u"");
        session.snap.on = !chance(0.2);
        session.snap.modes = chance(0.5) ? 0x2E : pick(64) & 0x2E;
        if (chance(0.3)) {
            selectSome();
        } else {
            type(u"line");
            const mmVertex p = spot();
            type(coordinates(p.x, p.y));
        }
    }
};

}  // namespace

TEST_F(SearchEquivalence, IndexedAndLinearSearchesAgreeOnRandomDrawings) {
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        if (round == 8) {  // the second half far from the origin, as survey drawings are
            ox = 512345.6;
            oy = 4123456.7;
            ResetDrawing(session.drawing);
            FillNewDrawing(session.drawing);
        }
        const int more = round % 4 == 0 ? 400 : 40;
        for (int i = 0; i < more; ++i)
            addRandomEntity();
        if (round % 4 == 0) {
            ASSERT_TRUE(model().zoomExtents(session.drawing.entities));
            model().setZoomScale(model().ActiveZoomScale() * uniform(0.7, 3));
        }
        editSomething();
        ASSERT_TRUE(session.drawing.spatialIndex.Matches(session.drawing.entities));
        randomState();
        for (int k = 0; k < 150; ++k) {
            const auto [px, py] = randomPixel();
            compareSearches(px, py);
        }
        if (model().commandId != 0) type(u"");
        selectSome();
        for (int k = 0; k < 10; ++k)
            compareWindows();
        if (HasFailure()) return;
    }
}

TEST_F(SearchEquivalence, IndexesFollowModifyCommandsAndTheirUndo) {
    for (int i = 0; i < 300; ++i)
        addRandomEntity();
    for (mmObjectPtr& e : session.drawing.entities) e->erased = false;  // ids made unique below
    for (std::size_t i = 0; i < session.drawing.entities.size(); ++i)
        session.drawing.entities[i]->id = static_cast<int32_t>(i);
    session.drawing.nextEntityId = static_cast<int32_t>(session.drawing.entities.size());
    ReindexSpace(session.drawing);
    ASSERT_TRUE(model().zoomExtents(session.drawing.entities));
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        const std::string before = DrawingState(session.drawing);
        runRandomCommand();
        if (model().commandId != 0) type(u"");
        const std::string after = DrawingState(session.drawing);
        ASSERT_TRUE(session.drawing.spatialIndex.Matches(session.drawing.entities));
        expectIdsReferToEntriesShown();
        for (int k = 0; k < 20; ++k) {
            const auto [px, py] = randomPixel();
            compareSearches(px, py);
        }
        if (chance(0.5)) {
            type(u"undo");
            if (after != before) {
                EXPECT_EQ(DrawingState(session.drawing), before);
            }
            ASSERT_TRUE(session.drawing.spatialIndex.Matches(session.drawing.entities));
            expectIdsReferToEntriesShown();
            if (chance(0.5)) {
                type(u"redo");
                EXPECT_EQ(DrawingState(session.drawing), after);
            }
        }
        ClearSelection(session);
        if (HasFailure()) return;
    }
}
