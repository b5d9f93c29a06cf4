// The page's way into the C++: one call, a job's name and a JSON request in, a JSON answer out.
// Every figure, drawing and file the page shows or saves is made here by the programs' own
// functions, so the page and the programs cannot disagree.

#include "cli/calculation.h"
#include "layout/options.h"
#include "layout/reasons.h"
#include "layout_cli/drawing.h"
#include "layout_cli/report.h"
#include "layout_cli/tube_index.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using Json = nlohmann::ordered_json;

/// The box a field is typed in on the page, by korvane-layout's option names; the choices and
/// the standard's switch have their own.
const char *boxOf(layout::Field field)
{
    switch (field) {
    case layout::Field::Diameter:
        return "diameter";
    case layout::Field::Tube:
        return "tube";
    case layout::Field::Pitch:
        return "pitch";
    case layout::Field::Pattern:
        return "pattern";
    case layout::Field::Passes:
        return "passes";
    case layout::Field::Centring:
        return "centre";
    case layout::Field::LaneSpacing:
    case layout::Field::VerticalSpacing:
        return "lane-spacing";
    case layout::Field::Clearance:
        return "clearance";
    case layout::Field::CentreTube:
        return "centre-tube";
    case layout::Field::LaneModel:
        return "lanes";
    case layout::Field::Standard:
        return "gb151";
    case layout::Field::Bundle:
        return "bundle";
    case layout::Field::BendRadius:
        return "bend-radius";
    case layout::Field::TieRods:
        return "tie-rods";
    case layout::Field::BaffleCut:
        return "baffle-cut";
    case layout::Field::None:
        break;
    }
    return "";
}

Json problemJson(const layout::InputError &error)
{
    return { { "field", boxOf(error.field()) }, { "reason", layout::reasonOf(error) },
        { "message", error.what() } };
}

/// The layout last drawn, for the pointer and the downloads.
struct Drawn
{
    layout::Layout layout;
    layout_cli::TubeIndex index;
    explicit Drawn(const layout::Layout &counted)
        : layout(counted)
        , index(counted)
    {
    }
};
std::unique_ptr<Drawn> drawn;

/// What korvane-sheet shows beside the counts that the JSON leaves to the reader: the
/// defaults a box stands for, as they can be typed back.
Json viewJson(const layout::Layout &layout)
{
    Json view = { { "lane_defaults", layout_cli::laneDefaults(layout) },
        { "standard_spacing",
            layout.standardSpacing ? Json(layout::lengthText(*layout.standardSpacing))
                                   : Json(nullptr) },
        { "pitch", layout::lengthText(layout.inputs.pitch) },
        { "clearance", layout::lengthText(layout.clearance) },
        { "layout_circle", layout::lengthText(layout.layoutCircle) },
        { "bend_radius", layout::lengthText(layout::bendRadiusOf(layout.inputs)) },
        { "tie_rod_diameter",
            layout.tieRods.diameter ? Json(layout::lengthText(*layout.tieRods.diameter))
                                    : Json(nullptr) } };
    Json cuts = Json::array();
    for (const layout::Baffle &baffle : layout.baffles)
        cuts.push_back(layout::lengthText(baffle.cut));
    view["cuts"] = cuts;
    return view;
}

/// The shapes of the drawing for the page to paint, as korvane-sheet paints them: five numbers a
/// circle (x, y, radius, layer, 1 dashed + 2 hollow) and six a line (x1, y1, x2, y2, layer,
/// dashed), in the sheet's millimetres; the rest, few, in the JSON.
std::vector<double> circles, lines;

Json sceneJson(const sheet::Scene &scene)
{
    circles.clear();
    lines.clear();
    circles.reserve(scene.circles.size() * 5);
    for (const sheet::Circle &c : scene.circles)
        circles.insert(circles.end(),
            { c.x, c.y, c.diameter / 2, static_cast<double>(c.layer),
                static_cast<double>((c.dashed ? 1 : 0) | (c.hollow ? 2 : 0)) });
    lines.reserve(scene.lines.size() * 6);
    for (const sheet::Line &l : scene.lines)
        lines.insert(lines.end(),
            { l.x1, l.y1, l.x2, l.y2, static_cast<double>(l.layer), l.dashed ? 1.0 : 0.0 });
    Json layers = Json::array();
    for (const sheet::Layer &layer : scene.layers)
        layers.push_back({ { "ink", sheet::colourText(layer.ink) },
            { "fill", layer.fill ? Json(sheet::colourText(*layer.fill)) : Json(nullptr) },
            { "fill_alpha", layer.fill ? layer.fill->alpha / 255.0 : 1.0 }, { "pen", layer.pen } });
    Json legend = Json::array();
    for (const sheet::LegendEntry &entry : scene.legend)
        legend.push_back({ { "text", entry.text }, { "layer", entry.layer } });
    Json labels = Json::array();
    for (const sheet::Label &label : scene.labels)
        labels.push_back({ { "x", label.x }, { "y", label.y }, { "height", label.height },
            { "text", label.text }, { "layer", label.layer } });
    const sheet::SvgFrame frame = sheet::svgFrame(scene);
    return { { "frame",
                 { { "width", frame.width }, { "height", frame.height }, { "margin", frame.margin },
                     { "font_size", frame.fontSize }, { "line_height", frame.lineHeight },
                     { "legend_top", frame.legendTop }, { "centre_x", frame.centreX },
                     { "centre_y", frame.centreY }, { "scale", frame.scale } } },
        { "title", scene.title }, { "caption", scene.caption }, { "legend", legend },
        { "layers", layers }, { "labels", labels }, { "circles", scene.circles.size() },
        { "lines", scene.lines.size() } };
}

