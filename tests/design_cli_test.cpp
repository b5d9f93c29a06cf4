// korvane-layout with the designers' own rules: GB/T 151's values, shifted lanes, U-tube
// bundles and tie rods, through the command line, at every edge of the standards' tables.

#include "cli_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

namespace {

using cli_run::CountRun;

CountRun layoutRun(const std::vector<std::string> &args)
{
    return cli_run::runProgram(KORVANE_LAYOUT, args);
}

nlohmann::json jsonRun(std::vector<std::string> args)
{
    args.push_back("--json");
    const CountRun run = layoutRun(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.status == 0 ? cli_run::jsonOf(run) : nlohmann::json();
}

TEST(Designers, Gb151TwoPassesAsDrawn)
{
    const CountRun run =
        layoutRun({ "--gb151", "--shell", "600", "--tube", "25", "--passes", "2", "--tubes", "-" });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(
        run.out.find("按 GB/T 151 取值：管心距 p、隔板槽中心距 Sn、边缘间隙 b、隔板槽移位、拉杆"),
        std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("拉杆 4 根，直径 16 mm\n"), std::string::npos) << run.out;
    // The rows next to the lane at ±Sn/2 = ±22 mm, the next a row step further.
    std::istringstream lines(run.out.substr(run.out.find("n,x,y,pass,kind,site\n")));
    std::string line;
    std::getline(lines, line);
    std::set<double> ys;
    int rods = 0;
    while (std::getline(lines, line)) {
        double x = 0, y = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%*d,%lf,%lf", &x, &y), 2) << line;
        ys.insert(std::abs(y));
        rods += line.find(",tie_rod") != std::string::npos;
    }
    EXPECT_EQ(*ys.begin(), 22);
    EXPECT_NEAR(*std::next(ys.begin()), 22 + 16 * std::sqrt(3.0), 1e-9);
    EXPECT_EQ(rods, 4);

    const nlohmann::json json =
        jsonRun({ "--gb151", "--shell", "600", "--tube", "25", "--passes", "2" });
    EXPECT_EQ(json["lane_model"], "shift");
    EXPECT_EQ(json["pitch"], 32);
    EXPECT_EQ(json["lanes"][0]["spacing"], 44);
    EXPECT_EQ(json["lane_removed"], 0);
    EXPECT_EQ(json["from_gb151"],
        nlohmann::json({ "pitch", "lane_spacing", "clearance", "lanes", "tie_rods" }));
    EXPECT_EQ(json["tie_rods"]["count"], 4);
    EXPECT_EQ(json["tie_rods"]["diameter"], 16);
    EXPECT_EQ(json["total"].get<int>() + 4, json["in_circle"].get<int>());
    // Given by hand, the same layout: only the standard's list differs.
    const nlohmann::json typed = jsonRun({ "--shell", "600", "--tube", "25", "--pitch", "32",
        "--passes", "2", "--lanes", "shift", "--lane-spacing", "44", "--tie-rods", "4" });
    EXPECT_EQ(typed["total"], json["total"]);
    EXPECT_EQ(typed["tie_rods"]["positions"], json["tie_rods"]["positions"]);
    EXPECT_EQ(typed["tie_rods"]["diameter"], nullptr);
    EXPECT_EQ(typed["from_gb151"], nlohmann::json::array());
}

TEST(Designers, RemoveIsTheDefaultAndUnchanged)
{
    const nlohmann::json plain =
        jsonRun({ "--otl", "1184", "--tube", "28", "--pitch", "36", "--passes", "8" });
    const nlohmann::json named = jsonRun({ "--otl", "1184", "--tube", "28", "--pitch", "36",
        "--passes", "8", "--lanes", "remove", "--bundle", "fixed", "--tie-rods", "0" });
    EXPECT_EQ(plain["total"], 788);
    EXPECT_EQ(plain, named);
    EXPECT_EQ(plain["lane_model"], "remove");
    EXPECT_EQ(plain["u_tubes"], nullptr);
    EXPECT_EQ(plain["tie_rods"], nullptr);
}

struct TableCase
{
    std::vector<std::string> args;
    double pitch, spacing; ///< 0: not checked
    int rods;
    double rod; ///< 0: null
};

TEST(Designers, StandardTablesAtEveryEdge)
{
    const TableCase cases[] = {
        // GB/T 151's pitch table and rod diameters by tube.
        { { "--tube", "10", "--shell", "399.9" }, 14, 28, 4, 10 },
        { { "--tube", "10", "--shell", "400" }, 14, 28, 6, 10 },
        { { "--tube", "10", "--shell", "699.9" }, 14, 28, 6, 10 },
        { { "--tube", "10", "--shell", "700" }, 14, 28, 10, 10 },
        { { "--tube", "10", "--shell", "2599.9" }, 14, 28, 40, 10 },
        { { "--tube", "14", "--shell", "1300" }, 19, 32, 16, 10 },
        { { "--tube", "14.1", "--pitch", "19", "--lane-spacing", "32", "--shell", "1300" }, 19, 32,
            12, 12 },
        { { "--tube", "19", "--shell", "899.9" }, 25, 38, 8, 12 },
        { { "--tube", "19", "--shell", "900" }, 25, 38, 10, 12 },
        { { "--tube", "24.9", "--pitch", "32", "--lane-spacing", "44", "--shell", "1500" }, 32, 44,
            14, 12 },
        { { "--tube", "25", "--shell", "1500" }, 32, 44, 10, 16 },
        { { "--tube", "25", "--shell", "1499.9" }, 32, 44, 8, 16 },
        { { "--tube", "25", "--shell", "1000", "--pattern", "45" }, 32, 45.25, 6, 16 },
        { { "--tube", "57", "--shell", "2300" }, 72, 80, 16, 16 },
        { { "--tube", "38", "--shell", "2000", "--pitch", "50" }, 50, 60, 14, 16 },
    };
    for (const TableCase &c : cases) {
        std::vector<std::string> args = { "--gb151", "--passes", "2" };
        args.insert(args.end(), c.args.begin(), c.args.end());
        const nlohmann::json json = jsonRun(args);
        SCOPED_TRACE(json.dump());
        EXPECT_EQ(json["pitch"], c.pitch);
        EXPECT_EQ(json["lanes"][0]["spacing"], c.spacing);
        EXPECT_EQ(json["tie_rods"]["count"], c.rods);
        EXPECT_EQ(json["tie_rods"]["diameter"], c.rod);
    }
    const TableCase tema[] = {
        { { "--shell", "152.4" }, 0, 0, 4, 9.525 },
        { { "--shell", "406.399" }, 0, 0, 4, 9.525 },
        { { "--shell", "406.4" }, 0, 0, 6, 9.525 },
        { { "--shell", "711.2" }, 0, 0, 6, 12.7 },
        { { "--shell", "863.6" }, 0, 0, 8, 12.7 },
        { { "--shell", "1244.6" }, 0, 0, 10, 12.7 },
        { { "--shell", "1549.4" }, 0, 0, 12, 15.875 },
        { { "--shell", "2540" }, 0, 0, 12, 15.875 },
    };
    for (const TableCase &c : tema) {
        std::vector<std::string> args = { "--tube", "12", "--pitch", "16", "--tie-rods", "tema" };
        args.insert(args.end(), c.args.begin(), c.args.end());
        const nlohmann::json json = jsonRun(args);
        SCOPED_TRACE(json.dump());
        EXPECT_EQ(json["tie_rods"]["count"], c.rods);
        EXPECT_EQ(json["tie_rods"]["diameter"], c.rod);
        EXPECT_EQ(json["lane_model"], "remove");
    }
}

TEST(Designers, RefusedWithOneLine)
{
    const std::vector<std::pair<std::vector<std::string>, const char *>> cases = {
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "2", "--lanes", "shift",
              "--lane-spacing", "24.999999" },
            "must be at least the tube diameter 25 mm" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "4", "--lanes", "shift",
              "--lane-spacing", "44,24" },
            "lane spacing 24 mm must be at least" },
        { { "--shell", "600", "--tube", "24", "--pitch", "32", "--passes", "2", "--lanes",
              "shift" },
            "give --lane-spacing" },
        { { "--gb151", "--shell", "600", "--tube", "14.1", "--passes", "2" },
            "--gb151 has no pitch for a 14.1 mm tube" },
        { { "--gb151", "--shell", "600", "--tube", "24.9" }, "GB/T 151 lists 10, 12" },
        { { "--gb151", "--otl", "600", "--tube", "25" }, "--gb151 needs --shell" },
        { { "--gb151", "--shell", "2600", "--tube", "25", "--passes", "2" }, "ends below DN 2600" },
        { { "--gb151", "--shell", "600", "--tube", "57.1", "--pitch", "72", "--lane-spacing", "80",
              "--passes", "2" },
            "tubes of 10 to 57 mm" },
        { { "--gb151", "--shell", "600", "--tube", "9.9", "--pitch", "14", "--lane-spacing", "28",
              "--passes", "2" },
            "tubes of 10 to 57 mm" },
        { { "--shell", "152.399", "--tube", "12", "--pitch", "16", "--tie-rods", "tema" },
            "6 to 100 inches" },
        { { "--shell", "2540.001", "--tube", "12", "--pitch", "16", "--tie-rods", "tema" },
            "6 to 100 inches" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "1", "--bundle",
              "u-tube" },
            "a U-tube bundle has 2 or 4 passes, not 1" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "6", "--bundle",
              "u-tube" },
            "not 6" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "8", "--bundle",
              "u-tube" },
            "not 8" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "2", "--bundle",
              "u-tube", "--centre-tube", "57" },
            "no centre tube" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "4", "--lanes", "shift",
              "--lane-spacing", "44", "--centre", "straddle" },
            "--centre straddle does not apply" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "6", "--lanes", "shift",
              "--lane-spacing", "44", "--centre", "best" },
            "--centre best does not apply" },
        { { "--otl", "600", "--tube", "25", "--pitch", "32", "--tie-rods", "4" },
            "tie rods need --shell" },
        { { "--shell", "200", "--tube", "25", "--pitch", "32", "--tie-rods", "12" },
            "12 tie rods do not fit at the edge" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--tie-rods", "-4" },
            "takes a whole number" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--tie-rods", "4.5" },
            "takes a whole number" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "2", "--bundle",
              "u-tube", "--tie-rods", "5" },
            "mirror pairs: 5 is odd" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--bend-radius", "50" },
            "--bend-radius is for --bundle u-tube" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--passes", "2", "--bundle",
              "u-tube", "--bend-radius", "0" },
            "the bend radius must be positive" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--lanes", "" },
            "--lanes is empty" },
        { { "--shell", "600", "--tube", "25", "--pitch", "32", "--bundle", "u" },
            "--bundle must be fixed or u-tube" },
    };
    for (const auto &[args, message] : cases) {
        const CountRun run = layoutRun(args);
        SCOPED_TRACE(message);
        EXPECT_EQ(run.status, 2) << run.out;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

TEST(Designers, UTubesAndTheirLane)
{
    // The centre lane is max(Sn, 2R): 2R = 100 > 44 pulls the halves 100 mm apart.
    const nlohmann::json json = jsonRun({ "--shell", "800", "--tube", "25", "--pitch", "32",
        "--passes", "4", "--lanes", "shift", "--lane-spacing", "44", "--bundle", "u-tube",
        "--bend-radius", "50", "--tie-rods", "gb151" });
    EXPECT_EQ(json["lanes"][0]["spacing"], 100);
    EXPECT_EQ(json["lanes"][1]["spacing"], 44);
    EXPECT_EQ(json["bend_radius"], 50);
    EXPECT_EQ(json["u_tubes"].get<int>() * 2, json["total"].get<int>());
    EXPECT_EQ(json["tie_rods"]["count"], 6);
    // R defaults to 2d = 50 mm as well; under the pass-count method the lane takes out rows.
    const nlohmann::json removed = jsonRun({ "--shell", "800", "--tube", "25", "--pitch", "32",
        "--passes", "2", "--bundle", "u-tube" });
    EXPECT_EQ(removed["bend_radius"], 50);
    EXPECT_EQ(removed["lanes"][0]["spacing"], 100);
    EXPECT_EQ(removed["u_tubes"].get<int>() * 2, removed["total"].get<int>());
    const CountRun plain = layoutRun({ "--shell", "800", "--tube", "25", "--pitch", "32",
        "--passes", "2", "--bundle", "u-tube" });
    EXPECT_NE(plain.out.find("管束 U形管，最小弯管半径 R 50 mm\n"), std::string::npos) << plain.out;
    EXPECT_NE(plain.out.find("U形管 " + std::to_string(removed["u_tubes"].get<int>()) + " 根\n"),
        std::string::npos);
}

TEST(Designers, StudiesUnderEitherModel)
{
    // A sweep whose first shell has no room for its tie rods is refused before any row.
    const CountRun cramped =
        layoutRun({ "--sweep", "100:600:100", "--gb151", "--tube", "25", "--passes", "2" });
    EXPECT_EQ(cramped.status, 2);
    EXPECT_EQ(cramped.out, "");
    EXPECT_NE(cramped.err.find("at the sweep's first shell, 100 mm: start it at a larger one"),
        std::string::npos)
        << cramped.err;
    // A sweep's total column, and the smallest shell checked one step below.
    const CountRun sweep =
        layoutRun({ "--sweep", "700:900:100", "--gb151", "--tube", "19", "--passes", "2,4,6,8" });
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    EXPECT_EQ(sweep.out.substr(0, sweep.out.find('\n')),
        "shell,layout_circle,total_2,total_4,total_6,total_8");
    for (const char *passes : { "2", "6", "8" }) {
        const nlohmann::json answer = jsonRun(
            { "--min-shell", "600", "--shell", "--gb151", "--tube", "19", "--passes", passes });
        ASSERT_TRUE(answer["reached"]);
        EXPECT_GE(answer["layout"]["total"].get<int>(), 600);
        EXPECT_LT(answer["below"]["total"].get<int>(), 600);
        const nlohmann::json at = jsonRun({ "--gb151", "--tube", "19", "--passes", passes,
            "--shell", std::to_string(answer["diameter"].get<int>()) });
        EXPECT_EQ(at["total"], answer["layout"]["total"]);
    }
}

} // namespace

