// The page's way into the C++: one call, a job's name and a JSON request in, a JSON answer out.
// Every figure, drawing and file the page shows or saves is made here by the programs' own
// functions, so the page and the programs cannot disagree.

#include "cli/calculation.h"
#include "layout/options.h"
#include "report/csv.h"
#include "report/drawing.h"
#include "report/form.h"
#include "report/json.h"
#include "report/numbers.h"
#include "report/reasons.h"
#include "report/summary.h"
#include "report/tube_index.h"
#include "web/design_jobs.h"

#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using Json = nlohmann::ordered_json;

Json problemJson(const layout::InputError &error)
{
    const report::Control *control = report::controlOf(error.field());
    return { { "field", control ? Json(control->id) : Json("") },
        { "reason", report::reasonOf(error) }, { "message", error.what() } };
}

Json optionsJson(const std::vector<layout::TypedOption> &options)
{
    Json list = Json::array();
    for (const layout::TypedOption &option : options)
        list.push_back(Json::array({ option.name, option.value }));
    return list;
}

/// The layout last drawn, for the pointer and the downloads.
struct Drawn
{
    layout::Layout layout;
    report::TubeIndex index;
    explicit Drawn(const layout::Layout &counted)
        : layout(counted)
        , index(counted)
    {
    }
};
std::unique_ptr<Drawn> drawn;

/// The page's language for the drawing's words: the window's English for each source text it
/// translates, or none for Chinese.
std::optional<std::map<std::string, std::string>> english;

report::Wording wording()
{
    report::Wording words;
    if (!english)
        return words;
    words.ascii = true;
    words.render = [](const report::Message &message) {
        return report::compose(
            message,
            [](const std::string &source) {
                const auto found = english->find(source);
                return found == english->end() ? source : found->second;
            },
            [](const report::Message &value) { return value.source; });
    };
    return words;
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
                     { "centre_y", frame.centreY }, { "scale", frame.scale },
                     { "columns", frame.columns } } },
        { "title", scene.title }, { "caption", scene.caption }, { "legend", legend },
        { "layers", layers }, { "labels", labels }, { "circles", scene.circles.size() },
        { "lines", scene.lines.size() } };
}

/// {"values": {control: text, ...}} as the page's form holds them (or {"options": [[name, text],
/// ...]} as korvane-layout takes them), with the design's "edits" and "title" if any, and
/// "draw": bool: the layout's JSON as korvane-layout --json prints it and its summary, or the
/// problems, each on its control; the options for the address, and with the edits
/// ("link_edits"); with "draw", the drawing's shapes and where the sheet is.
Json layoutJob(const Json &request)
{
    std::vector<layout::TypedOption> typed;
    Json answer = { { "problems", Json::array() } };
    const std::vector<layout::Edit> edits =
        request.contains("edits") ? web::editsOf(request.at("edits")) : std::vector<layout::Edit>();
    if (request.contains("values")) {
        const report::Values values = request.at("values").get<report::Values>();
        typed = report::typedOptions(values);
        std::vector<layout::TypedOption> link = report::typedOptions(values, true);
        answer["link"] = optionsJson(link);
        const std::vector<layout::TypedOption> more = web::editOptions(edits);
        link.insert(link.end(), more.begin(), more.end());
        answer["link_edits"] = optionsJson(link);
    } else {
        for (const Json &option : request.at("options"))
            typed.push_back({ option.at(0).get<std::string>(), option.at(1).get<std::string>() });
    }
    const bool draw = request.value("draw", false);
    if (draw)
        drawn.reset();
    const layout::Reading reading = layout::readLayout(typed);
    for (const layout::InputError &problem : reading.problems)
        answer["problems"].push_back(problemJson(problem));
    if (!reading.ok())
        return answer;
    layout::Inputs inputs = reading.inputs;
    inputs.edits = edits;
    inputs.title = request.value("title", std::string());
    std::optional<layout::Layout> counted;
    try {
        counted = layout::studyOne(inputs);
    } catch (const layout::InputError &error) {
        // Found only by laying the tubes out, such as more tie rods than the edge takes.
        answer["problems"].push_back(problemJson(error));
        return answer;
    }
    const report::Summary summary = report::summarise(*counted);
    answer["layout"] = report::toJson(*counted);
    answer["summary"] = report::summaryJson(summary);
    if (draw) {
        if (summary.notDrawn) {
            answer["drawing"] = nullptr;
        } else {
            answer["drawing"] = sceneJson(report::layoutScene(*counted, false, wording()));
            drawn = std::make_unique<Drawn>(*counted);
        }
    }
    return answer;
}

