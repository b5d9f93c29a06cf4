#include "layout_cli/report.h"

#include "runtime/chars.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace layout_cli {

using layout::Centring;
using layout::Given;
using layout::Layout;
using layout::Length;
using layout::lengthText;
using layout::millimetres;

namespace {

    const char *patternText(layout::Pattern pattern)
    {
        switch (pattern) {
        case layout::Pattern::Triangular:
            return "30° 正三角形";
        case layout::Pattern::RotatedTriangular:
            return "60° 转角正三角形";
        case layout::Pattern::Square:
            return "90° 正方形";
        case layout::Pattern::RotatedSquare:
            break;
        }
        return "45° 转角正方形";
    }

    const char *centringText(Centring centring)
    {
        switch (centring) {
        case Centring::OnTube:
            return "对中";
        case Centring::Straddle:
            return "跨中";
        case Centring::Best:
            break;
        }
        return "最佳";
    }

    /// A length worked out in floating point (a lane at m·p·√3/2), to a tenth of a micrometre.
    std::string roundedText(double value)
    {
        std::string text = numberText(std::round(value * 1e4) / 1e4);
        return text == "-0" ? "0" : text;
    }

    /// The inputs GB/T 151 may give: their names in the window's vocabulary and in JSON.
    constexpr struct
    {
        layout::Field field;
        const char *text, *json;
    } kStandardValues[] = { { layout::Field::Pitch, "管心距 p", "pitch" },
        { layout::Field::LaneSpacing, "隔板槽中心距 Sn", "lane_spacing" },
        { layout::Field::Clearance, "边缘间隙 b", "clearance" },
        { layout::Field::LaneModel, "隔板槽移位", "lanes" },
        { layout::Field::TieRods, "拉杆", "tie_rods" } };

    const auto &standardValue(layout::Field field)
    {
        for (const auto &value : kStandardValues)
            if (value.field == field)
                return value;
        return kStandardValues[0];
    }

    /// A figure to `digits` decimals.
    std::string fixed(double value, int digits)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", digits, value);
        return text;
    }

    /// One baffle cut's figures, the formulas' beside them.
    std::string baffleText(const layout::Baffle &b)
    {
        const auto formula = [](const std::optional<double> &value, int digits) {
            return "（公式 " + (value ? fixed(*value, digits) : std::string("—")) + "）";
        };
        return "折流板缺口 " + lengthText(b.cut) + "%：切线 y = ±" + roundedText(b.cutLine)
            + " mm；缺口内管数 " + std::to_string(b.windowTubes) + " 管，切边管 "
            + std::to_string(b.edgeTubes) + " 管\n  错流管数比 Fc " + fixed(b.fc, 4)
            + formula(b.formula.fc, 4) + "；错流管排数 Nc " + std::to_string(b.nc)
            + formula(b.formula.nc, 2) + "；缺口内有效管排数 Ncw " + fixed(b.ncw, 1)
            + formula(b.formula.ncw, 2) + "\n";
    }

    std::string list(const layout::Counts &counts)
    {
        std::string text;
        for (int i = 0; i < counts.passes; ++i)
            text += (i ? ", " : "") + std::to_string(counts.perPass[i]);
        return text;
    }

} // namespace

std::vector<std::string> laneDefaults(const Layout &layout)
{
    std::vector<std::string> shown;
    for (const bool horizontal : { true, false }) {
        for (int i = 0; i < layout.laneCount; ++i) {
            const layout::Lane &lane = layout.lanes[static_cast<std::size_t>(i)];
            if (lane.horizontal != horizontal || !lane.formula)
                continue;
            const std::string text = std::string(lane.formula) + " = " + lengthText(lane.typable);
            if (std::find(shown.begin(), shown.end(), text) == shown.end())
                shown.push_back(text);
        }
    }
    return shown;
}

std::string numberText(double value)
{
    return runtime::shortestText(value);
}

