// mmMText: multi-line text as read from files, drawn as one line of its characters as they are
// (no formatting codes), placed by its attachment corner.
#pragma once

#include "entities/Text.h"

class mmMText : public mmText {
public:
    // As DXF group 71: 1 top left, 2 top centre, 3 top right, 4 to 6 middle, 7 to 9 bottom.
    // Top attachments hang the text below the insertion point; 3 and 9 put it to the left.
    int16_t attachment = 1;

    mmMText() { type = kTypeMText; }

    mmVertex DrawOrigin() const override;
    void CopyFrom(const mmObject& from) override;
};
