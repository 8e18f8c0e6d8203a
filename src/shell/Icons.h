// The program's own images: SVG files under :/icons/ (src/shell/icons), drawn by Qt.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string_view>

// The image named so (without ".svg") at the sizes toolbars and menus use.
QIcon KestrelIcon(std::string_view name);
// The image at its own size (or scaled to the given one).
QPixmap KestrelPixmap(std::string_view name, QSize size = {});
