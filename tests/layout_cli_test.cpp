// korvane-layout as a user runs it: the published values, refusals, files and studies.

#include "cli_run.h"
#include "report/design.h"
#include "report/form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace {

using cli_run::CountRun;

CountRun layoutRun(const std::vector<std::string> &args, const std::string &setup = "")
{
    return cli_run::runProgram(KORVANE_LAYOUT, args, setup);
}

std::string tempPath(const std::string &name)
{
    return cli_run::ownFolder() + name;
}

std::size_t linesOf(const std::string &text)
{
    return std::count(text.begin(), text.end(), '\n');
}

std::size_t leftovers()
{
    return cli_run::leftoverTemporaries();
}

// --- Published values ---------------------------------------------------------------------

struct Published
{
    const char *pattern;
    const char *circle; ///< "--otl" or "--shell"
    const char *diameter, *tube, *pitch, *passes, *centre;
    std::int64_t total;
};

TEST(LayoutPublished, EveryValueComesOut)
{
    const Published cases[] = {
        { "30", "--otl", "1184", "28", "36", "2", "on-tube", 898 },
        { "30", "--otl", "1184", "28", "36", "8", "on-tube", 788 },
        { "30", "--otl", "1184", "28", "40", "6", "on-tube", 652 },
        { "90", "--otl", "1184", "28", "36", "2", "on-tube", 772 },
        { "90", "--otl", "1184", "28", "36", "6", "on-tube", 712 },
        { "90", "--otl", "1184", "28", "36", "8", "on-tube", 684 },
        { "90", "--otl", "5000", "28", "36", "2", "on-tube", 14842 },
        { "45", "--otl", "1184", "28", "36", "1", "on-tube", 805 },
        { "45", "--otl", "1184", "28", "36", "2", "on-tube", 782 },
        { "45", "--otl", "1184", "28", "36", "4", "on-tube", 760 },
        { "45", "--otl", "1184", "28", "36", "6", "on-tube", 698 },
        { "45", "--otl", "1184", "28", "36", "8", "on-tube", 680 },
        { "45", "--otl", "1184", "28", "35", "1", "on-tube", 861 },
        { "45", "--otl", "1184", "28", "35", "2", "on-tube", 838 },
        { "45", "--otl", "1184", "28", "35", "4", "on-tube", 816 },
        { "45", "--otl", "1184", "28", "35", "6", "on-tube", 750 },
        { "45", "--otl", "1184", "28", "35", "8", "on-tube", 732 },
        { "45", "--otl", "1007", "28", "36", "2", "on-tube", 558 },
        { "45", "--otl", "1008", "28", "36", "2", "on-tube", 574 },
        { "45", "--otl", "1008", "28", "36", "1", "on-tube", 593 },
        { "60", "--otl", "1184", "28", "36", "2", "on-tube", 876 },
        { "30", "--otl", "1200", "25", "31.25", "1", "on-tube", 1285 },
        // The generator's Di 500 less a diametral clearance of 6.35 (and of 12.7).
        { "30", "--otl", "493.65", "19.05", "23.8125", "1", "on-tube", 361 },
        { "60", "--otl", "493.65", "19.05", "23.8125", "1", "on-tube", 361 },
        { "45", "--otl", "493.65", "19.05", "23.8125", "1", "on-tube", 305 },
        { "90", "--otl", "493.65", "19.05", "23.8125", "1", "on-tube", 305 },
        { "45", "--otl", "493.65", "19.05", "23.8125", "1", "straddle", 316 },
        { "90", "--otl", "493.65", "19.05", "23.8125", "1", "straddle", 312 },
        { "30", "--otl", "487.3", "19.05", "23.8125", "1", "on-tube", 349 },
        // The same through the shell and its clearance: 500 - 2·3.175.
        { "30", "--shell", "500", "19.05", "23.8125", "1", "on-tube", 361 },
    };
    for (const Published &c : cases) {
        std::vector<std::string> args = { "--json", c.circle, c.diameter, "--tube", c.tube,
            "--pitch", c.pitch, "--pattern", c.pattern, "--passes", c.passes, "--centre",
            c.centre };
        if (std::string(c.circle) == "--shell")
            args.insert(args.end(), { "--clearance", "3.175" });
        const CountRun run = layoutRun(args);
        SCOPED_TRACE(c.pattern + std::string(" ") + c.diameter + " " + c.pitch + " passes "
            + c.passes + " " + c.centre + ": " + run.err);
        ASSERT_EQ(run.status, 0);
        const nlohmann::json json = cli_run::jsonOf(run);
        EXPECT_EQ(json["total"], c.total);
        EXPECT_EQ(json["centre"], c.centre);
        EXPECT_EQ(json["per_pass"].size(), std::stoul(c.passes));
        EXPECT_DOUBLE_EQ(json["layout_circle"].get<double>(),
            std::string(c.circle) == "--otl" ? std::stod(c.diameter) : 493.65);
    }
}

TEST(LayoutJson, LanesBestAndCentreTube)
{
    const CountRun run = layoutRun({ "--json", "--shell", "600", "--tube", "25", "--pitch", "32",
        "--passes", "6", "--centre", "best", "--centre-tube", "57" });
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json json = cli_run::jsonOf(run);
    EXPECT_EQ(json["layout_circle"], 584);
    EXPECT_EQ(json["clearance"], 8);
    ASSERT_EQ(json["lanes"].size(), 3u);
    // Off-centre lanes on the rows nearest ±0.265·ρ: ρ = 279.5, row m = 3 at 3·32·√3/2.
    EXPECT_EQ(json["lanes"][0]["direction"], "horizontal");
    EXPECT_NEAR(json["lanes"][0]["position"].get<double>(), 83.138438763306, 1e-9);
    EXPECT_NEAR(json["lanes"][1]["position"].get<double>(), -83.138438763306, 1e-9);
    EXPECT_NEAR(json["lanes"][0]["spacing"].get<double>(), 55.425625842204, 1e-9);
    EXPECT_EQ(json["lanes"][2]["direction"], "vertical");
    EXPECT_EQ(json["lanes"][2]["spacing"], 64);
    const std::int64_t total = json["total"];
    EXPECT_EQ(total,
        json["in_circle"].get<std::int64_t>() - json["lane_removed"].get<std::int64_t>()
            - json["centre_removed"].get<std::int64_t>());
    EXPECT_EQ(std::max(json["best_of"]["on-tube"], json["best_of"]["straddle"]), total);
}

// --- Refusals -----------------------------------------------------------------------------

