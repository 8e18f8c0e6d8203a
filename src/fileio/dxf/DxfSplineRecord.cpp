// The SPLINE record: counts and tangents, then knots, weights, control points and fit points in
// that order, each list ended by its count or by the groups that begin the next one.
#include <algorithm>

#include "fileio/dxf/DxfEntityRecords.h"

namespace {

// A list announced by a count: at most this many values are taken, whatever the count says.
std::size_t announced(int32_t count, std::size_t perItem) {
    return count > 0 ? static_cast<std::size_t>(count) * perItem : 0;
}

template <class T>
void padMissing(std::vector<T>& values, std::size_t wanted, std::size_t mostMissing) {
    values.resize(std::max(values.size(), std::min(wanted, values.size() + mostMissing)), T());
}

// Groups xCode, xCode + 10 and xCode + 20 as points: each x starts one (x, 0, 0).
bool storePointGroup(const DxfReader& r, int32_t xCode, std::vector<double>& triples) {
    const int32_t code = r.code();
    if (code == xCode) {
        triples.insert(triples.end(), {r.realValue(), 0.0, 0.0});
    } else if (!triples.empty() && (code == xCode + 10 || code == xCode + 20)) {
        triples[triples.size() - (code == xCode + 10 ? 2 : 1)] = r.realValue();
    } else {
        return false;
    }
    return true;
}

void storeHeaderGroup(const DxfReader& r, DxfSplineRecord& s) {
    switch (r.code()) {
        case 70:
            s.flags = r.intValue();
            break;
        case 71:
            s.degree = r.intValue();
            break;
        case 72:
            s.knotCount = r.intValue();
            break;
        case 73:
            s.controlCount = r.intValue();
            break;
        case 74:
            s.fitCount = r.intValue();
            break;
        case 12:
        case 22:
        case 32:
            s.startTangent[(r.code() - 12) / 10] = r.realValue();
            break;
        case 13:
        case 23:
        case 33:
            s.endTangent[(r.code() - 13) / 10] = r.realValue();
            break;
        default:
            break;
    }
}

}  // namespace

bool readDxfSpline(DxfReader& r, DxfEntityHeader& h, DxfSplineRecord& s) {
    s = DxfSplineRecord();
    h.clear();
    bool have = r.readGroup();
    auto next = [&] { have = r.readGroup(); };
    auto code = [&] { return r.code(); };
    auto finish = [&](bool more) {
        padMissing(s.knots, announced(s.knotCount, 1), kDxfSplinePadding);
        padMissing(s.control, announced(s.controlCount, 3), 3 * kDxfSplinePadding);
        return more;
    };

    // Counts, flags and tangents, up to the first knot (the tangents may also come last).
    for (; have && code() != 40; next()) {
        if (code() == 0) return finish(true);
        if (!readDxfHeaderGroup(r, h, kDxfAllHeader)) storeHeaderGroup(r, s);
        if (code() == 10 || code() == 11) break;  // no knots
    }
    // Knots: the 40 groups from the first on, up to the count, a weight, the first control
    // point or the end (so that a count larger than the list takes no coordinates).
    const std::size_t knots = announced(s.knotCount, 1);
    for (; have && s.knots.size() < knots && code() != 41 && code() != 10 && code() != 0; next())
        if (code() == 40) s.knots.push_back(r.realValue());
    // Weights and anything else up to the first control point.
    for (; have && code() != 10 && code() != 11; next()) {
        if (code() == 0) return finish(true);
        if (code() == 41) s.weights.push_back(r.realValue());
    }
    const std::size_t control = announced(s.controlCount, 3);
    for (; have && code() != 11 && code() != 0; next()) {
        if (code() == 10 && s.control.size() >= control) break;
        if (!storePointGroup(r, 10, s.control) && code() == 41) s.weights.push_back(r.realValue());
    }
    // Fit points, and the tangents that some programs write after them.
    for (; have && code() != 11; next())
        if (code() == 0) return finish(true);
    const std::size_t fit = announced(s.fitCount, 3);
    for (; have && code() != 0; next()) {
        if (code() == 11 && s.fit.size() >= fit) continue;
        if (!storePointGroup(r, 11, s.fit)) storeHeaderGroup(r, s);
    }
    return finish(have);
}
