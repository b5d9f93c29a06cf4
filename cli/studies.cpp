#include "cli/studies.h"

#include "runtime/chars.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace cli {
namespace {

    /// A plain decimal number filling the whole text, or nothing.
    std::optional<double> strictNumber(std::string_view text)
    {
        double value = 0;
        const char *end = text.data() + text.size();
        const auto [stop, error] = runtime::readDouble(text.data(), end, value);
        if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value))
            return std::nullopt;
        return value;
    }

    constexpr std::int64_t kMostShells = 1000000;
    /// Shells are rounded to this, so that decimal steps stay decimal.
    constexpr double kFinestStep = 1e-9;

    bool warned(const Outcome &outcome)
    {
        for (const std::string &message : outcome.messages)
            if (message == engine::kCentreTubeTooSmall)
                return true;
        return false;
    }

    std::string csvField(const std::optional<engine::RowScan> &scan)
    {
        return scan ? numberText(scan->total) : std::string();
    }

} // namespace

Range parseRange(std::string_view text)
{
    std::optional<double> parts[3];
    std::size_t begin = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t colon = i < 2 ? text.find(':', begin) : text.size();
        if (colon == std::string_view::npos)
            break;
        parts[i] = strictNumber(text.substr(begin, colon - begin));
        begin = colon + 1;
    }
    if (!parts[0] || !parts[1] || !parts[2] || text.find(':', begin) != std::string_view::npos)
        throw std::invalid_argument("a sweep is FROM:TO:STEP, three numbers in mm");
    const Range range { *parts[0], *parts[1], *parts[2] };
    if (!(range.step > 0))
        throw std::invalid_argument("the sweep's STEP must be more than 0");
    if (range.from > range.to)
        throw std::invalid_argument("the sweep's FROM must not exceed its TO");
    if ((range.to - range.from) / range.step >= kMostShells)
        throw std::invalid_argument("a sweep takes at most a million shells");
    // Shells are kept to 1e-9 mm, and no double lies closer to the largest than its spacing:
    // a finer step would give the same shell over and over.
    const double largest = std::max(std::fabs(range.from), std::fabs(range.to));
    const double spacing = std::nextafter(largest, HUGE_VAL) - largest;
    if (range.to > range.from && (range.step < kFinestStep || range.step <= spacing))
        throw std::invalid_argument("the sweep's STEP is finer than the shells can be told apart "
                                    "(1e-9 mm, or the spacing of doubles at "
            + numberText(largest) + " mm)");
    return range;
}

std::int64_t shellCount(const Range &range)
{
    // The tolerance keeps TO itself when rounding leaves it a hair past the last step.
    return static_cast<std::int64_t>(std::floor((range.to - range.from) / range.step + 1e-9)) + 1;
}

double shellAt(const Range &range, std::int64_t i)
{
    const double shell = range.from + static_cast<double>(i) * range.step;
    if (std::fabs(shell) >= 1e6)
        return shell;
    return std::round(shell * 1e9) / 1e9;
}

std::string numberText(double value)
{
    // The shortest digits that read back as the same double; in fixed notation where a
    // designer writes diameters that way (1000000, not 1e+06), else in exponent form.
    const double size = std::fabs(value);
    const bool fixed = size == 0 || (size >= 1e-6 && size < 1e16);
    return fixed ? runtime::fixedText(value) : runtime::shortestText(value);
}

Inputs inputsFor(double shell, const Pattern &pattern)
{
    return { numberText(shell), pattern.pitch, pattern.tube, pattern.centre };
}

