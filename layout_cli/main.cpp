// korvane-layout: the exact layout study from the command line. One layout, a sweep of
// diameters (a tube-count table) or the smallest shell for a number of tubes.

#include "files/atomic_file.h"
#include "files/program.h"
#include "files/signals.h"
#include "layout/options.h"
#include "layout/study.h"
#include "report/csv.h"
#include "report/design.h"
#include "report/drawing.h"
#include "report/form.h"
#include "report/json.h"
#include "report/reasons.h"
#include "report/summary.h"
#include "text/quote.h"
#include "text/split.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <chrono>
#include <iostream>

namespace {

constexpr const char *kUsage =
    "usage: korvane-layout [--json] (--shell DI | --otl DL) --tube D --pitch P [--pattern "
    "30|60|90|45] [--passes N] [--centre on-tube|straddle|best] (--help for every option)";

constexpr const char *kExamples =
    "\nExamples:\n"
    "  korvane-layout --shell 600 --tube 25 --pitch 32 --passes 4 --centre-tube 57\n"
    "  korvane-layout --json --otl 1184 --tube 28 --pitch 36 --pattern 45 --passes 8\n"
    "  korvane-layout --sweep 400:1200:50 --tube 19 --pitch 25 --passes 1,2,4,6,8\n"
    "  korvane-layout --min-shell 500 --tube 25 --pitch 32 --passes 2 --centre best\n"
    "  korvane-layout --gb151 --shell 600 --tube 25 --passes 2\n"
    "  korvane-layout --shell 800 --tube 19 --pitch 25 --passes 4 --bundle u-tube "
    "--tie-rods gb151\n"
    "  korvane-layout --shell 600 --tube 25 --pitch 32 --passes 4 --draw sheet.dxf "
    "--numbers --tubes holes.csv\n"
    "Exit status: 0 done; 1 the output or a file could not be written; 2 a usage "
    "error or input outside the exact range; 3 --min-shell found no shell within the "
    "range; 4 an unexpected failure; 130 a sweep or a search stopped by Ctrl+C.";

enum ExitCode { kDone = 0, kWriteFailed = 1, kUsageError = 2, kNotReached = 3, kInterrupted = 130 };

/// The most tubes a list takes: about 400 MB of CSV.
constexpr std::int64_t kMaxListedTubes = 10'000'000;
/// The most diameters a sweep takes.
constexpr std::int64_t kMaxSweepRows = 1'000'000;
/// A sweep's rows reach the output at least this often.
constexpr std::chrono::milliseconds kFlushEvery { 100 };

struct UsageError : std::invalid_argument
{
    using std::invalid_argument::invalid_argument;
};

struct Options
{
    bool json = false;
    std::string tubesFile, drawFile, sweep, minShell, remove, dummy, design, saveDesign, title;
    std::string resolution = "1";
    bool numbers = false;
};

std::int64_t wholeNumber(const std::string &text, const char *what)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size() || error == std::errc::invalid_argument)
        throw UsageError(std::string(what) + " must be a whole number, not " + text::quote(text));
    if (error == std::errc::result_out_of_range)
        throw UsageError(std::string(what) + " " + text::quote(text) + " is too large");
    return value;
}

struct Sweep
{
    layout::Length from, to, step;
    std::int64_t rows = 0;
};

Sweep sweepOf(const std::string &text)
{
    const std::vector<std::string> parts = text::split(text, ':');
    if (parts.size() != 3)
        throw UsageError("--sweep takes FROM:TO:STEP, not " + text::quote(text));
    Sweep sweep { layout::parseLength(parts[0], "--sweep FROM"),
        layout::parseLength(parts[1], "--sweep TO"),
        layout::parseLength(parts[2], "--sweep STEP") };
    if (sweep.from.units <= 0 || sweep.step.units <= 0)
        throw UsageError("--sweep needs FROM and STEP above 0");
    if (sweep.to < sweep.from)
        throw UsageError("--sweep needs FROM no larger than TO");
    sweep.rows = (sweep.to.units - sweep.from.units) / sweep.step.units + 1;
    if (sweep.rows > kMaxSweepRows)
        throw UsageError("--sweep gives " + std::to_string(sweep.rows) + " diameters; at most "
            + std::to_string(kMaxSweepRows));
    return sweep;
}

/// The tube list, to a file written whole or not at all, or after the rest on standard output.
void writeTubes(const layout::Layout &layout, const std::string &file, files::StandardOutput &out)
{
    const auto list = [&layout](auto &sink) {
        const bool kinds = report::listsKinds(layout);
        sink.write(report::tubesHeader(kinds));
        std::int64_t n = 0;
        for (const layout::Tube &tube : layout::tubes(layout))
            if (report::isListed(tube))
                sink.write(report::tubeRow(++n, tube, kinds));
    };
    if (file == "-") {
        list(out);
        out.flush();
        return;
    }
    files::AtomicFile target(file);
    list(target);
    target.commit();
}

