// Ribbon lanes and impingement plates under the pass-count method's lanes, against the plain
// enumeration of the lattice: counts, passes, the list, tie rods round the plate, baffle
// windows under it, and the smallest shell against a linear scan.

#include "enumeration.h"
#include "layout/edits.h"
#include "layout/study.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace {

using namespace enumeration;

/// A seeded layout with ribbon lanes or an impingement plate, ties made on purpose: a row
/// exactly on the plate's line, a hole exactly touching its side, an off-centre lane's e·r
/// exactly halfway between two rows.
struct Drawn
{
    Inputs in;
    int ties = 0;
};

Drawn ribbonOrPlate(Draw &uniform, int trial)
{
    Drawn drawn;
    Inputs &in = drawn.in;
    const int passCounts[] = { 1, 2, 4, 6, 8 };
    in.pattern = kPatterns[trial % 4];
    const bool ribbon = trial % 3 != 2;
    in.passes = ribbon ? passCounts[uniform(2, 4)] : passCounts[uniform(0, 4)];
    if (ribbon)
        in.arrangement = layout::PassArrangement::Ribbon;
    in.centring = trial % 5 == 0 ? Centring::Best
        : trial % 5 == 1         ? Centring::Straddle
                                 : Centring::OnTube;
    const std::int64_t p = uniform(10, 40);
    in.pitch = layout::mm(p);
    in.tube = layout::mm(p - uniform(0, 8));
    in.given = Given::Shell;
    const std::int64_t di = uniform(2 * p, 30 * p);
    in.diameter = layout::mm(di);
    if (uniform(0, 3) == 0)
        in.laneSpacing = layout::mm(uniform(1, 80));
    if (uniform(0, 3) == 0 && in.passes != 6 && in.passes != 8 && in.passes > 1) {
        in.bundle = layout::Bundle::UTube;
        in.head = layout::Head::UTube;
        in.passes = uniform(0, 1) ? 4 : 2;
    } else if (uniform(0, 3) == 0) {
        in.centreTube = layout::mm(uniform(1, 60));
    }
    const bool snapsOnRows =
        in.pattern == Pattern::Square || in.pattern == Pattern::RotatedTriangular;
    if (ribbon && in.passes >= 4 && snapsOnRows && uniform(0, 2) == 0) {
        // One lane's e·r (or 2·e·r) halfway between two rows: the rules round it up.
        const std::int64_t shares[3][3] = { { 404 }, { 265, 553 }, { 198, 404, 635 } };
        const std::int64_t e = shares[in.passes / 2 - 2][uniform(0, in.passes / 2 - 2)];
        const std::int64_t k = uniform(40'000, 120'000);
        in.pitch = micro(e * k);
        in.tube = micro(e * k - uniform(0, 8) * 1'000'000);
        const std::int64_t w =
            (in.pattern == Pattern::Square ? 1000 : 500) * k * (2 * uniform(1, 3) - 1);
        in.clearance = layout::mm(0);
        in.diameter = micro(in.tube.units / 4 + w);
        ++drawn.ties;
    }
    if (!ribbon || uniform(0, 2) == 0) {
        const std::int64_t dn = uniform(1, std::max<std::int64_t>(1, di / 3));
        layout::Impingement plate { layout::mm(dn), layout::mm(dn + uniform(0, 3 * p)),
            { layout::mm(dn).units / 4 }, layout::mm(uniform(0, 12)) };
        if (in.pattern == Pattern::Square && uniform(0, 1) == 0) {
            // Rows at y = k·p: the line 2y = Di − 2h − 2t − d exactly on one, by the thickness.
            const Int128 over =
                Int128(in.diameter.units) - in.tube.units - 2 * Int128(plate.height.units);
            const std::int64_t k = uniform(0,
                std::max<std::int64_t>(
                    0, static_cast<std::int64_t>(over / (2 * Int128(in.pitch.units)))));
            const Int128 t2 = over - 2 * Int128(k) * in.pitch.units;
            if (t2 >= 0 && t2 % 8 == 0) {
                plate.thickness = { static_cast<std::int64_t>(t2 / 2) };
                ++drawn.ties;
            }
        }
        if (in.pattern == Pattern::Square && uniform(0, 1) == 0
            && in.centring == Centring::OnTube) {
            // A hole exactly touching the plate's side: A + d = 2·a·p.
            const std::int64_t a = uniform(1, 6);
            const std::int64_t side = 2 * a * in.pitch.units - in.tube.units;
            if (side >= plate.nozzle.units) {
                plate.plate = { side };
                ++drawn.ties;
            }
        }
        in.impingement = plate;
    }
    return drawn;
}

