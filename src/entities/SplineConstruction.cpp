// Fit-point interpolation (global interpolation with end derivatives, solved as a band system by
// LAPACK) and elliptic arcs as rational quadratics.
#include "entities/SplineConstruction.h"

#include <algorithm>
#include <cmath>

#include "entities/Geometry.h"

extern "C" void dgbsv_(const int* n, const int* kl, const int* ku, const int* nrhs, double* ab,
                       const int* ldab, int* ipiv, double* b, const int* ldb, int* info);

namespace {

constexpr int kCubic = 3;

mmVertex operator-(const mmVertex& a, const mmVertex& b) { return {a.x - b.x, a.y - b.y}; }
mmVertex scaled(const mmVertex& v, double f) { return {v.x * f, v.y * f}; }
double lengthOf(const mmVertex& v) { return std::hypot(v.x, v.y); }

mmVertex unit(const mmVertex& v) {
    const double l = lengthOf(v);
    return l > 0.0 ? scaled(v, 1.0 / l) : mmVertex(0.0, 0.0);
}

// The non-zero basis functions of degree p at u in knot span s (The NURBS Book, A2.2).
void basisFunctions(const std::vector<double>& u, std::size_t s, double t, double* n) {
    double left[kCubic + 1], right[kCubic + 1];
    n[0] = 1.0;
    for (int j = 1; j <= kCubic; ++j) {
        left[j] = t - u[s + 1 - static_cast<std::size_t>(j)];
        right[j] = u[s + static_cast<std::size_t>(j)] - t;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            const double denom = right[r + 1] + left[j - r];
            const double temp = denom != 0.0 ? n[r] / denom : 0.0;
            n[r] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        n[j] = saved;
    }
}

std::size_t spanOf(const std::vector<double>& u, std::size_t count, double t) {
    if (t >= u[count]) return count - 1;
    std::size_t s = kCubic;
    while (s + 1 < count && u[s + 1] <= t) ++s;
    return s;
}

// A band matrix for LAPACK's dgbsv: entry (i, j) of an n x n matrix with kl sub- and ku
// super-diagonals.
struct BandMatrix {
    int n, kl, ku, ld;
    std::vector<double> ab;
    BandMatrix(int size, int lower, int upper)
        : n(size), kl(lower), ku(upper), ld(2 * lower + upper + 1),
          ab(static_cast<std::size_t>(ld) * static_cast<std::size_t>(size), 0.0) {}
    bool set(int i, int j, double v) {
        if (j - i > ku || i - j > kl) return v == 0.0;
        ab[static_cast<std::size_t>(kl + ku + i - j) + static_cast<std::size_t>(j) * static_cast<std::size_t>(ld)] = v;
        return true;
    }
};

}  // namespace

