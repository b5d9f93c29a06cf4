// The heads' layout circles: each rule on both sides of every band edge, against the values
// worked by hand; and the smallest shell under a head, against a scan of every shell.

#include "lattice.h"
#include "layout/study.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using layout::Head;
using layout::Inputs;
using layout::Length;
using layout::mm;

/// A length of thousandths of a millimetre.
Length thousandths(std::int64_t value)
{
    return { value * (layout::kUnitsPerMm / 1000) };
}

TEST(Head, LayoutCircleOnBothSidesOfEveryEdge)
{
    // DL in thousandths of a mm, worked from the rule: floating Di − 2(b1 + b2 + b), pull-through
    // (Di − 85.6625)/1.009375 down to 0.001, packed Di − 37.5; a clearance given wins.
    const struct
    {
        Head head;
        std::int64_t di, dl; ///< thousandths
        std::int64_t clearance = -1; ///< thousandths, -1 for none
    } cases[] = {
        { Head::Floating, 600'000, 563'000 }, // 600 − 2(3 + 11.5 + 4)
        { Head::Floating, 700'000, 663'000 },
        { Head::Floating, 700'001, 653'001 }, // 700.001 − 2(5 + 14.5 + 4)
        { Head::Floating, 999'999, 952'999 },
        { Head::Floating, 1'000'000, 951'000 }, // b = 5 from DN 1000
        { Head::Floating, 1'200'000, 1'151'000 },
        { Head::Floating, 1'200'001, 1'143'001 }, // 2(6 + 17.5 + 5)
        { Head::Floating, 2'000'000, 1'943'000 },
        { Head::Floating, 2'000'001, 1'933'001 }, // 2(7 + 21.5 + 5)
        { Head::Floating, 2'600'000, 2'533'000 },
        { Head::Floating, 3'000'000, 2'900'000, 50'000 },
        { Head::PullThrough, 600'000, 509'560 }, // 514.3375 / 1.009375 = 509.5603…
        { Head::PullThrough, 1'095'037, 999'999 }, // 999.9995… down
        { Head::PullThrough, 85'663, 0 }, // 0.000495… down: nothing to lay out
        { Head::PullThrough, 85'662, -1 }, // −0.000495… down
        { Head::Packed, 600'000, 562'500 },
        { Head::Packed, 600'000, 580'000, 10'000 },
        { Head::Fixed, 600'000, 584'000 },
        { Head::UTube, 600'000, 584'000 },
    };
    for (const auto &c : cases) {
        Inputs in;
        in.tube = mm(25);
        in.pitch = mm(32);
        in.head = c.head;
        in.diameter = thousandths(c.di);
        if (c.clearance >= 0)
            in.clearance = thousandths(c.clearance);
        SCOPED_TRACE(::testing::Message() << layout::headName(c.head) << " Di " << c.di);
        EXPECT_EQ(layout::layoutCircleOf(in).units, thousandths(c.dl).units);
        // The layout circle given is the circle, whatever the head.
        in.given = layout::Given::LayoutCircle;
        in.clearance.reset();
        EXPECT_EQ(layout::layoutCircleOf(in), in.diameter);
    }
}

TEST(Head, RefusedWhereItsRuleHasNoNumbers)
{
    Inputs in;
    in.tube = mm(25);
    in.pitch = mm(32);
    in.head = Head::Floating;
    in.diameter = thousandths(2'600'001);
    const std::vector<layout::InputError> over = layout::problemsOf(in);
    ASSERT_EQ(over.size(), 1u);
    EXPECT_EQ(over.front().problem(), layout::Problem::OutsideTable);
    EXPECT_EQ(over.front().field(), layout::Field::Diameter);
    in.clearance = mm(10);
    EXPECT_TRUE(layout::problemsOf(in).empty());
    in.clearance.reset();
    in.diameter = mm(600);
    in.passes = 2;
    in.bundle = layout::Bundle::UTube;
    const std::vector<layout::InputError> bundle = layout::problemsOf(in);
    ASSERT_EQ(bundle.size(), 1u);
    EXPECT_EQ(bundle.front().field(), layout::Field::Head);
}

/// The single count's total of a shell, or -1 when it is refused.
std::int64_t singleTotal(const Inputs &in)
{
    try {
        return layout::studyOne(in).counts.total;
    } catch (const layout::InputError &) {
        return -1;
    }
}

TEST(Head, MinShellIsTheFirstShellOfAScanUnderEveryHead)
{
    // Under a floating head the circle shrinks at each DN band's edge, so totals dip there;
    // the search must still find the first shell that holds N, as a scan of them all does.
    std::mt19937_64 random(2600);
    static const Head heads[] = { Head::Floating, Head::PullThrough, Head::Packed };
    static const layout::Pattern patterns[] = { layout::Pattern::Triangular,
        layout::Pattern::RotatedTriangular, layout::Pattern::Square,
        layout::Pattern::RotatedSquare };
    static const int passes[] = { 1, 2, 4, 6, 8 };
    int dips = 0;
    for (int trial = 0; trial < 12; ++trial) {
        Inputs in;
        in.head = heads[trial % 3];
        in.pattern = patterns[trial % 4];
        in.passes = passes[lattice::pick(random, 0, 4)];
        in.lanes = trial % 2 ? layout::LaneModel::Shift : layout::LaneModel::Remove;
        in.tube = mm(25);
        in.pitch = mm(32);
        if (trial % 4 == 3)
            in.tieRods = layout::TieRodRule::Gb151;
        // Steps of 2 mm up to 1240 mm cross the bands' edges at 700, 1000 and 1200.
        const Length resolution = mm(2);
        std::vector<std::int64_t> totals(621, -1);
        for (std::size_t step = 1; step < totals.size(); ++step) {
            in.diameter = { static_cast<std::int64_t>(step) * resolution.units };
            totals[step] = singleTotal(in);
            dips += totals[step] >= 0 && totals[step] < totals[step - 1];
        }
        for (int query = 0; query < 6; ++query) {
            const std::int64_t required = lattice::pick(random, 1, totals.back());
            std::size_t first = 1;
            while (totals[first] < required)
                ++first;
            SCOPED_TRACE(::testing::Message()
                << "trial " << trial << " " << layout::headName(in.head) << ", N " << required);
            const layout::MinShell answer = layout::minShell(in, required, resolution);
            ASSERT_TRUE(answer.reached);
            EXPECT_EQ(answer.diameter.units, static_cast<std::int64_t>(first) * resolution.units);
            EXPECT_EQ(answer.layout->counts.total, totals[first]);
        }
    }
    EXPECT_GT(dips, 0);
}

} // namespace
