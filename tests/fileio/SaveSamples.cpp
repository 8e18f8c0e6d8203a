// Writes DXF files saved by Kestrel for the interop check, each as R12 ("r12_" before its name)
// and as DXF 2000 ("2000_"): a drawing holding every entity type the writers know (its contents
// are checked by ezdxf_audit.py), and (given a folder of DXF files) each of them opened and saved
// again.
// Usage: dxf_save_samples OUT_DIR [DXF_DIR]
#include <cstdio>
#include <filesystem>
#include <string>

#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Ellipse.h"
#include "entities/Face3d.h"
#include "entities/Hatch.h"
#include "entities/Leader.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Solid.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "entities/XLine.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"

namespace {

template <class T>
std::shared_ptr<T> make(int32_t layerId, int32_t colorIndex, std::initializer_list<mmVertex> pts) {
    auto e = std::make_shared<T>();
    e->layerId = layerId;
    e->colorIndex = colorIndex;
    for (const mmVertex& p : pts)
        e->AddPoint(p.x, p.y);
    return e;
}

void add(mmSpace& space, const mmObjectPtr& e) {
    e->UpdateGrips();
    e->UpdateExtents();
    e->id = space.nextEntityId++;
    AddEntity(space, e);
}

std::shared_ptr<mmSpline> curve(double x, double y) {
    auto s = make<mmSpline>(0, 256, {{x, y}, {x + 1, y + 2}, {x + 3, y + 2}, {x + 4, y}});
    s->knots = {0, 0, 0, 0, 1, 1, 1, 1};
    return s;
}

// A square with a rounded side as one polyline loop, and a hole of two arcs (one followed
// clockwise), a line and a spline, and a circle.
std::shared_ptr<mmHatch> hatch() {
    auto h = std::make_shared<mmHatch>();
    h->layerId = 1;
    h->colorIndex = 4;
    auto square = make<mmPolyline>(0, 256, {{0, 0}, {20, 0}, {20, 20}, {0, 20}});
    square->closed = true;
    square->bulges = {0, 0.4, 0, 0};
    h->AddBoundary(square, h->AddLoop());
    const int hole = h->AddLoop();
    auto upper = make<mmArc>(0, 256, {{10, 10}});
    upper->radius = 3;
    upper->startAngle = 0;
    upper->endAngle = 180;
    auto lower = make<mmArc>(0, 256, {{4, 10}});
    lower->radius = 3;
    lower->startAngle = 180;
    lower->endAngle = 360;
    lower->direction = 0;
    h->AddBoundary(upper, hole);
    h->AddBoundary(lower, hole);
    h->AddBoundary(curve(1, 10), hole);
    auto dot = make<mmCircle>(0, 256, {{15, 4}});
    dot->radius = 1;
    h->AddBoundary(dot, h->AddLoop());
    for (const auto& loop : h->loops)
        for (const mmObjectPtr& e : *loop) {
            e->UpdateGrips();
            e->UpdateExtents();
        }
    h->RebuildFill();
    return h;
}

// A polyline read from a POLYLINE with widths of its own at each vertex, and a light-weight one
// of constant width on a dashed linetype; a centred text with its alignment point.
void addWidthsAndJustification(mmDrawing& d, int32_t dashed) {
    auto heavy = make<mmPolyline>(2, 256, {{0, -10}, {10, -10}, {10, -5}});
    heavy->lightweight = false;
    heavy->widths = {{0.5, 1.0}, {1.0, 0.0}, {0.0, 0.0}};
    add(d, heavy);
    auto wide = make<mmPolyline>(1, 256, {{20, -10}, {30, -10}});
    wide->constantWidth = 0.25;
    wide->lineType = dashed;
    add(d, wide);
    auto centred = make<mmText>(0, 256, {});
    centred->SetInsertionPoint(40, -10);
    centred->SetAlignmentPoint(45, -10);
    centred->SetJustification(kTextCenter, kTextVerticalMiddle, nullptr);
    centred->height = 0.2965325;
    centred->widthFactor = 0.8;
    centred->SetString("Mitte", nullptr);
    add(d, centred);
}

// Polylines with and without bulges, texts and multi-line texts (one longer than a chunk).
void addCurvesAndTexts(mmDrawing& d) {
    add(d, make<mmPolyline>(0, 256, {{0, 0}, {5, 0}, {5, 5}}));
    auto bulged = make<mmPolyline>(1, 2, {{10, 0}, {15, 0}, {15, 5}});
    bulged->bulges = {0.5, -1, 0};
    bulged->closed = true;
    add(d, bulged);
    auto text = make<mmText>(1, 256, {});
    text->SetInsertionPoint(0, 30);
    text->height = 2.5;
    text->rotation = 15;
    text->SetString(
        "Stra\xc3\x9f"
        "e 12 {Nord}",
        nullptr);
    add(d, text);
    auto mtext = make<mmMText>(0, 0x00805020, {});
    mtext->SetInsertionPoint(0, 40);
    mtext->height = 1.5;
    mtext->attachment = 7;
    mtext->SetString(std::string(200, 'x') + " C:\\\\data \\{a\\} " + std::string(40, 'y'), nullptr);
    add(d, mtext);
    add(d, curve(30, 30));
    add(d, hatch());
}

std::shared_ptr<mmBlock> newBlock(mmDrawing& d, std::u16string name, int16_t flags) {
    auto block = std::make_shared<mmBlock>();
    block->id = d.nextBlockId++;
    block->name = std::move(name);
    block->flags = flags;
    AddBlock(d, block);
    return block;
}

template <class T>
std::shared_ptr<T> tagged(const char* tag, const char* value, double x, double y) {
    auto a = make<T>(0, 256, {});
    a->SetInsertionPoint(x, y);
    a->height = 1.5;
    a->tag = tag;
    a->SetString(value, nullptr);
    return a;
}

// An elliptic arc, a solid, a trace, a 3D face with a hidden edge, a construction line, a ray, a
// leader; a block with an attribute definition referred to with its value; rows and columns of
// the tree; an anonymous block and its reference.
void addShapesAndAttributes(mmDrawing& d) {
    auto ellipse = make<mmEllipse>(1, 256, {{60, 0}});
    ellipse->majorX = 0;
    ellipse->majorY = 6;
    ellipse->ratio = 0.5;
    ellipse->startParam = 5.5;
    ellipse->endParam = 7.5;
    add(d, ellipse);
    for (const bool trace : {false, true}) {
        auto solid = std::make_shared<mmSolid>();
        const double x = trace ? 80 : 70;
        const mmVertex corners[4] = {{x, 0}, {x + 5, 0}, {x, 5}, {x + 5, 5}};
        solid->SetCorners(corners);
        solid->trace = trace;
        solid->colorIndex = 1;
        add(d, solid);
    }
    auto face = make<mm3dFace>(0, 256, {{90, 0}, {95, 0}, {95, 5}, {90, 5}});
    face->invisibleEdges = 2;
    add(d, face);
    for (const bool ray : {false, true}) {
        auto line = make<mmXLine>(0, 256, {{100, ray ? 10.0 : 0.0}});
        line->SetDirection(1, 1);
        line->ray = ray;
        add(d, line);
    }
    auto leader = make<mmLeader>(0, 256, {{110, 0}, {115, 5}, {120, 5}});
    leader->dimStyleId = d.currentDimStyleId;
    leader->arrowSize = 1.25;
    add(d, leader);

    auto sign = newBlock(d, u"Schild", 0);
    sign->entities.push_back(make<mmLine>(0, 256, {{0, 0}, {10, 0}}));
    auto number = tagged<mmAttributeDef>("NUMMER", "0", 1, 1);
    number->prompt = "Nummer?";
    sign->entities.push_back(number);
    auto signRef = make<mmBlockRef>(1, 256, {{130, 0}});
    signRef->InstantiateBlock(u"Schild", d.blocks, nullptr);
    signRef->children.push_back(tagged<mmAttribute>("NUMMER", "A-17", 1, 1));
    add(d, signRef);
    auto rows = make<mmBlockRef>(0, 256, {{0, 60}});
    rows->InstantiateBlock(u"Baum", d.blocks, nullptr);
    rows->columns = 2;
    rows->rows = 3;
    rows->columnSpacing = 10;
    rows->rowSpacing = 12;
    add(d, rows);
    auto anonymous = newBlock(d, u"*U7", kBlockAnonymous);
    anonymous->entities.push_back(make<mmCircle>(0, 256, {{0, 0}}));
    auto anonymousRef = make<mmBlockRef>(0, 256, {{140, 0}});
    anonymousRef->InstantiateBlock(u"*U7", d.blocks, nullptr);
    add(d, anonymousRef);
}

bool saveBoth(const mmDrawing& d, const DxfLayout* layout, const std::filesystem::path& out,
              const std::string& name) {
    const bool r12 = saveDrawingAsDxf(d, layout, (out / ("r12_" + name)).string(), DxfVersion::R12);
    const bool r2000 =
        saveDrawingAsDxf(d, layout, (out / ("2000_" + name)).string(), DxfVersion::R2000);
    return r12 && r2000;
}

// Every type written, in model space, paper space and a block, on layers with Latin-1 names, in
// colours by layer, by block, indexed and true.
bool writeEveryType(const std::filesystem::path& out) {
    mmDrawing d;
    FillNewDrawing(d);
    mmLineType dashed;
    dashed.id = d.nextLineTypeId++;
    dashed.name = u"DASHED";
    dashed.description = u"Dashed __ __ __";
    dashed.patternLength = 0.75;
    dashed.dashes = {0.5, -0.25};
    d.lineTypes[dashed.id] = dashed;
    mmLayer walls = mmLayer::WithDefaults(d.nextLayerId++, u"Mauerwerk \u00e4\u00df");
    walls.colorIndex = 1;
    walls.color = PaletteColor(1);
    d.layers[walls.id] = walls;
    // Frozen and locked, off, and a true colour on a dashed linetype.
    mmLayer old = mmLayer::WithDefaults(d.nextLayerId++, u"Bestand");
    old.frozen = old.locked = true;
    old.show = false;
    old.colorIndex = 3;
    old.color = 0x204080;
    old.linetype = dashed.id;
    d.layers[old.id] = old;
    DimStyle iso = DimStyle::Standard(d.nextDimStyleId++);
    iso.name = u"ISO-25";
    d.dimStyles[iso.id] = iso;

    auto block = std::make_shared<mmBlock>();
    block->id = d.nextBlockId++;
    block->name = u"Baum";
    block->baseX = 5;
    block->baseY = 5;
    auto crown = make<mmCircle>(1, 3, {{0, 0}});
    crown->radius = 2;
    block->entities.push_back(crown);
    block->entities.push_back(make<mmLine>(0, 0, {{0, -2}, {0, -4}}));
    block->entities.push_back(make<mmPolyline>(0, 0, {{-1, -4}, {1, -4}}));
    AddBlock(d, block);

    add(d, make<mmLine>(0, 256, {{0, 0}, {2500000.125, 5600000.5}}));
    add(d, make<mmLine>(1, 0, {{1, 1}, {-1, -1}}));
    auto circle = make<mmCircle>(1, 5, {{10, 10}});
    circle->radius = 4.5;
    add(d, circle);
    auto arc = make<mmArc>(0, 300, {{-3, 4}});
    arc->radius = 1.5;
    arc->startAngle = 350;
    arc->endAngle = 30;
    add(d, arc);
    auto point = make<mmPointObj>(1, 7, {{3, 3}});
    point->lineWidth = 2;
    add(d, point);
    addCurvesAndTexts(d);
    addWidthsAndJustification(d, dashed.id);
    auto tree = std::make_shared<mmBlockRef>();
    tree->AddPoint(50, 50);
    tree->InstantiateBlock(u"Baum", d.blocks, nullptr);
    tree->SetScale(2, 2, false);
    tree->SetRotation(30, false);
    tree->layerId = 1;
    add(d, tree);
    add(d, NewDimension(d, kDimRotated, d.nextEntityId,
                        {mmVertex(0, 0), mmVertex(20, 0), mmVertex(20, -5)}, nullptr));
    add(d, NewDimension(d, kDimAligned, d.nextEntityId,
                        {mmVertex(0, 0), mmVertex(3, 4), mmVertex(4, 5)}, nullptr));
    add(d, NewDimension(d, kDimOrdinate, d.nextEntityId,
                        {mmVertex(15, 4), mmVertex(25, 10), mmVertex(0, 0), mmVertex(), mmVertex(),
                         mmVertex(), mmVertex(25, 10)},
                        nullptr, 1));
    addShapesAndAttributes(d);
    MakeDimensionBlock(d);

    mmSpace paper;
    add(paper, make<mmLine>(0, 2, {{0, 0}, {297, 210}}));
    add(paper, make<mmPointObj>(1, 256, {{10, 10}}));
    DxfSpaceLayout layout(paper);
    return saveBoth(d, &layout, out, "every_type.dxf");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: dxf_save_samples OUT_DIR [DXF_DIR]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    int failures = 0;
    if (!writeEveryType(out)) {
        std::fprintf(stderr, "could not save every_type.dxf\n");
        ++failures;
    }
    if (argc > 2) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
            if (entry.path().extension() != ".dxf") continue;
            mmDrawing d;
            FillNewDrawing(d);
            mmSpace paper;
            DxfSpaceLayout layout(paper);
            const bool read = loadDrawingFromDxf(d, nullptr, entry.path().string(), &layout);
            MakeDimensionBlock(d);
            if (!read || !saveBoth(d, &layout, out, entry.path().filename().string())) {
                std::fprintf(stderr, "could not open and save %s\n", entry.path().c_str());
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
