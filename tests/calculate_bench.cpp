// Times one Calculate against a bare row scan without any run-time checks, on the same machine.

#include "engine/tube_count.h"
#include "runtime/error.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <string>

namespace {

class QuietHost : public engine::Host
{
public:
    explicit QuietHost(const std::array<std::string, 4> &inputs)
    {
        for (std::size_t i = 0; i < inputs.size(); ++i)
            m_text[int(engine::kInputBoxes[i])] = inputs[i];
    }
    std::string text(engine::Box box) const override { return m_text[int(box)]; }
    void setText(engine::Box box, std::string_view utf8) override
    {
        m_text[int(box)] = std::string(utf8);
    }
    void messageBox(std::string_view) override { }

private:
    std::array<std::string, 5> m_text;
};

void calculate(
    benchmark::State &state, const std::array<std::string, 4> &inputs, const std::string &expected)
{
    QuietHost host(inputs);
    engine::Form1 form(host);
    for (auto _ : state) {
        form.Command1_Click();
        benchmark::ClobberMemory();
    }
    if (host.text(engine::Box::Text2) != expected)
        state.SkipWithError("wrong result");
}

/// The layout count in plain doubles, without checks or row table: the floor to compare with.
double bareLayout(double Dl, double d, double gxj)
{
    const double h = std::sqrt(3.0) * gxj / 2;
    double total = 0;
    int k = 0;
    for (double y = 0; !(Dl / 2 - d / 2 < y); y = h + y, ++k) {
        const double half = std::sqrt(Dl / 2 * (Dl / 2) - y * y);
        double x = k % 2 == 0 ? gxj : gxj / 2;
        int c = k % 2 == 0 ? 1 : 0;
        while (!(Dl / 2 < std::sqrt(x * x + y * y) + d * 0.5) && !(x > half)) {
            x += gxj;
            ++c;
        }
        const int entry = k % 2 == 0 ? 2 * c - 1 : 2 * c;
        total += k == 0 ? entry : 2 * entry;
    }
    return total;
}

void bare(benchmark::State &state, double di, double gxj, double d, double expected)
{
    double total = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(di);
        total = bareLayout(di - 16, d, gxj);
        benchmark::DoNotOptimize(total);
    }
    if (total != expected)
        state.SkipWithError("wrong total");
}

/// The slowest inputs known: a full 1001-row table of rows with 16382 positions each, ended by
/// error 9; and the same in the centre count after a full layout.
void slowest(benchmark::State &state, const std::array<std::string, 4> &inputs)
{
    QuietHost host(inputs);
    engine::Form1 form(host);
    for (auto _ : state) {
        try {
            form.Command1_Click();
            state.SkipWithError("no run-time error");
        } catch (const runtime::RuntimeError &error) {
            if (error.code() != 9)
                state.SkipWithError("not error 9");
        }
    }
}

/// The bare scans of the benchmark sweep: shells 100 to 3000 mm, pitch 25, tube 19.
void bareSweep(benchmark::State &state)
{
    double sum = 0;
    for (auto _ : state) {
        sum = 0;
        for (int shell = 100; shell <= 3000; ++shell) {
            double di = shell;
            benchmark::DoNotOptimize(di);
            sum += bareLayout(di - 16, 19, 25);
        }
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

BENCHMARK_CAPTURE(slowest, layout, { "32780", "1", "0", "" })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(slowest, centre, { "1748", "1", "0", "32700" })->Unit(benchmark::kMillisecond);
BENCHMARK(bareSweep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(calculate, shell600_centre57, { "600", "32", "25", "57" }, "276");
BENCHMARK_CAPTURE(calculate, shell3000, { "3000", "12", "9.5", "0" }, "55705");
BENCHMARK_CAPTURE(bare, shell600, 600, 32, 25, 283);
BENCHMARK_CAPTURE(bare, shell3000, 3000, 12, 9.5, 55705);
