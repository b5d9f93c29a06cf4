// Design studies: shell sweeps, the smallest shell for a count, drawings and tube lists.

#include "cli/studies.h"

#include "cli_run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <sys/resource.h>
#include <utility>

namespace {

using namespace cli_run;

std::vector<std::vector<std::string>> csvOf(const std::string &text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::size_t begin = 0;
        for (std::size_t comma; (comma = line.find(',', begin)) != std::string::npos;
             begin = comma + 1)
            fields.push_back(line.substr(begin, comma - begin));
        fields.push_back(line.substr(begin));
        rows.push_back(fields);
    }
    return rows;
}

std::string tempFile(const std::string &name)
{
    return testing::TempDir() + "korvane-studies-" + std::to_string(getpid()) + "-" + name;
}

// --- Ranges -------------------------------------------------------------------------------

struct RangeCase
{
    const char *name;
    const char *text;
    std::int64_t count; ///< 0: the text is refused
    double last;
};

void PrintTo(const RangeCase &c, std::ostream *os)
{
    *os << c.name;
}

class SweepRange : public testing::TestWithParam<RangeCase>
{
};

TEST_P(SweepRange, ReadOrRefused)
{
    const RangeCase &c = GetParam();
    if (c.count == 0) {
        EXPECT_THROW(cli::parseRange(c.text), std::invalid_argument);
        return;
    }
    const cli::Range range = cli::parseRange(c.text);
    EXPECT_EQ(cli::shellCount(range), c.count);
    EXPECT_EQ(cli::shellAt(range, c.count - 1), c.last);
}

INSTANTIATE_TEST_SUITE_P(Studies, SweepRange,
    testing::Values(RangeCase { "Benchmark", "100:3000:1", 2901, 3000 },
        RangeCase { "SingleShell", "600:600:5", 1, 600 },
        RangeCase { "StepPastTheEnd", "590:612:5", 5, 610 },
        // 0.1 * 10 is 1 and 0.1 * 3 is 0.30000000000000004: the shells stay decimal.
        RangeCase { "DecimalStep", "0:1:0.1", 11, 1 }, RangeCase { "Negative", "-20:0:10", 3, 0 },
        RangeCase { "TwoParts", "1:2", 0, 0 }, RangeCase { "FourParts", "1:2:3:4", 0, 0 },
        RangeCase { "ZeroStep", "1:2:0", 0, 0 }, RangeCase { "NegativeStep", "1:2:-1", 0, 0 },
        RangeCase { "Backwards", "2:1:1", 0, 0 }, RangeCase { "Words", "a:b:c", 0, 0 },
        RangeCase { "Units", "100mm:200:1", 0, 0 }, RangeCase { "Empty", "", 0, 0 },
        RangeCase { "Infinite", "1:inf:1", 0, 0 }, RangeCase { "TooMany", "0:1e9:1", 0, 0 },
        // 0.3 / 0.1 is 2.9999999999999996: TO is kept all the same.
        RangeCase { "EndOneUlpShort", "0:0.3:0.1", 4, 0.3 },
        RangeCase { "MostShells", "0:999999:1", 1000000, 999999 },
        RangeCase { "OneShellTooMany", "0:1000000:1", 0, 0 }),
    test_support::CaseName());

TEST(Studies, DecimalShellsReadBackExactly)
{
    const cli::Range range = cli::parseRange("0:1:0.1");
    EXPECT_EQ(cli::numberText(cli::shellAt(range, 3)), "0.3");
    EXPECT_EQ(cli::numberText(cli::shellAt(range, 7)), "0.7");
    EXPECT_EQ(cli::numberText(600), "600");
    EXPECT_EQ(cli::numberText(31.25), "31.25");
    // Each shell is FROM + i·STEP, not a running sum, which drifts to 1000000.2999999999.
    const cli::Range far = cli::parseRange("1000000:1000001:0.1");
    EXPECT_EQ(cli::numberText(cli::shellAt(far, 3)), "1000000.3");
    // Diameters read as a designer writes them, never in exponent form.
    EXPECT_EQ(cli::numberText(cli::shellAt(far, 0)), "1000000");
    EXPECT_EQ(cli::numberText(1e15), "1000000000000000");
    EXPECT_EQ(cli::numberText(0.000001), "0.000001");
}

