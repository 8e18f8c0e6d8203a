// Texts: string, justification and layout in the text's own frame, grips, extents and copies.
#include "entities/Text.h"

#include <algorithm>
#include <cmath>

#include "entities/Geometry.h"
#include "entities/TextCodes.h"
#include "platform/Unicode.h"

namespace {

constexpr double kBoxStart = 99999999999.0;
constexpr double kMostOblique = 85.0;

// Calls visit(glyph) for each character of a UTF-8 string that the table has; bytes that are not
// UTF-8 are skipped.
template <class Visit>
void forEachGlyph(const mmGlyphTable& table, std::string_view s, Visit&& visit) {
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t n = kestrel::platform::decodeUtf8(s, i, cp);
        if (n == 0) {
            ++i;
            continue;
        }
        i += n;
        if (const mmGlyph* g = table.Find(cp)) visit(*g);
    }
}

}  // namespace

double mmText::ScaleY() const {
    const double ref = glyphs ? glyphs->ReferenceHeight() : 0.0;
    return ref > 0.0 ? height / ref * stretchY_ : 0.0;
}

double mmText::ScaleX() const {
    const double ref = glyphs ? glyphs->ReferenceHeight() : 0.0;
    return ref > 0.0 ? height / ref * widthFactor * stretchX_ : 0.0;
}

void mmText::MeasureLine(std::string_view shown, double& width, double& inkStart,
                         double& advanceSum) const {
    const double sx = ScaleX();
    double pen = 0.0, inkEnd = 0.0;
    bool first = true, anyInk = false;
    inkStart = 0.0;
    forEachGlyph(*glyphs, shown, [&](const mmGlyph& g) {
        if (first) inkStart = sx * g.originX;
        first = false;
        if (!g.points.empty()) {
            inkEnd = anyInk ? std::max(inkEnd, sx * (pen + g.inkMaxX)) : sx * (pen + g.inkMaxX);
            anyInk = true;
        }
        pen += g.advanceX;
    });
    advanceSum = sx * pen;
    width = (anyInk ? inkEnd : advanceSum) - inkStart;
}

double mmText::DrawRotation() const {
    if ((horizontal == kTextAligned || horizontal == kTextFit) && points.size() > 1) {
        const double dx = points[1].x - points[0].x, dy = points[1].y - points[0].y;
        if (dx != 0.0 || dy != 0.0) return std::atan2(dy, dx) * kRadToDeg;
    }
    return rotation;
}

mmVertex mmText::DrawOrigin() const {
    if (points.empty()) return mmVertex();
    const bool byAlignment = Justified() && horizontal != kTextAligned && horizontal != kTextFit;
    const mmVertex& p = byAlignment && points.size() > 1 ? points[1] : points[0];
    return mmVertex(p.x, p.y);
}

void mmText::VisitLines(const std::function<void(const mmTextLine&)>& visit) const {
    const std::string_view own = ShownString();
    if (HasTextSpecials(own)) {
        const std::string shown = DecodeTextSpecials(own);
        visit({shown, lineX_, lineY_, lineWidth_});
    } else {
        visit({own, lineX_, lineY_, lineWidth_});
    }
}