namespace {

TEST(Baffles, FiguresInEveryOutput)
{
    const std::vector<std::string> layout = { "--shell", "600", "--tube", "25", "--pitch", "32",
        "--passes", "2", "--baffle-cut", "25" };
    const CountRun plain = layoutRun(layout);
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.out.find("折流板缺口 25%：切线 y = ±150 mm；缺口内管数 49 管，切边管 16 管\n"
                             "  错流管数比 Fc 0.6316（公式 0.6489）；错流管排数 Nc 10（公式 "
                             "10.83）；缺口内有效管排数 Ncw 4.0（公式 3.74）\n"),
        std::string::npos)
        << plain.out;
    const nlohmann::json one = jsonRun(layout);
    EXPECT_EQ(one["baffle"]["cut"], 25);
    EXPECT_EQ(one["baffle"]["cut_line"], 150);
    EXPECT_EQ(one["baffle"]["window_tubes"], 49);
    EXPECT_EQ(one["baffle"]["edge_tubes"], 16);
    EXPECT_EQ(one["baffle"]["Nc"], 10);
    EXPECT_DOUBLE_EQ(one["baffle"]["Fc"].get<double>(), (266.0 - 98) / 266);
    EXPECT_EQ(one["baffle"]["formula"].size(), 4u);
    // Several cuts: a list, one object each, in the order given.
    std::vector<std::string> three = layout;
    three.back() = "20,25.5,30";
    const nlohmann::json list = jsonRun(three);
    ASSERT_TRUE(list["baffle"].is_array());
    ASSERT_EQ(list["baffle"].size(), 3u);
    EXPECT_EQ(list["baffle"][1]["cut"], 25.5);
    EXPECT_LT(list["baffle"][0]["window_tubes"], list["baffle"][2]["window_tubes"]);
    // A sweep: five columns a cut, empty where the window holds no tube.
    const CountRun sweep = layoutRun({ "--sweep", "80:600:520", "--tube", "25", "--pitch", "32",
        "--passes", "2", "--baffle-cut", "25" });
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    EXPECT_EQ(sweep.out.substr(0, sweep.out.find('\n')),
        "shell,layout_circle,centre,in_circle,lane_removed,centre_removed,total,pass_1,pass_2,"
        "window_tubes_25,edge_tubes_25,Fc_25,Nc_25,Ncw_25");
    EXPECT_NE(sweep.out.find("\n80,64,"), std::string::npos);
    EXPECT_NE(sweep.out.find(",,,,,\n600,584,on-tube,283,17,0,266,133,133,49,16,0.631578947368421"),
        std::string::npos)
        << sweep.out;
    EXPECT_EQ(sweep.out.substr(sweep.out.size() - 6), ",10,4\n");
    // In JSON the same window's figures are null, the cut and its line still given.
    const CountRun json = layoutRun({ "--json", "--sweep", "80:600:520", "--tube", "25", "--pitch",
        "32", "--passes", "2", "--baffle-cut", "25" });
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json rows = cli_run::jsonOf(json);
    EXPECT_EQ(rows[0]["baffle"]["window_tubes"], nullptr);
    EXPECT_EQ(rows[0]["baffle"]["Fc"], nullptr);
    EXPECT_EQ(rows[0]["baffle"]["cut_line"], 20);
    EXPECT_EQ(rows[1]["baffle"]["window_tubes"], 49);
}