// --- Sweep --------------------------------------------------------------------------------

// Each row of a sweep says what a single calculation of that shell says.
TEST(Studies, SweepRowsEqualSingleCalculations)
{
    const CountRun sweep = run({ "--sweep", "580:620:4", "32", "25", "57" });
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const auto rows = csvOf(sweep.out);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0],
        (std::vector<std::string> { "shell", "total", "removed", "final", "warning", "error" }));
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto &row = rows[i];
        ASSERT_EQ(row.size(), 6u);
        EXPECT_EQ(row[0], std::to_string(580 + 4 * (i - 1)));
        const auto single = jsonOf(run({ "--json", row[0], "32", "25", "57" }));
        EXPECT_EQ(row[1], std::to_string(single["total"].get<int>())) << row[0];
        EXPECT_EQ(row[2], std::to_string(single["removed"].get<int>())) << row[0];
        EXPECT_EQ(row[3], single["result"]) << row[0];
        EXPECT_EQ(row[4], "no");
        EXPECT_EQ(row[5], "");
    }
}

TEST(Studies, SweepGoesOnAfterRuntimeErrors)
{
    // A pitch of 0.5 needs more than 1001 rows from a shell of about 880 mm on.
    const CountRun sweep = run({ "--sweep", "0:1200:300", "0.5", "0" });
    EXPECT_EQ(sweep.status, 0) << sweep.err;
    const auto rows = csvOf(sweep.out);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], (std::vector<std::string> { "0", "0", "", "0", "no", "" }));
    EXPECT_EQ(rows[3][5], "");
    EXPECT_EQ(rows[4], (std::vector<std::string> { "900", "", "", "", "no", "9" }));
    EXPECT_EQ(rows[5], (std::vector<std::string> { "1200", "", "", "", "no", "9" }));
}

TEST(Studies, SweepMarksTheWarning)
{
    const auto rows = csvOf(run({ "--sweep", "400:400:1", "25", "19", "25" }).out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (std::vector<std::string> { "400", "199", "7", "192", "yes", "" }));
}

TEST(Studies, SweepAsJson)
{
    const CountRun sweep = run({ "--json", "--sweep", "0:1200:600", "0.5", "0" });
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const auto json = jsonOf(sweep);
    ASSERT_TRUE(json.is_array());
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(json[0]["shell"], 0);
    EXPECT_EQ(json[0]["result"], "0");
    EXPECT_EQ(json[1]["shell"], 600);
    EXPECT_EQ(json[1], [] {
        auto single = jsonOf(run({ "--json", "600", "0.5", "0" }));
        single["shell"] = 600;
        return single;
    }());
    EXPECT_EQ(json[2]["error"]["number"], 9);
    EXPECT_TRUE(json[2]["result"].is_null());
}

// --- Smallest shell -----------------------------------------------------------------------

struct MinShellCase
{
    const char *name;
    std::vector<std::string> pattern; ///< PITCH TUBE [CENTRE]
    const char *required;
    const char *resolution;
    double step;
};

void PrintTo(const MinShellCase &c, std::ostream *os)
{
    *os << c.name;
}

class MinShell : public testing::TestWithParam<MinShellCase>
{
};

// The answer holds at least N tubes after the centre tube, and one step smaller holds fewer.
TEST_P(MinShell, SmallestShellThatHoldsN)
{
    const MinShellCase &c = GetParam();
    std::vector<std::string> args { "--json", "--min-shell", c.required, "--resolution",
        c.resolution };
    args.insert(args.end(), c.pattern.begin(), c.pattern.end());
    const CountRun result = run(args);
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = jsonOf(result);
    ASSERT_TRUE(json["reached"].get<bool>());
    const double shell = json["shell"];
    const double below = json["below"]["shell"];
    EXPECT_NEAR(shell - below, c.step, 1e-9);

    const auto finalAt = [&](double diameter) {
        std::vector<std::string> single { "--json", cli::numberText(diameter) };
        single.insert(single.end(), c.pattern.begin(), c.pattern.end());
        return std::stod(jsonOf(run(single))["result"].get<std::string>());
    };
    const double required = std::stod(c.required);
    EXPECT_GE(finalAt(shell), required) << shell;
    EXPECT_LT(finalAt(below), required) << below;
    EXPECT_EQ(json["calculation"]["result"], cli::numberText(finalAt(shell)));
}

