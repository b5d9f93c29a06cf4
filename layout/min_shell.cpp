#include "layout/study.h"

#include <algorithm>

namespace layout {

namespace {

    Int128 ceilDiv(Int128 a, Int128 b)
    {
        return a <= 0 ? -(-a / b) : (a + b - 1) / b;
    }

} // namespace

MinShell minShell(
    Inputs inputs, std::int64_t required, Length resolution, const std::function<bool()> &stop)
{
    if (required < 1)
        throw InputError("the number of tubes must be 1 or more");
    requireLength(resolution, "the resolution");
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
    // The lanes' positions, fixed but for the off-centre lanes' snap index (m under shift).
    const Arrangement shape = decide(inputs, false).arrangement;
    const auto snapAt = [&](std::int64_t step) { return shape.snapIndexAt(widthAt(step)); };
    // The most any step of snap indices m1..m2 can hold: its largest circle, with the
    // off-centre lanes where they leave the most room.
    const auto mostWithin = [&](std::int64_t m1, std::int64_t m2, std::int64_t step) {
        inputs.diameter = { step * resolution.units };
        std::int64_t most = 0;
        for (bool straddle : straddlesOf(inputs.centring)) {
            checkStop();
            most = std::max(most, decide(inputs, straddle).arrangement.mostWithin(m1, m2));
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
