#pragma once

// The row enumeration of one arrangement: every decision made in whole numbers, the tubes of a
// row between two limits counted in closed form, so a count costs in proportion to the rows.

#include "layout/predicates.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace layout {

/// The most passes, and the most horizontal lanes, any layout has.
constexpr int kMaxPasses = 8;
constexpr int kMaxHorizontalLanes = 7;
/// The most off-centre lanes in one half: ribbon's 8 passes.
constexpr int kMaxOffCentreLanes = 3;

/// One arrangement of one pattern with its lanes and centre tube, decided.
///
/// Every pattern is laid out in horizontal rows. Row k lies at y = Y·(p/4)·√fy with
/// Y = k·rowStep, and its tubes at x = n·(p/2)·√fx for the n of one parity: that of k + shift
/// when the parity alternates from row to row, of shift alone when it does not. Lengths are in
/// the units of layout/length.h, so 4x² = n²·ax and 4y² = Y²·ay are whole.
struct Plan
{
    Int128 ax = 1, ay = 1;
    std::int64_t rowStep = 2;
    bool alternate = true;
    int shift = 0; ///< 1 when straddled
    int fx = 1, fy = 1; ///< √fx and √fy scale x and y
    std::int64_t pitch = 0; ///< p, for coordinates
    bool empty = true; ///< the layout circle holds no centre at all
    Int128 circle = 0; ///< a centre fits when n²·ax + Y²·ay <= circle: (DL − d)²
    std::int64_t lastRow = -1; ///< the rows run from -lastRow to lastRow

    int horizontalLanes = 0;
    /// The horizontal lanes from the top down, at Y = laneY; the rows with
    /// |Y − laneY| <= laneReach lie inside one.
    std::array<std::int64_t, kMaxHorizontalLanes> laneY {}, laneReach {};
    bool verticalLane = false;
    std::int64_t verticalReach = -1; ///< the tubes with |n| <= verticalReach lie inside it

    bool centreTube = false;
    /// With a centre tube, a centre is taken out when n²·ax + Y²·ay <= centreLimit.
    Int128 centreLimit = -1;

    /// An impingement plate takes a kept tube out when |n| <= plateReach in a row whose
    /// Y·p·√fy > plateLine (or |Y|, when the plate takes both legs of a U-tube).
    bool plate = false;
    bool plateMirrored = false;
    std::int64_t plateReach = -1;
    Int128 plateLine = 0;

    /// The parity of the n in row k.
    int parity(std::int64_t k) const { return static_cast<int>(((alternate ? k : 0) + shift) & 1); }
    int bands() const { return horizontalLanes + 1; }
    int sides() const { return verticalLane ? 2 : 1; }
    int passes() const { return bands() * sides(); }
};

/// What a count reports.
struct Counts
{
    std::int64_t inCircle = 0; ///< the tubes whose centres fit the layout circle
    std::int64_t laneRemoved = 0; ///< of those, inside a pass lane
    std::int64_t centreRemoved = 0; ///< of the rest, inside the centre tube's clearance
    std::int64_t impingementRemoved = 0; ///< of the rest, under the impingement plate
    std::int64_t editRemoved = 0; ///< of the rest, sites the designer left undrilled
    std::int64_t dummyTubes = 0; ///< of the rest, sites holding a dummy tube: not in total
    std::int64_t total = 0; ///< what is left
    int passes = 1;
    /// What is left in each pass: top band first, left before right.
    std::array<std::int64_t, kMaxPasses> perPass {};
};

/// Counts an arrangement row by row.
Counts count(const Plan &plan);

/// Why a tube that fits the circle is not kept.
/// Edit and Dummy are the designer's: a site left undrilled, and one holding a dummy tube.
enum class Removed : std::uint8_t { No, Lane, Centre, Plate, Edit, Dummy };

/// One tube centre that fits the circle, by its whole-number position.
struct TubeAt
{
    std::int64_t n = 0, Y = 0;
    int pass = 0; ///< from 1; 0 when removed
    Removed removed = Removed::No;
};

/// Visits every tube centre that fits the circle, row by row from the top, left to right.
void forEachTube(const Plan &plan, const std::function<void(const TubeAt &)> &visit);

/// A tube site by whole numbers, in either lane model: its row and its column, each mirrored
/// across its axis by negation.
struct Site
{
    std::int64_t row = 0, col = 0;

    friend bool operator==(const Site &a, const Site &b)
    {
        return a.row == b.row && a.col == b.col;
    }
    friend bool operator<(const Site &a, const Site &b)
    {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    }
};

/// The kept tubes of one row of a half, right of the vertical axis: the columns first,
/// first + 2, …, last (all above 0), and whether column 0 holds a kept tube. `row` counts from
/// the axis outward in either half.
struct RowSpan
{
    std::int64_t row = 0;
    bool axis = false;
    std::int64_t first = 1, last = -1;
};

/// What a layout has at a site: whether the pattern has it, whether its centre fits the
/// circle, and its pass (from 1) or why its tube was removed.
struct SiteStatus
{
    bool ofPattern = false, fits = false;
    int pass = 0;
    Removed removed = Removed::No;
};

/// A site's centre in mm and the pass it lies in.
struct SiteAt
{
    double x = 0, y = 0;
    int pass = 0;
};

/// One row of an arrangement and the tubes it keeps, for figures taken row by row: its y is
/// a + b·√f in the units of layout/length.h, its Site row is `row`.
struct RowCount
{
    Int128 a = 0, b = 0;
    int f = 1;
    std::int64_t row = 0;
    std::int64_t kept = 0;
};

/// Visits every row of a remove-model arrangement that a centre fits, top to bottom.
void forEachRow(const Plan &plan, const std::function<void(const RowCount &)> &visit);

/// The rows of a remove-model arrangement's upper half, or its lower one, as RowSpans from the
/// axis outward; a site is (k, n), row k at Y = k·rowStep (the lower half's row k is -k).
std::vector<RowSpan> spans(const Plan &plan, bool lower = false);
SiteAt siteAt(const Plan &plan, const Site &site);
SiteStatus siteStatus(const Plan &plan, const Site &site);

} // namespace layout
