// OpenGL implementation of the drawing interface.
#include "entities/GlDrawContext.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "entities/Spline.h"

void mmGlDrawContext::Begin(int primitive) {
    glBegin(static_cast<GLenum>(primitive));
    inPrimitive_ = true;
}
void mmGlDrawContext::Vertex(double x, double y) { glVertex2d(x, y); }
void mmGlDrawContext::End() {
    glEnd();
    inPrimitive_ = false;
}
void mmGlDrawContext::Color(float r, float g, float b) { glColor3f(r, g, b); }
// GL rejects a width change inside glBegin/glEnd; entities emitting into a caller's fan ask anyway.
void mmGlDrawContext::LineWidth(float width) {
    if (!inPrimitive_) glLineWidth(width);
}
void mmGlDrawContext::PointSize(float size) { glPointSize(size); }

void mmGlDrawContext::LineStipple(bool on, int factor, uint16_t pattern) {
    if (on) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(factor, pattern);
    } else {
        glDisable(GL_LINE_STIPPLE);
    }
}

void mmGlDrawContext::PolygonStipple(const uint8_t* mask) {
    if (mask) {
        glEnable(GL_POLYGON_STIPPLE);
        glPolygonStipple(mask);
    } else {
        glDisable(GL_POLYGON_STIPPLE);
    }
}

void mmGlDrawContext::PushMatrix() { glPushMatrix(); }
void mmGlDrawContext::PopMatrix() { glPopMatrix(); }
void mmGlDrawContext::Translate(double x, double y) { glTranslated(x, y, 0.0); }
void mmGlDrawContext::Scale(double sx, double sy) { glScaled(sx, sy, 1.0); }

void mmGlDrawContext::EnsureCleanStencil() {
    if (stencilClean_ || compiling_) return;
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    stencilClean_ = true;
}

void mmGlDrawContext::StencilMaskBegin() {
    EnsureCleanStencil();
    glEnable(GL_STENCIL_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilFunc(GL_ALWAYS, 0, 1);
    glStencilOp(GL_INVERT, GL_INVERT, GL_INVERT);
}

// Fragments that pass are filled and their stencil reset, so the next fill starts from zero.
void mmGlDrawContext::StencilCoverBegin() {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_ZERO);
}

void mmGlDrawContext::StencilEnd() { glDisable(GL_STENCIL_TEST); }

uint32_t mmGlDrawContext::GenLists(int count) { return glGenLists(count); }
void mmGlDrawContext::NewList(uint32_t list) {
    glNewList(list, GL_COMPILE);
    compiling_ = true;
}
void mmGlDrawContext::EndList() {
    glEndList();
    compiling_ = false;
}
void mmGlDrawContext::CallList(uint32_t list) {
    EnsureCleanStencil();  // a list may hold a fill
    glCallList(list);
}
void mmGlDrawContext::DeleteLists(uint32_t list, int count) {
    if (list != 0 && count > 0) glDeleteLists(list, count);
}

void mmGlDrawContext::NurbsCurve(int knotCount, const float* knots, int stride,
                                 const float* controlPoints, int order) {
    if (inPrimitive_) {
        // Only vertices may go into the open primitive, and GLU's renderer makes GL calls of its
        // own even when it only tessellates: evaluate the curve here.
        EvaluateSplineCurve(knotCount, knots, stride, controlPoints, order, 16,
                            [](double x, double y) { glVertex2d(x, y); });
        return;
    }
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
