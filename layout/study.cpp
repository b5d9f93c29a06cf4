#include "layout/study.h"

#include "layout/surd.h"
#include "layout/tie_rods.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

namespace layout {

namespace {

    /// A length s·√f in whole units: the lane spacings of the rules carry √2 and √3.
    struct Surd
    {
        Int128 s = 0;
        int f = 1;
        const char *formula = nullptr; ///< the rules' name for it, when it is a default

        Int128 squared() const { return s * s * f; }
        double mm() const
        {
            return static_cast<double>(
                static_cast<long double>(s) / kUnitsPerMm * std::sqrt(static_cast<long double>(f)));
        }
        /// Rounded down to a whole 1e-6 mm, a value a person can type.
        Length typable() const
        {
            const std::int64_t units = largestRootAtMost(1, squared());
            return { units - units % kTypedStep };
        }
    };

    /// The default lane spacings of a pattern: through the centre horizontally, vertically, and
    /// off the centre.
    struct Spacings
    {
        Surd horizontal, vertical, offCentre;
    };

    Spacings defaultSpacings(Pattern pattern, std::int64_t p)
    {
        const Surd root3 { p, 3, "√3·p" }, twice { 2 * Int128(p), 1, "2p" };
        switch (pattern) {
        case Pattern::Triangular:
            return { root3, twice, root3 };
        case Pattern::RotatedTriangular:
            return { twice, root3, twice };
        case Pattern::Square:
            return { twice, twice, twice };
        case Pattern::RotatedSquare:
            break;
        }
        // p is a whole multiple of 4 units, so 3p/2 is whole.
        const Surd root2 { p, 2, "√2·p" };
        return { root2, root2, { 3 * Int128(p) / 2, 2, "3p/√2" } };
    }

    /// The fraction of ρ near which the off-centre lanes of 6 and 8 passes sit, in thousandths.
    std::int64_t offCentreShare(int passes)
    {
        return passes == 6 ? 265 : 404;
    }

    Int128 ceilDiv(Int128 a, Int128 b)
    {
        return a <= 0 ? -(-a / b) : (a + b - 1) / b;
    }

    /// The index the off-centre lane snaps to for W = DL − d = 2ρ >= 0: the rules' m, or N for 45.
    std::int64_t snapIndex(Pattern pattern, int passes, std::int64_t w, std::int64_t p)
    {
        const Int128 e = offCentreShare(passes);
        const Int128 W = w, P = p;
        switch (pattern) {
        case Pattern::Triangular: {
            // m <= e·W/(√3·p) + 1/2, i.e. (2m − 1)·√3·p·1000 <= 2·e·W.
            const std::int64_t t = largestRootAtMost(3'000'000 * P * P, 4 * e * e * W * W);
            return (t + 1) / 2;
        }
        case Pattern::RotatedTriangular:
            return static_cast<std::int64_t>((2 * e * W + 1000 * P) / (2000 * P));
        case Pattern::Square:
            return static_cast<std::int64_t>((e * W + 1000 * P) / (2000 * P));
        case Pattern::RotatedSquare:
            break;
        }
        // N <= √2·e·W/(2p), i.e. 2000·p·N <= √2·e·W.
        return largestRootAtMost(4'000'000 * P * P, 2 * e * e * W * W);
    }

    /// Y of the off-centre lane for a snap index.
    std::int64_t snapRow(Pattern pattern, std::int64_t index)
    {
        switch (pattern) {
        case Pattern::Square:
            return 4 * index;
        case Pattern::RotatedSquare:
            return 2 * index + 1;
        default:
            return 2 * index;
        }
    }

    /// The pattern's rows and columns, as layout/rows.h describes them.
    Plan grid(Pattern pattern, std::int64_t p, bool straddle)
    {
        Plan plan;
        switch (pattern) {
        case Pattern::Triangular:
            plan.fx = 1, plan.fy = 3;
            break;
        case Pattern::RotatedTriangular:
            plan.fx = 3, plan.fy = 1;
            break;
        case Pattern::Square:
            plan.fx = 1, plan.fy = 1, plan.rowStep = 4, plan.alternate = false;
            break;
        case Pattern::RotatedSquare:
            plan.fx = 2, plan.fy = 2;
            break;
        }
        plan.pitch = p;
        plan.ax = Int128(p) * p * plan.fx;
        plan.ay = Int128(p) * p * plan.fy / 4;
        plan.shift = straddle ? 1 : 0;
        return plan;
    }