// The single line by the justification: its width decides where it starts; aligned and fitted
// texts stretch to the distance of their two points (aligned keeps its proportions).
void mmText::LayoutLines() {
    stretchX_ = stretchY_ = 1.0;
    double width = 0.0, inkStart = 0.0, sum = 0.0;
    std::string decoded;
    const std::string_view own = ShownString();
    const bool specials = HasTextSpecials(own);
    if (specials) decoded = DecodeTextSpecials(own);
    const std::string_view shown = specials ? std::string_view(decoded) : own;
    MeasureLine(shown, width, inkStart, sum);
    if ((horizontal == kTextAligned || horizontal == kTextFit) && points.size() > 1 &&
        width > 0.0) {
        const double span = std::hypot(points[1].x - points[0].x, points[1].y - points[0].y);
        if (span > 0.0) {
            stretchX_ = span / width;
            if (horizontal == kTextAligned) stretchY_ = stretchX_;
            MeasureLine(shown, width, inkStart, sum);
        }
    }
    const double h = height * stretchY_;
    const double depth =
        glyphs && glyphs->ReferenceHeight() > 0.0 ? glyphs->descender * ScaleY() : 0.0;
    switch (horizontal) {
        case kTextCenter:
        case kTextMiddle:
            lineX_ = -width / 2.0;
            break;
        case kTextRight:
            lineX_ = -width;
            break;
        default:
            lineX_ = 0.0;
            break;
    }
    if (horizontal == kTextMiddle)
        lineY_ = -h / 2.0;
    else if (horizontal == kTextAligned || horizontal == kTextFit)
        lineY_ = 0.0;
    else if (vertical == kTextBottom)
        lineY_ = depth;
    else if (vertical == kTextVerticalMiddle)
        lineY_ = -h / 2.0;
    else if (vertical == kTextTop)
        lineY_ = -h;
    else
        lineY_ = 0.0;
    lineWidth_ = width;
}

// offsetX/offsetY from the first character, the advance, and the box over the placed contour
// points and the pen positions.
void mmText::Layout() {
    offsetX = offsetY = advance = 0.0;
    hasOutlines_ = false;
    const double s = ScaleY();
    if (s == 0.0 || !std::isfinite(s) || !std::isfinite(ScaleX())) {
        stretchX_ = stretchY_ = 1.0;
        lineX_ = lineY_ = lineWidth_ = 0.0;
        box = {0.0, 0.0, 0.0, 0.0};
        return;
    }
    LayoutLines();
    box = {kBoxStart, kBoxStart, -kBoxStart, -kBoxStart};
    const double theta = DrawRotation() * kDegToRad;
    const double c = std::cos(theta), sn = std::sin(theta);
    const double shear = std::tan(oblique * kDegToRad);
    const double sx = ScaleX(), sy = ScaleY();
    const bool upright = c == 1.0 && sn == 0.0;
    bool firstLine = true;
    VisitLines([&](const mmTextLine& line) {
        const auto place = [&](double x, double y) {
            WidenRect(box, c * x - sn * y, sn * x + c * y);
        };
        double pen = 0.0, inkStart = 0.0;
        bool firstGlyph = true;
        forEachGlyph(*glyphs, line.shown, [&](const mmGlyph& g) {
            if (firstGlyph) {
                inkStart = sx * g.originX;
                place(line.x - inkStart, line.y);
                firstGlyph = false;
            }
            const double x0 = line.x + sx * pen - inkStart;
            if (upright && !g.points.empty()) {
                // The corners of the ink box map to the same extremes as the points.
                for (const float y : {g.inkMinY, g.inkMaxY})
                    for (const float x : {g.inkMinX, g.inkMaxX})
                        place(x0 + sx * x + shear * sy * y, line.y + sy * y);
            } else {
                for (const mmGlyphPoint& q : g.points)
                    place(x0 + sx * q.x + shear * sy * q.y, line.y + sy * q.y);
            }
            hasOutlines_ = hasOutlines_ || !g.points.empty();
            pen += g.advanceX;
            place(line.x + sx * pen - inkStart, line.y);
        });
        if (firstGlyph) place(line.x, line.y);
        if (firstLine) {
            offsetX = inkStart;
            advance = sx * pen;
            firstLine = false;
        }
    });
}

void mmText::CreateText(std::string_view string, mmGlyphTablePtr table) {
    height = 1.0;
    rotation = 0.0;
    SetString(string, std::move(table));
}