/// The drawing, written whole or not at all. A file named /dev/stdout follows the counts.
void writeDrawing(const layout::Layout &layout, const Options &options, files::StandardOutput &out)
{
    out.flush();
    std::string bytes;
    try {
        bytes = sheet::render(
            report::layoutScene(layout, options.numbers), *sheet::formatOf(options.drawFile));
    } catch (const std::runtime_error &error) {
        throw files::WriteError(
            options.drawFile, "cannot draw " + options.drawFile + ": " + error.what());
    }
    files::AtomicFile target(options.drawFile);
    target.write(bytes);
    target.commit();
}

/// Refuses a list or a drawing too large to make, before anything is printed.
void checkFiles(const layout::Layout &layout, const Options &options)
{
    if (!options.tubesFile.empty() && layout.counts.inCircle > kMaxListedTubes)
        throw UsageError("--tubes lists at most " + std::to_string(kMaxListedTubes)
            + " tubes; this layout has " + std::to_string(layout.counts.inCircle));
    if (!options.drawFile.empty()
        && static_cast<std::uint64_t>(layout.counts.inCircle) > sheet::kMaxDrawnTubes)
        throw UsageError("--draw draws at most " + std::to_string(sheet::kMaxDrawnTubes)
            + " tubes; this layout has " + std::to_string(layout.counts.inCircle));
}

/// The files asked for, after the counts.
void writeFiles(const layout::Layout &layout, const Options &options, files::StandardOutput &out)
{
    if (!options.tubesFile.empty())
        writeTubes(layout, options.tubesFile, out);
    if (!options.drawFile.empty())
        writeDrawing(layout, options, out);
}

int runSingle(const Options &options, const layout::Inputs &in, files::StandardOutput &out)
{
    const layout::Layout layout = layout::studyOne(in);
    checkFiles(layout, options);
    out.write(options.json ? report::toJson(layout).dump(2) + "\n" : report::plainText(layout));
    out.flush();
    writeFiles(layout, options, out);
    return kDone;
}

/// Refuses a sweep whose every shell the clearance eats, and warns of those it eats at its start.
void checkLayoutCircles(const Sweep &sweep, const layout::Inputs &in)
{
    if (in.given != layout::Given::Shell)
        return;
    const layout::Length b = layout::clearanceOf(in);
    // The largest typed shell whose circle is nothing: the circle only grows until well past it.
    layout::Inputs probe = in;
    std::int64_t low = 0, high = layout::kMaxUnits / layout::kTypedStep;
    while (low < high) {
        const std::int64_t mid = low + (high - low + 1) / 2;
        probe.diameter = { mid * layout::kTypedStep };
        if (layout::layoutCircleOf(probe).units <= 0)
            low = mid;
        else
            high = mid - 1;
    }
    const layout::Length least { low * layout::kTypedStep };
    const std::string cause = layout::headSetsCircle(in)
        ? std::string("a ") + layout::headName(in.head) + " head's rule"
        : "the clearance b " + layout::lengthText(b) + " mm on each side";
    if (!(least < sweep.to))
        throw UsageError(cause + " leaves no layout circle in any shell of the sweep (up to "
            + layout::lengthText(sweep.to) + " mm)");
    if (!(least < sweep.from))
        std::cerr << "korvane-layout: warning: shells up to " << layout::lengthText(least)
                  << " mm leave no layout circle after " << cause << "; their rows count 0 tubes\n";
}

