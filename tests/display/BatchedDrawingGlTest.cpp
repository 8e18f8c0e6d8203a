// The batched GL drawing context gives exactly the pixels of plain immediate-mode GL: a scene of
// every entity kind in several colours and widths, highlighted and with grips, is drawn through a
// reference context that sends each call straight to GL and through the batched one.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <memory>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/GlDrawContext.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "platform/HeadlessGL.h"

using kestrel::platform::HeadlessGlContext;
using kestrel::platform::Image;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 180;

// Every call straight to GL, as glBegin/glVertex code does it.
class ImmediateDrawContext : public mmDrawContext {
public:
    void Begin(int p) override {
        glBegin(static_cast<GLenum>(p));
        open_ = true;
    }
    void Vertex(double x, double y) override { glVertex2d(x, y); }
    void End() override {
        glEnd();
        open_ = false;
    }
    void Color(float r, float g, float b) override { glColor3f(r, g, b); }
    void LineWidth(float w) override {
        if (!open_) glLineWidth(w);
    }
    void PointSize(float s) override { glPointSize(s); }
    void LineStipple(bool on, int factor, uint16_t pattern) override {
        if (on) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(factor, pattern);
        } else {
            glDisable(GL_LINE_STIPPLE);
        }
    }
    void PolygonStipple(const uint8_t* mask) override {
        if (mask) {
            glEnable(GL_POLYGON_STIPPLE);
            glPolygonStipple(mask);
        } else {
            glDisable(GL_POLYGON_STIPPLE);
        }
    }
    void PushMatrix() override { glPushMatrix(); }
    void PopMatrix() override { glPopMatrix(); }
    void Translate(double x, double y) override { glTranslated(x, y, 0); }
    void Scale(double sx, double sy) override { glScaled(sx, sy, 1); }
    void StencilMaskBegin() override {
        glClear(GL_STENCIL_BUFFER_BIT);
        glEnable(GL_STENCIL_TEST);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glStencilFunc(GL_ALWAYS, 0, 1);
        glStencilOp(GL_INVERT, GL_INVERT, GL_INVERT);
    }
    void StencilCoverBegin() override {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glStencilFunc(GL_EQUAL, 1, 1);
        glStencilOp(GL_KEEP, GL_KEEP, GL_ZERO);
    }
    void StencilEnd() override { glDisable(GL_STENCIL_TEST); }
    uint32_t GenLists(int n) override { return glGenLists(n); }
    void NewList(uint32_t list) override { glNewList(list, GL_COMPILE); }
    void EndList() override { glEndList(); }
    void CallList(uint32_t list) override { glCallList(list); }
    void DeleteLists(uint32_t list, int n) override { glDeleteLists(list, n); }

private:
    bool open_ = false;
};

