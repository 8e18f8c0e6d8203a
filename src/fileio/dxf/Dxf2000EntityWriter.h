// Dxf2000EntityWriter: writes one entity of the drawing as its DXF 2000 entity: handle, owner,
// subclass markers, the header properties (layer, colour, linetype, paper space) and every
// property the program keeps of it. Block entities are written in block coordinates (their base
// point added back). Types without a DXF form here are left out and counted.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "entities/Vertex.h"

class DxfWriter;
class mm3dFace;
class mmArc;
class mmAttribute;
class mmBlockRef;
class mmCircle;
class mmDimension;
class mmDrawing;
class mmEllipse;
class mmLeader;
class mmLine;
class mmMText;
class mmObject;
class mmPointObj;
class mmPolyline;
class mmSolid;
class mmText;
class mmViewport;
class mmXLine;
struct Dxf2000Plan;

class Dxf2000EntityWriter {
public:
    Dxf2000EntityWriter(DxfWriter& writer, const mmDrawing& drawing, const Dxf2000Plan& plan);

    // The owner (a block record) and the offset of the entities that follow, and whether they
    // are in paper space.
    void setContainer(uint64_t owner, const mmVertex& offset, bool paper);
    // False when the entity was left out (its type is not written, or the writer refused).
    bool writeEntity(const mmObject& entity);

    const std::map<int32_t, int64_t>& leftOut() const { return leftOut_; }

private:
    void setProperties(const mmObject& e);
    // x, y and z = 0 as the groups code, code + 10, code + 20, moved by the offset.
    void point(int32_t code, const mmVertex& p);
    bool writePoint(const mmPointObj& point);
    bool writeLine(const mmLine& line);
    bool writeCircle(const mmCircle& circle);
    bool writeArc(const mmArc& arc);
    bool writeBlockRef(const mmBlockRef& reference);
    bool writeViewport(const mmViewport& viewport);
    // Dxf2000Shapes.cpp
    bool writeEllipse(const mmEllipse& ellipse);
    bool writeSolid(const mmSolid& solid);
    bool write3dFace(const mm3dFace& face);
    bool writeXLine(const mmXLine& line);
    bool writeLeader(const mmLeader& leader);
    // The attributes among a reference's children (relative to its insertion point) and their
    // SEQEND, owned by the reference.
    bool writeAttributes(const mmBlockRef& reference, uint64_t owner);
    // Dxf2000Polylines.cpp
    bool writePolyline(const mmPolyline& polyline);
    bool writeLightweight(const mmPolyline& polyline);
    bool writeHeavy(const mmPolyline& polyline);
    // Dxf2000Annotations.cpp
    bool writeText(const mmText& text);
    // ATTRIB, or ATTDEF with its prompt.
    bool writeAttribute(const mmAttribute& attribute);
    // TEXT's groups up to the second subclass marker, which the caller writes.
    void textBody(const mmText& text);
    bool writeMText(const mmMText& text);
    bool writeDimension(const mmDimension& dimension);

    DxfWriter& w_;
    const mmDrawing& drawing_;
    const Dxf2000Plan& plan_;
    mmVertex offset_;
    int32_t layerId_ = 0;
    bool layerSet_ = false;
    std::map<int32_t, int64_t> leftOut_;
    std::string scratch_;
    std::string encoded_;
};
