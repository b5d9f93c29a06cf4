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

    bool hasOffCentreLanes(int passes)
    {
        return passes == 6 || passes == 8;
    }

    bool hasCentreLane(int passes)
    {
        return passes == 2 || passes == 4 || passes == 8;
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
        const bool offCentre = hasOffCentreLanes(in.passes);
        const std::int64_t offY =
            offCentre && w >= 0 ? snapRow(in.pattern, snapIndex(in.pattern, in.passes, w, p)) : 0;
        if (offCentre)
            horizontal[count++] = { offY, spacing.offCentre };
        if (hasCentreLane(in.passes))
            horizontal[count++] = { 0, widenedForBends(in, spacing.horizontal) };
        if (offCentre)
            horizontal[count++] = { -offY, spacing.offCentre };
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
        plan.verticalLane = in.passes >= 4;
        if (plan.verticalLane) {
            plan.verticalReach = largestRootBelow(plan.ax, spacing.vertical.squared());
            out.lanes[out.laneCount++] = { false, 0.0, spacing.vertical.mm(),
                spacing.vertical.formula, spacing.vertical.typable() };
        }

        if (in.centreTube) {
            plan.centreTube = true;
            plan.centreLimit = centreReachSquared(in) - 1;
        }
        out.arrangement = Arrangement(plan, in.pattern, in.passes);
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
        const long double offAt = plan.inner > 0
            ? static_cast<long double>(plan.base) + static_cast<long double>(horizontal) / 2
                + static_cast<long double>(plan.inner - 1) * static_cast<long double>(plan.sq)
                    * std::sqrt(static_cast<long double>(plan.sf))
            : 0;
        if (plan.inner > 0)
            lane(true, offAt, horizontal);
        if (plan.centreLane)
            lane(true, 0, centreSpacing);
        if (plan.inner > 0)
            lane(true, -offAt, horizontal);
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
        plan.centreLane = hasCentreLane(in.passes);
        plan.base = plan.centreLane ? centreSpacing / 2 : 0;
        plan.vertical = in.passes >= 4;
        plan.cx = plan.vertical ? vertical / 2 : 0;
        const bool offCentre = hasOffCentreLanes(in.passes);
        if (offCentre) {
            plan.offSpacing = horizontal;
            plan.inner = plan.empty ? 1 : shiftInner(plan, w, offCentreShare(in.passes));
        }
        if (in.centreTube) {
            plan.centreTube = true;
            plan.centreLimit = centreReachSquared(in);
        }
        plan.rows = shiftRowCount(plan);

        addShiftedLanes(out, plan, horizontal, vertical, centreSpacing);
        out.arrangement = Arrangement(plan, in.pattern, in.passes);
        return out;
    }

} // namespace

Arrangement::Arrangement(Plan plan, Pattern pattern, int passes)
    : m_plan(plan)
    , m_pattern(pattern)
    , m_passes(passes)
{
}

Arrangement::Arrangement(ShiftPlan plan, Pattern pattern, int passes)
    : m_plan(plan)
    , m_pattern(pattern)
    , m_passes(passes)
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

std::vector<RowSpan> Arrangement::spans() const
{
    return std::visit([](const auto &plan) { return layout::spans(plan); }, m_plan);
}

SiteAt Arrangement::siteAt(const Site &site) const
{
    return std::visit([&site](const auto &plan) { return layout::siteAt(plan, site); }, m_plan);
}

void Arrangement::forEachTube(const std::function<void(const Site &, const Tube &)> &visit) const
{
    std::visit(
        Overloaded { [&visit](const Plan &plan) {
                        // In long double from the whole numbers, at the end.
                        const long double p = static_cast<long double>(plan.pitch) / kUnitsPerMm;
                        const long double xUnit =
                            p / 2 * std::sqrt(static_cast<long double>(plan.fx));
                        const long double yUnit =
                            p / 4 * std::sqrt(static_cast<long double>(plan.fy));
                        layout::forEachTube(plan, [&](const TubeAt &at) {
                            // + 0.0 turns the axis's -0 into 0.
                            visit({ at.Y / plan.rowStep, at.n },
                                { static_cast<double>(at.n * xUnit) + 0.0,
                                    static_cast<double>(at.Y * yUnit) + 0.0, at.pass, at.removed });
                        });
                    },
            [&visit](const ShiftPlan &plan) {
                layout::forEachTube(plan, [&](const Site &site, int pass) {
                    const SiteAt at = layout::siteAt(plan, site);
                    visit(site, { at.x, at.y, pass, pass > 0 ? Removed::No : Removed::Centre });
                });
            } },
        m_plan);
}

std::int64_t Arrangement::snapIndexAt(std::int64_t w) const
{
    return std::visit(
        Overloaded {
            [&](const Plan &plan) { return snapIndex(m_pattern, m_passes, w, plan.pitch); },
            [&](const ShiftPlan &plan) { return shiftInner(plan, w, offCentreShare(m_passes)); } },
        m_plan);
}

std::int64_t Arrangement::mostWithin(std::int64_t m1, std::int64_t m2) const
{
    return std::visit(
        Overloaded { [&](Plan plan) {
                        const std::int64_t low = snapRow(m_pattern, m1),
                                           high = snapRow(m_pattern, m2);
                        const std::int64_t reach = plan.laneReach[0] - (high - low) / 2;
                        const int last = plan.horizontalLanes - 1;
                        plan.laneY[0] = (low + high) / 2;
                        plan.laneY[last] = -plan.laneY[0];
                        plan.laneReach[0] = plan.laneReach[last] = reach;
                        return layout::count(plan).total;
                    },
            [&](ShiftPlan plan) {
                // Every row beyond the lane moves by So − s as m passes it, and a row holds no
                // fewer tubes nearer the axis: the rows at their innermost, no centre tube.
                plan.inner = surdSign(plan.offSpacing, -Int128(plan.sq), plan.sf) >= 0 ? m2 : m1;
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
