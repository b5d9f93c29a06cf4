#include "layout/shift.h"

#include "layout/length.h"
#include "layout/surd.h"

#include <algorithm>
#include <cmath>

namespace layout {

namespace {

    long double root(int f)
    {
        return std::sqrt(static_cast<long double>(f));
    }

    /// The passes of row k (upper half when `upper`), left and right, from 1.
    std::pair<int, int> passesOf(const ShiftPlan &plan, std::int64_t k, bool upper)
    {
        // Bands from the top: the outermost group of the upper half down to its innermost, the
        // lower half's from its innermost out; without a centre lane the two innermost groups
        // are one band, which holds the axis row.
        const int out = plan.outward, g = plan.lanesBelow(k);
        const int band = upper ? out - g : out + g + (plan.centreLane ? 1 : 0);
        const int left = band * plan.sides() + 1;
        return { left, plan.vertical ? left + 1 : left };
    }

    /// Whether the upper half's row k and its mirror are one row: the axis row without a
    /// centre lane.
    bool onAxis(const ShiftPlan &plan, std::int64_t k)
    {
        return k == 0 && !plan.centreLane;
    }

} // namespace

bool shiftFits(const ShiftPlan &plan, std::int64_t k, std::int64_t h, Int128 limit, bool strict)
{
    const Int128 xA = plan.cx, xB = Int128(h) * plan.tq, yA = plan.yA(k), yB = plan.yB(k);
    // 4(x² + y²) = R + S·√f: the cross terms are whole when their surd is √1.
    Int128 r = 4 * (xA * xA + xB * xB * plan.tf + yA * yA + yB * yB * plan.sf), s = 0;
    (plan.tf == 1 ? r : s) += 8 * xA * xB;
    (plan.sf == 1 ? r : s) += 8 * yA * yB;
    const int sign = surdSign(limit - r, -s, std::max(plan.tf, plan.sf));
    return strict ? sign > 0 : sign >= 0;
}

namespace {

