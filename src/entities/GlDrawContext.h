// The drawing interface sent to the current OpenGL context (legacy fixed-function GL).
#pragma once

#include <vector>

#include "entities/DrawContext.h"

// Keep one instance per GL context for as long as the context lives: texts tie their display
// lists to it. With the context current, call DeleteReleasedLists once per paint (lists of
// changed or destroyed texts), and StencilContentsUnknown after the framebuffer was recreated.
// When the GL context itself is destroyed or recreated, call ForgetLists (or destroy this).
//
// Primitives are gathered into client-side vertex arrays and sent as one multi-draw per run of
// primitives of the same kind in the same state, which GL rasterises exactly as the separate
// primitives. Without batching (the default) every primitive is sent at its End; with batching
// the owner calls Flush before making GL calls of its own.
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
    void BeginImage(bool xorOp) override;
    void TexturedQuad(uint32_t texture, double x, double y, float s, float t) override;
    void EndImage() override;
    void DeleteTextures(const uint32_t* names, int count) override;

    // Fills leave the stencil zero (the cover pass resets what the mask set), so it is cleared
    // only before the first fill. Call this when something else may have written the stencil or
    // the framebuffer was recreated, and the next fill clears it again.
    void StencilContentsUnknown() { stencilClean_ = false; }

    // Holds primitives back across Ends (on) or sends each at its End (off, flushing).
    void SetBatching(bool on);
    // Sends what is still held back to GL, the current colour included; call before GL calls of
    // one's own.
    void Flush();
    // Call after GL calls of one's own that may have changed the colour, line width or point
    // size.
    void ForgetState();
    // While batching the vertex and colour arrays stay enabled between draws. Call this when GL
    // calls of one's own (or a new context) may have changed the client arrays.
    void ForgetArrays();

private:
    void EnsureCleanStencil();
    // Flushes before a state change; false inside a primitive, where GL ignores the change.
    bool BeforeStateChange();
    void PushVertex(const float* vertex);  // x, y, r, g, b
    void BindArrays();
    void UnbindArrays();

    bool inPrimitive_ = false;
    bool compiling_ = false;
    bool stencilClean_ = false;
    bool batching_ = false;

    // The batch: vertices (x, y) with their colours (r, g, b) of primitives of one kind, and the
    // first vertex and count of each primitive.
    int batchPrimitive_ = -1;
    std::size_t primitiveStart_ = 0;
    std::vector<float> vertices_;
    std::vector<float> colors_;
    std::vector<int> firsts_;
    std::vector<int> counts_;
    // A line strip or loop being turned into lines: its kind (-1 for none), first and last
    // vertex.
    int segmentsOf_ = -1;
    int primitiveVertices_ = 0;
    float firstVertex_[5] = {};
    float lastVertex_[5] = {};
    bool lastWhole_ = false;  // the last range holds whole groups and may take more
    bool lineStippleOn_ = false;
    bool arraysBound_ = false;
    const float* boundVertices_ = nullptr;
    const float* boundColors_ = nullptr;

    // The state last sent, to skip repeats.
    float color_[3] = {0.0f, 0.0f, 0.0f};
    bool colorKnown_ = false;
    bool colorSent_ = true;  // GL's current colour is color_ (or, when not known, left alone)
    float lineWidth_ = 1.0f;
    bool lineWidthKnown_ = false;
    float pointSize_ = 1.0f;
    bool pointSizeKnown_ = false;
};
