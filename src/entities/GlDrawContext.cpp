// OpenGL implementation of the drawing interface, with primitives batched into vertex arrays.
#define GL_GLEXT_PROTOTYPES 1
#include "entities/GlDrawContext.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>

#include "entities/Spline.h"

namespace {

// Primitives whose vertices fall into independent groups (points, lines, triangles, quads) can
// share one range of a draw; 0 for the rest.
int groupSize(int primitive) {
    switch (primitive) {
        case GL_POINTS:
            return 1;
        case GL_LINES:
            return 2;
        case GL_TRIANGLES:
            return 3;
        case GL_QUADS:
            return 4;
        default:
            return 0;
    }
}

// A batch is sent once it holds this many floats, so its arrays stay in the caches.
constexpr std::size_t kBatchFloats = 1 << 16;

}  // namespace

void mmGlDrawContext::SetBatching(bool on) {
    if (!on) {
        Flush();
        UnbindArrays();
    } else {
        // Room for a full batch and the primitive that ends it: the arrays rarely move.
        vertices_.reserve(2 * kBatchFloats);
        colors_.reserve(3 * kBatchFloats);
    }
    batching_ = on;
}

// Changing the arrays costs the driver more than the draw of a small batch: while batching they
// stay enabled, and are given again only when the buffers moved.
void mmGlDrawContext::BindArrays() {
    if (!arraysBound_) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        arraysBound_ = true;
        boundVertices_ = boundColors_ = nullptr;
    }
    if (boundVertices_ != vertices_.data()) {
        boundVertices_ = vertices_.data();
        glVertexPointer(2, GL_FLOAT, 0, boundVertices_);
    }
    if (boundColors_ != colors_.data()) {
        boundColors_ = colors_.data();
        glColorPointer(3, GL_FLOAT, 0, boundColors_);
    }
}

void mmGlDrawContext::UnbindArrays() {
    if (!arraysBound_) return;
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    arraysBound_ = false;
}

void mmGlDrawContext::ForgetArrays() {
    arraysBound_ = false;
}

void mmGlDrawContext::Flush() {
    if (!counts_.empty()) {
        BindArrays();
        const auto mode = static_cast<GLenum>(batchPrimitive_);
        if (counts_.size() == 1)
            glDrawArrays(mode, firsts_[0], counts_[0]);
        else
            glMultiDrawArrays(mode, firsts_.data(), counts_.data(),
                              static_cast<GLsizei>(counts_.size()));
        if (!batching_) UnbindArrays();
        vertices_.clear();
        colors_.clear();
        firsts_.clear();
        counts_.clear();
        colorSent_ = false;  // undefined after a colour array
    }
    // GL's current colour is the last one given, for whoever draws directly next.
    if (!colorSent_ && colorKnown_) glColor3f(color_[0], color_[1], color_[2]);
    colorSent_ = true;
}

void mmGlDrawContext::ForgetState() {
    colorKnown_ = lineWidthKnown_ = pointSizeKnown_ = false;
    colorSent_ = true;  // nothing of ours is pending
}

bool mmGlDrawContext::BeforeStateChange() {
    if (inPrimitive_) return false;
    Flush();
    return true;
}

// Without stipple a line strip or loop is rasterised exactly as its segments drawn as separate
// lines (each segment leaves out its last pixel either way), so it joins a batch of lines.
// A display list gets plain immediate-mode primitives: the driver stores those most compactly
// and replays them fastest.
void mmGlDrawContext::Begin(int primitive) {
    if (inPrimitive_) return;  // nested: GL would reject it
    if (compiling_) {
        Flush();
        glBegin(static_cast<GLenum>(primitive));
        inPrimitive_ = true;
        return;
    }
    segmentsOf_ = -1;
    if ((primitive == GL_LINE_STRIP || primitive == GL_LINE_LOOP) && !lineStippleOn_) {
        segmentsOf_ = primitive;
        primitive = GL_LINES;
    }
    if (primitive != batchPrimitive_) Flush();
    // Drawn without a colour of ours, a primitive takes GL's current one.
    if (!colorKnown_) {
        glGetFloatv(GL_CURRENT_COLOR, color_);
        colorKnown_ = true;
    }
    batchPrimitive_ = primitive;
    primitiveStart_ = vertices_.size() / 2;
    primitiveVertices_ = 0;
    inPrimitive_ = true;
}

