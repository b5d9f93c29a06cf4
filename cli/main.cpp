// korvane-count: the Calculate command of the window, run from the command line.

#include "cli/calculation.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace {

constexpr const char *kUsage = "usage: korvane-count [--json] [--] SHELL PITCH TUBE [CENTRE]";

enum ExitCode { kResult = 0, kOutputError = 1, kUsageError = 2, kRuntimeError = 3 };

} // namespace

int main(int argc, char **argv)
{
    CLI::App app { "Counts the tubes that fit on the tube sheet of a shell, on an "
                   "equilateral-triangle pattern, as the Korvane window does. Each value is read "
                   "like the window's box: the number at the start of the text, 0 if none.",
        "korvane-count" };
    bool json = false;
    cli::Inputs inputs;
    app.add_flag("--json", json, "Print one JSON object instead of plain lines");
    app.add_option("SHELL", inputs[0], "Shell inner diameter, mm")->required();
    app.add_option("PITCH", inputs[1], "Tube pitch, mm")->required();
    app.add_option("TUBE", inputs[2], "Tube outer diameter, mm")->required();
    app.add_option("CENTRE", inputs[3], "Centre tube outer diameter, mm (empty or 0: none)");
    app.footer("Use -- before the values when one begins with '-'.");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &help) {
        return app.exit(help);
    } catch (const CLI::ParseError &error) {
        std::cerr << "korvane-count: " << error.what() << "; " << kUsage << '\n';
        return kUsageError;
    }

    const cli::Outcome outcome = cli::calculate(inputs);
    if (json) {
        std::cout << cli::toJson(outcome).dump(2) << '\n';
    } else {
        for (const std::string &message : outcome.messages)
            std::cout << message << '\n';
        if (outcome.result)
            std::cout << *outcome.result << '\n';
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "korvane-count: the output could not be written\n";
        return kOutputError;
    }
    if (outcome.error) {
        std::cerr << outcome.error->report << '\n';
        return kRuntimeError;
    }
    return kResult;
}
