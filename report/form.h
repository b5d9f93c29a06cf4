#pragma once

// The form: one table of the layout options and one of the controls they are typed in, walked
// by everything that lists them (korvane-layout's and korvane-sheet's help, the window's input
// column, the page's form), and the walks themselves, so that no front end names an option.

#include "layout/options.h"
#include "report/message.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace report {

/// How an option's value is typed.
enum class Kind {
    Length, ///< a length in mm
    List, ///< values separated by commas
    Count, ///< a whole number, or the name of a table that gives it
    Choice, ///< one of a few words or numbers
    Switch, ///< given alone, or not at all
};

/// One option of korvane-layout, as every program takes it.
struct Option
{
    const char *name; ///< without the dashes: "lane-spacing"
    layout::Field field; ///< the input it gives
    Kind kind;
    const char *hint; ///< its value in the help: "H[,V]"
    const char *help; ///< what it is, in English, for the help
};

/// The options in the order of the help.
const std::vector<Option> &options();

/// How a control is shown.
enum class Widget { Box, Choice, Switch };

/// One value of a choice, and its name in the window's words.
struct Choice
{
    const char *value;
    const char *label;
};

/// Another control holding a value: what a control's state depends on.
/// A control's value, or one of several: "4|6|8".
struct Condition
{
    const char *control = nullptr;
    const char *value = nullptr;
};

/// One control of the form, in the order the window and the page show them.
struct Control
{
    const char *id; ///< the page's element id, and the name its value is kept under
    const char *objectName; ///< the window's widget name
    Widget widget;
    const char *label; ///< in the window's words, with its key: "管心距 p(&P)"
    /// The option it gives; null for one whose option is named by the value of `chooser`, and
    /// for a chooser itself.
    const char *option;
    const char *chooser;
    std::vector<Choice> choices; ///< a choice's values, the first the default
    std::vector<layout::Field> fields; ///< the problems it is marked with
    const char *placeholder; ///< shown while a box is empty
    const char *tooltip;
    Condition restsUnless; ///< greyed, its option not given, unless this holds
    Condition ticks; ///< a switch ticked sets this choice too
    bool patternIcons; ///< each choice shown with a sketch of its pattern
    std::optional<Message> widest; ///< the widest text a box shows while empty
    Condition restsWhen; ///< greyed, its option not given, when this holds
};

/// The controls in the form's order.
const std::vector<Control> &controls();

/// The control of an id, if there is one.
const Control *controlById(const std::string &id);

/// The control a problem of this field is marked on; none for the fields no control gives.
const Control *controlOf(layout::Field field);

/// The window's words for a choice's value ("30" is "30° 正三角形"), or the value itself.
const char *choiceLabel(layout::Field field, const char *value);

/// The reason for a problem particular to its field ("不能为负（0 为无中心管）" for a negative
/// centre tube), if it has one.
const char *fieldReason(layout::Field field, layout::Problem problem);

/// What the controls hold, by id: a box's text, a choice's value, "1" for a ticked switch and
/// "" for one that is not.
using Values = std::map<std::string, std::string>;

/// Every control at its default: boxes empty, choices at their first value, switches off.
Values defaultValues();

/// Whether a control rests with these values: it is greyed and gives no option.
bool rests(const Control &control, const Values &values);

/// The options the values give, in the form's order, as korvane-layout reads them: a blank
/// box gives none, nor does a resting control; a choice gives its value; a ticked switch gives
/// itself alone. `forLink` leaves out the choices at their defaults, as a link needs them.
std::vector<layout::TypedOption> typedOptions(const Values &values, bool forLink = false);

/// What one option, as a command line or a link types it, sets: the values of its control (and
/// of the chooser naming it), or why it cannot be set (an unknown option, a choice it lacks).
struct Setting
{
    std::vector<std::pair<std::string, std::string>> values;
    std::optional<Message> refused;
};
Setting settingOf(const std::string &name, const std::string &text);

/// The values a whole command line or link describes, as korvane-layout reads it: every control
/// at its default, each option over that, and where a ticked switch sets a choice the options
/// leave alone, that too; with what could not be taken, a message each.
struct Filled
{
    Values values;
    std::vector<Message> refused;
};
Filled valuesOf(const std::vector<layout::TypedOption> &typed);

/// The layout a window or a page opens with the first time: a sheet designers know.
std::vector<layout::TypedOption> exampleOptions();

/// A small sketch of a pattern choice's rows, for its icon: the centres of the tubes about the
/// middle one, in pitches from it, y down, turned as the pattern is.
std::vector<std::pair<double, double>> patternSketch(const std::string &value);

/// The layout options' part of a program's help: a heading and a line for each option, its
/// text wrapped at 100 columns.
std::string optionsHelp();

/// The options in a usage line, "[--shell DI] [--otl DL] …", wrapped after `indent` columns.
std::string usageOptions(std::size_t indent);

/// The form for the page: its controls and the counts under the drawing.
nlohmann::ordered_json formJson();

} // namespace report