std::string plainText(const Layout &layout)
{
    const layout::Inputs &in = layout.inputs;
    std::string text;
    if (in.given == Given::Shell)
        text += "壳体内径 Di " + lengthText(in.diameter) + " mm，边缘间隙 b "
            + lengthText(layout.clearance) + " mm，布管限定圆 DL " + lengthText(layout.layoutCircle)
            + " mm\n";
    else
        text += "布管限定圆 DL " + lengthText(layout.layoutCircle) + " mm\n";
    text += "管子外径 d " + lengthText(in.tube) + " mm，管心距 p " + lengthText(in.pitch)
        + " mm，布管方式 " + patternText(in.pattern) + "，";
    if (in.centring == Centring::Best)
        text += std::string("最佳：") + centringText(layout.centring) + "（"
            + centringText(
                layout.centring == Centring::OnTube ? Centring::Straddle : Centring::OnTube)
            + " " + std::to_string(*layout.otherTotal) + " 管）\n";
    else
        text += std::string(centringText(layout.centring)) + "\n";
    text += "管程数 " + std::to_string(in.passes);
    if (layout.laneCount == 0)
        text += "，无隔板槽";
    for (int i = 0; i < layout.laneCount; ++i) {
        const layout::Lane &lane = layout.lanes[i];
        text += std::string(i ? "；" : "，隔板槽 ") + (lane.horizontal ? "水平 y = " : "垂直 x = ")
            + roundedText(lane.position) + " mm，Sn = " + roundedText(lane.spacing) + " mm";
    }
    text += "\n";
    if (in.lanes == layout::LaneModel::Shift && layout.laneCount > 0)
        text += "隔板槽方式 移位：Sn 为槽两侧管排的中心距\n";
    if (in.bundle == layout::Bundle::UTube)
        text += "管束 U形管，最小弯管半径 R " + lengthText(layout::bendRadiusOf(in)) + " mm\n";
    if (!layout.fromStandard.empty()) {
        text += "按 GB/T 151 取值：";
        for (std::size_t i = 0; i < layout.fromStandard.size(); ++i)
            text += (i ? "、" : "") + std::string(standardValue(layout.fromStandard[i]).text);
        text += "\n";
    }
    if (in.centreTube)
        text += "中心管外径 d0 " + lengthText(*in.centreTube) + " mm，去管圆直径 "
            + lengthText(layout::centreCircleOf(in)) + " mm\n";
    const layout::Counts &c = layout.counts;
    text += "布管限定圆内管数 " + std::to_string(c.inCircle) + " 管\n";
    text += "隔板槽去掉 " + std::to_string(c.laneRemoved) + " 管\n";
    text += "中心管去掉 " + std::to_string(c.centreRemoved) + " 管\n";
    if (layout.tieRods.count > 0)
        text += "拉杆 " + std::to_string(layout.tieRods.count) + " 根"
            + (layout.tieRods.diameter ? "，直径 " + lengthText(*layout.tieRods.diameter) + " mm"
                                       : std::string())
            + "\n";
    text += "总管数 " + std::to_string(c.total) + " 管\n";
    if (c.passes > 1)
        text += "各管程管数 " + list(c) + " 管\n";
    if (in.bundle == layout::Bundle::UTube)
        text += "U形管 " + std::to_string(layout.uTubes) + " 根\n";
    for (const layout::Baffle &baffle : layout.baffles)
        text += baffleText(baffle);
    return text;
}

nlohmann::ordered_json toJson(const Layout &layout)
{
    const layout::Inputs &in = layout.inputs;
    nlohmann::ordered_json out;
    out["shell"] = nullptr;
    if (in.given == Given::Shell)
        out["shell"] = millimetres(in.diameter);
    out["clearance"] = millimetres(layout.clearance);
    out["layout_circle"] = millimetres(layout.layoutCircle);
    out["tube"] = millimetres(in.tube);
    out["pitch"] = millimetres(in.pitch);
    out["pattern"] = static_cast<int>(in.pattern);
    out["passes"] = in.passes;
    out["centre"] = layout::centringName(layout.centring);
    out["centre_tube"] = nullptr;
    if (in.centreTube)
        out["centre_tube"] = millimetres(*in.centreTube);
    const layout::Counts &c = layout.counts;
    out["in_circle"] = c.inCircle;
    out["lane_removed"] = c.laneRemoved;
    out["centre_removed"] = c.centreRemoved;
    out["total"] = c.total;
    out["per_pass"] = perPassJson(c);
    out["lanes"] = nlohmann::ordered_json::array();
    for (int i = 0; i < layout.laneCount; ++i) {
        const layout::Lane &lane = layout.lanes[i];
        out["lanes"].push_back({ { "direction", lane.horizontal ? "horizontal" : "vertical" },
            { "position", lane.position + 0.0 }, { "spacing", lane.spacing } });
    }
    out["lane_model"] = layout.inputs.lanes == layout::LaneModel::Shift ? "shift" : "remove";
    out["bundle"] = in.bundle == layout::Bundle::UTube ? "u-tube" : "fixed";
    out["bend_radius"] = nullptr;
    out["u_tubes"] = nullptr;
    if (in.bundle == layout::Bundle::UTube) {
        out["bend_radius"] = millimetres(layout::bendRadiusOf(in));
        out["u_tubes"] = layout.uTubes;
    }
    out["tie_rods"] = nullptr;
    if (layout.tieRods.count > 0) {
        nlohmann::ordered_json positions = nlohmann::ordered_json::array();
        for (const layout::SiteAt &at : layout.tieRodPositions)
            positions.push_back({ at.x, at.y });
        out["tie_rods"] = { { "count", layout.tieRods.count }, { "diameter", nullptr },
            { "positions", positions } };
        if (layout.tieRods.diameter)
            out["tie_rods"]["diameter"] = millimetres(*layout.tieRods.diameter);
    }
    out["from_gb151"] = nlohmann::ordered_json::array();
    for (layout::Field field : layout.fromStandard)
        out["from_gb151"].push_back(standardValue(field).json);
    if (layout.baffles.size() == 1)
        out["baffle"] = baffleJson(layout.baffles.front());
    else if (!layout.baffles.empty()) {
        out["baffle"] = nlohmann::ordered_json::array();
        for (const layout::Baffle &baffle : layout.baffles)
            out["baffle"].push_back(baffleJson(baffle));
    }
    if (layout.otherTotal) {
        const bool onTube = layout.centring == Centring::OnTube;
        out["best_of"] = { { "on-tube", onTube ? c.total : *layout.otherTotal },
            { "straddle", onTube ? *layout.otherTotal : c.total } };
    }
    return out;
}

