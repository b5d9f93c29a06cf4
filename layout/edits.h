#pragma once

// The designer's edits of single tube sites: a site left undrilled, or holding a dummy tube
// that carries no flow. A site is named by the pattern's own whole numbers, so an edit stays
// on its tube through every change that leaves the sites in place.

#include "layout/rows.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace layout {

enum class EditAction { Remove, Dummy };

struct Edit
{
    Site site;
    EditAction action = EditAction::Remove;
};

/// A site as text, "r3c-5": its row and its column, without commas.
std::string siteText(const Site &site);

/// The site a text names, if it is of the form siteText() writes (blanks around it aside).
std::optional<Site> parseSite(std::string_view text);

/// The sites of a list such as "r1c1,r2c0", as --remove, --dummy and a link give them; none,
/// with the first part that is not of the site form in `bad`, when any is not.
std::optional<std::vector<Site>> parseSites(std::string_view list, std::string *bad = nullptr);

/// What became of an edit: applied, or why not (no such site in the pattern, outside the
/// circle, or its tube already taken by a lane, the centre tube or the plate).
enum class EditOutcome { Applied, NotASite, Outside, InLane, CentreTube, UnderPlate };

struct EditResult
{
    Edit edit;
    EditOutcome outcome = EditOutcome::Applied;
};

/// The site an edit of a tube is named by: in a U-tube bundle a site and its mirror are one
/// tube, named by its upper leg; any other site names itself.
Site tubeSite(Site site, bool uTube);

/// The edits as one list: a later edit of a site replaces the earlier, in the earlier's place.
std::vector<Edit> mergedEdits(const std::vector<Edit> &edits);

/// The edits with one tube's changed, as a designer's click changes them: given an action, the
/// tube takes it (in its edit's place if it had one); without one, its edit is taken away. In a
/// U-tube bundle a site and its mirror are one tube, named by its upper leg.
std::vector<Edit> withEdit(
    const std::vector<Edit> &edits, Site site, std::optional<EditAction> action, bool uTube);

/// The outcome's name as the output spells it ("applied", "outside", "in-lane", ...).
const char *editOutcomeName(EditOutcome outcome);

} // namespace layout
