// mmLayout: one paper-space layout: its name, its paper space (entities, viewports, selection, id
// counter and spatial index) and the view that shows it, with the printer it was set up for.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "display/View.h"
#include "drawing/Drawing.h"
#include "platform/Printer.h"

class mmLayout {
public:
    mmLayout(mmOriginOffset& origin, std::u16string layoutName)
        : name(std::move(layoutName)), view(origin, true) {
        view.paperSpace = &paper;
        view.paperMode = true;
    }
    mmLayout(const mmLayout&) = delete;
    mmLayout& operator=(const mmLayout&) = delete;

    std::u16string name;
    mmSpace paper;
    mmView view;
    // The printer and page the layout keeps; empty until it is first shown or set up.
    std::optional<kestrel::platform::PrinterSetup> printer;
};

using mmLayoutPtr = std::unique_ptr<mmLayout>;
