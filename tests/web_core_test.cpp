// The page's one way into the C++: what it answers, what it refuses, and that every refusal
// names a box the page has.

#include "report/form.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

extern "C" const char *korvane_call(const char *job, const char *request);
extern "C" const double *korvane_circles();

namespace {

using Json = nlohmann::json;

Json call(const std::string &job, const std::string &request)
{
    return Json::parse(korvane_call(job.c_str(), request.c_str()));
}

using Options = std::vector<std::pair<std::string, std::string>>;

/// The options as the page sends them: a list of [name, text] pairs.
Json layout(const Options &options, bool draw = false)
{
    Json list = Json::array();
    for (const auto &[name, text] : options)
        list.push_back(Json::array({ name, text }));
    return call("layout", Json { { "options", list }, { "draw", draw } }.dump());
}

/// Base64 decoded by a decoder of the test's own.
std::string decoded(const std::string &coded)
{
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    EXPECT_EQ(coded.size() % 4, 0u);
    std::string bytes;
    std::uint32_t bits = 0;
    int held = 0;
    for (const char c : coded) {
        if (c == '=')
            break;
        const std::size_t at = digits.find(c);
        EXPECT_NE(at, std::string::npos) << c;
        bits = bits << 6 | static_cast<std::uint32_t>(at);
        if ((held += 6) >= 8)
            bytes += static_cast<char>(bits >> (held -= 8) & 0xff);
    }
    return bytes;
}

/// The ids of the controls the page builds its form from.
std::vector<std::string> pageControls()
{
    std::vector<std::string> ids;
    const auto form = report::formJson();
    for (const auto &control : form["controls"])
        ids.push_back(control["id"]);
    return ids;
}

TEST(WebCore, WhatCannotBeReadIsAFailureNotACrash)
{
    const struct
    {
        const char *job, *request;
    } cases[] = { { "layout", "{" }, { "layout", "[]" }, { "layout", R"({"options": 5})" },
        { "layout", R"({"options": [["shell"]]})" }, { "layout", R"({"options": [[1, 2]]})" },
        { "count", R"({"inputs": 5})" }, { "count", R"({"inputs": ["600"]})" },
        { "tube_at", R"({"x": "a"})" }, { "export", R"({})" }, { "export", R"({"format": "pdf"})" },
        { "language", "{}" }, { "language", R"({"english": 5})" }, { "sweep", "{}" }, { "", "" } };
    for (const auto &c : cases) {
        const Json answer = call(c.job, c.request);
        ASSERT_TRUE(answer.contains("failure")) << c.job << " " << c.request << " " << answer;
        EXPECT_FALSE(answer["failure"].get<std::string>().empty());
    }
}

TEST(WebCore, EveryRefusalNamesABoxOfThePageWithItsReason)
{
    const std::vector<std::string> page = pageControls();
    ASSERT_NE(std::find(page.begin(), page.end(), "diameter"), page.end());
    const Options base = { { "shell", "600" }, { "tube", "25" }, { "pitch", "32" } };
    // Each field made wrong in turn, on a layout that is otherwise fine.
    const struct
    {
        const char *option, *text, *box;
    } cases[] = { { "shell", "x", "diameter" }, { "tube", "-1", "tube" },
        { "pitch", "20", "pitch" }, { "pattern", "33", "pattern" }, { "passes", "3", "passes" },
        { "centre", "middle", "centre" }, { "lane-spacing", "a", "lane-spacing" },
        { "clearance", "400", "clearance" }, { "centre-tube", "-5", "centre-tube" },
        { "lanes", "both", "lanes" }, { "gb151", "maybe", "gb151" },
        { "bundle", "hairpin", "bundle" }, { "bend-radius", "40", "bend-radius" },
        { "tie-rods", "many", "tie-rods" }, { "baffle-cut", "60", "baffle-cut" },
        { "tie-rods", "5000", "tie-rods" } };
    for (const auto &c : cases) {
        Options options;
        for (const auto &[name, value] : base)
            if (name != c.option)
                options.emplace_back(name, value);
        options.emplace_back(c.option, c.text);
        if (std::string(c.option) == "lane-spacing")
            options.emplace_back("passes", "2");
        const Json answer = layout(options);
        ASSERT_FALSE(answer["problems"].empty()) << c.option << " " << answer;
        const Json &problem = answer["problems"][0];
        EXPECT_EQ(problem["field"], c.box) << c.option;
        EXPECT_NE(std::find(page.begin(), page.end(), problem["field"]), page.end()) << problem;
        // A reason of its own, not the catch-all.
        EXPECT_NE(problem["reason"], "输入有误") << c.option;
        EXPECT_FALSE(answer.contains("layout")) << c.option;
    }
}

TEST(WebCore, DrawingPointerAndFilesFollowTheLastDrawnLayout)
{
    // Nothing drawn yet in a fresh state: nothing to point at or to save.
    const Json big = layout({ { "otl", "6000" }, { "tube", "10" }, { "pitch", "12.5" } }, true);
    ASSERT_TRUE(big.contains("drawing")) << big.dump().substr(0, 300);
    ASSERT_TRUE(big["drawing"].is_null());
    EXPECT_TRUE(call("export", R"({"format": "csv"})")["text"].is_null());
    EXPECT_TRUE(call("tube_at", R"({"x": 0, "y": 0})")["tube"].is_null());

    const Json drawn = layout(
        { { "shell", "600" }, { "tube", "25" }, { "pitch", "32" }, { "passes", "2" } }, true);
    const Json &counts = drawn["layout"];
    const Json &drawing = drawn["drawing"];
    ASSERT_TRUE(drawing.is_object());
    // Every tube that fits is a circle, with the shell and the layout circle.
    const auto circles = drawing["circles"].get<std::size_t>();
    EXPECT_GE(circles, counts["in_circle"].get<std::size_t>() + 2);
    const double *shapes = korvane_circles();
    for (std::size_t i = 0; i < circles; ++i) {
        ASSERT_LT(shapes[5 * i + 3], static_cast<double>(drawing["layers"].size()));
        ASSERT_GE(shapes[5 * i + 4], 0);
        ASSERT_LE(shapes[5 * i + 4], 3);
        ASSERT_GT(shapes[5 * i + 2], 0);
    }
    // The lane's default as the box shows it while empty, to be typed back.
    const Json &hint = drawn["summary"]["hints"][0];
    EXPECT_EQ(hint["control"], "lane-spacing");
    EXPECT_EQ(hint["text"], Json::parse(R"({"source": "默认 %1 mm", "args": [{"join": ", ", "args":
            ["√3·p = 55.425625"]}]})"));

    const std::string csv = call("export", R"({"format": "csv"})")["text"];
    EXPECT_EQ(static_cast<std::int64_t>(std::count(csv.begin(), csv.end(), '\n')),
        counts["total"].get<std::int64_t>() + 1);
    EXPECT_EQ(
        call("export", R"({"format": "svg"})")["text"].get<std::string>().rfind("<?xml", 0), 0u);
    // The DXF's bytes as they are: GBK for its Chinese, never UTF-8's replacement character.
    const std::string dxf = decoded(call("export", R"({"format": "dxf"})")["base64"]);
    EXPECT_EQ(dxf.rfind("  0\nSECTION", 0), 0u);
    EXPECT_NE(dxf.find("\xd7\xdc\xb9\xdc\xca\xfd 266"), std::string::npos); // 总管数 266, in GBK
    EXPECT_EQ(dxf.find("\xef\xbf\xbd"), std::string::npos);
    EXPECT_EQ(dxf.substr(dxf.size() - 4), "EOF\n");

    // The first row above the lane, its first tube; the lane at the centre; far away, nothing.
    const double row = 32 * std::sqrt(3.0) / 2;
    const Json above = call("tube_at", Json { { "x", 16 }, { "y", row } }.dump())["tube"];
    ASSERT_TRUE(above.is_object());
    EXPECT_EQ(above["pass"], 1);
    EXPECT_EQ(above["y"], "27.713");
    EXPECT_TRUE(above["removed"].is_null());
    const Json lane = call("tube_at", R"({"x": 0, "y": 0})")["tube"];
    ASSERT_TRUE(lane.is_object());
    EXPECT_EQ(lane["removed"], "lane");
    EXPECT_EQ(lane["number"], 0);
    for (const char *far : { R"({"x": 400, "y": 0})", R"({"x": 1e300, "y": -1e300})" })
        EXPECT_TRUE(call("tube_at", far)["tube"].is_null()) << far;

    // Refused inputs leave nothing drawn behind to save by mistake.
    layout({ { "shell", "x" } }, true);
    EXPECT_TRUE(call("export", R"({"format": "svg"})")["text"].is_null());
}

