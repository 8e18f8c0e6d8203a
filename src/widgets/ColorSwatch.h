// Colour swatches: the small filled squares that lists of colours and layers show beside names.
#pragma once

#include <QColor>
#include <QIcon>
#include <cstdint>

// A colour 0x00BBGGRR as Qt has it.
QColor ColorOf(uint32_t bgr);
uint32_t BgrOf(const QColor& color);
// A square of the colour with a dark outline, size pixels wide.
QIcon SwatchIcon(const QColor& color, int size = 12);