    struct Decided
    {
        Plan plan;
        ShiftPlan shifted;
        std::array<Lane, kMaxHorizontalLanes + 1> lanes {};
        int laneCount = 0;
    };

    /// The bend radius R of a U-tube bundle: given, or 2·d.
    Length bendRadiusOf(const Inputs &in)
    {
        return in.bendRadius ? *in.bendRadius : Length { 2 * in.tube.units };
    }

    /// The spacing of the centre lane a U-tube bundle's bends cross: at least 2R.
    Surd widenedForBends(const Inputs &in, Surd spacing)
    {
        if (in.bundle != Bundle::UTube)
            return spacing;
        const Int128 bends = 2 * Int128(bendRadiusOf(in).units);
        return bends * bends > spacing.squared() ? Surd { bends, 1 } : spacing;
    }

    Decided decide(const Inputs &in, Length clearance, Length layoutCircle, bool straddle)
    {
        const std::int64_t p = in.pitch.units;
        Decided out;
        Plan &plan = out.plan;
        plan = grid(in.pattern, p, straddle);
        const std::int64_t w = layoutCircle.units - in.tube.units;
        plan.empty = w < 0;
        if (!plan.empty) {
            plan.circle = Int128(w) * w;
            plan.lastRow =
                largestRootAtMost(Int128(plan.rowStep) * plan.rowStep * plan.ay, plan.circle);
        }

        Spacings spacing = defaultSpacings(in.pattern, p);
        if (in.laneSpacing) {
            const Surd given { in.laneSpacing->units, 1 };
            spacing = { given, in.verticalSpacing ? Surd { in.verticalSpacing->units, 1 } : given,
                given };
        }
        std::array<std::pair<std::int64_t, Surd>, kMaxHorizontalLanes> horizontal {};
        int count = 0;
        const bool offCentre = in.passes == 6 || in.passes == 8;
        const std::int64_t offY =
            offCentre && w >= 0 ? snapRow(in.pattern, snapIndex(in.pattern, in.passes, w, p)) : 0;
        if (offCentre)
            horizontal[count++] = { offY, spacing.offCentre };
        if (in.passes == 2 || in.passes == 4 || in.passes == 8)
            horizontal[count++] = { 0, widenedForBends(in, spacing.horizontal) };
        if (offCentre)
            horizontal[count++] = { -offY, spacing.offCentre };
        plan.horizontalLanes = count;
        const double rowUnit =
            static_cast<double>(p) / kUnitsPerMm / 4 * std::sqrt(static_cast<double>(plan.fy));
        for (int i = 0; i < count; ++i) {
            plan.laneY[i] = horizontal[i].first;
            plan.laneReach[i] = largestRootBelow(plan.ay, horizontal[i].second.squared());
            out.lanes[out.laneCount++] = { true, static_cast<double>(plan.laneY[i]) * rowUnit,
                horizontal[i].second.mm(), horizontal[i].second.formula,
                horizontal[i].second.typable() };
        }
        plan.verticalLane = in.passes >= 4;
        if (plan.verticalLane) {
            plan.verticalReach = largestRootBelow(plan.ax, spacing.vertical.squared());
            out.lanes[out.laneCount++] = { false, 0.0, spacing.vertical.mm(),
                spacing.vertical.formula, spacing.vertical.typable() };
        }

        if (in.centreTube) {
            // Taken out when closer than (d + d0)/2 + b: 4·r² < (d + d0 + 2b)².
            const Int128 reach =
                Int128(in.tube.units) + in.centreTube->units + 2 * Int128(clearance.units);
            plan.centreTube = true;
            plan.centreLimit = reach * reach - 1;
        }
        return out;
    }

    /// The spacings under the designers' lanes: typed, or GB/T 151's Sn for the tube. The
    /// checks have made sure there is one.
    std::pair<std::int64_t, std::int64_t> shiftSpacings(const Inputs &in)
    {
        std::int64_t h = 0;
        if (in.laneSpacing)
            h = in.laneSpacing->units;
        else if (const auto standard = gb151Pitch(in.tube, in.pattern))
            h = standard->spacing.units;
        return { h, in.verticalSpacing ? in.verticalSpacing->units : h };
    }

