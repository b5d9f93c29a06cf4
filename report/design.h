#pragma once

// The design file: a layout's inputs as typed, under korvane-layout's option names, and the
// designer's edits of single sites, so that a layout can be saved, reopened and handed on by
// any front end. JSON, read strictly and written the same way every time.

#include "layout/edits.h"
#include "layout/options.h"
#include "report/message.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace report {

/// The largest design file read: 16 MB.
constexpr std::size_t kMaxDesignBytes = 16u << 20;

/// A file that is not a design this program reads: the reason alone, in English for the
/// command line (what()) and as a message for the window and the page.
class DesignError : public std::runtime_error
{
public:
    DesignError(const std::string &english, Message reason)
        : std::runtime_error(english)
        , m_reason(std::move(reason))
    {
    }
    const Message &reason() const { return m_reason; }

private:
    Message m_reason;
};

struct Design
{
    std::optional<std::string> title;
    std::vector<layout::TypedOption> inputs; ///< in the file's order
    std::vector<layout::Edit> edits; ///< a site once: a later edit replaces an earlier one
    /// Keys this version does not know, kept to be written back: at the top, and per edit.
    nlohmann::ordered_json unknown = nlohmann::ordered_json::object();
    std::vector<nlohmann::ordered_json> editUnknown;
};

/// Reads a design file's bytes. Throws DesignError: not JSON, another format, a later
/// version, over 16 MB, inputs that are not texts, an unknown action, a site not of the form
/// r3c-5.
Design readDesign(const std::string &bytes);

/// Reads a design file: at most one byte more than the largest, so that a larger file is
/// refused without reading it all. Throws DesignError as readDesign does, and when the file
/// cannot be read.
Design readDesignFile(const std::string &file);

/// The file's bytes: format, version, title, inputs, edits, then the keys kept, two-space
/// indented, ending in a newline. Reading them back gives the same design.
std::string designText(const Design &design);

/// The inputs of a design with those typed beside it: a name typed replaces the file's.
std::vector<layout::TypedOption> mergedInputs(
    const std::vector<layout::TypedOption> &file, const std::vector<layout::TypedOption> &typed);

/// The design a front end shows, as its file is to hold it: the file's own keys kept, its inputs
/// as typed while they still give the controls' values, each edit with the keys its site had,
/// the file's title unless another is typed (an empty one is none).
Design designNow(const Design &file, const std::map<std::string, std::string> &values,
    const std::string &title, const std::vector<layout::Edit> &edits);

/// Adds edits to a design's: a site edited again takes the new action, in its first place.
void addEdits(Design &design, const std::vector<layout::Edit> &edits);

} // namespace report
