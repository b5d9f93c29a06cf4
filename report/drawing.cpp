#include "report/drawing.h"

#include "report/csv.h"
#include "report/summary.h"

#include <algorithm>
#include <cmath>

namespace report {
namespace {

    using namespace sheet::palette;

    constexpr sheet::Colour kLane { 0x6a, 0x3d, 0x9a };
    // One fill per pass, told apart on screen and in print, and none of them the red of the
    // removed tubes; CAD colours likewise.
    constexpr sheet::Colour kPassFill[layout::kMaxPasses] = { { 0x8d, 0xd3, 0xc7 },
        { 0xff, 0xff, 0xb3 }, { 0xbe, 0xba, 0xda }, { 0x80, 0xb1, 0xd3 }, { 0xfd, 0xb4, 0x62 },
        { 0xb3, 0xde, 0x69 }, { 0xd9, 0xd9, 0xd9 }, { 0xbc, 0x80, 0xbd } };
    constexpr int kPassAci[layout::kMaxPasses] = { 3, 2, 5, 1, 4, 30, 90, 210 };
    constexpr sheet::Colour kBaffle { 0xd9, 0x5f, 0x02 };
    constexpr sheet::Colour kWindow { 0xf1, 0xc4, 0x9c };

    /// A line across the layout circle of radius r at distance `at` from its centre, if it
    /// crosses it.
    void chord(sheet::Scene &scene, double r, double at, bool horizontal, int layer, bool dashed)
    {
        if (std::abs(at) >= r)
            return;
        const double half = std::sqrt(r * r - at * at);
        if (horizontal)
            scene.lines.push_back({ -half, at, half, at, layer, dashed });
        else
            scene.lines.push_back({ at, -half, at, half, layer, dashed });
    }

} // namespace

Layers layersOf(int passes)
{
    Layers named;
    const auto add = [&named](sheet::Layer layer) {
        named.layers.push_back(std::move(layer));
        return static_cast<int>(named.layers.size()) - 1;
    };
    named.shell = add({ "SHELL", 7, kInk, std::nullopt, 2 });
    named.circle = add({ "LAYOUT", 5, kLayoutCircle, std::nullopt, 1 });
    // Kept for CAD users who look for it; a layout's tubes are on their pass layers.
    named.tubes = add({ "TUBES", 7, kInk, std::nullopt, 0.5 });
    for (int i = 0; i < passes; ++i)
        named.pass[i] =
            add({ "PASS_" + std::to_string(i + 1), kPassAci[i], kInk, kPassFill[i], 0.5 });
    named.lanes = add({ "LANES", 6, kLane, std::nullopt, 1 });
    named.removed = add({ "REMOVED", 1, kRemovedInk, kRemovedTube, 0.5 });
    named.centre = add({ "CENTRE", 1, kInk, kCentreTube, 0.5 });
    named.rods = add({ "TIE_RODS", 250, kInk, kInk, 0.5 });
    named.baffle = add({ "BAFFLE", 30, kBaffle, std::nullopt, 1.5 });
    named.window = add({ "BAFFLE_WINDOW", 254, kWindow, std::nullopt, 0.5 });
    named.text = add({ "TEXT", 7, kInk, std::nullopt, 1 });
    named.plate = add({ "IMPINGEMENT", 4, kLane, std::nullopt, 1.5 });
    named.dummy = add({ "DUMMY", 8, kInk, kRemovedTube, 0.5 });
    return named;
}

namespace {

    /// Every tube that fits: those left filled by pass, the tie rods, those in a lane as
    /// outlines, those the centre tube takes in red; then the centre tube and its clearance.
    void addTubes(sheet::Scene &scene, const layout::Layout &layout, const Layers &named,
        const std::vector<layout::Tube> &tubes)
    {
        const layout::Inputs &in = layout.inputs;
        const double d = layout::millimetres(in.tube);
        for (int i = 1; i <= layout.counts.passes; ++i)
            for (const layout::Tube &tube : tubes)
                if (tube.pass == i && !tube.tieRod)
                    scene.circles.push_back({ tube.x, tube.y, d, named.pass[i - 1] });
        // A rod as thick as the table says, else as the tube it replaces.
        const double rod =
            layout.tieRods.diameter ? layout::millimetres(*layout.tieRods.diameter) : d;
        for (const layout::Tube &tube : tubes)
            if (tube.tieRod)
                scene.circles.push_back({ tube.x, tube.y, rod, named.rods });
        for (const layout::Tube &tube : tubes)
            if (tube.removed == layout::Removed::Lane || tube.removed == layout::Removed::Plate
                || tube.removed == layout::Removed::Edit)
                scene.circles.push_back({ tube.x, tube.y, d, named.removed, false, true });
        for (const layout::Tube &tube : tubes)
            if (tube.removed == layout::Removed::Dummy)
                scene.circles.push_back({ tube.x, tube.y, d, named.dummy });
        for (const layout::Tube &tube : tubes)
            if (tube.removed == layout::Removed::Centre)
                scene.circles.push_back({ tube.x, tube.y, d, named.removed });
        if (in.centreTube) {
            scene.circles.push_back({ 0, 0, layout::millimetres(*in.centreTube), named.centre });
            scene.circles.push_back({ 0, 0, layout::millimetres(layout::centreCircleOf(in)),
                named.centre, true, true });
        }
    }

