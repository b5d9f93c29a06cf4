// The layer every front end walks: each option of the form's table read, and refused on its
// own control when wrong; the form's walks there and back; every legend line on its own layer;
// messages put together as the window and the page put them together.

#include "report/drawing.h"
#include "report/form.h"
#include "report/reasons.h"
#include "report/summary.h"

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
        { "bend-radius", { { "passes", "2" }, { "bundle", "u-tube" }, { "bend-radius", "40" } },
            { { "bend-radius", "40" } } },
        { "tie-rods", { { "tie-rods", "tema" } }, { { "tie-rods", "many" } } },
        { "baffle-cut", { { "baffle-cut", "20,25" } }, { { "baffle-cut", "50" } } },
        { "gb151", { { "pitch", "" }, { "gb151", "" } }, { { "gb151", "maybe" } } },
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
                { "bundle", "fixed" } },
            {} },
        { "the layout circle, its clearance resting",
            { { "otl", "584" }, { "clearance", "9" }, { "passes", "２" } },
            { { "otl", "584" }, { "pattern", "30" }, { "passes", "2" }, { "centre", "on-tube" },
                { "lanes", "remove" }, { "bundle", "fixed" } },
            {} },
        { "the standard ticks shifted lanes", { { "shell", "600" }, { "gb151", "" } },
            { { "shell", "600" }, { "pattern", "30" }, { "passes", "1" }, { "centre", "on-tube" },
                { "lanes", "shift" }, { "bundle", "fixed" }, { "gb151", "" } },
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
                { "lanes", "remove" }, { "bundle", "fixed" } },
            { "未知选项 --colour", "--pattern 须为 30、60、90、45 之一，而不是 '33'",
                "--gb151 须为 1、0 之一，而不是 'maybe'" } },
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

} // namespace
