#include "report/form.h"

#include "report/reasons.h"

#include "report/summary.h"

#include <algorithm>

namespace report {

using layout::Field;
using layout::Problem;

namespace {

    const std::vector<Option> kOptions = {
        { "shell", Field::Diameter, Kind::Length, "DI",
            "Shell inner diameter Di (mm); the layout circle is Di - 2b, or by --head's rule. "
            "Alone, with --sweep or --min-shell: the shell is what they vary" },
        { "otl", Field::Diameter, Kind::Length, "DL",
            "Layout circle (outer tube limit) DL (mm), instead of the shell. Alone, with --sweep "
            "or --min-shell: the layout circle is what they vary" },
        { "tube", Field::Tube, Kind::Length, "D", "Tube outer diameter d (mm)" },
        { "pitch", Field::Pitch, Kind::Length, "P", "Tube pitch p (mm), at least d" },
        { "pattern", Field::Pattern, Kind::Choice, "ANGLE",
            "30 triangular, 60 rotated triangular, 90 square, 45 rotated square (default 30)" },
        { "passes", Field::Passes, Kind::Choice, "N",
            "1, 2, 4, 6 or 8 (default 1); with --sweep a list such as 1,2,4,6,8" },
        { "arrangement", Field::Arrangement, Kind::Choice, "KIND",
            "standard (default: quadrant for 4 passes, mixed for 6 and 8), quadrant (4), mixed "
            "(6, 8) or ribbon (4, 6, 8): every lane horizontal" },
        { "centre", Field::Centring, Kind::Choice, "MODE",
            "on-tube (default), straddle, or best: whichever keeps more tubes" },
        { "lanes", Field::LaneModel, Kind::Choice, "MODEL",
            "remove (default): lanes take tubes out of one pattern; shift: the pattern is pulled "
            "apart so that the rows across a lane are Sn apart (GB/T 151)" },
        { "lane-spacing", Field::LaneSpacing, Kind::List, "H[,V]",
            "Pass lane spacing Sn (mm) for every lane, or H,V for horizontal and vertical lanes" },
        { "clearance", Field::Clearance, Kind::Length, "B",
            "Clearance b between shell and layout circle (mm; default max(0.25 d, 8))" },
        { "centre-tube", Field::CentreTube, Kind::Length, "D0",
            "Centre tube outer diameter d0 (mm); 0 for none" },
        { "head", Field::Head, Kind::Choice, "TYPE",
            "fixed (default), u-tube (the U-tube bundle), floating (split-ring floating head), "
            "pull-through or packed: each sets the layout circle from the shell by its rule, "
            "unless --clearance is given" },
        { "bundle", Field::Bundle, Kind::Choice, "KIND",
            "fixed (default) or u-tube: 2 or 4 passes, U-bends across the centre lane" },
        { "bend-radius", Field::BendRadius, Kind::Length, "R",
            "The smallest U-bend radius R (mm; default 2 d); the centre lane is at least 2R" },
        { "tie-rods", Field::TieRods, Kind::Count, "N|gb151|tema",
            "Tie rods in place of tubes at the bundle's edge: N of them, or the number and "
            "diameter from GB/T 151 or TEMA (needs --shell)" },
        { "baffle-cut", Field::BaffleCut, Kind::List, "BC[,BC...]",
            "Segmental baffles cut at BC % of Di (15 to 45; needs --shell): the tubes in the "
            "window and cut by the edge, Fc, Nc and Ncw, with the formulas' values" },
        { "impingement", Field::Impingement, Kind::List, "DN[,A,H,T]",
            "An inlet nozzle of bore DN on top with its impingement plate: side A (default DN + "
            "50), its top H below the shell's top (default DN/4), T thick (default 6); needs "
            "--shell. The tubes under it are taken out" },
        { "gb151", Field::Standard, Kind::Switch, "",
            "Take from GB/T 151 what is not given: the pitch and Sn for the tube, --lanes shift, "
            "the clearance and the tie rods" },
    };

