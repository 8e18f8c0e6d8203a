// mmMText: multi-line text as read from files. Its string keeps the inline codes as written (so a
// save writes it back unchanged); what is drawn is its paragraphs without the codes, wrapped at
// the width of the reference rectangle, one line below the other at the line spacing, the whole
// block placed by its attachment point.
#pragma once

#include <string>
#include <vector>

#include "entities/Text.h"

class mmMText : public mmText {
public:
    // As DXF group 71: 1 top left, 2 top centre, 3 top right, 4 to 6 middle, 7 to 9 bottom.
    int16_t attachment = 1;
    double rectangleWidth = 0.0;  // 41: lines wrap at this width; 0 or less: no wrapping
    double lineSpacing = 1.0;     // 44: factor of the standard spacing (5/3 of the height)

    mmMText() { type = kTypeMText; }

    void VisitLines(const std::function<void(const mmTextLine&)>& visit) const override;
    void CopyFrom(const mmObject& from) override;

    // The lines as drawn (after the paragraphs were wrapped).
    std::size_t LineCount() const { return lines_.size(); }
    const std::string& LineText(std::size_t i) const { return lines_[i].shown; }

protected:
    void LayoutLines() override;

private:
    struct Line {
        std::string shown;
        double x = 0.0, y = 0.0, width = 0.0;
    };
    void WrapParagraph(const std::string& paragraph);

    std::vector<Line> lines_;
};
