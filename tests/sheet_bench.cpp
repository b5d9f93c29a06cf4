// What the layout window does for each change of input at 100,000 tubes: the study and its
// drawing, counted off the typing thread, and one paint of the whole sheet.

#include "layout_ui/sheet_view.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

layout::Inputs largeSheet()
{
    // 100,729 tubes in the layout circle, as in the drawings' measurements.
    layout::Inputs in;
    in.given = layout::Given::LayoutCircle;
    in.diameter = layout::parseLength("8350", "");
    in.tube = layout::parseLength("19", "");
    in.pitch = layout::parseLength("25", "");
    in.passes = 4;
    in.centreTube = layout::parseLength("100", "");
    return in;
}

void StudyAndDrawing(benchmark::State &state)
{
    const layout::Inputs in = largeSheet();
    for (auto _ : state) {
        const layout_ui::Sheet sheet(layout::study(in));
        benchmark::DoNotOptimize(sheet.tubes.data());
    }
}
BENCHMARK(StudyAndDrawing)->Unit(benchmark::kMillisecond);

void PaintWholeSheet(benchmark::State &state)
{
    layout_ui::SheetView view;
    view.resize(800, 600);
    view.setSheet(std::make_shared<const layout_ui::Sheet>(layout::study(largeSheet())));
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        view.render(&image);
}
BENCHMARK(PaintWholeSheet)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
