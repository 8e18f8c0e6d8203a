// A drawing interface that records the primitives it is given, with the state they were drawn
// in, so tests can assert geometry without pixels. Display lists are recorded and replayed.
#pragma once

#include <map>
#include <vector>

#include "entities/DrawContext.h"
#include "entities/Vertex.h"

struct mmRecordedPrimitive {
    int primitive = 0;
    std::vector<mmVertex> vertices;  // after the current translate/scale
    float color[3] = {0, 0, 0};
    float lineWidth = 1.0f;
    bool lineStipple = false;
    int stippleFactor = 1;
    uint16_t stipplePattern = 0xFFFF;
    bool polygonStipple = false;
    // 0 outside a stencil fill, 1 while the stencil mask is drawn, 2 while the cover is drawn.
    int stencilPhase = 0;
    // A textured quad of a raster image (primitive quads): its texture, the texture coordinates
    // of its far corner, and whether it was drawn with the logic op XOR.
    uint32_t texture = 0;
    float texS = 0.0f;
    float texT = 0.0f;
    bool logicXor = false;
};

class mmRecordingDrawContext : public mmDrawContext {
public:
    std::vector<mmRecordedPrimitive> primitives;
    int errors = 0;  // vertices outside a primitive, nested Begin, unbalanced matrices, ...

    void Clear() { primitives.clear(); errors = 0; }

    void Begin(int primitive) override;
    void Vertex(double x, double y) override;
    void End() override;
    void Color(float r, float g, float b) override;
    void LineWidth(float width) override { state_.lineWidth = width; }
    void PointSize(float) override {}
    void LineStipple(bool on, int factor, uint16_t pattern) override;
    void PolygonStipple(const uint8_t* mask) override { state_.polygonStipple = mask != nullptr; }
    void PushMatrix() override { stack_.push_back(transform_); }
    void PopMatrix() override;
    void Translate(double x, double y) override;
    void Scale(double sx, double sy) override;
    void StencilMaskBegin() override { state_.stencilPhase = 1; }
    void StencilCoverBegin() override { state_.stencilPhase = 2; }
    void StencilEnd() override { state_.stencilPhase = 0; }
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
    // Textures given back through DeleteTextures, in order.
    std::vector<uint32_t> deletedTextures;

    // Number of live display lists.
    std::size_t ListCount() const { return lists_.size(); }

private:
    struct Transform {
        double sx = 1, sy = 1, tx = 0, ty = 0;
    };
    // Recorded list entries keep untransformed vertices; they are transformed when called.
    std::vector<mmRecordedPrimitive>& target() { return recordingList_ ? lists_[recordingList_] : primitives; }
    mmVertex apply(double x, double y) const;

    mmRecordedPrimitive state_;
    float colorBeforeImage_[3] = {0, 0, 0};
    bool open_ = false;
    Transform transform_;
    std::vector<Transform> stack_;
    std::map<uint32_t, std::vector<mmRecordedPrimitive>> lists_;
    uint32_t nextList_ = 1;
    uint32_t recordingList_ = 0;
};
