// Attributes: texts with a tag. mmAttribute (ATTRIB) holds a value of a block reference, among
// the reference's children: drawn, moved and copied with it. mmAttributeDef (ATTDEF) is the
// definition in a block, with its prompt and default value (the string); seen on its own it shows
// its tag. Both draw as texts; invisible ones are neither drawn nor picked.
#pragma once

#include <string>

#include "entities/Text.h"

// As DXF group 70 of ATTRIB and ATTDEF.
inline constexpr int16_t kAttributeInvisible = 1;
inline constexpr int16_t kAttributeConstant = 2;
inline constexpr int16_t kAttributeVerify = 4;
inline constexpr int16_t kAttributePreset = 8;

class mmAttribute : public mmText {
public:
    std::string tag;  // UTF-8
    int16_t flags = 0;

    mmAttribute() { type = kTypeAttribute; }

    bool Invisible() const { return (flags & kAttributeInvisible) != 0; }

    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateExtents() override;
    void CopyFrom(const mmObject& from) override;
};

// An attribute a reference holds of its own (read from an ATTRIB), not a constant one shown from
// its block's definition.
inline bool IsOwnAttribute(const mmObjectPtr& e) {
    return e && e->type == kTypeAttribute &&
           !(static_cast<const mmAttribute&>(*e).flags & kAttributeConstant);
}

class mmAttributeDef : public mmAttribute {
public:
    std::string prompt;  // UTF-8; the string (text) is the default value

    mmAttributeDef() { type = kTypeAttributeDef; }

    std::string_view ShownString() const override { return tag; }
    void CopyFrom(const mmObject& from) override;
};
