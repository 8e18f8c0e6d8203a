// What the DXF entity readers take from a file before the entity is made: the common header and
// one record per entity type, read by functions that stop at the code 0 of the next object and
// return false when the file ended instead. Counts in the file never size an allocation: lists
// hold what the file holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "entities/HatchPattern.h"

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
    // 210, 220, 230: the normal of the entity's plane
    double extrusionX = 0.0, extrusionY = 0.0, extrusionZ = 1.0;
    bool invisible = false;  // 60, read for every entity

    void clear() {
        layer.clear();
        lineType.clear();
        color = 256;
        trueColor = -1;
        thickness = 0.0;
        lineTypeScale = 1.0;
        paperSpace = false;
        handle.clear();
        extrusionX = extrusionY = 0.0;
        extrusionZ = 1.0;
        invisible = false;
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
    kDxfExtrusion = 128,  // of the entities given in the coordinates of their plane
};

// Stores the reader's current group in the header when the mask takes it (420 goes with 62, and
// every mask takes 60); false otherwise.
bool readDxfHeaderGroup(const DxfReader& reader, DxfEntityHeader& header, unsigned mask);

// Reads the groups of an entity up to the next code 0: header groups of the mask into header
// (cleared first), all others through body(code). False when the file ended first.
template <class Body>
bool readDxfEntityGroups(DxfReader& reader, DxfEntityHeader& header, unsigned mask, Body&& body);

// POLYLINE with its VERTEX entities, and LWPOLYLINE.
struct DxfPolylineRecord {
    int32_t flags = 0;        // 70: bit 1 closed, 16 polygon mesh, 64 polyface mesh
    int32_t vertexCount = 0;  // 90 (LWPOLYLINE)
    bool lightweight = true;  // false for POLYLINE
    // Widths: POLYLINE's defaults (40, 41) for vertices without their own, LWPOLYLINE's constant
    // width (43, into both).
    double startWidth = 0.0, endWidth = 0.0;
    double elevation = 0.0;   // 38 (LWPOLYLINE), 30 (POLYLINE)
    std::vector<double> x, y, bulge;
    // 40, 41 of each vertex; empty when no vertex has a width
    std::vector<double> vertexStartWidth, vertexEndWidth;
};
inline constexpr int32_t kDxfPolygonMesh = 16;
inline constexpr int32_t kDxfPolyfaceMesh = 64;
bool readDxfPolyline(DxfReader& reader, DxfEntityHeader& header, DxfPolylineRecord& record);
bool readDxfLwPolyline(DxfReader& reader, DxfEntityHeader& header, DxfPolylineRecord& record);

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
    double x = 0.0, y = 0.0, z = 0.0;
    double scaleX = 1.0, scaleY = 1.0, scaleZ = 1.0;  // 41 42 43
    double rotation = 0.0;                            // 50
    int32_t columns = 1, rows = 1;                    // 70 71 (MINSERT)
    double columnSpacing = 0.0, rowSpacing = 0.0;     // 44 45
};
bool readDxfInsert(DxfReader& reader, DxfEntityHeader& header, DxfInsertRecord& record);

// TEXT's groups with the tag (2), the prompt (3, ATTDEF) and the flags (70) of ATTRIB and
// ATTDEF, whose vertical justification is 74 (their 73 is a field length). The embedded
// multi-line text of newer files (after 101) is not read.
struct DxfAttributeRecord {
    DxfTextRecord text;
    std::string tag, prompt;
    int32_t flags = 0;
};
bool readDxfAttribute(DxfReader& reader, DxfEntityHeader& header, DxfAttributeRecord& record);

// ELLIPSE: centre, the end of the major axis from it, in world coordinates; the normal of its
// plane is the header's extrusion.
struct DxfEllipseRecord {
    double cx = 0.0, cy = 0.0, cz = 0.0;        // 10 20 30
    double mx = 1.0, my = 0.0, mz = 0.0;        // 11 21 31
    double ratio = 1.0;                         // 40
    double start = 0.0, end = 6.283185307179586;  // 41 42, radians
};
bool readDxfEllipse(DxfReader& reader, DxfEntityHeader& header, DxfEllipseRecord& record);