TEST(WebCore, DrawingsInThePagesLanguage)
{
    // A source the table has is in English, one it lacks stays as it is; CAD gets ASCII then.
    const Options options = { { "shell", "600" }, { "tube", "25" }, { "pitch", "32" },
        { "passes", "2" }, { "baffle-cut", "25" } };
    const std::string table =
        R"({"english": {"总管数 %1 管": "Total tubes %1", "第 %1 管程 %2 管": "pass %1: %2"}})";
    struct Case
    {
        const char *request, *caption, *legend, *dxfText;
    };
    const Case cases[] = {
        { table.c_str(), "Total tubes 266", "pass 1: 133", "\n  1\nTotal tubes 266\n" },
        { R"({"english": null})", "总管数 266 管", "第 1 管程 133 管",
            "\n  1\n\xd7\xdc\xb9\xdc\xca\xfd 266 \xb9\xdc\n" },
    };
    for (const Case &c : cases) {
        ASSERT_FALSE(call("language", c.request).contains("failure")) << c.request;
        const Json drawn = layout(options, true);
        const Json &caption = drawn["drawing"]["caption"];
        EXPECT_NE(std::find(caption.begin(), caption.end(), c.caption), caption.end()) << caption;
        EXPECT_EQ(drawn["drawing"]["legend"][0]["text"], c.legend);
        const std::string svg = call("export", R"({"format": "svg"})")["text"];
        EXPECT_NE(svg.find(c.caption), std::string::npos) << c.caption;
        const std::string dxf = call("export", R"({"format": "dxf"})")["base64"];
        EXPECT_NE(decoded(dxf).find(c.dxfText), std::string::npos) << c.caption;
    }
    // What the table lacks in English stays as its source; a table that cannot be read changes
    // nothing.
    call("language", table);
    EXPECT_TRUE(call("language", R"({"english": {"总管数 %1 管": 5}})").contains("failure"));
    const Json drawn = layout(options, true);
    const Json &caption = drawn["drawing"]["caption"];
    EXPECT_NE(std::find(caption.begin(), caption.end(), "Total tubes 266"), caption.end());
    EXPECT_EQ(drawn["drawing"]["caption"][1].get<std::string>().rfind("管子外径 d 25 mm", 0), 0u);
    call("language", R"({"english": null})");
}

