// What the DXF entity readers take from a file before the entity is made: the common header and
// one record per entity type, read by functions that stop at the code 0 of the next object and
// return false when the file ended instead. Counts in the file never size an allocation: lists
// hold what the file holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class DxfReader;

// Filled for every entity before its own data; cleared to these defaults first.
struct DxfEntityHeader {
    std::string layer;           // 8
    std::string lineType;        // 6
    int32_t color = 256;         // 62
    double thickness = 0.0;      // 39
    double lineTypeScale = 1.0;  // 48
    bool paperSpace = false;     // 67
    std::string handle;          // 5 (HATCH)
    int32_t trueColor = -1;      // 420, 0x00RRGGBB; -1 when absent

    void clear() {
        layer.clear();
        lineType.clear();
        color = 256;
        trueColor = -1;
        thickness = 0.0;
        lineTypeScale = 1.0;
        paperSpace = false;
        handle.clear();
    }
};

// The header groups an entity type stores (the others are ignored).
enum DxfHeaderGroups : unsigned {
    kDxfLayer = 1,
    kDxfLineType = 2,
    kDxfColor = 4,
    kDxfThickness = 8,
    kDxfLineTypeScale = 16,
    kDxfPaper = 32,
    kDxfHandle = 64,
    kDxfAllHeader = 63,
};

// Stores the reader's current group in the header when the mask takes it (420 goes with 62);
// false otherwise.
bool readDxfHeaderGroup(const DxfReader& reader, DxfEntityHeader& header, unsigned mask);

// Reads the groups of an entity up to the next code 0: header groups of the mask into header
// (cleared first), all others through body(code). False when the file ended first.
template <class Body>
bool readDxfEntityGroups(DxfReader& reader, DxfEntityHeader& header, unsigned mask, Body&& body);

// POLYLINE with its VERTEX entities, LWPOLYLINE, and 3DFACE as a polyline of its corners.
struct DxfPolylineRecord {
    int32_t flags = 0;        // 70: bit 1 closed
    int32_t vertexCount = 0;  // 90 (LWPOLYLINE)
    bool lightweight = true;  // false for POLYLINE
    // Widths: POLYLINE's defaults (40, 41) for vertices without their own, LWPOLYLINE's constant
    // width (43, into both).
    double startWidth = 0.0, endWidth = 0.0;
    std::vector<double> x, y, bulge;
    // 40, 41 of each vertex; empty when no vertex has a width
    std::vector<double> vertexStartWidth, vertexEndWidth;
};
bool readDxfPolyline(DxfReader& reader, DxfEntityHeader& header, DxfPolylineRecord& record);
bool readDxfLwPolyline(DxfReader& reader, DxfEntityHeader& header, DxfPolylineRecord& record);
bool readDxf3dFace(DxfReader& reader, DxfEntityHeader& header, DxfPolylineRecord& record);

// TEXT and MTEXT (and the attributes, which share the groups of TEXT).
struct DxfTextRecord {
    // 1 (MTEXT: the 3 chunks, then 1), bytes of the file's code page, codes included
    std::string text;
    std::string style;                     // 7
    double x = 0.0, y = 0.0;               // 10, 20
    double alignX = 0.0, alignY = 0.0;     // 11, 21 (MTEXT: the direction of its x axis)
    bool alignGiven = false;               // the entity has an 11
    double height = 0.0;                   // 40
    double group41 = 1.0;                  // 41: TEXT width factor, MTEXT rectangle width
    double rotation = 0.0;                 // 50
    bool rotationGiven = false;            // the entity has a 50
    double oblique = 0.0;                  // 51 (TEXT)
    int32_t horizontal = 0, vertical = 0;  // 72, 73 (TEXT)
    int32_t attachment = 1;                // 71 (MTEXT); top left when the file has none
    double lineSpacing = 1.0;              // 44 (MTEXT)
    bool cut = false;                      // MTEXT longer than kDxfMTextRawLimit was cut

    // The defaults again, keeping the strings' buffers.
    void clear() {
        std::string keepText = std::move(text), keepStyle = std::move(style);
        *this = DxfTextRecord();
        text = std::move(keepText);
        style = std::move(keepStyle);
        text.clear();
        style.clear();
    }
};
// Stores the reader's current group when it is one of TEXT's own (1, 7, 10, 20, 11, 21, 40, 41,
// 50, 51, 72, 73); false otherwise. The attribute readers share it.
bool storeDxfTextGroup(const DxfReader& reader, DxfTextRecord& record);
bool readDxfText(DxfReader& reader, DxfEntityHeader& header, DxfTextRecord& record);
// MTEXT: its chunks joined, codes kept. Without a rotation (50) the direction of the text's x
// axis (11, 21) gives it.
bool readDxfMText(DxfReader& reader, DxfEntityHeader& header, DxfTextRecord& record);
// Most bytes of one MTEXT kept (a bound on memory, never met by real texts).
inline constexpr std::size_t kDxfMTextRawLimit = 1 << 20;

