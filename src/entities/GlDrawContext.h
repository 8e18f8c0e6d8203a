// The drawing interface sent to the current OpenGL context (legacy fixed-function GL).
#pragma once

#include "entities/DrawContext.h"

// Keep one instance per GL context for as long as the context lives: texts tie their display
// lists to it. With the context current, call DeleteReleasedLists once per paint (lists of
// changed or destroyed texts), and StencilContentsUnknown after the framebuffer was recreated.
// When the GL context itself is destroyed or recreated, call ForgetLists (or destroy this).
class mmGlDrawContext : public mmDrawContext {
public:
    void Begin(int primitive) override;
    void Vertex(double x, double y) override;
    void End() override;
    void Color(float r, float g, float b) override;
    void LineWidth(float width) override;
    void PointSize(float size) override;
    void LineStipple(bool on, int factor, uint16_t pattern) override;
    void PolygonStipple(const uint8_t* mask) override;
    void PushMatrix() override;
    void PopMatrix() override;
    void Translate(double x, double y) override;
    void Scale(double sx, double sy) override;
    void StencilMaskBegin() override;
    void StencilCoverBegin() override;
    void StencilEnd() override;
    uint32_t GenLists(int count) override;
    void NewList(uint32_t list) override;
    void EndList() override;
    void CallList(uint32_t list) override;
    void DeleteLists(uint32_t list, int count) override;
    void NurbsCurve(int knotCount, const float* knots, int stride, const float* controlPoints,
                    int order) override;

    // Fills leave the stencil zero (the cover pass resets what the mask set), so it is cleared
    // only before the first fill. Call this when something else may have written the stencil or
    // the framebuffer was recreated, and the next fill clears it again.
    void StencilContentsUnknown() { stencilClean_ = false; }

    // Sends what is still held back to GL; call before GL calls of one's own.
    void Flush() {}
    // Something other than this context changed the GL colour or line state.
    void ForgetState() {}

private:
    void EnsureCleanStencil();

    bool inPrimitive_ = false;
    bool compiling_ = false;
    bool stencilClean_ = false;
};