/// {"options": [[name, text], ...], "draw": bool}: the layout's JSON as korvane-layout --json
/// prints it, or the problems; with "draw", the drawing's shapes and where the sheet is.
Json layoutJob(const Json &request)
{
    std::vector<layout::TypedOption> typed;
    for (const Json &option : request.at("options"))
        typed.push_back({ option.at(0).get<std::string>(), option.at(1).get<std::string>() });
    const bool draw = request.value("draw", false);
    if (draw)
        drawn.reset();
    const layout::Reading reading = layout::readLayout(typed);
    Json answer = { { "problems", Json::array() } };
    for (const layout::InputError &problem : reading.problems)
        answer["problems"].push_back(problemJson(problem));
    if (!reading.ok())
        return answer;
    std::optional<layout::Layout> counted;
    try {
        counted = layout::study(reading.inputs);
        if (const auto missed = layout::missedCut(*counted))
            throw *missed;
    } catch (const layout::InputError &error) {
        // Found only by laying the tubes out, such as more tie rods than the edge takes.
        answer["problems"].push_back(problemJson(error));
        return answer;
    }
    answer["layout"] = layout_cli::toJson(*counted);
    answer["view"] = viewJson(*counted);
    if (draw) {
        if (counted->counts.inCircle > static_cast<std::int64_t>(sheet::kMaxDrawnTubes)) {
            answer["drawing"] = nullptr;
        } else {
            answer["drawing"] = sceneJson(layout_cli::layoutScene(*counted, false));
            drawn = std::make_unique<Drawn>(*counted);
        }
    }
    return answer;
}

/// {"inputs": [shell, pitch, tube, centre tube]} as typed in the calculator's boxes: what
/// korvane-count --json prints, and the error's report as the window shows it.
Json countJob(const Json &request)
{
    cli::Inputs inputs;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        inputs[i] = request.at("inputs").at(i).get<std::string>();
    const cli::Outcome outcome = cli::calculate(inputs);
    return { { "json", cli::toJson(outcome) },
        { "report", outcome.error ? Json(outcome.error->report) : Json(nullptr) } };
}

/// {"format": "svg" | "dxf" | "csv", "numbers": bool}: the file of the layout last drawn.
Json exportJob(const Json &request)
{
    const std::string format = request.at("format").get<std::string>();
    if (format != "csv" && format != "svg" && format != "dxf")
        throw std::invalid_argument("no such format: " + format);
    if (!drawn)
        return { { "text", nullptr } };
    std::string text;
    if (format == "csv") {
        const bool kinds = drawn->layout.tieRods.count > 0;
        text = layout_cli::tubesHeader(kinds);
        std::int64_t n = 0;
        for (const layout::Tube &tube : drawn->index.tubes)
            if (tube.pass > 0)
                text += layout_cli::tubeRow(++n, tube, kinds);
    } else {
        const sheet::Scene scene =
            layout_cli::layoutScene(drawn->layout, request.value("numbers", false));
        text = format == "dxf" ? sheet::dxf(scene) : sheet::svg(scene);
    }
    return { { "text", text } };
}

/// {"x": mm, "y": mm} from the shell centre: the tube of the drawing there, if any.
Json tubeAtJob(const Json &request)
{
    const double x = request.at("x").get<double>(), y = request.at("y").get<double>();
    if (!drawn)
        return { { "tube", nullptr } };
    std::int64_t number = 0;
    const layout::Tube *tube = drawn->index.tubeAt(x, y, &number);
    if (!tube)
        return { { "tube", nullptr } };
    const char *removed = tube->removed == layout::Removed::Lane ? "lane"
        : tube->removed == layout::Removed::Centre               ? "centre"
                                                                 : nullptr;
    return { { "tube",
        { { "number", number }, { "x", layout_cli::millimetresText(tube->x) },
            { "y", layout_cli::millimetresText(tube->y) }, { "pass", tube->pass },
            { "removed", removed ? Json(removed) : Json(nullptr) },
            { "tie_rod", tube->tieRod } } } };
}

std::string answer;

} // namespace

/// The numbers of the last drawing's circles and lines, for the page to copy out.
extern "C" const double *korvane_circles()
{
    return circles.data();
}

extern "C" const double *korvane_lines()
{
    return lines.data();
}

/// Runs one job. The answer stays valid until the next call. Whatever goes wrong inside is an
/// answer too ({"failure": ...}): the page says it and stays usable.
extern "C" const char *korvane_call(const char *job, const char *request)
{
    try {
        const Json in = Json::parse(request);
        const std::string name = job;
        Json out;
        if (name == "layout")
            out = layoutJob(in);
        else if (name == "count")
            out = countJob(in);
        else if (name == "export")
            out = exportJob(in);
        else if (name == "tube_at")
            out = tubeAtJob(in);
        else
            out = { { "failure", "unknown job " + name } };
        answer = out.dump(-1, ' ', false, Json::error_handler_t::replace);
    } catch (const std::bad_alloc &) {
        drawn.reset();
        answer = R"({"failure":"out of memory"})";
    } catch (const std::exception &error) {
        answer = Json { { "failure", error.what() } }.dump(
            -1, ' ', false, Json::error_handler_t::replace);
    }
    return answer.c_str();
}
