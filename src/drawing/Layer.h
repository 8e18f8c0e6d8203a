// mmLayer: a record of the layer table, with the defaults of a layer the system creates.
#pragma once

#include <cstdint>
#include <string>

struct mmLayer {
    int32_t id = 0;
    std::u16string name;
    uint32_t color = 0xFFFFFF;  // 0x00BBGGRR
    std::string colorText = "White";
    int32_t colorIndex = 7;
    bool show = true;
    bool selectable = true;
    bool frozen = false;
    bool locked = false;
    int32_t linetype = 0;  // linetype id (LineType.h): 0 is "Continuous"
    int32_t lineWidth = 1;

    bool operator==(const mmLayer&) const = default;

    // A layer with the defaults of layer "0" and of the dialog's new layers.
    static mmLayer WithDefaults(int32_t id, std::u16string name) {
        mmLayer layer;
        layer.id = id;
        layer.name = std::move(name);
        return layer;
    }
};

inline constexpr char16_t kDefaultLayerName[] = u"0";
inline constexpr char16_t kNewLayerName[] = u"New layer";
inline constexpr char kLinetypeContinuous[] = "Continuous";