TEST(LayoutProperties, RibbonLanesAndPlatesEqualThePlainEnumeration)
{
    Draw uniform(20261210);
    int ties = 0, plated = 0, ribbons = 0, refused = 0;
    for (int trial = 0; trial < 600; ++trial) {
        const Drawn drawn = ribbonOrPlate(uniform, trial);
        const Inputs &in = drawn.in;
        SCOPED_TRACE(::testing::Message()
            << "trial " << trial << ": pattern " << layout::patternName(in.pattern) << ", Di "
            << layout::lengthText(in.diameter) << ", d " << layout::lengthText(in.tube) << ", p "
            << layout::lengthText(in.pitch) << ", passes " << in.passes
            << (layout::isRibbon(in) ? " ribbon" : "") << ", Sn "
            << (in.laneSpacing ? layout::lengthText(*in.laneSpacing) : "-") << ", centre "
            << layout::centringName(in.centring) << ", d0 "
            << (in.centreTube ? layout::lengthText(*in.centreTube) : "-") << ", "
            << (in.bundle == layout::Bundle::UTube ? "u-tube" : "fixed") << ", plate "
            << (in.impingement ? layout::lengthText(in.impingement->nozzle) + ","
                           + layout::lengthText(in.impingement->plate) + ","
                           + layout::lengthText(in.impingement->height) + ","
                           + layout::lengthText(in.impingement->thickness)
                               : "none"));
        if (!layout::problemsOf(in).empty()) {
            ++refused; // a plate past the centre line, a nozzle as wide as the shell
            continue;
        }
        const layout::Layout got = layout::study(in);
        const Found onTube = enumerate(in, false), straddled = enumerate(in, true);
        const bool straddle = in.centring == Centring::Straddle
            || (in.centring == Centring::Best && straddled.total > onTube.total);
        const Found &want = straddle ? straddled : onTube;
        EXPECT_EQ(got.counts.inCircle, want.inCircle);
        EXPECT_EQ(got.counts.laneRemoved, want.laneRemoved);
        EXPECT_EQ(got.counts.centreRemoved, want.centreRemoved);
        EXPECT_EQ(got.counts.impingementRemoved, want.plateRemoved);
        EXPECT_EQ(got.counts.total, want.total);
        ASSERT_EQ(got.counts.passes, static_cast<int>(want.perPass.size()));
        for (int i = 0; i < got.counts.passes; ++i)
            EXPECT_EQ(got.counts.perPass[i], want.perPass[i]) << "pass " << i + 1;
        // The list agrees with the count, and stays symmetric left to right.
        std::set<std::pair<long long, long long>> where;
        std::int64_t underPlate = 0;
        std::vector<std::int64_t> listed(static_cast<std::size_t>(got.counts.passes), 0);
        for (const layout::Tube &tube : layout::tubes(got)) {
            where.insert({ std::llround(tube.x * 1e6), std::llround(tube.y * 1e6) });
            underPlate += tube.removed == layout::Removed::Plate;
            if (tube.pass > 0)
                ++listed[static_cast<std::size_t>(tube.pass - 1)];
        }
        EXPECT_EQ(underPlate, want.plateRemoved);
        EXPECT_EQ(listed, want.perPass);
        std::multiset<std::tuple<long long, long long, int>> placed,
            expected(want.kept.begin(), want.kept.end());
        for (const layout::Tube &tube : layout::tubes(got))
            if (tube.pass > 0)
                placed.insert(
                    { std::llround(tube.x * 1e6), std::llround(tube.y * 1e6), tube.pass });
        EXPECT_EQ(placed, expected);
        for (const auto &[x, y] : where)
            EXPECT_TRUE(where.count({ -x, y })) << x << ", " << y;
        // A baffle cut's Fc counts both windows, the plate's one short of the other.
        if (want.plateRemoved > 0) {
            Inputs cut = in;
            cut.baffleCuts = { layout::mm(25) };
            const layout::Layout cutLayout = layout::study(cut);
            const double yc = cutLayout.baffles.front().cutLine;
            std::int64_t windows = 0, top = 0;
            bool onLine = false;
            for (const layout::Tube &tube : layout::tubes(cutLayout)) {
                if (tube.pass == 0)
                    continue;
                onLine = onLine || std::abs(std::abs(tube.y) - yc) < 1e-6;
                windows += std::abs(tube.y) > yc;
                top += tube.y > yc;
            }
            if (!onLine && cutLayout.counts.total > 0) {
                EXPECT_EQ(cutLayout.baffles.front().windowTubes, top);
                EXPECT_DOUBLE_EQ(cutLayout.baffles.front().fc,
                    static_cast<double>(cutLayout.counts.total - windows)
                        / static_cast<double>(cutLayout.counts.total));
            }
        }
        // Tie rods go round what the plate leaves: on kept tubes, each in place of one, never
        // next to another.
        if (want.plateRemoved > 0) {
            Inputs withRods = in;
            withRods.tieRods = layout::TieRodRule::Count;
            withRods.tieRodCount = in.bundle == layout::Bundle::UTube ? 4 : 6;
            try {
                const layout::Layout rods = layout::study(withRods);
                EXPECT_EQ(rods.counts.total, got.counts.total - withRods.tieRodCount);
                std::vector<layout::Tube> placed;
                for (const layout::Tube &tube : layout::tubes(rods))
                    if (tube.tieRod)
                        placed.push_back(tube);
                ASSERT_EQ(static_cast<int>(placed.size()), withRods.tieRodCount);
                const double p = layout::millimetres(in.pitch);
                for (std::size_t i = 0; i < placed.size(); ++i)
                    for (std::size_t j = i + 1; j < placed.size(); ++j)
                        EXPECT_GT(std::hypot(placed[i].x - placed[j].x, placed[i].y - placed[j].y),
                            p * 1.01);
            } catch (const layout::InputError &error) {
                EXPECT_EQ(error.problem(), layout::Problem::TooManyTieRods);
            }
        }
        ties += drawn.ties;
        plated += want.plateRemoved > 0;
        ribbons += layout::isRibbon(in);
    }
    EXPECT_GT(ties, 60);
    EXPECT_GT(plated, 100);
    EXPECT_GT(ribbons, 250);
    EXPECT_LT(refused, 200);
}