bool sweep(const Range &range, const Pattern &pattern, bool json, std::ostream &out,
    const volatile std::sig_atomic_t &stop)
{
    constexpr std::chrono::milliseconds kFlushEvery { 100 };
    const std::int64_t count = shellCount(range);
    out << (json ? "[\n" : "shell,total,removed,final,warning,error\n");
    auto flushed = std::chrono::steady_clock::now();
    std::int64_t i = 0;
    // A closed pipe or a full disk ends the sweep: nothing more can reach the reader.
    for (; i < count && out && !stop; ++i) {
        const double shell = shellAt(range, i);
        const Outcome outcome = calculate(inputsFor(shell, pattern));
        if (json) {
            nlohmann::ordered_json row = { { "shell", shell } };
            row.update(toJson(outcome));
            out << (i ? ",\n" : "") << row.dump(2);
        } else {
            out << numberText(shell) << ',' << csvField(outcome.layout) << ','
                << csvField(outcome.centre) << ',' << outcome.result.value_or("") << ','
                << (warned(outcome) ? "yes" : "no") << ','
                << (outcome.error ? std::to_string(outcome.error->number) : "") << '\n';
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - flushed >= kFlushEvery) {
            out.flush();
            flushed = now;
        }
    }
    // Stopped or not, the rows so far make a whole array.
    if (json)
        out << "\n]\n";
    out.flush();
    return !stop;
}

double finalCount(const Outcome &outcome)
{
    return outcome.result ? std::strtod(outcome.result->c_str(), nullptr) : 0.0;
}

MinShell minShell(std::int64_t required, double resolution, const Pattern &pattern)
{
    if (required < 1)
        throw std::invalid_argument("the required tube count must be 1 or more");
    if (!(resolution > 0) || !std::isfinite(resolution))
        throw std::invalid_argument("the resolution must be more than 0 mm");
    if (resolution < kFinestStep)
        throw std::invalid_argument("the resolution must be at least 1e-9 mm: shells are kept to "
                                    "1e-9 mm");
    const Range grid { 0, 0, resolution };
    const auto at = [&](std::int64_t k) { return calculate(inputsFor(shellAt(grid, k), pattern)); };
    const auto below = [&](const Outcome &o) {
        return o.result && finalCount(o) < static_cast<double>(required);
    };

    // Grow until a shell is no longer below the count, then bisect between the last two.
    std::int64_t lo = 0;
    Outcome loOutcome = at(0);
    std::int64_t hi = 0;
    Outcome hiOutcome = loOutcome;
    if (below(loOutcome)) {
        hi = 1;
        hiOutcome = at(hi);
        // Far beyond any tube sheet; a shell this large needs more rows than a count allows.
        constexpr double kLargestShell = 1e12;
        while (below(hiOutcome)) {
            lo = hi;
            loOutcome = std::move(hiOutcome);
            // No shell up to the limit holds N: an answer, not a failure. The doubling stops
            // before it could overflow, too.
            if (hi > std::numeric_limits<std::int64_t>::max() / 2
                || shellAt(grid, hi * 2) > kLargestShell) {
                MinShell none;
                none.limit = shellAt(grid, hi);
                none.below = shellAt(grid, lo);
                none.belowOutcome = std::move(loOutcome);
                return none;
            }
            hi *= 2;
            hiOutcome = at(hi);
        }
        while (hi - lo > 1) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            Outcome midOutcome = at(mid);
            if (below(midOutcome)) {
                lo = mid;
                loOutcome = std::move(midOutcome);
            } else {
                hi = mid;
                hiOutcome = std::move(midOutcome);
            }
        }
    }

    MinShell answer;
    answer.reached = hiOutcome.result.has_value();
    answer.shell = shellAt(grid, hi);
    answer.outcome = std::move(hiOutcome);
    if (hi > 0) {
        answer.below = shellAt(grid, lo);
        answer.belowOutcome = std::move(loOutcome);
    }
    return answer;
}

void writeTubes(const engine::TubeSheet &sheet, std::ostream &out)
{
    out << "x,y,row,removed\n";
    for (const engine::Tube &tube : sheet.tubes)
        out << numberText(tube.x) << ',' << numberText(tube.y) << ',' << tube.row << ','
            << (tube.removed ? "yes" : "no") << '\n';
}

} // namespace cli
