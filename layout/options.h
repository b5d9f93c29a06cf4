#pragma once

// The inputs of a layout as a person types them, read by one function for every program:
// korvane-layout's options, korvane-sheet's options and boxes. The same text gives the same
// layout, or the same reasons tied to the same fields, wherever it is typed.

#include "layout/study.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace layout {

/// One option as typed: korvane-layout's name without the dashes ("shell", "lane-spacing")
/// and its text, as it came (full-width digits and blanks around it are fine).
struct TypedOption
{
    std::string name;
    std::string value;
};

/// Whether a name (without the dashes) is one of the options readLayout() takes.
bool isLayoutOption(std::string_view name);

/// The field an option gives (Field::None for no option), and every option's name.
Field optionField(std::string_view name);
std::vector<std::string> optionNames();

/// What was typed, read as it is meant: full-width forms as ASCII, blanks around it gone.
std::string normalised(const std::string &typed);

/// A switch's text: empty (given alone) or a yes ("1", "true", "yes", "on"), or a no.
std::optional<bool> switchOf(const std::string &text);

/// How the diameter comes: typed (one layout), or varied by a study (a sweep, the smallest
/// shell), which leaves inputs.diameter at 0 and varies the shell, the layout circle, or the
/// one whose option is given without a value (the shell when neither is).
enum class Diameter { Typed, VariedShell, VariedLayoutCircle, Varied };

/// What a reading gives: the inputs as far as they could be read, and every problem found, at
/// most one a field, in the order of the fields.
struct Reading
{
    Inputs inputs;
    /// The pass counts given: one, or with `passList` several ("1,2,4,6,8").
    std::vector<int> passes;
    std::vector<InputError> problems;

    bool ok() const { return problems.empty(); }
};

/// Reads the options of a layout. A name given twice, an unknown name and an empty value are
/// problems; an option not given takes korvane-layout's default. A centre tube of 0 is none.
/// A typed diameter must leave a layout circle (a clearance that eats the shell is refused).
/// A study's refusals name it as `study` ("--sweep").
Reading readLayout(const std::vector<TypedOption> &typed, Diameter diameter = Diameter::Typed,
    bool passList = false, const char *study = "the study");

} // namespace layout