INSTANTIATE_TEST_SUITE_P(Studies, MinShell,
    testing::Values(MinShellCase { "Example", { "32", "25", "57" }, "276", "1", 1 },
        MinShellCase { "OneMore", { "32", "25", "57" }, "277", "1", 1 },
        MinShellCase { "TenthOfAMillimetre", { "32", "25", "57" }, "276", "0.1", 0.1 },
        MinShellCase { "NoCentreTube", { "25", "19" }, "121", "1", 1 },
        MinShellCase { "OneTube", { "32", "25" }, "1", "0.5", 0.5 },
        MinShellCase { "TubeOfNoDiameter", { "32", "0" }, "1", "1", 1 },
        MinShellCase { "Large", { "25", "19" }, "5000", "1", 1 },
        MinShellCase { "KnifeEdgeRing", { "19", "14" }, "819", "1", 1 }),
    test_support::CaseName());

TEST(Studies, MinShellPlainOutput)
{
    const CountRun result = run({ "--min-shell", "276", "32", "25", "57" });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(
        result.out, "shell 599 mm: total 283, removed 7, final 276\nshell 598 mm: final 264\n");
}

TEST(Studies, MinShellUnreachableBeforeRuntimeError)
{
    const CountRun result = run({ "--min-shell", "10000000", "5", "4" });
    EXPECT_EQ(result.status, 3);
    EXPECT_TRUE(result.out.empty());
    EXPECT_EQ(result.err,
        "korvane-count: 10000000 tubes cannot be reached: shell 8689 mm ends in run-time error 9 "
        "(下标越界) and the smaller shells hold at most 2725489\n");
    // A zero pitch fails at the first shell with a row.
    EXPECT_EQ(run({ "--min-shell", "5", "0", "25" }).status, 3);
}

TEST(Studies, BadStudyOptionsAreUsageErrors)
{
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>> {
             { "--min-shell", "0", "32", "25" }, { "--min-shell", "-5", "32", "25" },
             { "--min-shell", "many", "32", "25" }, { "--min-shell", "5", "32", "--", "-25" },
             { "--min-shell", "5", "--resolution", "0", "32", "25" },
             { "--resolution", "1", "600", "32", "25" }, { "--sweep", "1:2", "32", "25" },
             { "--sweep", "1:2:1", "600", "32", "25", "57" },
             { "--sweep", "1:2:1", "--min-shell", "5", "32", "25" },
             { "--sweep", "1:2:1", "--draw", "x.svg", "32", "25" },
             { "--draw", "x.jpg", "600", "32", "25" }, { "--draw", "png", "600", "32", "25" },
             // 2.7 million tubes: refused before anything is printed or painted.
             { "--draw", "x.pdf", "1748", "1", "0" }, { "--draw" } }) {
        const CountRun result = run(args);
        EXPECT_EQ(result.status, 2) << args[0] << " " << args[1];
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
}

// --- Drawings and tube lists --------------------------------------------------------------

// Circles of the SVG by the fill of the group they stand in.
std::map<std::string, int> circlesByFill(const std::string &svg)
{
    std::map<std::string, int> circles;
    std::string fill;
    std::istringstream lines(svg);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("<g ", 0) == 0) {
            const std::size_t at = line.find("fill=\"");
            fill =
                at == std::string::npos ? "" : line.substr(at + 6, line.find('"', at + 6) - at - 6);
        } else if (line.rfind("<circle", 0) == 0) {
            ++circles[fill];
        }
    }
    return circles;
}