TEST(MinShell, RibbonLanesAndPlatesAreTheFirstOfALinearScan)
{
    // Every ribbon lane moves with the shell by its own steps, and a plate hung from the
    // shell's top rises with it: the search must still find what a scan finds first.
    Draw uniform(20261211);
    int dips = 0;
    for (int trial = 0; trial < 90; ++trial) {
        Inputs in;
        in.pattern = kPatterns[trial % 4];
        in.passes = 4 + 2 * static_cast<int>(trial % 3);
        in.arrangement =
            trial % 4 == 3 ? layout::PassArrangement::Standard : layout::PassArrangement::Ribbon;
        in.lanes = trial % 2 ? layout::LaneModel::Shift : layout::LaneModel::Remove;
        in.given = Given::Shell;
        in.pitch = layout::mm(uniform(20, 40));
        in.tube = layout::mm(uniform(12, 19));
        in.laneSpacing = layout::mm(uniform(19, 50));
        if (trial % 3 != 0) {
            const std::int64_t dn = uniform(20, 120);
            in.impingement = layout::Impingement { layout::mm(dn), layout::mm(dn + uniform(0, 60)),
                layout::mm(uniform(5, 30)), layout::mm(uniform(0, 8)) };
        }
        const Length resolution = micro(uniform(1, 4) * 500'000);
        const std::int64_t required = uniform(1, 200);
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ": N " << required);

        std::int64_t step = 1, best = 0;
        for (;; ++step) {
            in.diameter = { step * resolution.units };
            std::int64_t total = 0;
            try {
                total = layout::study(in).counts.total;
            } catch (const layout::InputError &) {
                // A nozzle as wide as the shell, a plate past its centre: nothing fits.
            }
            dips += total < best;
            best = std::max(best, total);
            if (total >= required)
                break;
        }
        const layout::MinShell answer = layout::minShell(in, required, resolution);
        ASSERT_TRUE(answer.reached);
        EXPECT_EQ(answer.diameter, in.diameter);
        EXPECT_GE(answer.layout->counts.total, required);
    }
    EXPECT_GT(dips, 0);
}