    /// The largest h >= 0 of row k that passes shiftFits, or -1.
    std::int64_t largestFitting(const ShiftPlan &plan, std::int64_t k, Int128 limit, bool strict)
    {
        // A long double estimate, then exact steps: it is off by a step or two at most.
        const long double y = static_cast<long double>(plan.yA(k))
            + static_cast<long double>(plan.yB(k)) * root(plan.sf);
        const long double room = static_cast<long double>(limit) / 4 - y * y;
        std::int64_t h = -1;
        if (room > 0) {
            const long double step = static_cast<long double>(plan.tq) * root(plan.tf);
            const long double estimate =
                (std::sqrt(room) - static_cast<long double>(plan.cx)) / step;
            h = estimate < 0 ? -1 : static_cast<std::int64_t>(estimate);
        }
        while (h >= 0 && !shiftFits(plan, k, h, limit, strict))
            --h;
        while (shiftFits(plan, k, h + 1, limit, strict))
            ++h;
        return h;
    }

} // namespace

ShiftRow shiftRow(const ShiftPlan &plan, std::int64_t k)
{
    ShiftRow row;
    row.reach = largestFitting(plan, k, plan.circle, false);
    if (plan.centreTube && row.reach >= 0)
        row.centreReach = std::min(row.reach, largestFitting(plan, k, plan.centreLimit, true));
    return row;
}

std::array<std::int64_t, kMaxOffCentreLanes> shiftEnds(
    const ShiftPlan &plan, std::int64_t w, const Shares &shares)
{
    std::array<std::int64_t, kMaxOffCentreLanes> ends {};
    const Int128 step = 1000 * Int128(plan.sq);
    std::int64_t before = 0; // the rows inside lane j
    for (std::size_t j = 0; j < shares.size() && j < ends.size(); ++j) {
        // Lane j's centre line lies at base + (2j + 1)·So/2 + v·s, v = rows inside it − j − 1;
        // the largest v with (2v − 1)·s <= 2·(share/1000)·(W/2) − 2·base − (2j + 1)·So is the
        // nearest, and the group holds at least one row.
        const Int128 q = Int128(shares[j]) * w
            - 1000 * (2 * Int128(plan.base) + (2 * Int128(j) + 1) * plan.offSpacing);
        const std::int64_t v =
            q < 0 ? 0 : (largestRootAtMost(step * step * plan.sf, q * q) + 1) / 2;
        before = std::max<std::int64_t>(before + 1, v + static_cast<std::int64_t>(j) + 1);
        ends[j] = before;
    }
    return ends;
}

std::pair<std::int64_t, std::int64_t> shiftLaneAt(const ShiftPlan &plan, int j)
{
    // So/2 beyond the group's last row: So is a whole multiple of 4 units.
    const std::int64_t last = plan.ends[static_cast<std::size_t>(j)] - 1;
    return { plan.yA(last) + plan.offSpacing / 2, plan.yB(last) };
}

std::int64_t shiftRowCount(const ShiftPlan &plan)
{
    if (plan.empty)
        return 0;
    // 4y² = R + S·√sf, with y = yA + yB·√sf; the rows run outward, so the first that leaves
    // the circle ends them.
    const auto inside = [&plan](std::int64_t k) {
        const Int128 yA = plan.yA(k), yB = plan.yB(k);
        Int128 r = 4 * (yA * yA + yB * yB * plan.sf), s = 8 * yA * yB;
        if (plan.sf == 1)
            r += s, s = 0;
        return surdSign(plan.circle - r, -s, plan.sf) >= 0;
    };
    // y grows with k (an off-centre lane only adds So > 0): gallop, then halve.
    if (!inside(0))
        return 0;
    std::int64_t in = 0, out = 1;
    while (inside(out))
        in = out, out *= 2;
    while (out - in > 1) {
        const std::int64_t mid = in + (out - in) / 2;
        (inside(mid) ? in : out) = mid;
    }
    const std::int64_t k = out;
    return k;
}

namespace {

    /// Whether the plate reaches row k of a half: 2y above its line.
    bool plated(const ShiftPlan &plan, std::int64_t k, bool upper)
    {
        if (!plan.plate)
            return false;
        const Int128 sign = upper || plan.plateMirrored ? 1 : -1;
        return surdSign(2 * sign * plan.yA(k) - plan.plateLine, 2 * sign * plan.yB(k), plan.sf) > 0;
    }

    /// The tubes of a row with |h| <= reach (h >= 0 on each side of a vertical lane).
    std::int64_t within(const ShiftPlan &plan, std::int64_t reach, int odd)
    {
        return plan.vertical ? 2 * countWithParity(0, reach, odd)
                             : countWithParity(-reach, reach, odd);
    }

    /// One half's row: its tubes in the circle, in the centre clearance and under the plate,
    /// its passes and the reach below which it keeps nothing.
    struct HalfRow
    {
        std::int64_t full = 0, centre = 0, plate = 0;
        std::int64_t reach = -1, inner = -1;
        int odd = 0;
        std::pair<int, int> passes;
    };

    HalfRow halfRow(const ShiftPlan &plan, const ShiftRow &row, std::int64_t k, bool upper)
    {
        HalfRow half;
        half.odd = plan.parity(k);
        half.reach = row.reach;
        half.passes = passesOf(plan, k, upper);
        half.full = within(plan, row.reach, half.odd);
        half.centre = within(plan, row.centreReach, half.odd);
        half.inner = row.centreReach;
        if (plated(plan, k, upper)) {
            half.inner = std::min(std::max(plan.plateReach, row.centreReach), row.reach);
            half.plate = within(plan, half.inner, half.odd) - half.centre;
        }
        return half;
    }

