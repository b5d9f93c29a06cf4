// Baffle windows against an enumeration of the tubes: every kept centre compared with the cut
// lines in whole numbers, with centres exactly on a cut line and holes exactly d/2 from it.

#include "lattice.h"
#include "layout/arc.h"
#include "layout/study.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <set>

namespace {

using namespace lattice;

/// What the enumeration finds for a cut of bc hundredths of a percent.
struct Found
{
    std::int64_t window = 0, bottom = 0, line = 0, between = 0, edge = 0;
    std::int64_t windowRows = 0, bottomRows = 0, lineRows = 0, betweenRows = 0, rows = 0;
    int ties = 0;
};

/// Each kept centre y = ya + yb·√f (in some unit) against yc = Di·(5000 − bc)/10000 and d/2,
/// the rows told apart by their whole-number place.
Found enumerate(const std::vector<std::pair<std::pair<Int128, Int128>, std::int64_t>> &centres,
    int f, Int128 di, Int128 tube, std::int64_t bc)
{
    Found found;
    const Int128 line = di * (5000 - bc), half = 5000 * tube;
    std::map<std::pair<Int128, Int128>, int> rowKind;
    for (const auto &centre : centres) {
        const std::pair<Int128, Int128> &y = centre.first;
        const std::int64_t count = centre.second;
        const auto against = [&](Int128 offset) {
            return signOf(10000 * y.first - offset, 10000 * y.second, f);
        };
        const int top = against(line), bottom = against(-line);
        int kind = 0;
        if (top > 0) {
            found.window += count;
            kind = 1;
        } else if (top == 0 || bottom == 0) {
            found.line += count;
            kind = 2;
            found.ties += 1;
        } else if (bottom > 0) {
            found.between += count;
            kind = 3;
        } else {
            found.bottom += count;
            kind = 4;
        }
        const int low = against(line - half), high = against(line + half);
        if (low > 0 && high < 0)
            found.edge += count;
        found.ties += low == 0 || high == 0;
        rowKind[y] = kind;
    }
    for (const auto &[y, kind] : rowKind) {
        ++found.rows;
        found.windowRows += kind == 1;
        found.lineRows += kind == 2;
        found.betweenRows += kind == 3;
        found.bottomRows += kind == 4;
    }
    return found;
}

void expectSame(const layout::Baffle &got, const Found &want, std::int64_t total)
{
    EXPECT_EQ(got.windowTubes, want.window);
    EXPECT_EQ(got.bottomWindowTubes, want.bottom);
    EXPECT_EQ(got.lineTubes, want.line);
    EXPECT_EQ(got.crossflowTubes, want.between);
    EXPECT_EQ(got.edgeTubes, want.edge);
    EXPECT_EQ(got.windowRows, want.windowRows);
    EXPECT_EQ(got.bottomWindowRows, want.bottomRows);
    EXPECT_EQ(got.lineRows, want.lineRows);
    EXPECT_EQ(got.nc, want.betweenRows);
    EXPECT_EQ(got.rows, want.rows);
    // The sheet adds up: both windows, the lines and the crossflow between them; the rows too.
    EXPECT_EQ(got.windowTubes + got.bottomWindowTubes + got.lineTubes + got.crossflowTubes, total);
    EXPECT_EQ(got.nc + got.windowRows + got.bottomWindowRows + got.lineRows, got.rows);
    EXPECT_EQ(got.missesTubes, got.windowTubes == 0);
    if (total > 0) {
        EXPECT_DOUBLE_EQ(
            got.fc, static_cast<double>(total - 2 * got.windowTubes) / static_cast<double>(total));
    }
    EXPECT_DOUBLE_EQ(got.ncw, 0.8 * static_cast<double>(got.windowRows));
}

/// A shell of `di` (0.05 mm), the case's layout in it, cut at bc hundredths of a percent.
layout::Layout cutLayout(const Case &c, std::int64_t di, std::int64_t bc, LaneModel lanes)
{
    Inputs in = c.inputs();
    in.lanes = lanes;
    in.given = Given::Shell;
    in.diameter = units(di);
    in.baffleCuts = { Length { bc * layout::kUnitsPerMm / 100 } };
    return layout::study(in);
}

TEST(Baffle, ShiftedLayoutsAgainstEveryLatticeSite)
{
    std::mt19937_64 random(2512);
    int ties = 0;
    for (int i = 0; i < 400; ++i) {
        Case c = randomCase(random);
        const std::int64_t b = std::max<std::int64_t>(c.d / 4, 160);
        std::int64_t di = c.dl + 2 * b, bc = pick(random, 1500, 4500);
        // A third with a row exactly on the cut line, a third with one exactly d/2 from it:
        // with BC 25, yc = Di/4, so Di = 4y or 4(y − d/2) for a row whose y is whole.
        if (i % 3 != 2) {
            const Geometry g = geometryOf(c.pattern, c.p);
            std::vector<std::int64_t> whole;
            for (const auto &s : brute(c).kept)
                if ((s.yb == 0 || g.sf == 1) && s.ya + s.yb > c.d)
                    whole.push_back(s.ya + s.yb * (g.sf == 1 ? 1 : 0));
            if (!whole.empty()) {
                const std::int64_t y = whole[static_cast<std::size_t>(
                    pick(random, 0, static_cast<std::int64_t>(whole.size()) - 1))];
                const std::int64_t wanted = i % 3 == 0 ? 4 * y : 4 * (y - c.d / 2);
                if (wanted - 2 * b > c.d) {
                    di = wanted;
                    c.dl = di - 2 * b;
                    bc = 2500;
                }
            }
        }
        SCOPED_TRACE(::testing::Message() << "case " << i << ": Di " << di << ", BC " << bc);
        const layout::Layout got = cutLayout(c, di, bc, LaneModel::Shift);
        const Counted kept = brute(c);
        ASSERT_EQ(got.counts.total, kept.total);
        const Geometry g = geometryOf(c.pattern, c.p);
        std::map<std::pair<Int128, Int128>, std::int64_t> rows;
        for (const auto &s : kept.kept)
            ++rows[{ s.ya, s.yb }];
        std::vector<std::pair<std::pair<Int128, Int128>, std::int64_t>> centres(
            rows.begin(), rows.end());
        const Found want = enumerate(centres, g.sf, di, c.d, bc);
        ties += want.ties;
        ASSERT_EQ(got.baffles.size(), 1u);
        expectSame(got.baffles.front(), want, got.counts.total);
    }
    EXPECT_GT(ties, 100);
}

TEST(Baffle, PassCountLayoutsWithTieRodsAgainstTheirTubes)
{
    std::mt19937_64 random(1999);
    int ties = 0, rodded = 0;
    for (int i = 0; i < 300; ++i) {
        Case c = randomCase(random);
        if (i % 4 == 0) {
            c.passes = 1;
            c.bundle = Bundle::Fixed;
        }
        const std::int64_t b = std::max<std::int64_t>(c.d / 4, 160);
        std::int64_t di = c.dl + 2 * b, bc = pick(random, 1500, 4500);
        // The rows of 60 and 90 lie at whole multiples of p/4: a tie at BC 25 is Di = 4y.
        if ((c.pattern == Pattern::RotatedTriangular || c.pattern == Pattern::Square)
            && i % 2 == 0) {
            const std::int64_t y = (c.p / 2) * pick(random, 2, 8) + (i % 4 == 2 ? -c.d / 2 : 0);
            if (4 * y - 2 * b > c.d) {
                di = 4 * y;
                bc = 2500;
            }
        }
        Inputs in = c.inputs();
        in.lanes = LaneModel::Remove;
        in.given = Given::Shell;
        in.diameter = units(di);
        in.baffleCuts = { Length { bc * layout::kUnitsPerMm / 100 } };
        if (i % 3 == 0) {
            in.tieRods = layout::TieRodRule::Count;
            in.tieRodCount = c.bundle == Bundle::UTube ? 4 : static_cast<int>(pick(random, 1, 6));
        }
        layout::Layout got;
        try {
            got = layout::study(in);
        } catch (const layout::InputError &error) {
            ASSERT_EQ(error.problem(), layout::Problem::TooManyTieRods);
            continue;
        }
        rodded += got.tieRods.count > 0;
        SCOPED_TRACE(::testing::Message() << "case " << i << ": Di " << di << ", BC " << bc);
        // The list's centres back to whole rows: y = Y·(p/4)·√fy in length units.
        const int fy = c.pattern == Pattern::Triangular ? 3
            : c.pattern == Pattern::RotatedSquare       ? 2
                                                        : 1;
        const double unit = layout::millimetres(in.pitch) / 4 * std::sqrt(static_cast<double>(fy));
        std::map<std::pair<Int128, Int128>, std::int64_t> rows;
        for (const layout::Tube &tube : layout::tubes(got)) {
            if (tube.pass == 0 || tube.tieRod)
                continue;
            const auto Y = static_cast<std::int64_t>(std::llround(tube.y / unit));
            ++rows[{ 0, Int128(Y) * (in.pitch.units / 4) }];
        }
        std::vector<std::pair<std::pair<Int128, Int128>, std::int64_t>> centres(
            rows.begin(), rows.end());
        const Found want = enumerate(centres, fy, in.diameter.units, in.tube.units, bc);
        ties += want.ties;
        expectSame(got.baffles.front(), want, got.counts.total);
    }
    EXPECT_GT(ties, 20);
    EXPECT_GT(rodded, 50);
}

TEST(Baffle, FormulasAsComputedByHand)
{
    const struct
    {
        const char *shell, *tube, *pitch;
        Pattern pattern;
        int cut;
        std::optional<double> fw, fc;
        double nc, ncw;
    } rows[] = {
        { "600", "25", "32", Pattern::Triangular, 25, 0.1755377970, 0.6489244060, 10.8253175473,
            3.7383429930 },
        { "1000", "19", "25", Pattern::Square, 20, 0.1314105942, 0.7371788115, 24, 5.84 },
        { "800", "25", "32", Pattern::RotatedSquare, 35, 0.3021040791, 0.3957918417, 10.6066017178,
            9.1747104859 },
        // Dctl 59 mm against Di·(1 − 2·BC) = 70 mm: no angle, so no Fw or Fc.
        { "100", "25", "32", Pattern::RotatedTriangular, 15, std::nullopt, std::nullopt, 4.375,
            -0.275 },
        { "1200", "38", "48", Pattern::RotatedTriangular, 45, 0.4332862641, 0.1334274719, 5,
            17.05 },
    };
    for (const auto &row : rows) {
        Inputs in;
        in.diameter = layout::parseLength(row.shell, "shell");
        in.tube = layout::parseLength(row.tube, "tube");
        in.pitch = layout::parseLength(row.pitch, "pitch");
        in.pattern = row.pattern;
        in.passes = 2;
        const layout::Layout counted = layout::study(in);
        const layout::Baffle b = layout::baffleOf(counted, layout::mm(row.cut));
        SCOPED_TRACE(row.shell);
        ASSERT_EQ(b.formula.fw.has_value(), row.fw.has_value());
        if (row.fw) {
            EXPECT_NEAR(*b.formula.fw, *row.fw, 1e-9);
            EXPECT_NEAR(*b.formula.fc, *row.fc, 1e-9);
        }
        EXPECT_NEAR(b.formula.nc, row.nc, 1e-9);
        EXPECT_NEAR(b.formula.ncw, row.ncw, 1e-9);
        EXPECT_DOUBLE_EQ(b.cutLine, layout::millimetres(in.diameter) * (0.5 - row.cut / 100.0));
    }
}

/// How many doubles lie between a and b.
std::int64_t ulpsApart(double a, double b)
{
    std::int64_t ia, ib;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    // Negative doubles ordered as the integers are.
    ia = ia < 0 ? std::numeric_limits<std::int64_t>::min() - ia : ia;
    ib = ib < 0 ? std::numeric_limits<std::int64_t>::min() - ib : ib;
    return ia > ib ? ia - ib : ib - ia;
}

TEST(Baffle, OwnArcCosineHeldToTheCLibrarys)
{
    // The ends, the seams of the three ranges, their neighbours, and a dense seeded spread.
    std::vector<double> xs = { -1, 1, 0, -0.0, 0.5, -0.5, 1e-300, -1e-300 };
    for (const double seam : { -1.0, -0.5, 0.5, 1.0 })
        for (double x = seam, y = seam; xs.size() < 100;) {
            x = std::nextafter(x, 2.0);
            y = std::nextafter(y, -2.0);
            xs.push_back(x);
            xs.push_back(y);
            if (xs.size() % 24 == 0)
                break;
        }
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> any(-1, 1);
    for (int i = 0; i < 200'000; ++i)
        xs.push_back(any(random));
    std::int64_t worst = 0;
    for (const double x : xs) {
        if (std::abs(x) > 1)
            continue;
        const double got = layout::portableAcos(x);
        worst = std::max(worst, ulpsApart(got, std::acos(x)));
        ASSERT_LE(ulpsApart(got, std::acos(x)), 4) << x;
        // sin(2·acos x) to within a few ulps of the largest value it takes, 1.
        EXPECT_NEAR(layout::sinOfTwiceAcos(x), std::sin(2 * std::acos(x)), 1e-15) << x;
    }
    EXPECT_GE(worst, 1); // a library value that differed, so the bound was tried
}

TEST(Baffle, CutsRefusedAsTheRulesSay)
{
    Inputs in;
    in.diameter = layout::mm(600);
    in.tube = layout::mm(25);
    in.pitch = layout::mm(32);
    const struct
    {
        const char *cut;
        bool ok;
    } cuts[] = { { "15", true }, { "45", true }, { "14.999999", false }, { "45.000001", false },
        { "0", false }, { "-25", false } };
    for (const auto &c : cuts) {
        in.baffleCuts = { layout::parseLength(c.cut, "cut") };
        const auto problems = layout::problemsOf(in);
        EXPECT_EQ(problems.empty(), c.ok) << c.cut;
        if (!c.ok) {
            EXPECT_EQ(problems.front().problem(), layout::Problem::CutOutOfRange);
        }
    }
    in.baffleCuts = { layout::mm(25) };
    in.given = Given::LayoutCircle;
    EXPECT_EQ(layout::problemsOf(in).front().problem(), layout::Problem::NeedsShell);
    // A shell so small that no centre lies beyond the line: no figures, a refusal.
    in.given = Given::Shell;
    in.diameter = layout::mm(80);
    const layout::Layout small = layout::study(in);
    ASSERT_TRUE(layout::missedCut(small));
    EXPECT_EQ(layout::missedCut(small)->problem(), layout::Problem::CutMissesTubes);
}

} // namespace