void mmGlDrawContext::PushVertex(const float* vertex) {
    vertices_.insert(vertices_.end(), vertex, vertex + 2);
    colors_.insert(colors_.end(), vertex + 2, vertex + 5);
}

void mmGlDrawContext::Vertex(double x, double y) {
    if (!inPrimitive_) return;
    if (compiling_) {
        glVertex2d(x, y);
        return;
    }
    const float v[5] = {static_cast<float>(x), static_cast<float>(y), color_[0], color_[1],
                        color_[2]};
    if (segmentsOf_ >= 0) {
        // Each vertex after the first ends the segment from the one before.
        if (primitiveVertices_ == 0) {
            std::copy(v, v + 5, firstVertex_);
        } else {
            PushVertex(lastVertex_);
            PushVertex(v);
        }
        std::copy(v, v + 5, lastVertex_);
    } else {
        PushVertex(v);
    }
    ++primitiveVertices_;
}

void mmGlDrawContext::End() {
    if (!inPrimitive_) return;
    inPrimitive_ = false;
    if (compiling_) {
        glEnd();
        return;
    }
    if (segmentsOf_ == GL_LINE_LOOP && primitiveVertices_ > 1) {
        PushVertex(lastVertex_);
        PushVertex(firstVertex_);
    }
    const std::size_t count = vertices_.size() / 2 - primitiveStart_;
    const int group = groupSize(batchPrimitive_);
    const bool whole = group > 0 && count % static_cast<std::size_t>(group) == 0;
    if (count > 0 && whole && lastWhole_ && !counts_.empty()) {
        counts_.back() += static_cast<int>(count);
    } else if (count > 0) {
        firsts_.push_back(static_cast<int>(primitiveStart_));
        counts_.push_back(static_cast<int>(count));
        lastWhole_ = whole;
    }
    if (!batching_ || vertices_.size() >= kBatchFloats) Flush();
}

// Every vertex carries the colour given last, as glColor gives it inside and outside glBegin:
// colour changes need no flush.
void mmGlDrawContext::Color(float r, float g, float b) {
    if (colorKnown_ && color_[0] == r && color_[1] == g && color_[2] == b) return;
    color_[0] = r;
    color_[1] = g;
    color_[2] = b;
    colorKnown_ = true;
    colorSent_ = false;
    if (compiling_) {
        glColor3f(r, g, b);
        colorSent_ = true;
    }
}

// GL rejects a width change inside glBegin/glEnd; entities emitting into a caller's fan ask anyway.
void mmGlDrawContext::LineWidth(float width) {
    if (lineWidthKnown_ && lineWidth_ == width) return;
    if (!BeforeStateChange()) return;
    glLineWidth(width);
    lineWidth_ = width;
    lineWidthKnown_ = true;
}

void mmGlDrawContext::PointSize(float size) {
    if (pointSizeKnown_ && pointSize_ == size) return;
    if (!BeforeStateChange()) return;
    glPointSize(size);
    pointSize_ = size;
    pointSizeKnown_ = true;
}

void mmGlDrawContext::LineStipple(bool on, int factor, uint16_t pattern) {
    if (!BeforeStateChange()) return;
    lineStippleOn_ = on;
    if (on) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(factor, pattern);
    } else {
        glDisable(GL_LINE_STIPPLE);
    }
}

void mmGlDrawContext::PolygonStipple(const uint8_t* mask) {
    if (!BeforeStateChange()) return;
    if (mask) {
        glEnable(GL_POLYGON_STIPPLE);
        glPolygonStipple(mask);
    } else {
        glDisable(GL_POLYGON_STIPPLE);
    }
}

void mmGlDrawContext::PushMatrix() {
    if (BeforeStateChange()) glPushMatrix();
}
void mmGlDrawContext::PopMatrix() {
    if (BeforeStateChange()) glPopMatrix();
}
void mmGlDrawContext::Translate(double x, double y) {
    if (BeforeStateChange()) glTranslated(x, y, 0.0);
}
void mmGlDrawContext::Scale(double sx, double sy) {
    if (BeforeStateChange()) glScaled(sx, sy, 1.0);
}

