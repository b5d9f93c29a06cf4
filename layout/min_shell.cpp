#include "layout/study.h"

#include <algorithm>

namespace layout {

namespace {

    Int128 ceilDiv(Int128 a, Int128 b)
    {
        return a <= 0 ? -(-a / b) : (a + b - 1) / b;
    }

    /// The first step of [from, to] that holds, for a predicate that holds from some step on
    /// (`to` when none before it does).
    template <class Holds>
    std::int64_t firstWhere(std::int64_t from, std::int64_t to, Holds &&holds)
    {
        while (from < to) {
            const std::int64_t mid = from + (to - from) / 2;
            if (holds(mid))
                to = mid;
            else
                from = mid + 1;
        }
        return from;
    }

    /// The search over the steps of the diameter, whole multiples of the resolution, for
    /// inputs that have been validated at the widest step.
    class Search
    {
    public:
        Search(const Inputs &inputs, Length resolution, const std::function<bool()> &stop)
            : m_inputs(inputs)
            , m_unit(resolution.units)
            , m_stop(stop)
            // The lanes' positions, fixed but for the off-centre lanes' snap indices.
            , m_shape(decide(inputs, false).arrangement)
            , m_offCentre(m_shape.hasOffCentreLanes())
        {
        }

        /// The first step of [lo, hi] whose layout circle holds a tube's centre (hi + 1 for
        /// none), within a band where the circle grows with the shell.
        std::int64_t firstCentred(std::int64_t lo, std::int64_t hi)
        {
            return firstWhere(lo, hi + 1, [&](std::int64_t step) { return widthAt(step) >= 0; });
        }

        /// The first step of [lo, hi] whose total reaches `need`.
        std::optional<std::int64_t> firstIn(std::int64_t lo, std::int64_t hi, std::int64_t need)
        {
            if (!m_offCentre)
                return firstReaching(lo, hi, need);
            return firstInRuns(snapAt(lo), snapAt(hi), lo, hi, need);
        }

        /// The first step after `step`, up to `hi`, whose layout differs from its own: where the
        /// total grows, or the off-centre lanes move. Between the two nothing a refusal turns on
        /// changes but the shell, and a larger shell only moves a baffle's cut further out.
        std::optional<std::int64_t> nextChange(std::int64_t step, std::int64_t hi)
        {
            if (step >= hi)
                return std::nullopt;
            const std::int64_t runEnd =
                m_offCentre ? firstStepOf(snapAt(step) + 1, step + 1, hi) - 1 : hi;
            const std::int64_t now = total(step);
            if (runEnd > step && total(runEnd) > now)
                return firstWhere(
                    step + 1, runEnd, [&](std::int64_t at) { return total(at) > now; });
            if (runEnd < hi)
                return runEnd + 1;
            return std::nullopt;
        }

    private:
        void checkStop() const
        {
            if (m_stop && m_stop())
                throw Stopped();
        }

        std::int64_t total(std::int64_t step)
        {
            checkStop();
            m_inputs.diameter = { static_cast<std::int64_t>(step * m_unit) };
            return arranged(m_inputs).counts.total;
        }

        /// DL − d at a step: the head's rule or the clearance sets DL from the shell.
        std::int64_t widthAt(std::int64_t step)
        {
            m_probe.diameter = { static_cast<std::int64_t>(step * m_unit) };
            return layoutCircleOf(m_probe).units - m_probe.tube.units;
        }

        Snaps snapsAt(std::int64_t step) { return m_shape.snapsAt(widthAt(step)); }
        std::int64_t snapAt(std::int64_t step) { return snapsAt(step).sum(); }

        /// The first step of [from, to] whose total reaches `need`, where the total only grows.
        std::optional<std::int64_t> firstReaching(
            std::int64_t from, std::int64_t to, std::int64_t need)
        {
            if (total(to) < need)
                return std::nullopt;
            return firstWhere(from, to, [&](std::int64_t step) { return total(step) >= need; });
        }

        /// The first step of [lo, hi] whose snap index is at least m (hi + 1 for none).
        std::int64_t firstStepOf(std::int64_t m, std::int64_t lo, std::int64_t hi)
        {
            return firstWhere(lo, hi + 1, [&](std::int64_t step) { return snapAt(step) >= m; });
        }

        /// The most any step of [from, to] can hold: the largest circle (and the plate at its
        /// highest), with each off-centre lane where it leaves the most room.
        std::int64_t mostWithin(std::int64_t from, std::int64_t to)
        {
            const Snaps low = snapsAt(from), high = snapsAt(to);
            m_inputs.diameter = { static_cast<std::int64_t>(to * m_unit) };
            std::int64_t most = 0;
            for (bool straddle : straddlesOf(m_inputs.centring)) {
                checkStop();
                most = std::max(most, decide(m_inputs, straddle).arrangement.mostWithin(low, high));
            }
            return most;
        }

