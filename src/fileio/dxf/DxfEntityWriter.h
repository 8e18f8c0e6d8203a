// DxfEntityWriter: writes one entity of the drawing as its DXF entity, with the header
// properties from its layer and colour. Types without a DXF form here are left out and counted.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "entities/Object.h"

class DxfWriter;
class mmArc;
class mmAttribute;
class mmBlockRef;
class mmCircle;
class mmDimension;
class mmDrawing;
class mmHatch;
class mmLine;
class mmMText;
class mmObject;
class mmPointObj;
class mmPolyline;
class mmSpline;
class mmText;
class mmViewport;
struct mmVertex;

class DxfEntityWriter {
public:
    DxfEntityWriter(DxfWriter& writer, const mmDrawing& drawing);

    // False when the entity was left out (its type is not written, or the writer refused).
    bool writeEntity(const mmObject& entity, int32_t paperFlag);

    // Entities left out, by type code.
    const std::map<int32_t, int64_t>& leftOut() const { return leftOut_; }

private:
    void setLayer(int32_t layerId);
    bool writePoint(const mmPointObj& point);
    bool writeLine(const mmLine& line);
    bool writeCircle(const mmCircle& circle);
    bool writeArc(const mmArc& arc);
    bool writePolyline(const mmPolyline& polyline);
    bool writeText(const mmText& text);
    void textBody(const mmText& text, const mmVertex& at);
    bool writeAttribute(const mmAttribute& attribute, const mmVertex& at);
    bool writeCorners(const mmObject& entity, std::string_view name, int16_t flags);
    bool writeMText(const mmMText& text);
    bool writeSpline(const mmSpline& spline);
    bool writeBlockRef(const mmBlockRef& reference);
    bool writeDimension(const mmDimension& dimension);
    bool writeViewport(const mmViewport& viewport);
    // DxfHatchWriter.cpp: the hatch and its boundary paths.
    bool writeHatch(const mmHatch& hatch);

    DxfWriter& w_;
    const mmDrawing& drawing_;
    int32_t layerId_ = 0;
    bool layerSet_ = false;
    std::map<int32_t, int64_t> leftOut_;
    std::string scratch_;
    std::string encoded_;
};
