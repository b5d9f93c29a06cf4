// The layer every front end walks: each option of the form's table read, and refused on its
// own control when wrong; the form's walks there and back; every legend line on its own layer;
// messages put together as the window and the page put them together.

#include "report/drawing.h"
#include "report/form.h"
#include "report/numbers.h"
#include "report/reasons.h"
#include "report/summary.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using layout::Field;
using layout::TypedOption;
using Options = std::vector<TypedOption>;

const Options kBase = { { "shell", "600" }, { "tube", "25" }, { "pitch", "32" } };

/// The base layout with some options put in place of (or beside) its own.
Options with(const Options &changes)
{
    Options options;
    for (const TypedOption &base : kBase)
        if (std::none_of(changes.begin(), changes.end(),
                [&base](const TypedOption &change) { return change.name == base.name; }))
            options.push_back(base);
    options.insert(options.end(), changes.begin(), changes.end());
    return options;
}

/// The control a field's problem is marked on gives that option, itself or by its chooser.
bool controlGives(const report::Control &control, const std::string &option)
{
    if (control.option)
        return option == control.option;
    const report::Control *chooser = report::controlById(control.chooser ? control.chooser : "");
    return chooser
        && std::any_of(chooser->choices.begin(), chooser->choices.end(),
            [&option](const report::Choice &one) { return option == one.value; });
}

TEST(Form, EveryOptionIsReadAndRefusedOnItsOwnControl)
{
    // A value the study takes and one it refuses for each option, with what they need beside.
    const struct
    {
        const char *name;
        Options good, bad;
    } cases[] = {
        { "shell", { { "shell", "650.5" } }, { { "shell", "6oo" } } },
        { "otl", { { "shell", "" }, { "otl", "584" } }, { { "shell", "" }, { "otl", "0" } } },
        { "tube", { { "tube", "19.05" } }, { { "tube", "-1" } } },
        { "pitch", { { "pitch", "31.75" } }, { { "pitch", "20" } } },
        { "pattern", { { "pattern", "４５" } }, { { "pattern", "33" } } },
        { "passes", { { "passes", "8" } }, { { "passes", "3" } } },
        { "centre", { { "centre", "best" } }, { { "centre", "middle" } } },
        { "lanes", { { "passes", "2" }, { "lanes", "shift" } }, { { "lanes", "both" } } },
        { "lane-spacing", { { "passes", "4" }, { "lane-spacing", "40,44" } },
            { { "passes", "4" }, { "lane-spacing", "1,2,3" } } },
        { "clearance", { { "clearance", "12.5" } }, { { "clearance", "-1" } } },
        { "centre-tube", { { "centre-tube", "57" } }, { { "centre-tube", "x" } } },
        { "bundle", { { "passes", "2" }, { "bundle", "u-tube" } }, { { "bundle", "hairpin" } } },
        { "head", { { "head", "pull-through" } }, { { "head", "hairpin" } } },
        { "head", { { "head", "floating" } },
            { { "passes", "2" }, { "bundle", "u-tube" }, { "head", "packed" } } },
        { "bend-radius", { { "passes", "2" }, { "bundle", "u-tube" }, { "bend-radius", "40" } },
            { { "bend-radius", "40" } } },
        { "tie-rods", { { "tie-rods", "tema" } }, { { "tie-rods", "many" } } },
        { "baffle-cut", { { "baffle-cut", "20,25" } }, { { "baffle-cut", "50" } } },
        { "baffle-cut", { { "baffle-cut", "15,20,25,30,35,40,45,44" } },
            { { "baffle-cut", "15,20,25,30,35,40,45,44,43" } } },
        { "tie-rods", { { "tie-rods", "GB151" } }, { { "tie-rods", "1000000" } } },
        { "gb151", { { "pitch", "" }, { "gb151", "" } }, { { "gb151", "maybe" } } },
        { "arrangement", { { "passes", "6" }, { "arrangement", "ribbon" } },
            { { "passes", "2" }, { "arrangement", "ribbon" } } },
        { "arrangement", { { "passes", "4" }, { "arrangement", "quadrant" } },
            { { "passes", "4" }, { "arrangement", "spiral" } } },
        { "impingement", { { "impingement", "150,200,40,8" } }, { { "impingement", "150,100" } } },
        { "impingement", { { "impingement", "6in" } },
            { { "shell", "" }, { "otl", "584" }, { "impingement", "150" } } },
    };
    // The table, the reader and this test know the same options, each of one field.
    std::set<std::string> tested, table, reader;
    for (const auto &c : cases)
        tested.insert(c.name);
    for (const report::Option &option : report::options()) {
        table.insert(option.name);
        EXPECT_EQ(layout::optionField(option.name), option.field) << option.name;
    }
    for (const std::string &name : layout::optionNames())
        reader.insert(name);
    EXPECT_EQ(table, reader);
    EXPECT_EQ(tested, table);

    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // Blank values take the base's option away: an option not given.
        const auto without = [](Options options) {
            options.erase(
                std::remove_if(options.begin(), options.end(),
                    [](const TypedOption &o) { return o.value.empty() && o.name != "gb151"; }),
                options.end());
            return options;
        };
        const layout::Reading good = layout::readLayout(without(with(c.good)));
        ASSERT_TRUE(good.ok()) << good.problems.front().what();
        EXPECT_NO_THROW(layout::studyOne(good.inputs));
        const layout::Reading bad = layout::readLayout(without(with(c.bad)));
        ASSERT_FALSE(bad.ok());
        const layout::InputError &problem = bad.problems.front();
        const auto option = std::find_if(report::options().begin(), report::options().end(),
            [&c](const report::Option &one) { return c.name == std::string(one.name); });
        EXPECT_EQ(problem.field(), option->field) << problem.what();
        const report::Control *control = report::controlOf(problem.field());
        ASSERT_TRUE(control) << problem.what();
        EXPECT_TRUE(controlGives(*control, c.name)) << control->id;
        // Its reason is its own, not the catch-all.
        EXPECT_STRNE(report::reasonOf(problem), "输入有误") << problem.what();
    }
}

