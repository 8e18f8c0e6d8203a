// The sections of a DXF 2000 save other than the entities: HEADER and CLASSES, the tables
// (Dxf2000Tables.cpp), and the OBJECTS with the dictionaries and layouts (Dxf2000Objects.cpp).
// Each writes its whole section; the result is false when the writer refused a step.
#pragma once

class DxfWriter;
class mmDrawing;
struct Dxf2000Plan;

bool writeDxf2000Header(DxfWriter& w, const mmDrawing& drawing, const Dxf2000Plan& plan);
bool writeDxf2000Classes(DxfWriter& w);
bool writeDxf2000Tables(DxfWriter& w, const mmDrawing& drawing, const Dxf2000Plan& plan);
bool writeDxf2000Objects(DxfWriter& w, const Dxf2000Plan& plan);
