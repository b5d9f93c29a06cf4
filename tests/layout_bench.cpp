// The layout study's counts, which cost in proportion to the rows, and its tube list, which is
// linear in the tubes: build/tests/layout_bench.

#include "layout/study.h"

#include <benchmark/benchmark.h>

namespace {

layout::Inputs inputs(const char *circle, const char *tube, const char *pitch, int passes,
    layout::Centring centring, layout::Given given = layout::Given::LayoutCircle)
{
    layout::Inputs in;
    in.given = given;
    in.diameter = layout::parseLength(circle, "circle");
    in.tube = layout::parseLength(tube, "tube");
    in.pitch = layout::parseLength(pitch, "pitch");
    in.passes = passes;
    in.centring = centring;
    return in;
}

/// About a million tubes: DL 20000, d 12, p 16, 4 passes, the better of both centrings.
void CountMillion(benchmark::State &state)
{
    const layout::Inputs in = inputs("20000", "12", "16", 4, layout::Centring::Best);
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::study(in).counts.total);
    state.counters["tubes"] = static_cast<double>(layout::study(in).counts.total);
}
BENCHMARK(CountMillion)->Unit(benchmark::kMicrosecond);

/// The same million tubes under the designers' lanes, in 8 passes: every fit a surd sign.
void CountMillionShifted(benchmark::State &state)
{
    layout::Inputs in = inputs("20000", "12", "16", 8, layout::Centring::OnTube);
    in.lanes = layout::LaneModel::Shift;
    in.laneSpacing = layout::mm(30);
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::study(in).counts.total);
    state.counters["tubes"] = static_cast<double>(layout::study(in).counts.total);
}
BENCHMARK(CountMillionShifted)->Unit(benchmark::kMicrosecond);

/// The million tubes in 8 passes on a tube, the mixed lanes: the baseline of the next three.
void CountMillionEight(benchmark::State &state)
{
    const layout::Inputs in = inputs("20000", "12", "16", 8, layout::Centring::OnTube);
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::study(in).counts.total);
    state.counters["tubes"] = static_cast<double>(layout::study(in).counts.total);
}
BENCHMARK(CountMillionEight)->Unit(benchmark::kMicrosecond);

/// The same in ribbon lanes, seven horizontal lanes, under either lane model.
void CountMillionRibbon(benchmark::State &state)
{
    layout::Inputs in = inputs("20000", "12", "16", 8, layout::Centring::OnTube);
    in.arrangement = layout::PassArrangement::Ribbon;
    if (state.range(0) == 1) {
        in.lanes = layout::LaneModel::Shift;
        in.laneSpacing = layout::mm(30);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::study(in).counts.total);
    state.counters["tubes"] = static_cast<double>(layout::study(in).counts.total);
}
BENCHMARK(CountMillionRibbon)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

/// The 8-pass million with an impingement plate under a 600 mm nozzle: each half's rows apart.
void CountMillionPlate(benchmark::State &state)
{
    layout::Inputs in =
        inputs("20016", "12", "16", 8, layout::Centring::OnTube, layout::Given::Shell);
    in.impingement =
        layout::Impingement { layout::mm(600), layout::mm(650), layout::mm(150), layout::mm(6) };
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::study(in).counts.total);
    state.counters["tubes"] = static_cast<double>(layout::study(in).counts.total);
}
BENCHMARK(CountMillionPlate)->Unit(benchmark::kMicrosecond);

/// About 100,000 tubes (DL 6000, d 12, p 16, 4 passes) with twelve sites edited: the count a
/// designer's click waits for.
void CountHundredThousandEdited(benchmark::State &state)
{
    layout::Inputs in = inputs("6000", "12", "16", 4, layout::Centring::OnTube);
    for (std::int64_t i = 0; i < 12; ++i)
        in.edits.push_back({ { 2 * i + 1, 7 + 2 * (i % 2) },
            i % 3 ? layout::EditAction::Remove : layout::EditAction::Dummy });
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::study(in).counts.total);
    state.counters["tubes"] = static_cast<double>(layout::study(in).counts.total);
}
BENCHMARK(CountHundredThousandEdited)->Unit(benchmark::kMicrosecond);

/// GB/T 151's 2-pass layout of a 1200 mm shell with its 16 tie rods placed at the edge.
void CountWithTieRods(benchmark::State &state)
{
    layout::Inputs in =
        inputs("1200", "19", "25", 2, layout::Centring::OnTube, layout::Given::Shell);
    in.lanes = layout::LaneModel::Shift;
    in.tieRods = layout::TieRodRule::Gb151;
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::study(in).counts.total);
    state.counters["tubes"] = static_cast<double>(layout::study(in).counts.total);
}
BENCHMARK(CountWithTieRods)->Unit(benchmark::kMicrosecond);

/// About 300 tubes: the window's example shell, 600/32/25, in 2 passes.
void CountSmall(benchmark::State &state)
{
    const layout::Inputs in =
        inputs("600", "25", "32", 2, layout::Centring::OnTube, layout::Given::Shell);
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::study(in).counts.total);
    state.counters["tubes"] = static_cast<double>(layout::study(in).counts.inCircle);
}
BENCHMARK(CountSmall)->Unit(benchmark::kNanosecond);

/// The list of 100,000 tube centres, for files and drawings.
void ListHundredThousand(benchmark::State &state)
{
    const layout::Layout layout =
        layout::study(inputs("6000", "12", "16", 4, layout::Centring::OnTube));
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::tubes(layout).size());
    state.counters["tubes"] = static_cast<double>(layout.counts.inCircle);
}
BENCHMARK(ListHundredThousand)->Unit(benchmark::kMillisecond);

/// The smallest shell for 1000 tubes in 6 passes, lanes moving as the shell grows.
void MinShell(benchmark::State &state)
{
    const layout::Inputs in =
        inputs("1", "25", "32", 6, layout::Centring::Best, layout::Given::Shell);
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::minShell(in, 1000, layout::mm(1)).diameter);
}
BENCHMARK(MinShell)->Unit(benchmark::kMillisecond);

/// The same search under the designers' lanes, where m moves the rows beyond the lanes.
void MinShellShifted(benchmark::State &state)
{
    layout::Inputs in = inputs("1", "25", "32", 6, layout::Centring::OnTube, layout::Given::Shell);
    in.lanes = layout::LaneModel::Shift;
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::minShell(in, 1000, layout::mm(1)).diameter);
}
BENCHMARK(MinShellShifted)->Unit(benchmark::kMillisecond);

/// The searches that used to take minutes: a billion tubes of 2 mm to the micrometre, a lane
/// wider than any shell, and 900 billion tubes of 0.1 mm, both in 8 passes with `best`.
void MinShellHard(benchmark::State &state)
{
    const int which = static_cast<int>(state.range(0));
    layout::Inputs in = which == 0 ? inputs("1", "2", "2.5", 8, layout::Centring::Best)
        : which == 1               ? inputs("1", "1", "1", 2, layout::Centring::OnTube)
                                   : inputs("1", "0.1", "0.1", 8, layout::Centring::Best);
    in.given = layout::Given::Shell;
    if (which == 1)
        in.laneSpacing = layout::mm(100000);
    const std::int64_t required = which == 0 ? 1'000'000'000 : which == 1 ? 1 : 900'000'000'000;
    const layout::Length step = layout::parseLength(which == 1 ? "1" : "0.000001", "R");
    for (auto _ : state)
        benchmark::DoNotOptimize(layout::minShell(in, required, step).reached);
}
BENCHMARK(MinShellHard)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
