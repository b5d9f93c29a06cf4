#pragma once

// The layout study: one pass or several, four patterns, centred on a tube or between two, with
// an optional centre tube. Every fit, lane and centre-tube decision is exact on the decimal
// values typed, over the range of layout/length.h: lengths up to 100 m with up to six
// decimals, and a layout circle of at most a million pitches in radius.

#include "layout/arrangement.h"
#include "layout/checks.h"
#include "layout/inputs.h"
#include "layout/length.h"
#include "layout/standards.h"

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

namespace layout {

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
    double fc = 0; ///< (total − 2·windowTubes) / total; both windows as counted under a plate
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
    /// GB/T 151's Sn, when the designers' lanes took it because none was typed.
    std::optional<Length> standardSpacing;
    Arrangement arrangement; ///< the decisions, for the tube list, tie rods and baffles
    std::int64_t uTubes = 0; ///< total / 2 for a U-tube bundle
    TieRodCount tieRods;
    std::vector<Site> tieRodSites; ///< where they are, in the order of tieRodPositions
    std::vector<SiteAt> tieRodPositions;
    /// The values GB/T 151 gave, in the order of the fields.
    std::vector<Field> fromStandard;
    std::vector<Baffle> baffles; ///< one for each cut typed, in its order
    /// Every edit with what became of it, a site once (in a U-tube bundle, its upper leg).
    std::vector<EditResult> edits;
};

/// The figures of a baffle cut for a layout counted with a shell: a pass over its rows.
Baffle baffleOf(const Layout &layout, Length cut);

/// The figures of every baffle cut of the layout's inputs, in their order.
std::vector<Baffle> bafflesOf(const Layout &layout);

/// The refusal of a layout's first baffle cut whose line lies beyond every tube (a window
/// without tubes is no design), if there is one: Problem::CutMissesTubes.
std::optional<InputError> missedCut(const Layout &layout);

/// Validates and counts a layout.
Layout study(const Inputs &inputs);

/// Counts the one layout a designer asks for: study(), and refused (InputError) where a baffle
/// cut's window holds no tube. A sweep's small shells keep such cuts, with no figures.
Layout studyOne(const Inputs &inputs);

/// The steps of study() that the searches take apart: the layout decided and counted without
/// its tie rods (for validated inputs), and its tie rods put in place of tubes (an InputError
/// when they do not fit at its edge).
Layout arranged(const Inputs &inputs);
void placeRods(Layout &layout);

/// The sites the applied edits take, both legs of a U-tube: undrilled, then dummies.
std::vector<Site> editedSites(const Layout &layout, EditAction action);

/// Every centre that fits the layout circle, row by row from the top, left to right, removed
/// ones included (an edited site as Removed::Edit or Removed::Dummy): a step apart from the
/// count, linear in the tubes.
std::vector<Tube> tubes(const Layout &layout);

/// The answer to "which shell holds N tubes".
struct MinShell
{
    bool reached = false;
    Length limit; ///< the largest diameter searched
    Length diameter; ///< the smallest that holds N, when reached
    std::optional<Layout> layout; ///< its layout
    std::optional<Length> below; ///< one resolution step smaller, unless that is 0
    std::optional<Counts> belowCounts; ///< its single count, unless refused
    std::optional<InputError> belowRefused; ///< why its single count is refused
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

} // namespace layout