TEST(Studies, SvgDrawingHoldsEveryTube)
{
    const std::string file = tempFile("sheet.svg");
    const CountRun result = run({ "--draw", file, "600", "32", "25", "57" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;
    const std::string svg = slurp(file);
    std::remove(file.c_str());
    const auto circles = circlesByFill(svg);
    EXPECT_EQ(circles.at("#f2f2f2"), 276); // kept tubes
    EXPECT_EQ(circles.at("#f4a6a6"), 7); // removed for the centre tube
    EXPECT_EQ(circles.at("#8b1a1a"), 1); // the centre tube
    EXPECT_EQ(circles.at("none"), 3); // shell, layout and centre circles
    EXPECT_NE(svg.find("壳内经 600 "), std::string::npos);
    EXPECT_NE(svg.find("中心管外径 57 "), std::string::npos);
    EXPECT_NE(svg.find("最后管束276"), std::string::npos);
}

TEST(Studies, DrawingMarksKnifeEdges)
{
    const std::string file = tempFile("knife.svg");
    ASSERT_EQ(run({ "--draw", file, "916", "31.25", "25" }).status, 0);
    const auto circles = circlesByFill(slurp(file));
    std::remove(file.c_str());
    EXPECT_EQ(circles.at("#f2f2f2"), 713);
    EXPECT_EQ(circles.count("#f4a6a6"), 0u);
    // Rings without fill: shell, layout circle and the 18 knife-edge positions.
    EXPECT_EQ(circles.at("none"), 2 + 18);
}

TEST(Studies, PngAndPdfDrawings)
{
    for (const auto &[name, magic] : { std::pair { "sheet.png", std::string("\x89PNG") },
             std::pair { "sheet.pdf", std::string("%PDF") } }) {
        const std::string file = tempFile(name);
        const CountRun result = run({ "--draw", file, "600", "32", "25", "57" });
        EXPECT_EQ(result.status, 0) << result.err;
        const std::string content = slurp(file);
        std::remove(file.c_str());
        EXPECT_EQ(content.substr(0, 4), magic) << name;
        EXPECT_GT(content.size(), 10000u) << name;
    }
}

TEST(Studies, UnwritableFilesFail)
{
    const std::string full = tempFile("full");
    for (const char *extension : { ".svg", ".png", ".pdf", ".dxf", ".csv" }) {
        const std::string link = full + extension;
        std::remove(link.c_str());
        ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
        const char *option = std::string(extension) == ".csv" ? "--tubes" : "--draw";
        for (const std::string &file : { link, std::string("/nonexistent/dir/x") + extension }) {
            const CountRun result = run({ option, file, "600", "32", "25", "57" });
            EXPECT_EQ(result.status, 1) << file;
            EXPECT_NE(result.err.find("cannot write " + file), std::string::npos) << result.err;
        }
        std::remove(link.c_str());
    }
}

TEST(Studies, FilesAreWrittenWholeOrNotAtAll)
{
    // Temporary files are made beside the target; none may be left behind.
    const auto leftovers = [] { return cli_run::leftoverTemporaries(); };
    const std::size_t before = leftovers();
    for (const char *extension : { ".svg", ".png", ".pdf", ".dxf", ".csv" }) {
        const std::string file = cli_run::ownFolder() + "old" + extension;
        std::ofstream(file) << "the designer's own file\n";
        const char *option = std::string(extension) == ".csv" ? "--tubes" : "--draw";
        // 2 KiB at most: every one of these files is larger.
        const CountRun result =
            cli_run::runProgram(KORVANE_COUNT, { option, file, "1000", "32", "25" }, "ulimit -f 2");
        EXPECT_EQ(result.status, 1) << extension;
        EXPECT_NE(result.err.find("cannot write " + file + ": File too large"), std::string::npos)
            << result.err;
        EXPECT_EQ(cli_run::slurp(file), "the designer's own file\n") << extension;
        EXPECT_EQ(leftovers(), before) << extension;
        std::remove(file.c_str());
    }
}

TEST(Studies, SweepIntoAFullDiskFails)
{
    const CountRun result = cli_run::runProgram(
        KORVANE_COUNT, { "--sweep", "100:3000:0.01", "25", "19" }, "exec >/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("could not be written"), std::string::npos) << result.err;
}

// A reader that goes away ends the sweep with the reason, even where SIGPIPE is ignored and
// only the failed write tells: otherwise 899,001 rows would go on being counted.
TEST(Studies, SweepIntoAClosedPipeFails)
{
    for (const bool json : { false, true }) {
        std::vector<std::string> args = { "--sweep", "100:90000:0.1", "32", "25" };
        if (json)
            args.insert(args.begin(), "--json");
        const CountRun result = cli_run::intoClosedPipe(KORVANE_COUNT, args);
        EXPECT_EQ(result.status, 1) << json;
        EXPECT_NE(result.err.find("could not be written"), std::string::npos) << result.err;
    }
}

TEST(Studies, NothingToDrawAfterRuntimeError)
{
    const std::string file = tempFile("error.svg");
    const CountRun result = run({ "--draw", file, "600", "0", "25" });
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("nothing to draw"), std::string::npos);
    EXPECT_TRUE(slurp(file).empty());
}

TEST(Studies, TubeListIsSymmetricAboutBothAxes)
{
    const std::string file = tempFile("tubes.csv");
    ASSERT_EQ(run({ "--tubes", file, "600", "32", "25", "57" }).status, 0);
    const auto rows = csvOf(slurp(file));
    std::remove(file.c_str());
    ASSERT_EQ(rows.size(), 284u);
    EXPECT_EQ(rows[0], (std::vector<std::string> { "x", "y", "row", "removed" }));
    std::set<std::pair<double, double>> places;
    int removed = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        places.insert({ std::stod(rows[i][0]), std::stod(rows[i][1]) });
        removed += rows[i][3] == "yes" ? 1 : 0;
        EXPECT_TRUE(rows[i][3] == "yes" || rows[i][3] == "no");
    }
    EXPECT_EQ(places.size(), 283u);
    EXPECT_EQ(removed, 7);
    for (const auto &[x, y] : places) {
        EXPECT_EQ(places.count({ -x, y }), 1u) << x << ", " << y;
        EXPECT_EQ(places.count({ x, -y }), 1u) << x << ", " << y;
    }
}

// --- Knife edges --------------------------------------------------------------------------

TEST(Studies, KnifeEdgeWarningAndJson)
{
    // Standard output holds only the figures; the warning goes to stderr.
    const CountRun plain = run({ "600", "19", "14" });
    EXPECT_EQ(plain.out, "819\n");
    EXPECT_EQ(plain.err,
        "korvane-count: warning: knife edge: 6 tubes within 1e-6 mm of the layout circle (2 "
        "counted); the last bit of rounding decides them\n");
    EXPECT_EQ(run({ "16", "32", "0" }).err,
        "korvane-count: warning: knife edge: 1 tube within 1e-6 mm of the layout circle (1 "
        "counted); the last bit of rounding decides them\n");

    const auto json = jsonOf(run({ "--json", "600", "19", "14" }));
    EXPECT_EQ(json["result"], "819");
    ASSERT_EQ(json["knife_edge"].size(), 6u);
    int counted = 0;
    for (const auto &edge : json["knife_edge"]) {
        EXPECT_EQ(edge["circle"], "layout");
        counted += edge["counted"].get<bool>() ? 1 : 0;
        const double x = edge["x"], y = edge["y"];
        EXPECT_NEAR(std::hypot(x, y) + 7, 292, 1e-9);
    }
    EXPECT_EQ(counted, 2);

    const auto centre = jsonOf(run({ "--json", "600", "32", "25", "23" }));
    ASSERT_EQ(centre["knife_edge"].size(), 6u);
    EXPECT_EQ(centre["knife_edge"][0]["circle"], "centre");
    EXPECT_EQ(
        jsonOf(run({ "--json", "600", "32", "25", "57" }))["knife_edge"], nlohmann::json::array());
    EXPECT_TRUE(jsonOf(run({ "--json", "600", "0", "25" }))["knife_edge"].is_null());
    EXPECT_EQ(json["knife_edge_count"], 6);
    // So small a pitch puts 327,689 lattice points on the circle: all are counted, the first
    // thousand listed, and the answer stays small.
    const CountRun absurd = run({ "--json", "--", "16", "5e-324", "-1e-323" });
    EXPECT_LT(absurd.out.size(), 200'000u);
    const auto many = jsonOf(absurd);
    EXPECT_EQ(many["knife_edge"].size(), cli::kMostKnifeEdgesListed);
    EXPECT_EQ(many["knife_edge_count"], 327689);
    EXPECT_NE(absurd.err.find("327689 tubes within 1e-6 mm of the layout circle (5 counted); the "
                              "last bit of rounding decides them (the first 1000 are listed)"),
        std::string::npos)
        << absurd.err;
}

} // namespace

// --- What the figures assume ----------------------------------------------------------------

TEST(Notes, WarnOnStderrAndInJsonWithoutChangingTheFigures)
{
    struct Case
    {
        std::vector<std::string> values;
        std::vector<std::string> expected; ///< a part of each note, in order
        const char *result;
    };
    const std::vector<Case> cases = {
        { { "600", "32", "25", "57" }, {}, "276" },
        // What a Chinese keyboard types in full width is wholly a number.
        { { "６００", "３２", "２５", "５７" }, {}, "276" },
        { { "600,5", "32", "25mm" },
            { "SHELL '600,5' is not wholly a number; read as 600",
                "TUBE '25mm' is not wholly a number; read as 25" },
            "283" },
        { { "600", "20", "25" }, { "the pitch 20 mm is smaller than the tube 25 mm" }, nullptr },
        { { "--", "600", "32", "-25" }, { "the tube diameter -25 mm is negative" }, nullptr },
        { { "600", "32", "25", "2000" },
            { "3679 tubes removed for the centre tube, more than the 283 there are",
                "the final count -3396 is negative" },
            "-3396" },
        { { "600", "40", "33" },
            { "the tube 33 mm is larger than 32 mm: the count keeps 8 mm between shell and layout "
              "circle (layout circle 584 mm); the window's note, b = 0.25·d = 8.25 mm, would give "
              "a layout circle of 583.5 mm" },
            nullptr },
        { { "600", "19", "14" }, { "knife edge: 6 tubes" }, "819" },
        { { "abc", "32", "25" }, { "SHELL 'abc' is not wholly a number; read as 0" }, "0" },
        // Bytes that are not UTF-8 are quoted as U+FFFD: the note and the JSON stay valid.
        { { "\xff"
            "600",
              "32", "25" },
            { "SHELL '\xEF\xBF\xBD"
              "600' is not wholly a number; read as 0" },
            "0" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.values[0] + " " + c.values[1] + " " + c.values[2]);
        const CountRun plain = run(c.values);
        EXPECT_EQ(plain.status, 0);
        std::vector<std::string> json = { "--json" };
        json.insert(json.end(), c.values.begin(), c.values.end());
        const CountRun structured = run(json);
        EXPECT_EQ(structured.status, 0);
        EXPECT_EQ(structured.err, plain.err);
        const auto notes = jsonOf(structured)["notes"];
        // One line each on stderr, the same texts as in JSON.
        std::string lines;
        for (const auto &note : notes)
            lines += "korvane-count: " + note.get<std::string>() + "\n";
        EXPECT_EQ(plain.err, lines);
        ASSERT_EQ(notes.size(), c.expected.size()) << plain.err;
        for (std::size_t i = 0; i < notes.size(); ++i)
            EXPECT_NE(notes[i].get<std::string>().find(c.expected[i]), std::string::npos)
                << notes[i];
        // The figures are the calculation's, whatever the notes say.
        if (c.result) {
            EXPECT_EQ(plain.out.substr(plain.out.rfind('\n', plain.out.size() - 2) + 1),
                std::string(c.result) + "\n");
        }
    }
}

TEST(Notes, HelpVersionAndLongArguments)
{
    const CountRun help = run({ "--help" });
    EXPECT_EQ(help.status, 0);
    for (const char *part : { "SHELL", "mm", "Examples", "Exit status" })
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    EXPECT_EQ(cli_run::runProgram(KORVANE_COUNT, { "--help" }, "exec >/dev/full").status, 1);
    const CountRun version = run({ "--version" });
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("korvane-count ", 0), 0u) << version.out;
    // A long argument is quoted in part, and a whole number too large says so.
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>> {
             { "--min-shell", std::string(500, '7') + "x", "32", "25" },
             { "--min-shell", "5", "--resolution", std::string(500, 'y'), "32", "25" },
             { "--no-such-option" + std::string(500, 'z'), "600", "32", "25" } }) {
        const CountRun long_ = run(args);
        EXPECT_EQ(long_.status, 2);
        EXPECT_LT(long_.err.size(), 300u) << long_.err;
        EXPECT_EQ(long_.err.find('\n'), long_.err.size() - 1) << long_.err;
    }
    const CountRun large = run({ "--min-shell", "99999999999999999999", "32", "25" });
    EXPECT_EQ(large.status, 2);
    EXPECT_NE(large.err.find("too large"), std::string::npos) << large.err;
}

