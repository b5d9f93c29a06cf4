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
    Site site; ///< the site it stands on, which an edit names
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

/// Where the off-centre lanes of one half snap for a diameter, from the centre out: each
/// one's index (the rows inside it, under shifted lanes). Each only grows with the diameter,
/// so their sum orders them.
struct Snaps
{
    std::array<std::int64_t, kMaxOffCentreLanes> at {};
    int count = 0;

    std::int64_t sum() const
    {
        std::int64_t total = 0;
        for (int j = 0; j < count; ++j)
            total += at[static_cast<std::size_t>(j)];
        return total;
    }
};

class Arrangement
{
public:
    Arrangement() = default;
    /// `shares`: the off-centre lanes' fractions of ρ, as offCentreShares() gives them.
    Arrangement(Plan plan, Pattern pattern, Shares shares);
    Arrangement(ShiftPlan plan, Pattern pattern, Shares shares);

    /// Counts it row by row.
    Counts count() const;
    /// Every row that a centre fits, top to bottom, with the tubes it keeps.
    void forEachRow(const std::function<void(const RowCount &)> &visit) const;
    /// The kept tubes of the upper half (or the lower) right of the vertical axis, from the
    /// axis outward.
    std::vector<RowSpan> spans(bool lower = false) const;
    /// A site's centre in mm and its pass.
    SiteAt siteAt(const Site &site) const;
    /// What the arrangement has at a site, decided as its count decides it.
    SiteStatus siteStatus(const Site &site) const;
    /// Every centre that fits the circle, row by row from the top, left to right, with its site:
    /// the coordinates made from the whole-number positions once, at the end.
    void forEachTube(const std::function<void(const Site &, const Tube &)> &visit) const;

    /// For the searches over the diameter, which move only the circle, the plate and the
    /// off-centre lanes: where the lanes snap for W = DL − d, ...
    Snaps snapsAt(std::int64_t w) const;
    /// ... and the most this arrangement holds with each off-centre lane anywhere from its
    /// place in `low` to its place in `high`: at the extremes that leave the most room.
    std::int64_t mostWithin(const Snaps &low, const Snaps &high) const;
    bool hasOffCentreLanes() const { return !m_shares.empty(); }
    /// Whether the lower half mirrors the upper: everywhere but under a plate over straight
    /// tubes.
    bool halvesAlike() const
    {
        return std::visit(
            [](const auto &plan) { return !plan.plate || plan.plateMirrored; }, m_plan);
    }

    /// The plan, when it is of this model: for tests that look inside one.
    template <class P> const P *planOf() const { return std::get_if<P>(&m_plan); }

private:
    std::variant<Plan, ShiftPlan> m_plan;
    Pattern m_pattern = Pattern::Triangular;
    Shares m_shares;
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