void mmText::SetInsertionPoint(double x, double y) {
    if (points.empty())
        points.emplace_back(x, y);
    else {
        points[0].x = x;
        points[0].y = y;
    }
    SetGripAt(grips, 0, x, y);
    if (Justified()) Layout();  // an aligned text depends on both points
    UpdateExtents();
}

void mmText::SetAlignmentPoint(double x, double y) {
    if (points.empty()) points.emplace_back(x, y);
    if (points.size() < 2)
        points.emplace_back(x, y);
    else {
        points[1].x = x;
        points[1].y = y;
    }
    SetGripAt(grips, 1, x, y);
    Layout();
    UpdateExtents();
}

void mmText::SetString(std::string_view string, mmGlyphTablePtr table) {
    text.assign(string);
    Rebuild(std::move(table));
}

bool mmText::SetHeight(double h, mmGlyphTablePtr table) {
    if (!std::isfinite(h)) return false;
    height = h;
    Rebuild(std::move(table));
    return true;
}

bool mmText::SetRotation(double degrees, mmGlyphTablePtr table) {
    if (!std::isfinite(degrees)) return false;
    rotation = degrees;
    Rebuild(std::move(table));
    return true;
}

bool mmText::SetWidthFactor(double factor, mmGlyphTablePtr table) {
    if (!std::isfinite(factor) || factor <= 0.0) return false;
    widthFactor = factor;
    Rebuild(std::move(table));
    return true;
}

bool mmText::SetOblique(double degrees, mmGlyphTablePtr table) {
    if (!std::isfinite(degrees)) return false;
    // Angles are also written as 360 minus the lean to the left.
    double lean = std::fmod(degrees, 360.0);
    if (lean > 180.0) lean -= 360.0;
    if (lean < -180.0) lean += 360.0;
    if (std::fabs(lean) >= kMostOblique) return false;
    oblique = lean;
    Rebuild(std::move(table));
    return true;
}

void mmText::SetJustification(int horizontalCode, int verticalCode, mmGlyphTablePtr table) {
    horizontal =
        static_cast<int16_t>(horizontalCode >= 0 && horizontalCode <= 5 ? horizontalCode : 0);
    vertical = static_cast<int16_t>(verticalCode >= 0 && verticalCode <= 3 ? verticalCode : 0);
    Rebuild(std::move(table));
}

void mmText::Rebuild(mmGlyphTablePtr table) {
    if (table) glyphs = std::move(table);
    if (points.empty()) SetInsertionPoint(0.0, 0.0);
    Layout();
    UpdateExtents();
}

void mmText::UpdateGrips() {
    if (grips.size() != points.size()) grips.assign(points.size(), mmVertex());
    for (std::size_t i = 0; i < points.size(); ++i) {
        grips[i].x = points[i].x;
        grips[i].y = points[i].y;
    }
}

void mmText::UpdateExtents() {
    if (points.empty()) {
        SetExtents(EmptyExtents());
        return;
    }
    const mmVertex origin = DrawOrigin();
    SetExtents(
        {origin.x + box.minX, origin.y + box.minY, origin.x + box.maxX, origin.y + box.maxY});
}

void mmText::SetColor(uint32_t newColor, int32_t newColorIndex, const mmGlyphTable* table) {
    mmObject::SetColor(newColor, newColorIndex, table);
    Rebuild(table ? table->weak_from_this().lock() : nullptr);
}

void mmText::CopyTextFields(const mmText& from) {
    if (&from == this) return;
    text = from.text;
    height = from.height;
    rotation = from.rotation;
    widthFactor = from.widthFactor;
    oblique = from.oblique;
    horizontal = from.horizontal;
    vertical = from.vertical;
    offsetX = from.offsetX;
    offsetY = from.offsetY;
    advance = from.advance;
    glyphs = from.glyphs;
}

void mmText::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* t = dynamic_cast<const mmText*>(&from)) CopyTextFields(*t);
    CopyPointsAndGrips(from);
    Rebuild(nullptr);
    UpdateExtents();
}
