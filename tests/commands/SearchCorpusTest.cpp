// Real drawings made by other programs: after opening each DXF file of the test data, snapping
// during LINE, snapping to the grips of a selection, picks and windows give the same results
// through the spatial index as by the pass over the whole list, at the drawing's extents and
// zoomed in.
#include <filesystem>
#include <random>

#include "commands/PointerTestSupport.h"
#include "commands/SearchOutcome.h"
#include "fileio/DrawingDocument.h"

namespace {

namespace fs = std::filesystem;

class SearchCorpus : public PointerTest {
protected:
    std::mt19937 rng{5};
    int snapped = 0, picks = 0;  // searches that found something, so the comparison means much
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    // A pixel on a random entity's grip or a few pixels off it, when it is in view.
    std::pair<int, int> randomPixel() {
        const mmEntityList& list = session.drawing.entities;
        for (int tries = 0; tries < 20 && !list.empty(); ++tries) {
            const mmObject* e = list[pick(static_cast<int>(list.size()))].get();
            if (!e || e->gripCount() == 0) continue;
            const mmVertex& g = e->grips[pick(e->gripCount())];
            const auto [px, py] = pixel(g.x, g.y);
            const int x = px + pick(13) - 6, y = py + pick(13) - 6;
            if (x >= 0 && y >= 0 && x < model().Width() && y < model().Height()) return {x, y};
        }
        return {pick(model().Width()), pick(model().Height())};
    }

    void compare(int count) {
        for (int k = 0; k < count; ++k) {
            const auto [px, py] = randomPixel();
            session.linearSearch = true;
            ViewMouseMove(session, px, py);
            const mmSearchOutcome linear = CaptureSearchOutcome(session);
            const mmObjectPtr picked = PickEntity(session, px, py);
            snapped += linear.kind != kSnapNone;
            picks += picked != nullptr;
            session.linearSearch = false;
            ViewMouseMove(session, px, py);
            EXPECT_TRUE(linear == CaptureSearchOutcome(session)) << "snap at " << px << "," << py;
            EXPECT_EQ(picked, PickEntity(session, px, py)) << "pick at " << px << "," << py;
        }
    }

    std::set<int32_t> window(bool linear, std::pair<int, int> a, std::pair<int, int> b) {
        ClearSelection(session);
        session.linearSearch = linear;
        model().SetMousePosition(a.first, a.second);
        model().selectionWindowStarted = true;
        model().selectionWindowCorner = model().CursorInDrawing();
        model().SetMousePosition(b.first, b.second);
        SelectionClick(session);
        session.linearSearch = false;
        return session.drawing.selection.ids;
    }
};

}  // namespace

TEST_F(SearchCorpus, IndexedAndLinearSearchesAgreeOnRealDrawings) {
    const fs::path folder = fs::path(KESTREL_TEST_DATA_DIR) / "dxf";
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no test drawings at " << folder;
    int files = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        if (file.path().extension() != ".dxf") continue;
        SCOPED_TRACE(file.path().string());
        ++files;
        OpenDrawing(session.drawing, file.path().string(), host, session.glyphTable.get(), nullptr);
        session.pendingEntity.reset();
        model().zoomExtents(session.drawing.entities);
        for (int zoom = 0; zoom < 2; ++zoom) {
            if (zoom == 1) model().setZoomScale(model().ActiveZoomScale() * 6);
            type(u"line");
            type(u"0,0");
            compare(150);
            type(u"");
            for (const mmObjectPtr& e : session.drawing.entities)
                if (e && !e->erased && pick(5) == 0) SelectEntity(session, *e, true);
            compare(100);
            for (int k = 0; k < 10; ++k) {
                const auto a = randomPixel(), b = randomPixel();
                EXPECT_EQ(window(true, a, b), window(false, a, b));
            }
            ClearSelection(session);
        }
        EXPECT_TRUE(session.drawing.spatialIndex.Matches(session.drawing.entities));
    }
    EXPECT_GT(files, 0);
    EXPECT_GT(snapped, files * 100);
    EXPECT_GT(picks, files * 50);
}
