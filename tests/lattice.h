#pragma once

// An enumeration of the designers' lanes written from the rules, for tests: every lattice site
// of every region tried, every decision squared out in whole numbers of 0.05 mm, where 128
// bits are plenty.

#include "layout/study.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace lattice {

using layout::Bundle;
using layout::Centring;
using layout::Given;
using layout::Inputs;
using layout::Int128;
using layout::LaneModel;
using layout::Length;
using layout::Pattern;
/// The enumeration's unit: 0.05 mm. Every length of a case is a whole number of them, and so
/// are the halves the rules take (Sn/2, p/2, d/4).
constexpr std::int64_t kStep = layout::kUnitsPerMm / 20;

inline Length units(std::int64_t steps)
{
    return { steps * kStep };
}

/// The sign of a + b·√f, squared out plainly: the enumeration's numbers stay below 2^60.
inline int signOf(Int128 a, Int128 b, int f)
{
    if (f == 1)
        return (a + b > 0) - (a + b < 0);
    const int sa = (a > 0) - (a < 0), sb = (b > 0) - (b < 0);
    if (sa == 0 || sb == 0 || sa == sb)
        return sa != 0 ? sa : sb;
    const Int128 a2 = a * a, b2f = b * b * f;
    return sa > 0 ? (a2 > b2f) - (a2 < b2f) : (b2f > a2) - (b2f < a2);
}

struct Case
{
    Pattern pattern = Pattern::Triangular;
    int passes = 2;
    Centring centring = Centring::OnTube;
    std::int64_t dl = 0, d = 0, p = 0, sn = 0, snv = 0, d0 = 0, radius = 0; ///< in 0.05 mm
    Bundle bundle = Bundle::Fixed;
    int rods = 0;
    bool ribbon = false;
    /// An impingement plate in a shell of di = dl + 2b: bore, side, height, thickness.
    std::int64_t di = 0, nozzle = 0, plate = 0, height = 0, thickness = 0;

    Inputs inputs() const
    {
        Inputs in;
        in.given = Given::LayoutCircle;
        in.diameter = units(dl);
        if (nozzle) {
            in.given = Given::Shell;
            in.diameter = units(di);
            in.clearance = units((di - dl) / 2);
            in.impingement = layout::Impingement { units(nozzle), units(plate), units(height),
                units(thickness) };
        }
        if (ribbon)
            in.arrangement = layout::PassArrangement::Ribbon;
        in.tube = units(d);
        in.pitch = units(p);
        in.pattern = pattern;
        in.passes = passes;
        in.centring = centring;
        in.lanes = LaneModel::Shift;
        in.laneSpacing = units(sn);
        if (snv)
            in.verticalSpacing = units(snv);
        if (d0)
            in.centreTube = units(d0);
        in.bundle = bundle;
        if (bundle == Bundle::UTube)
            in.bendRadius = units(radius);
        return in;
    }
};

/// A site as the rules place it: x = xa + xb·√tf, y = ya + yb·√sf, in 0.05 mm.
struct Site
{
    std::int64_t xa, xb, ya, yb;
    int pass; ///< from 1, by band and side
};

struct Geometry
{
    std::int64_t sq, tq; ///< the row step sq·√sf; half the step along a row tq·√tf
    int sf, tf;
    bool alternate;
};

inline Geometry geometryOf(Pattern pattern, std::int64_t p)
{
    switch (pattern) {
    case Pattern::Triangular:
        return { p / 2, p / 2, 3, 1, true };
    case Pattern::RotatedTriangular:
        return { p / 2, p / 2, 1, 3, true };
    case Pattern::Square:
        return { p, p / 2, 1, 1, false };
    case Pattern::RotatedSquare:
        break;
    }
    return { p / 2, p / 2, 2, 2, true };
}

/// 4(x² + y²) as a + b·√f.
inline std::pair<Int128, Int128> fourRadiusSquared(const Site &s, const Geometry &g)
{
    Int128 a = 4
        * (Int128(s.xa) * s.xa + Int128(s.xb) * s.xb * g.tf + Int128(s.ya) * s.ya
            + Int128(s.yb) * s.yb * g.sf);
    Int128 b = 0;
    (g.tf == 1 ? a : b) += 8 * Int128(s.xa) * s.xb;
    (g.sf == 1 ? a : b) += 8 * Int128(s.ya) * s.yb;
    return { a, b };
}

/// The fractions of ρ of a case's off-centre lanes, in thousandths, from the centre out.
inline std::vector<std::int64_t> sharesOf(const Case &c)
{
    if (c.ribbon)
        return c.passes == 4 ? std::vector<std::int64_t> { 404 }
            : c.passes == 6  ? std::vector<std::int64_t> { 265, 553 }
                             : std::vector<std::int64_t> { 198, 404, 635 };
    if (c.passes >= 6)
        return { c.passes == 6 ? 265 : 404 };
    return {};
}

