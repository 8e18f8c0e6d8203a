// Record readers of the entity types whose groups are read one by one: the header groups,
// polylines (POLYLINE with VERTEX, LWPOLYLINE), INSERT, DIMENSION and VIEWPORT.
#include "fileio/dxf/DxfEntityRecords.h"

#include <algorithm>

bool readDxfHeaderGroup(const DxfReader& r, DxfEntityHeader& h, unsigned mask) {
    switch (r.code()) {
        case 8:
            if (!(mask & kDxfLayer)) return false;
            h.layer.assign(r.value());
            return true;
        case 6:
            if (!(mask & kDxfLineType)) return false;
            h.lineType.assign(r.value());
            return true;
        case 62:
            if (!(mask & kDxfColor)) return false;
            h.color = r.intValue();
            return true;
        case 420:
            if (!(mask & kDxfColor)) return false;
            h.trueColor = r.intValue() & 0xFFFFFF;
            return true;
        case 39:
            if (!(mask & kDxfThickness)) return false;
            h.thickness = r.realValue();
            return true;
        case 48:
            if (!(mask & kDxfLineTypeScale)) return false;
            h.lineTypeScale = r.realValue();
            return true;
        case 67:
            if (!(mask & kDxfPaper)) return false;
            h.paperSpace = r.intValue() != 0;
            return true;
        case 5:
            if (!(mask & kDxfHandle)) return false;
            h.handle.assign(r.value());
            return true;
        case 60:
            h.invisible = r.intValue() != 0;
            return true;
        case 210:
            if (!(mask & kDxfExtrusion)) return false;
            h.extrusionX = r.realValue();
            return true;
        case 220:
            if (!(mask & kDxfExtrusion)) return false;
            h.extrusionY = r.realValue();
            return true;
        case 230:
            if (!(mask & kDxfExtrusion)) return false;
            h.extrusionZ = r.realValue();
            return true;
        default:
            return false;
    }
}

namespace {

void clearPolyline(DxfPolylineRecord& p) {
    p.flags = 0;
    p.vertexCount = 0;
    p.lightweight = true;
    p.startWidth = p.endWidth = 0.0;
    p.elevation = 0.0;
    p.x.clear();
    p.y.clear();
    p.bulge.clear();
    p.vertexStartWidth.clear();
    p.vertexEndWidth.clear();
}

// The width lists stay empty until a vertex has a width.
void setWidths(DxfPolylineRecord& p, double start, double end) {
    if (p.vertexStartWidth.empty() && start == 0.0 && end == 0.0) return;
    p.vertexStartWidth.resize(p.x.size());
    p.vertexEndWidth.resize(p.x.size());
    p.vertexStartWidth.back() = start;
    p.vertexEndWidth.back() = end;
}

void addVertex(DxfPolylineRecord& p, double x, double y, double bulge) {
    p.x.push_back(x);
    p.y.push_back(y);
    p.bulge.push_back(bulge);
    if (!p.vertexStartWidth.empty()) setWidths(p, 0.0, 0.0);
}

}  // namespace

bool readDxfPolyline(DxfReader& r, DxfEntityHeader& h, DxfPolylineRecord& p) {
    clearPolyline(p);
    p.lightweight = false;
    bool more = readDxfEntityGroups(r, h, kDxfAllHeader | kDxfExtrusion, [&](int32_t code) {
        if (code == 70)
            p.flags = r.intValue();
        else if (code == 40)
            p.startWidth = r.realValue();
        else if (code == 41)
            p.endWidth = r.realValue();
        else if (code == 30)
            p.elevation = r.realValue();
    });
    // Each following VERTEX gives a vertex; the first other entity (SEQEND) ends the list.
    while (more && r.value() == "VERTEX") {
        double x = 0.0, y = 0.0, bulge = 0.0, start = p.startWidth, end = p.endWidth;
        more = false;
        while (r.readGroup()) {
            const int32_t code = r.code();
            if (code == 0) {
                more = true;
                break;
            }
            if (code == 10)
                x = r.realValue();
            else if (code == 20)
                y = r.realValue();
            else if (code == 42)
                bulge = r.realValue();
            else if (code == 40)
                start = r.realValue();
            else if (code == 41)
                end = r.realValue();
        }
        addVertex(p, x, y, bulge);
        setWidths(p, start, end);
    }
    return more;
}

bool readDxfLwPolyline(DxfReader& r, DxfEntityHeader& h, DxfPolylineRecord& p) {
    clearPolyline(p);
    bool inVertex = false;  // the last 10 started a vertex that was kept
    return readDxfEntityGroups(r, h, kDxfAllHeader | kDxfExtrusion, [&](int32_t code) {
        switch (code) {
            case 70:
                p.flags = r.intValue();
                break;
            case 38:
                p.elevation = r.realValue();
                break;
            case 90:
                p.vertexCount = std::max(0, r.intValue());
                break;
            case 43:
                p.startWidth = p.endWidth = r.realValue();
                break;
            case 10:
                inVertex = p.x.size() < static_cast<std::size_t>(p.vertexCount);
                if (inVertex) addVertex(p, r.realValue(), 0.0, 0.0);
                break;
            case 20:
                if (inVertex) p.y.back() = r.realValue();
                break;
            case 40:
                if (inVertex)
                    setWidths(p, r.realValue(), p.vertexEndWidth.empty() ? 0.0 : p.vertexEndWidth.back());
                break;
            case 41:
                if (inVertex)
                    setWidths(p, p.vertexStartWidth.empty() ? 0.0 : p.vertexStartWidth.back(), r.realValue());
                break;
            case 42:
                if (inVertex) p.bulge.back() = r.realValue();
                break;
            default:
                break;
        }
    });
}