    Decided decideShift(const Inputs &in, Length clearance, Length layoutCircle, bool straddle)
    {
        const std::int64_t p = in.pitch.units;
        Decided out;
        ShiftPlan &plan = out.shifted;
        plan.passes = in.passes;
        plan.tq = p / 2;
        plan.sq = p / 2;
        switch (in.pattern) {
        case Pattern::Triangular:
            plan.sf = 3;
            break;
        case Pattern::RotatedTriangular:
            plan.tf = 3;
            break;
        case Pattern::Square:
            plan.sq = p;
            plan.alternate = false;
            break;
        case Pattern::RotatedSquare:
            plan.sf = plan.tf = 2;
            break;
        }
        plan.shift = straddle ? 1 : 0;
        const std::int64_t w = layoutCircle.units - in.tube.units;
        plan.empty = w < 0;
        plan.circle = Int128(w) * w;

        const auto [horizontal, vertical] = shiftSpacings(in);
        const Surd centre = widenedForBends(in, { horizontal, 1 });
        // Typed spacings are whole multiples of 4 units, 2R of 8: their halves are whole.
        const std::int64_t centreSpacing = static_cast<std::int64_t>(centre.s);
        plan.centreLane = in.passes == 2 || in.passes == 4 || in.passes == 8;
        plan.base = plan.centreLane ? centreSpacing / 2 : 0;
        plan.vertical = in.passes >= 4;
        plan.cx = plan.vertical ? vertical / 2 : 0;
        const bool offCentre = in.passes == 6 || in.passes == 8;
        if (offCentre) {
            plan.offSpacing = horizontal;
            plan.inner = plan.empty ? 1 : shiftInner(plan, w, offCentreShare(in.passes));
        }
        if (in.centreTube) {
            const Int128 reach =
                Int128(in.tube.units) + in.centreTube->units + 2 * Int128(clearance.units);
            plan.centreTube = true;
            plan.centreLimit = reach * reach;
        }
        plan.rows = shiftRowCount(plan);

        const auto mm = [](long double units) { return static_cast<double>(units / kUnitsPerMm); };
        const auto lane = [&](bool isHorizontal, long double at, std::int64_t spacing) {
            out.lanes[out.laneCount++] = { isHorizontal, mm(at), mm(spacing), nullptr,
                { spacing } };
        };
        const long double offAt = offCentre
            ? static_cast<long double>(plan.base) + static_cast<long double>(horizontal) / 2
                + static_cast<long double>(plan.inner - 1) * static_cast<long double>(plan.sq)
                    * std::sqrt(static_cast<long double>(plan.sf))
            : 0;
        if (offCentre)
            lane(true, offAt, horizontal);
        if (plan.centreLane)
            lane(true, 0, centreSpacing);
        if (offCentre)
            lane(true, -offAt, horizontal);
        if (plan.vertical)
            lane(false, 0, vertical);
        return out;
    }

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

    /// The clearance b used: given, or the default.
    Length clearanceOf(const Inputs &in)
    {
        return in.clearance ? *in.clearance : defaultClearance(in.tube);
    }

    /// What the diameter given exceeds W = DL − d by: d, and 2b for a shell.
    Int128 offsetOf(const Inputs &in)
    {
        return in.tube.units + (in.given == Given::Shell ? 2 * Int128(clearanceOf(in).units) : 0);
    }

    /// DL: given, or the shell less the clearance on each side.
    Length layoutCircleOf(const Inputs &in)
    {
        return in.given == Given::Shell ? Length { in.diameter.units - 2 * clearanceOf(in).units }
                                        : in.diameter;
    }

    /// The arrangements a centring asks to be weighed: straddled or not.
    std::vector<bool> arrangements(Centring centring)
    {
        if (centring == Centring::Best)
            return { false, true };
        return { centring == Centring::Straddle };
    }