/// {"options": [[name, text], ...]} from an address: the form's values they describe, as
/// korvane-layout reads them, the edits among them, and what could not be taken.
Json valuesJob(const Json &request)
{
    std::vector<layout::TypedOption> typed;
    for (const Json &option : request.at("options"))
        typed.push_back({ option.at(0).get<std::string>(), option.at(1).get<std::string>() });
    const std::vector<layout::Edit> edits = web::takeEdits(typed);
    const report::Filled filled = report::valuesOf(typed);
    Json refused = Json::array();
    for (const report::Message &message : filled.refused)
        refused.push_back(report::messageJson(message));
    return { { "values", filled.values }, { "edits", web::editsJson(edits) },
        { "refused", refused } };
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

std::string base64(const std::string &bytes)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]))
            << 16;
        if (left > 1)
            group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (left > 2)
            group |= static_cast<unsigned char>(bytes[i + 2]);
        out += digits[group >> 18 & 63];
        out += digits[group >> 12 & 63];
        out += left > 1 ? digits[group >> 6 & 63] : '=';
        out += left > 2 ? digits[group & 63] : '=';
    }
    return out;
}

/// {"format": "svg" | "dxf" | "csv", "numbers": bool}: the file of the layout last drawn; a
/// DXF's bytes as "base64".
Json exportJob(const Json &request)
{
    const std::string format = request.at("format").get<std::string>();
    if (format != "csv" && format != "svg" && format != "dxf")
        throw std::invalid_argument("no such format: " + format);
    if (!drawn)
        return { { "text", nullptr } };
    const std::string name = report::fileStem(drawn->layout);
    if (format == "csv")
        return { { "text", report::tubeList(drawn->layout, drawn->index.tubes) },
            { "name", name } };
    const sheet::Scene scene =
        report::layoutScene(drawn->layout, request.value("numbers", false), wording());
    if (format == "svg")
        return { { "text", sheet::svg(scene) }, { "name", name } };
    // The DXF's text is GBK, not UTF-8: its bytes travel as base64, untouched.
    return { { "text", "" }, { "base64", base64(sheet::dxf(scene)) }, { "name", name } };
}

/// {"english": {source: text, ...}} for English words in the drawings, {"english": null} for
/// Chinese.
Json languageJob(const Json &request)
{
    const Json &table = request.at("english");
    // Read whole before anything changes: a table that cannot be read leaves the words as they
    // were.
    english = table.is_null() ? std::nullopt
                              : std::optional(table.get<std::map<std::string, std::string>>());
    return Json::object();
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
        : tube->removed == layout::Removed::Plate                ? "impingement"
        : tube->removed == layout::Removed::Edit                 ? "edit"
        : tube->removed == layout::Removed::Dummy                ? "dummy"
                                                                 : nullptr;
    return { { "tube",
        { { "number", number }, { "x", report::millimetresText(tube->x) },
            { "y", report::millimetresText(tube->y) }, { "pass", tube->pass },
            { "removed", removed ? Json(removed) : Json(nullptr) }, { "tie_rod", tube->tieRod },
            { "site", layout::siteText(tube->site) },
            { "can",
                { { "remove", report::canEdit(*tube, report::TubeEdit::Remove) },
                    { "dummy", report::canEdit(*tube, report::TubeEdit::Dummy) },
                    { "restore", report::canEdit(*tube, report::TubeEdit::Restore) } } },
            { "text", report::messageJson(report::describeTube(*tube, number)) } } } };
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
        else if (name == "values")
            out = valuesJob(in);
        else if (name == "count")
            out = countJob(in);
        else if (name == "export")
            out = exportJob(in);
        else if (name == "tube_at")
            out = tubeAtJob(in);
        else if (name == "language")
            out = languageJob(in);
        else if (name == "edit")
            out = web::editJob(in);
        else if (name == "open_design")
            out = web::openDesignJob(in);
        else if (name == "save_design")
            out = web::saveDesignJob(in);
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
