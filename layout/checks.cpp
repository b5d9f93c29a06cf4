#include "layout/checks.h"

#include "layout/impingement.h"
#include "layout/standards.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace layout {

namespace {

    /// The problems found so far, and the fields whose checks are left out.
    class Checks
    {
    public:
        explicit Checks(const std::vector<Field> &unknown)
            : m_unknown(unknown)
        {
        }

        /// Whether every field a check depends on could be read.
        bool known(std::initializer_list<Field> fields) const
        {
            for (Field field : fields)
                if (std::find(m_unknown.begin(), m_unknown.end(), field) != m_unknown.end())
                    return false;
            return true;
        }
        /// Whether a field has a problem already: each field gets one reason, the first.
        bool failed(Field field) const
        {
            return field != Field::None
                && std::any_of(found.begin(), found.end(),
                    [field](const InputError &error) { return error.field() == field; });
        }
        /// Records the message `say` makes, which is only made on failure: a count of a few
        /// hundred tubes must not spend its time on texts it never shows.
        template <class Say> void require(bool ok, Say &&say, Problem problem, Field field)
        {
            if (!ok && !failed(field))
                found.emplace_back(say(), problem, field);
        }

        std::vector<InputError> found;

    private:
        std::vector<Field> m_unknown;
    };

    void checkLength(
        Checks &checks, Length length, const char *what, Field field, bool zeroAllowed = false)
    {
        if (!checks.known({ field }))
            return;
        const auto text = [&] { return std::string(what) + " " + lengthText(length) + " mm"; };
        checks.require(
            length.units % kTypedStep == 0, [&] { return text() + " has more than 6 decimals"; },
            Problem::TooManyDecimals, field);
        checks.require(
            length.units <= kMaxUnits, [&] { return text() + " is larger than 100000 mm"; },
            Problem::TooLarge, field);
        checks.require(
            zeroAllowed ? length.units >= 0 : length.units > 0,
            [&] {
                return std::string(what) + " must be " + (zeroAllowed ? "0 or more" : "positive")
                    + ", not " + lengthText(length) + " mm";
            },
            zeroAllowed ? Problem::Negative : Problem::NotPositive, field);
    }

    /// Whether the tube diameter could be read and taken: the checks that compare with it.
    bool tubeKnown(const Checks &checks)
    {
        return checks.known({ Field::Tube }) && !checks.failed(Field::Tube);
    }

    /// The designers' lanes: no narrower than the tube, an Sn the standard has when none is
    /// typed, and on a tube across a vertical lane.
    void checkShiftedLanes(Checks &checks, const Inputs &in)
    {
        const bool tubeRead = tubeKnown(checks);
        if (in.lanes == LaneModel::Shift && in.passes > 1 && checks.known({ Field::Passes })) {
            const auto atLeastTube = [&](const std::optional<Length> &spacing, Field field) {
                if (spacing && tubeRead && checks.known({ field }) && !checks.failed(field))
                    checks.require(
                        !(*spacing < in.tube),
                        [&] {
                            return "under --lanes shift the lane spacing " + lengthText(*spacing)
                                + " mm must be at least the tube diameter " + lengthText(in.tube)
                                + " mm: the tubes across the lane would overlap";
                        },
                        Problem::SpacingBelowTube, field);
            };
            atLeastTube(in.laneSpacing, Field::LaneSpacing);
            atLeastTube(in.verticalSpacing, Field::VerticalSpacing);
            if (!in.laneSpacing && tubeRead && checks.known({ Field::LaneSpacing }))
                checks.require(
                    gb151Pitch(in.tube, in.pattern).has_value(),
                    [&] {
                        return "--lanes shift takes Sn from GB/T 151, which has none for a "
                            + lengthText(in.tube) + " mm tube (only " + gb151Diameters()
                            + " mm): give --lane-spacing";
                    },
                    Problem::Missing, Field::LaneSpacing);
            if (hasVerticalLane(in) && checks.known({ Field::Centring }))
                checks.require(
                    in.centring == Centring::OnTube,
                    [&] {
                        return std::string("--centre ") + centringName(in.centring)
                            + " does not apply under --lanes shift with a vertical lane: the "
                              "lane places the columns";
                    },
                    Problem::NeedsOnTube, Field::Centring);
        }
    }

