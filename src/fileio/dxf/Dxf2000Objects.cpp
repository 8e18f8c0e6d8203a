// The OBJECTS of a DXF 2000 save: the root dictionary with the group and layout dictionaries,
// the layout "Model" of model space and one layout per paper-space layout, in tab order.
#include "fileio/dxf/Dxf2000Plan.h"
#include "fileio/dxf/Dxf2000Sections.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

struct Entry {
    std::string_view name;
    uint64_t handle;
};

// The start of a hard-owner dictionary, owned by another one when owner is not 0; its entries
// follow.
void dictionaryHead(DxfWriter& w, uint64_t handle, uint64_t owner) {
    w.writeGroupString(0, "DICTIONARY");
    w.writeGroupHandle(5, handle);
    if (owner) {
        w.writeGroupString(102, "{ACAD_REACTORS");
        w.writeGroupHandle(330, owner);
        w.writeGroupString(102, "}");
    }
    w.writeGroupHandle(330, owner);
    w.writeGroupString(100, "AcDbDictionary");
    w.writeGroupInt(281, 1);
}

void dictionary(DxfWriter& w, uint64_t handle, uint64_t owner,
                std::initializer_list<Entry> entries) {
    dictionaryHead(w, handle, owner);
    for (const Entry& e : entries) {
        w.writeGroupString(3, e.name);
        w.writeGroupHandle(350, e.handle);
    }
}

void reals(DxfWriter& w, std::initializer_list<std::pair<int32_t, double>> groups) {
    for (const auto& [code, value] : groups)
        w.writeGroupReal(code, value);
}

// The plot settings of a layout: no device, an A4 sheet in millimetres, plotted at 1:1.
void plotSettings(DxfWriter& w) {
    w.writeGroupString(100, "AcDbPlotSettings");
    w.writeGroupString(1, "");
    w.writeGroupString(2, "none_device");
    w.writeGroupString(4, "ISO_A4_(210.00_x_297.00_MM)");
    w.writeGroupString(6, "");
    reals(w, {{40, 7.5}, {41, 20.0}, {42, 7.5}, {43, 20.0}, {44, 210.0}, {45, 297.0},
              {46, 0.0}, {47, 0.0}, {48, 0.0}, {49, 0.0}, {140, 0.0}, {141, 0.0},
              {142, 1.0}, {143, 1.0}});
    w.writeGroupInt(70, 688);
    w.writeGroupInt(72, 1);
    w.writeGroupInt(73, 0);
    w.writeGroupInt(74, 5);
    w.writeGroupString(7, "");
    w.writeGroupInt(75, 16);
    reals(w, {{147, 1.0}, {148, 0.0}, {149, 0.0}});
}

void layout(DxfWriter& w, const Dxf2000Plan& plan, uint64_t handle, std::u16string_view name,
            int order, uint64_t blockRecord) {
    w.writeGroupString(0, "LAYOUT");
    w.writeGroupHandle(5, handle);
    w.writeGroupString(102, "{ACAD_REACTORS");
    w.writeGroupHandle(330, plan.layoutDictionary);
    w.writeGroupString(102, "}");
    w.writeGroupHandle(330, plan.layoutDictionary);
    plotSettings(w);
    w.writeGroupString(100, "AcDbLayout");
    w.writeGroupText(1, name);
    w.writeGroupInt(70, 1);
    w.writeGroupInt(71, order);
    reals(w, {{10, 0.0}, {20, 0.0}, {11, 420.0}, {21, 297.0}, {12, 0.0}, {22, 0.0}, {32, 0.0},
              {14, 0.0}, {24, 0.0}, {34, 0.0}, {15, 0.0}, {25, 0.0}, {35, 0.0}, {146, 0.0},
              {13, 0.0}, {23, 0.0}, {33, 0.0}, {16, 1.0}, {26, 0.0}, {36, 0.0}, {17, 0.0},
              {27, 1.0}, {37, 0.0}});
    w.writeGroupInt(76, 0);
    w.writeGroupHandle(330, blockRecord);
}

}  // namespace

bool writeDxf2000Objects(DxfWriter& w, const Dxf2000Plan& plan) {
    const bool ok = w.beginSection(DxfWriter::Section::Objects);
    dictionary(w, plan.rootDictionary, 0,
               {{"ACAD_GROUP", plan.groupDictionary}, {"ACAD_LAYOUT", plan.layoutDictionary}});
    dictionary(w, plan.groupDictionary, plan.rootDictionary, {});
    dictionaryHead(w, plan.layoutDictionary, plan.rootDictionary);
    for (const Dxf2000Plan::Layout& l : plan.layouts) {
        w.writeGroupText(3, l.name);
        w.writeGroupHandle(350, l.handle);
    }
    w.writeGroupString(3, "Model");
    w.writeGroupHandle(350, plan.modelLayout);
    layout(w, plan, plan.modelLayout, u"Model", 0, plan.model.record);
    int order = 1;
    for (const Dxf2000Plan::Layout& l : plan.layouts)
        layout(w, plan, l.handle, l.name, order++, l.block.record);
    return w.endSection() && ok;
}