    /// The halves a row k stands for: the upper one, and the lower unless it is the axis row.
    int halvesOf(const ShiftPlan &plan, std::int64_t k)
    {
        return onAxis(plan, k) ? 1 : 2;
    }

} // namespace

Counts count(const ShiftPlan &plan)
{
    Counts counts;
    counts.passes = plan.passes;
    if (plan.empty)
        return counts;
    for (std::int64_t k = 0; k < plan.rows; ++k) {
        const ShiftRow row = shiftRow(plan, k);
        if (row.reach < 0)
            continue;
        // The lower half mirrors the upper but under a plate over straight tubes.
        const HalfRow upper = halfRow(plan, row, k, true);
        for (int i = 0; i < halvesOf(plan, k); ++i) {
            HalfRow half = upper;
            if (i == 1) {
                if (plan.plate && !plan.plateMirrored)
                    half = halfRow(plan, row, k, false);
                else
                    half.passes = passesOf(plan, k, false);
            }
            counts.inCircle += half.full;
            counts.centreRemoved += half.centre;
            counts.impingementRemoved += half.plate;
            const std::int64_t perSide = (half.full - half.centre - half.plate) / plan.sides();
            counts.perPass[half.passes.first - 1] += perSide;
            if (plan.vertical)
                counts.perPass[half.passes.second - 1] += perSide;
        }
    }
    counts.total = counts.inCircle - counts.centreRemoved - counts.impingementRemoved;
    return counts;
}

void forEachTube(
    const ShiftPlan &plan, const std::function<void(const Site &, int pass, Removed)> &visit)
{
    if (plan.empty)
        return;
    const std::int64_t first = plan.centreLane ? 0 : 1;
    // The upper half from its outermost row in, then the lower half outward.
    std::vector<std::pair<std::int64_t, bool>> order;
    for (std::int64_t k = plan.rows - 1; k >= 0; --k)
        order.emplace_back(k, true);
    for (std::int64_t k = first; k < plan.rows; ++k)
        order.emplace_back(k, false);
    for (const auto &[k, upper] : order) {
        const ShiftRow row = shiftRow(plan, k);
        if (row.reach < 0)
            continue;
        const HalfRow half = halfRow(plan, row, k, upper);
        const std::int64_t key = plan.centreLane ? k + 1 : k;
        const std::int64_t rowKey = upper ? key : -key;
        const auto [left, right] = half.passes;
        const auto tube = [&](std::int64_t col, std::int64_t away, int pass) {
            if (away <= row.centreReach)
                visit({ rowKey, col }, 0, Removed::Centre);
            else if (away <= half.inner)
                visit({ rowKey, col }, 0, Removed::Plate);
            else
                visit({ rowKey, col }, pass, Removed::No);
        };
        const int odd = half.odd;
        const auto start = [odd](
                               std::int64_t from) { return from + (((from & 1) != odd) ? 1 : 0); };
        if (plan.vertical) {
            const std::int64_t last = (row.reach & 1) != odd ? row.reach - 1 : row.reach;
            for (std::int64_t h = last; h >= 0; h -= 2)
                tube(-(h + 1), h, left);
            for (std::int64_t h = start(0); h <= row.reach; h += 2)
                tube(h + 1, h, right);
        } else {
            for (std::int64_t h = start(-row.reach); h <= row.reach; h += 2)
                tube(h, std::abs(h), left);
        }
    }
}

void forEachRow(const ShiftPlan &plan, const std::function<void(const RowCount &)> &visit)
{
    if (plan.empty)
        return;
    const auto keptIn = [&plan](std::int64_t k, bool upper) {
        const HalfRow half = halfRow(plan, shiftRow(plan, k), k, upper);
        return half.full - half.centre - half.plate;
    };
    const std::int64_t first = plan.centreLane ? 0 : 1;
    for (std::int64_t k = plan.rows - 1; k >= 0; --k)
        visit({ plan.yA(k), plan.yB(k), plan.sf, plan.centreLane ? k + 1 : k, keptIn(k, true) });
    for (std::int64_t k = first; k < plan.rows; ++k)
        visit({ -Int128(plan.yA(k)), -Int128(plan.yB(k)), plan.sf, -(plan.centreLane ? k + 1 : k),
            keptIn(k, false) });
}

std::vector<RowSpan> spans(const ShiftPlan &plan, bool lower)
{
    std::vector<RowSpan> list;
    if (plan.empty)
        return list;
    for (std::int64_t k = 0; k < plan.rows; ++k) {
        const ShiftRow row = shiftRow(plan, k);
        const HalfRow half = halfRow(plan, row, k, !lower || onAxis(plan, k));
        const int odd = half.odd;
        RowSpan span;
        span.row = plan.centreLane ? k + 1 : k;
        if (row.reach >= 0) {
            if (plan.vertical) {
                // Column h + 1 holds tube h.
                std::int64_t h = half.inner + 1;
                if ((h & 1) != odd)
                    ++h;
                std::int64_t last = (row.reach & 1) != odd ? row.reach - 1 : row.reach;
                span.first = h + 1;
                span.last = last + 1;
            } else {
                span.axis = half.inner < 0 && odd == 0;
                span.first = std::max<std::int64_t>(half.inner + 1, 1);
                if ((span.first & 1) != odd)
                    ++span.first;
                span.last = (row.reach & 1) != odd ? row.reach - 1 : row.reach;
            }
        }
        list.push_back(span);
    }
    return list;
}

SiteAt siteAt(const ShiftPlan &plan, const Site &site)
{
    const std::int64_t key = site.row < 0 ? -site.row : site.row;
    const std::int64_t k = plan.centreLane ? key - 1 : key;
    const bool upper = site.row > 0 || (site.row == 0 && !plan.centreLane);
    const std::int64_t h = plan.vertical ? std::abs(site.col) - 1 : site.col;
    const long double unit = kUnitsPerMm;
    const long double y = (static_cast<long double>(plan.yA(k))
                              + static_cast<long double>(plan.yB(k)) * root(plan.sf))
        / unit;
    long double x =
        static_cast<long double>(h) * static_cast<long double>(plan.tq) * root(plan.tf) / unit;
    if (plan.vertical)
        x = (static_cast<long double>(plan.cx) / unit + x) * (site.col < 0 ? -1 : 1);
    SiteAt at;
    at.x = static_cast<double>(x) + 0.0;
    at.y = static_cast<double>(upper ? y : -y) + 0.0;
    const auto [left, right] = passesOf(plan, k, upper);
    at.pass = site.col > 0 ? right : left;
    return at;
}

SiteStatus siteStatus(const ShiftPlan &plan, const Site &site)
{
    SiteStatus status;
    // Rows are ±(k + 1) about a centre lane, ±k without one; columns ±(h + 1) across a
    // vertical lane, h without one.
    const std::int64_t key = site.row < 0 ? -site.row : site.row;
    if (plan.empty || (plan.centreLane && key == 0) || (plan.vertical && site.col == 0))
        return status;
    const std::int64_t k = plan.centreLane ? key - 1 : key;
    const bool upper = site.row > 0 || (site.row == 0 && !plan.centreLane);
    const std::int64_t h = plan.vertical ? std::abs(site.col) - 1 : site.col;
    if ((h & 1) != plan.parity(k))
        return status;
    status.ofPattern = true;
    if (k >= plan.rows)
        return status;
    const ShiftRow row = shiftRow(plan, k);
    const std::int64_t away = std::abs(h);
    if (away > row.reach)
        return status;
    status.fits = true;
    const HalfRow half = halfRow(plan, row, k, upper);
    if (away <= row.centreReach)
        status.removed = Removed::Centre;
    else if (away <= half.inner)
        status.removed = Removed::Plate;
    else
        status.pass = site.col > 0 && plan.vertical ? half.passes.second : half.passes.first;
    return status;
}

} // namespace layout