    /// The checks of the designers' lanes, standards, bundles and tie rods.
    void checkDesign(Checks &checks, const Inputs &in)
    {
        const bool tubeKnown = checks.known({ Field::Tube }) && !checks.failed(Field::Tube);
        if (in.lanes == LaneModel::Shift && in.passes > 1 && checks.known({ Field::Passes })) {
            const auto atLeastTube = [&](const std::optional<Length> &spacing, Field field) {
                if (spacing && tubeKnown && checks.known({ field }) && !checks.failed(field))
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
            if (!in.laneSpacing && tubeKnown && checks.known({ Field::LaneSpacing }))
                checks.require(
                    gb151Pitch(in.tube, in.pattern).has_value(),
                    [&] {
                        return "--lanes shift takes Sn from GB/T 151, which has none for a "
                            + lengthText(in.tube) + " mm tube (only " + gb151Diameters()
                            + " mm): give --lane-spacing";
                    },
                    Problem::Missing, Field::LaneSpacing);
            if (in.passes >= 4 && checks.known({ Field::Centring }))
                checks.require(
                    in.centring == Centring::OnTube,
                    [&] {
                        return std::string("--centre ") + centringName(in.centring)
                            + " does not apply under --lanes shift with a vertical lane: the "
                              "lane places the columns";
                    },
                    Problem::NeedsOnTube, Field::Centring);
        }
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
        if (in.given == Given::Shell && !checks.failed(Field::TieRods) && tubeKnown
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

const char *patternName(Pattern pattern)
{
    switch (pattern) {
    case Pattern::Triangular:
        return "30";
    case Pattern::RotatedTriangular:
        return "60";
    case Pattern::Square:
        return "90";
    case Pattern::RotatedSquare:
        break;
    }
    return "45";
}

const char *centringName(Centring centring)
{
    switch (centring) {
    case Centring::OnTube:
        return "on-tube";
    case Centring::Straddle:
        return "straddle";
    case Centring::Best:
        break;
    }
    return "best";
}

namespace {

    /// GB/T 151's pitch and groove spacing by tube diameter, in whole mm.
    constexpr struct
    {
        int tube, pitch, spacing;
    } kGb151[] = { { 10, 14, 28 }, { 12, 16, 30 }, { 14, 19, 32 }, { 16, 22, 35 }, { 19, 25, 38 },
        { 20, 26, 40 }, { 22, 28, 42 }, { 25, 32, 44 }, { 30, 38, 50 }, { 32, 40, 52 },
        { 35, 44, 56 }, { 38, 48, 60 }, { 45, 57, 68 }, { 50, 64, 76 }, { 55, 70, 78 },
        { 57, 72, 80 } };

    /// GB/T 151's least number of tie rods for DN below each bound (mm), by rod diameter 10,
    /// 12 and 16 mm.
    constexpr int kGbBounds[] = { 400, 700, 900, 1300, 1500, 1800, 2000, 2300, 2600 };
    constexpr int kGbRods[3][9] = { { 4, 6, 10, 12, 16, 18, 24, 32, 40 },
        { 4, 4, 8, 10, 12, 14, 18, 24, 28 }, { 4, 4, 6, 6, 8, 10, 12, 14, 16 } };

    /// TEMA class R: nominal diameters in inches from each bound up, the rod diameter in
    /// thousandths of a mm and the least number. The last row runs to 100 inches inclusive.
    constexpr struct
    {
        int from, rod, count;
    } kTema[] = { { 6, 9525, 4 }, { 16, 9525, 6 }, { 28, 12700, 6 }, { 34, 12700, 8 },
        { 49, 12700, 10 }, { 61, 15875, 12 } };
    constexpr int kTemaLast = 100;

    /// n inches in units: 25.4 mm each.
    constexpr std::int64_t inches(std::int64_t n)
    {
        return n * 254 * kUnitsPerMm / 10;
    }

    /// GB/T 151's rod diameter for a tube: 10 for 10 to 14 mm, 12 above 14 and below 25, 16
    /// for 25 to 57; the index of its column, or -1 outside.
    int gbRodColumn(Length tube)
    {
        if (tube < mm(10) || mm(57) < tube)
            return -1;
        return !(mm(14) < tube) ? 0 : tube < mm(25) ? 1 : 2;
    }

    constexpr int kGbRodDiameters[] = { 10, 12, 16 };

} // namespace

std::optional<StandardPitch> gb151Pitch(Length tube, Pattern pattern)
{
    for (const auto &row : kGb151)
        if (tube == mm(row.tube)) {
            // The standard's note for 25 mm tubes on the rotated square.
            const Length spacing = row.tube == 25 && pattern == Pattern::RotatedSquare
                ? Length { 4525 * kUnitsPerMm / 100 }
                : mm(row.spacing);
            return StandardPitch { mm(row.pitch), spacing };
        }
    return std::nullopt;
}

std::string gb151Diameters()
{
    std::string text;
    for (const auto &row : kGb151)
        text += (text.empty() ? "" : ", ") + std::to_string(row.tube);
    return text;
}

TieRodCount tieRodCountOf(const Inputs &in)
{
    TieRodCount rods;
    const int column = gbRodColumn(in.tube);
    const auto outside = [](const std::string &message) {
        return InputError(message, Problem::OutsideTable, Field::TieRods);
    };
    switch (in.tieRods) {
    case TieRodRule::None:
        return rods;
    case TieRodRule::Count:
        rods.count = in.tieRodCount;
        if (in.gb151 && column >= 0)
            rods.diameter = mm(kGbRodDiameters[column]);
        return rods;
    case TieRodRule::Gb151: {
        if (column < 0)
            throw outside("GB/T 151's tie rods are for tubes of 10 to 57 mm, not "
                + lengthText(in.tube) + " mm: give --tie-rods N");
        for (int i = 0; i < 9; ++i)
            if (in.diameter < mm(kGbBounds[i]))
                return { kGbRods[column][i], mm(kGbRodDiameters[column]) };
        throw outside("GB/T 151's tie-rod table ends below DN 2600, not at "
            + lengthText(in.diameter) + " mm: give --tie-rods N");
    }
    case TieRodRule::Tema:
        break;
    }
    if (in.diameter.units < inches(kTema[0].from) || inches(kTemaLast) < in.diameter.units)
        throw outside("TEMA's tie-rod table covers shells of 6 to 100 inches (152.4 to 2540 mm), "
                      "not "
            + lengthText(in.diameter) + " mm: give --tie-rods N");
    for (int i = 5; i >= 0; --i)
        if (inches(kTema[i].from) <= in.diameter.units)
            return { kTema[i].count, Length { kTema[i].rod * (kUnitsPerMm / 1000) } };
    return rods;
}

Length defaultClearance(Length tube)
{
    return { std::max(tube.units / 4, mm(8).units) };
}

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
    checkDesign(checks, in);
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

namespace {

    bool isShifted(const Inputs &in)
    {
        return in.lanes == LaneModel::Shift && in.passes > 1;
    }

    /// The layout decided and counted, without its tie rods: for inputs already validated.
    Layout arranged(const Inputs &inputs)
    {
        Layout layout;
        layout.inputs = inputs;
        layout.clearance = clearanceOf(inputs);
        layout.layoutCircle = layoutCircleOf(inputs);
        layout.isShifted = isShifted(inputs);
        if (inputs.bundle == Bundle::UTube)
            layout.bendRadius = bendRadiusOf(inputs);

        const auto arrange = [&](bool straddle) {
            const Decided decided = layout.isShifted
                ? decideShift(inputs, layout.clearance, layout.layoutCircle, straddle)
                : decide(inputs, layout.clearance, layout.layoutCircle, straddle);
            layout.plan = decided.plan;
            layout.shifted = decided.shifted;
            layout.lanes = decided.lanes;
            layout.laneCount = decided.laneCount;
            layout.counts = layout.isShifted ? count(layout.shifted) : count(layout.plan);
            layout.centring = straddle ? Centring::Straddle : Centring::OnTube;
        };
        if (inputs.centring != Centring::Best) {
            arrange(inputs.centring == Centring::Straddle);
            return layout;
        }
        arrange(false);
        Layout onTube = layout;
        arrange(true);
        if (layout.counts.total > onTube.counts.total) {
            layout.otherTotal = onTube.counts.total;
            return layout;
        }
        onTube.otherTotal = layout.counts.total;
        return onTube;
    }

    std::vector<RowSpan> spansOf(const Layout &layout)
    {
        return layout.isShifted ? spans(layout.shifted) : spans(layout.plan);
    }

    SiteAt siteOf(const Layout &layout, const Site &site)
    {
        return layout.isShifted ? siteAt(layout.shifted, site) : siteAt(layout.plan, site);
    }

    /// Puts the tie rods in place of tubes and takes them off the counts.
    void placeRods(Layout &layout)
    {
        layout.tieRods = tieRodCountOf(layout.inputs);
        const int wanted = layout.tieRods.count;
        if (wanted < 1)
            return;
        const std::vector<RowSpan> rows = spansOf(layout);
        const auto sites =
            placeTieRods(rows, wanted, layout.inputs.pattern == Pattern::RotatedTriangular);
        if (!sites)
            throw InputError(std::to_string(wanted)
                    + " tie rods do not fit at the edge of this bundle: it has "
                    + std::to_string(edgeTubes(rows))
                    + " tubes there, and two rods need a tube between them",
                Problem::TooManyTieRods, Field::TieRods);
        layout.tieRodSites = *sites;
        for (const Site &site : *sites) {
            const SiteAt at = siteOf(layout, site);
            layout.tieRodPositions.push_back(at);
            --layout.counts.perPass[at.pass - 1];
        }
        layout.counts.total -= wanted;
    }

    /// The values GB/T 151 gave, in the order of the fields.
    std::vector<Field> standardFields(const Layout &layout)
    {
        const Inputs &in = layout.inputs;
        std::vector<Field> fields = in.fromStandard;
        if (layout.isShifted && !in.laneSpacing)
            fields.push_back(Field::LaneSpacing);
        if (in.gb151 && in.given == Given::Shell && !in.clearance)
            fields.push_back(Field::Clearance);
        if (in.tieRods == TieRodRule::Gb151)
            fields.push_back(Field::TieRods);
        std::sort(fields.begin(), fields.end());
        fields.erase(std::unique(fields.begin(), fields.end()), fields.end());
        return fields;
    }

} // namespace

Layout study(const Inputs &inputs)
{
    validate(inputs);
    Layout layout = arranged(inputs);
    placeRods(layout);
    if (inputs.bundle == Bundle::UTube)
        layout.uTubes = layout.counts.total / 2;
    layout.fromStandard = standardFields(layout);
    for (const Length cut : inputs.baffleCuts)
        layout.baffles.push_back(baffleOf(layout, cut));
    return layout;
}

std::vector<Tube> tubes(const Layout &layout)
{
    std::vector<Tube> list;
    list.reserve(static_cast<std::size_t>(layout.counts.inCircle));
    const auto rodAt = [&layout](const Site &site) {
        return std::find(layout.tieRodSites.begin(), layout.tieRodSites.end(), site)
            != layout.tieRodSites.end();
    };
    if (layout.isShifted) {
        forEachTube(layout.shifted, [&](const Site &site, int pass) {
            const SiteAt at = siteAt(layout.shifted, site);
            Tube tube { at.x, at.y, pass, pass > 0 ? Removed::No : Removed::Centre };
            tube.tieRod = pass > 0 && !layout.tieRodSites.empty() && rodAt(site);
            list.push_back(tube);
        });
        return list;
    }
    const Plan &plan = layout.plan;
    // Made from the whole-number positions once, at the end, in long double.
    const long double p = static_cast<long double>(plan.pitch) / kUnitsPerMm;
    const long double xUnit = p / 2 * std::sqrt(static_cast<long double>(plan.fx));
    const long double yUnit = p / 4 * std::sqrt(static_cast<long double>(plan.fy));
    // + 0.0 turns the axis's -0 into 0.
    const auto tubeOf = [&](const TubeAt &at) {
        return Tube { static_cast<double>(at.n * xUnit) + 0.0,
            static_cast<double>(at.Y * yUnit) + 0.0, at.pass, at.removed };
    };
    if (layout.tieRodSites.empty()) {
        forEachTube(plan, [&](const TubeAt &at) { list.push_back(tubeOf(at)); });
        return list;
    }
    forEachTube(plan, [&](const TubeAt &at) {
        Tube tube = tubeOf(at);
        tube.tieRod = at.pass > 0 && rodAt({ at.Y / plan.rowStep, at.n });
        list.push_back(tube);
    });
    return list;
}

namespace {

    /// Diameters from `from` (inclusive) to `to` (exclusive), in units, over which the number of
    /// tie rods stays `rods`.
    struct RodBand
    {
        Int128 from, to;
        int rods;
    };

    /// The bands of a search: one for no tie rods or a count; the table's rows otherwise.
    std::vector<RodBand> rodBands(const Inputs &in)
    {
        constexpr Int128 kAll = Int128(1) << 100;
        switch (in.tieRods) {
        case TieRodRule::None:
            return { { 0, kAll, 0 } };
        case TieRodRule::Count:
            return { { 0, kAll, in.tieRodCount } };
        case TieRodRule::Gb151: {
            const int column = gbRodColumn(in.tube);
            std::vector<RodBand> bands;
            for (int i = 0; i < 9 && column >= 0; ++i)
                bands.push_back({ i ? mm(kGbBounds[i - 1]).units : 0, mm(kGbBounds[i]).units,
                    kGbRods[column][i] });
            return bands;
        }
        case TieRodRule::Tema:
            break;
        }
        std::vector<RodBand> bands;
        bands.reserve(6);
        for (int i = 0; i < 6; ++i)
            bands.push_back({ inches(kTema[i].from),
                i < 5 ? inches(kTema[i + 1].from) : inches(kTemaLast) + 1, kTema[i].count });
        return bands;
    }

} // namespace

MinShell minShell(
    Inputs inputs, std::int64_t required, Length resolution, const std::function<bool()> &stop)
{
    if (required < 1)
        throw InputError("the number of tubes must be 1 or more");
    {
        Checks checks({});
        checkLength(checks, resolution, "the resolution", Field::None);
        if (!checks.found.empty())
            throw checks.found.front();
    }
    MinShell answer;
    const Int128 offset = offsetOf(inputs);
    const Int128 unit = resolution.units;
    const std::vector<RodBand> bands = rodBands(inputs);
    // The largest step within 100 m, within the rows a count may take and within the tie-rod
    // table.
    const Int128 widest =
        std::min<Int128>({ kMaxUnits, 2 * Int128(kMaxPitchesInRadius) * inputs.pitch.units + offset,
            bands.empty() ? 0 : bands.back().to - 1 });
    const std::int64_t lastStep = static_cast<std::int64_t>(widest / unit);
    answer.limit = { lastStep * resolution.units };
    // Only the diameter changes from step to step, and the widest one has the most rows: one
    // check covers them all.
    inputs.diameter = lastStep < 1 ? resolution : answer.limit;
    validate(inputs);
    // Below the first step whose circle holds a centre, every total is 0.
    const std::int64_t firstStep =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(ceilDiv(offset, unit)));
    if (lastStep < firstStep)
        return answer;

    const auto checkStop = [&] {
        if (stop && stop())
            throw Stopped();
    };
    const auto at = [&](std::int64_t step) {
        checkStop();
        inputs.diameter = { step * resolution.units };
        return arranged(inputs);
    };
    const auto widthAt = [&](std::int64_t step) {
        return static_cast<std::int64_t>(step * unit - offset);
    };
    const bool offCentre = inputs.passes == 6 || inputs.passes == 8;
    const bool shifted = isShifted(inputs);
    const Pattern pattern = inputs.pattern;
    const std::int64_t p = inputs.pitch.units;
    // The lanes' positions, fixed but for the off-centre lanes' snap index (m under shift).
    const ShiftPlan shape = shifted
        ? decideShift(inputs, clearanceOf(inputs), layoutCircleOf(inputs), false).shifted
        : ShiftPlan {};
    const auto snapAt = [&](std::int64_t step) {
        return shifted ? shiftInner(shape, widthAt(step), offCentreShare(inputs.passes))
                       : snapIndex(pattern, inputs.passes, widthAt(step), p);
    };
    // The most any step of snap indices m1..m2 can hold: its largest circle, with the
    // off-centre lanes where they leave the most room.
    const auto mostWithin = [&](std::int64_t m1, std::int64_t m2, std::int64_t step) {
        inputs.diameter = { step * resolution.units };
        std::int64_t most = 0;
        for (bool straddle : arrangements(inputs.centring)) {
            checkStop();
            const Length b = clearanceOf(inputs), circle = layoutCircleOf(inputs);
            if (shifted) {
                // Every row beyond the lane moves by So − s as m passes it, and a row holds no
                // fewer tubes nearer the axis: the rows at their innermost, no centre tube.
                ShiftPlan plan = decideShift(inputs, b, circle, straddle).shifted;
                plan.inner = surdSign(plan.offSpacing, -Int128(plan.sq), plan.sf) >= 0 ? m2 : m1;
                plan.centreTube = false;
                plan.rows = shiftRowCount(plan);
                most = std::max(most, count(plan).total);
                continue;
            }
            Plan plan = decide(inputs, b, circle, straddle).plan;
            const std::int64_t low = snapRow(pattern, m1), high = snapRow(pattern, m2);
            const std::int64_t reach = plan.laneReach[0] - (high - low) / 2;
            const int last = plan.horizontalLanes - 1;
            plan.laneY[0] = (low + high) / 2;
            plan.laneY[last] = -plan.laneY[0];
            plan.laneReach[0] = plan.laneReach[last] = reach;
            most = std::max(most, count(plan).total);
        }
        return most;
    };

    // The first step of [lo, hi] whose total reaches `need`.
    const auto searchRange = [&](std::int64_t lo, std::int64_t hi,
                                 std::int64_t need) -> std::optional<std::int64_t> {
        const auto total = [&](std::int64_t step) { return at(step).counts.total; };
        // Where the total only grows.
        const auto firstReaching = [&](std::int64_t from,
                                       std::int64_t to) -> std::optional<std::int64_t> {
            if (total(to) < need)
                return std::nullopt;
            while (from < to) {
                const std::int64_t mid = from + (to - from) / 2;
                if (total(mid) >= need)
                    to = mid;
                else
                    from = mid + 1;
            }
            return from;
        };
        if (!offCentre)
            return firstReaching(lo, hi);
        // The first step of [lo, hi] whose snap index is at least m (hi + 1 for none).
        const auto firstStepOf = [&](std::int64_t m) {
            std::int64_t from = lo, to = hi + 1;
            while (from < to) {
                const std::int64_t mid = from + (to - from) / 2;
                if (snapAt(mid) >= m)
                    to = mid;
                else
                    from = mid + 1;
            }
            return from;
        };
        // Depth first, lowest snap indices first: the first run that can hold N is searched
        // for its first step before any larger one is looked at.
        const std::function<std::optional<std::int64_t>(std::int64_t, std::int64_t)> search =
            [&](std::int64_t m1, std::int64_t m2) -> std::optional<std::int64_t> {
            const std::int64_t from = firstStepOf(m1), to = firstStepOf(m2 + 1) - 1;
            if (to < from)
                return std::nullopt;
            if (m1 == m2)
                return firstReaching(from, to);
            if (mostWithin(m1, m2, to) < need)
                return std::nullopt;
            const std::int64_t middle = m1 + (m2 - m1) / 2;
            if (auto first = search(m1, middle))
                return first;
            return search(middle + 1, m2);
        };
        return search(snapAt(lo), snapAt(hi));
    };

    // Tie rods from a table come in bands of the diameter; each band needs N more tubes.
    std::optional<std::int64_t> found;
    for (const RodBand &band : bands) {
        const auto lo =
            static_cast<std::int64_t>(std::max<Int128>(firstStep, ceilDiv(band.from, unit)));
        const auto hi =
            static_cast<std::int64_t>(std::min<Int128>(lastStep, ceilDiv(band.to, unit) - 1));
        if (lo <= hi && (found = searchRange(lo, hi, required + band.rods)))
            break;
    }
    if (!found)
        return answer;
    answer.reached = true;
    inputs.diameter = { *found * resolution.units };
    answer.layout = study(inputs);
    answer.diameter = answer.layout->inputs.diameter;
    if (*found > 1) {
        answer.below = Length { (*found - 1) * resolution.units };
        inputs.diameter = *answer.below;
        Layout below = arranged(inputs);
        if (inputs.tieRods != TieRodRule::None && problemsOf(inputs).empty()) {
            try {
                placeRods(below);
            } catch (const InputError &) {
                // Too small for its tie rods: its count before them is the figure there is.
            }
        }
        answer.belowCounts = below.counts;
    }
    return answer;
}

} // namespace layout