TEST(LayoutUsage, RefusedWithOneLineAndNothingOnStandardOutput)
{
    const std::vector<std::string> base = { "--tube", "25", "--pitch", "32" };
    const std::vector<std::pair<std::vector<std::string>, const char *>> cases = {
        { { "--shell", "abc" }, "not a number" },
        { { "--shell", "inf" }, "not a number" },
        { { "--shell", "0" }, "must be positive" },
        { { "--shell", "-600" }, "must be positive" },
        { { "--shell", "600.0000001" }, "more than 6 decimals" },
        { { "--shell", "100000.000001" }, "larger than 100000" },
        { { "--shell", "600", "--otl", "584" }, "exclude each other" },
        { {}, "--shell DI or --otl DL" },
        { { "--otl", "584", "--clearance", "8" }, "--clearance needs --shell" },
        { { "--shell", "600", "--pattern", "120" }, "--pattern" },
        { { "--shell", "600", "--passes", "3" }, "--passes" },
        { { "--shell", "600", "--passes", "2,4" }, "needs --sweep" },
        { { "--shell", "600", "--centre", "middle" }, "--centre" },
        { { "--shell", "600", "--passes", "2", "--lane-spacing", "0" }, "must be positive" },
        { { "--shell", "600", "--lane-spacing", "1,2,3" }, "H or H,V" },
        { { "--shell", "600", "--centre-tube", "-1" }, "0 (none) or more" },
        // An empty value is never the same as leaving the option out.
        { { "--shell", "600", "--draw", "" }, "--draw is empty" },
        { { "--shell", "600", "--tubes", "" }, "--tubes is empty" },
        { { "--shell", "600", "--centre-tube", "" }, "--centre-tube is empty" },
        { { "--shell", "600", "--passes", "2", "--lane-spacing", "" }, "--lane-spacing is empty" },
        { { "--shell", "600", "--pattern", "" }, "--pattern is empty" },
        { { "--shell", "" }, "--shell is empty" },
        { { "--min-shell", "" }, "--min-shell is empty" },
        { { "--sweep", "" }, "--sweep is empty" },
        { { "--min-shell", "5", "--resolution", "" }, "--resolution is empty" },
        // Nonsense that used to pass for a layout.
        { { "--shell", "600", "--clearance", "1000" },
            "the clearance 1000 mm leaves no layout circle in a 600 mm shell (DL -1400 mm)" },
        { { "--shell", "16" }, "leaves no layout circle" },
        { { "--shell", "600", "--passes", "2", "--lane-spacing", "38,9999" }, "vertical lane" },
        { { "--shell", "600", "--lane-spacing", "38" }, "1 pass has no lanes" },
        { { "--sweep", "10:16:1", "--clearance", "8" }, "no layout circle in any shell" },
        { { "--sweep", "100:200:50", "--passes", "1,2", "--lane-spacing", "38,44" },
            "vertical lane" },
        { { "--shell", "600", "--tube", "25", "--pitch", "24.999999" }, "smaller than the tube" },
        { { "--shell", "100", "--tube", "0.00004", "--pitch", "0.00004" }, "too many rows" },
        { { "--shell", "600", "--pitch", "32" }, "--tube is required" },
        { { "--shell", "600", "--clearance", "-1" }, "0 or more" },
        { { "--shell", "600", "--sweep", "1:2:1" }, "without a value" },
        { { "--sweep", "600:500:1" }, "no larger than TO" },
        { { "--sweep", "100:200:0.000001" }, "at most 1000000" },
        { { "--sweep", "100:200" }, "FROM:TO:STEP" },
        { { "--sweep", "100:200:1", "--tubes", "x.csv" }, "not a sweep" },
        { { "--min-shell", "1.5" }, "whole number" },
        { { "--min-shell", "99999999999999999999" }, "too large" },
        { { "--min-shell", "0" }, "1 or more" },
        { { "--min-shell", "5", "--resolution", "0" }, "must be positive" },
        { { "--shell", "600", "--resolution", "1" }, "--resolution" },
        { { "--shell", "600", "--no-such-option" }, "no-such-option" },
        // Heads: a name, the bundle it holds, the shells its rule has numbers for.
        { { "--shell", "600", "--head", "hairpin" },
            "--head must be fixed, u-tube, floating, pull-through or packed, not 'hairpin'" },
        { { "--shell", "600", "--passes", "2", "--bundle", "u-tube", "--head", "floating" },
            "--bundle u-tube is the u-tube head, not --head floating" },
        { { "--shell", "600", "--passes", "2", "--bundle", "u-tube", "--head", "fixed" },
            "not --head fixed" },
        { { "--shell", "600", "--passes", "2", "--head", "u-tube", "--bundle", "fixed" },
            "--head u-tube is the U-tube bundle, not --bundle fixed" },
        { { "--shell", "2600.001", "--head", "floating" }, "go up to DN 2600, not 2600.001 mm" },
        { { "--sweep", "2500:2700:100", "--shell", "--head", "floating" }, "DN 2600, not 2700" },
        { { "--shell", "80", "--head", "pull-through" },
            "a 80 mm shell leaves no layout circle under a pull-through head (DL -5.61 mm)" },
        { { "--sweep", "10:80:10", "--shell", "--head", "pull-through" },
            "a pull-through head's rule leaves no layout circle in any shell" },
        // Twice is refused by name, as the page refuses a link with an option twice.
        { { "--shell", "600", "--shell", "700" }, "korvane-layout: --shell is given twice\n" },
        { { "--shell", "600", "--gb151", "--gb151" }, "--gb151 is given twice" },
        { { "--sweep", "600:700:50", "--shell", "--shell" }, "--shell is given twice" },
        { { "--shell", "600", "--draw", "sheet.jpg" }, ".svg, .png, .pdf or .dxf" },
        { { "--shell", "600", "--draw", "svg" }, ".svg, .png, .pdf or .dxf" },
        { { "--shell", "600", "--draw", "a.dxf/sheet" }, ".svg, .png, .pdf or .dxf" },
        { { "--shell", "600", "--numbers" }, "give --draw" },
        { { "--shell", "600", "--draw", "x.DXF", "--tubes", "x.DXF" }, "same file" },
        { { "--sweep", "100:200:1", "--draw", "x.svg" }, "not a sweep" },
        // The limit is checked before anything is drawn or printed.
        { { "--otl", "30000", "--tube", "19", "--pitch", "25", "--draw", "x.svg" },
            "at most 200000 tubes" },
    };
    for (const auto &[extra, message] : cases) {
        std::vector<std::string> args = extra;
        if (std::find(args.begin(), args.end(), "--pitch") == args.end())
            args.insert(args.end(), base.begin(), base.end());
        const CountRun run = layoutRun(args);
        SCOPED_TRACE(args.front() + " ... : " + run.err);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(message), std::string::npos);
    }
    const CountRun overlap =
        layoutRun({ "--shell", "600", "--tube", "25", "--pitch", "24.999999" });
    EXPECT_EQ(overlap.status, 2);
    EXPECT_EQ(linesOf(overlap.err), 1u) << overlap.err;
    // Help and version print and succeed.
    EXPECT_EQ(layoutRun({ "--help" }).status, 0);
    EXPECT_EQ(layoutRun({ "--help" }, "exec >/dev/full").status, 1);
    EXPECT_NE(layoutRun({ "--version" }).out.find("korvane-layout"), std::string::npos);
}

// --- Files --------------------------------------------------------------------------------

TEST(LayoutFiles, TubeListMatchesTheCounts)
{
    const std::string file = tempPath("tubes.csv");
    const CountRun run = layoutRun({ "--json", "--shell", "1000", "--tube", "19", "--pitch", "25",
        "--pattern", "45", "--passes", "8", "--centre-tube", "60", "--tubes", file });
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json json = cli_run::jsonOf(run);
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "n,x,y,pass,site");
    std::map<int, std::int64_t> perPass;
    std::int64_t n = 0;
    while (std::getline(in, line)) {
        // n runs 1, 2, 3... in the list's order, as the drawing labels the tubes.
        std::istringstream fields(line);
        std::string number, x, y, pass;
        std::getline(fields, number, ',');
        std::getline(fields, x, ',');
        std::getline(fields, y, ',');
        std::getline(fields, pass);
        EXPECT_EQ(std::stoll(number), ++n);
        ++perPass[std::stoi(pass)];
        // Every centre lies in the layout circle, to the rounding of its printed digits.
        EXPECT_LE(std::hypot(std::stod(x), std::stod(y)),
            (json["layout_circle"].get<double>() - 19) / 2 + 1e-9);
    }
    EXPECT_EQ(n, json["total"]);
    ASSERT_EQ(perPass.size(), 8u);
    for (int pass = 1; pass <= 8; ++pass)
        EXPECT_EQ(perPass[pass], json["per_pass"][pass - 1]) << "pass " << pass;
    // To standard output the same list follows the counts, whole.
    for (const char *target : { "-", "/dev/stdout" }) {
        std::vector<std::string> args = { "--json", "--shell", "1000", "--tube", "19", "--pitch",
            "25", "--pattern", "45", "--passes", "8", "--centre-tube", "60", "--tubes", target };
        const CountRun out = layoutRun(args);
        EXPECT_EQ(out.out, run.out + cli_run::slurp(file)) << target;
    }
    std::remove(file.c_str());
}

