// korvane-count: the Calculate command of the window, run from the command line, and design
// studies built on it: shell sweeps, the smallest shell for a tube count, tube-sheet drawings.

#include "cli/calculation.h"
#include "cli/drawing.h"
#include "cli/studies.h"
#include "files/atomic_file.h"
#include "files/program.h"
#include "files/signals.h"
#include "text/quote.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr const char *kUsage =
    "usage: korvane-count [--json] [--] SHELL PITCH TUBE [CENTRE] (--help: also --sweep, "
    "--min-shell, --draw, --tubes)";

enum ExitCode {
    kResult = 0,
    kOutputError = 1,
    kUsageError = 2,
    kRuntimeError = 3,
    kNotReached = 5,
    kInterrupted = 130
};

/// A usage error found after parsing: one line on stderr, exit 2, like the library's own
/// std::invalid_argument for a bad range or count.
struct UsageError : std::invalid_argument
{
    using std::invalid_argument::invalid_argument;
};

/// A file that could not be written: one line on stderr, exit 1.
struct OutputError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

std::int64_t wholeNumber(const std::string &text, const char *what)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range && end == text.data() + text.size())
        throw UsageError(std::string(what) + " " + text::quote(text) + " is too large");
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw UsageError(std::string(what) + " must be a whole number, not " + text::quote(text));
    return value;
}

/// Writes `bytes` to `file` whole, or leaves the file as it was.
void writeFile(const std::string &file, const std::string &bytes)
{
    try {
        files::AtomicFile target(file);
        target.write(bytes);
        target.commit();
    } catch (const files::WriteError &error) {
        throw OutputError(error.what());
    }
}

/// Refuses a drawing too large to paint in reasonable time and memory, before anything is
/// printed.
void checkDrawable(const std::optional<engine::TubeSheet> &sheet, const std::string &drawFile)
{
    if (!drawFile.empty() && sheet && sheet->tubes.size() > sheet::kMaxDrawnTubes)
        throw UsageError("--draw draws at most " + std::to_string(sheet::kMaxDrawnTubes)
            + " tubes; this sheet has " + std::to_string(sheet->tubes.size()));
}

/// The drawing and the tube list of a calculation, as asked for.
void writeFiles(const cli::Outcome &outcome, const std::optional<engine::TubeSheet> &sheet,
    const std::string &drawFile, const std::string &tubesFile)
{
    if (drawFile.empty() && tubesFile.empty())
        return;
    if (!sheet) {
        std::cerr << "korvane-count: nothing to draw or list: the calculation ended in a run-time "
                     "error\n";
        return;
    }
    // What is already printed goes out first, so a file named /dev/stdout follows it.
    std::cout.flush();
    if (!tubesFile.empty()) {
        std::ostringstream list;
        cli::writeTubes(*sheet, list);
        if (tubesFile == "-") {
            // Standard output, after the count's own lines.
            std::cout << list.str();
            std::cout.flush();
        } else {
            writeFile(tubesFile, list.str());
        }
    }
    if (!drawFile.empty()) {
        const cli::FormValues &f = outcome.form;
        const cli::Drawing drawing { f.di, f.Dl, f.d, f.gxj, f.zxg,
            cli::numberText(outcome.layout->total),
            outcome.centre ? cli::numberText(outcome.centre->total) : std::string(),
            *outcome.result, *sheet };
        std::string bytes;
        try {
            bytes = sheet::render(cli::countScene(drawing), *sheet::formatOf(drawFile));
        } catch (const std::runtime_error &error) {
            throw OutputError("cannot draw " + drawFile + ": " + error.what());
        }
        writeFile(drawFile, bytes);
    }
}

/// The figures on standard output; what they assume on stderr, and in JSON under "notes".
void printSingle(
    const cli::Outcome &outcome, const std::optional<engine::TubeSheet> &sheet, bool json)
{
    for (const std::string &note : cli::notes(outcome, sheet))
        std::cerr << "korvane-count: " << note << '\n';
    if (json) {
        std::cout << cli::toJson(outcome, sheet).dump(2) << '\n';
        return;
    }
    for (const std::string &message : outcome.messages)
        std::cout << message << '\n';
    if (outcome.result)
        std::cout << *outcome.result << '\n';
}