    Control box(const char *id, const char *objectName, const char *label, const char *option,
        std::vector<Field> fields)
    {
        return { id, objectName, Widget::Box, label, option, nullptr, {}, std::move(fields),
            nullptr, nullptr, {}, {}, false, std::nullopt, {} };
    }

    Control choice(const char *id, const char *objectName, const char *label, const char *option,
        std::vector<Choice> choices, std::vector<Field> fields)
    {
        return { id, objectName, Widget::Choice, label, option, nullptr, std::move(choices),
            std::move(fields), nullptr, nullptr, {}, {}, false, std::nullopt, {} };
    }

    std::vector<Control> makeControls()
    {
        std::vector<Control> list;
        list.push_back(choice("given", "given", QT_TR_NOOP("给定(&G)"), nullptr,
            { { "shell", QT_TR_NOOP("壳体内径 Di") }, { "otl", QT_TR_NOOP("布管限定圆 DL") } },
            {}));
        list.push_back(
            box("diameter", "diameter", QT_TR_NOOP("直径(&D)"), nullptr, { Field::Diameter }));
        list.back().chooser = "given";
        list.push_back(box("tube", "tube", QT_TR_NOOP("管子外径 d(&T)"), "tube", { Field::Tube }));
        list.push_back(
            box("pitch", "pitch", QT_TR_NOOP("管心距 p(&P)"), "pitch", { Field::Pitch }));
        list.push_back(choice("pattern", "pattern", QT_TR_NOOP("布管方式(&A)"), "pattern",
            { { "30", QT_TR_NOOP("30° 正三角形") }, { "60", QT_TR_NOOP("60° 转角正三角形") },
                { "90", QT_TR_NOOP("90° 正方形") }, { "45", QT_TR_NOOP("45° 转角正方形") } },
            { Field::Pattern }));
        list.back().patternIcons = true;
        list.push_back(choice("passes", "passes", QT_TR_NOOP("管程数(&N)"), "passes",
            { { "1", "1" }, { "2", "2" }, { "4", "4" }, { "6", "6" }, { "8", "8" } },
            { Field::Passes }));
        list.push_back(
            choice("pass-arrangement", "passArrangement", QT_TR_NOOP("管程布置(&O)"), "arrangement",
                { { "standard", QT_TR_NOOP("常规") }, { "quadrant", QT_TR_NOOP("象限式") },
                    { "mixed", QT_TR_NOOP("混合式") }, { "ribbon", QT_TR_NOOP("带状式") } },
                { Field::Arrangement }));
        list.back().tooltip =
            QT_TR_NOOP("常规：4 管程象限式，6、8 管程混合式；带状式：隔板槽全部水平，"
                       "相邻管程温度相近");
        // One and two passes have one arrangement.
        list.back().restsUnless = { "passes", "4|6|8" };
        list.push_back(choice("centre", "centring", QT_TR_NOOP("中心布置(&E)"), "centre",
            { { "on-tube", QT_TR_NOOP("对中") }, { "straddle", QT_TR_NOOP("跨中") },
                { "best", QT_TR_NOOP("最佳") } },
            { Field::Centring }));
        list.push_back(choice("lanes", "laneModel", QT_TR_NOOP("隔板槽(&W)"), "lanes",
            { { "remove", QT_TR_NOOP("去管") }, { "shift", QT_TR_NOOP("移位") } },
            { Field::LaneModel }));
        list.back().tooltip = QT_TR_NOOP("去管：隔板槽从连续的排列中去掉管子；移位：排列沿槽分开，"
                                         "槽两侧管排的中心距为 Sn（GB/T 151）");
        list.push_back(box("lane-spacing", "laneSpacing", QT_TR_NOOP("隔板槽中心距 Sn(&S)"),
            "lane-spacing", { Field::LaneSpacing, Field::VerticalSpacing }));
        // The defaults it shows when empty, as wide as they come.
        list.back().widest =
            Message(QT_TR_NOOP("默认 %1 mm"), { Message::literal("√3·p = 55.425625, 2p = 64") });
        list.push_back(box("clearance", "clearance", QT_TR_NOOP("边缘间隙 b(&B)"), "clearance",
            { Field::Clearance }));
        // With the layout circle given, the clearance is already allowed for.
        list.back().restsUnless = { "given", "shell" };
        list.push_back(box("centre-tube", "centreTube", QT_TR_NOOP("中心管外径 d0(&C)"),
            "centre-tube", { Field::CentreTube }));
        list.back().placeholder = QT_TR_NOOP("无");
        // The U-tube head is the bundle's own choice: --head u-tube sets it there.
        list.push_back(choice("head", "head", QT_TR_NOOP("换热器型式(&Y)"), "head",
            { { "fixed", QT_TR_NOOP("固定管板式") }, { "floating", QT_TR_NOOP("浮头式") },
                { "pull-through", QT_TR_NOOP("拉出式浮头") },
                { "packed", QT_TR_NOOP("填料函式") } },
            { Field::Head }));
        list.back().tooltip =
            QT_TR_NOOP("按换热器型式由壳体内径定布管限定圆；给定边缘间隙时按间隙");
        list.back().restsUnless = { "given", "shell" };
        // U-tubes are the U-tube head: no other can be chosen beside them.
        list.back().restsWhen = { "bundle", "u-tube" };
        list.push_back(choice("bundle", "bundle", QT_TR_NOOP("管束(&U)"), "bundle",
            { { "fixed", QT_TR_NOOP("固定管板") }, { "u-tube", QT_TR_NOOP("U形管") } },
            { Field::Bundle }));
        list.push_back(box("bend-radius", "bendRadius", QT_TR_NOOP("弯管半径 R(&R)"), "bend-radius",
            { Field::BendRadius }));
        list.back().restsUnless = { "bundle", "u-tube" };
        list.push_back(
            box("tie-rods", "tieRods", QT_TR_NOOP("拉杆(&Z)"), "tie-rods", { Field::TieRods }));
        list.back().placeholder = QT_TR_NOOP("无（根数、gb151 或 tema）");
        list.back().tooltip = QT_TR_NOOP("拉杆根数，或 gb151、tema：按标准的表取根数和直径");
        list.push_back(box("baffle-cut", "baffleCut", QT_TR_NOOP("折流板缺口 %(&K)"), "baffle-cut",
            { Field::BaffleCut }));
        list.back().placeholder = QT_TR_NOOP("无（如 25，或 20,25,30）");
        list.push_back(box("impingement", "impingement", QT_TR_NOOP("防冲板 Dn,A,h,t(&I)"),
            "impingement", { Field::Impingement }));
        list.back().placeholder = QT_TR_NOOP("无（接管内径 Dn，板宽 A，高 h，厚 t）");
        list.back().tooltip =
            QT_TR_NOOP("顶部进口接管内径 Dn；防冲板边长 A 默认 Dn + 50，板顶距壳体顶部 h "
                       "默认 Dn/4，板厚 t 默认 6：去掉板下的管子");
        list.back().restsUnless = { "given", "shell" };
        list.push_back({ "gb151", "gb151", Widget::Switch, QT_TR_NOOP("按 GB/T 151 取值(&Q)"),
            "gb151", nullptr, {}, { Field::Standard }, nullptr,
            QT_TR_NOOP("未填的管心距、Sn 和拉杆按 GB/T 151 取值，隔板槽移位"), {},
            { "lanes", "shift" }, false, std::nullopt, {} });
        return list;
    }

