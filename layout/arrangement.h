#pragma once

// One arrangement of the tubes, decided under either lane model: the pattern's own rows with
// lanes taken out of them (layout/rows.h), or the designers' rows pulled apart along the lanes
// (layout/shift.h), behind one value, so that counting, listing, tie rods, baffles and the
// searches never ask which model is live.

#include "layout/inputs.h"
#include "layout/rows.h"
#include "layout/shift.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace layout {

/// A tube centre in mm from the shell centre, with the pass it belongs to (from 1), or why it
/// was removed.
struct Tube
{
    double x = 0, y = 0;
    int pass = 0;
    Removed removed = Removed::No;
    bool tieRod = false; ///< a tie rod in place of the tube, in pass `pass`
};

/// A pass lane as drawn and reported.
struct Lane
{
    bool horizontal = true;
    double position = 0; ///< y of a horizontal lane, x of the vertical one, mm
    double spacing = 0; ///< Sn, mm
    /// The rules' default as a formula of p ("√3·p", "2p", "√2·p", "3p/√2"), or null when the
    /// spacing was typed.
    const char *formula = nullptr;
    /// Sn to 1e-6 mm, rounded down: typed back as the spacing it lays the same tubes, since a
    /// default spacing is twice the distance of a row that stays, and a row exactly Sn/2 away
    /// stays (for any pitch above 0.00001 mm).
    Length typable;
};

class Arrangement
{
public:
    Arrangement() = default;
    Arrangement(Plan plan, Pattern pattern, int passes);
    Arrangement(ShiftPlan plan, Pattern pattern, int passes);

    /// Counts it row by row.
    Counts count() const;
    /// Every row that a centre fits, top to bottom, with the tubes it keeps.
    void forEachRow(const std::function<void(const RowCount &)> &visit) const;
    /// The kept tubes of the upper half right of the vertical axis, from the axis outward.
    std::vector<RowSpan> spans() const;
    /// A site's centre in mm and its pass.
    SiteAt siteAt(const Site &site) const;
    /// Every centre that fits the circle, row by row from the top, left to right, with its site:
    /// the coordinates made from the whole-number positions once, at the end.
    void forEachTube(const std::function<void(const Site &, const Tube &)> &visit) const;

    /// For the searches over the diameter, which move only the circle and the off-centre lanes
    /// of 6 and 8 passes: the lanes' snap index (m under shifted lanes) for W = DL − d, ...
    std::int64_t snapIndexAt(std::int64_t w) const;
    /// ... and the most this arrangement holds with its off-centre lanes anywhere from snap
    /// index m1 to m2: at the indices' extremes that leave the most room.
    std::int64_t mostWithin(std::int64_t m1, std::int64_t m2) const;

    /// The plan, when it is of this model: for tests that look inside one.
    template <class P> const P *planOf() const { return std::get_if<P>(&m_plan); }

private:
    std::variant<Plan, ShiftPlan> m_plan;
    Pattern m_pattern = Pattern::Triangular;
    int m_passes = 1;
};

/// An arrangement decided, with its lanes as drawn and reported.
struct Decided
{
    Arrangement arrangement;
    std::array<Lane, kMaxHorizontalLanes + 1> lanes {}; ///< horizontal from the top, then vertical
    int laneCount = 0;
    /// GB/T 151's Sn, when the lanes took it because none was typed.
    std::optional<Length> standardSpacing;
};

/// The arrangements a centring weighs: straddled or not, or both (best).
std::vector<bool> straddlesOf(Centring centring);

/// Decides validated inputs under their lane model, on a tube or straddled.
Decided decide(const Inputs &inputs, bool straddle);

} // namespace layout
