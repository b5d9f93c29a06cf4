#include "layout/arrangement.h"

#include "layout/lanes.h"
#include "layout/surd.h"

#include <cmath>

namespace layout {

namespace {

    template <class... Ts> struct Overloaded : Ts...
    {
        using Ts::operator()...;
    };
    template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

    /// The pattern's rows and columns, as layout/rows.h describes them.
    Plan grid(Pattern pattern, std::int64_t p, bool straddle)
    {
        Plan plan;
        switch (pattern) {
        case Pattern::Triangular:
            plan.fx = 1, plan.fy = 3;
            break;
        case Pattern::RotatedTriangular:
            plan.fx = 3, plan.fy = 1;
            break;
        case Pattern::Square:
            plan.fx = 1, plan.fy = 1, plan.rowStep = 4, plan.alternate = false;
            break;
        case Pattern::RotatedSquare:
            plan.fx = 2, plan.fy = 2;
            break;
        }
        plan.pitch = p;
        plan.ax = Int128(p) * p * plan.fx;
        plan.ay = Int128(p) * p * plan.fy / 4;
        plan.shift = straddle ? 1 : 0;
        return plan;
    }

    /// The centre tube's circle, squared: a tube with 4·r² < (d + d0 + 2b)² is taken out.
    Int128 centreReachSquared(const Inputs &in)
    {
        const Int128 reach = centreCircleOf(in).units;
        return reach * reach;
    }

    /// The impingement plate's reach in whole units: a tube goes when 2y > line and
    /// 2|x| < across, with line = Di − 2h − 2t − d and across = A + d.
    struct PlateReach
    {
        Int128 line = 0, across = 0;
    };

    std::optional<PlateReach> plateOf(const Inputs &in)
    {
        if (!in.impingement || in.given != Given::Shell)
            return std::nullopt;
        const Impingement &plate = *in.impingement;
        return PlateReach { Int128(in.diameter.units) - 2 * Int128(plate.height.units)
                - 2 * Int128(plate.thickness.units) - in.tube.units,
            Int128(plate.plate.units) + in.tube.units };
    }

    Decided decideRemove(const Inputs &in, bool straddle)
    {
        const std::int64_t p = in.pitch.units;
        Decided out;
        Plan plan = grid(in.pattern, p, straddle);
        const std::int64_t w = layoutCircleOf(in).units - in.tube.units;
        plan.empty = w < 0;
        if (!plan.empty) {
            plan.circle = Int128(w) * w;
            plan.lastRow =
                largestRootAtMost(Int128(plan.rowStep) * plan.rowStep * plan.ay, plan.circle);
        }

        const Spacings spacing = spacingsOf(in);
        std::array<std::pair<std::int64_t, Surd>, kMaxHorizontalLanes> horizontal {};
        int count = 0;
        // Each off-centre lane snaps by itself; from the top: the upper half's outermost first.
        const Shares shares = offCentreShares(in);
        std::array<std::int64_t, kMaxOffCentreLanes> offY {};
        for (int j = 0; j < shares.count; ++j)
            offY[j] = w >= 0 ? snapRow(in.pattern, snapIndex(in.pattern, shares[j], w, p)) : 0;
        for (int j = shares.count - 1; j >= 0; --j)
            horizontal[count++] = { offY[j], spacing.offCentre };
        if (hasCentreLane(in))
            horizontal[count++] = { 0, widenedForBends(in, spacing.horizontal) };
        for (int j = 0; j < shares.count; ++j)
            horizontal[count++] = { -offY[j], spacing.offCentre };
        plan.horizontalLanes = count;
        const double rowUnit =
            static_cast<double>(p) / kUnitsPerMm / 4 * std::sqrt(static_cast<double>(plan.fy));
        for (int i = 0; i < count; ++i) {
            plan.laneY[i] = horizontal[i].first;
            plan.laneReach[i] = largestRootBelow(plan.ay, horizontal[i].second.squared());
            out.lanes[out.laneCount++] = { true, static_cast<double>(plan.laneY[i]) * rowUnit,
                horizontal[i].second.mm(), horizontal[i].second.formula,
                horizontal[i].second.typable() };
        }
        plan.verticalLane = hasVerticalLane(in);
        if (plan.verticalLane) {
            plan.verticalReach = largestRootBelow(plan.ax, spacing.vertical.squared());
            out.lanes[out.laneCount++] = { false, 0.0, spacing.vertical.mm(),
                spacing.vertical.formula, spacing.vertical.typable() };
        }

        if (in.centreTube) {
            plan.centreTube = true;
            plan.centreLimit = centreReachSquared(in) - 1;
        }
        if (const auto reach = plateOf(in)) {
            plan.plate = true;
            plan.plateMirrored = in.bundle == Bundle::UTube;
            plan.plateLine = 2 * reach->line;
            plan.plateReach = largestRootBelow(plan.ax, reach->across * reach->across);
        }
        out.arrangement = Arrangement(plan, in.pattern, offCentreShares(in));
        return out;
    }

