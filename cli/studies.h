#pragma once

#include "cli/calculation.h"

#include <csignal>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

/// The texts of the pitch, tube and centre tube boxes; the shell varies.
struct Pattern
{
    std::string pitch, tube, centre;
};

/// Shell diameters from `from` to `to` in steps of `step`, both ends included.
struct Range
{
    double from = 0, to = 0, step = 1;
};

/// Reads "FROM:TO:STEP". Throws std::invalid_argument with a message for anything else, a
/// step that is not positive, FROM above TO, or more than a million shells.
Range parseRange(std::string_view text);

/// The number of shells in a range.
std::int64_t shellCount(const Range &range);

/// Shell i of a range, rounded to 1e-9 mm so that decimal steps give decimal diameters.
double shellAt(const Range &range, std::int64_t i);

/// A diameter as a box would hold it: the shortest text that reads back as the same Double.
std::string numberText(double value);

/// The inputs of one calculation in the sweep.
Inputs inputsFor(double shell, const Pattern &pattern);

/// Calculates every shell of the range and writes one CSV row each under the header
/// shell,total,removed,final,warning,error; or, with `json`, one array of the single
/// calculation objects, each with its "shell" first. A run-time error fills the row's error
/// column and the sweep goes on.
/// Rows go out whole, at least every 100 ms; the sweep stops after a whole row once `stop` is
/// set (Ctrl+C), and at once when `out` fails (a closed pipe, a full disk). `--json` streams
/// its array row by row. Returns false when stopped.
bool sweep(const Range &range, const Pattern &pattern, bool json, std::ostream &out,
    const volatile std::sig_atomic_t &stop);

/// The answer to "which shell holds N tubes".
struct MinShell
{
    bool reached = false; ///< false: a run-time error comes first, or no shell holds N
    /// Without a run-time error and without reaching: the largest shell searched.
    std::optional<double> limit;
    double shell = 0; ///< the smallest shell that holds N, or the first that fails
    Outcome outcome; ///< the calculation at `shell`
    /// The shell one step smaller and its calculation, unless `shell` is 0. Without reaching,
    /// it holds the most tubes any shell holds before the failure.
    std::optional<double> below;
    std::optional<Outcome> belowOutcome;
};

/// The final count of a calculation with a result: the text written to Text2.
double finalCount(const Outcome &outcome);

/// Finds the smallest shell, a whole multiple of `resolution`, whose final count is at least
/// `required`. Valid because the count never falls as the shell grows for a tube diameter of
/// 0 or more; the caller checks the tube. Throws std::invalid_argument for a required count
/// below 1 or a resolution that is not positive.
MinShell minShell(std::int64_t required, double resolution, const Pattern &pattern);

/// Writes the centre of every tube as CSV under the header x,y,row,removed, for CAD.
void writeTubes(const engine::TubeSheet &sheet, std::ostream &out);

} // namespace cli
