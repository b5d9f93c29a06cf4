#pragma once

// The layout study: one pass or several, four patterns, centred on a tube or between two, with
// an optional centre tube. Every fit, lane and centre-tube decision is exact on the decimal
// values typed, over the range of layout/length.h: lengths up to 100 m with up to six
// decimals, and a layout circle of at most a million pitches in radius.

#include "layout/length.h"
#include "layout/rows.h"
#include "layout/shift.h"

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
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

/// Where the number of tie rods comes from.
enum class TieRodRule { None, Count, Gb151, Tema };

/// The largest radius of the layout circle, in pitches: it bounds the rows of a count.
constexpr std::int64_t kMaxPitchesInRadius = 1'000'000;

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
    std::optional<Length> bendRadius; ///< R, U-tubes only; 2·d when not given
    TieRodRule tieRods = TieRodRule::None;
    int tieRodCount = 0; ///< with TieRodRule::Count
    /// Segmental baffle cuts BC, in % of Di (held as lengths: exact decimals), 15 to 45.
    std::vector<Length> baffleCuts;
};

/// The figures of one baffle cut that the shell side's thermal design takes from the layout:
/// counted exactly from the tubes left (tie rods are not tubes), and the uniform-density
/// formulas' estimates beside them.
struct Baffle
{
    Length cut; ///< BC, % of Di
    double cutLine = 0; ///< yc = Di·(1/2 − BC/100), mm: the cut lines are y = ±yc
    std::int64_t windowTubes = 0; ///< centres beyond the top cut line, y > yc
    std::int64_t edgeTubes = 0; ///< holes the top cut line crosses, |y − yc| < d/2
    std::vector<double> edgeRows; ///< the y of the rows those holes are in, mm, for drawings
    double fc = 0; ///< (total − 2·windowTubes) / total
    std::int64_t nc = 0; ///< rows holding a tube strictly between −yc and yc
    std::int64_t windowRows = 0; ///< rows holding a tube with y > yc
    std::int64_t lineRows = 0; ///< rows holding a tube exactly on a cut line, both lines
    /// The rest of the sheet, for the figures' sums: the bottom window (y < −yc) and its
    /// rows, the tubes exactly on a cut line, those strictly between the lines, and every row
    /// that holds a tube.
    std::int64_t bottomWindowTubes = 0, bottomWindowRows = 0, lineTubes = 0, crossflowTubes = 0,
                 rows = 0;
    double ncw = 0; ///< 0.8·windowRows
    /// No tube centre lies beyond the cut line: the figures would describe no window.
    bool missesTubes = false;
    struct Formula
    {
        std::optional<double> fw, fc; ///< null where the acos argument is outside [−1, 1]
        double nc = 0, ncw = 0;
    } formula;
};

/// GB/T 151's pitch and groove spacing for a tube diameter, when its table has the diameter.
struct StandardPitch
{
    Length pitch, spacing;
};
std::optional<StandardPitch> gb151Pitch(Length tube, Pattern pattern);

/// The tube diameters GB/T 151's pitch table has, as a list for a message ("10, 12, …, 57").
std::string gb151Diameters();

/// The number and diameter of tie rods a table asks for; the diameter is unknown for a count
/// typed without the standard.
struct TieRodCount
{
    int count = 0;
    std::optional<Length> diameter;
};

/// The tie rods of inputs.tieRods, or an InputError (OutsideTable) for a shell or tube outside
/// the table. Needs the shell diameter.
TieRodCount tieRodCountOf(const Inputs &inputs);

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

/// A layout, decided and counted.
struct Layout
{
    Inputs inputs;
    Length clearance; ///< b as used: given, or max(d/4, 8 mm)
    Length layoutCircle; ///< DL
    Centring centring = Centring::OnTube; ///< the arrangement counted: on a tube or straddled
    Counts counts;
    /// Under Centring::Best, the total of the arrangement not chosen.
    std::optional<std::int64_t> otherTotal;
    int laneCount = 0;
    std::array<Lane, kMaxHorizontalLanes + 1> lanes {}; ///< horizontal from the top, then vertical
    Plan plan; ///< the decisions, for the tube list, under LaneModel::Remove or 1 pass
    ShiftPlan shifted; ///< the decisions under LaneModel::Shift with lanes
    bool isShifted = false;
    Length bendRadius; ///< R, for a U-tube bundle
    std::int64_t uTubes = 0; ///< total / 2 for a U-tube bundle
    TieRodCount tieRods;
    std::vector<Site> tieRodSites; ///< where they are, in the order of tieRodPositions
    std::vector<SiteAt> tieRodPositions;
    /// The values GB/T 151 gave, in the order of the fields.
    std::vector<Field> fromStandard;
    std::vector<Baffle> baffles; ///< one for each of inputs.baffleCuts
};

/// The figures of a baffle cut for a layout counted with a shell: a pass over its rows.
Baffle baffleOf(const Layout &layout, Length cut);

/// The refusal of a layout's first baffle cut whose line lies beyond every tube (a window
/// without tubes is no design), if there is one: Problem::CutMissesTubes.
std::optional<InputError> missedCut(const Layout &layout);

/// The default clearance between shell and layout circle: max(d/4, 8 mm).
Length defaultClearance(Length tube);

/// Every reason the study cannot take `inputs`, one InputError each, at most one a field, in the
/// order of the fields. The checks that depend on a field listed in `unknown` (one that could
/// not be read) are left out.
std::vector<InputError> problemsOf(const Inputs &inputs, const std::vector<Field> &unknown = {});

/// Throws the first of problemsOf(), with one line for the user.
void validate(const Inputs &inputs);

/// Validates and counts a layout.
Layout study(const Inputs &inputs);

/// A tube centre in mm from the shell centre, with the pass it belongs to (from 1), or why it
/// was removed.
struct Tube
{
    double x = 0, y = 0;
    int pass = 0;
    Removed removed = Removed::No;
    bool tieRod = false; ///< a tie rod in place of the tube, in pass `pass`
};

/// Every centre that fits the layout circle, row by row from the top, left to right, removed
/// ones included: a step apart from the count, linear in the tubes.
std::vector<Tube> tubes(const Layout &layout);

/// The answer to "which shell holds N tubes".
struct MinShell
{
    bool reached = false;
    Length limit; ///< the largest diameter searched
    Length diameter; ///< the smallest that holds N, when reached
    std::optional<Layout> layout; ///< its layout
    std::optional<Length> below; ///< one resolution step smaller, unless that is 0
    std::optional<Counts> belowCounts;
};

/// A search ended by its caller.
struct Stopped : std::exception
{
    const char *what() const noexcept override { return "stopped"; }
};

/// Finds the smallest diameter (the shell's, or the layout circle's when so given), a whole
/// multiple of `resolution`, whose total is at least `required`. `inputs.diameter` is ignored.
///
/// The off-centre lanes of 6 and 8 passes move with the diameter and make the total fall now
/// and then as it grows; between two of their moves nothing but the circle changes, so there
/// the total only grows and a bisection finds the first that holds N. The moves are searched
/// first to last, skipping every run of them whose best case (the largest circle, the lanes
/// where all of them overlap) holds fewer. `stop` is asked before each count; when it says
/// yes, the search throws Stopped.
MinShell minShell(Inputs inputs, std::int64_t required, Length resolution,
    const std::function<bool()> &stop = {});

/// The text of a pattern, centring or pass count as the options and JSON spell them.
const char *patternName(Pattern pattern);
const char *centringName(Centring centring);

} // namespace layout