int printMinShell(const cli::MinShell &answer, std::int64_t required, double resolution, bool json)
{
    if (json) {
        nlohmann::ordered_json out = { { "required", required }, { "resolution", resolution },
            { "reached", answer.reached }, { "shell", nullptr }, { "calculation", nullptr } };
        if (!answer.limit) {
            out["shell"] = answer.shell;
            out["calculation"] = cli::toJson(answer.outcome);
        }
        out["limit"] = answer.limit ? nlohmann::ordered_json(*answer.limit) : nullptr;
        out["below"] = nullptr;
        if (answer.below)
            out["below"] = { { "shell", *answer.below },
                { "calculation", cli::toJson(*answer.belowOutcome) } };
        std::cout << out.dump(2) << '\n';
    } else if (answer.reached) {
        const cli::Outcome &o = answer.outcome;
        std::cout << "shell " << cli::numberText(answer.shell) << " mm: total "
                  << cli::numberText(o.layout->total);
        if (o.centre)
            std::cout << ", removed " << cli::numberText(o.centre->total);
        std::cout << ", final " << *o.result << '\n';
        if (answer.below)
            std::cout << "shell " << cli::numberText(*answer.below) << " mm: final "
                      << cli::numberText(cli::finalCount(*answer.belowOutcome)) << '\n';
    }
    if (answer.limit) {
        std::cerr << "korvane-count: no shell up to " << cli::numberText(*answer.limit)
                  << " mm holds " << required << " tubes; the largest searched holds "
                  << cli::numberText(cli::finalCount(*answer.belowOutcome)) << '\n';
        return kNotReached;
    }
    if (!answer.reached) {
        const cli::Failure &failure = *answer.outcome.error;
        std::cerr << "korvane-count: " << required << " tubes cannot be reached: shell "
                  << cli::numberText(answer.shell) << " mm ends in run-time error "
                  << failure.number << " (" << failure.description
                  << ") and the smaller shells hold at most "
                  << cli::numberText(
                         answer.belowOutcome ? cli::finalCount(*answer.belowOutcome) : 0)
                  << '\n';
        return kRuntimeError;
    }
    return kResult;
}

/// A parser's message with every long word (an argument it quotes) cut to 60 characters, so the
/// message stays one readable line.
std::string shortened(const std::string &message)
{
    std::string out, word;
    const auto flush = [&] {
        out += word.size() > 60 ? text::quote(word) : word;
        word.clear();
    };
    for (const char ch : message) {
        if (ch == ' ') {
            flush();
            out += ch;
        } else {
            word += ch;
        }
    }
    flush();
    return out;
}