TEST(WebCore, CountIsTheWindowsCalculation)
{
    const Json answer = call("count", R"({"inputs": ["600", "32", "25", "57"]})");
    EXPECT_EQ(answer["json"]["result"], "276");
    EXPECT_EQ(answer["json"]["messages"],
        Json::array({ "总的管束283", "中心去掉的管束7", " 最后管束276" }));
    EXPECT_TRUE(answer["report"].is_null());
    const Json error = call("count", R"({"inputs": ["600", "0", "25", ""]})");
    EXPECT_TRUE(error["json"]["result"].is_null());
    EXPECT_EQ(error["json"]["error"]["number"], 6);
    EXPECT_EQ(error["report"], "实时错误 '6':\n\n溢出");
}

} // namespace

namespace {

/// The page's values of a layout, as the form holds them.
Json valuesOf(const Options &options)
{
    Json list = Json::array();
    for (const auto &[name, text] : options)
        list.push_back(Json::array({ name, text }));
    return call("values", Json { { "options", list } }.dump());
}

TEST(WebCore, EditsTravelAsTheFileAndTheAddressNameThem)
{
    // An address with edits: they come apart from the form's values, a malformed list stays
    // among the options the form refuses.
    const Json fromLink = valuesOf({ { "shell", "600" }, { "tube", "25" }, { "pitch", "32" },
        { "remove", "r1c1,r2c0" }, { "dummy", "r3c1" }, { "dummy", "r1c1" }, { "remove", "x" } });
    EXPECT_EQ(fromLink["edits"],
        Json::parse(R"([{"site": "r1c1", "action": "dummy"}, {"site": "r2c0", "action": "remove"},
            {"site": "r3c1", "action": "dummy"}])"));
    ASSERT_EQ(fromLink["refused"].size(), 1u) << fromLink.dump();
    // Counted with the edits and the title; the address gets the edits back.
    const Json request = { { "values", fromLink["values"] }, { "edits", fromLink["edits"] },
        { "title", "E-1" }, { "draw", true } };
    const Json answer = call("layout", request.dump());
    ASSERT_TRUE(answer["problems"].empty()) << answer.dump();
    EXPECT_EQ(answer["layout"]["dummy_tubes"], 2);
    EXPECT_EQ(answer["layout"]["edit_removed"], 1);
    EXPECT_EQ(answer["drawing"]["caption"][0], "E-1");
    Json link = answer["link"];
    link.push_back({ "remove", "r2c0" });
    link.push_back({ "dummy", "r1c1,r3c1" });
    EXPECT_EQ(answer["link_edits"], link);
    // The tube under the pointer says which edits it takes.
    const Json dummy = call("tube_at", R"({"x": 12.5, "y": 27.712812921})")["tube"];
    EXPECT_EQ(dummy["site"], "r1c1");
    EXPECT_EQ(dummy["removed"], "dummy");
    EXPECT_EQ(dummy["can"], Json::parse(R"({"remove": true, "dummy": false, "restore": true})"));
    const Json centre = call("tube_at", R"({"x": 0, "y": 0})")["tube"];
    EXPECT_EQ(centre["can"], Json::parse(R"({"remove": true, "dummy": true, "restore": false})"));
}

TEST(WebCore, AnEditJobChangesOneTube)
{
    const std::string edits =
        R"([{"site": "r1c1", "action": "remove"}, {"site": "r2c0", "action": "dummy"}])";
    const struct
    {
        const char *site, *edit, *bundle, *want;
    } cases[] = {
        { "r1c1", "dummy", "fixed",
            R"([{"site": "r1c1", "action": "dummy"}, {"site": "r2c0", "action": "dummy"}])" },
        { "r2c0", "restore", "fixed", R"([{"site": "r1c1", "action": "remove"}])" },
        { "r-2c0", "restore", "u-tube", R"([{"site": "r1c1", "action": "remove"}])" },
        { "r-2c0", "restore", "fixed", edits.c_str() },
        { "r3c1", "remove", "fixed",
            R"([{"site": "r1c1", "action": "remove"}, {"site": "r2c0", "action": "dummy"}, {"site": "r3c1", "action": "remove"}])" },
    };
    for (const auto &one : cases) {
        const Json request = { { "edits", Json::parse(edits) }, { "site", one.site },
            { "edit", one.edit }, { "bundle", one.bundle } };
        EXPECT_EQ(call("edit", request.dump())["edits"], Json::parse(one.want)) << one.site;
    }
    for (const char *bad :
        { R"({"edits": [], "site": "1,1", "edit": "remove"})",
            R"({"edits": [], "site": "r1c1", "edit": "plug"})",
            R"({"edits": [{"site": "r1c1", "action": "plug"}], "site": "r1c1", "edit": "remove"})" })
        EXPECT_TRUE(call("edit", bad).contains("failure")) << bad;
}

TEST(WebCore, DesignsOpenAndSaveAsThePrograms)
{
    const std::string file = R"({"format": "korvane-design", "version": 1, "title": "E-7",
        "inputs": {"passes": "2", "shell": "600", "tube": "25", "pitch": "32"},
        "edits": [{"site": "r1c1", "action": "remove", "note": "drain"}], "job": 7})";
    const Json opened = call("open_design", Json { { "text", file } }.dump());
    ASSERT_FALSE(opened.contains("error")) << opened.dump();
    EXPECT_EQ(opened["title"], "E-7");
    EXPECT_EQ(opened["values"]["diameter"], "600");
    // Saved as it came: the file's own text again, its inputs in its order, its keys kept.
    Json save = { { "base", opened["base"] }, { "values", opened["values"] },
        { "title", opened["title"] }, { "edits", opened["edits"] } };
    const std::string again = call("save_design", save.dump())["text"];
    EXPECT_EQ(again, opened["base"]);
    EXPECT_NE(again.find("\"passes\": \"2\",\n    \"shell\""), std::string::npos) << again;
    EXPECT_NE(again.find("\"note\": \"drain\""), std::string::npos);
    // Changed: the inputs as the form gives them, the edit that stays keeps its keys.
    save["values"]["diameter"] = "700";
    save["title"] = "";
    save["edits"].push_back({ { "site", "r2c0" }, { "action", "dummy" } });
    const Json changed = Json::parse(call("save_design", save.dump())["text"].get<std::string>());
    EXPECT_EQ(changed["inputs"]["shell"], "700");
    EXPECT_TRUE(changed["title"].is_null());
    EXPECT_EQ(changed["edits"][0]["note"], "drain");
    EXPECT_EQ(changed["edits"][1], Json::parse(R"({"site": "r2c0", "action": "dummy"})"));
    EXPECT_EQ(changed["job"], 7);
    // Refused with the reason as a message; an unknown input too.
    for (const auto &[text, reason] :
        std::vector<std::pair<std::string, std::string>> { { "{", "不是 JSON 文件" },
            { R"({"format": "korvane-design", "version": 2})",
                "版本 %1 的设计文件，由较新的 Korvane 保存：本程序读版本 1" },
            { R"({"format": "korvane-design", "version": 1, "inputs": {"colour": "red"}})",
                "" } }) {
        const Json refused = call("open_design", Json { { "text", text } }.dump());
        ASSERT_TRUE(refused.contains("error")) << text;
        if (!reason.empty()) {
            EXPECT_EQ(refused["error"]["source"], reason);
        }
    }
}

} // namespace