TEST(LayoutFiles, WholeOrUntouched)
{
    const std::vector<std::string> big = { "--shell", "2000", "--tube", "19", "--pitch", "25",
        "--passes", "4" };
    const std::string old = tempPath("old.csv");
    const std::size_t before = leftovers();
    // Past a file-size limit (2 KiB) the old file stays as it was, and no temporary is left.
    {
        std::ofstream(old) << "the designer's own list\n";
        std::vector<std::string> args = big;
        args.insert(args.end(), { "--tubes", old });
        const CountRun run = layoutRun(args, "ulimit -f 2");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("cannot write " + old + ": File too large"), std::string::npos)
            << run.err;
        EXPECT_EQ(cli_run::slurp(old), "the designer's own list\n");
        EXPECT_EQ(leftovers(), before);
    }
    // A new file that cannot be written is not left behind, cut short.
    {
        const std::string fresh = tempPath("fresh.csv");
        std::vector<std::string> args = big;
        args.insert(args.end(), { "--tubes", fresh });
        EXPECT_EQ(layoutRun(args, "ulimit -f 2").status, 1);
        struct stat info
        {
        };
        EXPECT_NE(stat(fresh.c_str(), &info), 0);
        EXPECT_EQ(leftovers(), before);
    }
    // Written whole, it replaces the old file, keeping its permissions.
    {
        chmod(old.c_str(), 0640);
        std::vector<std::string> args = big;
        args.insert(args.end(), { "--tubes", old });
        ASSERT_EQ(layoutRun(args).status, 0);
        EXPECT_GT(cli_run::slurp(old).size(), 10'000u);
        struct stat info
        {
        };
        ASSERT_EQ(stat(old.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
    }
    std::remove(old.c_str());
    // Drawings alike, in every format: past the limit the old file stays and nothing is left.
    for (const char *extension : { ".dxf", ".svg", ".png", ".pdf" }) {
        const std::string drawing = tempPath(std::string("old") + extension);
        std::ofstream(drawing) << "the designer's own drawing\n";
        std::vector<std::string> args = big;
        args.insert(args.end(), { "--numbers", "--draw", drawing });
        const CountRun run = layoutRun(args, "ulimit -f 2");
        EXPECT_EQ(run.status, 1) << extension;
        EXPECT_NE(run.err.find("cannot write " + drawing + ": File too large"), std::string::npos)
            << run.err;
        EXPECT_EQ(cli_run::slurp(drawing), "the designer's own drawing\n");
        EXPECT_EQ(leftovers(), before);
        std::remove(drawing.c_str());
    }
    // A folder that cannot take the file: the reason, exit 1.
    const CountRun missing = layoutRun({ "--shell", "600", "--tube", "25", "--pitch", "32",
        "--tubes", tempPath("no-such-folder/tubes.csv") });
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
}

// --- Studies ------------------------------------------------------------------------------

TEST(LayoutSweep, TableOfPassCounts)
{
    const CountRun run = layoutRun(
        { "--sweep", "590:610:5", "--tube", "25", "--pitch", "32", "--passes", "1,2,4,6,8" });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
        "shell,layout_circle,total_1,total_2,total_4,total_6,total_8\n"
        "590,574,265,248,220,208,192\n"
        "595,579,265,248,220,208,192\n"
        "600,584,283,266,236,224,204\n"
        "605,589,283,266,236,224,204\n"
        "610,594,295,278,248,232,216\n");
    // Decimal steps give decimal diameters, exactly, to the last one.
    const CountRun decimal =
        layoutRun({ "--sweep", "99999:100000:0.1", "--otl", "--tube", "25", "--pitch", "32000" });
    ASSERT_EQ(decimal.status, 0) << decimal.err;
    EXPECT_NE(decimal.out.find("\n99999.3,"), std::string::npos);
    EXPECT_NE(decimal.out.find("\n100000,"), std::string::npos);
    EXPECT_EQ(linesOf(decimal.out), 12u);
    // JSON streams one object a diameter, each a whole layout.
    const CountRun json = layoutRun({ "--json", "--sweep", "500:700:50", "--otl", "--tube", "25",
        "--pitch", "32", "--passes", "2,4" });
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json rows = cli_run::jsonOf(json);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2]["layout_circle"], 600);
    EXPECT_EQ(rows[2]["layouts"][1]["passes"], 4);
}