// --- The designer's edits ------------------------------------------------------------------

TEST(Edits, EditedLayoutsAreThePlainOnesLessTheirSites)
{
    Draw uniform(20261212);
    int applied = 0, refused = 0;
    for (int trial = 0; trial < 300; ++trial) {
        Inputs in = ribbonOrPlate(uniform, trial).in;
        if (!layout::problemsOf(in).empty())
            continue;
        if (trial % 2)
            in.lanes = layout::LaneModel::Shift, in.laneSpacing = in.pitch;
        if (!layout::problemsOf(in).empty())
            continue;
        const layout::Layout plain = layout::study(in);
        // Sites of every kind: kept, taken by a lane, the centre tube or the plate, and one
        // far outside the circle.
        std::vector<std::pair<layout::Site, layout::Tube>> sites;
        plain.arrangement.forEachTube([&](const layout::Site &site, const layout::Tube &tube) {
            sites.emplace_back(site, tube);
        });
        if (sites.empty())
            continue;
        std::vector<layout::Edit> edits;
        std::map<layout::Site, layout::EditAction> wanted;
        for (int i = 0; i < 6; ++i) {
            const auto &[site, tube] = sites[static_cast<std::size_t>(
                uniform(0, static_cast<std::int64_t>(sites.size()) - 1))];
            const auto action =
                uniform(0, 1) ? layout::EditAction::Dummy : layout::EditAction::Remove;
            edits.push_back({ site, action });
        }
        edits.push_back({ { 4'000'000, 2 }, layout::EditAction::Remove });
        // A second edit of a site replaces the first.
        edits.push_back({ edits.front().site, layout::EditAction::Dummy });
        in.edits = edits;
        in.tieRods = layout::TieRodRule::Count;
        in.tieRodCount = 4;
        layout::Layout edited;
        try {
            edited = layout::study(in);
        } catch (const layout::InputError &) {
            continue; // the rods do not fit this small bundle
        }
        const bool uTube = in.bundle == layout::Bundle::UTube;
        std::set<layout::Site> named;
        std::int64_t undrilled = 0, dummies = 0;
        std::array<std::int64_t, 8> perPass = plain.counts.perPass;
        for (const layout::EditResult &result : edited.edits) {
            const layout::Site site = result.edit.site;
            EXPECT_TRUE(named.insert(site).second) << layout::siteText(site);
            const auto found = std::find_if(
                sites.begin(), sites.end(), [&](const auto &one) { return one.first == site; });
            const bool kept = found != sites.end() && found->second.pass > 0;
            EXPECT_EQ(result.outcome == layout::EditOutcome::Applied, kept)
                << layout::siteText(site) << " " << layout::editOutcomeName(result.outcome)
                << (in.lanes == layout::LaneModel::Shift ? " shift" : " remove") << " passes "
                << in.passes << (uTube ? " u-tube" : "");
            if (!kept) {
                ++refused;
                continue;
            }
            ++applied;
            const int legs = uTube ? 2 : 1;
            (result.edit.action == layout::EditAction::Remove ? undrilled : dummies) += legs;
            --perPass[static_cast<std::size_t>(found->second.pass - 1)];
            if (uTube)
                --perPass[static_cast<std::size_t>(
                    plain.arrangement.siteStatus({ -site.row, site.col }).pass - 1)];
        }
        EXPECT_EQ(edited.edits.front().edit.action, layout::EditAction::Dummy);
        EXPECT_EQ(edited.counts.editRemoved, undrilled);
        EXPECT_EQ(edited.counts.dummyTubes, dummies);
        EXPECT_EQ(edited.counts.total, plain.counts.total - undrilled - dummies - 4);
        // Each pass loses its edited tubes, and the rods: no rod on an edited site.
        std::int64_t rodsSeen = 0, dummyListed = 0;
        for (const layout::Tube &tube : layout::tubes(edited)) {
            rodsSeen += tube.tieRod;
            dummyListed += tube.removed == layout::Removed::Dummy;
        }
        EXPECT_EQ(rodsSeen, 4);
        EXPECT_EQ(dummyListed, dummies);
        for (const layout::SiteAt &rod : edited.tieRodPositions)
            --perPass[static_cast<std::size_t>(rod.pass - 1)];
        for (int pass = 0; pass < in.passes; ++pass)
            EXPECT_EQ(edited.counts.perPass[pass], perPass[static_cast<std::size_t>(pass)]);
        for (const layout::Site &rod : edited.tieRodSites)
            EXPECT_FALSE(named.count(rod)) << layout::siteText(rod);
        // The baffle figures count the tubes that carry flow: no rod, no edited site.
        if (in.given == Given::Shell) {
            Inputs cut = in;
            cut.baffleCuts = { layout::mm(25) };
            const layout::Layout cutLayout = layout::study(cut);
            const double yc = cutLayout.baffles.front().cutLine;
            std::int64_t top = 0;
            bool onLine = false;
            for (const layout::Tube &tube : layout::tubes(cutLayout)) {
                if (tube.pass == 0 || tube.tieRod)
                    continue;
                onLine = onLine || std::abs(tube.y - yc) < 1e-6;
                top += tube.y > yc;
            }
            if (!onLine) {
                EXPECT_EQ(cutLayout.baffles.front().windowTubes, top);
            }
        }
    }
    EXPECT_GT(applied, 600);
    EXPECT_GT(refused, 250);
}

