#include "layout/study.h"

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

    /// The smallest W above which the snap index first exceeds `index`.
    std::int64_t nextSnap(Pattern pattern, int passes, std::int64_t index, std::int64_t p)
    {
        const Int128 e = offCentreShare(passes), P = p, i = index;
        switch (pattern) {
        case Pattern::Triangular:
            return smallestRootAtLeast(4 * e * e, 3'000'000 * P * P * (2 * i + 1) * (2 * i + 1));
        case Pattern::RotatedTriangular:
            return static_cast<std::int64_t>(ceilDiv(2000 * P * (i + 1) - 1000 * P, 2 * e));
        case Pattern::Square:
            return static_cast<std::int64_t>(ceilDiv(2000 * P * (i + 1) - 1000 * P, e));
        case Pattern::RotatedSquare:
            break;
        }
        return smallestRootAtLeast(2 * e * e, 4'000'000 * P * P * (i + 1) * (i + 1));
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
        std::array<Lane, kMaxHorizontalLanes + 1> lanes {};
        int laneCount = 0;
    };

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
            horizontal[count++] = { 0, spacing.horizontal };
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

Layout study(const Inputs &inputs)
{
    validate(inputs);
    Layout layout;
    layout.inputs = inputs;
    layout.clearance = clearanceOf(inputs);
    layout.layoutCircle = layoutCircleOf(inputs);

    const auto arrange = [&](bool straddle) {
        const Decided decided = decide(inputs, layout.clearance, layout.layoutCircle, straddle);
        layout.plan = decided.plan;
        layout.lanes = decided.lanes;
        layout.laneCount = decided.laneCount;
        layout.counts = count(layout.plan);
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

std::vector<Tube> tubes(const Layout &layout)
{
    const Plan &plan = layout.plan;
    std::vector<Tube> list;
    list.reserve(static_cast<std::size_t>(layout.counts.inCircle));
    // Made from the whole-number positions once, at the end, in long double.
    const long double p = static_cast<long double>(plan.pitch) / kUnitsPerMm;
    const long double xUnit = p / 2 * std::sqrt(static_cast<long double>(plan.fx));
    const long double yUnit = p / 4 * std::sqrt(static_cast<long double>(plan.fy));
    forEachTube(plan, [&](const TubeAt &at) {
        // + 0.0 turns the axis's -0 into 0.
        list.push_back({ static_cast<double>(at.n * xUnit) + 0.0,
            static_cast<double>(at.Y * yUnit) + 0.0, at.pass, at.removed });
    });
    return list;
}

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
    // The largest step within 100 m and within the rows a count may take.
    const Int128 widest =
        std::min<Int128>(kMaxUnits, 2 * Int128(kMaxPitchesInRadius) * inputs.pitch.units + offset);
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
        return study(inputs);
    };
    const auto total = [&](std::int64_t step) { return at(step).counts.total; };
    const auto widthAt = [&](std::int64_t step) {
        return static_cast<std::int64_t>(step * unit - offset);
    };
    // The first step in [lo, hi] whose total reaches `required`, where the total only grows.
    const auto firstReaching = [&](std::int64_t lo,
                                   std::int64_t hi) -> std::optional<std::int64_t> {
        if (total(hi) < required)
            return std::nullopt;
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            if (total(mid) >= required)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };

    std::optional<std::int64_t> found;
    const bool offCentre = inputs.passes == 6 || inputs.passes == 8;
    if (!offCentre) {
        // Nothing moves but the circle: the total only grows.
        found = firstReaching(firstStep, lastStep);
    } else {
        const Pattern pattern = inputs.pattern;
        const std::int64_t p = inputs.pitch.units;
        const auto snapAt = [&](std::int64_t step) {
            return snapIndex(pattern, inputs.passes, widthAt(step), p);
        };
        const std::int64_t firstSnap = snapAt(firstStep), lastSnap = snapAt(lastStep);
        // The steps over which the lanes stay on snap index m.
        const auto firstStepOf = [&](std::int64_t m) {
            if (m <= firstSnap)
                return firstStep;
            const Int128 from = nextSnap(pattern, inputs.passes, m - 1, p);
            return std::max(firstStep, static_cast<std::int64_t>(ceilDiv(from + offset, unit)));
        };
        const auto lastStepOf = [&](std::int64_t m) {
            if (m >= lastSnap)
                return lastStep;
            const Int128 next = nextSnap(pattern, inputs.passes, m, p);
            return std::min(lastStep, static_cast<std::int64_t>(ceilDiv(next + offset, unit)) - 1);
        };
        // The most any step of snap indices m1..m2 can hold: its largest circle, with the
        // off-centre lanes only where all their positions overlap.
        const auto mostWithin = [&](std::int64_t m1, std::int64_t m2, std::int64_t step) {
            inputs.diameter = { step * resolution.units };
            std::int64_t most = 0;
            for (bool straddle : arrangements(inputs.centring)) {
                checkStop();
                Plan plan =
                    decide(inputs, clearanceOf(inputs), layoutCircleOf(inputs), straddle).plan;
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
        // Depth first, lowest snap indices first: the first run that can hold N is searched
        // for its first step before any larger one is looked at.
        const std::function<std::optional<std::int64_t>(std::int64_t, std::int64_t)> search =
            [&](std::int64_t m1, std::int64_t m2) -> std::optional<std::int64_t> {
            const std::int64_t from = firstStepOf(m1), to = lastStepOf(m2);
            if (to < from)
                return std::nullopt;
            if (m1 == m2)
                return firstReaching(from, to);
            if (mostWithin(m1, m2, to) < required)
                return std::nullopt;
            const std::int64_t middle = m1 + (m2 - m1) / 2;
            if (auto first = search(m1, middle))
                return first;
            return search(middle + 1, m2);
        };
        found = search(firstSnap, lastSnap);
    }
    if (!found)
        return answer;
    answer.reached = true;
    answer.layout = at(*found);
    answer.diameter = answer.layout->inputs.diameter;
    if (*found > 1) {
        answer.below = Length { (*found - 1) * resolution.units };
        answer.belowCounts = at(*found - 1).counts;
    }
    return answer;
}

} // namespace layout
