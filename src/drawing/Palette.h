// Colours: 0x00BBGGRR values, the 256-entry colour index palette and the colour text.
#pragma once

#include <cstdint>
#include <string>

inline constexpr uint32_t ColorRed(uint32_t c) { return c & 0xFF; }
inline constexpr uint32_t ColorGreen(uint32_t c) { return (c >> 8) & 0xFF; }
inline constexpr uint32_t ColorBlue(uint32_t c) { return (c >> 16) & 0xFF; }
inline constexpr uint32_t MakeColor(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
inline constexpr uint32_t kColorWhite = 0xFFFFFF;

// Palette entry of an index 0 to 255; any other index gives 0 (black).
uint32_t PaletteColor(int32_t index);
// The first index whose entry equals the colour, or the colour value itself when none does.
int32_t PaletteIndex(uint32_t color);
// The index 1 to 255 whose entry is nearest to the colour (the first of equal distances).
int32_t NearestPaletteIndex(uint32_t color);
// "%u,%u,%u" of the red, green and blue components.
std::string ColorText(uint32_t color);