// SOLID, TRACE and 3DFACE: four corners (10..13, 20..23, 30..33) and 3DFACE's invisible edges.
struct DxfCornersRecord {
    double x[4] = {}, y[4] = {}, z[4] = {};
    int32_t flags = 0;  // 70
    bool fourth = false;  // the entity gave its fourth corner
};
bool readDxfCorners(DxfReader& reader, DxfEntityHeader& header, DxfCornersRecord& record);

// LEADER: the dimension style (3), arrowhead flag (71), path type (72), vertices (10, 20) and the
// arrow size and scale of its style overrides (the extended data DSTYLE, groups 41 and 40).
struct DxfLeaderRecord {
    std::string styleName;
    bool arrowhead = true;
    bool spline = false;
    std::vector<double> x, y;
    double arrowSize = -1.0;  // none given
    double scale = -1.0;
};
bool readDxfLeader(DxfReader& reader, DxfEntityHeader& header, DxfLeaderRecord& record);

// XLINE and RAY: a point (10, 20) and a direction (11, 21).
struct DxfXLineRecord {
    double x = 0.0, y = 0.0, dx = 1.0, dy = 0.0;
};
bool readDxfXLine(DxfReader& reader, DxfEntityHeader& header, DxfXLineRecord& record);

// Everything in double precision: survey coordinates do not fit a float.
struct DxfSplineRecord {
    int32_t flags = 0, degree = 3;                          // 70, 71
    int32_t knotCount = 0, controlCount = 0, fitCount = 0;  // 72, 73, 74
    double startTangent[3] = {}, endTangent[3] = {};        // 12.., 13..
    std::vector<double> knots;                              // 40
    std::vector<double> weights;                            // 41
    std::vector<double> control;                            // 10 20 30: x, y, z triples
    std::vector<double> fit;                                // 11 21 31: x, y, z triples
};
// The knots and control points announced but missing from the file are added as zeros, at
// most kDxfSplinePadding of each.
inline constexpr std::size_t kDxfSplinePadding = 8;
bool readDxfSpline(DxfReader& reader, DxfEntityHeader& header, DxfSplineRecord& record);

struct DxfHatchEdge {
    enum Kind { Line, Arc, Ellipse, Spline } kind = Line;
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;  // line
    double cx = 0.0, cy = 0.0, radius = 0.0;        // arc; ellipse: the centre
    double majorX = 1.0, majorY = 0.0, ratio = 1.0;  // ellipse: major axis end from the centre
    // Arc and ellipse, degrees: the curve runs counter-clockwise from the start angle to the end
    // angle. A clockwise edge (73 = 0, or a negative bulge) is the same curve followed from its
    // end to its start; the file gives its angles as 360 minus those of that counter-clockwise
    // curve.
    double startAngle = 0.0, endAngle = 0.0;
    bool counterClockwise = true;
    // Spline: 94, 73, 74; knots 40; control points 10 20 as x, y, 0 triples; weights 42; fit
    // points 11 21 as x, y pairs; tangents 12 22 and 13 23.
    int32_t degree = 3;
    bool rational = false, periodic = false;
    std::vector<double> knots;
    std::vector<double> control;
    std::vector<double> weights;
    std::vector<double> fit;
    double startTangent[2] = {}, endTangent[2] = {};
};
struct DxfHatchPath {
    int32_t flags = 0;  // 92: bit 2 polyline path
    std::vector<DxfHatchEdge> edges;
};
struct DxfHatchRecord {
    std::string patternName;  // 2
    bool solidFill = true;    // 70
    int32_t pathCount = 0;    // 91
    std::vector<DxfHatchPath> paths;
    int32_t style = 0, patternType = 1;         // 75, 76
    double patternAngle = 0.0, patternScale = 1.0;  // 52, 41
    bool patternDouble = false;                 // 77
    std::vector<mmHatchPatternLine> lines;      // 53 43 44 45 46 79 49 each
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
    double arcX = 0.0, arcY = 0.0;           // 15, 25 (radius: the point on the circle)
    double arcLocationX = 0.0, arcLocationY = 0.0;  // 16, 26
    double insertX = 0.0, insertY = 0.0;     // 12, 22: where the block is placed
    double leaderLength = 0.0;               // 40
    double rotation = 0.0;                   // 50 (rotated dimensions)
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
