// The layout study on arbitrary options, one "name=value" a line, read as korvane-layout and
// korvane-sheet read them: either one reason a field, or a layout whose counts add up, keep
// their symmetry, and take exactly their tie rods and their plate's tubes off the total.

#include "layout/options.h"
#include "layout/study.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "layout_fuzz: %s\n", what);
    std::abort();
}

void check(bool ok, const char *what)
{
    if (!ok)
        fail(what);
}

/// The tube list is linear in the tubes: only small layouts are listed.
constexpr std::int64_t kListed = 20'000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    std::vector<layout::TypedOption> typed;
    std::size_t start = 0;
    while (start <= input.size() && typed.size() < 16) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        const std::string line = input.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            typed.push_back({ line.substr(0, equals), line.substr(equals + 1) });
        start = end + 1;
    }
    const layout::Reading reading = layout::readLayout(typed);
    if (!reading.ok()) {
        // One reason a field, in the order of the fields.
        for (std::size_t i = 1; i < reading.problems.size(); ++i) {
            const layout::Field a = reading.problems[i - 1].field(),
                                b = reading.problems[i].field();
            check(a <= b, "problems out of the order of the fields");
            check(a != b || a == layout::Field::None, "two problems for one field");
        }
        return 0;
    }
    layout::Layout result;
    try {
        result = layout::study(reading.inputs);
    } catch (const layout::InputError &error) {
        // Found only by laying the tubes out.
        check(
            error.problem() == layout::Problem::TooManyTieRods, "the reader let through a refusal");
        return 0;
    }
    const layout::Counts &c = result.counts;
    const int rods = result.tieRods.count;
    std::int64_t sum = 0;
    for (int i = 0; i < c.passes; ++i) {
        check(c.perPass[i] >= 0, "a pass below 0");
        sum += c.perPass[i];
    }
    check(sum == c.total, "the passes do not add up to the total");
    // Every head's rule and clearance leaves the bundle inside the shell.
    check(reading.inputs.given != layout::Given::Shell
            || !(reading.inputs.diameter < result.layoutCircle),
        "a layout circle wider than its shell");
    check(c.total + rods == c.inCircle - c.laneRemoved - c.centreRemoved - c.impingementRemoved,
        "the counts do not add up");
    check(c.impingementRemoved == 0 || reading.inputs.impingement, "tubes taken by no plate");
    check(!result.arrangement.planOf<layout::ShiftPlan>() || c.laneRemoved == 0,
        "shifted lanes removed tubes");
    check(static_cast<int>(result.tieRodPositions.size()) == rods, "tie rods not all placed");
    if (reading.inputs.bundle == layout::Bundle::UTube)
        check(result.uTubes * 2 == c.total, "U-tubes are not half the holes");
    if (c.inCircle > kListed)
        return 0;
    std::set<std::pair<long long, long long>> kept;
    std::int64_t listed = 0, listedRods = 0, underPlate = 0;
    for (const layout::Tube &tube : layout::tubes(result)) {
        underPlate += tube.removed == layout::Removed::Plate;
        if (tube.pass == 0)
            continue;
        ++listed;
        listedRods += tube.tieRod;
        kept.insert({ static_cast<long long>(tube.x * 1e5 + (tube.x < 0 ? -0.5 : 0.5)),
            static_cast<long long>(tube.y * 1e5 + (tube.y < 0 ? -0.5 : 0.5)) });
    }
    check(listed == c.total + rods && listedRods == rods && underPlate == c.impingementRemoved,
        "the list is not the counts");
    // A plate over straight tubes parts the halves; left and right stay mirrors.
    const bool alike = result.arrangement.halvesAlike();
    for (const auto &[x, y] : kept)
        check(kept.count({ -x, y }) && (!alike || kept.count({ x, -y })),
            "a layout lost its symmetry");
    return 0;
}
