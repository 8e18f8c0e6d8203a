// Recording implementation of the drawing interface.
#include "entities/RecordingDrawContext.h"

#include <algorithm>

mmVertex mmRecordingDrawContext::apply(double x, double y) const {
    if (recordingList_) return mmVertex(x, y);
    return mmVertex(transform_.sx * x + transform_.tx, transform_.sy * y + transform_.ty);
}

void mmRecordingDrawContext::Begin(int primitive) {
    if (open_) ++errors;
    open_ = true;
    mmRecordedPrimitive p = state_;
    p.primitive = primitive;
    p.vertices.clear();
    target().push_back(std::move(p));
}

void mmRecordingDrawContext::Vertex(double x, double y) {
    if (!open_) {
        ++errors;
        return;
    }
    target().back().vertices.push_back(apply(x, y));
}

void mmRecordingDrawContext::End() {
    if (!open_) ++errors;
    open_ = false;
}

void mmRecordingDrawContext::Color(float r, float g, float b) {
    state_.color[0] = r;
    state_.color[1] = g;
    state_.color[2] = b;
}

void mmRecordingDrawContext::LineStipple(bool on, int factor, uint16_t pattern) {
    state_.lineStipple = on;
    state_.stippleFactor = factor;
    state_.stipplePattern = pattern;
}

void mmRecordingDrawContext::PopMatrix() {
    if (stack_.empty()) {
        ++errors;
        return;
    }
    transform_ = stack_.back();
    stack_.pop_back();
}

void mmRecordingDrawContext::Translate(double x, double y) {
    transform_.tx += transform_.sx * x;
    transform_.ty += transform_.sy * y;
}

void mmRecordingDrawContext::Scale(double sx, double sy) {
    transform_.sx *= sx;
    transform_.sy *= sy;
}

uint32_t mmRecordingDrawContext::GenLists(int count) {
    const uint32_t first = nextList_;
    for (int i = 0; i < count; ++i) lists_[nextList_++];
    return first;
}

void mmRecordingDrawContext::NewList(uint32_t list) {
    if (recordingList_ || !lists_.count(list)) ++errors;
    recordingList_ = list;
    lists_[list].clear();
}

void mmRecordingDrawContext::EndList() {
    if (!recordingList_) ++errors;
    recordingList_ = 0;
}

void mmRecordingDrawContext::CallList(uint32_t list) {
    auto it = lists_.find(list);
    if (it == lists_.end()) return;  // as GL: calling an unknown list does nothing
    for (const mmRecordedPrimitive& p : it->second) {
        mmRecordedPrimitive copy = p;
        for (mmVertex& v : copy.vertices) v = apply(v.x, v.y);
        target().push_back(std::move(copy));
    }
}

void mmRecordingDrawContext::DeleteLists(uint32_t list, int count) {
    for (int i = 0; i < count; ++i) lists_.erase(list + i);
}

void mmRecordingDrawContext::NurbsCurve(int knotCount, const float*, int stride,
                                        const float* controlPoints, int order) {
    // Recorded as its control polygon, tagged with the order as primitive code -order; inside an
    // open primitive the control points join it as vertices.
    const int count = knotCount - order;
    if (open_) {
        for (int i = 0; i < count; ++i)
            Vertex(controlPoints[i * stride], controlPoints[i * stride + 1]);
        return;
    }
    mmRecordedPrimitive p = state_;
    p.primitive = -order;
    for (int i = 0; i < count; ++i)
        p.vertices.push_back(apply(controlPoints[i * stride], controlPoints[i * stride + 1]));
    target().push_back(std::move(p));
}

// Images are drawn in white (the texture's own colours); the colour before comes back after.
void mmRecordingDrawContext::BeginImage(bool xorOp) {
    std::copy(state_.color, state_.color + 3, colorBeforeImage_);
    Color(1.0f, 1.0f, 1.0f);
    state_.logicXor = xorOp;
}

void mmRecordingDrawContext::EndImage() {
    Color(colorBeforeImage_[0], colorBeforeImage_[1], colorBeforeImage_[2]);
    state_.logicXor = false;
}

void mmRecordingDrawContext::TexturedQuad(uint32_t texture, double x, double y, float s, float t) {
    if (open_) ++errors;
    mmRecordedPrimitive p = state_;
    p.primitive = prim::kQuads;
    p.texture = texture;
    p.texS = s;
    p.texT = t;
    p.vertices = {apply(0.0, 0.0), apply(0.0, y), apply(x, y), apply(x, 0.0)};
    target().push_back(std::move(p));
}

void mmRecordingDrawContext::DeleteTextures(const uint32_t* names, int count) {
    deletedTextures.insert(deletedTextures.end(), names, names + count);
}
