#include "report/json.h"

#include "layout/impingement.h"

#include "report/message.h"
#include "report/numbers.h"
#include "report/standard_values.h"

namespace report {

using layout::Centring;
using layout::Given;
using layout::Layout;
using layout::millimetres;

namespace {

    /// The inputs GB/T 151 may give: their names in the window's vocabulary and in JSON.
    constexpr StandardValue kStandardValues[] = { { layout::Field::Pitch, QT_TR_NOOP("管心距 p"),
                                                      "pitch" },
        { layout::Field::LaneSpacing, QT_TR_NOOP("隔板槽中心距 Sn"), "lane_spacing" },
        { layout::Field::Clearance, QT_TR_NOOP("边缘间隙 b"), "clearance" },
        { layout::Field::LaneModel, QT_TR_NOOP("隔板槽移位"), "lanes" },
        { layout::Field::TieRods, QT_TR_NOOP("拉杆"), "tie_rods" } };

    nlohmann::ordered_json lanesJson(const Layout &layout)
    {
        nlohmann::ordered_json lanes = nlohmann::ordered_json::array();
        for (int i = 0; i < layout.laneCount; ++i) {
            const layout::Lane &lane = layout.lanes[i];
            lanes.push_back({ { "direction", lane.horizontal ? "horizontal" : "vertical" },
                { "position", lane.position + 0.0 }, { "spacing", lane.spacing } });
        }
        return lanes;
    }

    /// The tie rods' number, diameter (null when no table gave it) and places; null for none.
    nlohmann::ordered_json rodsJson(const Layout &layout)
    {
        if (layout.tieRods.count < 1)
            return nullptr;
        nlohmann::ordered_json positions = nlohmann::ordered_json::array();
        for (const layout::SiteAt &at : layout.tieRodPositions)
            positions.push_back({ at.x, at.y });
        nlohmann::ordered_json rods = { { "count", layout.tieRods.count }, { "diameter", nullptr },
            { "positions", positions } };
        if (layout.tieRods.diameter)
            rods["diameter"] = millimetres(*layout.tieRods.diameter);
        return rods;
    }

} // namespace

const StandardValue &standardValue(layout::Field field)
{
    for (const auto &value : kStandardValues)
        if (value.field == field)
            return value;
    return kStandardValues[0];
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
    out["head"] = layout::headName(in.head);
    out["tube"] = millimetres(in.tube);
    out["pitch"] = millimetres(in.pitch);
    out["pattern"] = static_cast<int>(in.pattern);
    out["passes"] = in.passes;
    out["arrangement"] =
        layout::arrangementName(in) ? nlohmann::ordered_json(layout::arrangementName(in)) : nullptr;
    out["centre"] = layout::centringName(layout.centring);
    out["centre_tube"] = nullptr;
    if (in.centreTube)
        out["centre_tube"] = millimetres(*in.centreTube);
    const layout::Counts &c = layout.counts;
    out["in_circle"] = c.inCircle;
    out["lane_removed"] = c.laneRemoved;
    out["centre_removed"] = c.centreRemoved;
    out["impingement_removed"] = c.impingementRemoved;
    out["edit_removed"] = c.editRemoved;
    out["dummy_tubes"] = c.dummyTubes;
    out["total"] = c.total;
    out["per_pass"] = perPassJson(c);
    const std::optional<Balance> balance = balanceOf(c.perPass.data(), c.passes, c.total);
    out["balance"] = balance ? nlohmann::ordered_json(balance->ratio()) : nullptr;
    out["lanes"] = lanesJson(layout);
    out["lane_model"] = layout.inputs.lanes == layout::LaneModel::Shift ? "shift" : "remove";
    out["bundle"] = in.bundle == layout::Bundle::UTube ? "u-tube" : "fixed";
    out["bend_radius"] = nullptr;
    out["u_tubes"] = nullptr;
    if (in.bundle == layout::Bundle::UTube) {
        out["bend_radius"] = millimetres(layout::bendRadiusOf(in));
        out["u_tubes"] = layout.uTubes;
    }
    out["impingement"] = nullptr;
    if (in.impingement) {
        const layout::Impingement &plate = *in.impingement;
        const layout::EntranceArea area = layout::entranceAreaOf(in);
        out["impingement"] = { { "nozzle", millimetres(plate.nozzle) },
            { "plate", millimetres(plate.plate) }, { "thickness", millimetres(plate.thickness) },
            { "height", millimetres(plate.height) }, { "removed", c.impingementRemoved },
            { "h1", area.h1 }, { "h2", area.h2 }, { "entrance_area", area.entrance },
            { "nozzle_area", area.nozzle } };
    }
    out["edits"] = nlohmann::ordered_json::array();
    for (const layout::EditResult &result : layout.edits)
        out["edits"].push_back({ { "site", layout::siteText(result.edit.site) },
            { "action", result.edit.action == layout::EditAction::Remove ? "remove" : "dummy" },
            { "applied", result.outcome == layout::EditOutcome::Applied },
            { "reason",
                result.outcome == layout::EditOutcome::Applied
                    ? nlohmann::ordered_json(nullptr)
                    : nlohmann::ordered_json(layout::editOutcomeName(result.outcome)) } });
    out["tie_rods"] = rodsJson(layout);
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

} // namespace report