TEST(Form, ValuesAndOptionsThereAndBack)
{
    const struct
    {
        const char *name;
        Options given, typed; ///< typed back: the form's order, the choices all given
        std::vector<std::string> refused;
    } cases[] = {
        { "the example", report::exampleOptions(),
            { { "shell", "600" }, { "tube", "25" }, { "pitch", "32" }, { "pattern", "30" },
                { "passes", "1" }, { "centre", "on-tube" }, { "lanes", "remove" },
                { "head", "fixed" }, { "bundle", "fixed" } },
            {} },
        // What korvane-layout refuses of the options together is said, never resolved silently.
        { "the layout circle, its clearance resting and said",
            { { "otl", "584" }, { "clearance", "9" }, { "passes", "２" } },
            { { "otl", "584" }, { "pattern", "30" }, { "passes", "2" }, { "centre", "on-tube" },
                { "lanes", "remove" }, { "bundle", "fixed" } },
            { "--clearance：给定布管限定圆时不用边缘间隙" } },
        { "the shell twice: the last, and said", { { "shell", "600" }, { "shell", "700" } },
            { { "shell", "700" }, { "pattern", "30" }, { "passes", "1" }, { "centre", "on-tube" },
                { "lanes", "remove" }, { "head", "fixed" }, { "bundle", "fixed" } },
            { "--shell：重复给出" } },
        { "the shell and the layout circle: said", { { "shell", "600" }, { "otl", "584" } },
            { { "otl", "584" }, { "pattern", "30" }, { "passes", "1" }, { "centre", "on-tube" },
                { "lanes", "remove" }, { "bundle", "fixed" } },
            { "--shell：壳体内径与布管限定圆只能给定一个" } },
        { "the standard ticks shifted lanes", { { "shell", "600" }, { "gb151", "" } },
            { { "shell", "600" }, { "pattern", "30" }, { "passes", "1" }, { "centre", "on-tube" },
                { "lanes", "shift" }, { "head", "fixed" }, { "bundle", "fixed" }, { "gb151", "" } },
            {} },
        { "lanes given beside the standard stay",
            { { "lanes", "remove" }, { "gb151", "yes" }, { "bundle", "u-tube" },
                { "bend-radius", " 40 " } },
            { { "pattern", "30" }, { "passes", "1" }, { "centre", "on-tube" },
                { "lanes", "remove" }, { "bundle", "u-tube" }, { "bend-radius", " 40 " },
                { "gb151", "" } },
            {} },
        { "what cannot be taken",
            { { "colour", "red" }, { "pattern", "33" }, { "gb151", "maybe" }, { "tube", "19" } },
            { { "tube", "19" }, { "pattern", "30" }, { "passes", "1" }, { "centre", "on-tube" },
                { "lanes", "remove" }, { "head", "fixed" }, { "bundle", "fixed" } },
            { "未知选项 --colour", "--pattern 须为 30、60、90、45 之一，而不是 '33'",
                "--gb151 须为 1、0 之一，而不是 'maybe'" } },
        // The U-tube head is the bundle's choice in the form.
        { "the U-tube head", { { "shell", "600" }, { "passes", "2" }, { "head", "u-tube" } },
            { { "shell", "600" }, { "pattern", "30" }, { "passes", "2" }, { "centre", "on-tube" },
                { "lanes", "remove" }, { "bundle", "u-tube" } },
            {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const report::Filled filled = report::valuesOf(c.given);
        const Options typed = report::typedOptions(filled.values);
        ASSERT_EQ(typed.size(), c.typed.size());
        for (std::size_t i = 0; i < typed.size(); ++i) {
            EXPECT_EQ(typed[i].name, c.typed[i].name) << i;
            EXPECT_EQ(typed[i].value, c.typed[i].value) << i;
        }
        std::vector<std::string> refused;
        for (const report::Message &message : filled.refused)
            refused.push_back(report::plain(message));
        EXPECT_EQ(refused, c.refused);
        // A link leaves the choices at their defaults out, and means the same.
        const Options link = report::typedOptions(filled.values, true);
        const Options again = report::typedOptions(report::valuesOf(link).values);
        ASSERT_EQ(again.size(), typed.size());
        for (std::size_t i = 0; i < typed.size(); ++i)
            EXPECT_EQ(again[i].name + "=" + again[i].value, typed[i].name + "=" + typed[i].value);
        EXPECT_TRUE(std::none_of(link.begin(), link.end(),
            [](const TypedOption &o) { return o.name == "pattern" || o.name == "centre"; }));
    }
}

TEST(Summary, EveryLegendLineBelongsToItsLayer)
{
    const auto belongs = [](const std::string &text, const std::string &layer) {
        if (layer.rfind("PASS_", 0) == 0)
            return text.rfind("第 " + layer.substr(5) + " 管程 ", 0) == 0;
        const std::map<std::string, std::string> starts = { { "TIE_RODS", "拉杆 " },
            { "BAFFLE", "折流板缺口 " }, { "LANES", "U形管 " } };
        const auto found = starts.find(layer);
        return found != starts.end() && text.rfind(found->second, 0) == 0;
    };
    int layouts = 0;
    for (const char *passes : { "1", "2", "4", "6", "8" })
        for (const char *bundle : { "fixed", "u-tube" })
            for (const char *rods : { "", "4", "tema" })
                for (const char *cuts : { "", "25", "20,30" }) {
                    Options options = with({ { "passes", passes }, { "bundle", bundle } });
                    if (*rods)
                        options.push_back({ "tie-rods", rods });
                    if (*cuts)
                        options.push_back({ "baffle-cut", cuts });
                    const layout::Reading reading = layout::readLayout(options);
                    if (!reading.ok())
                        continue; // a U-tube bundle of 1, 6 or 8 passes
                    SCOPED_TRACE(::testing::Message()
                        << passes << " " << bundle << " " << rods << " " << cuts);
                    const layout::Layout counted = layout::studyOne(reading.inputs);
                    const sheet::Scene scene = report::layoutScene(counted, false);
                    const report::Summary summary = report::summarise(counted);
                    // The drawing's legend and the window's and page's are one list.
                    ASSERT_EQ(scene.legend.size(), summary.legend.size());
                    std::size_t expected = static_cast<std::size_t>(counted.counts.passes)
                        + (*rods ? 1 : 0) + counted.baffles.size()
                        + (std::string(bundle) == "u-tube" ? 1 : 0);
                    EXPECT_EQ(summary.legend.size(), expected);
                    for (std::size_t i = 0; i < scene.legend.size(); ++i) {
                        const std::string text = report::plain(summary.legend[i].text);
                        const std::string layer =
                            scene.layers[static_cast<std::size_t>(summary.legend[i].layer)].name;
                        EXPECT_EQ(scene.legend[i].text, text);
                        EXPECT_EQ(scene.legend[i].layer, summary.legend[i].layer);
                        EXPECT_TRUE(belongs(text, layer)) << text << " on " << layer;
                    }
                    ++layouts;
                }
    EXPECT_EQ(layouts, 5 * 3 * 3 + 2 * 3 * 3);
}

TEST(Message, PutTogetherAsQtDoes)
{
    using report::Message;
    const struct
    {
        Message message;
        const char *plain;
    } cases[] = {
        { Message("管 %1", { Message::number(12) }), "管 12" },
        { Message("%2 before %1", { Message::literal("a"), Message::literal("b") }), "b before a" },
        // An argument's own %1 stays, and a number beyond the arguments too.
        { Message("%1 and %3", { Message::literal("%2"), Message::literal("x") }), "%2 and %3" },
        { Message("缺口 %1%：%2%3",
              { Message::literal("25"), Message::literal("0.6441"),
                  Message::formula(" (0.6489)") }),
            "缺口 25%：0.6441 (0.6489)" },
        { Message("%10-%1",
              { Message::literal("1"), Message::literal("2"), Message::literal("3"),
                  Message::literal("4"), Message::literal("5"), Message::literal("6"),
                  Message::literal("7"), Message::literal("8"), Message::literal("9"),
                  Message::literal("ten") }),
            "ten-1" },
        { Message("%100", { Message::literal("x") }), "%100" },
        { Message::join({ Message::number(1), Message::number(2), Message::number(3) }, " / "),
            "1 / 2 / 3" },
        { Message("默认 %1 mm", { Message::join({}, ", ") }), "默认  mm" },
        { Message("%", {}), "%" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(report::plain(c.message), c.plain);
}

TEST(Summary, BalanceToATenthOfAPercentHalfUp)
{
    // (largest − smallest) / (total / passes): whole numbers, so a half is a half.
    const struct
    {
        std::vector<std::int64_t> perPass;
        const char *percent; ///< nullptr for none
        double ratio;
    } cases[] = {
        { { 20, 20 }, "0.0", 0 }, { { 21, 19 }, "10.0", 0.1 },
        { { 4001, 3999 }, "0.1", 0.0005 }, // 0.05 % exactly: up
        { { 4002, 4000, 4000 }, "0.0", 6.0 / 12002 }, // 0.04999 %
        { { 200004, 199997 }, "0.0", 14.0 / 400001 }, { { 3, 1 }, "100.0", 1 },
        { { 5, 0, 0, 5 }, "200.0", 2 }, { { 159, 159, 138, 138, 159, 159 }, "13.8", 126.0 / 912 },
        { { 7 }, nullptr, 0 }, // one pass
        { { 0, 0 }, nullptr, 0 }, // no tubes
    };
    for (const auto &c : cases) {
        std::int64_t total = 0;
        for (const std::int64_t n : c.perPass)
            total += n;
        const auto balance =
            report::balanceOf(c.perPass.data(), static_cast<int>(c.perPass.size()), total);
        ASSERT_EQ(balance.has_value(), c.percent != nullptr) << total;
        if (balance) {
            EXPECT_EQ(balance->percentText(), c.percent) << total;
            EXPECT_EQ(balance->ratio(), c.ratio) << total;
        }
    }
}

TEST(Summary, WhatTheWindowAndThePageSay)
{
    const auto hint = [](const report::Summary &summary, const char *control) {
        for (const report::Hint &one : summary.hints)
            if (std::string(control) == one.control)
                return report::plain(one.text);
        return std::string("(none)");
    };
    const struct
    {
        const char *name;
        Options options;
        const char *arrangement, *spacing, *pitch, *clearance, *perPass;
    } cases[] = {
        { "one pass", kBase, "布管限定圆 DL 584 mm，对中", "单管程无隔板槽", "", "默认 8 mm",
            "283" },
        { "four passes, their defaults", with({ { "passes", "4" } }), "布管限定圆 DL 584 mm，对中",
            "默认 √3·p = 55.425625, 2p = 64 mm", "", "默认 8 mm",
            "59 / 59 / 59 / 59，最大偏差 0.0%" },
        { "best of two, straddled", with({ { "passes", "2" }, { "centre", "best" } }),
            "布管限定圆 DL 584 mm，对中（另一种布置 258 管）", "默认 √3·p = 55.425625 mm", "",
            "默认 8 mm", "133 / 133，最大偏差 0.0%" },
        { "the standard, shifted, its rods",
            { { "shell", "600" }, { "tube", "25" }, { "passes", "2" }, { "gb151", "" } },
            "布管限定圆 DL 584 mm，对中，拉杆 4 根，直径 16 mm，按 GB/T 151 取值",
            "默认 GB/T 151 44 mm", "GB/T 151 32 mm", "默认 8 mm", "133 / 133，最大偏差 0.0%" },
        { "U-tubes on the layout circle",
            { { "otl", "584" }, { "tube", "25" }, { "pitch", "32" }, { "passes", "2" },
                { "bundle", "u-tube" }, { "tie-rods", "" } },
            // The bends widen the centre lane past √3·p: no default of the rules to show.
            "布管限定圆 DL 584 mm，对中，U形管 115 根", "", "", "给定布管限定圆时不用",
            "115 / 115，最大偏差 0.0%" },
        // Unequal passes: 11 tubes apart in 712 over 6, 9.27 %; the head's rule named.
        { "six passes under a floating head",
            { { "shell", "1000" }, { "tube", "25" }, { "pitch", "32" }, { "passes", "6" },
                { "head", "floating" } },
            "布管限定圆 DL 951 mm，对中，浮头式", "默认 √3·p = 55.425625, 2p = 64 mm", "",
            "默认 8 mm", "116 / 116 / 94 / 94 / 116 / 116，最大偏差 20.2%" },
        // What was typed in inches, beside its millimetres; a centre tube of none has none.
        { "inches",
            { { "shell", "23.25in" }, { "tube", "3/4in" }, { "pitch", "15/16\"" },
                { "centre-tube", "0in" } },
            "布管限定圆 DL 574.55 mm，对中，Di = 590.55 mm (23.25 in)，d = 19.05 mm (3/4 in)，p = "
            "23.8125 mm (15/16 in)",
            "单管程无隔板槽", "", "默认 8 mm", "499" },
        // Ribbon lanes named on the line, their balance after the plate has taken its tubes.
        { "ribbon under a plate",
            { { "shell", "1000" }, { "tube", "25" }, { "pitch", "32" }, { "passes", "6" },
                { "arrangement", "ribbon" }, { "impingement", "200" } },
            "布管限定圆 DL 984 mm，对中，带状式", "默认 √3·p = 55.425625 mm", "", "默认 8 mm",
            "98 / 110 / 118 / 118 / 110 / 113，最大偏差 18.0%" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Options options;
        for (const TypedOption &option : c.options)
            if (!option.value.empty() || option.name == "gb151")
                options.push_back(option);
        const layout::Reading reading = layout::readLayout(options);
        ASSERT_TRUE(reading.ok()) << reading.problems.front().what();
        const report::Summary summary = report::summarise(layout::studyOne(reading.inputs));
        EXPECT_EQ(report::plain(summary.arrangement), c.arrangement);
        EXPECT_EQ(hint(summary, "lane-spacing"), c.spacing);
        EXPECT_EQ(hint(summary, "pitch"), c.pitch);
        EXPECT_EQ(hint(summary, "clearance"), c.clearance);
        ASSERT_EQ(summary.counts.size(), report::countFields().size());
        EXPECT_EQ(report::plain(summary.counts.back()), c.perPass);
        // Every count the window shows is the study's, the plate's included.
        const layout::Counts counts = layout::studyOne(reading.inputs).counts;
        EXPECT_EQ(report::plain(summary.counts[3]), std::to_string(counts.impingementRemoved));
        EXPECT_FALSE(summary.notDrawn);
    }
    // A sheet too large to draw says so, with the limit.
    const report::Summary large = report::summarise(layout::study(
        layout::readLayout({ { "otl", "20000" }, { "tube", "12" }, { "pitch", "16" } }).inputs));
    ASSERT_TRUE(large.notDrawn);
    EXPECT_EQ(report::plain(*large.notDrawn), "布管限定圆内 1415413 管，超过 200000 管，不再绘图");
}

TEST(Summary, TheTubeUnderThePointer)
{
    using layout::Removed;
    const struct
    {
        layout::Tube tube;
        std::int64_t number;
        const char *said;
    } cases[] = {
        { { 16, 27.712812921102035, 1, Removed::No, false, {} }, 7,
            "管 7\nx = 16 mm，y = 27.713 mm\n第 1 管程" },
        { { -0.0004, 0, 2, Removed::No, true, {} }, 12,
            "管 12：拉杆\nx = 0 mm，y = 0 mm\n第 2 管程" },
        { { 0, 0, 0, Removed::Lane, false, {} }, 0, "x = 0 mm，y = 0 mm\n在隔板槽内，已去掉" },
        { { 32.5, -0.0005, 0, Removed::Centre, false, {} }, 0,
            "x = 32.5 mm，y = -0.001 mm\n让位于中心管，已去掉" },
        { { 16, 400, 0, Removed::Plate, false, {} }, 0,
            "x = 16 mm，y = 400 mm\n在防冲板下，已去掉" },
        { { 16, 400, 0, Removed::Dummy, false, { 3, 1 } }, 9, "x = 16 mm，y = 400 mm\n假管" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(report::plain(report::describeTube(c.tube, c.number)), c.said);
}

TEST(Form, HelpFitsItsColumns)
{
    const auto lines = [](const std::string &text) {
        std::vector<std::string> list;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            list.push_back(text.substr(start, end - start));
        list.push_back(text.substr(start));
        return list;
    };
    std::size_t options = 0;
    for (const std::string &line : lines(report::optionsHelp())) {
        EXPECT_LE(line.size(), 100u) << line;
        if (line.rfind("  --", 0) == 0) {
            ++options;
        } else if (!line.empty() && line.rfind("Layout options", 0) != 0) {
            // A help's text goes on under its own column.
            EXPECT_EQ(line.find_first_not_of(' '), 28u) << line;
        }
    }
    EXPECT_EQ(options, report::options().size());
    // The first line follows "usage: korvane-sheet ", the others are indented as far.
    const std::string usage = report::usageOptions(21);
    for (const std::string &line : lines(usage))
        EXPECT_LE((line.rfind("  ", 0) == 0 ? 0 : 21) + line.size(), 100u) << line;
    for (const report::Option &option : report::options())
        EXPECT_NE(usage.find(std::string("[--") + option.name), std::string::npos) << option.name;
}

TEST(Form, EveryControlForThePage)
{
    const nlohmann::ordered_json form = report::formJson();
    std::set<std::string> ids;
    for (const auto &control : form["controls"]) {
        const std::string id = control["id"];
        EXPECT_TRUE(ids.insert(id).second) << id;
        // A choice starts at its first value; what a control depends on is another control.
        if (control["widget"] == "choice") {
            EXPECT_EQ(report::defaultValues()[id], control["choices"][0]["value"]) << id;
        }
        for (const char *rule : { "rests_unless", "ticks" }) {
            if (!control[rule].is_null()) {
                EXPECT_TRUE(report::controlById(control[rule]["control"].get<std::string>()));
            }
        }
    }
    // Lengths are typed as numbers, the tie rods as a word too.
    for (const auto &[id, numeric] :
        std::map<std::string, bool> { { "diameter", true }, { "lane-spacing", true },
            { "baffle-cut", true }, { "tie-rods", false }, { "gb151", false } })
        for (const auto &control : form["controls"]) {
            if (control["id"] == id) {
                EXPECT_EQ(control["numeric"], numeric) << id;
            }
        }
    // Every field an option gives is marked on a control, and every count has a place.
    for (const report::Option &option : report::options())
        EXPECT_TRUE(report::controlOf(option.field)) << option.name;
    EXPECT_EQ(form["counts"].size(), report::countFields().size());
    EXPECT_EQ(form["example"].size(), report::exampleOptions().size());
}

TEST(Form, OneOptionSetsItsControls)
{
    const struct
    {
        const char *name, *text;
        std::vector<std::pair<std::string, std::string>> values;
        const char *refused;
    } cases[] = {
        { "otl", "584", { { "given", "otl" }, { "diameter", "584" } }, "" },
        { "tube", " ２５ ", { { "tube", " ２５ " } }, "" },
        { "passes", "４", { { "passes", "4" } }, "" },
        { "centre", " best", { { "centre", "best" } }, "" },
        { "gb151", "", { { "gb151", "1" } }, "" },
        { "gb151", "off", { { "gb151", "" } }, "" },
        { "bundle", "hairpin", {}, "--bundle 须为 fixed、u-tube 之一，而不是 'hairpin'" },
        { "colour", "red", {}, "未知选项 --colour" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.text);
        const report::Setting setting = report::settingOf(c.name, c.text);
        EXPECT_EQ(setting.values, c.values);
        EXPECT_EQ(setting.refused ? report::plain(*setting.refused) : "", c.refused);
    }
    // A control rests while what it belongs to is not chosen.
    report::Values values = report::defaultValues();
    const report::Control &clearance = *report::controlOf(Field::Clearance);
    const report::Control &bend = *report::controlOf(Field::BendRadius);
    EXPECT_FALSE(report::rests(clearance, values));
    EXPECT_TRUE(report::rests(bend, values));
    values["given"] = "otl";
    values["bundle"] = "u-tube";
    EXPECT_TRUE(report::rests(clearance, values));
    EXPECT_FALSE(report::rests(bend, values));
}

TEST(Message, ForThePage)
{
    using report::Message;
    const Message message("管 %1%2",
        { Message::number(3), Message::join({ Message("对中"), Message::formula(" (1)") }, "|") });
    const auto expected = nlohmann::ordered_json::parse(
        R"json({"source": "管 %1%2", "args": ["3", {"join": "|", "args": [{"source": "对中",
            "args": []}, {"formula": " (1)"}]}]})json");
    EXPECT_EQ(report::messageJson(message), expected);
    EXPECT_EQ(report::plain(message), "管 3对中| (1)");
}

} // namespace