mmEntityList scene() {
    mmEntityList list;
    const auto add = [&list](mmObjectPtr e, uint32_t color, int width) {
        e->color = color;
        e->lineWidth = width;
        e->UpdateGrips();
        e->UpdateExtents();
        list.push_back(std::move(e));
    };
    for (int i = 0; i < 12; ++i) {
        auto line = std::make_shared<mmLine>();
        line->AddPoint(5 + i * 3, 10);
        line->AddPoint(20 + i * 7, 60 + (i % 3) * 9);
        add(line, 0x10203 * i, 1 + i % 3);
    }
    auto zigzag = std::make_shared<mmPolyline>();
    for (int k = 0; k < 9; ++k) zigzag->AddPoint(100 + k * 12, 20 + (k % 2) * 25);
    zigzag->bulges.assign(9, 0.0);
    zigzag->bulges[3] = 0.6;
    add(zigzag, 0x00AA00, 3);
    auto closed = std::make_shared<mmPolyline>();
    for (const mmVertex& v : {mmVertex(150, 90), mmVertex(220, 95), mmVertex(200, 160)})
        closed->AddPoint(v.x, v.y);
    closed->closed = true;
    add(closed, 0xFF0000, 1);
    for (int i = 0; i < 4; ++i) {
        auto c = std::make_shared<mmCircle>();
        c->AddPoint(40 + i * 25, 120);
        c->SetRadius(6 + i * 3);
        add(c, 0x0000FF + i * 0x3000, i == 2 ? 5 : 1);
    }
    auto arc = std::make_shared<mmArc>();
    arc->SetFromBulge(0.8, {20, 150}, {90, 160});
    add(arc, 0x884400, 2);
    for (int i = 0; i < 5; ++i) {
        auto p = std::make_shared<mmPointObj>();
        p->pointStyle = i % 2 ? kPointStyleDot : kPointStyleDotAndCircle;
        p->AddPoint(120 + i * 9, 140);
        add(p, 0x000000, 1);
    }
    auto spline = std::make_shared<mmSpline>();
    for (const mmVertex& v : {mmVertex(130, 60), mmVertex(160, 110), mmVertex(190, 40), mmVertex(230, 80)})
        spline->AddPoint(v.x, v.y);
    spline->knots = {0, 0, 0, 0, 1, 1, 1, 1};
    add(spline, 0x660066, 1);
    auto box = std::make_shared<mmPolyline>();
    for (const mmVertex& v : {mmVertex(60, 70), mmVertex(95, 70), mmVertex(95, 100), mmVertex(60, 100)})
        box->AddPoint(v.x, v.y);
    box->closed = true;
    box->UpdateGrips();
    box->UpdateExtents();
    auto hatch = std::make_shared<mmHatch>();
    hatch->AddBoundary(box, hatch->AddLoop());
    hatch->RebuildFill();
    add(hatch, 0xCC8800, 1);
    std::string message;
    if (mmGlyphTablePtr glyphs = SystemGlyphTable(&message); glyphs && glyphs->Usable()) {
        auto text = std::make_shared<mmText>();
        text->CreateText("Kg 42", glyphs);
        text->SetHeight(14, glyphs);
        text->SetInsertionPoint(150, 10);
        add(text, 0x0000FF, 1);
    }
    return list;
}

Image render(HeadlessGlContext& gl, mmDrawContext& dc, mmEntityList& entities) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    const mmRect view{0, 0, kWidth, kHeight};
    for (int mode : {kDrawNormal, kDrawHighlight, kDrawGrips})
        for (std::size_t i = 0; i < entities.size(); ++i) {
            if (mode != kDrawNormal && i % 3 != 0) continue;  // some of them selected
            mmObject& e = *entities[i];
            dc.Color((e.color & 0xFF) / 255.0f, ((e.color >> 8) & 0xFF) / 255.0f,
                     ((e.color >> 16) & 0xFF) / 255.0f);
            dc.LineWidth(static_cast<float>(e.lineWidth));
            e.Draw(dc, view, mode, 1.0f, prim::kLineStrip, {}, true);
        }
    if (auto* batched = dynamic_cast<mmGlDrawContext*>(&dc)) batched->Flush();
    glFinish();
    return gl.readPixels();
}

}  // namespace

TEST(BatchedDrawing, SamePixelsAsImmediateMode) {
    std::string error;
    auto gl = HeadlessGlContext::create(kWidth, kHeight, &error);
    if (!gl) GTEST_SKIP() << "no headless OpenGL: " << error;
    gl->setPixelProjection();
    glTranslated(0.5, 0.5, 0);  // vertices at pixel centres as well as on pixel edges below
    mmEntityList entities = scene();

    ImmediateDrawContext immediate;
    const Image expected = render(*gl, immediate, entities);
    mmGlDrawContext batched;
    batched.SetBatching(true);
    const Image actual = render(*gl, batched, entities);
    // Twice: the texts' lists now exist, and the stencil is known to be clear.
    const Image again = render(*gl, batched, entities);

    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const auto a = expected.pixel(x, y), b = actual.pixel(x, y), c = again.pixel(x, y);
            differing += !(a.r == b.r && a.g == b.g && a.b == b.b) ||
                         !(a.r == c.r && a.g == c.g && a.b == c.b);
        }
    EXPECT_EQ(differing, 0);
    if (differing) {
        std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
        expected.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/batched-expected.png");
        actual.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/batched-actual.png");
    }
}