int runSweep(const Options &options, const layout::Reading &reading, files::StandardOutput &out)
{
    const Sweep sweep = sweepOf(options.sweep);
    const std::vector<int> &passes = reading.passes;
    layout::Inputs in = reading.inputs;
    // Every input the sweep will meet is checked before the first row: the largest diameter
    // has the most rows, and the rest does not change along the sweep.
    for (layout::Length end : { sweep.from, sweep.to }) {
        in.diameter = end;
        for (int count : passes) {
            in.passes = count;
            layout::validate(in);
        }
    }
    checkLayoutCircles(sweep, in);
    // The first row, which its smallest shell may refuse (no room for its tie rods at the
    // edge): refused before the table starts, not in the middle of it.
    std::vector<layout::Layout> layouts(passes.size());
    in.diameter = sweep.from;
    for (std::size_t j = 0; j < passes.size(); ++j) {
        in.passes = passes[j];
        try {
            layouts[j] = layout::study(in);
        } catch (const layout::InputError &error) {
            throw UsageError(std::string(error.what()) + " at the sweep's first shell, "
                + layout::lengthText(sweep.from) + " mm: start it at a larger one");
        }
    }
    files::InterruptFlag interrupt;
    out.write(options.json ? "[\n" : report::sweepHeader(layouts));
    auto flushed = std::chrono::steady_clock::now();
    for (std::int64_t i = 0; i < sweep.rows && !files::InterruptFlag::raised(); ++i) {
        in.diameter = { sweep.from.units + i * sweep.step.units };
        for (std::size_t j = 0; j < passes.size() && i > 0; ++j) {
            in.passes = passes[j];
            layouts[j] = layout::study(in);
        }
        if (options.json) {
            nlohmann::ordered_json row = report::toJson(layouts.front());
            if (passes.size() > 1) {
                row = { { "shell", row["shell"] }, { "layout_circle", row["layout_circle"] },
                    { "layouts", nlohmann::ordered_json::array() } };
                for (const layout::Layout &one : layouts)
                    row["layouts"].push_back(report::toJson(one));
            }
            out.write((i ? ",\n" : "") + row.dump(2));
        } else {
            out.write(report::sweepRow(layouts));
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - flushed >= kFlushEvery) {
            out.flush();
            flushed = now;
        }
    }
    if (options.json)
        out.write("\n]\n");
    out.flush();
    return files::InterruptFlag::raised() ? kInterrupted : kDone;
}

int runMinShell(const Options &options, const layout::Inputs &in, files::StandardOutput &out)
{
    const std::int64_t required = wholeNumber(options.minShell, "--min-shell");
    const layout::Length resolution = layout::parseLength(options.resolution, "--resolution");
    layout::MinShell answer;
    try {
        // Ctrl+C ends the search at the next count; the files come after it.
        files::InterruptFlag interrupt;
        answer = layout::minShell(
            in, required, resolution, [] { return files::InterruptFlag::raised(); });
    } catch (const layout::Stopped &) {
        std::cerr << "korvane-layout: the search was stopped\n";
        return kInterrupted;
    }
    if (answer.layout)
        checkFiles(*answer.layout, options);
    const char *name = in.given == layout::Given::Shell ? "壳体内径 Di" : "布管限定圆 DL";
    if (options.json) {
        nlohmann::ordered_json json = { { "required", required },
            { "resolution", layout::millimetres(resolution) }, { "reached", answer.reached },
            { "limit", layout::millimetres(answer.limit) }, { "diameter", nullptr },
            { "layout", nullptr }, { "below", nullptr } };
        if (answer.layout) {
            json["diameter"] = layout::millimetres(answer.diameter);
            json["layout"] = report::toJson(*answer.layout);
        }
        if (answer.below) {
            auto &below = json["below"];
            below = { { "diameter", layout::millimetres(*answer.below) }, { "total", nullptr },
                { "per_pass", nullptr }, { "refused", nullptr } };
            if (answer.belowCounts) {
                below["total"] = answer.belowCounts->total;
                below["per_pass"] = report::perPassJson(*answer.belowCounts);
            } else {
                below["refused"] = answer.belowRefused->what();
            }
        }
        out.write(json.dump(2) + "\n");
    } else if (answer.reached) {
        out.write("至少 " + std::to_string(required) + " 管的最小" + name + " "
            + layout::lengthText(answer.diameter) + " mm（步长 " + layout::lengthText(resolution)
            + " mm）\n");
        out.write(report::plainText(*answer.layout));
        if (answer.below)
            out.write(std::string("小一档 ") + name + " " + layout::lengthText(*answer.below)
                + " mm："
                + (answer.belowCounts
                        ? "总管数 " + std::to_string(answer.belowCounts->total) + " 管"
                        : std::string("不能布管（") + report::reasonOf(*answer.belowRefused) + "）")
                + "\n");
    }
    out.flush();
    if (!answer.reached) {
        std::cerr << "korvane-layout: no "
                  << (in.given == layout::Given::Shell ? "shell" : "layout circle") << " up to "
                  << layout::lengthText(answer.limit) << " mm holds " << required << " tubes\n";
        return kNotReached;
    }
    writeFiles(*answer.layout, options, out);
    return kDone;
}

/// The layout's own options, each with its CLI11 option.
using LayoutOptions = std::vector<std::pair<const report::Option *, CLI::Option *>>;