// --- Studies that end ---------------------------------------------------------------------

TEST(StudiesEnd, UnreachableTinyStepsAndFileNames)
{
    // No shell holds the count: an answer with its own status, and "reached": false.
    const CountRun none = run({ "--min-shell", "9223372036854775807", "1e9", "0" });
    EXPECT_EQ(none.status, 5);
    EXPECT_TRUE(none.out.empty()) << none.out;
    EXPECT_NE(none.err.find("no shell up to"), std::string::npos) << none.err;
    const CountRun noneJson = run({ "--json", "--min-shell", "9223372036854775807", "1e9", "0" });
    EXPECT_EQ(noneJson.status, 5);
    const auto json = jsonOf(noneJson);
    EXPECT_EQ(json["reached"], false);
    EXPECT_TRUE(json["shell"].is_null());
    EXPECT_GT(json["limit"].get<double>(), 1e11);
    // The finest resolution still ends; a finer one, or a sweep step finer than the shells can
    // be told apart, is a usage error.
    EXPECT_EQ(run({ "--min-shell", "1", "--resolution", "1e-9", "32", "25" }).status, 0);
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>> {
             { "--min-shell", "1", "--resolution", "1e-300", "32", "25" },
             { "--min-shell", "1", "--resolution", "1e-10", "32", "25" },
             { "--sweep", "1:1.00000001:1e-10", "32", "25" },
             { "--sweep", "1e15:1.0000000000001e15:0.01", "32", "25" },
             { "--draw", "x.svg", "--tubes", "x.svg", "600", "32", "25" } }) {
        const CountRun refused = run(args);
        EXPECT_EQ(refused.status, 2) << args[1];
        EXPECT_TRUE(refused.out.empty()) << refused.out;
    }
    // A single shell far out is still one row.
    EXPECT_EQ(run({ "--sweep", "1e15:1e15:0.01", "32", "25" }).status, 0);
    // "-" is standard output, after the count.
    const CountRun listed = run({ "--tubes", "-", "600", "32", "25", "57" });
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(
        listed.out.rfind("总的管束283\n中心去掉的管束7\n 最后管束276\n276\nx,y,row,removed\n", 0),
        0u);
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 4 + 1 + 283);
}

