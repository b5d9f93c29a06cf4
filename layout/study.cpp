#include "layout/study.h"

#include "layout/tie_rods.h"

#include <algorithm>
#include <string>

namespace layout {

namespace {

    /// The values GB/T 151 gave, in the order of the fields.
    std::vector<Field> standardFields(const Layout &layout)
    {
        const Inputs &in = layout.inputs;
        std::vector<Field> fields = in.fromStandard;
        if (layout.standardSpacing)
            fields.push_back(Field::LaneSpacing);
        if (in.gb151 && in.given == Given::Shell && !in.clearance)
            fields.push_back(Field::Clearance);
        if (in.tieRods == TieRodRule::Gb151)
            fields.push_back(Field::TieRods);
        std::sort(fields.begin(), fields.end());
        fields.erase(std::unique(fields.begin(), fields.end()), fields.end());
        return fields;
    }

} // namespace

Layout arranged(const Inputs &inputs)
{
    Layout layout;
    layout.inputs = inputs;
    layout.clearance = clearanceOf(inputs);
    layout.layoutCircle = layoutCircleOf(inputs);

    const auto arrange = [&](bool straddle) {
        const Decided decided = decide(inputs, straddle);
        layout.arrangement = decided.arrangement;
        layout.lanes = decided.lanes;
        layout.laneCount = decided.laneCount;
        layout.standardSpacing = decided.standardSpacing;
        layout.counts = layout.arrangement.count();
        layout.centring = straddle ? Centring::Straddle : Centring::OnTube;
    };
    if (inputs.centring != Centring::Best) {
        arrange(inputs.centring == Centring::Straddle);
        return layout;
    }
    arrange(false);
    Layout onTube = layout;
    arrange(true);
    if (layout.counts.total > onTube.counts.total) {
        layout.otherTotal = onTube.counts.total;
        return layout;
    }
    onTube.otherTotal = layout.counts.total;
    return onTube;
}

void placeRods(Layout &layout)
{
    layout.tieRods = tieRodCountOf(layout.inputs);
    const int wanted = layout.tieRods.count;
    if (wanted < 1)
        return;
    const std::vector<RowSpan> rows = layout.arrangement.spans(),
                               lower = layout.arrangement.halvesAlike()
        ? rows
        : layout.arrangement.spans(true);
    const auto sites =
        placeTieRods(rows, lower, wanted, layout.inputs.pattern == Pattern::RotatedTriangular);
    if (!sites) {
        const std::int64_t edge = edgeTubes(rows, lower);
        throw InputError(std::to_string(wanted)
                + (wanted == 1 ? " tie rod does not" : " tie rods do not")
                + " fit at the edge of this bundle: it has " + std::to_string(edge)
                + (edge == 1 ? " tube" : " tubes") + " there, and "
                + (wanted == 1 ? "a rod needs a tube beside it"
                               : "two rods need a tube between them"),
            Problem::TooManyTieRods, Field::TieRods);
    }
    layout.tieRodSites = *sites;
    for (const Site &site : *sites) {
        const SiteAt at = layout.arrangement.siteAt(site);
        layout.tieRodPositions.push_back(at);
        --layout.counts.perPass[at.pass - 1];
    }
    layout.counts.total -= wanted;
}

Layout study(const Inputs &inputs)
{
    validate(inputs);
    Layout layout = arranged(inputs);
    placeRods(layout);
    if (inputs.bundle == Bundle::UTube)
        layout.uTubes = layout.counts.total / 2;
    layout.fromStandard = standardFields(layout);
    layout.baffles = bafflesOf(layout);
    return layout;
}

Layout studyOne(const Inputs &inputs)
{
    Layout layout = study(inputs);
    if (const auto missed = missedCut(layout))
        throw *missed;
    return layout;
}

std::vector<Tube> tubes(const Layout &layout)
{
    std::vector<Tube> list;
    list.reserve(static_cast<std::size_t>(layout.counts.inCircle));
    const std::vector<Site> &rods = layout.tieRodSites;
    layout.arrangement.forEachTube([&](const Site &site, const Tube &tube) {
        list.push_back(tube);
        list.back().tieRod = tube.pass > 0 && !rods.empty()
            && std::find(rods.begin(), rods.end(), site) != rods.end();
    });
    return list;
}

} // namespace layout
