#include "layout/rows.h"

#include "layout/length.h"
#include "layout/surd.h"

#include <algorithm>
#include <cmath>

namespace layout {

namespace {

    /// The integers of [-reach, reach] with parity `odd`.
    std::int64_t across(std::int64_t reach, int odd)
    {
        return countWithParity(-reach, reach, odd);
    }

    /// Whether the impingement plate reaches the row at Y: 2y above the plate's line.
    bool plated(const Plan &plan, std::int64_t Y)
    {
        if (!plan.plate)
            return false;
        const std::int64_t y = plan.plateMirrored && Y < 0 ? -Y : Y;
        return surdSign(-plan.plateLine, Int128(y) * plan.pitch, plan.fy) > 0;
    }

    /// What one row holds, worked out once for counting and listing alike.
    struct Row
    {
        std::int64_t Y = 0;
        int odd = 0; ///< the parity of the row's n
        std::int64_t reach = -1; ///< the centres with |n| <= reach fit the circle
        int band = -1; ///< the band of passes, or -1 inside a horizontal lane
        std::int64_t centreReach = -1; ///< the centres with |n| <= centreReach lie in the clearance
        std::int64_t plateReach = -1; ///< the centres with |n| <= plateReach lie under the plate
    };

    Row rowAt(const Plan &plan, std::int64_t k)
    {
        Row row;
        row.Y = k * plan.rowStep;
        row.odd = plan.parity(k);
        const Int128 y2 = Int128(row.Y) * row.Y * plan.ay;
        row.reach = largestRootAtMost(plan.ax, plan.circle - y2);
        row.band = 0;
        for (int i = 0; i < plan.horizontalLanes; ++i) {
            const std::int64_t gap = row.Y - plan.laneY[i];
            if ((gap < 0 ? -gap : gap) <= plan.laneReach[i]) {
                row.band = -1;
                break;
            }
            if (plan.laneY[i] > row.Y)
                ++row.band;
        }
        if (plan.centreTube)
            row.centreReach = largestRootAtMost(plan.ax, plan.centreLimit - y2);
        if (plated(plan, row.Y))
            row.plateReach = plan.plateReach;
        return row;
    }

    /// Row -k from row k: the circle, the lanes and the centre tube are symmetric about the
    /// horizontal axis; the plate is not.
    Row mirrorOf(const Plan &plan, const Row &row)
    {
        Row below = row;
        below.Y = -row.Y;
        below.band = row.band < 0 ? -1 : plan.bands() - 1 - row.band;
        below.plateReach = plated(plan, below.Y) ? plan.plateReach : -1;
        return below;
    }

    /// The reach below which a row keeps nothing: the vertical lane or the centre clearance.
    std::int64_t innerReach(const Plan &plan, const Row &row)
    {
        return std::max(plan.verticalLane ? plan.verticalReach : -1, row.centreReach);
    }

    /// A row's tubes in the circle, and those a lane, the centre tube and the plate take.
    struct Tally
    {
        std::int64_t full = 0, lane = 0, centre = 0, plate = 0;
        std::int64_t kept() const { return full - lane - centre - plate; }
    };

    Tally tally(const Plan &plan, const Row &row)
    {
        Tally t;
        t.full = across(row.reach, row.odd);
        if (row.band < 0) {
            t.lane = t.full;
            return t;
        }
        t.lane = plan.verticalLane ? across(std::min(plan.verticalReach, row.reach), row.odd) : 0;
        const std::int64_t inner = std::min(innerReach(plan, row), row.reach);
        t.centre = across(inner, row.odd) - t.lane;
        t.plate = across(std::min(std::max(row.plateReach, inner), row.reach), row.odd)
            - across(inner, row.odd);
        return t;
    }

