// Counting what a drawing holds by DXF entity name, for the corpus checks that compare the
// program with other readers (dxf_corpus_check.py, dwg_corpus_check.py). POLYLINE stands for
// both polyline entities, which the program does not tell apart.
#pragma once

#include <map>
#include <string>

#include "entities/BlockRef.h"
#include "entities/Solid.h"
#include "entities/XLine.h"

inline const char* SampleTypeName(const mmObject& e) {
    switch (e.type) {
        case kTypePolyline:
            return "POLYLINE";
        case kTypeCircle:
            return "CIRCLE";
        case kTypeArc:
            return "ARC";
        case kTypePoint:
            return "POINT";
        case kTypeLine:
            return "LINE";
        case kTypeSpline:
            return "SPLINE";
        case kTypeEllipse:
            return "ELLIPSE";
        case kTypeSolid:
            return static_cast<const mmSolid&>(e).trace ? "TRACE" : "SOLID";
        case kType3dFace:
            return "3DFACE";
        case kTypeXLine:
            return static_cast<const mmXLine&>(e).ray ? "RAY" : "XLINE";
        case kTypeBlockRef:
            return "INSERT";
        case kTypeHatch:
            return "HATCH";
        case kTypeText:
            return "TEXT";
        case kTypeMText:
            return "MTEXT";
        case kTypeAttributeDef:
            return "ATTDEF";
        case kTypeAttribute:
            return "ATTRIB";
        case kTypeDimension:
            return "DIMENSION";
        case kTypeLeader:
            return "LEADER";
        default:
            return "other";
    }
}

// The entities of a list by name, with the attributes of its references (not the copies of
// their blocks' entities).
inline void CountSampleEntities(const mmEntityList& list, std::map<std::string, int>& counts) {
    for (const mmObjectPtr& e : list) {
        if (!e) continue;
        ++counts[SampleTypeName(*e)];
        if (e->type != kTypeBlockRef) continue;
        for (const mmObjectPtr& c : static_cast<const mmBlockRef&>(*e).children)
            if (c && c->type == kTypeAttribute) ++counts["ATTRIB"];
    }
}

inline std::string QuotedJson(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) continue;
        out += c;
    }
    return out + "\"";
}

inline std::string CountsJson(const std::map<std::string, int>& counts) {
    std::string out = "{";
    for (const auto& [name, count] : counts)
        out += (out.size() > 1 ? "," : "") + QuotedJson(name) + ":" + std::to_string(count);
    return out + "}";
}