/// The layout's options come from the form's table and are read by layout::readLayout, as
/// korvane-sheet reads them; their help is the table's too, after CLI11's own.
LayoutOptions addLayoutOptions(CLI::App &app)
{
    LayoutOptions given;
    for (const report::Option &option : report::options()) {
        const std::string name = std::string("--") + option.name;
        // Every value is kept, so that an option given twice is refused as the page refuses it.
        CLI::Option *added = option.kind == report::Kind::Switch
            ? app.add_flag(name, option.help)
            : app.add_option(name, option.help)
                  ->type_name(option.hint)
                  ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        // In a sweep or a search the diameter varies: its option then only says which one.
        if (option.field == layout::Field::Diameter)
            added->expected(0, 1);
        given.emplace_back(&option, added->group(""));
    }
    return given;
}

/// The options as typed, for layout::readLayout.
std::vector<layout::TypedOption> typedOf(const LayoutOptions &given)
{
    std::vector<layout::TypedOption> typed;
    for (const auto &[option, cli] : given) {
        const std::vector<std::string> &values = cli->results();
        if (option->kind == report::Kind::Switch || values.empty()) {
            for (std::size_t i = 0; i < cli->count(); ++i)
                typed.push_back({ option->name, "" });
            continue;
        }
        for (const std::string &value : values)
            typed.push_back({ option->name, value });
    }
    return typed;
}

/// The files asked for, refused before anything is counted: a sweep has none, a drawing needs
/// a known extension, numbers need a drawing, and two files are two.
void checkFileOptions(const Options &options, bool sweep)
{
    if (sweep && !(options.tubesFile.empty() && options.drawFile.empty()))
        throw UsageError("--tubes and --draw take one layout, not a sweep");
    if (!options.drawFile.empty() && !sheet::formatOf(options.drawFile))
        throw UsageError(std::string("--draw needs a file name ending in ") + sheet::formatList()
            + ", not " + text::quote(options.drawFile));
    if (options.numbers && options.drawFile.empty())
        throw UsageError("--numbers labels the tubes of a drawing: give --draw FILE");
    if (!options.drawFile.empty() && !options.tubesFile.empty()
        && files::sameFile(options.drawFile, options.tubesFile))
        throw UsageError("--draw " + text::quote(options.drawFile) + " and --tubes "
            + text::quote(options.tubesFile) + " are the same file");
}

/// The options of the program's own: its files and studies.
struct Others
{
    CLI::Option *tubes, *draw, *sweep, *minShell, *resolution, *remove, *dummy, *design,
        *saveDesign, *title;
};

/// The design a run uses: the file's, if one is given, with the options and edits typed
/// beside it.
report::Design designOf(const Options &options, const Others &others,
    const std::vector<layout::TypedOption> &typed, const std::vector<layout::Edit> &edits)
{
    report::Design design;
    if (!options.design.empty()) {
        try {
            design = report::readDesignFile(options.design);
        } catch (const report::DesignError &error) {
            throw UsageError(options.design + ": " + error.what());
        }
    }
    design.inputs = report::mergedInputs(design.inputs, typed);
    report::addEdits(design, edits);
    // --title "" takes the file's title away.
    if (others.title->count() > 0)
        design.title = options.title.empty() ? std::nullopt : std::optional(options.title);
    return design;
}

/// The design as used, written whole or not at all.
void saveDesign(const report::Design &design, const std::string &file)
{
    files::AtomicFile target(file);
    target.write(report::designText(design));
    target.commit();
}

/// The edits typed: every site of --remove, then every one of --dummy, in their order.
std::vector<layout::Edit> editsOf(const Options &options)
{
    std::vector<layout::Edit> edits;
    for (const auto &[text, action, name] :
        { std::tuple { &options.remove, layout::EditAction::Remove, "--remove" },
            { &options.dummy, layout::EditAction::Dummy, "--dummy" } }) {
        if (text->empty())
            continue;
        std::string bad;
        const auto sites = layout::parseSites(*text, &bad);
        if (!sites)
            throw UsageError(std::string(name)
                + " takes sites such as r3c-5 (the site column of --tubes), not "
                + text::quote(bad));
        for (const layout::Site &site : *sites)
            edits.push_back({ site, action });
    }
    return edits;
}

