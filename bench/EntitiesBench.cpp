// Texts and polylines at survey scale: laying out 100,000 texts of 20 characters, picking among
// them, drawing texts through their display lists, and one polyline of 1,000,000 vertices (grips,
// extents, one draw into an offscreen framebuffer).
#include <benchmark/benchmark.h>

#include "BenchGlyphs.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "entities/Circle.h"
#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/GlDrawContext.h"
#include "entities/GlyphTable.h"
#include "entities/Hatch.h"
#include "entities/MText.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "platform/HeadlessGL.h"
#include "support/TestView.h"

namespace {

constexpr int kTexts = 100'000;
constexpr int kVertices = 1'000'000;

// "Survey point 0012345": 20 characters.
std::string label(int i) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%07d", i);
    return std::string("Survey point ") + digits;
}

// As the TEXT command builds one: string, height, rotation, insertion point, extents.
std::vector<std::shared_ptr<mmText>> makeTexts(int count, double rotation) {
    std::vector<std::shared_ptr<mmText>> texts;
    texts.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto t = std::make_shared<mmText>();
        t->CreateText(label(i), glyphs());
        t->SetHeight(2.5, nullptr);
        t->SetRotation(rotation, nullptr);
        t->SetInsertionPoint((i % 100) * 60.0, (i / 100) * 5.0);
        t->UpdateExtents();
        texts.push_back(std::move(t));
    }
    return texts;
}

void BM_LayoutTexts(benchmark::State& state) {
    if (!glyphs()->Usable()) return state.SkipWithError("no outline font");
    const double rotation = static_cast<double>(state.range(0));
    for (auto _ : state) {
        auto texts = makeTexts(kTexts, rotation);
        benchmark::DoNotOptimize(texts.data());
        state.PauseTiming();
        texts.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_LayoutTexts)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

// Laying the same texts out again (a colour change by layer, a new glyph table).
void BM_RelayoutTexts(benchmark::State& state) {
    if (!glyphs()->Usable()) return state.SkipWithError("no outline font");
    auto texts = makeTexts(kTexts, static_cast<double>(state.range(0)));
    for (auto _ : state)
        for (const auto& t : texts)
            t->Rebuild(nullptr);
    state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_RelayoutTexts)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

// One click over all texts, every one of them in view (zoomed out on a label grid).
void BM_PickTexts(benchmark::State& state) {
    if (!glyphs()->Usable()) return state.SkipWithError("no outline font");
    static auto texts = makeTexts(kTexts, 0.0);
    TestView view(1920, 1080, 0.25, 10, 1070);
    const mmRect rect = view.rect();
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const auto& t : texts)
            hits += t->HitTest(view.px(61.0), view.py(5.9), rect, view.m, view.scale(), {}, true);
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
    state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_PickTexts)->Unit(benchmark::kMillisecond);

kestrel::platform::HeadlessGlContext* context() {
    static std::unique_ptr<kestrel::platform::HeadlessGlContext> gl = [] {
        std::string error;
        auto c = kestrel::platform::HeadlessGlContext::create(1024, 768, &error);
        if (!c) std::fprintf(stderr, "no headless OpenGL: %s\n", error.c_str());
        return c;
    }();
    return gl.get();
}