TEST(Edits, SitesReadBackAsWritten)
{
    for (const layout::Site site : { layout::Site { 0, 0 }, { -3, 17 }, { 123456, -98765 } })
        EXPECT_EQ(layout::parseSite(layout::siteText(site)), site);
    EXPECT_EQ(layout::parseSite(" r2c-4 "), (layout::Site { 2, -4 }));
    for (const char *bad :
        { "", "r", "r2", "r2c", "c2r3", "r2c3x", "r2,c3", "r-c3", "R2C3", "r12345678901234c0" })
        EXPECT_FALSE(layout::parseSite(bad)) << bad;
}

TEST(Edits, AClickChangesOneTubeInItsPlace)
{
    using layout::EditAction;
    const layout::Site a { 1, 1 }, b { 2, 0 }, c { 3, -1 };
    const std::vector<layout::Edit> start = { { a, EditAction::Remove }, { b, EditAction::Dummy } };
    const struct
    {
        layout::Site site;
        std::optional<EditAction> action;
        bool uTube;
        std::vector<layout::Edit> want;
    } cases[] = {
        { c, EditAction::Remove, false,
            { { a, EditAction::Remove }, { b, EditAction::Dummy }, { c, EditAction::Remove } } },
        { a, EditAction::Dummy, false, { { a, EditAction::Dummy }, { b, EditAction::Dummy } } },
        { a, std::nullopt, false, { { b, EditAction::Dummy } } },
        { c, std::nullopt, false, start },
        // A U-tube's lower leg is its upper one's tube, named by the upper.
        { { -2, 0 }, std::nullopt, true, { { a, EditAction::Remove } } },
        { { -2, 0 }, std::nullopt, false, start },
        { { -3, -1 }, EditAction::Dummy, true,
            { { a, EditAction::Remove }, { b, EditAction::Dummy }, { c, EditAction::Dummy } } },
    };
    for (const auto &one : cases) {
        const std::vector<layout::Edit> got =
            layout::withEdit(start, one.site, one.action, one.uTube);
        ASSERT_EQ(got.size(), one.want.size()) << layout::siteText(one.site);
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].site, one.want[i].site) << layout::siteText(one.site);
            EXPECT_EQ(got[i].action, one.want[i].action) << layout::siteText(one.site);
        }
    }
    // Both legs named in a file are one tube: a click on either takes both edits away.
    const std::vector<layout::Edit> legs = { { { 4, 2 }, EditAction::Remove },
        { { -4, 2 }, EditAction::Dummy } };
    EXPECT_TRUE(layout::withEdit(legs, { -4, 2 }, std::nullopt, true).empty());
}

} // namespace