int run(int argc, char **argv)
{
    CLI::App app { "Counts the tubes that fit on the tube sheet of a shell, on an "
                   "equilateral-triangle pattern, as the Korvane window does. Each value is read "
                   "like the window's box: the number at the start of the text, 0 if none.",
        "korvane-count" };
    bool json = false;
    std::string sweepRange, required, drawFile, tubesFile;
    double resolution = 1;
    std::vector<std::string> values;
    app.add_flag("--json", json, "Print JSON instead of plain lines");
    auto *sweep = app.add_option("--sweep", sweepRange,
                         "Shell diameters FROM:TO:STEP (mm); the values are then PITCH TUBE "
                         "[CENTRE]; prints CSV")
                      ->type_name("FROM:TO:STEP");
    auto *minShell = app.add_option("--min-shell", required,
                            "The smallest shell whose final count is at least N; the values are "
                            "PITCH TUBE [CENTRE]")
                         ->type_name("N");
    app.add_option("--resolution", resolution, "Step of --min-shell's answer, mm (default 1)")
        ->type_name("R")
        ->needs(minShell);
    auto *draw =
        app.add_option("--draw", drawFile, "Draw the tube sheet to FILE (.svg, .png, .pdf or .dxf)")
            ->type_name("FILE");
    auto *tubes = app.add_option("--tubes", tubesFile,
                         "Write the centre of every tube to FILE as CSV (mm); - for standard "
                         "output")
                      ->type_name("FILE");
    app.add_option("values", values,
           "SHELL shell inner diameter, PITCH tube pitch, TUBE tube outer diameter and, if any, "
           "CENTRE centre tube outer diameter, all in mm")
        ->type_name("");
    app.set_version_flag("--version", "korvane-count " KORVANE_VERSION);
    app.footer(
        "Prints what the window shows: the total, the tubes removed for the centre tube and the "
        "final count (each on a line, as the message boxes read), then the result alone. "
        "Warnings about what the figures assume (overlapping tubes, text that is not wholly a "
        "number, knife edges) go to stderr, one line each; --json gives them as \"notes\".\n"
        "Use -- before the values when one begins with '-'.\n"
        "Examples:\n"
        "  korvane-count 600 32 25 57\n"
        "  korvane-count --json 600 32 25\n"
        "  korvane-count --sweep 400:1200:10 32 25 > table.csv\n"
        "  korvane-count --min-shell 276 32 25 57 --draw sheet.pdf\n"
        "Exit status: 0 a result; 1 the output or a file could not be written; 2 a usage "
        "error; 3 the calculation ended in a run-time error (or --min-shell met one first); 4 "
        "an unexpected failure; 5 --min-shell found no shell up to 1e12 mm that holds N; 130 a "
        "sweep stopped by Ctrl+C after a whole row.");

    try {
        app.parse(argc, argv);
        // An option given with nothing in it is a mistake, never the same as leaving it out.
        for (CLI::Option *option : { sweep, minShell, draw, tubes })
            if (option->count() > 0 && option->as<std::string>().empty())
                throw UsageError(option->get_name() + " is empty");
        const bool sweeping = sweep->count() > 0;
        const bool searching = minShell->count() > 0;
        const std::size_t first = sweeping || searching ? 2 : 3;
        if (sweeping && searching)
            throw UsageError("--sweep and --min-shell do not go together");
        if (sweeping && !(drawFile.empty() && tubesFile.empty()))
            throw UsageError("--draw and --tubes take one calculation, not a sweep");
        if (values.size() < first || values.size() > first + 1)
            throw UsageError("expected " + std::to_string(first) + " or "
                + std::to_string(first + 1) + " values, got " + std::to_string(values.size()));
        if (!drawFile.empty() && !tubesFile.empty() && files::sameFile(drawFile, tubesFile))
            throw UsageError("--draw " + text::quote(drawFile) + " and --tubes "
                + text::quote(tubesFile) + " are the same file");
        if (!drawFile.empty() && !sheet::formatOf(drawFile))
            throw UsageError(
                std::string("--draw needs a file name ending in ") + sheet::formatList());
        values.resize(first + 1);

        int status = kResult;
        if (sweeping) {
            const cli::Range range = cli::parseRange(sweepRange);
            files::InterruptFlag interrupt;
            if (!cli::sweep(range, { values[0], values[1], values[2] }, json, std::cout,
                    files::InterruptFlag::flag()))
                status = kInterrupted;
        } else if (searching) {
            const std::int64_t n = wholeNumber(required, "--min-shell");
            // The search relies on the count growing with the shell, which needs d >= 0.
            if (cli::calculate({ "0", values[0], values[1], "" }).form.d < 0)
                throw UsageError("--min-shell needs a tube diameter of 0 or more");
            const cli::MinShell answer =
                cli::minShell(n, resolution, { values[0], values[1], values[2] });
            const std::optional<engine::TubeSheet> sheet =
                answer.reached ? cli::tubeSheet(answer.outcome) : std::nullopt;
            checkDrawable(sheet, drawFile);
            status = printMinShell(answer, n, resolution, json);
            if (answer.reached)
                writeFiles(answer.outcome, sheet, drawFile, tubesFile);
        } else {
            const cli::Inputs inputs { values[0], values[1], values[2], values[3] };
            const cli::Outcome outcome = cli::calculate(inputs);
            // One tube layout serves the warning, the drawing and the list.
            const std::optional<engine::TubeSheet> sheet = cli::tubeSheet(outcome);
            checkDrawable(sheet, drawFile);
            printSingle(outcome, sheet, json);
            writeFiles(outcome, sheet, drawFile, tubesFile);
            if (outcome.error) {
                std::cerr << outcome.error->report << '\n';
                status = kRuntimeError;
            }
        }
        std::cout.flush();
        if (!std::cout)
            throw OutputError("the output could not be written");
        return status;
    } catch (const CLI::CallForHelp &help) {
        return files::printed("korvane-count", app.exit(help));
    } catch (const CLI::CallForVersion &version) {
        return files::printed("korvane-count", app.exit(version));
    } catch (const CLI::ParseError &error) {
        std::cerr << "korvane-count: " << shortened(error.what()) << "; " << kUsage << '\n';
        return kUsageError;
    } catch (const std::invalid_argument &error) {
        std::cerr << "korvane-count: " << error.what() << "; " << kUsage << '\n';
        return kUsageError;
    } catch (const OutputError &error) {
        std::cerr << "korvane-count: " << error.what() << '\n';
        return kOutputError;
    }
}

} // namespace

int main(int argc, char **argv)
{
    return files::runProgram("korvane-count", run, argc, argv);
}