// An option given with nothing in it, or the same file named twice under two names, is a
// mistake the program says, before anything is printed or written.
TEST(StudiesEnd, EmptyValuesAndOneFileUnderTwoNames)
{
    for (const char *option : { "--draw", "--tubes", "--sweep", "--min-shell" }) {
        const CountRun refused = run({ option, "", "600", "32", "25" });
        EXPECT_EQ(refused.status, 2) << option;
        EXPECT_TRUE(refused.out.empty()) << refused.out;
        EXPECT_EQ(refused.err.rfind(std::string("korvane-count: ") + option + " is empty", 0), 0u)
            << refused.err;
    }
    const std::string file = cli_run::ownFolder() + "twice.svg";
    const std::string link = cli_run::ownFolder() + "twice-link.svg";
    std::remove(file.c_str());
    std::remove(link.c_str());
    ASSERT_EQ(symlink(file.c_str(), link.c_str()), 0); // dangling: the file is still to be made
    for (const std::string &other : { cli_run::ownFolder() + "./twice.svg", link }) {
        const CountRun refused = run({ "--draw", file, "--tubes", other, "600", "32", "25" });
        EXPECT_EQ(refused.status, 2) << other;
        EXPECT_NE(refused.err.find("are the same file"), std::string::npos) << refused.err;
        struct stat info
        {
        };
        EXPECT_NE(stat(file.c_str(), &info), 0) << "nothing written";
    }
    std::remove(link.c_str());
}