TEST(LayoutSweep, StopsOnAWriteErrorOrCtrlC)
{
    const std::vector<std::string> sweep = { "--sweep", "100:20000:0.1", "--tube", "19", "--pitch",
        "25", "--centre", "best" };
    EXPECT_EQ(layoutRun(sweep, "exec >/dev/full").status, 1);
    // A closed pipe, with SIGPIPE ignored.
    EXPECT_EQ(cli_run::intoClosedPipe(KORVANE_LAYOUT, sweep, 100).status, 1);
    // Ctrl+C once rows are arriving: the sweep ends after a whole row, with status 130.
    const CountRun interrupted = cli_run::interruptedOnceWriting(KORVANE_LAYOUT, sweep);
    EXPECT_EQ(interrupted.status, 130);
    const std::string &text = interrupted.out;
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    EXPECT_LT(linesOf(text), 199'002u);
}

TEST(LayoutMinShell, AnswerAndUnreachable)
{
    const CountRun run =
        layoutRun({ "--min-shell", "276", "--tube", "25", "--pitch", "32", "--centre-tube", "57" });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("壳体内径 Di 599 mm"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("小一档 壳体内径 Di 598 mm：总管数 264 管"), std::string::npos);
    const CountRun json = layoutRun({ "--json", "--min-shell", "1000", "--otl", "--tube", "25",
        "--pitch", "32", "--passes", "6", "--resolution", "0.5" });
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json answer = cli_run::jsonOf(json);
    EXPECT_GE(answer["layout"]["total"], 1000);
    EXPECT_LT(answer["below"]["total"], 1000);
    EXPECT_EQ(answer["below"]["diameter"].get<double>() + 0.5, answer["diameter"].get<double>());
    // Shells whose rods or cut the single count refuses do not hold N, and the line below
    // says why that shell is refused.
    const struct
    {
        std::vector<std::string> args;
        const char *answer, *below;
    } refusedBelow[] = {
        { { "--min-shell", "10", "--tube", "25", "--pitch", "32", "--passes", "2", "--tie-rods",
              "12" },
            "至少 10 管的最小壳体内径 Di 320 mm",
            "小一档 壳体内径 Di 319 mm：不能布管（拉杆过多：管束边缘的管子不够）" },
        { { "--min-shell", "1", "--tube", "25", "--pitch", "32", "--passes", "2", "--bundle",
              "u-tube", "--tie-rods", "2" },
            "至少 1 管的最小壳体内径 Di 169 mm",
            "小一档 壳体内径 Di 168 mm：不能布管（拉杆过多：管束边缘的管子不够）" },
        { { "--min-shell", "20", "--tube", "14", "--pitch", "19", "--passes", "2", "--tie-rods",
              "tema" },
            "至少 20 管的最小壳体内径 Di 153 mm",
            "小一档 壳体内径 Di 152 mm：不能布管（超出拉杆表的范围，请输入根数）" },
        { { "--min-shell", "1", "--tube", "25", "--pitch", "32", "--baffle-cut", "15" },
            "至少 1 管的最小壳体内径 Di 152 mm",
            "小一档 壳体内径 Di 151 mm：不能布管（切线在所有管子之外：缺口内没有管子）" },
    };
    for (const auto &row : refusedBelow) {
        const CountRun plain = layoutRun(row.args);
        ASSERT_EQ(plain.status, 0) << plain.err;
        EXPECT_NE(plain.out.find(row.answer), std::string::npos) << plain.out;
        EXPECT_NE(plain.out.find(row.below), std::string::npos) << plain.out;
        std::vector<std::string> args = row.args;
        args.insert(args.begin(), "--json");
        const nlohmann::json below = cli_run::jsonOf(layoutRun(args))["below"];
        EXPECT_TRUE(below["total"].is_null());
        EXPECT_FALSE(below["refused"].get<std::string>().empty());
    }
    EXPECT_TRUE(answer["below"]["refused"].is_null());
    const CountRun far =
        layoutRun({ "--json", "--min-shell", "999999999999", "--tube", "25", "--pitch", "32" });
    EXPECT_EQ(far.status, 3);
    EXPECT_EQ(cli_run::jsonOf(far)["reached"], false);
    EXPECT_NE(far.err.find("no shell up to 100000 mm holds 999999999999 tubes"), std::string::npos);
}

// --- One reading of what is typed -----------------------------------------------------------

TEST(LayoutInputs, FullWidthZeroCentreTubeAndSweepsAcrossTheClearance)
{
    const CountRun ascii = layoutRun({ "--json", "--shell", "600", "--tube", "25", "--pitch", "32",
        "--passes", "4", "--lane-spacing", "44,40", "--centre-tube", "57" });
    ASSERT_EQ(ascii.status, 0) << ascii.err;
    // What a Chinese input method types in full-width mode means what it shows.
    const CountRun wide = layoutRun({ "--json", "--shell", "６００", "--tube", "２５", "--pitch",
        "３２", "--passes", "４", "--lane-spacing", "４４，４０", "--centre-tube", "５７" });
    ASSERT_EQ(wide.status, 0) << wide.err;
    EXPECT_EQ(wide.out, ascii.out);
    // A centre tube of 0 is none, as in the window and korvane-count.
    const CountRun none =
        layoutRun({ "--json", "--shell", "600", "--tube", "25", "--pitch", "32" });
    const CountRun zero = layoutRun(
        { "--json", "--shell", "600", "--tube", "25", "--pitch", "32", "--centre-tube", "0" });
    ASSERT_EQ(zero.status, 0) << zero.err;
    EXPECT_EQ(zero.out, none.out);
    EXPECT_TRUE(cli_run::jsonOf(zero)["centre_tube"].is_null());
    // A sweep that starts below the clearance warns once and counts those shells as 0.
    const CountRun crossing = layoutRun({ "--sweep", "10:40:10", "--tube", "25", "--pitch", "32" });
    EXPECT_EQ(crossing.status, 0);
    EXPECT_EQ(crossing.err,
        "korvane-layout: warning: shells up to 16 mm leave no layout circle after the clearance "
        "b 8 mm on each side; their rows count 0 tubes\n");
    EXPECT_EQ(linesOf(crossing.out), 5u);
    // A vertical spacing is taken when some pass count of the sweep has that lane.
    EXPECT_EQ(layoutRun({ "--sweep", "500:600:50", "--tube", "25", "--pitch", "32", "--passes",
                            "1,2,4", "--lane-spacing", "38,44" })
                  .status,
        0);
}

// --- Files under several names, stopped writes, protected files ---------------------------

TEST(LayoutFiles, OneFileUnderTwoNames)
{
    const std::string folder = tempPath("names/");
    mkdir(folder.c_str(), 0700);
    mkdir((folder + "sub").c_str(), 0700);
    const std::string drawing = folder + "a.svg";
    std::ofstream(drawing) << "old";
    for (const char *name : { "link.svg", "hard.svg" })
        std::remove((folder + name).c_str());
    ASSERT_EQ(symlink(drawing.c_str(), (folder + "link.svg").c_str()), 0);
    ASSERT_EQ(link(drawing.c_str(), (folder + "hard.svg").c_str()), 0);
    const std::string base[] = { "--shell", "600", "--tube", "25", "--pitch", "32", "--draw" };
    const struct
    {
        std::string draw, tubes;
        bool same;
    } cases[] = {
        { drawing, folder + "./a.svg", true },
        { drawing, folder + "sub/../a.svg", true },
        { drawing, folder + "link.svg", true },
        { drawing, folder + "hard.svg", true },
        { folder + "new.svg", folder + "sub/../new.svg", true },
        { drawing, folder + "a.csv", false },
    };
    for (const auto &c : cases) {
        std::vector<std::string> args(std::begin(base), std::end(base));
        args.insert(args.end(), { c.draw, "--tubes", c.tubes });
        const CountRun run = layoutRun(args);
        SCOPED_TRACE(c.draw + " | " + c.tubes + ": " + run.err);
        EXPECT_EQ(run.status, c.same ? 2 : 0);
        if (c.same) {
            EXPECT_NE(run.err.find("are the same file"), std::string::npos);
            EXPECT_EQ(run.out, "");
        }
    }
    // The drawing replaced a.svg whole; its hard link keeps the old content.
    EXPECT_EQ(cli_run::slurp(drawing).substr(0, 5), "<?xml");
    EXPECT_EQ(cli_run::slurp(folder + "hard.svg"), "old");
}

TEST(LayoutFiles, StoppedWriteLeavesNoTemporary)
{
    // A list of 2.3 million tubes takes long enough that the signal meets the write.
    for (const auto &[name, number] : { std::pair { "INT", 2 }, { "TERM", 15 }, { "HUP", 1 } }) {
        SCOPED_TRACE(name);
        const std::string folder = tempPath(std::string("stopped-") + name + "/");
        mkdir(folder.c_str(), 0700);
        const std::string list = folder + "big.csv";
        std::ofstream(list) << "the designer's own list\n";
        // Job control, so that the program in the background takes SIGINT as from a terminal.
        const std::string command = "set -m; "
            + cli_run::commandLine(KORVANE_LAYOUT,
                { "--otl", "40000", "--tube", "19", "--pitch", "25", "--tubes", list })
            + " >/dev/null 2>&1 & pid=$!; for i in $(seq 6000); do " + "ls -a "
            + cli_run::quoted(folder) + " | grep -q '^\\.korvane-' && break; "
            + "sleep 0.01; done; kill -" + name + " $pid; wait $pid";
        const int status = std::system(("bash -c " + cli_run::quoted(command)).c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 128 + number); // ended by the signal
        EXPECT_TRUE(cli_run::slurp(list) == "the designer's own list\n");
        EXPECT_EQ(cli_run::leftoverTemporaries(folder), 0u);
    }
}

TEST(LayoutFiles, AnotherUsersProtectionAndOwnerKept)
{
    if (geteuid() != 0 || system("command -v setpriv >/dev/null") != 0)
        GTEST_SKIP() << "needs root and setpriv to act as another user";
    const std::string folder = tempPath("shared/");
    mkdir(folder.c_str(), 0777);
    chmod(folder.c_str(), 0777);
    chmod(cli_run::ownFolder().c_str(), 0711);
    const std::string locked = folder + "locked.csv";
    std::ofstream(locked) << "read only\n";
    ASSERT_EQ(system(("chown nobody:nogroup " + cli_run::quoted(locked)).c_str()), 0);
    chmod(locked.c_str(), 0444);
    const std::vector<std::string> layout = { "--shell", "600", "--tube", "25", "--pitch", "32",
        "--tubes", locked };
    // As an ordinary user: refused, as the shell refuses to write it.
    const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups "
        + cli_run::commandLine(KORVANE_LAYOUT, layout) + " 2>&1 >/dev/null; echo \"exit $?\"";
    const std::string said = [&] {
        std::string text;
        if (FILE *pipe = popen(asNobody.c_str(), "r")) {
            char buffer[512];
            while (fgets(buffer, sizeof buffer, pipe))
                text += buffer;
            pclose(pipe);
        }
        return text;
    }();
    EXPECT_EQ(said, "korvane-layout: cannot write " + locked + ": Permission denied\nexit 1\n");
    EXPECT_EQ(cli_run::slurp(locked), "read only\n");
    EXPECT_EQ(cli_run::leftoverTemporaries(folder), 0u);
    // As root: written, and still the other user's file.
    chmod(locked.c_str(), 0644);
    ASSERT_EQ(layoutRun(layout).status, 0);
    struct stat info
    {
    };
    ASSERT_EQ(stat(locked.c_str(), &info), 0);
    EXPECT_NE(info.st_uid, 0u);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_GT(cli_run::slurp(locked).size(), 1000u);
}

TEST(LayoutMinShell, CtrlCEndsASearch)
{
    // 900 billion tubes to the micrometre: a second or more of counting.
    const std::string command =
        cli_run::commandLine(KORVANE_LAYOUT,
            { "--min-shell", "900000000000", "--tube", "0.1", "--pitch", "0.1", "--passes", "8",
                "--centre", "best", "--resolution", "0.000001" })
        + " >" + cli_run::quoted(tempPath("search.out")) + " 2>"
        + cli_run::quoted(tempPath("search.err")) + " & pid=$!; sleep 0.5; "
        + "kill -INT $pid; wait $pid";
    const int status = std::system(("bash -c " + cli_run::quoted(command)).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(cli_run::slurp(tempPath("search.out")), "");
    EXPECT_EQ(cli_run::slurp(tempPath("search.err")), "korvane-layout: the search was stopped\n");
}

// --- korvane-sheet's command line ---------------------------------------------------------

TEST(SheetCommandLine, NeedsNoDisplayToAnswerOrRefuse)
{
    const std::string noDisplay = "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM";
    const std::vector<std::string> layout = { "--shell", "600", "--tube", "25", "--pitch", "32" };
    const auto plus = [&layout](std::vector<std::string> more) {
        more.insert(more.begin(), layout.begin(), layout.end());
        return more;
    };
    const struct
    {
        std::vector<std::string> args;
        std::string setup;
        int status;
        const char *said; ///< the start of the one line on stderr
    } cases[] = {
        { { "--colour", "red" }, noDisplay, 2, "korvane-sheet: unknown option --colour" },
        { plus({ "--otl", "584" }), noDisplay, 2,
            "korvane-sheet: --shell and --otl exclude each other" },
        { { "--otl", "584", "--tube", "25", "--pitch", "32", "--clearance", "8" }, noDisplay, 2,
            "korvane-sheet: --clearance needs --shell" },
        { plus({ "--pattern", "31" }), noDisplay, 2, "korvane-sheet: --pattern must be" },
        { plus({ "--passes", "2", "--lane-spacing", "38,9999" }), noDisplay, 2,
            "korvane-sheet: --lane-spacing: V is" },
        { plus({ "--clearance", "1000" }), noDisplay, 2,
            "korvane-sheet: the clearance 1000 mm leaves no layout circle" },
        { plus({ "--tube" }), noDisplay, 2, "korvane-sheet: --tube needs a value" },
        // One design file may be given, and it must be a design.
        { plus({ "a.json", "b.json" }), noDisplay, 2,
            "korvane-sheet: unexpected argument 'b.json'" },
        { plus({ "missing.json" }), noDisplay, 2, "korvane-sheet: missing.json: cannot be read" },
        { {}, noDisplay, 1, "korvane-sheet: no display to open the window on; korvane-layout" },
        { { "--shell=６００", "--tube=３８", "--pitch=４８" }, noDisplay, 1,
            "korvane-sheet: no display" },
        { layout, "unset WAYLAND_DISPLAY QT_QPA_PLATFORM; export DISPLAY=:65000", 1,
            "korvane-sheet: no display" },
        // The designers' options, --gb151 as a switch among them.
        { { "--gb151", "--shell", "600", "--tube", "25", "--passes", "2", "--tie-rods", "gb151" },
            noDisplay, 1, "korvane-sheet: no display" },
        { plus({ "--passes", "2", "--bundle", "u-tube", "--tie-rods", "3" }), noDisplay, 2,
            "korvane-sheet: a U-tube bundle takes tie rods in mirror pairs" },
        { plus({ "--lanes", "sideways" }), noDisplay, 2, "korvane-sheet: --lanes must be" },
    };
    for (const auto &c : cases) {
        const CountRun run = cli_run::runProgram(KORVANE_SHEET, c.args, c.setup);
        SCOPED_TRACE(::testing::Message() << c.said << ": " << run.err);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err.rfind(c.said, 0), 0u);
        EXPECT_EQ(linesOf(run.err), 1u);
        EXPECT_EQ(run.out, "");
    }
    // Help and version print and end, in one language, whatever else is there.
    const CountRun help = cli_run::runProgram(KORVANE_SHEET, { "--help" }, noDisplay);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: korvane-sheet", 0), 0u);
    EXPECT_NE(help.out.find("--centre-tube D0"), std::string::npos);
    EXPECT_TRUE(std::all_of(help.out.begin(), help.out.end(),
        [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }));
    EXPECT_EQ(help.err, "");
    const CountRun version = cli_run::runProgram(KORVANE_SHEET, { "--version" }, noDisplay);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "korvane-sheet 1.0\n");
    EXPECT_EQ(cli_run::runProgram(KORVANE_SHEET, { "--help" }, "exec >/dev/full").status, 1);
}

