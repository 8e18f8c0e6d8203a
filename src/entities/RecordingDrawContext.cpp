// Recording implementation of the drawing interface.
#include "entities/RecordingDrawContext.h"

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
