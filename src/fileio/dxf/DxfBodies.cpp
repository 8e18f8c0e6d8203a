// The MTEXT and SPLINE bodies shared by both saves.
#include "fileio/dxf/DxfBodies.h"

#include "entities/MText.h"
#include "entities/Spline.h"
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

// Planar; the control points from the double-precision points when they match. The degree is
// the one the knots give (knots = control points + degree + 1), cubic when they give none.
void writeDxfSplineBody(DxfWriter& w, const mmSpline& s, const mmVertex& offset) {
    const std::size_t n = static_cast<std::size_t>(s.ControlPointCount());
    const bool fromPoints = s.points.size() == n;
    int64_t degree = mmSpline::kOrder - 1;
    if (s.knots.size() > n + 1) degree = static_cast<int64_t>(s.knots.size() - n - 1);
    w.writeGroupString(100, "AcDbSpline");
    w.writeGroupInt(70, 8);
    w.writeGroupInt(71, degree);
    w.writeGroupInt(72, static_cast<int64_t>(s.knots.size()));
    w.writeGroupInt(73, static_cast<int64_t>(n));
    w.writeGroupInt(74, 0);
    for (const float k : s.knots)
        w.writeGroupFloat(40, k);
    for (std::size_t i = 0; i < n; ++i) {
        w.writeGroupReal(10, offset.x + (fromPoints ? s.points[i].x : s.controlPoints[3 * i]));
        w.writeGroupReal(20, offset.y + (fromPoints ? s.points[i].y : s.controlPoints[3 * i + 1]));
        w.writeGroupReal(30, 0.0);
    }
}
