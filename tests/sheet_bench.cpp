// What the layout window does for each change of input at 100,000 tubes: the study and its
// drawing, counted off the typing thread, and one paint of the whole sheet.

#include "layout_ui/counts_panel.h"
#include "layout_ui/sheet_view.h"
#include "layout_ui/sheet_window.h"

#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>

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

/// What an edit's counts wait for on the window's own thread: the study of the layout with the
/// edit, its summary, and the counts shown.
void EditCounts(benchmark::State &state)
{
    layout::Inputs in = largeSheet();
    layout_ui::CountsPanel counts;
    std::int64_t row = 0;
    for (auto _ : state) {
        in.edits = { { { 2 * (++row % 50), 0 }, layout::EditAction::Remove } };
        counts.show(report::summarise(layout::studyOne(in)));
    }
}
BENCHMARK(EditCounts)->Unit(benchmark::kMillisecond);

/// An edit made in the window until its drawing is shown and painted: the study and drawing off
/// the window's thread, then one paint of the whole sheet, as the designer sees it.
void EditDrawn(benchmark::State &state)
{
    QStandardPaths::setTestModeEnabled(true);
    layout_ui::SheetWindow window;
    window.resize(1100, 720);
    window.show();
    window.applyOptions({ { "otl", "8350" }, { "tube", "19" }, { "pitch", "25" }, { "passes", "4" },
        { "centre-tube", "100" } });
    const auto waitForDrawing = [&window] {
        while (window.isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    };
    waitForDrawing();
    auto *view = window.findChild<layout_ui::SheetView *>(QStringLiteral("sheet"));
    bool removed = false;
    for (auto _ : state) {
        removed = !removed;
        window.editTube(
            { 2, 0 }, removed ? layout_ui::TubeEdit::Remove : layout_ui::TubeEdit::Restore);
        waitForDrawing();
        view->repaint();
    }
    QSettings().clear();
}
BENCHMARK(EditDrawn)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
