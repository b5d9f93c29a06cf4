#include "engine/tube_count.h"
#include "engine/tube_sheet.h"
#include "runtime/error.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <utility>

namespace {

using engine::Circle;

struct SheetCase
{
    const char *name;
    double di, gxj, d, zxg;
    std::size_t tubes, removed;
    std::size_t layoutEdges, layoutEdgesCounted, centreEdges, centreEdgesCounted;
};

void PrintTo(const SheetCase &c, std::ostream *os)
{
    *os << c.name;
}

class TubeSheet : public testing::TestWithParam<SheetCase>
{
};

TEST_P(TubeSheet, TubesRemovedAndKnifeEdges)
{
    const SheetCase &c = GetParam();
    const engine::TubeSheet sheet = engine::layTubes(c.di - 16, c.d, c.gxj, c.zxg);
    EXPECT_EQ(sheet.tubes.size(), c.tubes);
    EXPECT_EQ(std::count_if(sheet.tubes.begin(), sheet.tubes.end(),
                  [](const engine::Tube &t) { return t.removed; }),
        static_cast<std::ptrdiff_t>(c.removed));

    std::size_t edges[2] = {}, counted[2] = {};
    for (const engine::KnifeEdge &edge : sheet.knifeEdges) {
        const int i = edge.circle == Circle::Layout ? 0 : 1;
        ++edges[i];
        counted[i] += edge.counted ? 1 : 0;
        EXPECT_LE(std::fabs(edge.offset), engine::kKnifeEdge);
    }
    EXPECT_EQ(edges[0], c.layoutEdges);
    EXPECT_EQ(counted[0], c.layoutEdgesCounted);
    EXPECT_EQ(edges[1], c.centreEdges);
    EXPECT_EQ(counted[1], c.centreEdgesCounted);
}

INSTANTIATE_TEST_SUITE_P(TubeSheet, TubeSheet,
    testing::Values(SheetCase { "Example", 600, 32, 25, 57, 283, 7, 0, 0, 0, 0 },
        SheetCase { "Warning", 400, 25, 19, 25, 199, 7, 0, 0, 0, 0 },
        SheetCase { "NoCentreTube", 800, 32, 25, 0, 511, 0, 0, 0, 0, 0 },
        SheetCase { "NoRows", 40, 32, 25, 57, 0, 0, 0, 0, 0, 0 },
        // A ring touching the layout circle: (+-192, 0) and (+-96, +-166.28) all count.
        SheetCase { "RingOnLayoutCircleCounts", 400, 32, 0, 0, 127, 0, 6, 6, 0, 0 },
        // The same ring, but the accumulated row height pushes four of six out by the last bit.
        SheetCase { "RingSplitByRounding", 600, 19, 14, 0, 819, 0, 6, 2, 0, 0 },
        SheetCase { "ThreeRingsOnLayoutCircle", 916, 31.25, 25, 0, 713, 0, 18, 10, 0, 0 },
        // A ring touching the centre circle: the two on the axis stay, four of row 1 go.
        SheetCase { "RingOnCentreCircle", 600, 32, 25, 23, 283, 5, 0, 0, 6, 4 },
        // A ring 1e-4 mm inside the layout circle is no knife edge; at 1e-7 mm it is, and its
        // two tubes on the axis stand in the row where the scan stopped.
        SheetCase { "RingJustInside", 126.85105168440813, 32, 0, 0, 7, 0, 0, 0, 0, 0 },
        SheetCase {
            "KnifeEdgeWhereTheScanStopped", 126.85125068440814, 32, 0, 0, 7, 0, 6, 0, 0, 0 },
        // The centre tube alone on a layout circle of diameter 0.
        SheetCase { "OneTubeOnTheCircle", 16, 32, 0, 0, 1, 0, 1, 1, 0, 0 }),
    test_support::CaseName());

// Every tube's mirror images across both axes are tubes too, in the same state.
TEST(TubeSheet, SymmetricAboutBothAxes)
{
    for (const auto &[di, gxj, d, zxg] : { std::tuple { 600.0, 32.0, 25.0, 57.0 },
             std::tuple { 1234.5, 25.0, 19.05, 108.0 }, std::tuple { 3000.0, 12.0, 9.5, 0.0 } }) {
        const engine::TubeSheet sheet = engine::layTubes(di - 16, d, gxj, zxg);
        std::set<std::tuple<double, double, bool>> places;
        for (const engine::Tube &t : sheet.tubes)
            EXPECT_TRUE(places.insert({ t.x, t.y, t.removed }).second)
                << "twice: " << t.x << ", " << t.y;
        for (const engine::Tube &t : sheet.tubes) {
            EXPECT_EQ(places.count({ -t.x, t.y, t.removed }), 1u) << t.x << ", " << t.y;
            EXPECT_EQ(places.count({ t.x, -t.y, t.removed }), 1u) << t.x << ", " << t.y;
            EXPECT_EQ(t.row == 0, t.y == 0);
            EXPECT_EQ(t.row < 0, t.y < 0);
        }
    }
}

// The tubes stand on the triangular pattern, wholly inside the layout circle, never closer
// than one pitch; the removed ones reach into the centre circle.
TEST(TubeSheet, TubesLieOnThePatternInsideTheCircle)
{
    const double di = 600, gxj = 32, d = 25, zxg = 57;
    const engine::TubeSheet sheet = engine::layTubes(di - 16, d, gxj, zxg);
    const double R = (di - 16) / 2, rc = d / 2 + (zxg + 16) / 2;
    const double h = std::sqrt(3.0) * gxj / 2;
    for (const engine::Tube &t : sheet.tubes) {
        EXPECT_LE(std::hypot(t.x, t.y) + d / 2, R + 1e-9);
        EXPECT_NEAR(std::fabs(t.y), std::abs(t.row) * h, 1e-9);
        const double offset = std::abs(t.row) % 2 == 0 ? 0 : gxj / 2;
        const double steps = (std::fabs(t.x) - offset) / gxj;
        EXPECT_NEAR(steps, std::round(steps), 1e-9);
        EXPECT_EQ(t.removed, std::hypot(t.x, t.y) < rc);
    }
    for (std::size_t i = 0; i < sheet.tubes.size(); ++i)
        for (std::size_t j = i + 1; j < sheet.tubes.size(); ++j)
            EXPECT_GE(std::hypot(
                          sheet.tubes[i].x - sheet.tubes[j].x, sheet.tubes[i].y - sheet.tubes[j].y),
                gxj - 1e-9);
}

TEST(TubeSheet, RaisesTheCalculationsError)
{
    EXPECT_EQ(test_support::errorOf([] { engine::layTubes(584, 25, 0, 0); }),
        runtime::ErrorNumber::Overflow);
    EXPECT_EQ(test_support::errorOf([] { engine::layTubes(984, 0, 0.5, 0); }),
        runtime::ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(test_support::errorOf([] { engine::layTubes(-16, 19, -25, 57); }),
        runtime::ErrorNumber::InvalidCall);
}

// The smallest-shell search bisects over the shell diameter, which is valid only if the total
// never falls as the shell grows. It holds because every test compares a value computed from
// the shell by rounded steps that never fall as their operands grow (subtraction, halving,
// squaring a non-negative value, the square root) with values that do not depend on the shell.
TEST(LayoutTotal, NeverFallsAsTheShellGrows)
{
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> pitch(1, 60), shell(0, 1500);
    std::uniform_int_distribution<int> choice(0, 3);
    for (int trial = 0; trial < 300; ++trial) {
        const double gxj = pitch(random);
        const double d =
            choice(random) == 0 ? 0 : std::uniform_real_distribution<double>(0, gxj)(random);
        double previous = 0;
        double s = shell(random) * 0.05;
        // Fine steps, and now and then exactly onto a knife edge: a shell whose circle passes
        // through a pattern position.
        for (int step = 0; step < 40; ++step) {
            const engine::RowScan scan = engine::layoutCount(s - 16, d, gxj);
            ASSERT_GE(scan.total, previous) << "shell " << s << " pitch " << gxj << " tube " << d;
            previous = scan.total;
            s = choice(random) == 0 ? std::nextafter(s, 1e9) : s + shell(random) * 0.01;
        }
    }
    // Ring-touching shells and their nearest neighbours.
    for (const auto &[di, gxj, d] : { std::tuple { 400.0, 32.0, 0.0 },
             std::tuple { 600.0, 19.0, 14.0 }, std::tuple { 916.0, 31.25, 25.0 } }) {
        const double below = engine::layoutCount(std::nextafter(di, 0) - 16, d, gxj).total;
        const double at = engine::layoutCount(di - 16, d, gxj).total;
        const double above = engine::layoutCount(std::nextafter(di, 1e9) - 16, d, gxj).total;
        EXPECT_LE(below, at);
        EXPECT_LE(at, above);
    }
}

} // namespace

// Where the count succeeds, the positions do too, as many as the count: a half pitch that rounds
// to 0 in odd rows still leaves the axis tube alone, and knife-edge probes whose distances
// overflow are passed over.
TEST(TubeSheet, PositionsFollowEveryCountThatSucceeds)
{
    struct Case
    {
        double Dl, d, gxj, zxg;
    };
    for (const Case &c : { Case { 0, -1e-323, 5e-324, 0 }, Case { 2.6e154 - 16, 0, 1.31e154, 0 },
             Case { 584, 25, 1e154, 0 }, Case { 584, 25, 1e154, 57 } }) {
        const double total = engine::layoutCount(c.Dl, c.d, c.gxj).total;
        engine::TubeSheet sheet;
        ASSERT_NO_THROW(sheet = engine::layTubes(c.Dl, c.d, c.gxj, c.zxg)) << c.gxj;
        EXPECT_EQ(static_cast<double>(sheet.tubes.size()), total) << c.gxj;
    }
}