    /// Reasons whose words depend on the field the problem lies in.
    constexpr struct
    {
        Field field;
        Problem problem;
        const char *reason;
    } kFieldReasons[] = {
        { Field::CentreTube, Problem::Negative, QT_TR_NOOP("不能为负（0 为无中心管）") },
        { Field::LaneSpacing, Problem::Empty, QT_TR_NOOP("GB/T 151 没有此管径的 Sn，请输入数值") },
        { Field::LaneSpacing, Problem::Missing,
            QT_TR_NOOP("GB/T 151 没有此管径的 Sn，请输入数值") },
        { Field::CentreTube, Problem::NotWithBundle, QT_TR_NOOP("U形管束不能有中心管") },
        { Field::Passes, Problem::NotWithBundle, QT_TR_NOOP("U形管束只能为 2 或 4 管程") },
        { Field::Standard, Problem::NeedsShell, QT_TR_NOOP("按 GB/T 151 取值须给定壳体内径") },
        { Field::BaffleCut, Problem::NeedsShell, QT_TR_NOOP("折流板缺口须给定壳体内径") },
        { Field::TieRods, Problem::NeedsShell, QT_TR_NOOP("拉杆须给定壳体内径") },
        { Field::TieRods, Problem::TooLarge, QT_TR_NOOP("拉杆不能多于 999999 根") },
        { Field::Clearance, Problem::NoLayoutCircle,
            QT_TR_NOOP("边缘间隙过大：布管限定圆 DL 不大于 0") },
        { Field::Head, Problem::Conflict, QT_TR_NOOP("U形管束即 U形管式，不能用其他型式") },
        { Field::Diameter, Problem::OutsideTable,
            QT_TR_NOOP("浮头式只到 DN 2600：更大的壳体请给定边缘间隙") },
        { Field::Diameter, Problem::NoLayoutCircle,
            QT_TR_NOOP("壳体内径过小：扣除边缘间隙后布管限定圆 DL 不大于 0") },
        { Field::Arrangement, Problem::NotWithPasses,
            QT_TR_NOOP("此管程数没有这种布置：象限式为 4 管程，混合式为 6、8 管程，带状式为 "
                       "4、6、8 管程") },
        { Field::VerticalSpacing, Problem::NotWithPasses,
            QT_TR_NOOP("带状式没有竖直隔板槽，不用第二个值") },
        { Field::Impingement, Problem::SpacingForm,
            QT_TR_NOOP("须为 Dn，或 Dn,A、Dn,A,h、Dn,A,h,t") },
        { Field::Impingement, Problem::NeedsShell, QT_TR_NOOP("防冲板须给定壳体内径") },
        { Field::Impingement, Problem::NozzleWidth, QT_TR_NOOP("接管内径须大于 0 且小于壳体内径") },
        { Field::Impingement, Problem::PlateBelowNozzle, QT_TR_NOOP("防冲板不能窄于接管内径") },
        { Field::Impingement, Problem::NotPositive, QT_TR_NOOP("板顶距壳体顶部的高度 h 须大于 0") },
        { Field::Impingement, Problem::Negative, QT_TR_NOOP("防冲板厚度 t 不能为负") },
        { Field::Impingement, Problem::PlateBelowCentre,
            QT_TR_NOOP("防冲板伸过壳体中心线：h + t 大于 Di/2") },
    };