nlohmann::ordered_json baffleJson(const layout::Baffle &b)
{
    const auto maybe = [](const std::optional<double> &value) -> nlohmann::ordered_json {
        if (value)
            return *value;
        return nullptr;
    };
    // A window without tubes has no figures (a sweep's small shells): null, not zeros.
    const auto figure = [&b](auto value) -> nlohmann::ordered_json {
        if (b.missesTubes)
            return nullptr;
        return value;
    };
    return { { "cut", millimetres(b.cut) }, { "cut_line", b.cutLine },
        { "window_tubes", figure(b.windowTubes) }, { "edge_tubes", figure(b.edgeTubes) },
        { "Fc", figure(b.fc) }, { "Nc", figure(b.nc) }, { "Ncw", figure(b.ncw) },
        { "formula",
            { { "Fw", maybe(b.formula.fw) }, { "Fc", maybe(b.formula.fc) }, { "Nc", b.formula.nc },
                { "Ncw", b.formula.ncw } } } };
}

nlohmann::ordered_json perPassJson(const layout::Counts &counts)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (int i = 0; i < counts.passes; ++i)
        list.push_back(counts.perPass[i]);
    return list;
}

std::string tubesHeader(bool kinds)
{
    return kinds ? "n,x,y,pass,kind\n" : "n,x,y,pass\n";
}

std::string tubeRow(std::int64_t n, const layout::Tube &tube, bool kinds)
{
    return std::to_string(n) + "," + numberText(tube.x) + "," + numberText(tube.y) + ","
        + std::to_string(tube.pass) + (kinds ? (tube.tieRod ? ",tie_rod" : ",tube") : "") + "\n";
}

std::string sweepHeader(
    Given swept, const std::vector<int> &passes, const std::vector<layout::Length> &cuts)
{
    std::string text = swept == Given::Shell ? "shell,layout_circle" : "layout_circle";
    if (passes.size() == 1) {
        text += ",centre,in_circle,lane_removed,centre_removed,total";
        for (int i = 1; i <= passes.front(); ++i)
            text += ",pass_" + std::to_string(i);
        for (const layout::Length cut : cuts)
            for (const char *figure : { "window_tubes", "edge_tubes", "Fc", "Nc", "Ncw" })
                text += std::string(",") + figure + "_" + lengthText(cut);
    } else {
        for (int count : passes)
            text += ",total_" + std::to_string(count);
    }
    return text + "\n";
}

std::string sweepRow(const std::vector<Layout> &layouts)
{
    const Layout &first = layouts.front();
    std::string text;
    if (first.inputs.given == Given::Shell)
        text += lengthText(first.inputs.diameter) + ",";
    text += lengthText(first.layoutCircle);
    if (layouts.size() == 1) {
        const layout::Counts &c = first.counts;
        text += std::string(",") + layout::centringName(first.centring) + ","
            + std::to_string(c.inCircle) + "," + std::to_string(c.laneRemoved) + ","
            + std::to_string(c.centreRemoved) + "," + std::to_string(c.total);
        for (int i = 0; i < c.passes; ++i)
            text += "," + std::to_string(c.perPass[i]);
        // A cut whose window holds no tube has no figures: empty cells, not zeros.
        for (const layout::Baffle &b : first.baffles)
            text += b.missesTubes
                ? std::string(",,,,,")
                : "," + std::to_string(b.windowTubes) + "," + std::to_string(b.edgeTubes) + ","
                    + numberText(b.fc) + "," + std::to_string(b.nc) + "," + numberText(b.ncw);
    } else {
        for (const Layout &one : layouts)
            text += "," + std::to_string(one.counts.total);
    }
    return text + "\n";
}

} // namespace layout_cli
