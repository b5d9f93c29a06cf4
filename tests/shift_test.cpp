// The designers' lanes, U-tube bundles and tie rods against a plain enumeration written from
// the rules: every lattice site of every region tried, every decision squared out in whole
// numbers of 0.05 mm, where 128 bits are plenty.

#include "lattice.h"
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
#include <tuple>
#include <vector>

namespace {

using namespace lattice;

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

/// A case with ribbon lanes, an impingement plate or both; ties on the plate's line and side
/// made on purpose where the row or column steps are whole.
Case ribbonOrPlate(std::mt19937_64 &random)
{
    Case c = randomCase(random);
    if (pick(random, 0, 2) != 0) {
        c.ribbon = true;
        c.passes = c.bundle == Bundle::UTube ? 4 : static_cast<int>(2 * pick(random, 2, 4));
        c.snv = 0;
        c.centring = static_cast<Centring>(pick(random, 0, 1));
    }
    if (c.ribbon && pick(random, 0, 1) == 0)
        return c;
    const Geometry g = geometryOf(c.pattern, c.p);
    c.di = c.dl + 2 * pick(random, 0, 400);
    c.nozzle = pick(random, 1, std::max<std::int64_t>(1, c.dl / 3));
    c.plate = c.nozzle + pick(random, 0, 3 * c.p);
    c.height = pick(random, 1, c.nozzle);
    c.thickness = pick(random, 0, 240);
    if (g.sf == 1 && pick(random, 0, 1) == 0) {
        // The line exactly through a row's centre: 2y = Di − 2h − 2t − d, y = base + k·s.
        const std::int64_t base = c.ribbon || c.passes != 6 ? std::max(c.sn, 2 * c.radius) / 2 : 0;
        const std::int64_t y = base + pick(random, 0, 6) * g.sq;
        const std::int64_t twice = c.di - 2 * c.height - c.d - 2 * y;
        if (twice >= 0 && twice % 2 == 0)
            c.thickness = twice / 2;
    }
    if (g.tf == 1 && pick(random, 0, 1) == 0) {
        // A hole exactly touching the plate's side: A + d = 2|x|, x = cx + h·t/2.
        const std::int64_t cx = c.passes >= 4 && !c.ribbon ? (c.snv ? c.snv : c.sn) / 2 : 0;
        const std::int64_t side = 2 * (cx + pick(random, 1, 8) * g.tq) - c.d;
        if (side >= c.nozzle)
            c.plate = side;
    }
    return c;
}

TEST(Shift, RibbonLanesAndPlatesMatchEveryLatticeSite)
{
    std::mt19937_64 random(20261210);
    int ties = 0, checked = 0, plated = 0, grouped = 0;
    for (int i = 0; i < 800; ++i) {
        const Case c = ribbonOrPlate(random);
        const Inputs in = c.inputs();
        SCOPED_TRACE(::testing::Message()
            << "case " << i << ": pattern " << static_cast<int>(c.pattern) << ", " << c.passes
            << (c.ribbon ? " ribbon" : "") << " passes, centring " << static_cast<int>(c.centring)
            << ", DL " << c.dl << ", d " << c.d << ", p " << c.p << ", Sn " << c.sn << "," << c.snv
            << ", d0 " << c.d0 << ", R " << c.radius << ", Di " << c.di << ", plate " << c.nozzle
            << "," << c.plate << "," << c.height << "," << c.thickness << " (0.05 mm)");
        if (!layout::problemsOf(in).empty())
            continue; // a plate past the centre line
        const Counted want = brute(c);
        const layout::Layout got = layout::study(in);
        ASSERT_EQ(got.counts.inCircle, want.inCircle);
        ASSERT_EQ(got.counts.centreRemoved, want.centreRemoved);
        ASSERT_EQ(got.counts.impingementRemoved, want.plateRemoved);
        ASSERT_EQ(got.counts.total, want.total);
        for (int pass = 0; pass < c.passes; ++pass)
            ASSERT_EQ(got.counts.perPass[pass], want.perPass[pass]) << "pass " << pass + 1;
        // The list keeps the enumeration's tubes where the rules put them, in their passes,
        // and marks the plate's.
        const Geometry g = geometryOf(c.pattern, c.p);
        const auto mm = [](std::int64_t a, std::int64_t b, int f) {
            return std::llround((static_cast<double>(a)
                                    + static_cast<double>(b) * std::sqrt(static_cast<double>(f)))
                * 0.05 * 1e6);
        };
        std::multiset<std::tuple<long long, long long, int>> expected, listed;
        for (const Site &site : want.kept)
            expected.insert({ mm(site.xa, site.xb, g.tf), mm(site.ya, site.yb, g.sf), site.pass });
        std::int64_t underPlate = 0;
        for (const layout::Tube &tube : layout::tubes(got)) {
            underPlate += tube.removed == layout::Removed::Plate;
            if (tube.pass > 0)
                listed.insert(
                    { std::llround(tube.x * 1e6), std::llround(tube.y * 1e6), tube.pass });
        }
        ASSERT_EQ(underPlate, want.plateRemoved);
        ASSERT_EQ(listed, expected);
        ties += want.ties;
        plated += want.plateRemoved > 0;
        grouped += c.ribbon && c.passes > 4;
        ++checked;
    }
    EXPECT_GT(checked, 600);
    EXPECT_GT(plated, 150);
    EXPECT_GT(grouped, 150);
    EXPECT_GT(ties, 60);
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
        EXPECT_EQ(
            layout::study(c.inputs()).arrangement.planOf<layout::ShiftPlan>()->ends[0], row.inner)
            << row.w;
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

using namespace lattice;

/// The single count of a shell, as korvane-layout gives it: its total, or -1 when refused.
std::int64_t singleTotal(const Inputs &in, std::string *why = nullptr)
{
    try {
        return layout::studyOne(in).counts.total;
    } catch (const layout::InputError &error) {
        if (why)
            *why = error.what();
        return -1;
    }
}

TEST(Shift, MinShellIsTheFirstDiameterOfALinearScan)
{
    // Tie rods that fit only in some shells, U-tube bundles and baffle cuts whose window may
    // hold no tube: a shell refused on its own does not hold N, and neither does the search's.
    std::mt19937_64 random(42);
    static const Pattern patterns[] = { Pattern::Triangular, Pattern::RotatedTriangular,
        Pattern::Square, Pattern::RotatedSquare };
    static const int tubes[] = { 14, 19, 25 }, pitches[] = { 19, 25, 32 };
    int dips = 0, refusedBelow = 0;
    for (int trial = 0; trial < 160; ++trial) {
        Inputs in;
        in.lanes = trial % 5 == 4 ? LaneModel::Remove : LaneModel::Shift;
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
        if (trial % 7 == 3 && in.passes <= 4 && in.lanes == LaneModel::Shift && !in.centreTube)
            in.bundle = layout::Bundle::UTube;
        const int rods = static_cast<int>(trial % 4);
        if (rods == 1) {
            in.tieRods = layout::TieRodRule::Gb151;
        } else if (rods == 2) {
            in.tieRods = layout::TieRodRule::Tema;
        } else if (rods == 3) {
            in.tieRods = layout::TieRodRule::Count;
            in.tieRodCount = 2 * static_cast<int>(pick(random, 1, 8));
        }
        if (trial % 3 == 2)
            in.baffleCuts = { units(20 * pick(random, 15, 45)) };
        const Length resolution = units(pick(random, 1, 40));
        const std::int64_t required = pick(random, 1, trial % 2 ? 40 : 400);
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ": N " << required);

        std::int64_t step = 1, best = 0, total = -1;
        std::string why;
        for (;; ++step) {
            in.diameter = { step * resolution.units };
            ASSERT_LT(in.diameter, layout::mm(3000)) << "no shell holds N: " << why;
            total = singleTotal(in, &why);
            dips += total >= 0 && total < best;
            best = std::max(best, total);
            if (total >= required)
                break;
        }
        const layout::MinShell answer = layout::minShell(in, required, resolution);
        ASSERT_TRUE(answer.reached);
        ASSERT_EQ(answer.diameter, in.diameter);
        EXPECT_EQ(answer.layout->counts.total, total);
        if (step == 1)
            continue;
        // The line below is that shell's single count, or its refusal.
        in.diameter = { (step - 1) * resolution.units };
        ASSERT_EQ(answer.below, in.diameter);
        const std::int64_t below = singleTotal(in);
        ASSERT_EQ(answer.belowCounts.has_value(), below >= 0);
        ASSERT_EQ(answer.belowRefused.has_value(), below < 0);
        if (answer.belowCounts) {
            EXPECT_EQ(answer.belowCounts->total, below);
        }
        refusedBelow += below < 0;
    }
    EXPECT_GT(dips, 0);
    EXPECT_GT(refusedBelow, 10);
}

TEST(TieRods, TablesAtEveryEdge)
{
    const struct
    {
        layout::TieRodRule rule;
        const char *shell, *tube;
        int count;
        const char *rod; ///< nullptr: outside the table
    } rows[] = {
        { layout::TieRodRule::Gb151, "399.999999", "10", 4, "10" },
        { layout::TieRodRule::Gb151, "400", "10", 6, "10" },
        { layout::TieRodRule::Gb151, "900", "14", 12, "10" },
        { layout::TieRodRule::Gb151, "900", "14.000001", 10, "12" },
        { layout::TieRodRule::Gb151, "1300", "24.999999", 12, "12" },
        { layout::TieRodRule::Gb151, "1300", "25", 8, "16" },
        { layout::TieRodRule::Gb151, "2599.999999", "57", 16, "16" },
        { layout::TieRodRule::Gb151, "2600", "57", 0, nullptr },
        { layout::TieRodRule::Gb151, "600", "9.999999", 0, nullptr },
        { layout::TieRodRule::Gb151, "600", "57.000001", 0, nullptr },
        { layout::TieRodRule::Tema, "152.399999", "19", 0, nullptr },
        { layout::TieRodRule::Tema, "152.4", "19", 4, "9.525" },
        { layout::TieRodRule::Tema, "711.199999", "19", 6, "9.525" },
        { layout::TieRodRule::Tema, "711.2", "19", 6, "12.7" },
        { layout::TieRodRule::Tema, "1549.4", "19", 12, "15.875" },
        { layout::TieRodRule::Tema, "2540", "19", 12, "15.875" },
        { layout::TieRodRule::Tema, "2540.000001", "19", 0, nullptr },
    };
    for (const auto &row : rows) {
        Inputs in;
        in.diameter = layout::parseLength(row.shell, "shell");
        in.tube = layout::parseLength(row.tube, "tube");
        in.tieRods = row.rule;
        SCOPED_TRACE(::testing::Message() << row.shell << " " << row.tube);
        if (!row.rod) {
            try {
                layout::tieRodCountOf(in);
                ADD_FAILURE() << "not refused";
            } catch (const layout::InputError &error) {
                EXPECT_EQ(error.problem(), layout::Problem::OutsideTable);
            }
            continue;
        }
        const layout::TieRodCount rods = layout::tieRodCountOf(in);
        EXPECT_EQ(rods.count, row.count);
        ASSERT_TRUE(rods.diameter);
        EXPECT_EQ(*rods.diameter, layout::parseLength(row.rod, "rod"));
    }
    // A count of one's own: GB/T 151's rod only under the standard.
    Inputs in;
    in.tube = layout::mm(25);
    in.tieRods = layout::TieRodRule::Count;
    in.tieRodCount = 6;
    EXPECT_FALSE(layout::tieRodCountOf(in).diameter);
    in.gb151 = true;
    EXPECT_EQ(layout::tieRodCountOf(in).diameter, layout::mm(16));
    EXPECT_EQ(layout::tieRodCountOf(in).count, 6);
}

} // namespace
