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
        // Bands from the top: the outer band above an off-centre lane, the inner one, and
        // their mirrors below; without a centre lane the middle band holds the axis row.
        const int bands = plan.bands();
        int band = 0;
        if (plan.inner > 0) {
            const bool outer = k >= plan.inner;
            if (plan.centreLane)
                band = upper ? (outer ? 0 : 1) : (outer ? 3 : 2);
            else
                band = outer ? (upper ? 0 : 2) : 1;
        } else {
            band = upper || bands == 1 ? 0 : 1;
        }
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

std::int64_t shiftInner(const ShiftPlan &plan, std::int64_t w, std::int64_t share)
{
    // m − 1 = u, the largest with (2u − 1)·s <= 2·(share/1000)·(W/2) − 2·base − So.
    const Int128 q = Int128(share) * w - 1000 * (2 * Int128(plan.base) + plan.offSpacing);
    if (q < 0)
        return 1;
    const Int128 step = 1000 * Int128(plan.sq);
    const std::int64_t z = largestRootAtMost(step * step * plan.sf, q * q);
    return (z + 1) / 2 + 1;
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
        const int odd = plan.parity(k);
        std::int64_t full = 0, centre = 0;
        if (plan.vertical) {
            full = 2 * countWithParity(0, row.reach, odd);
            centre = 2 * countWithParity(0, row.centreReach, odd);
        } else {
            full = countWithParity(-row.reach, row.reach, odd);
            centre = countWithParity(-row.centreReach, row.centreReach, odd);
        }
        const std::int64_t copies = onAxis(plan, k) ? 1 : 2;
        counts.inCircle += copies * full;
        counts.centreRemoved += copies * centre;
        const std::int64_t perSide = (full - centre) / plan.sides();
        for (bool upper : { true, false }) {
            if (!upper && onAxis(plan, k))
                break;
            const auto [left, right] = passesOf(plan, k, upper);
            counts.perPass[left - 1] += perSide;
            if (plan.vertical)
                counts.perPass[right - 1] += perSide;
        }
    }
    counts.total = counts.inCircle - counts.centreRemoved;
    return counts;
}

void forEachTube(const ShiftPlan &plan, const std::function<void(const Site &, int pass)> &visit)
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
        const int odd = plan.parity(k);
        const std::int64_t key = plan.centreLane ? k + 1 : k;
        const std::int64_t rowKey = upper ? key : -key;
        const auto [left, right] = passesOf(plan, k, upper);
        const auto start = [odd](
                               std::int64_t from) { return from + (((from & 1) != odd) ? 1 : 0); };
        if (plan.vertical) {
            const std::int64_t last = (row.reach & 1) != odd ? row.reach - 1 : row.reach;
            for (std::int64_t h = last; h >= 0; h -= 2)
                visit({ rowKey, -(h + 1) }, h <= row.centreReach ? 0 : left);
            for (std::int64_t h = start(0); h <= row.reach; h += 2)
                visit({ rowKey, h + 1 }, h <= row.centreReach ? 0 : right);
        } else {
            for (std::int64_t h = start(-row.reach); h <= row.reach; h += 2)
                visit({ rowKey, h }, std::abs(h) <= row.centreReach ? 0 : left);
        }
    }
}

void forEachRow(const ShiftPlan &plan, const std::function<void(const RowCount &)> &visit)
{
    if (plan.empty)
        return;
    const auto keptIn = [&plan](std::int64_t k) {
        const ShiftRow row = shiftRow(plan, k);
        const int odd = plan.parity(k);
        return plan.vertical
            ? 2 * (countWithParity(0, row.reach, odd) - countWithParity(0, row.centreReach, odd))
            : countWithParity(-row.reach, row.reach, odd)
                - countWithParity(-row.centreReach, row.centreReach, odd);
    };
    const std::int64_t first = plan.centreLane ? 0 : 1;
    for (std::int64_t k = plan.rows - 1; k >= 0; --k)
        visit({ plan.yA(k), plan.yB(k), plan.sf, plan.centreLane ? k + 1 : k, keptIn(k) });
    for (std::int64_t k = first; k < plan.rows; ++k)
        visit({ -Int128(plan.yA(k)), -Int128(plan.yB(k)), plan.sf, -(plan.centreLane ? k + 1 : k),
            keptIn(k) });
}

std::vector<RowSpan> spans(const ShiftPlan &plan)
{
    std::vector<RowSpan> list;
    if (plan.empty)
        return list;
    for (std::int64_t k = 0; k < plan.rows; ++k) {
        const ShiftRow row = shiftRow(plan, k);
        const int odd = plan.parity(k);
        RowSpan span;
        span.row = plan.centreLane ? k + 1 : k;
        if (row.reach >= 0) {
            if (plan.vertical) {
                // Column h + 1 holds tube h.
                std::int64_t h = row.centreReach + 1;
                if ((h & 1) != odd)
                    ++h;
                std::int64_t last = (row.reach & 1) != odd ? row.reach - 1 : row.reach;
                span.first = h + 1;
                span.last = last + 1;
            } else {
                span.axis = row.centreReach < 0 && odd == 0;
                span.first = std::max<std::int64_t>(row.centreReach + 1, 1);
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

} // namespace layout