Others addOtherOptions(CLI::App &app, Options &options)
{
    Others others;
    others.tubes = app.add_option("--tubes", options.tubesFile,
                          "Write n,x,y,pass,site of every tube left to FILE as CSV (- for "
                          "standard output), with a kind column for tie rods and dummies; n "
                          "numbers them row by row from the top, left to right")
                       ->type_name("FILE");
    others.draw = app.add_option("--draw", options.drawFile,
                         "Draw the layout to FILE: .svg, .png, .pdf, or .dxf (AutoCAD R12) for CAD")
                      ->type_name("FILE");
    app.add_flag("--numbers", options.numbers,
        "Label each tube in the drawing with its number in the --tubes list");
    others.sweep = app.add_option("--sweep", options.sweep,
                          "Count every diameter FROM:TO:STEP (mm) of the shell, or of the layout "
                          "circle with --otl; prints CSV")
                       ->type_name("FROM:TO:STEP");
    others.minShell =
        app.add_option("--min-shell", options.minShell,
               "The smallest shell (or layout circle with --otl) whose total is at least N")
            ->type_name("N");
    others.resolution = app.add_option("--resolution", options.resolution,
                               "The step of --min-shell's answer (mm, default 1)")
                            ->type_name("R")
                            ->needs(others.minShell);
    others.sweep->excludes(others.minShell);
    others.remove = app.add_option("--remove", options.remove,
                           "Leave these sites undrilled, each named as the site column of --tubes "
                           "names it (r3c-5)")
                        ->type_name("SITE[,SITE...]");
    others.dummy = app.add_option("--dummy", options.dummy,
                          "Put a dummy tube, which carries no flow, at each of these sites")
                       ->type_name("SITE[,SITE...]");
    others.design = app.add_option("--design", options.design,
                           "Read the inputs and edits of a design file (options given beside "
                           "it replace the file's)")
                        ->type_name("FILE");
    others.saveDesign = app.add_option("--save-design", options.saveDesign,
                               "Write the design as used, its inputs as typed and its edits, "
                               "to FILE")
                            ->type_name("FILE");
    others.title = app.add_option("--title", options.title,
                          "The design's title: the first line of the caption, kept by "
                          "--save-design (empty for none)")
                       ->type_name("TEXT");
    return others;
}

int run(int argc, char **argv)
{
    CLI::App app { "Counts the tubes on a tube sheet exactly: triangular, rotated triangular, "
                   "square or rotated square pitch, 1 to 8 passes with their partition lanes, "
                   "centred on a tube or between two, with an optional centre tube. Lengths are "
                   "in mm, decimals with up to 6 places, at most 100000.",
        "korvane-layout" };
    Options options;
    app.set_version_flag("--version", "korvane-layout 1.0");
    app.add_flag("--json", options.json, "Print JSON instead of plain lines");
    const LayoutOptions given = addLayoutOptions(app);
    const Others others = addOtherOptions(app, options);
    app.footer(report::optionsHelp() + kExamples);

    files::StandardOutput out;
    try {
        app.parse(argc, argv);
        // An option given with nothing in it is a mistake, never the same as leaving it out.
        for (CLI::Option *option : { others.tubes, others.draw, others.sweep, others.minShell,
                 others.resolution, others.remove, others.dummy, others.design, others.saveDesign })
            if (option->count() > 0 && option->as<std::string>().empty())
                throw UsageError(option->get_name() + " is empty");
        const bool study = others.sweep->count() > 0 || others.minShell->count() > 0;
        const report::Design design = designOf(options, others, typedOf(given), editsOf(options));
        layout::Reading reading = layout::readLayout(design.inputs,
            study ? layout::Diameter::Varied : layout::Diameter::Typed, others.sweep->count() > 0,
            others.minShell->count() > 0 ? "--min-shell" : "--sweep");
        if (!reading.ok())
            throw UsageError(reading.problems.front().what());
        reading.inputs.edits = design.edits;
        reading.inputs.title = design.title.value_or("");
        if (!options.saveDesign.empty())
            saveDesign(design, options.saveDesign);
        checkFileOptions(options, others.sweep->count() > 0);
        if (others.sweep->count() > 0)
            return runSweep(options, reading, out);
        if (others.minShell->count() > 0)
            return runMinShell(options, reading.inputs, out);
        return runSingle(options, reading.inputs, out);
    } catch (const CLI::CallForHelp &help) {
        return files::printed("korvane-layout", app.exit(help));
    } catch (const CLI::CallForVersion &version) {
        return files::printed("korvane-layout", app.exit(version));
    } catch (const CLI::ParseError &error) {
        std::cerr << "korvane-layout: " << error.what() << "; " << kUsage << '\n';
        return kUsageError;
    } catch (const std::invalid_argument &error) {
        // UsageError and layout::InputError alike: nothing has been printed yet.
        std::cerr << "korvane-layout: " << error.what() << '\n';
        return kUsageError;
    } catch (const files::WriteError &error) {
        std::cerr << "korvane-layout: " << error.what() << '\n';
        return kWriteFailed;
    }
}

} // namespace

int main(int argc, char **argv)
{
    return files::runProgram("korvane-layout", run, argc, argv);
}
