// Multi-line texts: paragraphs, word wrapping, the attachment of the block, copies.
#include "entities/MText.h"

#include <cmath>

#include "entities/TextCodes.h"

namespace {

// Distance of two baselines at spacing factor 1, in text heights.
constexpr double kStandardSpacing = 5.0 / 3.0;

}  // namespace

void mmMText::VisitLines(const std::function<void(const mmTextLine&)>& visit) const {
    for (const Line& line : lines_)
        visit({line.shown, line.x, line.y, line.width});
}

// Words go onto a line while it stays within the rectangle's width; a word wider than the
// rectangle gets a line of its own.
void mmMText::WrapParagraph(const std::string& paragraph) {
    double width = 0.0, inkStart = 0.0, sum = 0.0;
    if (rectangleWidth <= 0.0 || !std::isfinite(rectangleWidth)) {
        MeasureLine(paragraph, width, inkStart, sum);
        lines_.push_back({paragraph, 0.0, 0.0, width});
        return;
    }
    std::string current;
    double currentWidth = 0.0;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t end = paragraph.find(' ', start);
        if (end == std::string::npos) end = paragraph.size();
        const std::string candidate = current.empty()
                                          ? paragraph.substr(start, end - start)
                                          : current + ' ' + paragraph.substr(start, end - start);
        MeasureLine(candidate, width, inkStart, sum);
        if (!current.empty() && width > rectangleWidth) {
            lines_.push_back({current, 0.0, 0.0, currentWidth});
            current = paragraph.substr(start, end - start);
            MeasureLine(current, currentWidth, inkStart, sum);
        } else {
            current = candidate;
            currentWidth = width;
        }
        start = end + 1;
    }
    lines_.push_back({current, 0.0, 0.0, currentWidth});
}

// Top attachments put the first line's capitals at the insertion point, bottom ones the last
// baseline, middle ones the middle of the block; each line is left, centred or right by the
// attachment's column.
void mmMText::LayoutLines() {
    lines_.clear();
    for (const std::string& paragraph : MTextParagraphs(text))
        WrapParagraph(paragraph);
    const double h = height;
    const double spacing = kStandardSpacing * h * (lineSpacing > 0.0 ? lineSpacing : 1.0);
    const double block = h + spacing * static_cast<double>(lines_.size() - 1);
    const int row = (attachment >= 1 && attachment <= 9) ? (attachment - 1) / 3 : 0;
    const int column = (attachment >= 1 && attachment <= 9) ? (attachment - 1) % 3 : 0;
    const double firstBaseline = row == 0 ? -h : row == 1 ? block / 2.0 - h : block - h;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Line& line = lines_[i];
        line.y = firstBaseline - spacing * static_cast<double>(i);
        line.x = column == 0 ? 0.0 : column == 1 ? -line.width / 2.0 : -line.width;
    }
}

void mmMText::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* t = dynamic_cast<const mmText*>(&from)) CopyTextFields(*t);
    if (const auto* mt = dynamic_cast<const mmMText*>(&from)) {
        attachment = mt->attachment;
        rectangleWidth = mt->rectangleWidth;
        lineSpacing = mt->lineSpacing;
    }
    CopyPointsAndGrips(from);
    Rebuild(nullptr);
    UpdateExtents();
}