/// The m of off-centre lane j, by trying every one: with `before` rows inside the lanes below
/// it, the lane's centre line nearest to e·ρ, the larger on a tie.
inline std::int64_t bruteInner(const Case &c, const Geometry &g, std::int64_t base, std::int64_t w,
    std::int64_t e = 0, std::int64_t j = 0, std::int64_t before = 0)
{
    if (e == 0)
        e = c.passes == 6 ? 265 : 404;
    const int f = g.sf;
    // 2000·(centre line − e·ρ) = A + B·√f: the line So/2 beyond the group's last row.
    const auto gap = [&](std::int64_t m) {
        return std::pair<Int128, Int128> { 2000 * Int128(base) + 1000 * (2 * Int128(j) + 1) * c.sn
                - e * Int128(w),
            2000 * Int128(before + m - 1 - j) * g.sq };
    };
    std::int64_t best = 1;
    for (std::int64_t m = 2; Int128(m - 2) * g.sq <= w; ++m) {
        const auto [a1, b1] = gap(m);
        const auto [a2, b2] = gap(best);
        // |gap(m)|² − |gap(best)|² = P + Q·√f
        const Int128 P = a1 * a1 + b1 * b1 * f - a2 * a2 - b2 * b2 * f, Q = 2 * (a1 * b1 - a2 * b2);
        if (signOf(P, Q, f) <= 0)
            best = m;
    }
    return best;
}

struct Counted
{
    std::int64_t inCircle = 0, centreRemoved = 0, plateRemoved = 0, total = 0;
    std::array<std::int64_t, 8> perPass {};
    std::vector<Site> kept;
    int ties = 0; ///< centres exactly on the circle or the centre tube's clearance
};

inline Counted brute(const Case &c)
{
    const Geometry g = geometryOf(c.pattern, c.p);
    const std::int64_t w = c.dl - c.d;
    // max(d/4, 8 mm), or the clearance a shell with a plate gives.
    const std::int64_t b = c.nozzle ? (c.di - c.dl) / 2 : std::max<std::int64_t>(c.d / 4, 160);
    const std::int64_t clear = c.d + c.d0 + 2 * b;
    const bool centreLane = c.passes != 6 || c.ribbon, vertical = c.passes >= 4 && !c.ribbon;
    std::int64_t horizontal = c.sn;
    if (c.bundle == Bundle::UTube)
        horizontal = std::max(horizontal, 2 * c.radius);
    const std::int64_t base = centreLane ? horizontal / 2 : 0;
    const std::int64_t cx = vertical ? (c.snv ? c.snv : c.sn) / 2 : 0;
    // Each group's m in turn from the centre out; ends[j]: the rows inside lane j.
    const std::vector<std::int64_t> shares = sharesOf(c);
    std::vector<std::int64_t> ends;
    for (std::size_t j = 0; j < shares.size(); ++j) {
        const std::int64_t before = ends.empty() ? 0 : ends.back();
        ends.push_back(
            before + bruteInner(c, g, base, w, shares[j], static_cast<std::int64_t>(j), before));
    }
    const int out = static_cast<int>(ends.size());
    const int straddle = c.centring == Centring::Straddle ? 1 : 0;
    const bool plated = c.nozzle > 0;
    // The plate takes a hole with 2|x| < A + d and 2y > Di − 2h − 2t − d.
    const std::int64_t across = c.plate + c.d, line = c.di - 2 * c.height - 2 * c.thickness - c.d;

    Counted result;
    const std::int64_t rows = w / g.sq + out + 3;
    const std::int64_t reach = w / (2 * g.tq) + 3;
    for (std::int64_t k = 0; k <= rows; ++k) {
        // The row's place and band, by the rules' formulas.
        int lanesIn = 0;
        while (lanesIn < out && ends[static_cast<std::size_t>(lanesIn)] <= k)
            ++lanesIn;
        const std::int64_t ya = base + lanesIn * c.sn, yb = (k - lanesIn) * g.sq;
        const int phase = g.alternate ? static_cast<int>(k % 2) : 0;
        for (int half : { 1, -1 }) {
            if (half < 0 && k == 0 && !centreLane)
                continue;
            const int band = half > 0 ? out - lanesIn : out + lanesIn + (centreLane ? 1 : 0);
            for (std::int64_t a = vertical ? 0 : -reach; a <= reach; ++a) {
                for (int side : { -1, 1 }) {
                    if (!vertical && side < 0)
                        continue;
                    Site s {};
                    s.ya = half * ya;
                    s.yb = half * yb;
                    const std::int64_t halfSteps = 2 * a + phase + (vertical ? 0 : straddle);
                    s.xa = vertical ? side * cx : 0;
                    s.xb = (vertical ? side : 1) * halfSteps * g.tq;
                    s.pass = vertical ? band * 2 + (side > 0 ? 2 : 1) : band + 1;
                    const auto [r, q] = fourRadiusSquared(s, g);
                    const int fit = signOf(Int128(w) * w - r, -q, std::max(g.sf, g.tf));
                    if (fit < 0)
                        continue;
                    ++result.inCircle;
                    result.ties += fit == 0;
                    if (c.d0) {
                        const int centre =
                            signOf(Int128(clear) * clear - r, -q, std::max(g.sf, g.tf));
                        result.ties += centre == 0;
                        if (centre > 0) {
                            ++result.centreRemoved;
                            continue;
                        }
                    }
                    if (plated) {
                        const int sign = half > 0 || c.bundle == Bundle::UTube ? 1 : -1;
                        const int wide = signOf(Int128(across) - 2 * Int128(std::abs(s.xa)),
                            -2 * Int128(std::abs(s.xb)), g.tf);
                        const Int128 twice = 2 * Int128(sign);
                        const int high = signOf(twice * ya - line, twice * yb, g.sf);
                        result.ties += wide == 0 || high == 0;
                        if (wide > 0 && high > 0) {
                            ++result.plateRemoved;
                            continue;
                        }
                    }
                    ++result.total;
                    ++result.perPass[s.pass - 1];
                    result.kept.push_back(s);
                }
            }
        }
    }
    return result;
}