TEST(LayoutHeads, TheRuleWithItsNumbersAndTheHeadInJson)
{
    const struct
    {
        const char *head, *rule;
        double circle;
    } cases[] = {
        { "floating", "浮头式：DL = Di − 2(b1 + b2 + b) = 600 − 2(3 + 11.5 + 4) = 563 mm\n", 563 },
        { "pull-through",
            "拉出式浮头：DL = (Di − 85.6625) / 1.009375 = (600 − 85.6625) / 1.009375，舍至 0.001 "
            "mm "
            "= 509.56 mm\n",
            509.56 },
        { "packed", "填料函式：DL = Di − 37.5 = 600 − 37.5 = 562.5 mm\n", 562.5 },
        { "fixed", nullptr, 584 },
        { "u-tube", nullptr, 584 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.head);
        const std::vector<std::string> args = { "--shell", "600", "--tube", "25", "--pitch", "32",
            "--passes", "2", "--head", c.head };
        const CountRun plain = layoutRun(args);
        ASSERT_EQ(plain.status, 0) << plain.err;
        if (c.rule) {
            // The shell line says no clearance: the rule's own line follows it.
            EXPECT_EQ(plain.out.find("壳体内径 Di 600 mm，布管限定圆 DL "), 0u) << plain.out;
            EXPECT_NE(plain.out.find(c.rule), std::string::npos) << plain.out;
        } else {
            EXPECT_EQ(
                plain.out.find("壳体内径 Di 600 mm，边缘间隙 b 8 mm，布管限定圆 DL 584 mm\n"), 0u);
        }
        std::vector<std::string> json = args;
        json.push_back("--json");
        const nlohmann::json out = cli_run::jsonOf(layoutRun(json));
        EXPECT_EQ(out["head"], c.head);
        EXPECT_EQ(out["layout_circle"], c.circle);
        EXPECT_EQ(out["bundle"], std::string(c.head) == "u-tube" ? "u-tube" : "fixed");
    }
    // A clearance given is the rule, and the layout circle given leaves the head nothing to set.
    const CountRun given = layoutRun({ "--shell", "600", "--tube", "25", "--pitch", "32", "--head",
        "floating", "--clearance", "20" });
    EXPECT_EQ(given.out.find("壳体内径 Di 600 mm，边缘间隙 b 20 mm，布管限定圆 DL 560 mm\n"), 0u);
    const CountRun otl =
        layoutRun({ "--otl", "563", "--tube", "25", "--pitch", "32", "--head", "floating" });
    EXPECT_EQ(otl.out.find("布管限定圆 DL 563 mm\n"), 0u) << otl.err;
}