struct DxfInsertRecord {
    std::string blockName;  // 2
    double x = 0.0, y = 0.0;
    double scaleX = 1.0, scaleY = 1.0, scaleZ = 1.0;  // 41 42 43
    double rotation = 0.0;                            // 50
};
bool readDxfInsert(DxfReader& reader, DxfEntityHeader& header, DxfInsertRecord& record);

struct DxfSplineRecord {
    int32_t flags = 0, degree = 0;                          // 70, 71
    int32_t knotCount = 0, controlCount = 0, fitCount = 0;  // 72, 73, 74
    float startTangent[3] = {}, endTangent[3] = {};         // 12.., 13..
    std::vector<float> knots;
    // x, y, z triples. Read in double precision: the entity keeps its points in double, and
    // survey coordinates do not fit a float.
    std::vector<double> control;
    std::vector<float> fit;  // x, y, z triples
};
// The knots and control points announced but missing from the file are added as zeros, at
// most kDxfSplinePadding of each.
inline constexpr std::size_t kDxfSplinePadding = 8;
bool readDxfSpline(DxfReader& reader, DxfEntityHeader& header, DxfSplineRecord& record);

struct DxfHatchEdge {
    enum Kind { Line, Arc, Spline } kind = Line;
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;  // line
    double cx = 0.0, cy = 0.0, radius = 0.0;        // arc
    // Arc, degrees: the arc runs counter-clockwise from the start angle to the end angle. A
    // clockwise edge (73 = 0, or a negative bulge) is the same arc followed from its end to its
    // start; the file gives its angles as 360 minus those of that counter-clockwise arc.
    double startAngle = 0.0, endAngle = 0.0;
    bool counterClockwise = true;
    std::vector<float> knots;     // spline
    std::vector<double> control;  // spline: x, y, 0 triples
};
struct DxfHatchPath {
    int32_t flags = 0;  // 92: bit 2 polyline path
    std::vector<DxfHatchEdge> edges;
};
struct DxfHatchRecord {
    int32_t pathCount = 0;  // 91
    std::vector<DxfHatchPath> paths;
};
bool readDxfHatch(DxfReader& reader, DxfEntityHeader& header, DxfHatchRecord& record);
// The edge of a polyline segment from (x1, y1) to (x2, y2): a line, or the arc of its bulge
// worked out in double precision.
DxfHatchEdge dxfSegmentEdge(double x1, double y1, double x2, double y2, double bulge);

struct DxfDimensionRecord {
    std::string text, blockName, styleName;  // 1, 2, 3
    double defX = 0.0, defY = 0.0;           // 10, 20
    double textX = 0.0, textY = 0.0;         // 11, 21
    double ext1X = 0.0, ext1Y = 0.0;         // 13, 23
    double ext2X = 0.0, ext2Y = 0.0;         // 14, 24
    double chordX = 0.0, chordY = 0.0;       // 15, 25: radius, the point on the circle
    double textRotation = 0.0;               // 53
    int32_t type = 0;                        // 70
};
bool readDxfDimension(DxfReader& reader, DxfEntityHeader& header, DxfDimensionRecord& record);

struct DxfViewportRecord {
    double cx = 0.0, cy = 0.0, width = 0.0, height = 0.0;  // 10 20 40 41
    int32_t status = 0, id = 0;                            // 68 69
    bool hasView = false;
    double viewHeight = 0.0, viewCx = 0.0, viewCy = 0.0;  // MVIEW extended data
};
bool readDxfViewport(DxfReader& reader, DxfEntityHeader& header, DxfViewportRecord& record);

#include "fileio/dxf/DxfReader.h"

template <class Body>
bool readDxfEntityGroups(DxfReader& reader, DxfEntityHeader& header, unsigned mask, Body&& body) {
    header.clear();
    while (reader.readGroup()) {
        const int32_t code = reader.code();
        if (code == 0) return true;
        if (!readDxfHeaderGroup(reader, header, mask)) body(code);
    }
    return false;
}