    /// A U-tube bundle's passes, centre and bends.
    void checkBundle(Checks &checks, const Inputs &in)
    {
        if (in.bundle == Bundle::UTube) {
            if (checks.known({ Field::Passes }))
                checks.require(
                    in.passes == 2 || in.passes == 4,
                    [&] {
                        return "a U-tube bundle has 2 or 4 passes, not "
                            + std::to_string(in.passes);
                    },
                    Problem::NotWithBundle, Field::Passes);
            checks.require(
                !in.centreTube,
                [] {
                    return std::string(
                        "a U-tube bundle has no centre tube: its bends cross the centre");
                },
                Problem::NotWithBundle, Field::CentreTube);
        }
        if (in.bendRadius) {
            checks.require(
                in.bundle == Bundle::UTube,
                [] { return std::string("--bend-radius is for --bundle u-tube"); },
                Problem::NeedsUTube, Field::BendRadius);
            checkLength(checks, *in.bendRadius, "the bend radius", Field::BendRadius);
        }
    }

    /// An arrangement the pass count has, and no vertical spacing where every lane is
    /// horizontal.
    void checkArrangement(Checks &checks, const Inputs &in)
    {
        if (in.arrangement == PassArrangement::Standard || !checks.known({ Field::Passes }))
            return;
        const auto refuse = [&](bool ok, const char *needs) {
            checks.require(
                ok,
                [&] {
                    return std::string("--arrangement ") + arrangementNameOf(in.arrangement)
                        + " needs " + needs + " passes, not " + std::to_string(in.passes);
                },
                Problem::NotWithPasses, Field::Arrangement);
        };
        if (in.arrangement == PassArrangement::Ribbon)
            refuse(in.passes >= 4, "4, 6 or 8");
        else if (in.arrangement == PassArrangement::Quadrant)
            refuse(in.passes == 4, "4");
        else
            refuse(in.passes == 6 || in.passes == 8, "6 or 8");
        if (isRibbon(in))
            checks.require(
                !in.verticalSpacing,
                [] {
                    return std::string("--lane-spacing: V is the vertical lane's spacing, and a "
                                       "ribbon arrangement has no vertical lane");
                },
                Problem::NotWithPasses, Field::VerticalSpacing);
    }

    /// A head and the bundle it holds agree; a floating head's allowances go to DN 2600.
    void checkHead(Checks &checks, const Inputs &in)
    {
        checks.require(
            in.bundle != Bundle::UTube || in.head == Head::Fixed || in.head == Head::UTube,
            [&] {
                return std::string("--bundle u-tube is the u-tube head, not --head ")
                    + headName(in.head);
            },
            Problem::Conflict, Field::Head);
        if (in.head == Head::Floating && headSetsCircle(in) && checks.known({ Field::Diameter }))
            checks.require(
                in.diameter.units <= mm(kMaxFloatingMm).units,
                [&] {
                    return "a floating head's allowances go up to DN "
                        + std::to_string(kMaxFloatingMm) + ", not " + lengthText(in.diameter)
                        + " mm: give --clearance";
                },
                Problem::OutsideTable, Field::Diameter);
    }

    /// What goes by the shell diameter: the standard's values and the baffle cuts.
    void checkShellShares(Checks &checks, const Inputs &in)
    {
        if (in.gb151)
            checks.require(
                in.given == Given::Shell,
                [] {
                    return std::string("--gb151 needs --shell: the standard's tie rods go by the "
                                       "shell diameter");
                },
                Problem::NeedsShell, Field::Standard);
        for (const Length cut : in.baffleCuts) {
            checks.require(
                in.given == Given::Shell,
                [] {
                    return std::string("--baffle-cut needs --shell: the cut is a share of the "
                                       "shell diameter");
                },
                Problem::NeedsShell, Field::BaffleCut);
            checks.require(
                !(cut < mm(15)) && !(mm(45) < cut),
                [&] {
                    return "the baffle cut must be 15 to 45 % of the shell diameter, not "
                        + lengthText(cut) + " %";
                },
                Problem::CutOutOfRange, Field::BaffleCut);
        }
    }