        /// Depth first, lowest snap indices first: the first run that can hold N is searched
        /// for its first step before any larger one is looked at.
        std::optional<std::int64_t> firstInRuns(
            std::int64_t m1, std::int64_t m2, std::int64_t lo, std::int64_t hi, std::int64_t need)
        {
            const std::int64_t from = firstStepOf(m1, lo, hi), to = firstStepOf(m2 + 1, lo, hi) - 1;
            if (to < from)
                return std::nullopt;
            if (m1 == m2)
                return firstReaching(from, to, need);
            if (mostWithin(from, to) < need)
                return std::nullopt;
            const std::int64_t middle = m1 + (m2 - m1) / 2;
            if (auto first = firstInRuns(m1, middle, lo, hi, need))
                return first;
            return firstInRuns(middle + 1, m2, lo, hi, need);
        }

        Inputs m_inputs, m_probe = m_inputs;
        Int128 m_unit;
        const std::function<bool()> &m_stop;
        Arrangement m_shape;
        bool m_offCentre;
    };

    /// The answer's layout and the single count one step below it, or why that is refused.
    void answerAt(MinShell &answer, Layout layout, std::int64_t step, Length resolution)
    {
        answer.reached = true;
        answer.diameter = layout.inputs.diameter;
        Inputs inputs = layout.inputs;
        answer.layout = std::move(layout);
        if (step <= 1)
            return;
        answer.below = Length { (step - 1) * resolution.units };
        inputs.diameter = *answer.below;
        try {
            answer.belowCounts = studyOne(inputs).counts;
        } catch (const InputError &error) {
            answer.belowRefused = error;
        }
    }

    /// The bands of the shell over which the head's rule is one straight line, each split at
    /// the tie-rod table's rows: within one the layout circle only grows with the shell.
    std::vector<RodBand> bandsOf(const Inputs &inputs)
    {
        std::vector<Int128> edges;
        if (inputs.head == Head::Floating && headSetsCircle(inputs))
            for (const Length edge : floatingEdges())
                edges.push_back(edge.units);
        std::vector<RodBand> bands;
        for (const RodBand &rods : rodBands(inputs)) {
            Int128 from = rods.from;
            for (const Int128 edge : edges)
                if (edge > from && edge < rods.to) {
                    bands.push_back({ from, edge, rods.rods });
                    from = edge;
                }
            // Past a floating head's last band there are no allowances to lay out by.
            const Int128 to = edges.empty() ? rods.to : std::min(rods.to, edges.back());
            if (from < to)
                bands.push_back({ from, to, rods.rods });
        }
        return bands;
    }

    /// The least of Di − DL + d over the bands, which bounds the rows of every shell searched.
    Int128 leastOffset(Inputs inputs, const std::vector<RodBand> &bands)
    {
        Int128 least = offsetOf(inputs);
        for (const RodBand &band : bands) {
            inputs.diameter = { static_cast<std::int64_t>(std::min<Int128>(band.from, kMaxUnits)) };
            least = std::min(least, offsetOf(inputs));
        }
        // The pull-through rule rounds DL down: its offset may dip a thousandth below.
        return inputs.head == Head::PullThrough && headSetsCircle(inputs)
            ? least - kUnitsPerMm / 1000
            : least;
    }

    /// The single count of a shell, when it is not refused and holds `required` tubes.
    std::optional<Layout> singleCount(const Inputs &inputs, std::int64_t required)
    {
        try {
            Layout layout = studyOne(inputs);
            if (layout.counts.total >= required)
                return layout;
        } catch (const InputError &) {
            // Refused at this diameter alone: it holds nothing.
        }
        return std::nullopt;
    }

} // namespace

MinShell minShell(
    Inputs inputs, std::int64_t required, Length resolution, const std::function<bool()> &stop)
{
    if (required < 1)
        throw InputError("the number of tubes must be 1 or more");
    requireLength(resolution, "the resolution");
    MinShell answer;
    const Int128 unit = resolution.units;
    const std::vector<RodBand> bands = bandsOf(inputs);
    const Int128 offset = leastOffset(inputs, bands);
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
    if (lastStep < 1)
        return answer;

    Search search(inputs, resolution, stop);
    // Tie rods from a table come in bands of the diameter; each band needs N more tubes.
    for (const RodBand &band : bands) {
        const auto from = static_cast<std::int64_t>(std::max<Int128>(1, ceilDiv(band.from, unit)));
        const auto hi =
            static_cast<std::int64_t>(std::min<Int128>(lastStep, ceilDiv(band.to, unit) - 1));
        if (from > hi)
            continue;
        // Below the first step whose circle holds a centre, every total is 0.
        const std::int64_t lo = search.firstCentred(from, hi);
        if (lo > hi)
            continue;
        // A shell that holds N before its rods may still be refused (the rods do not fit,
        // the cut misses every tube): it does not hold N, and the search goes on past it.
        for (auto found = search.firstIn(lo, hi, required + band.rods); found;) {
            inputs.diameter = { *found * resolution.units };
            if (auto layout = singleCount(inputs, required)) {
                answerAt(answer, std::move(*layout), *found, resolution);
                return answer;
            }
            const auto next = search.nextChange(*found, hi);
            found = next ? search.firstIn(*next, hi, required + band.rods) : std::nullopt;
        }
    }
    return answer;
}

} // namespace layout