    /// Adds a row's tally; with `mirrored`, row -k's too, which it mirrors but for the plate.
    void add(Counts &counts, const Plan &plan, const Row &row, bool mirrored)
    {
        const Tally t = tally(plan, row);
        const std::int64_t copies = mirrored ? 2 : 1;
        counts.inCircle += copies * t.full;
        counts.laneRemoved += copies * t.lane;
        counts.centreRemoved += copies * t.centre;
        counts.impingementRemoved += copies * t.plate;
        if (row.band < 0)
            return;
        // Lanes, centre tube and plate are symmetric about the vertical axis.
        const int sides = plan.sides();
        for (int side = 0; side < sides; ++side) {
            counts.perPass[row.band * sides + side] += t.kept() / sides;
            if (mirrored)
                counts.perPass[(plan.bands() - 1 - row.band) * sides + side] += t.kept() / sides;
        }
    }

} // namespace

Counts count(const Plan &plan)
{
    Counts counts;
    counts.passes = plan.passes();
    if (plan.empty)
        return counts;
    for (std::int64_t k = 0; k <= plan.lastRow; ++k) {
        const Row row = rowAt(plan, k);
        if (k == 0) {
            add(counts, plan, row, false);
            continue;
        }
        const Row below = mirrorOf(plan, row);
        // Most rows lie clear of the plate in both halves: counted once for both.
        const bool alike = row.plateReach == below.plateReach;
        add(counts, plan, row, alike);
        if (!alike)
            add(counts, plan, below, false);
    }
    counts.total =
        counts.inCircle - counts.laneRemoved - counts.centreRemoved - counts.impingementRemoved;
    return counts;
}

void forEachTube(const Plan &plan, const std::function<void(const TubeAt &)> &visit)
{
    if (plan.empty)
        return;
    for (std::int64_t k = plan.lastRow; k >= -plan.lastRow; --k) {
        const Row row = rowAt(plan, k);
        const std::int64_t inner = innerReach(plan, row);
        // The first centre of the row's parity, then every second position.
        const std::int64_t first = -row.reach + ((-row.reach & 1) != row.odd ? 1 : 0);
        for (std::int64_t n = first; n <= row.reach; n += 2) {
            TubeAt tube { n, row.Y, 0, Removed::No };
            const std::int64_t away = n < 0 ? -n : n;
            if (row.band < 0 || (plan.verticalLane && away <= plan.verticalReach))
                tube.removed = Removed::Lane;
            else if (away <= inner)
                tube.removed = Removed::Centre;
            else if (away <= row.plateReach)
                tube.removed = Removed::Plate;
            else
                tube.pass = row.band * plan.sides() + (plan.verticalLane && n > 0 ? 1 : 0) + 1;
            visit(tube);
        }
    }
}

void forEachRow(const Plan &plan, const std::function<void(const RowCount &)> &visit)
{
    if (plan.empty)
        return;
    for (std::int64_t k = plan.lastRow; k >= -plan.lastRow; --k) {
        const Row row = rowAt(plan, k);
        visit({ 0, Int128(row.Y) * plan.pitch / 4, plan.fy, k, tally(plan, row).kept() });
    }
}

std::vector<RowSpan> spans(const Plan &plan, bool lower)
{
    std::vector<RowSpan> list;
    if (plan.empty)
        return list;
    for (std::int64_t k = 0; k <= plan.lastRow; ++k) {
        const Row row = rowAt(plan, lower ? -k : k);
        RowSpan span;
        span.row = k;
        if (row.band >= 0 && row.reach >= 0) {
            const std::int64_t inner = std::max(innerReach(plan, row), row.plateReach);
            span.axis = inner < 0 && row.odd == 0;
            span.first = std::max<std::int64_t>(inner + 1, 1);
            if ((span.first & 1) != row.odd)
                ++span.first;
            span.last = (row.reach & 1) != row.odd ? row.reach - 1 : row.reach;
        }
        list.push_back(span);
    }
    return list;
}

SiteAt siteAt(const Plan &plan, const Site &site)
{
    const long double p = static_cast<long double>(plan.pitch) / kUnitsPerMm;
    const Row row = rowAt(plan, site.row);
    SiteAt at;
    at.x = static_cast<double>(site.col * (p / 2 * std::sqrt(static_cast<long double>(plan.fx))));
    at.y = static_cast<double>(row.Y * (p / 4 * std::sqrt(static_cast<long double>(plan.fy))));
    at.pass = row.band * plan.sides() + (plan.verticalLane && site.col > 0 ? 1 : 0) + 1;
    return at;
}

SiteStatus siteStatus(const Plan &plan, const Site &site)
{
    SiteStatus status;
    const std::int64_t k = site.row, n = site.col;
    if (plan.empty || (n & 1) != plan.parity(k))
        return status;
    status.ofPattern = true;
    if ((k < 0 ? -k : k) > plan.lastRow)
        return status;
    const Row row = rowAt(plan, k);
    const std::int64_t away = n < 0 ? -n : n;
    if (away > row.reach)
        return status;
    status.fits = true;
    if (row.band < 0 || (plan.verticalLane && away <= plan.verticalReach))
        status.removed = Removed::Lane;
    else if (away <= innerReach(plan, row))
        status.removed = Removed::Centre;
    else if (away <= row.plateReach)
        status.removed = Removed::Plate;
    else
        status.pass = row.band * plan.sides() + (plan.verticalLane && n > 0 ? 1 : 0) + 1;
    return status;
}

} // namespace layout
