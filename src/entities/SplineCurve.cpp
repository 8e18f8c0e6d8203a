// NURBS curves: validity, de Boor's algorithm on homogeneous points, the periodic form and
// sampling within a tolerance.
#include "entities/SplineCurve.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

double weightAt(const mmNurbsView& c, std::size_t i) {
    return c.weights.empty() ? 1.0 : c.weights[i];
}

// Distance from p to the segment a-b.
double segmentDistance(const mmVertex& p, const mmVertex& a, const mmVertex& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

bool mmNurbsView::Valid() const {
    const std::size_t count = points.size();
    if (degree < 1 || degree > kSplineMaxDegree || count < static_cast<std::size_t>(degree) + 1)
        return false;
    if (knots.size() != count + static_cast<std::size_t>(degree) + 1) return false;
    if (!weights.empty() && weights.size() != count) return false;
    for (std::size_t i = 0; i < knots.size(); ++i)
        if (!std::isfinite(knots[i]) || (i > 0 && knots[i] < knots[i - 1])) return false;
    if (!(knots[count] > knots[static_cast<std::size_t>(degree)])) return false;
    for (const mmVertex& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    for (double w : weights)
        if (!(w > 0.0) || !std::isfinite(w)) return false;
    return true;
}

mmVertex mmNurbsView::PointAt(std::size_t span, double u) const {
    const std::size_t p = static_cast<std::size_t>(degree);
    std::array<double, 3 * (kSplineMaxDegree + 1)> d{};
    for (std::size_t r = 0; r <= p; ++r) {
        const std::size_t i = span - p + r;
        const double w = weightAt(*this, i);
        d[3 * r] = points[i].x * w;
        d[3 * r + 1] = points[i].y * w;
        d[3 * r + 2] = w;
    }
    for (std::size_t level = 1; level <= p; ++level)
        for (std::size_t r = p; r >= level; --r) {
            const std::size_t k = span - p + r;
            const double denom = knots[k + p - level + 1] - knots[k];
            const double a = denom > 0.0 ? (u - knots[k]) / denom : 0.0;
            for (std::size_t c = 0; c < 3; ++c)
                d[3 * r + c] = (1.0 - a) * d[3 * (r - 1) + c] + a * d[3 * r + c];
        }
    const double w = d[3 * p + 2];
    return {d[3 * p] / w, d[3 * p + 1] / w};
}

mmNurbsView PeriodicAsNurbs(const mmNurbsView& c, mmNurbsStorage& s) {
    const std::size_t n = c.points.size();
    const std::size_t p = static_cast<std::size_t>(std::max(c.degree, 0));
    if (n == 0 || c.knots.size() != n + 1 || p == 0 || p > n) return c;
    if (!c.weights.empty() && c.weights.size() != n) return c;
    s.points.assign(c.points.begin(), c.points.end());
    s.points.insert(s.points.end(), c.points.begin(), c.points.begin() + static_cast<long>(p));
    s.weights.clear();
    if (!c.weights.empty()) {
        s.weights.assign(c.weights.begin(), c.weights.end());
        s.weights.insert(s.weights.end(), c.weights.begin(), c.weights.begin() + static_cast<long>(p));
    }
    // u[j] = t[(j - p) mod n] + floor((j - p) / n) * period, j = 0 .. n + 2p.
    const double period = c.knots[n] - c.knots[0];
    s.knots.resize(n + 2 * p + 1);
    for (std::size_t j = 0; j < s.knots.size(); ++j) {
        const long shifted = static_cast<long>(j) - static_cast<long>(p);
        const long ln = static_cast<long>(n);
        const long wraps = shifted >= 0 ? shifted / ln : -((-shifted + ln - 1) / ln);
        s.knots[j] = c.knots[static_cast<std::size_t>(shifted - wraps * ln)] +
                     static_cast<double>(wraps) * period;
    }
    mmNurbsView v;
    v.degree = c.degree;
    v.points = s.points;
    v.weights = s.weights;
    v.knots = s.knots;
    return v;
}

void SampleNurbs(const mmNurbsView& c, double tolerance, std::size_t maxPoints,
                 const std::function<void(double x, double y)>& emit) {
    const std::size_t p = static_cast<std::size_t>(c.degree);
    const std::size_t count = c.points.size();
    if (maxPoints < 2) return;
    // Pieces per span from the distance of its control points to the chord of the span.
    thread_local std::vector<std::size_t> pieces;
    pieces.assign(count, 0);
    std::size_t total = 0;
    constexpr double kMostPiecesPerSpan = 1024.0;
    for (std::size_t s = p; s < count; ++s) {
        const double t0 = c.knots[s], t1 = c.knots[s + 1];
        if (!(t0 < t1)) continue;
        const mmVertex a = c.PointAt(s, t0), b = c.PointAt(s, t1);
        double bulge = 0.0;
        for (std::size_t i = s - p; i <= s; ++i)
            bulge = std::max(bulge, segmentDistance(c.points[i], a, b));
        double n = bulge > tolerance && tolerance > 0.0 ? std::ceil(std::sqrt(bulge / tolerance)) : 1.0;
        if (!(n <= kMostPiecesPerSpan)) n = kMostPiecesPerSpan;
        pieces[s] = static_cast<std::size_t>(n);
        total += pieces[s];
    }
    if (total == 0) return;
    if (total + 1 > maxPoints) {
        const double fit = static_cast<double>(maxPoints - 1) / static_cast<double>(total);
        for (std::size_t& k : pieces)
            if (k > 0) k = std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(k) * fit));
    }
    bool first = true;
    for (std::size_t s = p; s < count; ++s) {
        if (pieces[s] == 0) continue;
        const double t0 = c.knots[s], t1 = c.knots[s + 1];
        const std::size_t n = pieces[s];
        for (std::size_t i = first ? 0 : 1; i <= n; ++i) {
            const double u = i == n ? t1 : t0 + (t1 - t0) * static_cast<double>(i) / static_cast<double>(n);
            const mmVertex q = c.PointAt(s, u);
            emit(q.x, q.y);
        }
        first = false;
    }
}