TEST(Baffles, RefusedWithOneLine)
{
    const std::vector<std::string> base = { "--tube", "25", "--pitch", "32", "--passes", "2" };
    const std::vector<std::pair<std::vector<std::string>, const char *>> cases = {
        { { "--shell", "600", "--baffle-cut", "14.999999" }, "must be 15 to 45 %" },
        { { "--shell", "600", "--baffle-cut", "45.000001" }, "not 45.000001 %" },
        { { "--shell", "600", "--baffle-cut", "25,50" }, "not 50 %" },
        { { "--shell", "600", "--baffle-cut", "25,x" }, "--baffle-cut" },
        { { "--otl", "600", "--baffle-cut", "25" }, "--baffle-cut needs --shell" },
        { { "--shell", "80", "--baffle-cut", "25" }, "beyond every tube" },
    };
    for (const auto &[args, message] : cases) {
        std::vector<std::string> all = base;
        all.insert(all.end(), args.begin(), args.end());
        const CountRun run = layoutRun(all);
        SCOPED_TRACE(message);
        EXPECT_EQ(run.status, 2) << run.out;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    const CountRun sweep = layoutRun({ "--sweep", "500:600:50", "--tube", "25", "--pitch", "32",
        "--passes", "2,4", "--baffle-cut", "25" });
    EXPECT_EQ(sweep.status, 2);
    EXPECT_NE(sweep.err.find("takes one pass count"), std::string::npos) << sweep.err;
}

} // namespace
