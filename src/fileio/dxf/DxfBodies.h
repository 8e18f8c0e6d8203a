// The groups after the entity header of the entity types whose form is the same in every file a
// save writes (they come from later releases and carry their subclass markers in both): HATCH,
// MTEXT and SPLINE. Coordinates are moved by offset (a block's base point).
#pragma once

#include <cstdint>
#include <string>

#include "entities/Vertex.h"

class DxfWriter;
class mmHatch;
class mmMText;
class mmSpline;
class mmViewport;

void writeDxfHatchBody(DxfWriter& w, const mmHatch& hatch, const mmVertex& offset);
// scratch and encoded are buffers kept between calls.
void writeDxfMTextBody(DxfWriter& w, const mmMText& text, const mmVertex& offset,
                       std::string& scratch, std::string& encoded);
void writeDxfSplineBody(DxfWriter& w, const mmSpline& spline, const mmVertex& offset);

// What both saves write of a viewport: its rectangle on the paper (centre and size), its index in
// the layout, and the model window it shows as a view centre and height (the rectangle's height
// and the origin while the window is unknown).
struct DxfViewportFrame {
    mmVertex centre;
    double width = 0.0, height = 0.0;
    int32_t index = 2;
    mmVertex viewCentre;
    double viewHeight = 0.0;
};
DxfViewportFrame DxfViewportFrameOf(const mmViewport& viewport);