TEST(LayoutInches, ShownBesideTheirMillimetresAndSweptAsLengths)
{
    const CountRun run = layoutRun({ "--shell", "23.25in", "--tube", "3/4in", "--pitch", "15/16\"",
        "--passes", "2", "--clearance", "1/4 in" });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out.find("壳体内径 Di 590.55 mm (23.25 in)，边缘间隙 b 6.35 mm (1/4 in)，布管限定圆 DL "
                     "577.85 mm\n管子外径 d 19.05 mm (3/4 in)，管心距 p 23.8125 mm (15/16 in)，"),
        0u)
        << run.out;
    // The same layout typed in mm prints the same counts, without the inches.
    const CountRun mm = layoutRun({ "--shell", "590.55", "--tube", "19.05", "--pitch", "23.8125",
        "--passes", "2", "--clearance", "6.35" });
    EXPECT_EQ(mm.out.substr(mm.out.find("布管限定圆内管数")),
        run.out.substr(run.out.find("布管限定圆内管数")));
    const CountRun sweep = layoutRun(
        { "--sweep", "20in:21in:1/2in", "--shell", "--tube", "3/4in", "--pitch", "15/16in" });
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    EXPECT_NE(sweep.out.find("\n508,"), std::string::npos);
    EXPECT_NE(sweep.out.find("\n520.7,"), std::string::npos);
    EXPECT_NE(sweep.out.find("\n533.4,"), std::string::npos);
    const CountRun fine = layoutRun({ "--shell", "600", "--tube", "1/128in", "--pitch", "32" });
    EXPECT_EQ(fine.status, 2);
    EXPECT_EQ(fine.err, "korvane-layout: --tube: '1/128in' has more than 6 decimals in mm\n");
}

TEST(LayoutTieRods, EachRefusalWordedForItsCaseAndCutsCapped)
{
    const std::vector<std::string> sheet = { "--tube", "25", "--pitch", "32" };
    const struct
    {
        std::vector<std::string> args;
        int status;
        const char *said; ///< stdout's rod line, or the start of stderr's one line
    } cases[] = {
        { { "--tie-rods", "1000000", "--shell", "600" }, 2,
            "korvane-layout: --tie-rods takes at most 999999 rods, not 1000000" },
        { { "--tie-rods", "0001000000", "--shell", "600" }, 2,
            "korvane-layout: --tie-rods takes at most 999999 rods, not 1000000" },
        { { "--tie-rods", "0000006", "--shell", "600" }, 0, "拉杆 6 根" },
        { { "--tie-rods", "GB151", "--shell", "600" }, 0, "拉杆 4 根，直径 16 mm" },
        { { "--tie-rods", "Tema", "--shell", "600" }, 0, "拉杆 6 根，直径 9.525 mm" },
        { { "--tie-rods", "six", "--shell", "600" }, 2,
            "korvane-layout: --tie-rods takes a whole number, gb151 or tema, not 'six'" },
        { { "--tie-rods", "1", "--shell", "100" }, 2,
            "korvane-layout: 1 tie rod does not fit at the edge of this bundle: it has 0 tubes "
            "there, and a rod needs a tube beside it" },
        { { "--tie-rods", "40", "--shell", "200" }, 2,
            "korvane-layout: 40 tie rods do not fit at the edge of this bundle: it has 10 tubes "
            "there, and two rods need a tube between them" },
    };
    // A handful of cuts is compared; hundreds would take minutes on a fine sheet.
    std::string many = "15";
    for (int cut = 16; cut <= 45; ++cut)
        many += "," + std::to_string(cut);
    const CountRun cuts =
        layoutRun({ "--shell", "100000", "--tube", "0.1", "--pitch", "0.1", "--baffle-cut", many });
    EXPECT_EQ(cuts.status, 2);
    EXPECT_EQ(cuts.err, "korvane-layout: --baffle-cut compares at most 8 cuts, not 31\n");
    EXPECT_EQ(layoutRun({ "--shell", "600", "--tube", "25", "--pitch", "32", "--baffle-cut",
                            "15,20,25,30,35,40,45,44" })
                  .status,
        0);
    for (const auto &c : cases) {
        std::vector<std::string> args = sheet;
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CountRun run = layoutRun(args);
        SCOPED_TRACE(::testing::Message() << c.said << ": " << run.err);
        EXPECT_EQ(run.status, c.status);
        if (c.status == 0) {
            EXPECT_NE(run.out.find(c.said), std::string::npos) << run.out;
        } else {
            EXPECT_EQ(run.err.rfind(c.said, 0), 0u);
            EXPECT_EQ(linesOf(run.err), 1u);
        }
    }
}

