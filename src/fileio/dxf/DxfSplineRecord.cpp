// The SPLINE record: counts and tangents, then knots, control points and fit points in that
// order, each list ended by its count or by the groups that begin the next one.
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
        padMissing(s.fit, announced(s.fitCount, 3), 3 * kDxfSplinePadding);
        return more;
    };

    // Counts, flags and tangents, up to the first knot.
    for (; have && code() != 40; next()) {
        if (code() == 0) return finish(true);
        if (readDxfHeaderGroup(r, h, kDxfAllHeader)) continue;
        switch (code()) {
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
                s.startTangent[0] = static_cast<float>(r.realValue());
                break;
            case 22:
                s.startTangent[1] = static_cast<float>(r.realValue());
                break;
            case 32:
                s.startTangent[2] = static_cast<float>(r.realValue());
                break;
            case 13:
                s.endTangent[0] = static_cast<float>(r.realValue());
                break;
            case 23:
                s.endTangent[1] = static_cast<float>(r.realValue());
                break;
            case 33:
                s.endTangent[2] = static_cast<float>(r.realValue());
                break;
            default:
                break;
        }
    }
    // Knots: the 40 groups from the first on, up to the count, a weight, the first control
    // point or the end (so that a count larger than the list takes no coordinates).
    const std::size_t knots = announced(s.knotCount, 1);
    for (; have && s.knots.size() < knots && code() != 41 && code() != 10 && code() != 0; next())
        if (code() == 40) s.knots.push_back(static_cast<float>(r.realValue()));
    // Weights and anything else up to the first control point.
    for (; have && code() != 10; next())
        if (code() == 0) return finish(true);
    const std::size_t control = announced(s.controlCount, 3);
    for (; have && s.control.size() < control && code() != 11 && code() != 0; next())
        if (code() == 10 || code() == 20 || code() == 30) s.control.push_back(r.realValue());
    for (; have && code() != 11; next())
        if (code() == 0) return finish(true);
    const std::size_t fit = announced(s.fitCount, 3);
    for (; have && s.fit.size() < fit && code() != 0; next())
        if (code() == 11 || code() == 21 || code() == 31)
            s.fit.push_back(static_cast<float>(r.realValue()));
    for (; have && code() != 0; next()) {
    }
    return finish(have);
}