bool InterpolateFitPoints(std::span<const mmVertex> fitPoints, const mmVertex* startTangent,
                          const mmVertex* endTangent, mmNurbsDefinition& out) {
    std::vector<mmVertex> pts;
    for (const mmVertex& p : fitPoints) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
        if (pts.empty() || p.x != pts.back().x || p.y != pts.back().y) pts.emplace_back(p.x, p.y);
    }
    const std::size_t m = pts.size();
    if (m < 2) return false;
    // Chord-length parameters, 0 to 1.
    std::vector<double> t(m, 0.0);
    for (std::size_t i = 1; i < m; ++i)
        t[i] = t[i - 1] + lengthOf(pts[i] - pts[i - 1]);
    const double total = t[m - 1];
    if (!(total > 0.0) || !std::isfinite(total)) return false;
    for (double& v : t) v /= total;
    t[m - 1] = 1.0;

    const bool startGiven = startTangent && lengthOf(*startTangent) > 0.0;
    const bool endGiven = endTangent && lengthOf(*endTangent) > 0.0;

    // m + 2 control points; the interior parameters are the inner knots.
    const std::size_t count = m + 2;
    std::vector<double> u(kCubic + 1, 0.0);
    u.insert(u.end(), t.begin() + 1, t.end() - 1);
    u.insert(u.end(), kCubic + 1, 1.0);

    const int n = static_cast<int>(count);
    BandMatrix a(n, kCubic, kCubic);
    std::vector<double> rhs(2 * count);
    auto setRhs = [&](std::size_t row, const mmVertex& v) {
        rhs[row] = v.x;
        rhs[count + row] = v.y;
    };
    auto basisRow = [&](int row, double at) {
        const std::size_t s = spanOf(u, count, at);
        double nb[kCubic + 1];
        basisFunctions(u, s, at, nb);
        bool fits = true;
        for (int k = 0; k <= kCubic; ++k)
            fits = a.set(row, static_cast<int>(s) - kCubic + k, nb[k]) && fits;
        return fits;
    };
    // An end condition: the derivative along the given tangent, with the length of the fit
    // polygon; without a tangent, no curvature at that end (the second derivative is 0). near is
    // the end control point, first the index of the three it involves, a and b the parameter
    // distances of the first two inner knots from that end.
    auto endCondition = [&](int row, int near, int step, bool given, const mmVertex& tangent,
                            double a1, double b1) {
        if (given) {
            a.set(row, near, -1.0);
            a.set(row, near + step, 1.0);
            setRhs(static_cast<std::size_t>(row), scaled(unit(tangent), total * step * a1 / kCubic));
        } else {
            a.set(row, near, b1);
            a.set(row, near + step, -(a1 + b1));
            a.set(row, near + 2 * step, a1);
            setRhs(static_cast<std::size_t>(row), mmVertex(0.0, 0.0));
        }
    };
    bool fits = basisRow(0, t[0]);
    setRhs(0, pts[0]);
    endCondition(1, 0, 1, startGiven, startGiven ? *startTangent : mmVertex(), u[kCubic + 1],
                 u[kCubic + 2]);
    for (std::size_t k = 1; k + 1 < m; ++k) {
        fits = basisRow(static_cast<int>(k + 1), t[k]) && fits;
        setRhs(k + 1, pts[k]);
    }
    endCondition(n - 2, n - 1, -1, endGiven, endGiven ? *endTangent : mmVertex(),
                 1.0 - u[count - 1], 1.0 - u[count - 2]);
    fits = basisRow(n - 1, t[m - 1]) && fits;
    setRhs(count - 1, pts[m - 1]);
    if (!fits) return false;

    std::vector<int> pivots(count);
    const int nrhs = 2;
    int info = 0;
    dgbsv_(&a.n, &a.kl, &a.ku, &nrhs, a.ab.data(), &a.ld, pivots.data(), rhs.data(), &a.n, &info);
    if (info != 0) return false;
    out.degree = kCubic;
    out.weights.clear();
    out.knots = std::move(u);
    out.points.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        out.points[i] = mmVertex(rhs[i], rhs[count + i]);
        if (!std::isfinite(rhs[i]) || !std::isfinite(rhs[count + i])) return false;
    }
    return true;
}

mmNurbsDefinition EllipticArcAsNurbs(const mmVertex& c, const mmVertex& a, double ratio,
                                     double t0, double t1, bool reversed) {
    const mmVertex b(-a.y * ratio, a.x * ratio);
    auto onEllipse = [&](double t) {
        return mmVertex(c.x + a.x * std::cos(t) + b.x * std::sin(t), c.y + a.y * std::cos(t) + b.y * std::sin(t));
    };
    const double sweep = std::clamp(t1 - t0, 0.0, 2.0 * kPi);
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / (kPi / 2.0) - 1e-9)));
    const double step = sweep / pieces;
    mmNurbsDefinition d;
    d.degree = 2;
    d.points.push_back(onEllipse(t0));
    d.weights.push_back(1.0);
    d.knots.assign(3, 0.0);
    for (int i = 0; i < pieces; ++i) {
        const double s = t0 + step * i;
        const double half = step / 2.0;
        // The middle point is where the end tangents meet: the mid direction stretched by
        // 1 / cos(half), with the weight cos(half).
        const mmVertex mid = onEllipse(s + half);
        const double w = std::cos(half);
        d.points.emplace_back(c.x + (mid.x - c.x) / w, c.y + (mid.y - c.y) / w);
        d.weights.push_back(w);
        d.points.push_back(onEllipse(i + 1 == pieces ? t0 + sweep : s + step));
        d.weights.push_back(1.0);
        d.knots.insert(d.knots.end(), i + 1 == pieces ? 3 : 2, static_cast<double>(i + 1));
    }
    if (reversed) {
        std::reverse(d.points.begin(), d.points.end());
        std::reverse(d.weights.begin(), d.weights.end());
        const double last = d.knots.back();
        std::reverse(d.knots.begin(), d.knots.end());
        for (double& k : d.knots) k = last - k;
    }
    return d;
}
