// Records of ELLIPSE, SOLID, TRACE, 3DFACE, LEADER, XLINE and RAY.
#include "fileio/dxf/DxfEntityRecords.h"

bool readDxfEllipse(DxfReader& r, DxfEntityHeader& h, DxfEllipseRecord& e) {
    e = DxfEllipseRecord();
    return readDxfEntityGroups(r, h, kDxfAllHeader | kDxfExtrusion, [&](int32_t code) {
        switch (code) {
            case 10:
                e.cx = r.realValue();
                break;
            case 20:
                e.cy = r.realValue();
                break;
            case 30:
                e.cz = r.realValue();
                break;
            case 11:
                e.mx = r.realValue();
                break;
            case 21:
                e.my = r.realValue();
                break;
            case 31:
                e.mz = r.realValue();
                break;
            case 40:
                e.ratio = r.realValue();
                break;
            case 41:
                e.start = r.realValue();
                break;
            case 42:
                e.end = r.realValue();
                break;
            default:
                break;
        }
    });
}

// SOLID and TRACE take the whole header and their plane; 3DFACE only 8, 62 and 67 (its corners
// are world coordinates).
bool readDxfCorners(DxfReader& r, DxfEntityHeader& h, DxfCornersRecord& c) {
    c = DxfCornersRecord();
    const bool face = r.value() == "3DFACE";
    const unsigned mask = face ? kDxfLayer | kDxfColor | kDxfPaper : kDxfAllHeader | kDxfExtrusion;
    const bool more = readDxfEntityGroups(r, h, mask, [&](int32_t code) {
        if (code >= 10 && code <= 13) {
            c.x[code - 10] = r.realValue();
            c.fourth = c.fourth || code == 13;
        } else if (code >= 20 && code <= 23) {
            c.y[code - 20] = r.realValue();
            c.fourth = c.fourth || code == 23;
        } else if (code >= 30 && code <= 33) {
            c.z[code - 30] = r.realValue();
        } else if (code == 70) {
            c.flags = r.intValue();
        }
    });
    if (!c.fourth) {
        c.x[3] = c.x[2];
        c.y[3] = c.y[2];
        c.z[3] = c.z[2];
    }
    return more;
}

bool readDxfLeader(DxfReader& r, DxfEntityHeader& h, DxfLeaderRecord& l) {
    l.styleName.clear();
    l.arrowhead = true;
    l.spline = false;
    l.x.clear();
    l.y.clear();
    l.arrowSize = l.scale = -1.0;
    // Extended data: after 1000 DSTYLE, pairs of a 1070 naming a dimension variable and its value.
    enum { Body, Data, Styles } part = Body;
    int32_t variable = -1;
    return readDxfEntityGroups(r, h, kDxfAllHeader, [&](int32_t code) {
        if (code >= 1000) {
            if (code == 1000 && r.value() == "DSTYLE") part = Styles;
            else if (part == Body) part = Data;
            if (part != Styles || code == 1000 || code == 1002) return;
            if (variable < 0) {
                if (code == 1070) variable = r.intValue();
                return;
            }
            if (variable == 41 && code == 1040) l.arrowSize = r.realValue();
            if (variable == 40 && code == 1040) l.scale = r.realValue();
            variable = -1;
            return;
        }
        if (part != Body) return;
        switch (code) {
            case 3:
                l.styleName.assign(r.value());
                break;
            case 71:
                l.arrowhead = r.intValue() != 0;
                break;
            case 72:
                l.spline = r.intValue() == 1;
                break;
            case 10:
                l.x.push_back(r.realValue());
                l.y.push_back(0.0);
                break;
            case 20:
                if (!l.y.empty()) l.y.back() = r.realValue();
                break;
            default:
                break;
        }
    });
}

bool readDxfXLine(DxfReader& r, DxfEntityHeader& h, DxfXLineRecord& x) {
    x = DxfXLineRecord();
    return readDxfEntityGroups(r, h, kDxfAllHeader, [&](int32_t code) {
        switch (code) {
            case 10:
                x.x = r.realValue();
                break;
            case 20:
                x.y = r.realValue();
                break;
            case 11:
                x.dx = r.realValue();
                break;
            case 21:
                x.dy = r.realValue();
                break;
            default:
                break;
        }
    });
}
