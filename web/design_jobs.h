#pragma once

// The page's design: its edits of single tubes, the address's edits, and the design file opened
// and saved, by the same functions as korvane-layout's and the window's.

#include "layout/edits.h"
#include "layout/options.h"

#include <nlohmann/json.hpp>

#include <vector>

namespace web {

using Json = nlohmann::ordered_json;

/// [{"site": "r1c1", "action": "remove"}, ...] as the design file lists them.
Json editsJson(const std::vector<layout::Edit> &edits);
/// The edits of such a list; a malformed one is std::invalid_argument.
std::vector<layout::Edit> editsOf(const Json &list);

/// The options a link gives for edits: remove=... and dummy=..., none without edits.
std::vector<layout::TypedOption> editOptions(const std::vector<layout::Edit> &edits);
/// The edits among a link's options, taken out of them; a site not of the site form is left
/// among the options, for the form to refuse as it refuses any option it does not take.
std::vector<layout::Edit> takeEdits(std::vector<layout::TypedOption> &options);

/// {"edits": [...], "site": "r1c1", "edit": "remove" | "dummy" | "restore", "bundle":
/// "u-tube" | "fixed"}: the edits with that tube's changed.
Json editJob(const Json &request);
/// {"text": a file's text}: its values, title and edits, and its text as saved again ("base"),
/// or "error": why it is not a design the page opens.
Json openDesignJob(const Json &request);
/// {"base": a design's text or null, "values": {...}, "title": "...", "edits": [...]}: the
/// design file's text.
Json saveDesignJob(const Json &request);

} // namespace web