bool readDxfInsert(DxfReader& r, DxfEntityHeader& h, DxfInsertRecord& ins) {
    ins = DxfInsertRecord();
    constexpr unsigned kMask = kDxfLayer | kDxfLineType | kDxfColor | kDxfPaper | kDxfExtrusion;
    return readDxfEntityGroups(r, h, kMask, [&](int32_t code) {
        switch (code) {
            case 2:
                ins.blockName.assign(r.value());
                break;
            case 10:
                ins.x = r.realValue();
                break;
            case 20:
                ins.y = r.realValue();
                break;
            case 30:
                ins.z = r.realValue();
                break;
            case 41:
                ins.scaleX = r.realValue();
                break;
            case 42:
                ins.scaleY = r.realValue();
                break;
            case 43:
                ins.scaleZ = r.realValue();
                break;
            case 50:
                ins.rotation = r.realValue();
                break;
            case 70:
                ins.columns = r.intValue();
                break;
            case 71:
                ins.rows = r.intValue();
                break;
            case 44:
                ins.columnSpacing = r.realValue();
                break;
            case 45:
                ins.rowSpacing = r.realValue();
                break;
            default:
                break;
        }
    });
}

bool readDxfDimension(DxfReader& r, DxfEntityHeader& h, DxfDimensionRecord& d) {
    d = DxfDimensionRecord();
    return readDxfEntityGroups(r, h, kDxfAllHeader, [&](int32_t code) {
        switch (code) {
            case 1:
                d.text.assign(r.value());
                break;
            case 2:
                d.blockName.assign(r.value());
                break;
            case 3:
                d.styleName.assign(r.value());
                break;
            case 10:
                d.defX = r.realValue();
                break;
            case 20:
                d.defY = r.realValue();
                break;
            case 11:
                d.textX = r.realValue();
                break;
            case 21:
                d.textY = r.realValue();
                break;
            case 13:
                d.ext1X = r.realValue();
                break;
            case 23:
                d.ext1Y = r.realValue();
                break;
            case 14:
                d.ext2X = r.realValue();
                break;
            case 24:
                d.ext2Y = r.realValue();
                break;
            case 12:
                d.insertX = r.realValue();
                break;
            case 22:
                d.insertY = r.realValue();
                break;
            case 15:
                d.arcX = r.realValue();
                break;
            case 25:
                d.arcY = r.realValue();
                break;
            case 16:
                d.arcLocationX = r.realValue();
                break;
            case 26:
                d.arcLocationY = r.realValue();
                break;
            case 40:
                d.leaderLength = r.realValue();
                break;
            case 50:
                d.rotation = r.realValue();
                break;
            case 53:
                d.textRotation = r.realValue();
                break;
            case 70:
                d.type = r.intValue();
                break;
            default:
                break;
        }
    });
}

bool readDxfViewport(DxfReader& r, DxfEntityHeader& h, DxfViewportRecord& v) {
    v = DxfViewportRecord();
    h.clear();
    // The entity's own groups end at the extended data (1001) or the next object.
    for (;;) {
        if (!r.readGroup()) return false;
        const int32_t code = r.code();
        if (code == 0) return true;
        if (code == 1001) break;
        if (readDxfHeaderGroup(r, h, kDxfLayer | kDxfPaper)) continue;
        switch (code) {
            case 10:
                v.cx = r.realValue();
                break;
            case 20:
                v.cy = r.realValue();
                break;
            case 40:
                v.width = r.realValue();
                break;
            case 41:
                v.height = r.realValue();
                break;
            case 68:
                v.status = r.intValue();
                break;
            case 69:
                v.id = r.intValue();
                break;
            // Files of later releases give the view as groups of the entity.
            case 12:
                v.viewCx = r.realValue();
                break;
            case 22:
                v.viewCy = r.realValue();
                break;
            case 45:
                v.viewHeight = r.realValue();
                v.hasView = true;
                break;
            default:
                break;
        }
    }
    // MVIEW data: after the first 1040 (the view twist), three 1040 give the view height and
    // centre.
    do {
        if (!r.readGroup()) return false;
        if (r.code() == 0) return true;
    } while (r.code() != 1040);
    double view[3] = {};
    int taken = 0;
    while (taken < 3) {
        if (!r.readGroup()) return false;
        if (r.code() == 0) return true;
        if (r.code() != 1040) break;
        view[taken++] = r.realValue();
    }
    if (taken == 3) {
        v.hasView = true;
        v.viewHeight = view[0];
        v.viewCx = view[1];
        v.viewCy = view[2];
    }
    return r.skipToCodeZero();
}