    /// Each lane's centre line and its two edges dashed, across the layout circle.
    void addLanes(sheet::Scene &scene, const layout::Layout &layout, int layer)
    {
        const double radius = layout::millimetres(layout.layoutCircle) / 2;
        for (int i = 0; i < layout.laneCount; ++i) {
            const layout::Lane &lane = layout.lanes[i];
            chord(scene, radius, lane.position, lane.horizontal, layer, false);
            for (const double edge : { -lane.spacing / 2, lane.spacing / 2 })
                chord(scene, radius, lane.position + edge, lane.horizontal, layer, true);
        }
    }

    /// The impingement plate as a rectangle, and its nozzle's bore dashed from the plate up
    /// through the shell.
    void addPlate(sheet::Scene &scene, const layout::Inputs &in, int layer)
    {
        const layout::Impingement &plate = *in.impingement;
        const double top = layout::millimetres(in.diameter) / 2 - layout::millimetres(plate.height);
        const double bottom = top - layout::millimetres(plate.thickness);
        const double half = layout::millimetres(plate.plate) / 2;
        scene.lines.push_back({ -half, top, half, top, layer, false });
        scene.lines.push_back({ half, top, half, bottom, layer, false });
        scene.lines.push_back({ half, bottom, -half, bottom, layer, false });
        scene.lines.push_back({ -half, bottom, -half, top, layer, false });
        const double bore = layout::millimetres(plate.nozzle) / 2,
                     radius = layout::millimetres(in.diameter) / 2;
        const double shell = std::sqrt(std::max(0.0, radius * radius - bore * bore));
        for (const double x : { -bore, bore })
            scene.lines.push_back({ x, top, x, shell, layer, true });
    }

    /// Baffle cuts: the cut lines dashed across the shell, the windows hatched lightly, the
    /// holes the edge crosses ringed.
    void addBaffles(sheet::Scene &scene, const layout::Layout &layout, const Layers &named,
        const std::vector<layout::Tube> &tubes, double outer)
    {
        const double d = layout::millimetres(layout.inputs.tube);
        for (const layout::Baffle &cut : layout.baffles) {
            const double yc = cut.cutLine, radius = outer / 2;
            for (const double side : { 1.0, -1.0 }) {
                chord(scene, radius, side * yc, true, named.baffle, true);
                const double step = std::max(outer / 40, d / 2);
                for (double y = yc + step / 2; y < radius; y += step)
                    chord(scene, radius, side * y, true, named.window, false);
            }
            // The rows the exact count found cut, and their mirror images at the other line:
            // rows lie far further apart than the micrometre the match allows.
            const auto cutRow = [&cut](double y) {
                return std::any_of(cut.edgeRows.begin(), cut.edgeRows.end(),
                    [y](double row) { return std::abs(std::abs(y) - row) < 1e-6; });
            };
            for (const layout::Tube &tube : tubes)
                // The figure counts tubes: a tie rod on the edge is not ringed.
                if (tube.pass > 0 && !tube.tieRod && cutRow(tube.y))
                    scene.circles.push_back({ tube.x, tube.y, d * 1.3, named.baffle, false, true });
        }
    }

    /// Each tube left labelled with its number in the tube list.
    void addNumbers(sheet::Scene &scene, const std::vector<layout::Tube> &tubes, double d)
    {
        std::int64_t n = 0;
        for (const layout::Tube &tube : tubes)
            if (isListed(tube)) {
                const std::string text = std::to_string(++n);
                // Wide enough for the digits, never taller than the tube is wide.
                const double height = std::min(0.4 * d, 1.5 * d / static_cast<double>(text.size()));
                scene.labels.push_back({ tube.x, tube.y, height, text, scene.textLayer });
            }
    }

} // namespace

sheet::Scene layoutScene(const layout::Layout &layout, bool numbers, const Wording &wording)
{
    const layout::Inputs &in = layout.inputs;
    const double d = layout::millimetres(in.tube);
    const double DL = layout::millimetres(layout.layoutCircle);

    sheet::Scene scene;
    scene.title = "Korvane tube-sheet layout";
    const Layers named = layersOf(layout.counts.passes);
    scene.layers = named.layers;
    scene.textLayer = named.text;
    const double outer = in.given == layout::Given::Shell ? layout::millimetres(in.diameter) : DL;
    scene.extent = std::max(
        { outer, DL, in.centreTube ? layout::millimetres(layout::centreCircleOf(in)) : 0.0, d });
    if (in.given == layout::Given::Shell)
        scene.circles.push_back({ 0, 0, outer, named.shell });
    scene.circles.push_back({ 0, 0, DL, named.circle });

    const std::vector<layout::Tube> tubes = layout::tubes(layout);
    addTubes(scene, layout, named, tubes);
    addLanes(scene, layout, named.lanes);
    if (in.impingement && in.given == layout::Given::Shell)
        addPlate(scene, in, named.plate);
    addBaffles(scene, layout, named, tubes, outer);
    if (numbers)
        addNumbers(scene, tubes, d);
    for (const Line &line : captionOf(layout)) {
        std::string text;
        for (const Message &message : line)
            text += wording.render(message);
        scene.caption.push_back(text);
    }
    // The legend's words are the summary's, each with its layer.
    for (const LegendItem &item : legendOf(layout))
        scene.legend.push_back({ wording.render(item.text), item.layer });
    scene.asciiText = wording.ascii;
    return scene;
}

} // namespace report
