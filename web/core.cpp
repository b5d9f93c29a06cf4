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

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
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
    Json defaults = Json::array();
    for (const bool horizontal : { true, false }) {
        for (int i = 0; i < layout.laneCount; ++i) {
            const layout::Lane &lane = layout.lanes[static_cast<std::size_t>(i)];
            if (lane.horizontal != horizontal || !lane.formula)
                continue;
            const std::string shown =
                std::string(lane.formula) + " = " + layout::lengthText(lane.typable);
            if (std::find(defaults.begin(), defaults.end(), shown) == defaults.end())
                defaults.push_back(shown);
        }
    }
    Json view = { { "lane_defaults", defaults },
        { "standard_spacing",
            layout.isShifted && !layout.inputs.laneSpacing && layout.laneCount > 0
                ? Json(layout::lengthText(layout.lanes[0].typable))
                : Json(nullptr) },
        { "pitch", layout::lengthText(layout.inputs.pitch) },
        { "clearance", layout::lengthText(layout.clearance) },
        { "layout_circle", layout::lengthText(layout.layoutCircle) },
        { "bend_radius", layout::lengthText(layout.bendRadius) },
        { "tie_rod_diameter",
            layout.tieRods.diameter ? Json(layout::lengthText(*layout.tieRods.diameter))
                                    : Json(nullptr) } };
    Json cuts = Json::array();
    for (const layout::Baffle &baffle : layout.baffles)
        cuts.push_back(layout::lengthText(baffle.cut));
    view["cuts"] = cuts;
    return view;
}

/// {"options": [[name, text], ...], "draw": bool}: the layout's JSON as korvane-layout --json
/// prints it, or the problems; with "draw", the drawing as SVG and where the sheet is in it.
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
            const sheet::Scene scene = layout_cli::layoutScene(*counted, false);
            const sheet::SvgFrame frame = sheet::svgFrame(scene);
            answer["drawing"] = { { "svg", sheet::svg(scene) },
                { "frame",
                    { { "width", frame.width }, { "height", frame.height },
                        { "centre_x", frame.centreX }, { "centre_y", frame.centreY },
                        { "scale", frame.scale } } } };
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
    if (!drawn)
        return { { "text", nullptr } };
    const std::string format = request.at("format").get<std::string>();
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
    if (!drawn)
        return { { "tube", nullptr } };
    std::int64_t number = 0;
    const layout::Tube *tube =
        drawn->index.tubeAt(request.at("x").get<double>(), request.at("y").get<double>(), &number);
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
