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

} // namespace
