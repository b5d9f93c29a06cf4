// The arrangement under either lane model, as one value: what it lists, counts, places and
// mirrors agrees with itself, on seeded layouts of every pattern, pass count and centring.

#include "layout/study.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <utility>

namespace {

using layout::Inputs;
using layout::Site;

/// A seeded layout: any pattern, passes, model and centring the rules allow, a centre tube now
/// and then, shells from small to a few hundred tubes.
Inputs seeded(std::uint64_t &seed)
{
    const auto next = [&seed](std::uint64_t below) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return (seed >> 33) % below;
    };
    Inputs in;
    const layout::Pattern patterns[] = { layout::Pattern::Triangular,
        layout::Pattern::RotatedTriangular, layout::Pattern::Square,
        layout::Pattern::RotatedSquare };
    in.pattern = patterns[next(4)];
    const int passes[] = { 1, 2, 4, 6, 8 };
    in.passes = passes[next(5)];
    in.lanes = next(2) ? layout::LaneModel::Shift : layout::LaneModel::Remove;
    in.tube = layout::mm(19 + static_cast<std::int64_t>(next(7)));
    in.pitch = { in.tube.units + layout::mm(3 + static_cast<std::int64_t>(next(8))).units };
    in.diameter = layout::mm(150 + static_cast<std::int64_t>(next(700)));
    if (in.passes > 1)
        in.laneSpacing = { in.pitch.units + layout::mm(static_cast<std::int64_t>(next(20))).units };
    const bool vertical = in.passes >= 4;
    if (!(in.lanes == layout::LaneModel::Shift && vertical) && next(2))
        in.centring = layout::Centring::Straddle;
    if (next(3) == 0)
        in.centreTube = layout::mm(25 + static_cast<std::int64_t>(next(40)));
    return in;
}

TEST(Arrangement, ListsCountsPlacesAndMirrorsAlike)
{
    std::uint64_t seed = 20261210;
    int shifted = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const Inputs in = seeded(seed);
        SCOPED_TRACE(::testing::Message()
            << "trial " << trial << ": pattern " << layout::patternName(in.pattern) << ", passes "
            << in.passes << ", shift " << (in.lanes == layout::LaneModel::Shift));
        const layout::Layout counted = layout::study(in);
        const layout::Arrangement &arrangement = counted.arrangement;
        shifted += arrangement.planOf<layout::ShiftPlan>() != nullptr;
        std::int64_t listed = 0, kept = 0;
        std::array<std::int64_t, layout::kMaxPasses> perPass {};
        std::set<std::pair<std::int64_t, std::int64_t>> sites;
        arrangement.forEachTube([&](const Site &site, const layout::Tube &tube) {
            ++listed;
            if (tube.pass == 0)
                return;
            ++kept;
            ++perPass[static_cast<std::size_t>(tube.pass - 1)];
            sites.insert({ site.row, site.col });
            // A site's place is where the list puts its tube, to the last bit.
            const layout::SiteAt at = arrangement.siteAt(site);
            ASSERT_EQ(at.x, tube.x);
            ASSERT_EQ(at.y, tube.y);
            ASSERT_EQ(at.pass, tube.pass);
        });
        EXPECT_EQ(listed, counted.counts.inCircle);
        EXPECT_EQ(kept, counted.counts.total);
        for (int i = 0; i < counted.counts.passes; ++i)
            EXPECT_EQ(perPass[static_cast<std::size_t>(i)], counted.counts.perPass[i]) << i;
        // The rows keep what the list keeps.
        std::int64_t inRows = 0;
        arrangement.forEachRow([&inRows](const layout::RowCount &row) { inRows += row.kept; });
        EXPECT_EQ(inRows, kept);
        // Every kept site has its mirror images across both axes.
        for (const auto &[row, col] : sites) {
            ASSERT_TRUE(sites.count({ -row, col })) << row << " " << col;
            ASSERT_TRUE(sites.count({ row, -col })) << row << " " << col;
        }
    }
    EXPECT_GT(shifted, 60);
}

} // namespace
