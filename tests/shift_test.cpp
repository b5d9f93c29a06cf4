// The designers' lanes, U-tube bundles and tie rods against a plain enumeration written from
// the rules: every lattice site of every region tried, every decision squared out in whole
// numbers of 0.05 mm, where 128 bits are plenty.

#include "layout/options.h"
#include "layout/study.h"
#include "layout/surd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <vector>

namespace {

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

Length units(std::int64_t steps)
{
    return { steps * kStep };
}

/// The sign of a + b·√f, squared out plainly: the enumeration's numbers stay below 2^60.
int signOf(Int128 a, Int128 b, int f)
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

    Inputs inputs() const
    {
        Inputs in;
        in.given = Given::LayoutCircle;
        in.diameter = units(dl);
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

Geometry geometryOf(Pattern pattern, std::int64_t p)
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
std::pair<Int128, Int128> fourRadiusSquared(const Site &s, const Geometry &g)
{
    Int128 a = 4
        * (Int128(s.xa) * s.xa + Int128(s.xb) * s.xb * g.tf + Int128(s.ya) * s.ya
            + Int128(s.yb) * s.yb * g.sf);
    Int128 b = 0;
    (g.tf == 1 ? a : b) += 8 * Int128(s.xa) * s.xb;
    (g.sf == 1 ? a : b) += 8 * Int128(s.ya) * s.yb;
    return { a, b };
}

/// The m of the off-centre lanes, by trying every one: the lane's centre line nearest to
/// e·ρ, the larger on a tie.
std::int64_t bruteInner(const Case &c, const Geometry &g, std::int64_t base, std::int64_t w)
{
    const std::int64_t e = c.passes == 6 ? 265 : 404;
    const int f = g.sf;
    // 2000·(centre line − e·ρ) = A + B·√f.
    const auto gap = [&](std::int64_t m) {
        return std::pair<Int128, Int128> {
            2000 * Int128(base) + 1000 * Int128(c.sn) - e * Int128(w), 2000 * Int128(m - 1) * g.sq
        };
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
    std::int64_t inCircle = 0, centreRemoved = 0, total = 0;
    std::array<std::int64_t, 8> perPass {};
    std::vector<Site> kept;
    int ties = 0; ///< centres exactly on the circle or the centre tube's clearance
};

Counted brute(const Case &c)
{
    const Geometry g = geometryOf(c.pattern, c.p);
    const std::int64_t w = c.dl - c.d;
    const std::int64_t b = std::max<std::int64_t>(c.d / 4, 160); // max(d/4, 8 mm)
    const std::int64_t clear = c.d + c.d0 + 2 * b;
    const bool centreLane = c.passes != 6, vertical = c.passes >= 4;
    const bool offCentre = c.passes >= 6;
    std::int64_t horizontal = c.sn;
    if (c.bundle == Bundle::UTube)
        horizontal = std::max(horizontal, 2 * c.radius);
    const std::int64_t base = centreLane ? horizontal / 2 : 0;
    const std::int64_t cx = vertical ? (c.snv ? c.snv : c.sn) / 2 : 0;
    const std::int64_t m = offCentre ? bruteInner(c, g, base, w) : 0;
    const int straddle = c.centring == Centring::Straddle ? 1 : 0;

    Counted out;
    const std::int64_t rows = w / g.sq + m + 3;
    const std::int64_t across = w / (2 * g.tq) + 3;
    for (std::int64_t k = 0; k <= rows; ++k) {
        // The row's place and band, by the rules' formulas.
        std::int64_t ya = base, yb = k * g.sq;
        bool outer = false;
        if (offCentre && k >= m) {
            ya = base + c.sn;
            yb = (k - 1) * g.sq;
            outer = true;
        }
        const int phase = g.alternate ? static_cast<int>(k % 2) : 0;
        for (int half : { 1, -1 }) {
            if (half < 0 && k == 0 && !centreLane)
                continue;
            int band = 0;
            if (c.passes == 2 || c.passes == 4)
                band = half > 0 ? 0 : 1;
            else if (c.passes == 6)
                band = outer ? (half > 0 ? 0 : 2) : 1;
            else
                band = half > 0 ? (outer ? 0 : 1) : (outer ? 3 : 2);
            for (std::int64_t a = vertical ? 0 : -across; a <= across; ++a) {
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
                    ++out.inCircle;
                    out.ties += fit == 0;
                    if (c.d0) {
                        const int centre =
                            signOf(Int128(clear) * clear - r, -q, std::max(g.sf, g.tf));
                        out.ties += centre == 0;
                        if (centre > 0) {
                            ++out.centreRemoved;
                            continue;
                        }
                    }
                    ++out.total;
                    ++out.perPass[s.pass - 1];
                    out.kept.push_back(s);
                }
            }
        }
    }
    return out;
}

/// Sites whose 4r² is a whole square, right of the axis in the upper half: where a circle can
/// pass exactly through a centre.
std::vector<std::int64_t> exactRadii(const Case &c)
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

std::int64_t pick(std::mt19937_64 &random, std::int64_t lo, std::int64_t hi)
{
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
}

/// A random layout under the designers' lanes, a third of them tied on purpose.
Case randomCase(std::mt19937_64 &random)
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

TEST(Shift, CountsMatchEveryLatticeSite)
{
    std::mt19937_64 random(20261209);
    int ties = 0, checked = 0;
    for (int i = 0; i < 1200; ++i) {
        const Case c = randomCase(random);
        const Counted want = brute(c);
        const layout::Layout got = layout::study(c.inputs());
        SCOPED_TRACE(::testing::Message()
            << "case " << i << ": pattern " << static_cast<int>(c.pattern) << ", " << c.passes
            << " passes, centring " << static_cast<int>(c.centring) << ", DL " << c.dl << ", d "
            << c.d << ", p " << c.p << ", Sn " << c.sn << "," << c.snv << ", d0 " << c.d0 << ", R "
            << c.radius << " (0.05 mm)");
        ASSERT_EQ(got.counts.inCircle, want.inCircle);
        ASSERT_EQ(got.counts.laneRemoved, 0);
        ASSERT_EQ(got.counts.centreRemoved, want.centreRemoved);
        ASSERT_EQ(got.counts.total, want.total);
        for (int pass = 0; pass < c.passes; ++pass)
            ASSERT_EQ(got.counts.perPass[pass], want.perPass[pass]) << "pass " << pass + 1;
        ties += want.ties;
        ++checked;
        if (c.bundle == Bundle::UTube) {
            EXPECT_EQ(got.uTubes * 2, got.counts.total);
        }
        // Every kept centre where the rules put it, in the order of the rows.
        if (i % 10 == 0) {
            const Geometry g = geometryOf(c.pattern, c.p);
            std::multiset<std::pair<long long, long long>> expected, listed;
            const auto key = [](double v) { return std::llround(v * 1e6); };
            for (const Site &s : want.kept) {
                const auto at = [](std::int64_t a, std::int64_t b, int f) {
                    return (static_cast<double>(a)
                               + static_cast<double>(b) * std::sqrt(static_cast<double>(f)))
                        * 0.05;
                };
                const double x = at(s.xa, s.xb, g.tf), y = at(s.ya, s.yb, g.sf);
                expected.insert({ key(x), key(y) });
            }
            double lastY = 1e300;
            for (const layout::Tube &tube : layout::tubes(got)) {
                ASSERT_LE(tube.y, lastY + 1e-9);
                lastY = tube.y;
                if (tube.pass > 0)
                    listed.insert({ key(tube.x), key(tube.y) });
            }
            ASSERT_EQ(listed, expected);
        }
    }
    EXPECT_EQ(checked, 1200);
    // The ties on purpose happened: the exact decisions were tested where floating point
    // would guess.
    EXPECT_GT(ties, 100);
}

TEST(Shift, InnerRowsTieToTheLargerM)
{
    // 90, p 20 mm, So 30 mm, 6 passes: the lanes' centre lines at 15 + 20·(m − 1) mm. With
    // W = 2000 mm, 0.265·ρ = 265 mm lies halfway between m = 13 (255) and m = 14 (275).
    Case c;
    c.pattern = Pattern::Square;
    c.passes = 6;
    c.p = 400;
    c.d = 300;
    c.sn = 600;
    const struct
    {
        std::int64_t w, inner;
    } rows[] = { { 40000, 14 }, { 39999, 13 }, { 40001, 14 } };
    for (const auto &row : rows) {
        c.dl = c.d + row.w;
        EXPECT_EQ(layout::study(c.inputs()).shifted.inner, row.inner) << row.w;
        EXPECT_EQ(brute(c).total, layout::study(c.inputs()).counts.total) << row.w;
    }
}

// --- Invariants -----------------------------------------------------------------------------

TEST(Shift, MirrorSymmetricAndRodsTakeTheirPlace)
{
    std::mt19937_64 random(151);
    int rodsPlaced = 0;
    for (int i = 0; i < 300; ++i) {
        Case c = randomCase(random);
        if (i % 5 == 0) {
            c.passes = 1;
            c.bundle = Bundle::Fixed;
        }
        Inputs in = c.inputs();
        // The pass-count method's lanes too: the rods and the symmetry do not depend on them.
        if (i % 2 == 1)
            in.lanes = LaneModel::Remove;
        // A shell, so that tie rods may go in: DL + 2b.
        const Length b = layout::defaultClearance(in.tube);
        in.given = Given::Shell;
        in.diameter = { in.diameter.units + 2 * b.units };
        const layout::Layout plain = layout::study(in);
        std::set<std::pair<long long, long long>> kept;
        const auto key = [](double v) { return std::llround(v * 1e6); };
        for (const layout::Tube &tube : layout::tubes(plain))
            if (tube.pass > 0)
                kept.insert({ key(tube.x), key(tube.y) });
        for (const auto &[x, y] : kept) {
            ASSERT_TRUE(kept.count({ -x, y })) << i;
            ASSERT_TRUE(kept.count({ x, -y })) << i;
        }
        std::int64_t sum = 0;
        for (int pass = 0; pass < in.passes; ++pass)
            sum += plain.counts.perPass[pass];
        ASSERT_EQ(sum, plain.counts.total);

        in.tieRods = layout::TieRodRule::Count;
        in.tieRodCount =
            static_cast<int>(pick(random, 1, 12)) * (c.bundle == Bundle::UTube ? 2 : 1);
        layout::Layout rods;
        try {
            rods = layout::study(in);
        } catch (const layout::InputError &error) {
            ASSERT_EQ(error.problem(), layout::Problem::TooManyTieRods) << error.what();
            continue;
        }
        ++rodsPlaced;
        const int n = in.tieRodCount;
        ASSERT_EQ(rods.counts.total, plain.counts.total - n);
        ASSERT_EQ(static_cast<int>(rods.tieRodPositions.size()), n);
        std::set<std::pair<long long, long long>> at;
        for (const layout::SiteAt &rod : rods.tieRodPositions) {
            ASSERT_TRUE(kept.count({ key(rod.x), key(rod.y) })) << "a rod where no tube was";
            at.insert({ key(rod.x), key(rod.y) });
        }
        ASSERT_EQ(static_cast<int>(at.size()), n) << "two rods in one place";
        int listed = 0;
        for (const layout::Tube &tube : layout::tubes(rods))
            listed += tube.tieRod;
        ASSERT_EQ(listed, n);
        if (n % 4 == 0 || (n % 2 == 0 && c.bundle == Bundle::UTube))
            for (const auto &[x, y] : at) {
                ASSERT_TRUE(at.count({ x, -y })) << i;
                if (n % 4 == 0) {
                    ASSERT_TRUE(at.count({ -x, y })) << i;
                }
            }
        // No two rods are neighbours within a pass.
        const double p = layout::millimetres(in.pitch);
        for (std::size_t j = 0; j < rods.tieRodPositions.size(); ++j)
            for (std::size_t k = j + 1; k < rods.tieRodPositions.size(); ++k) {
                const layout::SiteAt &r1 = rods.tieRodPositions[j], &r2 = rods.tieRodPositions[k];
                if (r1.pass == r2.pass) {
                    ASSERT_GT(std::hypot(r1.x - r2.x, r1.y - r2.y), p * 1.0001)
                        << i << " pattern " << static_cast<int>(c.pattern) << " passes " << c.passes
                        << " n " << n << " at " << r1.x << "," << r1.y << " and " << r2.x << ","
                        << r2.y << " DL " << c.dl << " d " << c.d << " p " << c.p << " sn " << c.sn
                        << " d0 " << c.d0 << " centring " << static_cast<int>(c.centring);
                }
            }
        if (c.bundle == Bundle::UTube) {
            ASSERT_EQ(rods.uTubes * 2, rods.counts.total);
        }
    }
    EXPECT_GT(rodsPlaced, 150);
}

TEST(Shift, SurdSignsAtTheEdgeOfTheRange)
{
    // Squares near 2^160: a² against b²·f one apart, both ways.
    const Int128 b = (Int128(1) << 80) + 12345;
    struct Row
    {
        Int128 a, b;
        int f, sign;
    } rows[] = {
        { 2 * b, -b, 3, 1 }, // 2b > b√3
        { -2 * b, b, 3, -1 },
        { b, -b, 2, -1 }, // b < b√2
        { 0, 0, 2, 0 },
        { 5, 0, 3, 1 },
        { 0, -7, 2, -1 },
        { b, -b, 1, 0 },
    };
    for (const Row &row : rows)
        EXPECT_EQ(layout::surdSign(row.a, row.b, row.f), row.sign);
    // √3 between 1.7320508075688772 and the next: a/b just below and above it.
    const Int128 big = Int128(1) << 70;
    const auto below = static_cast<Int128>(static_cast<long double>(big) * 1.7320508075688772L);
    EXPECT_EQ(layout::surdSign(below, -big, 3), -1);
    EXPECT_EQ(layout::surdSign(below + big / 1000000, -big, 3), 1);
}

} // namespace

namespace {

TEST(Shift, MinShellIsTheFirstDiameterOfALinearScan)
{
    std::mt19937_64 random(42);
    static const Pattern patterns[] = { Pattern::Triangular, Pattern::RotatedTriangular,
        Pattern::Square, Pattern::RotatedSquare };
    static const int tubes[] = { 14, 19, 25 }, pitches[] = { 19, 25, 32 };
    int dips = 0;
    for (int trial = 0; trial < 120; ++trial) {
        Inputs in;
        in.lanes = LaneModel::Shift;
        in.pattern = patterns[trial % 4];
        in.passes = trial % 3 == 0 ? 2 + 2 * (trial / 3 % 2) : trial % 2 ? 6 : 8;
        in.given = Given::Shell;
        const int which = static_cast<int>(pick(random, 0, 2));
        in.tube = layout::mm(tubes[which]);
        in.pitch = layout::mm(pitches[which]);
        // Spacings from the tube up to 12 pitches: below a row step as well as far above it.
        if (trial % 2)
            in.laneSpacing = units(pick(
                random, 20 * std::int64_t { tubes[which] }, 240 * std::int64_t { pitches[which] }));
        if (trial % 4 == 1)
            in.centreTube = layout::mm(pick(random, 20, 60));
        if (trial % 3 == 1) {
            in.tieRods = layout::TieRodRule::Gb151;
        } else if (trial % 3 == 2) {
            in.tieRods = layout::TieRodRule::Count;
            in.tieRodCount = static_cast<int>(pick(random, 1, 8));
        }
        const Length resolution = units(pick(random, 1, 40));
        const std::int64_t required = pick(random, 20, 400);
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ": N " << required);

        Inputs bare = in;
        bare.tieRods = layout::TieRodRule::None;
        std::int64_t step = 1, best = 0;
        for (;; ++step) {
            in.diameter = bare.diameter = { step * resolution.units };
            if (in.diameter < layout::mm(40))
                continue;
            const std::int64_t total =
                layout::study(bare).counts.total - layout::tieRodSpec(in).count;
            dips += total < best;
            best = std::max(best, total);
            if (total >= required)
                break;
        }
        const layout::MinShell answer = layout::minShell(in, required, resolution);
        ASSERT_TRUE(answer.reached);
        ASSERT_EQ(answer.diameter, in.diameter);
        EXPECT_GE(answer.layout->counts.total, required);
    }
    EXPECT_GT(dips, 0);
}

} // namespace