    const std::string &valueAt(const Values &values, const char *id)
    {
        static const std::string none;
        const auto found = values.find(id);
        return found == values.end() ? none : found->second;
    }

    /// Whether a condition's control holds its value, or one of its values ("4|6|8").
    bool holds(const Condition &condition, const Values &values)
    {
        return ("|" + std::string(condition.value) + "|")
                   .find("|" + valueAt(values, condition.control) + "|")
            != std::string::npos;
    }

    /// Whether a ticked switch would set this choice: then even its default must be said.
    bool ticked(const Control &choice, const Values &values)
    {
        for (const Control &control : controls())
            if (control.ticks.control && choice.id == std::string(control.ticks.control)
                && valueAt(values, control.id) == "1")
                return true;
        return false;
    }

    /// The option a box gives with these values: its own, or the one its chooser names.
    std::string optionOf(const Control &control, const Values &values)
    {
        return control.option ? control.option : valueAt(values, control.chooser);
    }

    /// A choice's value as it was typed: full-width forms and blanks around as elsewhere.
    const Choice *choiceNamed(const Control &control, const std::string &text)
    {
        const std::string wanted = layout::normalised(text);
        for (const Choice &one : control.choices)
            if (text == one.value || wanted == one.value)
                return &one;
        return nullptr;
    }

