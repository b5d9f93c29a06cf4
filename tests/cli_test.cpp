// Runs korvane-count as a user would and checks what it prints and how it exits.

#include "cli_run.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace cli_run;

TEST(Cli, JsonWithCentreTube)
{
    const CountRun result = run({ "--json", "600", "32", "25", "57" });
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = jsonOf(result);
    EXPECT_EQ(json["messages"],
        nlohmann::json::array({ "总的管束283", "中心去掉的管束7", " 最后管束276" }));
    EXPECT_EQ(json["result"], "276");
    EXPECT_TRUE(json["error"].is_null());
    EXPECT_EQ(json["total"], 283);
    EXPECT_EQ(json["removed"], 7);
    EXPECT_EQ(json["rows"], nlohmann::json::array({ 17, 18, 17, 16, 17, 16, 15, 12, 11, 8, 3 }));
    EXPECT_EQ(json["centre_rows"], nlohmann::json::array({ 3, 2 }));
    EXPECT_TRUE(json["total"].is_number_integer());
    EXPECT_TRUE(result.err.empty());
}

TEST(Cli, JsonWithoutCentreTube)
{
    // A missing CENTRE and an empty one are both an empty box.
    for (const auto &args : { std::vector<std::string> { "--json", "325", "25", "19" },
             std::vector<std::string> { "--json", "325", "25", "19", "" } }) {
        const CountRun result = run(args);
        ASSERT_EQ(result.status, 0) << result.err;
        const auto json = jsonOf(result);
        EXPECT_EQ(json["messages"], nlohmann::json::array());
        EXPECT_EQ(json["result"], "121");
        EXPECT_EQ(json["total"], 121);
        EXPECT_TRUE(json["removed"].is_null());
        EXPECT_TRUE(json["centre_rows"].is_null());
        EXPECT_EQ(json["rows"].size(), 7u);
    }
}

TEST(Cli, JsonWarningComesFirst)
{
    const CountRun result = run({ "--json", "400", "25", "19", "25" });
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(jsonOf(result)["messages"][0], "中心管外径过小");
    EXPECT_EQ(jsonOf(result)["result"], "192");
}

TEST(Cli, JsonRuntimeErrorInLayout)
{
    const CountRun result = run({ "--json", "600", "0", "25", "57" });
    EXPECT_EQ(result.status, 3);
    const auto json = jsonOf(result);
    EXPECT_TRUE(json["result"].is_null());
    EXPECT_EQ(json["error"], (nlohmann::json { { "number", 6 }, { "description", "溢出" } }));
    EXPECT_TRUE(json["total"].is_null());
    EXPECT_TRUE(json["rows"].is_null());
    EXPECT_EQ(result.err, "实时错误 '6':\n\n溢出\n");
}

TEST(Cli, JsonRuntimeErrorInCentreKeepsLayout)
{
    const CountRun result = run({ "--json", "--", "0", "-25", "19", "57" });
    EXPECT_EQ(result.status, 3);
    const auto json = jsonOf(result);
    EXPECT_EQ(json["error"]["number"], 5);
    EXPECT_EQ(json["error"]["description"], "无效的过程调用或参数");
    EXPECT_EQ(json["total"], 0);
    EXPECT_EQ(json["rows"], nlohmann::json::array());
    EXPECT_TRUE(json["removed"].is_null());
    EXPECT_TRUE(json["centre_rows"].is_null());
}

TEST(Cli, PlainRuntimeErrorAfterWarning)
{
    const CountRun result = run({ "--", "0", "-25", "200", "-100" });
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.out, "中心管外径过小\n");
    EXPECT_EQ(result.err, "实时错误 '5':\n\n无效的过程调用或参数\n");
}

TEST(Cli, PlainResultOnly)
{
    const CountRun result = run({ "", "", "" });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "0\n");
}

TEST(Cli, TextsAreReadLikeTheWindowsBoxes)
{
    // Units after the number, a leading "-" behind "--", text without a number.
    EXPECT_EQ(run({ "600mm", "32 mm", "25", "57mm" }).out,
        "总的管束283\n中心去掉的管束7\n 最后管束276\n276\n");
    EXPECT_EQ(run({ "--", "600", "32", "25", "-x" }).out, "283\n");
    EXPECT_EQ(run({ "abc", "32", "25" }).out, "0\n");
}

struct UsageCase
{
    const char *name;
    std::vector<std::string> args;
};

void PrintTo(const UsageCase &c, std::ostream *os)
{
    *os << c.name;
}

class CliUsage : public testing::TestWithParam<UsageCase>
{
};

TEST_P(CliUsage, ExitsWithStatus2AndOneLine)
{
    const CountRun result = run(GetParam().args);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("usage: korvane-count [--json] [--] SHELL PITCH TUBE [CENTRE]"),
        std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(Cli, CliUsage,
    testing::Values(UsageCase { "NoArguments", {} }, UsageCase { "TwoValues", { "600", "32" } },
        UsageCase { "FiveValues", { "600", "32", "25", "57", "1" } },
        UsageCase { "UnknownOption", { "--bogus", "600", "32", "25" } },
        UsageCase { "DashTextWithoutSeparator", { "600", "32", "25", "-x" } }),
    test_support::CaseName());

TEST(Cli, OutputThatCannotBeWrittenIsAFailure)
{
    const std::string command = quoted(KORVANE_COUNT) + " 600 32 25 57 >/dev/full 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(Cli, HelpExitsCleanly)
{
    const CountRun result = run({ "--help" });
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("SHELL"), std::string::npos);
}

} // namespace