// Draws 10,000 texts (lists compiled before timing). Arg 1 clears the whole stencil before every
// fill, as a plain reading of the fill does; arg 0 relies on the cover pass leaving it zero.
void BM_DrawTexts(benchmark::State& state) {
    auto* gl = context();
    if (!gl || !glyphs()->Usable()) return state.SkipWithError("no GL context or font");
    static auto texts = makeTexts(10'000, 0.0);
    gl->setPixelProjection();
    mmGlDrawContext dc;
    const mmRect view{0, 0, 1e9, 1e9};
    const bool clearEach = state.range(0) != 0;
    auto frame = [&] {
        for (const auto& t : texts) {
            if (clearEach) dc.StencilContentsUnknown();
            t->Draw(dc, view, kDrawNormal, 0.2f, prim::kLineStrip, {}, true);
        }
        glFinish();
    };
    glPushMatrix();
    glScaled(0.17, 0.17, 1.0);  // the whole grid of labels in the framebuffer
    frame();                    // compiles the lists
    for (auto _ : state)
        frame();
    glPopMatrix();
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_DrawTexts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A survey traverse: a zig-zag of a million vertices, every tenth segment an arc.
mmPolyline& bigPolyline() {
    static std::unique_ptr<mmPolyline> p = [] {
        auto q = std::make_unique<mmPolyline>();
        q->points.reserve(kVertices);
        for (int i = 0; i < kVertices; ++i)
            q->points.emplace_back(i * 0.5, (i % 2) * 0.7);
        q->bulges.assign(kVertices, 0.0);
        for (int i = 0; i < kVertices; i += 10)
            q->bulges[i] = 0.3;
        q->UpdateGrips();
        q->UpdateExtents();
        return q;
    }();
    return *p;
}

void BM_PolylineGrips(benchmark::State& state) {
    mmPolyline& p = bigPolyline();
    for (auto _ : state) {
        p.UpdateGrips();
        benchmark::DoNotOptimize(p.grips.data());
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_PolylineGrips)->Unit(benchmark::kMillisecond);

void BM_PolylineExtents(benchmark::State& state) {
    mmPolyline& p = bigPolyline();
    for (auto _ : state) {
        p.UpdateExtents();
        benchmark::DoNotOptimize(p.extents);
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_PolylineExtents)->Unit(benchmark::kMillisecond);

void BM_PolylineDraw(benchmark::State& state) {
    auto* gl = context();
    if (!gl) return state.SkipWithError("no GL context");
    mmPolyline& p = bigPolyline();
    gl->setPixelProjection();
    mmGlDrawContext dc;
    glPushMatrix();
    glScaled(1024.0 / (kVertices * 0.5), 100.0, 1.0);
    for (auto _ : state) {
        p.Draw(dc, {-1e12, -1e12, 1e12, 1e12}, kDrawNormal, 0.002f, prim::kLineStrip, {}, true);
        glFinish();
    }
    glPopMatrix();
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_PolylineDraw)->Unit(benchmark::kMillisecond);

void BM_PolylinePick(benchmark::State& state) {
    mmPolyline& p = bigPolyline();
    TestView view(1920, 1080, 2.0, -1000, 540);
    bool hit = false;
    for (auto _ : state) {
        hit = p.HitTest(view.px(700.2), view.py(0.3), view.rect(), view.m, view.scale(), {}, true);
        benchmark::DoNotOptimize(hit);
    }
    state.counters["hit"] = hit;
}
BENCHMARK(BM_PolylinePick)->Unit(benchmark::kMillisecond);

// A site of 1000 x 1000 with 100 round holes, cross-hatched (two families at 45 and 135
// degrees, dash 3, gap 1) at the given spacing.
std::shared_ptr<mmHatch> patternedSite(double spacing) {
    auto h = std::make_shared<mmHatch>();
    auto outline = std::make_shared<mmPolyline>();
    for (const mmVertex& v : {mmVertex(0, 0), mmVertex(1000, 0), mmVertex(1000, 1000), mmVertex(0, 1000)})
        outline->points.push_back(v);
    outline->closed = true;
    outline->UpdateGrips();
    outline->UpdateExtents();
    h->AddBoundary(outline, h->AddLoop());
    for (int i = 0; i < 100; ++i) {
        auto hole = std::make_shared<mmCircle>();
        hole->AddPoint(50 + 100 * (i % 10), 50 + 100 * (i / 10));
        hole->SetRadius(30);
        hole->UpdateGrips();
        hole->UpdateExtents();
        h->AddBoundary(hole, h->AddLoop());
    }
    h->RebuildFill();
    h->solidFill = false;
    for (double angle : {45.0, 135.0}) {
        mmHatchPatternLine line;
        line.angle = angle;
        line.offsetX = -std::sin(angle * kDegToRad) * spacing;
        line.offsetY = std::cos(angle * kDegToRad) * spacing;
        line.dashes = {3.0, -1.0};
        h->patternLines.push_back(line);
    }
    h->PatternChanged();
    return h;
}

// The spacing by argument: 1 for 2 units (about 185,000 dashes), 2 for 0.5 (about 740,000), 0
// for one far too fine, which is refused.
double spacingOf(int64_t arg) { return arg == 1 ? 2.0 : arg == 2 ? 0.5 : 1e-4; }

void BM_ClipHatchPattern(benchmark::State& state) {
    auto h = patternedSite(spacingOf(state.range(0)));
    bool fits = false;
    for (auto _ : state) {
        h->PatternChanged();
        fits = h->PreparePattern();
        benchmark::DoNotOptimize(fits);
    }
    state.counters["dashes"] = static_cast<double>(h->PatternGeometry().segments.size() / 4);
    state.counters["fits"] = fits;
}
BENCHMARK(BM_ClipHatchPattern)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond);

// The clipped pattern drawn as the renderer draws (batched), the whole site in the window.
void BM_DrawHatchPattern(benchmark::State& state) {
    auto* gl = context();
    if (!gl) return state.SkipWithError("no GL context");
    auto h = patternedSite(spacingOf(state.range(0)));
    h->PreparePattern();
    gl->setPixelProjection();
    mmGlDrawContext dc;
    dc.SetBatching(true);
    glPushMatrix();
    glScaled(0.7, 0.7, 1.0);
    for (auto _ : state) {
        dc.Color(0.0f, 0.0f, 1.0f);
        h->Draw(dc, {-1e12, -1e12, 1e12, 1e12}, kDrawNormal, 0.7f, prim::kLineStrip, {}, true);
        dc.Flush();
        glFinish();
    }
    dc.SetBatching(false);
    glPopMatrix();
    state.counters["dashes"] = static_cast<double>(h->PatternGeometry().segments.size() / 4);
}
BENCHMARK(BM_DrawHatchPattern)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    std::printf("sizeof: mmPolyline %zu, mmSpline %zu, mmHatch %zu, mmText %zu, mmMText %zu\n",
                sizeof(mmPolyline), sizeof(mmSpline), sizeof(mmHatch), sizeof(mmText),
                sizeof(mmMText));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
