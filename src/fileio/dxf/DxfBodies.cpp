// The MTEXT and SPLINE bodies shared by both saves.
#include "fileio/dxf/DxfBodies.h"

#include <algorithm>

#include "entities/MText.h"
#include "entities/Spline.h"
#include "entities/Viewport.h"
#include "fileio/dxf/DxfStrings.h"
#include "fileio/dxf/DxfWriter.h"
#include "platform/CodePage.h"

namespace {

// Multi-line text is written with its codes as it was read; a line break within it becomes a
// paragraph code.
void mtextLine(std::string_view text, std::string& out) {
    out.clear();
    for (const char c : text) {
        if (c == '\r') continue;
        if (c == '\n')
            out += "\\P";
        else
            out += c;
    }
}

// Text longer than a chunk goes in 3 groups of 250 bytes, the rest in 1.
constexpr std::size_t kMTextChunk = 250;

mmVertex pointAt(const mmObject& e, std::size_t i) {
    return i < e.points.size() ? e.points[i] : mmVertex();
}

}  // namespace

void writeDxfMTextBody(DxfWriter& w, const mmMText& t, const mmVertex& offset,
                       std::string& scratch, std::string& encoded) {
    const mmVertex p = pointAt(t, 0);
    w.writeGroupString(100, "AcDbMText");
    w.writeGroupReal(10, p.x + offset.x);
    w.writeGroupReal(20, p.y + offset.y);
    w.writeGroupReal(30, 0.0);
    w.writeGroupReal(40, t.height);
    if (t.rectangleWidth > 0.0) w.writeGroupReal(41, t.rectangleWidth);
    w.writeGroupInt(71, t.attachment);
    if (t.lineSpacing != 1.0) w.writeGroupReal(44, t.lineSpacing);
    mtextLine(t.String(), scratch);
    EncodeDxfString(scratch, w.codePage(), encoded);
    std::string_view rest = encoded;
    // A chunk never ends inside an escape or a UTF-8 sequence the reader would see split.
    while (rest.size() >= kMTextChunk) {
        std::size_t n = kMTextChunk;
        const std::size_t slash = rest.substr(0, n).rfind('\\');
        if (slash != std::string_view::npos && n - slash < 8) n = slash;
        if (n == 0) n = kMTextChunk;
        w.writeGroupString(3, rest.substr(0, n));
        rest.remove_prefix(n);
    }
    w.writeGroupString(1, rest);
    w.writeGroupString(7, "Standard");
    w.writeGroupReal(50, t.rotation);
}

// The definition as it is kept: flags, degree, knots, weights, control points, fit points and
// their tangents.
void writeDxfSplineBody(DxfWriter& w, const mmSpline& s, const mmVertex& offset) {
    w.writeGroupString(100, "AcDbSpline");
    w.writeGroupInt(70, s.flags);
    w.writeGroupInt(71, s.degree);
    w.writeGroupInt(72, static_cast<int64_t>(s.knots.size()));
    w.writeGroupInt(73, static_cast<int64_t>(s.points.size()));
    w.writeGroupInt(74, static_cast<int64_t>(s.fitPoints.size()));
    for (const auto& [code, t] : {std::pair{12, s.startTangent}, std::pair{13, s.endTangent}}) {
        if (t.x == 0.0 && t.y == 0.0) continue;
        w.writeGroupReal(code, t.x);
        w.writeGroupReal(code + 10, t.y);
        w.writeGroupReal(code + 20, 0.0);
    }
    for (const double k : s.knots)
        w.writeGroupReal(40, k);
    for (const double weight : s.weights)
        w.writeGroupReal(41, weight);
    for (const auto& [code, list] : {std::pair{10, &s.points}, std::pair{11, &s.fitPoints}})
        for (const mmVertex& p : *list) {
            w.writeGroupReal(code, offset.x + p.x);
            w.writeGroupReal(code + 10, offset.y + p.y);
            w.writeGroupReal(code + 20, 0.0);
        }
}

DxfViewportFrame DxfViewportFrameOf(const mmViewport& viewport) {
    const mmVertex& a = viewport.points[0];
    const mmVertex& c = viewport.points[2];
    DxfViewportFrame f;
    f.centre = mmVertex((a.x + c.x) / 2.0, (a.y + c.y) / 2.0);
    f.width = c.x - a.x;
    f.height = c.y - a.y;
    f.index = std::max(viewport.viewSlot, 0) + 2;
    const mmRect& m = viewport.modelWindow;
    const bool known = m.minX <= m.maxX && m.minY <= m.maxY;
    f.viewCentre = known ? mmVertex((m.minX + m.maxX) / 2.0, (m.minY + m.maxY) / 2.0) : mmVertex();
    f.viewHeight = known ? m.maxY - m.minY : f.height;
    return f;
}