    /// The lanes of a shifted arrangement as drawn and reported: where the rows leave room.
    void addShiftedLanes(Decided &out, const ShiftPlan &plan, std::int64_t horizontal,
        std::int64_t vertical, std::int64_t centreSpacing)
    {
        const auto mm = [](long double units) { return static_cast<double>(units / kUnitsPerMm); };
        const auto lane = [&](bool isHorizontal, long double at, std::int64_t spacing) {
            out.lanes[out.laneCount++] = { isHorizontal, mm(at), mm(spacing), nullptr,
                { spacing } };
        };
        std::vector<long double> offAt;
        for (int j = 0; j < plan.outward; ++j) {
            const auto [a, b] = shiftLaneAt(plan, j);
            offAt.push_back(static_cast<long double>(a)
                + static_cast<long double>(b) * std::sqrt(static_cast<long double>(plan.sf)));
        }
        for (auto at = offAt.rbegin(); at != offAt.rend(); ++at)
            lane(true, *at, horizontal);
        if (plan.centreLane)
            lane(true, 0, centreSpacing);
        for (const long double at : offAt)
            lane(true, -at, horizontal);
        if (plan.vertical)
            lane(false, 0, vertical);
    }

    Decided decideShift(const Inputs &in, bool straddle)
    {
        const std::int64_t p = in.pitch.units;
        Decided out;
        ShiftPlan plan;
        plan.passes = in.passes;
        plan.tq = p / 2;
        plan.sq = p / 2;
        switch (in.pattern) {
        case Pattern::Triangular:
            plan.sf = 3;
            break;
        case Pattern::RotatedTriangular:
            plan.tf = 3;
            break;
        case Pattern::Square:
            plan.sq = p;
            plan.alternate = false;
            break;
        case Pattern::RotatedSquare:
            plan.sf = plan.tf = 2;
            break;
        }
        plan.shift = straddle ? 1 : 0;
        const std::int64_t w = layoutCircleOf(in).units - in.tube.units;
        plan.empty = w < 0;
        plan.circle = Int128(w) * w;

        const ShiftSpacings spacings = shiftSpacingsOf(in);
        const std::int64_t horizontal = spacings.horizontal, vertical = spacings.vertical;
        if (spacings.fromStandard)
            out.standardSpacing = Length { horizontal };
        const Surd centre = widenedForBends(in, { horizontal, 1 });
        // Typed spacings are whole multiples of 4 units, 2R of 8: their halves are whole.
        const std::int64_t centreSpacing = static_cast<std::int64_t>(centre.s);
        plan.centreLane = hasCentreLane(in);
        plan.base = plan.centreLane ? centreSpacing / 2 : 0;
        plan.vertical = hasVerticalLane(in);
        plan.cx = plan.vertical ? vertical / 2 : 0;
        const Shares shares = offCentreShares(in);
        plan.outward = static_cast<int>(shares.size());
        plan.offSpacing = horizontal;
        plan.ends = shiftEnds(plan, std::max<std::int64_t>(w, 0), shares);
        if (in.centreTube) {
            plan.centreTube = true;
            plan.centreLimit = centreReachSquared(in);
        }
        if (const auto reach = plateOf(in)) {
            plan.plate = true;
            plan.plateMirrored = in.bundle == Bundle::UTube;
            plan.plateLine = reach->line;
            const Int128 room = reach->across - 2 * Int128(plan.cx);
            plan.plateReach = room <= 0
                ? -1
                : largestRootBelow(4 * Int128(plan.tq) * plan.tq * plan.tf, room * room);
        }
        plan.rows = shiftRowCount(plan);

        addShiftedLanes(out, plan, horizontal, vertical, centreSpacing);
        out.arrangement = Arrangement(plan, in.pattern, offCentreShares(in));
        return out;
    }

} // namespace

Arrangement::Arrangement(Plan plan, Pattern pattern, Shares shares)
    : m_plan(plan)
    , m_pattern(pattern)
    , m_shares(shares)
{
}

Arrangement::Arrangement(ShiftPlan plan, Pattern pattern, Shares shares)
    : m_plan(plan)
    , m_pattern(pattern)
    , m_shares(shares)
{
}

Counts Arrangement::count() const
{
    return std::visit([](const auto &plan) { return layout::count(plan); }, m_plan);
}

void Arrangement::forEachRow(const std::function<void(const RowCount &)> &visit) const
{
    std::visit([&visit](const auto &plan) { layout::forEachRow(plan, visit); }, m_plan);
}

std::vector<RowSpan> Arrangement::spans(bool lower) const
{
    return std::visit([lower](const auto &plan) { return layout::spans(plan, lower); }, m_plan);
}

SiteAt Arrangement::siteAt(const Site &site) const
{
    return std::visit([&site](const auto &plan) { return layout::siteAt(plan, site); }, m_plan);
}

SiteStatus Arrangement::siteStatus(const Site &site) const
{
    return std::visit([&site](const auto &plan) { return layout::siteStatus(plan, site); }, m_plan);
}

void Arrangement::forEachTube(const std::function<void(const Site &, const Tube &)> &visit) const
{
    std::visit(Overloaded { [&visit](const Plan &plan) {
                               // In long double from the whole numbers, at the end.
                               const long double p =
                                   static_cast<long double>(plan.pitch) / kUnitsPerMm;
                               const long double xUnit =
                                   p / 2 * std::sqrt(static_cast<long double>(plan.fx));
                               const long double yUnit =
                                   p / 4 * std::sqrt(static_cast<long double>(plan.fy));
                               layout::forEachTube(plan, [&](const TubeAt &at) {
                                   // + 0.0 turns the axis's -0 into 0.
                                   const Site site { at.Y / plan.rowStep, at.n };
                                   visit(site,
                                       { static_cast<double>(at.n * xUnit) + 0.0,
                                           static_cast<double>(at.Y * yUnit) + 0.0, at.pass,
                                           at.removed, false, site });
                               });
                           },
                   [&visit](const ShiftPlan &plan) {
                       layout::forEachTube(plan, [&](const Site &site, int pass, Removed removed) {
                           const SiteAt at = layout::siteAt(plan, site);
                           visit(site, { at.x, at.y, pass, removed, false, site });
                       });
                   } },
        m_plan);
}

Snaps Arrangement::snapsAt(std::int64_t w) const
{
    Snaps snaps;
    snaps.count = static_cast<int>(m_shares.size());
    std::visit(Overloaded { [&](const Plan &plan) {
                               for (int j = 0; j < snaps.count; ++j)
                                   snaps.at[j] = snapIndex(m_pattern, m_shares[j], w, plan.pitch);
                           },
                   [&](const ShiftPlan &plan) { snaps.at = shiftEnds(plan, w, m_shares); } },
        m_plan);
    return snaps;
}

std::int64_t Arrangement::mostWithin(const Snaps &low, const Snaps &high) const
{
    return std::visit(
        Overloaded { [&](Plan plan) {
                        // Each lane where it overlaps every place it takes: only the rows
                        // inside all of them are out. Snapped rows differ by whole steps of 2.
                        const int last = plan.horizontalLanes - 1;
                        for (int j = 0; j < low.count; ++j) {
                            const std::int64_t from = snapRow(m_pattern, low.at[j]),
                                               to = snapRow(m_pattern, high.at[j]);
                            const int top = low.count - 1 - j;
                            const std::int64_t reach = plan.laneReach[top] - (to - from) / 2;
                            plan.laneY[top] = (from + to) / 2;
                            plan.laneY[last - top] = -plan.laneY[top];
                            plan.laneReach[top] = plan.laneReach[last - top] = reach;
                        }
                        return layout::count(plan).total;
                    },
            [&](ShiftPlan plan) {
                // Every row beyond a lane moves by So − s as the lane passes it, and a row
                // holds no fewer tubes nearer the axis: the rows at their innermost, no centre
                // tube.
                plan.ends =
                    surdSign(plan.offSpacing, -Int128(plan.sq), plan.sf) >= 0 ? high.at : low.at;
                plan.centreTube = false;
                plan.rows = shiftRowCount(plan);
                return layout::count(plan).total;
            } },
        m_plan);
}

std::vector<bool> straddlesOf(Centring centring)
{
    if (centring == Centring::Best)
        return { false, true };
    return { centring == Centring::Straddle };
}

Decided decide(const Inputs &inputs, bool straddle)
{
    // One pass has no lanes to shift: its pattern is the same under either model.
    return inputs.lanes == LaneModel::Shift && inputs.passes > 1 ? decideShift(inputs, straddle)
                                                                 : decideRemove(inputs, straddle);
}

} // namespace layout
