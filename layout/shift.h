#pragma once

// The designers' lanes: the pattern is cut along each pass lane and its parts pulled apart
// until the rows on either side are Sn apart, centre to centre. Rows sit at a typed decimal
// plus a whole number of row steps (p·√3/2, p/2, p or p/√2), so every fit is a sign of
// a + b·√f, decided in whole numbers (layout/surd.h), and a count stays one pass over the rows.

#include "layout/inputs.h"
#include "layout/rows.h"

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace layout {

/// One arrangement under the designers' lanes, decided. Lengths are in the units of
/// layout/length.h. The upper half's rows are k = 0, 1, 2, … outward; the lower half mirrors
/// it. Row k lies at y = yA + yB·√sf (see rowAt); its tubes at x = cx + h·tq·√tf for the h of
/// the row's parity: h >= 0 on each side of a vertical lane, any h without one.
struct ShiftPlan
{
    std::int64_t sq = 0; ///< the row step is sq·√sf
    int sf = 1;
    std::int64_t tq = 0; ///< half the step along a row is tq·√tf
    int tf = 1;
    bool alternate = true; ///< every other row moved half a step along itself
    int shift = 0; ///< 1 when straddled (no vertical lane only)
    bool empty = true;
    Int128 circle = 0; ///< a centre fits when 4(x² + y²) <= circle: (DL − d)²
    bool vertical = false;
    std::int64_t cx = 0; ///< half the vertical lane's spacing
    bool centreLane = false; ///< a horizontal lane through the centre: no row on the axis
    std::int64_t base = 0; ///< half its spacing
    /// The off-centre lanes of a half, from the centre out: lane j follows row ends[j] − 1,
    /// so group j holds the rows ends[j - 1] … ends[j] − 1. None without off-centre lanes.
    std::array<std::int64_t, kMaxOffCentreLanes> ends {};
    int outward = 0; ///< the off-centre lanes of a half
    std::int64_t offSpacing = 0; ///< So
    bool centreTube = false;
    Int128 centreLimit = 0; ///< a centre is taken out when 4(x² + y²) < centreLimit
    /// An impingement plate takes a kept tube out when h <= plateReach (|h| without a vertical
    /// lane) in a row with 2y > plateLine (or 2|y|, when it takes both legs of a U-tube).
    bool plate = false;
    bool plateMirrored = false;
    std::int64_t plateReach = -1;
    Int128 plateLine = 0;
    std::int64_t rows = 0; ///< the rows of the upper half, row 0 included, that a centre may fit
    int passes = 1;

    int bands() const { return (centreLane ? 2 : 1) + 2 * outward; }
    int sides() const { return vertical ? 2 : 1; }
    /// The off-centre lanes between row k and the axis.
    int lanesBelow(std::int64_t k) const
    {
        int g = 0;
        while (g < outward && ends[static_cast<std::size_t>(g)] <= k)
            ++g;
        return g;
    }
    /// y of row k as yA + yB·√sf.
    std::int64_t yA(std::int64_t k) const { return base + lanesBelow(k) * offSpacing; }
    std::int64_t yB(std::int64_t k) const { return (k - lanesBelow(k)) * sq; }
    int parity(std::int64_t k) const { return static_cast<int>(((alternate ? k : 0) + shift) & 1); }
};

/// The tubes of one row between the lanes: the largest h whose centre fits, and the largest
/// inside the centre tube's clearance (-1 for none).
struct ShiftRow
{
    std::int64_t reach = -1, centreReach = -1;
};

/// Whether 4(x² + y²) is at most `limit` (below it, when `strict`) for row k's tube h.
bool shiftFits(const ShiftPlan &plan, std::int64_t k, std::int64_t h, Int128 limit, bool strict);

/// Row k's reaches.
ShiftRow shiftRow(const ShiftPlan &plan, std::int64_t k);

/// The off-centre lanes' ends for W = DL − d, from the centre out: each group's m >= 1 in
/// turn, the whole number that puts its lane's centre line nearest to its share/1000 of W/2;
/// on a tie the larger.
std::array<std::int64_t, kMaxOffCentreLanes> shiftEnds(
    const ShiftPlan &plan, std::int64_t w, const Shares &shares);

/// The centre line of off-centre lane j, as a + b·√sf.
std::pair<std::int64_t, std::int64_t> shiftLaneAt(const ShiftPlan &plan, int j);

/// The rows of the upper half, row 0 included, whose y is within the circle.
std::int64_t shiftRowCount(const ShiftPlan &plan);

/// Counts an arrangement row by row.
Counts count(const ShiftPlan &plan);

/// Visits every tube centre that fits the circle, row by row from the top, left to right, as
/// a site (row: k + 1 above and -(k + 1) below a centre lane, ±k without one; column: h, or
/// ±(h + 1) across a vertical lane) and its pass (from 1; 0 when removed).
void forEachTube(
    const ShiftPlan &plan, const std::function<void(const Site &, int pass, Removed)> &visit);

/// Visits every row that a centre fits, top to bottom, with the tubes it keeps.
void forEachRow(const ShiftPlan &plan, const std::function<void(const RowCount &)> &visit);

/// The kept tubes right of the vertical axis in the upper half or the lower one, row by row
/// from the axis outward, by their site's row (negated in the lower half).
std::vector<RowSpan> spans(const ShiftPlan &plan, bool lower = false);

/// A site's centre in mm and its pass.
SiteAt siteAt(const ShiftPlan &plan, const Site &site);
SiteStatus siteStatus(const ShiftPlan &plan, const Site &site);

} // namespace layout