    Message refusedChoice(
        const std::string &name, const std::vector<std::string> &values, const std::string &text)
    {
        std::vector<Message> listed;
        listed.reserve(values.size());
        for (const std::string &value : values)
            listed.push_back(Message::literal(value));
        return Message(QT_TR_NOOP("--%1 须为 %2 之一，而不是 '%3'"),
            { Message::literal(name), Message::join(listed, "、"), Message::literal(text) });
    }

} // namespace

const std::vector<Option> &options()
{
    return kOptions;
}

const std::vector<Control> &controls()
{
    static const std::vector<Control> list = makeControls();
    return list;
}

const Control *controlById(const std::string &id)
{
    for (const Control &control : controls())
        if (id == control.id)
            return &control;
    return nullptr;
}

const Control *controlOf(Field field)
{
    for (const Control &control : controls())
        if (std::find(control.fields.begin(), control.fields.end(), field) != control.fields.end())
            return &control;
    return nullptr;
}

const char *choiceLabel(Field field, const char *value)
{
    if (const Control *control = controlOf(field))
        for (const Choice &one : control->choices)
            if (std::string(value) == one.value)
                return one.label;
    return value;
}

const char *fieldReason(Field field, Problem problem)
{
    for (const auto &reason : kFieldReasons)
        if (reason.field == field && reason.problem == problem)
            return reason.reason;
    return nullptr;
}

Values defaultValues()
{
    Values values;
    for (const Control &control : controls())
        values[control.id] = control.widget == Widget::Choice ? control.choices.front().value : "";
    return values;
}

bool rests(const Control &control, const Values &values)
{
    const Condition &unless = control.restsUnless, &when = control.restsWhen;
    return (unless.control && !holds(unless, values)) || (when.control && holds(when, values));
}

std::vector<layout::TypedOption> typedOptions(const Values &values, bool forLink)
{
    std::vector<layout::TypedOption> typed;
    for (const Control &control : controls()) {
        const auto found = values.find(control.id);
        if (found == values.end() || rests(control, values))
            continue;
        const std::string &value = found->second;
        switch (control.widget) {
        case Widget::Box:
            if (!layout::normalised(value).empty())
                typed.push_back({ optionOf(control, values), value });
            break;
        case Widget::Choice:
            if (control.option
                && !(forLink && value == control.choices.front().value && !ticked(control, values)))
                typed.push_back({ control.option, value });
            break;
        case Widget::Switch:
            if (value == "1")
                typed.push_back({ control.option, "" });
            break;
        }
    }
    return typed;
}

Setting settingOf(const std::string &name, const std::string &text)
{
    Setting setting;
    // --head u-tube is the U-tube bundle, which the form chooses on a control of its own.
    if (name == "head" && layout::normalised(text) == "u-tube") {
        setting.values.emplace_back("bundle", "u-tube");
        return setting;
    }
    for (const Control &control : controls()) {
        if (control.option && name == control.option) {
            if (control.widget == Widget::Box) {
                setting.values.emplace_back(control.id, text);
            } else if (control.widget == Widget::Choice) {
                if (const Choice *chosen = choiceNamed(control, text))
                    setting.values.emplace_back(control.id, chosen->value);
                else {
                    std::vector<std::string> values;
                    for (const Choice &one : control.choices)
                        values.emplace_back(one.value);
                    setting.refused = refusedChoice(name, values, text);
                }
            } else if (const auto on = layout::switchOf(layout::normalised(text))) {
                setting.values.emplace_back(control.id, *on ? "1" : "");
            } else {
                setting.refused = refusedChoice(name, { "1", "0" }, text);
            }
            return setting;
        }
        if (control.chooser) {
            const Control *chooser = controlById(control.chooser);
            for (const Choice &one : chooser->choices)
                if (name == one.value) {
                    setting.values.emplace_back(chooser->id, one.value);
                    setting.values.emplace_back(control.id, text);
                    return setting;
                }
        }
    }
    setting.refused = Message(QT_TR_NOOP("未知选项 --%1"), { Message::literal(name) });
    return setting;
}

Filled valuesOf(const std::vector<layout::TypedOption> &typed)
{
    Filled filled { defaultValues(), {} };
    for (const layout::TypedOption &option : typed) {
        const Setting setting = settingOf(option.name, option.value);
        if (setting.refused)
            filled.refused.push_back(*setting.refused);
        for (const auto &[id, value] : setting.values)
            filled.values[id] = value;
    }
    // What the options say together, read as korvane-layout reads them: an option given twice,
    // the shell and the layout circle both, a clearance beside the layout circle.
    for (const layout::InputError &problem : layout::readLayout(typed).problems) {
        const layout::Problem kind = problem.problem();
        if (kind != layout::Problem::Repeated && kind != layout::Problem::Conflict
            && kind != layout::Problem::ClearanceWithoutShell)
            continue;
        const auto option = std::find_if(options().begin(), options().end(),
            [&problem](const Option &one) { return one.field == problem.field(); });
        filled.refused.push_back(Message(QT_TR_NOOP("--%1：%2"),
            { Message::literal(option == options().end() ? "" : option->name),
                Message(reasonOf(problem)) }));
    }
    // A ticked switch sets its choice where the options do not: as korvane-layout reads them.
    for (const Control &control : controls()) {
        if (!control.ticks.control || filled.values[control.id] != "1")
            continue;
        const Control *target = controlById(control.ticks.control);
        const bool given = std::any_of(typed.begin(), typed.end(),
            [target](const layout::TypedOption &option) { return option.name == target->option; });
        if (!given)
            filled.values[target->id] = control.ticks.value;
    }
    return filled;
}

std::vector<layout::TypedOption> exampleOptions()
{
    return { { "shell", "600" }, { "tube", "25" }, { "pitch", "32" } };
}

nlohmann::ordered_json formJson()
{
    using Json = nlohmann::ordered_json;
    const auto text = [](const char *value) { return value ? Json(value) : Json(nullptr); };
    const auto condition = [](const Condition &c) {
        return c.control ? Json { { "control", c.control }, { "value", c.value } } : Json(nullptr);
    };
    Json list = Json::array();
    for (const Control &control : controls()) {
        Json choices = Json::array();
        for (const Choice &one : control.choices)
            choices.push_back({ { "value", one.value }, { "label", one.label } });
        const char *widgets[] = { "box", "choice", "switch" };
        // The option a box gives, or the first its chooser names: is it typed as numbers?
        const char *name = control.option ? control.option
            : control.chooser             ? controlById(control.chooser)->choices.front().value
                                          : "";
        const auto option = std::find_if(kOptions.begin(), kOptions.end(),
            [name](const Option &one) { return std::string(name) == one.name; });
        const bool numeric = control.widget == Widget::Box && option != kOptions.end()
            && (option->kind == Kind::Length || option->kind == Kind::List);
        list.push_back(
            { { "id", control.id }, { "widget", widgets[static_cast<int>(control.widget)] },
                { "label", control.label }, { "numeric", numeric }, { "choices", choices },
                { "placeholder", text(control.placeholder) }, { "tooltip", text(control.tooltip) },
                { "rests_unless", condition(control.restsUnless) },
                { "rests_when", condition(control.restsWhen) },
                { "ticks", condition(control.ticks) } });
    }
    Json counts = Json::array();
    for (const CountField &count : countFields())
        counts.push_back({ { "id", count.id }, { "label", count.label }, { "wide", count.wide } });
    Json example = Json::array();
    for (const layout::TypedOption &option : exampleOptions())
        example.push_back(Json::array({ option.name, option.value }));
    return { { "controls", list }, { "counts", counts }, { "example", example },
        { "texts",
            { { "stale_note", kStaleNote }, { "stale_drawing", kStaleDrawing },
                { "counting", kCounting } } } };
}

} // namespace report