// The positions and the knife-edge report are extras: whatever the Calculate command gives, the
// program prints and exits with, as the window would.
TEST(StudiesEnd, ExtrasNeverChangeTheOutcome)
{
    struct Case
    {
        std::vector<std::string> values;
        const char *result;
        bool sweep; ///< JSON as a sweep of one shell
    };
    const std::vector<Case> cases = {
        // Half of so small a pitch rounds to 0 in odd rows: the axis is told by place. Its
        // single JSON lists 327,689 knife edges (40 MB), so it is read as a sweep, which the
        // fault lost as well.
        { { "--", "16", "5e-324", "-1e-323" }, "5", true },
        // Probing the row where the scan stopped, and walking past a row's end, overflow.
        { { "2.6e154", "1.31e154", "0" }, "1", false },
        { { "600", "1e154", "25" }, "1", false },
    };
    for (const Case &c : cases) {
        const CountRun plain = run(c.values);
        EXPECT_EQ(plain.status, 0) << c.values[1] << ": " << plain.err;
        EXPECT_EQ(plain.out, std::string(c.result) + "\n");
        std::vector<std::string> args = { "--json" };
        if (c.sweep)
            args.insert(args.end(), { "--sweep", c.values[1] + ":" + c.values[1] + ":1" });
        args.insert(args.end(), c.values.begin() + (c.sweep ? 2 : 0), c.values.end());
        if (c.sweep)
            args.insert(args.end() - 2, "--");
        const CountRun json = run(args);
        EXPECT_EQ(json.status, 0) << json.err;
        const auto parsed = jsonOf(json);
        EXPECT_EQ((c.sweep ? parsed.at(0) : parsed)["result"], c.result);
    }
}

