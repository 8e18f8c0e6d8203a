// VIEWPORT: the rectangle in paper millimetres, its index in the layout and the model window it
// shows as the MVIEW extended data.
#include "entities/Viewport.h"
#include "fileio/dxf/DxfBodies.h"
#include "fileio/dxf/DxfEntityWriter.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

struct XData {
    int32_t code;
    double value;
};

}  // namespace

bool DxfEntityWriter::writeViewport(const mmViewport& viewport) {
    if (viewport.points.size() != 4) return false;
    if (!w_.beginEntity("VIEWPORT", DxfWriter::EntityHeader::LayerAndPaperOnly)) return false;
    const DxfViewportFrame f = DxfViewportFrameOf(viewport);
    w_.writeGroupReal(10, f.centre.x);
    w_.writeGroupReal(20, f.centre.y);
    w_.writeGroupReal(30, 0.0);
    w_.writeGroupReal(40, f.width);
    w_.writeGroupReal(41, f.height);
    w_.writeGroupInt(68, f.index);
    w_.writeGroupInt(69, f.index);
    w_.writeGroupString(1001, "ACAD");
    w_.writeGroupString(1000, "MVIEW");
    w_.writeGroupString(1002, "{");
    w_.writeGroupInt(1070, 16);
    const XData view[] = {{1010, 0.0}, {1020, 0.0}, {1030, 0.0}, {1010, 0.0}, {1020, 0.0},
                          {1030, 1.0}, {1040, 0.0}, {1040, f.viewHeight}, {1040, f.viewCentre.x},
                          {1040, f.viewCentre.y}, {1040, 50.0}, {1040, 0.0}, {1040, 0.0}};
    for (const XData& x : view) w_.writeGroupReal(x.code, x.value);
    for (int32_t flag : {0, 1000, 1, 3, 0, 0, 0, 0}) w_.writeGroupInt(1070, flag);
    for (double grid : {0.0, 0.0, 0.0, 10.0, 10.0, 10.0, 10.0}) w_.writeGroupReal(1040, grid);
    w_.writeGroupInt(1070, 0);
    w_.writeGroupString(1002, "{");
    w_.writeGroupString(1002, "}");
    w_.writeGroupString(1002, "}");
    return true;
}
