// The groups after the entity header of the entity types whose form is the same in every file a
// save writes (they come from later releases and carry their subclass markers in both): HATCH,
// MTEXT and SPLINE. Coordinates are moved by offset (a block's base point).
#pragma once

#include <string>

#include "entities/Vertex.h"

class DxfWriter;
class mmHatch;
class mmMText;
class mmSpline;

void writeDxfHatchBody(DxfWriter& w, const mmHatch& hatch, const mmVertex& offset);
// scratch and encoded are buffers kept between calls.
void writeDxfMTextBody(DxfWriter& w, const mmMText& text, const mmVertex& offset,
                       std::string& scratch, std::string& encoded);
void writeDxfSplineBody(DxfWriter& w, const mmSpline& spline, const mmVertex& offset);