    /// Tie rods: a shell to go by, pairs in a U-tube bundle, and a shell and tube in the table.
    void checkTieRods(Checks &checks, const Inputs &in)
    {
        if (in.tieRods == TieRodRule::None)
            return;
        checks.require(
            in.given == Given::Shell,
            [] {
                return std::string(
                    "tie rods need --shell: the bundle's edge and the tables go by the shell");
            },
            Problem::NeedsShell, Field::TieRods);
        if (in.bundle == Bundle::UTube && in.tieRods == TieRodRule::Count)
            checks.require(
                in.tieRodCount % 2 == 0,
                [&] {
                    return "a U-tube bundle takes tie rods in mirror pairs: "
                        + std::to_string(in.tieRodCount) + " is odd";
                },
                Problem::OddTieRods, Field::TieRods);
        if (in.given == Given::Shell && !checks.failed(Field::TieRods) && tubeKnown(checks)
            && checks.known({ Field::Diameter }) && !checks.failed(Field::Diameter)) {
            try {
                tieRodCountOf(in);
            } catch (const InputError &error) {
                checks.require(
                    false, [&] { return std::string(error.what()); }, error.problem(),
                    error.field());
            }
        }
    }

} // namespace

std::vector<InputError> problemsOf(const Inputs &in, const std::vector<Field> &unknown)
{
    Checks checks(unknown);
    checkLength(checks, in.diameter,
        in.given == Given::Shell ? "the shell diameter" : "the layout circle", Field::Diameter);
    checkLength(checks, in.tube, "the tube diameter", Field::Tube);
    checkLength(checks, in.pitch, "the pitch", Field::Pitch);
    if (checks.known({ Field::Tube, Field::Pitch }) && !checks.failed(Field::Tube))
        checks.require(
            !(in.pitch < in.tube),
            [&] {
                return "the pitch " + lengthText(in.pitch) + " mm is smaller than the tube "
                    + lengthText(in.tube) + " mm: the tubes would overlap";
            },
            Problem::PitchBelowTube, Field::Pitch);
    if (checks.known({ Field::Passes }))
        checks.require(
            in.passes == 1 || in.passes == 2 || in.passes == 4 || in.passes == 6 || in.passes == 8,
            [&] {
                return "the number of passes must be 1, 2, 4, 6 or 8, not "
                    + std::to_string(in.passes);
            },
            Problem::PassCount, Field::Passes);
    if (in.laneSpacing)
        checkLength(checks, *in.laneSpacing, "the lane spacing", Field::LaneSpacing);
    if (in.verticalSpacing)
        checkLength(
            checks, *in.verticalSpacing, "the vertical lane spacing", Field::VerticalSpacing);
    if (checks.known({ Field::LaneSpacing }))
        checks.require(
            !in.verticalSpacing || in.laneSpacing,
            [] { return "a vertical lane spacing needs a horizontal one"; },
            Problem::VerticalWithoutHorizontal, Field::LaneSpacing);
    if (in.clearance) {
        checks.require(
            in.given == Given::Shell,
            [] {
                return "a clearance needs the shell diameter: the layout circle already allows "
                       "for it";
            },
            Problem::ClearanceWithoutShell, Field::Clearance);
        checkLength(checks, *in.clearance, "the clearance", Field::Clearance, true);
    }
    if (in.centreTube)
        checkLength(checks, *in.centreTube, "the centre tube diameter", Field::CentreTube);
    checkShiftedLanes(checks, in);
    checkBundle(checks, in);
    checkHead(checks, in);
    checkArrangement(checks, in);
    checkShellShares(checks, in);
    if (checks.known({ Field::Diameter, Field::Impingement }) && !checks.failed(Field::Diameter))
        if (const auto problem = plateProblem(in))
            checks.require(
                false, [&] { return std::string(problem->what()); }, problem->problem(),
                Field::Impingement);
    checkTieRods(checks, in);
    if (checks.known({ Field::Diameter, Field::Tube, Field::Pitch, Field::Clearance })
        && checks.found.empty()) {
        const Int128 w = in.diameter.units - offsetOf(in);
        checks.require(
            w <= 2 * Int128(kMaxPitchesInRadius) * in.pitch.units,
            [] {
                return "the layout circle is more than " + std::to_string(kMaxPitchesInRadius)
                    + " pitches in radius: too many rows to count";
            },
            Problem::TooManyPitches, Field::Diameter);
    }
    return checks.found;
}

void validate(const Inputs &in)
{
    const std::vector<InputError> problems = problemsOf(in);
    if (!problems.empty())
        throw problems.front();
}

void requireLength(Length length, const char *what)
{
    Checks checks({});
    checkLength(checks, length, what, Field::None);
    if (!checks.found.empty())
        throw checks.found.front();
}

Int128 offsetOf(const Inputs &in)
{
    return Int128(in.tube.units) + in.diameter.units - layoutCircleOf(in).units;
}

} // namespace layout
