#include "layout/edits.h"

#include "text/split.h"

#include <algorithm>
#include <cctype>

namespace layout {

namespace {

    /// Reads an optional sign and up to 13 digits at `at`; the whole numbers of any layout in
    /// range are far shorter.
    std::optional<std::int64_t> wholeAt(std::string_view text, std::size_t &at)
    {
        const bool negative = at < text.size() && text[at] == '-';
        if (negative)
            ++at;
        const std::size_t first = at;
        std::int64_t value = 0;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
            if (at - first >= 13)
                return std::nullopt;
            value = value * 10 + (text[at] - '0');
            ++at;
        }
        if (at == first)
            return std::nullopt;
        return negative ? -value : value;
    }

} // namespace

std::string siteText(const Site &site)
{
    return "r" + std::to_string(site.row) + "c" + std::to_string(site.col);
}

std::optional<Site> parseSite(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return std::nullopt;
    text = text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
    std::size_t at = 0;
    if (text.empty() || text[at++] != 'r')
        return std::nullopt;
    const auto row = wholeAt(text, at);
    if (!row || at >= text.size() || text[at++] != 'c')
        return std::nullopt;
    const auto col = wholeAt(text, at);
    if (!col || at != text.size())
        return std::nullopt;
    return Site { *row, *col };
}

std::optional<std::vector<Site>> parseSites(std::string_view list, std::string *bad)
{
    std::vector<Site> sites;
    for (const std::string &part : text::split(list, ',')) {
        const std::optional<Site> site = parseSite(part);
        if (!site) {
            if (bad)
                *bad = part;
            return std::nullopt;
        }
        sites.push_back(*site);
    }
    return sites;
}

std::vector<Edit> mergedEdits(const std::vector<Edit> &edits)
{
    std::vector<Edit> merged;
    for (const Edit &edit : edits) {
        const auto same = std::find_if(merged.begin(), merged.end(),
            [&edit](const Edit &one) { return one.site == edit.site; });
        if (same == merged.end())
            merged.push_back(edit);
        else
            same->action = edit.action;
    }
    return merged;
}

Site tubeSite(Site site, bool uTube)
{
    if (uTube && site.row < 0)
        site.row = -site.row;
    return site;
}

std::vector<Edit> withEdit(
    const std::vector<Edit> &edits, Site site, std::optional<EditAction> action, bool uTube)
{
    site = tubeSite(site, uTube);
    std::vector<Edit> kept;
    bool placed = false;
    for (const Edit &edit : edits) {
        if (!(tubeSite(edit.site, uTube) == site)) {
            kept.push_back(edit);
            continue;
        }
        // The tube's first edit keeps its place; any other of the same tube goes.
        if (action && !placed)
            kept.push_back({ site, *action });
        placed = true;
    }
    if (action && !placed)
        kept.push_back({ site, *action });
    return kept;
}

const char *editOutcomeName(EditOutcome outcome)
{
    switch (outcome) {
    case EditOutcome::Applied:
        return "applied";
    case EditOutcome::NotASite:
        return "not-a-site";
    case EditOutcome::Outside:
        return "outside";
    case EditOutcome::InLane:
        return "in-lane";
    case EditOutcome::CentreTube:
        return "centre-tube";
    case EditOutcome::UnderPlate:
        break;
    }
    return "under-plate";
}

} // namespace layout