void mmGlDrawContext::EnsureCleanStencil() {
    if (stencilClean_ || compiling_) return;
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    stencilClean_ = true;
}

void mmGlDrawContext::StencilMaskBegin() {
    if (!BeforeStateChange()) return;
    EnsureCleanStencil();
    glEnable(GL_STENCIL_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilFunc(GL_ALWAYS, 0, 1);
    glStencilOp(GL_INVERT, GL_INVERT, GL_INVERT);
}

// Fragments that pass are filled and their stencil reset, so the next fill starts from zero.
void mmGlDrawContext::StencilCoverBegin() {
    if (!BeforeStateChange()) return;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_ZERO);
}

void mmGlDrawContext::StencilEnd() {
    if (BeforeStateChange()) glDisable(GL_STENCIL_TEST);
}

uint32_t mmGlDrawContext::GenLists(int count) {
    if (!BeforeStateChange()) return 0;
    return glGenLists(count);
}

// What a list compiles is not executed: the state last sent is unknown inside and after it.
void mmGlDrawContext::NewList(uint32_t list) {
    if (!BeforeStateChange()) return;
    glNewList(list, GL_COMPILE);
    compiling_ = true;
    ForgetState();
}
void mmGlDrawContext::EndList() {
    if (!BeforeStateChange()) return;
    glEndList();
    compiling_ = false;
    ForgetState();
}
void mmGlDrawContext::CallList(uint32_t list) {
    if (!BeforeStateChange()) return;
    EnsureCleanStencil();  // a list may hold a fill
    glCallList(list);
    ForgetState();  // and set colours and widths
}
void mmGlDrawContext::DeleteLists(uint32_t list, int count) {
    if (!BeforeStateChange()) return;
    if (list != 0 && count > 0) glDeleteLists(list, count);
}

void mmGlDrawContext::NurbsCurve(int knotCount, const float* knots, int stride,
                                 const float* controlPoints, int order) {
    if (inPrimitive_) {
        // Only vertices may go into the open primitive, and GLU's renderer makes GL calls of its
        // own even when it only tessellates: evaluate the curve here.
        EvaluateSplineCurve(knotCount, knots, stride, controlPoints, order, 16,
                            [this](double x, double y) { Vertex(x, y); });
        return;
    }
    Flush();
    GLUnurbs* nurbs = gluNewNurbsRenderer();
    if (!nurbs) return;
    // GLU's default of 50 pixels per sampled segment shows curves as visible polygons.
    gluNurbsProperty(nurbs, GLU_SAMPLING_TOLERANCE, 5.0f);
    gluBeginCurve(nurbs);
    gluNurbsCurve(nurbs, knotCount, const_cast<float*>(knots), stride,
                  const_cast<float*>(controlPoints), order, GL_MAP1_VERTEX_3);
    gluEndCurve(nurbs);
    gluDeleteNurbsRenderer(nurbs);
}

// The colour-buffer bits hold the logic op; texturing and the bound texture are put back by hand.
void mmGlDrawContext::BeginImage(bool xorOp) {
    if (!BeforeStateChange()) return;
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3f(1.0f, 1.0f, 1.0f);
    if (xorOp) {
        glEnable(GL_COLOR_LOGIC_OP);
        glLogicOp(GL_XOR);
    }
}

void mmGlDrawContext::TexturedQuad(uint32_t texture, double x, double y, float s, float t) {
    if (!BeforeStateChange()) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2d(0.0, 0.0);
    glTexCoord2f(0.0f, t);
    glVertex2d(0.0, y);
    glTexCoord2f(s, t);
    glVertex2d(x, y);
    glTexCoord2f(s, 0.0f);
    glVertex2d(x, 0.0);
    glEnd();
}

void mmGlDrawContext::EndImage() {
    if (!BeforeStateChange()) return;
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopAttrib();
    ForgetState();
}

void mmGlDrawContext::DeleteTextures(const uint32_t* names, int count) {
    if (!BeforeStateChange()) return;
    if (count > 0) glDeleteTextures(count, names);
}
