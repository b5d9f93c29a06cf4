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

namespace {

    EditOutcome outcomeOf(const SiteStatus &status)
    {
        if (!status.ofPattern)
            return EditOutcome::NotASite;
        if (!status.fits)
            return EditOutcome::Outside;
        switch (status.removed) {
        case Removed::Lane:
            return EditOutcome::InLane;
        case Removed::Centre:
            return EditOutcome::CentreTube;
        case Removed::Plate:
            return EditOutcome::UnderPlate;
        default:
            return EditOutcome::Applied;
        }
    }

    /// The designer's edits after the lanes, the centre tube and the plate: each applied one
    /// takes its tube (both legs of a U-tube) out of the total and its pass.
    void applyEdits(Layout &layout)
    {
        const bool legs = layout.inputs.bundle == Bundle::UTube;
        std::vector<Edit> named = layout.inputs.edits;
        // A U-tube's two legs are one tube: named by its upper one.
        for (Edit &edit : named)
            edit.site = tubeSite(edit.site, legs);
        Counts &counts = layout.counts;
        for (const Edit &edit : mergedEdits(named)) {
            const SiteStatus status = layout.arrangement.siteStatus(edit.site);
            layout.edits.push_back({ edit, outcomeOf(status) });
            if (layout.edits.back().outcome != EditOutcome::Applied)
                continue;
            std::vector<int> passes { status.pass };
            if (legs)
                passes.push_back(
                    layout.arrangement.siteStatus({ -edit.site.row, edit.site.col }).pass);
            for (const int pass : passes) {
                ++(edit.action == EditAction::Remove ? counts.editRemoved : counts.dummyTubes);
                --counts.total;
                --counts.perPass[pass - 1];
            }
        }
    }

} // namespace

std::vector<Site> editedSites(const Layout &layout, EditAction action)
{
    std::vector<Site> sites;
    for (const EditResult &result : layout.edits) {
        if (result.outcome != EditOutcome::Applied || result.edit.action != action)
            continue;
        sites.push_back(result.edit.site);
        if (layout.inputs.bundle == Bundle::UTube)
            sites.push_back({ -result.edit.site.row, result.edit.site.col });
    }
    std::sort(sites.begin(), sites.end());
    return sites;
}

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
        applyEdits(layout);
        return layout;
    }
    // The better centring before the edits: edits name the sites of the one chosen, and
    // never move the pattern under them.
    arrange(false);
    Layout onTube = layout;
    arrange(true);
    Layout &chosen = layout.counts.total > onTube.counts.total ? layout : onTube;
    chosen.otherTotal = (&chosen == &layout ? onTube : layout).counts.total;
    applyEdits(chosen);
    return chosen;
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
    std::vector<Site> taken = editedSites(layout, EditAction::Remove);
    const std::vector<Site> dummies = editedSites(layout, EditAction::Dummy);
    taken.insert(taken.end(), dummies.begin(), dummies.end());
    std::sort(taken.begin(), taken.end());
    const auto sites = placeTieRods(
        rows, lower, wanted, layout.inputs.pattern == Pattern::RotatedTriangular, taken);
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
    const std::vector<Site> undrilled = editedSites(layout, EditAction::Remove),
                            dummies = editedSites(layout, EditAction::Dummy);
    layout.arrangement.forEachTube([&](const Site &site, const Tube &tube) {
        list.push_back(tube);
        Tube &listed = list.back();
        if (tube.pass > 0 && !layout.edits.empty()) {
            const bool dummy = std::binary_search(dummies.begin(), dummies.end(), site);
            if (dummy || std::binary_search(undrilled.begin(), undrilled.end(), site)) {
                listed.pass = 0;
                listed.removed = dummy ? Removed::Dummy : Removed::Edit;
                return;
            }
        }
        listed.tieRod = tube.pass > 0 && !rods.empty()
            && std::find(rods.begin(), rods.end(), site) != rods.end();
    });
    return list;
}

} // namespace layout