TEST(StudiesEnd, CtrlCEndsASweepAfterAWholeRow)
{
    for (const bool json : { false, true }) {
        std::vector<std::string> args = { "--sweep", "100:90000:0.1", "32", "25" };
        if (json)
            args.insert(args.begin(), "--json");
        const CountRun stopped = cli_run::interruptedOnceWriting(KORVANE_COUNT, args);
        EXPECT_EQ(stopped.status, 130);
        ASSERT_FALSE(stopped.out.empty());
        if (json) {
            // The rows so far, as a whole array.
            const auto rows = jsonOf(stopped);
            EXPECT_GT(rows.size(), 0u);
            EXPECT_LT(rows.size(), 899001u);
        } else {
            EXPECT_EQ(stopped.out.back(), '\n');
            const std::string last =
                stopped.out.substr(stopped.out.rfind('\n', stopped.out.size() - 2) + 1);
            EXPECT_EQ(std::count(last.begin(), last.end(), ','), 5) << last;
        }
    }
}

namespace {

/// Runs korvane-count with `args`, its output discarded, and gives its exit status and its peak
/// resident memory in kB. A forked helper runs it, so the peak is of this run alone.
std::pair<int, long> peakMemory(const std::vector<std::string> &args)
{
    const std::string command = "exec " + commandLine(KORVANE_COUNT, args) + " >/dev/null 2>&1";
    int fds[2];
    if (pipe(fds) != 0)
        return { -1, -1 };
    const pid_t helper = fork();
    if (helper == 0) {
        close(fds[0]);
        const int status = std::system(command.c_str());
        rusage usage {};
        getrusage(RUSAGE_CHILDREN, &usage);
        const long found[2] = { WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss };
        _exit(write(fds[1], found, sizeof found) == sizeof found ? 0 : 1);
    }
    close(fds[1]);
    long found[2] = { -1, -1 };
    const bool read_whole = helper > 0 && read(fds[0], found, sizeof found) == sizeof found;
    close(fds[0]);
    if (helper > 0)
        waitpid(helper, nullptr, 0);
    return read_whole ? std::pair<int, long> { static_cast<int>(found[0]), found[1] }
                      : std::pair<int, long> { -1, -1 };
}

} // namespace

TEST(StudiesEnd, JsonSweepStreamsInLittleMemory)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers' allocator keeps freed memory; the plain build measures";
#endif
    // 300,000 shells, 67 MB of JSON: held whole, the array took 369 MB.
    const auto [status, kilobytes] =
        peakMemory({ "--json", "--sweep", "100:129.9999:0.0001", "32", "25" });
    EXPECT_EQ(status, 0);
    EXPECT_GT(kilobytes, 0);
    EXPECT_LT(kilobytes, 100 * 1024);
}
