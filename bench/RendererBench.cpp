// The view at survey scale in a headless context: a full redraw of 100,000 and 1,000,000 mixed
// entities (lines, polylines, circles, arcs, points, texts, each in its own colour) all in view,
// and the paint after a mouse move, which puts the cached scene back and draws the overlays.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "display/Renderer.h"
#include "display/View.h"
#include "drawing/Drawing.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "platform/HeadlessGL.h"
#include "platform/StderrHost.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

// Entity i of a survey-like sheet: a grid of cells 10 units wide, 1000 cells a row.
mmObjectPtr makeEntity(int i, const mmGlyphTablePtr& glyphs) {
    const double x = (i % 1000) * 10.0;
    const double y = (i / 1000) * 10.0;
    const uint32_t colors[] = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    mmObjectPtr e;
    switch (i % 20) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: {  // 40 % lines
            auto line = std::make_shared<mmLine>();
            line->AddPoint(x, y);
            line->AddPoint(x + 7, y + 3 + (i % 5));
            e = line;
            break;
        }
        case 8: case 9: case 10: case 11: {  // 20 % polylines of five vertices
            auto p = std::make_shared<mmPolyline>();
            for (int k = 0; k < 5; ++k) p->points.emplace_back(x + k * 2, y + (k % 2) * 3);
            e = p;
            break;
        }
        case 12: case 13: case 14: {  // 15 % circles
            auto c = std::make_shared<mmCircle>();
            c->AddPoint(x + 5, y + 5);
            c->SetRadius(1 + (i % 4));
            e = c;
            break;
        }
        case 15: case 16: {  // 10 % arcs
            auto a = std::make_shared<mmArc>();
            a->SetFromBulge(0.5, {x, y}, {x + 8, y + 2});
            e = a;
            break;
        }
        case 17: case 18: {  // 10 % points
            auto p = std::make_shared<mmPointObj>();
            p->AddPoint(x + 3, y + 3);
            e = p;
            break;
        }
        default: {  // 5 % texts
            auto t = std::make_shared<mmText>();
            t->CreateText("P" + std::to_string(i % 1000), glyphs);
            t->SetHeight(2.0, nullptr);
            t->SetInsertionPoint(x, y + 6);
            e = t;
            break;
        }
    }
    e->id = i;
    e->color = colors[i % 5];
    // Widths come by layer: runs of 500 entities, every tenth run drawn 2 pixels wide.
    e->lineWidth = (i / 500) % 10 == 9 ? 2 : 1;
    e->UpdateGrips();
    e->UpdateExtents();
    return e;
}

struct Scene {
    kestrel::platform::StderrHost host;
    std::unique_ptr<kestrel::platform::HeadlessGlContext> gl;
    mmOriginOffset origin;
    mmView view{origin};
    mmSpace space;
    std::unique_ptr<mmRenderer> renderer;

    explicit Scene(int count) {
        std::string error;
        gl = kestrel::platform::HeadlessGlContext::create(kWidth, kHeight, &error);
        if (!gl) {
            std::fprintf(stderr, "no headless OpenGL: %s\n", error.c_str());
            return;
        }
        std::string message;
        view.glyphs = SystemGlyphTable(&message);
        space.entities.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) AddEntity(space, makeEntity(i, view.glyphs));
        renderer = std::make_unique<mmRenderer>(host);
        renderer->InitializeGl(view);
        view.Resize(kWidth, kHeight);
        view.zoomExtents(space.entities);
        view.SetMousePosition(kWidth / 2, kHeight / 2);
        view.mouseInside = true;
        Paint();  // compiles the texts' lists
    }

    void Paint() {
        renderer->Paint(view, {&space, nullptr});
        glFinish();
    }
};

Scene& scene(int count) {
    static std::unique_ptr<Scene> current;
    if (!current || static_cast<int>(current->space.entities.size()) != count) {
        current.reset();
        current = std::make_unique<Scene>(count);
    }
    return *current;
}

void BM_FullRedraw(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Scene& s = scene(count);
    if (!s.renderer) return state.SkipWithError("no GL context");
    for (auto _ : state) {
        s.view.requestRedraw();
        s.Paint();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_FullRedraw)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_MouseMoveWithCache(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Scene& s = scene(count);
    if (!s.renderer) return state.SkipWithError("no GL context");
    int step = 0;
    for (auto _ : state) {
        s.view.SetMousePosition(kWidth / 2 + (step++ % 50), kHeight / 2);
        s.Paint();
    }
    state.counters["full redraws"] = s.view.needsFullRedraw;
}
BENCHMARK(BM_MouseMoveWithCache)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