TEST(LayoutArrangementsAndPlates, EveryRefusalInOneLine)
{
    const std::vector<std::string> sheet = { "--tube", "25", "--pitch", "32" };
    const struct
    {
        std::vector<std::string> args;
        const char *said;
    } cases[] = {
        { { "--shell", "600", "--passes", "2", "--arrangement", "ribbon" },
            "--arrangement ribbon needs 4, 6 or 8 passes, not 2" },
        { { "--shell", "600", "--arrangement", "ribbon" },
            "--arrangement ribbon needs 4, 6 or 8 passes, not 1" },
        { { "--shell", "600", "--passes", "6", "--arrangement", "quadrant" },
            "--arrangement quadrant needs 4 passes, not 6" },
        { { "--shell", "600", "--passes", "4", "--arrangement", "mixed" },
            "--arrangement mixed needs 6 or 8 passes, not 4" },
        { { "--shell", "600", "--passes", "4", "--arrangement", "spiral" },
            "--arrangement must be standard, quadrant, mixed or ribbon, not 'spiral'" },
        { { "--shell", "600", "--passes", "6", "--arrangement", "ribbon", "--lane-spacing",
              "40,44" },
            "--lane-spacing: V is the vertical lane's spacing, and a ribbon arrangement has no "
            "vertical lane" },
        { { "--shell", "600", "--impingement", "600" },
            "the nozzle bore must be above 0 and below the shell's 600 mm, not 600 mm" },
        { { "--shell", "600", "--impingement", "0" },
            "the nozzle bore must be above 0 and below the shell's 600 mm, not 0 mm" },
        { { "--shell", "600", "--impingement", "200,150" },
            "the impingement plate 150 mm is narrower than its nozzle 200 mm" },
        { { "--shell", "600", "--impingement", "200,250,0" },
            "the plate's height below the shell must be positive, not 0 mm" },
        { { "--shell", "600", "--impingement", "200,250,50,-1" },
            "the plate's thickness must be 0 or more, not -1 mm" },
        { { "--shell", "600", "--impingement", "200,250,280,30" },
            "the impingement plate reaches below the shell's centre line: h + t = 310 mm is more "
            "than Di/2" },
        { { "--otl", "600", "--impingement", "200" },
            "--impingement needs --shell: the plate hangs from the shell's top" },
        { { "--shell", "600", "--impingement", "200,1,2,3,4" },
            "--impingement takes Dn[,A[,h[,t]]], not '200,1,2,3,4'" },
        { { "--shell", "600", "--impingement", "1/128in" },
            "--impingement: '1/128in' has more than 6 decimals in mm" },
        { { "--shell", "600", "--impingement", "8 inch" }, "--impingement: '8 inch'" },
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = sheet;
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CountRun run = layoutRun(args);
        SCOPED_TRACE(c.said);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind(std::string("korvane-layout: ") + c.said, 0), 0u) << run.err;
        EXPECT_EQ(linesOf(run.err), 1u);
    }
}

TEST(LayoutArrangementsAndPlates, EverywhereALayoutGoes)
{
    // Ribbon lanes all horizontal, named in JSON, the plate's figures beside its count.
    const nlohmann::json ribbon = cli_run::jsonOf(layoutRun({ "--json", "--shell", "1000", "--tube",
        "25", "--pitch", "32", "--passes", "8", "--arrangement", "ribbon" }));
    EXPECT_EQ(ribbon["arrangement"], "ribbon");
    ASSERT_EQ(ribbon["lanes"].size(), 7u);
    for (const auto &lane : ribbon["lanes"])
        EXPECT_EQ(lane["direction"], "horizontal");
    EXPECT_EQ(cli_run::jsonOf(layoutRun({ "--json", "--shell", "1000", "--tube", "25", "--pitch",
                  "32", "--passes", "6" }))["arrangement"],
        "mixed");
    const nlohmann::json plate = cli_run::jsonOf(layoutRun({ "--json", "--shell", "1000", "--tube",
        "25", "--pitch", "32", "--passes", "2", "--impingement", "200" }));
    EXPECT_EQ(plate["impingement_removed"], 15);
    EXPECT_EQ(plate["impingement"]["removed"], 15);
    EXPECT_EQ(plate["impingement"]["plate"], 250.0);
    EXPECT_EQ(plate["impingement"]["height"], 50.0);
    EXPECT_EQ(plate["impingement"]["thickness"], 6.0);
    // h2 = 50 − (1000 − √(1000² − 200²))/2, the area π·Dn·(h1 + h2)/2.
    const double h2 = 50 - (1000 - std::sqrt(1000.0 * 1000 - 200.0 * 200)) / 2;
    EXPECT_DOUBLE_EQ(plate["impingement"]["h2"].get<double>(), h2);
    EXPECT_DOUBLE_EQ(plate["impingement"]["entrance_area"].get<double>(),
        3.14159265358979323846 * 200 * (50 + h2) / 2);
    EXPECT_EQ(plate["total"].get<int>() + 15 + plate["lane_removed"].get<int>(),
        plate["in_circle"].get<int>());
    // The plain text, a sweep's columns and the smallest shell.
    const CountRun text = layoutRun({ "--shell", "1000", "--tube", "25", "--pitch", "32",
        "--passes", "6", "--arrangement", "ribbon", "--impingement", "200" });
    EXPECT_NE(text.out.find("管程数 6，带状式"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("防冲板去掉 "), std::string::npos);
    EXPECT_NE(text.out.find("接管面积 31415.9 mm²"), std::string::npos);
    const CountRun sweep = layoutRun({ "--shell", "--sweep", "900:1000:50", "--tube", "25",
        "--pitch", "32", "--impingement", "200" });
    EXPECT_EQ(sweep.status, 0) << sweep.err;
    EXPECT_NE(
        sweep.out.find("lane_removed,centre_removed,impingement_removed,total"), std::string::npos)
        << sweep.out;
    const nlohmann::json least =
        cli_run::jsonOf(layoutRun({ "--json", "--shell", "--min-shell", "500", "--tube", "25",
            "--pitch", "32", "--passes", "4", "--arrangement", "ribbon", "--impingement", "150" }));
    EXPECT_GE(least["layout"]["total"].get<int>(), 500) << least.dump();
}

TEST(LayoutEdits, RemoveAndDummySitesWithWhyNot)
{
    const std::vector<std::string> sheet = { "--json", "--shell", "600", "--tube", "25", "--pitch",
        "32", "--passes", "2" };
    const nlohmann::json plain = cli_run::jsonOf(layoutRun(sheet));
    std::vector<std::string> args = sheet;
    // r1c1 twice: the later edit, a dummy, replaces the first; r0c0 lies in the centre lane.
    for (const char *arg : { "--remove", "r1c1,r0c0,r9c1", "--dummy", "r2c0,r1c1" })
        args.emplace_back(arg);
    const nlohmann::json edited = cli_run::jsonOf(layoutRun(args));
    EXPECT_EQ(edited["edit_removed"], 1);
    EXPECT_EQ(edited["dummy_tubes"], 2);
    EXPECT_EQ(edited["total"].get<int>(), plain["total"].get<int>() - 3);
    ASSERT_EQ(edited["edits"].size(), 4u);
    EXPECT_EQ(edited["edits"][0]["action"], "dummy");
    EXPECT_EQ(edited["edits"][1]["site"], "r0c0");
    EXPECT_EQ(edited["edits"][1]["applied"], false);
    EXPECT_EQ(edited["edits"][1]["reason"], "in-lane");
    const CountRun text = layoutRun(
        { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "2", "--remove", "r0c0" });
    EXPECT_NE(text.out.find("管位 r0c0 的编辑未用：在隔板槽内"), std::string::npos) << text.out;
    for (const char *bad : { "x", "r1", "r1c1,", "r1c1c2" }) {
        const CountRun run =
            layoutRun({ "--shell", "600", "--tube", "25", "--pitch", "32", "--remove", bad });
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_EQ(linesOf(run.err), 1u) << bad;
    }
}

TEST(DesignFiles, SavedReopenedAndSavedAgainByteForByte)
{
    const std::string first = tempPath("first.json"), second = tempPath("second.json"),
                      third = tempPath("third.json");
    const CountRun saved = layoutRun({ "--shell", "800", "--tube", "25", "--pitch", "32",
        "--passes", "4", "--remove", "r1c3,r2c4", "--dummy", "r1c-3", "--save-design", first });
    ASSERT_EQ(saved.status, 0) << saved.err;
    const std::string bytes = cli_run::slurp(first);
    EXPECT_EQ(bytes.rfind("{\n  \"format\": \"korvane-design\",\n  \"version\": 1,", 0), 0u)
        << bytes;
    const CountRun again = layoutRun({ "--design", first, "--save-design", second });
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(cli_run::slurp(second), bytes);
    EXPECT_EQ(again.out, saved.out);
    // Keys this version does not know stay where they were; an option beside the file
    // replaces the file's, and a site edited again takes the new action.
    nlohmann::ordered_json extended = nlohmann::ordered_json::parse(bytes);
    extended["project"] = { { "job", 7 } };
    extended["edits"][0]["note"] = "drain";
    {
        std::ofstream(first) << extended.dump(2) << "\n";
    }
    const nlohmann::json moved = cli_run::jsonOf(layoutRun({ "--json", "--design", first, "--shell",
        "900", "--remove", "r1c-3", "--save-design", third }));
    EXPECT_EQ(moved["shell"], 900.0);
    EXPECT_EQ(moved["edit_removed"], 3);
    EXPECT_EQ(moved["dummy_tubes"], 0);
    const nlohmann::json file = nlohmann::json::parse(cli_run::slurp(third));
    EXPECT_EQ(file["project"]["job"], 7) << cli_run::slurp(third);
    EXPECT_EQ(file["edits"][0]["note"], "drain");
    EXPECT_EQ(file["inputs"]["shell"], "900");
    EXPECT_EQ(file["edits"][2]["action"], "remove");
    EXPECT_EQ(file["edits"].size(), 3u);
    // Refused with one line naming the file, and the file given to save stays as it was.
    const std::string bad = tempPath("bad.json");
    const std::string big(report::kMaxDesignBytes + 1, ' ');
    const struct
    {
        std::string text;
        const char *said;
    } refusals[] = {
        { "{", "not JSON" },
        // A number no JSON reader holds: refused like any text that is not JSON, not a crash.
        { "{\"format\": \"korvane-design\", \"version\": 1, \"size\": 1e99999}", "not JSON" },
        { "{\"format\": \"other\", \"version\": 1}",
            "not a design: its format is not korvane-design" },
        { "{\"format\": \"korvane-design\", \"version\": 2}", "a design of version 2" },
        { big, "larger than 16 MB" },
        { "{\"format\": \"korvane-design\", \"version\": 1, \"edits\": [{\"site\": \"r1c1\", "
          "\"action\": \"plug\"}]}",
            "the action \"plug\" is neither remove nor dummy" },
        { "{\"format\": \"korvane-design\", \"version\": 1, \"edits\": [{\"site\": \"1,1\", "
          "\"action\": \"remove\"}]}",
            "the site \"1,1\" is not of the form r3c-5" },
        { "{\"format\": \"korvane-design\", \"version\": 1, \"inputs\": {\"shell\": 600}}",
            "its input shell is not a text" },
    };
    for (const auto &refusal : refusals) {
        {
            std::ofstream(bad) << refusal.text;
        }
        const CountRun run = layoutRun({ "--design", bad, "--save-design", second });
        SCOPED_TRACE(refusal.said);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("korvane-layout: " + bad + ": " + refusal.said, 0), 0u) << run.err;
        EXPECT_EQ(linesOf(run.err), 1u);
        EXPECT_EQ(cli_run::slurp(second), bytes);
    }
    EXPECT_EQ(layoutRun({ "--design", tempPath("none.json") }).status, 2);
    // A title leads the caption and is kept; an empty one takes the file's away. A line break
    // typed in it stays in the file but is a space in the caption, which a DXF text needs.
    const std::string titled = tempPath("titled.json");
    const CountRun title =
        layoutRun({ "--design", first, "--title", "E-101\nrev B", "--save-design", titled });
    ASSERT_EQ(title.status, 0) << title.err;
    EXPECT_EQ(title.out.rfind("E-101 rev B\n壳体内径", 0), 0u) << title.out;
    EXPECT_EQ(nlohmann::json::parse(cli_run::slurp(titled))["title"], "E-101\nrev B");
    EXPECT_EQ(layoutRun({ "--design", titled }).out, title.out);
    ASSERT_EQ(layoutRun({ "--design", titled, "--title", "", "--save-design", titled }).status, 0);
    EXPECT_TRUE(nlohmann::json::parse(cli_run::slurp(titled))["title"].is_null());
    // Four passes' vertical lane takes r1c1 and r2c0: reported, and kept in the file.
    const std::string four = tempPath("four.json");
    const nlohmann::json lanes = cli_run::jsonOf(layoutRun({ "--json", "--shell", "600", "--tube",
        "25", "--pitch", "32", "--passes", "2", "--remove", "r1c1,r2c0", "--save-design", four }));
    EXPECT_EQ(lanes["edit_removed"], 2);
    const nlohmann::json fourPasses = cli_run::jsonOf(
        layoutRun({ "--json", "--design", four, "--passes", "4", "--save-design", four }));
    EXPECT_EQ(fourPasses["edit_removed"], 0);
    for (const auto &edit : fourPasses["edits"]) {
        EXPECT_EQ(edit["applied"], false);
        EXPECT_EQ(edit["reason"], "in-lane");
    }
    EXPECT_EQ(nlohmann::json::parse(cli_run::slurp(four))["edits"].size(), 2u);
}