/// Sites whose 4r² is a whole square, right of the axis in the upper half: where a circle can
/// pass exactly through a centre.
inline std::vector<std::int64_t> exactRadii(const Case &c)
{
    Case wide = c;
    wide.d0 = 0;
    const Geometry g = geometryOf(c.pattern, c.p);
    std::vector<std::int64_t> radii;
    for (const Site &s : brute(wide).kept) {
        const auto [r, q] = fourRadiusSquared(s, g);
        if (q != 0)
            continue;
        const auto root =
            static_cast<std::int64_t>(std::llround(std::sqrt(static_cast<double>(r))));
        if (Int128(root) * root == r)
            radii.push_back(root);
    }
    return radii;
}

inline std::int64_t pick(std::mt19937_64 &random, std::int64_t lo, std::int64_t hi)
{
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
}

/// A random layout under the designers' lanes, a third of them tied on purpose.
inline Case randomCase(std::mt19937_64 &random)
{
    static const Pattern patterns[] = { Pattern::Triangular, Pattern::RotatedTriangular,
        Pattern::Square, Pattern::RotatedSquare };
    static const int passes[] = { 2, 4, 6, 8 };
    Case c;
    c.pattern = patterns[pick(random, 0, 3)];
    c.passes = passes[pick(random, 0, 3)];
    if (c.passes == 2)
        c.centring = static_cast<Centring>(pick(random, 0, 1));
    c.p = 2 * pick(random, 100, 600); // 10 to 60 mm in 0.1 mm
    c.d = 4 * pick(random, c.p * 6 / 40, c.p / 4); // 0.2 mm steps, 0.6 p to p
    c.sn = 2 * pick(random, c.d / 2, c.p * 5 / 4);
    if (c.passes >= 4 && pick(random, 0, 2) == 0)
        c.snv = 2 * pick(random, c.d / 2, c.p * 5 / 4);
    c.dl = c.d + 2 * pick(random, c.p / 2, 14 * c.p);
    if ((c.passes == 2 || c.passes == 4) && pick(random, 0, 3) == 0) {
        c.bundle = Bundle::UTube;
        c.radius = pick(random, c.d / 2, 3 * c.d);
    } else if (pick(random, 0, 2) == 0) {
        c.d0 = 2 * pick(random, c.d / 2, 3 * c.d);
    }
    switch (pick(random, 0, 5)) {
    case 0: { // a centre exactly on the circle
        const std::vector<std::int64_t> radii = exactRadii(c);
        if (!radii.empty())
            c.dl = c.d
                + radii[static_cast<std::size_t>(
                    pick(random, 0, static_cast<std::int64_t>(radii.size()) - 1))];
        break;
    }
    case 1: { // a centre exactly on the centre tube's clearance
        if (c.bundle == Bundle::UTube)
            break;
        const std::int64_t b = std::max<std::int64_t>(c.d / 4, 160);
        std::vector<std::int64_t> radii = exactRadii(c);
        radii.erase(std::remove_if(radii.begin(), radii.end(),
                        [&](std::int64_t r) { return r <= c.d + 2 * b; }),
            radii.end());
        if (!radii.empty())
            c.d0 = radii[static_cast<std::size_t>(
                       pick(random, 0, static_cast<std::int64_t>(radii.size()) - 1))]
                - c.d - 2 * b;
        break;
    }
    case 2: { // the off-centre lane exactly between two m, where its row step is whole
        const Geometry g = geometryOf(c.pattern, c.p);
        if (c.passes < 6 || g.sf != 1)
            break;
        const std::int64_t e = c.passes == 6 ? 265 : 404, prime = c.passes == 6 ? 53 : 101;
        const std::int64_t u = pick(random, 0, 6);
        // e·W = 1000·(2·base + So + (2u + 1)·s) with base = So/2 under 8 passes.
        const std::int64_t lanes = c.passes == 6 ? 1 : 2;
        std::int64_t sn = c.d + c.d % 2;
        while ((lanes * sn + (2 * u + 1) * g.sq) % prime != 0)
            sn += 2;
        c.sn = sn;
        c.dl = c.d + 1000 * (lanes * sn + (2 * u + 1) * g.sq) / e;
        break;
    }
    default:
        break;
    }
    return c;
}

} // namespace lattice
