// Snapping, picking and window selection on a million mixed entities in model space, through the
// spatial index and by the pass over the whole list (the /linear variants), in the same run; and
// packing the index of a million boxes, as the first search after opening a drawing does.
//
// The drawing spreads lines, polylines with arcs, circles, arcs, points and texts over 10,000 by
// 10,000 units. The view of 1000 x 700 pixels shows either all of it ("extents") or 250 units
// across ("working"). Each snap iteration is one mouse move while LINE waits for its second point
// with snap on and all modes, at pixels spread over the view.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <random>

#include "BenchGlyphs.h"
#include "commands/NewEntity.h"
#include "commands/Selection.h"
#include "commands/Session.h"
#include "commands/StartupDrawing.h"
#include "commands/ViewMouse.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "platform/Host.h"

namespace {

constexpr int kEntities = 1'000'000;
constexpr double kSide = 10'000.0;
constexpr int kWidth = 1000;
constexpr int kHeight = 700;

class QuietHost : public kestrel::platform::Host {
public:
    kestrel::platform::MessageAnswer messageBox(const std::string&, kestrel::platform::MessageKind,
                                                const std::string&) override {
        return kestrel::platform::MessageAnswer::Ok;
    }
};

void addEntity(mmSession& s, std::mt19937& rng) {
    std::uniform_real_distribution<double> where(0.0, kSide), step(-8.0, 8.0), size(0.5, 6.0);
    const double x = where(rng), y = where(rng);
    mmObjectPtr e;
    switch (rng() % 10) {
        case 0:
        case 1:
        case 2: {
            auto line = std::make_shared<mmLine>();
            line->AddPoint(x, y);
            line->AddPoint(x + step(rng), y + step(rng));
            e = line;
            break;
        }
        case 3:
        case 4: {
            auto p = std::make_shared<mmPolyline>();
            double px = x, py = y;
            for (int i = 0; i < 5; ++i) {
                p->points.emplace_back(px, py);
                p->bulges.push_back(i % 2 ? 0.5 : 0.0);
                px += step(rng);
                py += step(rng);
            }
            e = p;
            break;
        }
        case 5:
        case 6: {
            auto c = std::make_shared<mmCircle>();
            c->AddPoint(x, y);
            c->SetRadius(size(rng));
            e = c;
            break;
        }
        case 7: {
            auto a = std::make_shared<mmArc>();
            a->SetThroughThreePoints({x, y}, {x + 3, y + 2}, {x + 6, y - 1}, 0, 0);
            e = a;
            break;
        }
        case 8: {
            auto point = std::make_shared<mmPointObj>();
            point->AddPoint(x, y);
            e = point;
            break;
        }
        default: {
            auto text = std::make_shared<mmText>();
            text->CreateText("A12", glyphs());
            text->SetHeight(size(rng), nullptr);
            text->SetInsertionPoint(x, y);
            e = text;
        }
    }
    PrepareNewEntity(s, *e);
    CompleteGeometry(s, *e);
    AddEntity(s.drawing, e);
}

mmSession& drawing() {
    static QuietHost host;
    static mmSession session(host);
    static const bool filled = [] {
        std::mt19937 rng(12);
        session.drawing.entities.reserve(kEntities);
        for (int i = 0; i < kEntities; ++i)
            addEntity(session, rng);
        PrepareStartupView(session, kWidth, kHeight);
        UpdateSpatialIndex(session.drawing);  // packs the index, as opening does
        return true;
    }();
    (void)filled;
    return session;
}

// The whole drawing, or 250 units across about its middle.
void showView(mmSession& s, bool extents) {
    mmView& view = s.modelView;
    view.zoomExtents(s.drawing.entities);
    if (!extents) view.setZoomScale(kWidth / 250.0);
}

std::vector<std::pair<int, int>> pixels() {
    std::mt19937 rng(7);
    std::vector<std::pair<int, int>> p(4096);
    for (auto& xy : p)
        xy = {static_cast<int>(rng() % kWidth), static_cast<int>(rng() % kHeight)};
    return p;
}

void BM_SnapSearch(benchmark::State& state) {
    mmSession& s = drawing();
    const bool linear = state.range(0) != 0;
    showView(s, state.range(1) != 0);
    s.linearSearch = linear;
    s.commandLine.SubmitMenuCommand(u"LINE");
    s.commandLine.SubmitInput(u"5000,5000", false);
    const auto at = pixels();
    std::size_t i = 0, found = 0;
    for (auto _ : state) {
        const auto [x, y] = at[i++ % at.size()];
        ViewMouseMove(s, x, y);
        found += s.modelView.snapInfo.kind != 0;
    }
    s.commandLine.SubmitInput(u"", false);
    s.linearSearch = false;
    state.counters["snapped"] = static_cast<double>(found) / static_cast<double>(i);
}
BENCHMARK(BM_SnapSearch)
    ->ArgNames({"linear", "extents"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

void BM_Pick(benchmark::State& state) {
    mmSession& s = drawing();
    s.linearSearch = state.range(0) != 0;
    showView(s, state.range(1) != 0);
    const auto at = pixels();
    std::size_t i = 0, hits = 0;
    for (auto _ : state) {
        const auto [x, y] = at[i++ % at.size()];
        s.modelView.SetMousePosition(x, y);
        hits += PickEntity(s, x, y) != nullptr;
    }
    s.linearSearch = false;
    state.counters["hit"] = static_cast<double>(hits) / static_cast<double>(i);
}
BENCHMARK(BM_Pick)
    ->ArgNames({"linear", "extents"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

// A window over a tenth of the drawing (its full width, a tenth of its height), selecting the
// hundred thousand entities inside.
void BM_WindowSelection(benchmark::State& state) {
    mmSession& s = drawing();
    s.linearSearch = state.range(0) != 0;
    showView(s, true);
    mmView& view = s.modelView;
    const mmOriginOffset& o = s.originOffset;
    std::size_t selected = 0;
    for (auto _ : state) {
        view.selectionWindowStarted = true;
        view.selectionWindowCorner = mmVertex(-1.0, 4500.0);
        view.SetCursor(kSide + 1.0 - o.x, 5500.0 - o.y, 0, 0);
        SelectionClick(s);
        selected = SelectionCount(s);
        state.PauseTiming();
        ClearSelection(s);
        state.ResumeTiming();
    }
    s.linearSearch = false;
    state.counters["selected"] = static_cast<double>(selected);
}
BENCHMARK(BM_WindowSelection)->ArgName("linear")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The first search after a million entities were added: the index packs them into a new tree.
void BM_PackIndex(benchmark::State& state) {
    mmSession& s = drawing();
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.drawing.spatialIndex.Clear(s.drawing.entities);
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        UpdateSpatialIndex(s.drawing);
        bytes = mallinfo2().uordblks - before;
    }
    state.counters["boxes"] = static_cast<double>(s.drawing.spatialIndex.size());
    state.counters["bytes_per_entity"] = static_cast<double>(bytes) / kEntities;
    state.counters["sizeof_mmObject"] = sizeof(mmObject);
}
BENCHMARK(BM_PackIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
