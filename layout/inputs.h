#pragma once

// What a layout is asked for: the inputs of the study as read from what was typed, the fields
// a problem can lie in, and the values the rules derive from the inputs alone.

#include "layout/edits.h"
#include "layout/length.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace layout {

/// The patterns, by the angle their name carries.
enum class Pattern { Triangular = 30, RotatedTriangular = 60, Square = 90, RotatedSquare = 45 };

/// Where the pattern sits: a tube on the shell's centre, the centre between two tubes, or
/// whichever of the two keeps more tubes (on a tie, on a tube).
enum class Centring { OnTube, Straddle, Best };

/// Which diameter the user gave: the shell's inner one, or the layout circle's itself.
enum class Given { Shell, LayoutCircle };

/// How pass lanes make room for the partitions: by taking tubes out of one pattern, or by
/// pulling the pattern apart until the rows across a lane are Sn apart (GB/T 151's way).
enum class LaneModel { Remove, Shift };

/// Straight tubes between two tube sheets, or U-tubes: each hole above the centre lane paired
/// with its mirror image below.
enum class Bundle { Fixed, UTube };

/// How the bundle is held in the shell, which sets the layout circle: fixed tube sheets, a
/// U-tube bundle, a floating head with a split ring, a pull-through floating head, an
/// outside-packed floating head.
enum class Head { Fixed, UTube, Floating, PullThrough, Packed };

/// Which lanes divide 4, 6 and 8 passes: the rules' own (quadrants for 4, the mixed lanes of
/// 6 and 8), named or not, or ribbon: every lane horizontal, so that neighbouring passes lie
/// side by side.
enum class PassArrangement { Standard, Quadrant, Mixed, Ribbon };

/// An inlet nozzle of bore Dn on top of the shell and the square plate of side A under it,
/// its top face h below the shell's top, t thick: the defaults filled in by the reader.
struct Impingement
{
    Length nozzle, plate, height, thickness;
};

/// Where the number of tie rods comes from.
enum class TieRodRule { None, Count, Gb151, Tema };

/// The input a problem lies in, where the study can tell (declared in layout/length.h).
enum class Field : int {
    None,
    Diameter,
    Tube,
    Pitch,
    Pattern,
    Passes,
    Centring,
    LaneSpacing,
    VerticalSpacing,
    Clearance,
    CentreTube,
    LaneModel,
    Standard,
    Bundle,
    BendRadius,
    TieRods,
    BaffleCut,
    Head,
    Arrangement,
    Impingement,
};

/// The largest radius of the layout circle, in pitches: it bounds the rows of a count.
constexpr std::int64_t kMaxPitchesInRadius = 1'000'000;
/// The most tie rods a count may name: six digits.
constexpr int kMaxTieRods = 999'999;
/// The most baffle cuts one study compares.
constexpr int kMaxBaffleCuts = 8;
/// The largest shell GB/T 151's floating-head allowances go to, DN 2600.
constexpr std::int64_t kMaxFloatingMm = 2600;

struct Inputs
{
    Given given = Given::Shell;
    Length diameter; ///< Di, or DL itself
    Length tube; ///< d
    Length pitch; ///< p
    Pattern pattern = Pattern::Triangular;
    int passes = 1; ///< 1, 2, 4, 6 or 8
    Centring centring = Centring::OnTube;
    /// Sn of every lane; of the horizontal ones only when verticalSpacing is given.
    std::optional<Length> laneSpacing;
    std::optional<Length> verticalSpacing;
    std::optional<Length> clearance; ///< b, with a shell only
    std::optional<Length> centreTube; ///< d0
    LaneModel lanes = LaneModel::Remove;
    /// GB/T 151 gives what was not typed; the reader fills in the pitch, the lane model and
    /// the tie rods and lists them in fromStandard.
    bool gb151 = false;
    std::vector<Field> fromStandard;
    Bundle bundle = Bundle::Fixed;
    Head head = Head::Fixed; ///< Head::UTube goes with Bundle::UTube
    std::optional<Length> bendRadius; ///< R, U-tubes only; 2·d when not given
    TieRodRule tieRods = TieRodRule::None;
    int tieRodCount = 0; ///< with TieRodRule::Count
    /// The lengths typed in inches, by field, as typed ("3/4 in"): the output shows them.
    std::vector<std::pair<Field, std::string>> inches;
    PassArrangement arrangement = PassArrangement::Standard;
    std::optional<Impingement> impingement; ///< with a shell only
    /// The designer's edits of single sites, in the order given.
    std::vector<Edit> edits;
    /// The design's title, the drawing caption's first line; empty for none.
    std::string title;
    /// Segmental baffle cuts BC, in % of Di (held as lengths: exact decimals), 15 to 45.
    std::vector<Length> baffleCuts;
};

/// The default clearance between shell and layout circle: max(d/4, 8 mm).
Length defaultClearance(Length tube);

/// The clearance b the inputs use: given, or the default (which the centre tube keeps when the
/// layout circle is given instead of the shell).
Length clearanceOf(const Inputs &inputs);

/// GB/T 151's allowances of a floating head in a shell of DN `shell`: the split ring's b1, the
/// b2 = bn + 1.5 of the head's flange and the clearance b; none beyond DN 2600.
struct FloatingAllowances
{
    Length b1, b2, b;
};
std::optional<FloatingAllowances> floatingAllowances(Length shell);

/// The shells, in order, at which a floating head's rule starts a new straight line (the
/// first past each DN band, and DN 1000 where b widens); the last ends the rule.
std::vector<Length> floatingEdges();

/// The head's rule, without a clearance given: whether it is the fixed tube sheets' Di − 2b.
bool headSetsCircle(const Inputs &inputs);

/// DL: given; or the shell less the clearance on each side, when one is given or the head is
/// fixed or U-tube; or by the head's rule.
Length layoutCircleOf(const Inputs &inputs);

/// The smallest U-bend radius R of a U-tube bundle: given, or 2·d.
Length bendRadiusOf(const Inputs &inputs);

/// The circle inside which the centre tube takes tubes out, d + d0 + 2b across: a tube goes
/// when its centre is closer than (d + d0)/2 + b. Needs a centre tube.
Length centreCircleOf(const Inputs &inputs);

/// Whether every lane is horizontal.
bool isRibbon(const Inputs &inputs);

/// The fractions of ρ, in thousandths, near which the off-centre lanes of one half sit, from
/// the centre out: none for 1, 2 and the quadrants of 4 passes, at most three.
struct Shares
{
    std::array<std::int64_t, 3> at {};
    int count = 0;

    const std::int64_t *begin() const { return at.data(); }
    const std::int64_t *end() const { return at.data() + count; }
    std::size_t size() const { return static_cast<std::size_t>(count); }
    bool empty() const { return count == 0; }
    std::int64_t operator[](std::size_t j) const { return at[j]; }
};
Shares offCentreShares(const Inputs &inputs);

/// Whether a horizontal lane runs through the centre, and a vertical one.
bool hasCentreLane(const Inputs &inputs);
bool hasVerticalLane(const Inputs &inputs);

/// The arrangement's name as the options spell it; null for 1 and 2 passes, which have one.
const char *arrangementName(const Inputs &inputs);
/// A named arrangement's option text ("ribbon"); the rules' own is "standard".
const char *arrangementNameOf(PassArrangement arrangement);

/// The text of a pattern or centring as the options and JSON spell them.
const char *patternName(Pattern pattern);
const char *centringName(Centring centring);
const char *headName(Head head);

} // namespace layout