TEST(DesignFiles, TheTubeListNamesEverySiteAndItsDummies)
{
    const std::string list = tempPath("sites.csv");
    const CountRun run = layoutRun({ "--shell", "600", "--tube", "25", "--pitch", "32", "--passes",
        "2", "--dummy", "r1c1", "--remove", "r2c0", "--tubes", list });
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream in(list);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "n,x,y,pass,kind,site");
    std::set<std::string> sites;
    int dummies = 0;
    while (std::getline(in, line)) {
        const std::string site = line.substr(line.rfind(',') + 1);
        EXPECT_TRUE(layout::parseSite(site)) << line;
        EXPECT_TRUE(sites.insert(site).second) << line;
        dummies += line.find(",dummy,") != std::string::npos;
        EXPECT_NE(site, "r2c0");
    }
    EXPECT_EQ(dummies, 1);
    EXPECT_TRUE(sites.count("r1c1"));
    // A site of the list names its tube: removed by it, the total falls by one.
    const nlohmann::json plain = cli_run::jsonOf(layoutRun(
        { "--json", "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "2" }));
    const nlohmann::json less = cli_run::jsonOf(layoutRun({ "--json", "--shell", "600", "--tube",
        "25", "--pitch", "32", "--passes", "2", "--remove", *std::next(sites.begin(), 5) }));
    EXPECT_EQ(less["total"].get<int>(), plain["total"].get<int>() - 1);
}

TEST(Help, BothProgramsListTheSameLayoutOptions)
{
    // The block from its heading to the blank line after it.
    const auto block = [](const std::string &help) {
        const std::size_t start = help.find("Layout options");
        return start == std::string::npos ? std::string()
                                          : help.substr(start, help.find("\n\n", start) - start);
    };
    const std::string noDisplay = "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM";
    const std::string layout = block(layoutRun({ "--help" }).out);
    const std::string sheet =
        block(cli_run::runProgram(KORVANE_SHEET, { "--help" }, noDisplay).out);
    EXPECT_EQ(layout, sheet);
    // Every option of the table, once, with its value's hint, and nothing else.
    std::size_t lines = 0;
    for (const report::Option &option : report::options()) {
        const std::string line =
            std::string("\n  --") + option.name + (*option.hint ? " " : "") + option.hint + " ";
        EXPECT_EQ(layout.find(line), layout.rfind(line)) << option.name;
        EXPECT_NE(layout.find(line), std::string::npos) << option.name;
        ++lines;
    }
    std::size_t listed = 0;
    for (std::size_t at = layout.find("\n  --"); at != std::string::npos;
         at = layout.find("\n  --", at + 1))
        ++listed;
    EXPECT_EQ(listed, lines);
}

} // namespace
