#include "layout/options.h"

#include "text/full_width.h"
#include "text/quote.h"
#include "text/split.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>
#include <string_view>

namespace layout {

namespace {

    /// The options a layout takes, in the order of korvane-layout's help, with the input each
    /// one gives.
    constexpr struct
    {
        const char *name;
        Field field;
    } kOptions[] = { { "shell", Field::Diameter }, { "otl", Field::Diameter },
        { "tube", Field::Tube }, { "pitch", Field::Pitch }, { "pattern", Field::Pattern },
        { "passes", Field::Passes }, { "centre", Field::Centring },
        { "lane-spacing", Field::LaneSpacing }, { "clearance", Field::Clearance },
        { "centre-tube", Field::CentreTube }, { "lanes", Field::LaneModel },
        { "gb151", Field::Standard }, { "bundle", Field::Bundle },
        { "bend-radius", Field::BendRadius }, { "tie-rods", Field::TieRods },
        { "baffle-cut", Field::BaffleCut } };

    /// The value a choice's text names, if it names one of `choices`.
    template <class T>
    std::optional<T> choiceOf(
        const std::string &text, std::initializer_list<std::pair<const char *, T>> choices)
    {
        for (const auto &[name, value] : choices)
            if (text == name)
                return value;
        return std::nullopt;
    }

    Field fieldOf(std::string_view name)
    {
        for (const auto &option : kOptions)
            if (name == option.name)
                return option.field;
        return Field::None;
    }

    /// The problems found, one a field, and the fields that could not be read.
    class Found
    {
    public:
        void add(const std::string &message, Problem problem, Field field)
        {
            if (field != Field::None && has(field))
                return;
            m_problems.emplace_back(message, problem, field);
            unknown.push_back(field);
        }
        bool has(Field field) const
        {
            return std::any_of(m_problems.begin(), m_problems.end(),
                [field](const InputError &error) { return error.field() == field; });
        }
        /// In the order of the fields, so that the first is the one a program names.
        std::vector<InputError> sorted()
        {
            std::stable_sort(m_problems.begin(), m_problems.end(),
                [](const InputError &a, const InputError &b) { return a.field() < b.field(); });
            return m_problems;
        }

        std::vector<Field> unknown;

    private:
        std::vector<InputError> m_problems;
    };

    std::optional<Length> lengthOf(
        const std::string &text, const std::string &option, Field field, Found &found)
    {
        try {
            return parseLength(text, "--" + option);
        } catch (const InputError &error) {
            found.add(error.what(), error.problem(), field);
            return std::nullopt;
        }
    }

} // namespace

bool isLayoutOption(std::string_view name)
{
    return fieldOf(name) != Field::None;
}

Field optionField(std::string_view name)
{
    return fieldOf(name);
}

std::vector<std::string> optionNames()
{
    std::vector<std::string> names;
    for (const auto &option : kOptions)
        names.emplace_back(option.name);
    return names;
}

std::string normalised(const std::string &typed)
{
    const std::string text = text::fromFullWidth(typed);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::optional<bool> switchOf(const std::string &text)
{
    for (const char *yes : { "", "1", "true", "yes", "on" })
        if (text == yes)
            return true;
    for (const char *no : { "0", "false", "no", "off" })
        if (text == no)
            return false;
    return std::nullopt;
}

Reading readLayout(const std::vector<TypedOption> &typed, Diameter diameter, bool passList)
{
    Reading reading;
    Inputs &in = reading.inputs;
    Found found;

    std::map<std::string, std::string> given;
    for (const TypedOption &option : typed) {
        const Field field = fieldOf(option.name);
        if (field == Field::None) {
            found.add("unknown option --" + option.name, Problem::UnknownOption, Field::None);
            continue;
        }
        if (given.count(option.name)) {
            found.add("--" + option.name + " is given twice", Problem::Repeated, field);
            continue;
        }
        const std::string value = normalised(option.value);
        // A study names the diameter it varies by its option alone.
        const bool naming = diameter == Diameter::Varied && field == Field::Diameter;
        if (value.empty() && field != Field::Standard && !naming) {
            found.add("--" + option.name + " is empty", Problem::Empty, field);
            continue;
        }
        given[option.name] = value;
    }
    const auto value = [&given](const char *name) -> const std::string * {
        const auto at = given.find(name);
        return at == given.end() ? nullptr : &at->second;
    };

    // The diameter, and which one it is.
    const std::string *shell = value("shell"), *otl = value("otl");
    if (diameter == Diameter::Varied) {
        in.given = otl ? Given::LayoutCircle : Given::Shell;
        found.unknown.push_back(Field::Diameter);
        if (shell && otl)
            found.add("--shell and --otl exclude each other", Problem::Conflict, Field::Diameter);
        else if ((shell && !shell->empty()) || (otl && !otl->empty()))
            found.add("the study varies the diameter: give --shell or --otl without a value",
                Problem::Conflict, Field::Diameter);
    } else if (diameter != Diameter::Typed) {
        in.given = diameter == Diameter::VariedShell ? Given::Shell : Given::LayoutCircle;
        found.unknown.push_back(Field::Diameter);
        if (shell || otl)
            found.add("the study varies the diameter: give --shell or --otl without a value",
                Problem::Conflict, Field::Diameter);
    } else if (shell && otl) {
        found.add("--shell and --otl exclude each other", Problem::Conflict, Field::Diameter);
    } else if (!shell && !otl) {
        if (!found.has(Field::Diameter))
            found.add("give --shell DI or --otl DL", Problem::Missing, Field::Diameter);
    } else {
        in.given = shell ? Given::Shell : Given::LayoutCircle;
        if (auto length =
                lengthOf(shell ? *shell : *otl, shell ? "shell" : "otl", Field::Diameter, found))
            in.diameter = *length;
    }

    if (const std::string *text = value("gb151")) {
        if (const auto on = switchOf(*text))
            in.gb151 = *on;
        else
            found.add("--gb151 is a switch: give it alone, not " + text::quote(*text),
                Problem::NotAChoice, Field::Standard);
    }

    for (const auto &[name, field, target] :
        { std::tuple { "tube", Field::Tube, &in.tube }, { "pitch", Field::Pitch, &in.pitch } }) {
        if (const std::string *text = value(name)) {
            if (auto length = lengthOf(*text, name, field, found))
                *target = *length;
        } else if (field == Field::Pitch && in.gb151) {
            // The standard's pitch for the tube, when its table has the tube.
            if (found.has(Field::Tube))
                found.unknown.push_back(Field::Pitch);
            else if (const auto standard = gb151Pitch(in.tube, in.pattern)) {
                in.pitch = standard->pitch;
                in.fromStandard.push_back(Field::Pitch);
            } else
                found.add("--gb151 has no pitch for a " + lengthText(in.tube)
                        + " mm tube (GB/T 151 lists " + gb151Diameters() + " mm): give --pitch",
                    Problem::NotInTable, Field::Pitch);
        } else if (!found.has(field)) {
            found.add(std::string("--") + name + " is required", Problem::Missing, field);
        }
    }

    if (const std::string *text = value("pattern")) {
        bool known = false;
        for (Pattern pattern : { Pattern::Triangular, Pattern::RotatedTriangular, Pattern::Square,
                 Pattern::RotatedSquare })
            if (*text == patternName(pattern)) {
                in.pattern = pattern;
                known = true;
            }
        if (!known)
            found.add("--pattern must be 30, 60, 90 or 45, not " + text::quote(*text),
                Problem::NotAChoice, Field::Pattern);
    }

    reading.passes = { 1 };
    if (const std::string *text = value("passes")) {
        reading.passes.clear();
        for (const std::string &part : text::split(*text, ',')) {
            if (part != "1" && part != "2" && part != "4" && part != "6" && part != "8") {
                found.add("--passes must be 1, 2, 4, 6 or 8"
                        + std::string(passList ? " (or a list of them)" : "") + ", not "
                        + text::quote(*text),
                    Problem::PassCount, Field::Passes);
                break;
            }
            reading.passes.push_back(part[0] - '0');
        }
        if (!found.has(Field::Passes) && reading.passes.size() > 1 && !passList)
            found.add("a list of pass counts needs --sweep", Problem::PassCount, Field::Passes);
        if (found.has(Field::Passes))
            reading.passes = { 1 };
    }
    in.passes = reading.passes.front();

    if (const std::string *text = value("centre")) {
        bool known = false;
        for (Centring centring : { Centring::OnTube, Centring::Straddle, Centring::Best })
            if (*text == centringName(centring)) {
                in.centring = centring;
                known = true;
            }
        if (!known)
            found.add("--centre must be on-tube, straddle or best, not " + text::quote(*text),
                Problem::NotAChoice, Field::Centring);
    }

    if (const std::string *text = value("lane-spacing")) {
        const std::vector<std::string> parts = text::split(*text, ',');
        if (parts.size() > 2) {
            found.add("--lane-spacing takes H or H,V, not " + text::quote(*text),
                Problem::SpacingForm, Field::LaneSpacing);
        } else {
            in.laneSpacing =
                lengthOf(normalised(parts[0]), "lane-spacing", Field::LaneSpacing, found);
            if (parts.size() == 2)
                in.verticalSpacing =
                    lengthOf(normalised(parts[1]), "lane-spacing", Field::VerticalSpacing, found);
        }
        const auto any = [&reading](auto &&wanted) {
            return std::any_of(reading.passes.begin(), reading.passes.end(), wanted);
        };
        if (!found.has(Field::Passes) && !any([](int passes) { return passes > 1; }))
            found.add("--lane-spacing: 1 pass has no lanes", Problem::NoLanes, Field::LaneSpacing);
        else if (!found.has(Field::Passes) && parts.size() == 2
            && !any([](int passes) { return passes >= 4; }))
            found.add("--lane-spacing: V is the vertical lane's spacing, and only 4, 6 and 8 "
                      "passes have that lane",
                Problem::NoVerticalLane, Field::VerticalSpacing);
    }

    if (const std::string *text = value("clearance")) {
        if (in.given == Given::LayoutCircle)
            found.add("--clearance needs --shell: the layout circle already allows for it",
                Problem::ClearanceWithoutShell, Field::Clearance);
        else
            in.clearance = lengthOf(*text, "clearance", Field::Clearance, found);
    }

    if (const std::string *text = value("centre-tube")) {
        if (auto length = lengthOf(*text, "centre-tube", Field::CentreTube, found)) {
            // 0 is no centre tube, as in the window and korvane-count.
            if (length->units < 0)
                found.add("the centre tube diameter must be 0 (none) or more, not "
                        + lengthText(*length) + " mm",
                    Problem::Negative, Field::CentreTube);
            else if (length->units > 0)
                in.centreTube = length;
        }
    }

    if (const std::string *text = value("lanes")) {
        if (const auto lanes = choiceOf<LaneModel>(
                *text, { { "remove", LaneModel::Remove }, { "shift", LaneModel::Shift } }))
            in.lanes = *lanes;
        else
            found.add("--lanes must be remove or shift, not " + text::quote(*text),
                Problem::NotAChoice, Field::LaneModel);
    } else if (in.gb151) {
        in.lanes = LaneModel::Shift;
        in.fromStandard.push_back(Field::LaneModel);
    }

    if (const std::string *text = value("bundle")) {
        if (const auto bundle = choiceOf<Bundle>(
                *text, { { "fixed", Bundle::Fixed }, { "u-tube", Bundle::UTube } }))
            in.bundle = *bundle;
        else
            found.add("--bundle must be fixed or u-tube, not " + text::quote(*text),
                Problem::NotAChoice, Field::Bundle);
    }

    if (const std::string *text = value("bend-radius"))
        in.bendRadius = lengthOf(*text, "bend-radius", Field::BendRadius, found);

    if (const std::string *text = value("tie-rods")) {
        if (const auto table = choiceOf<TieRodRule>(
                *text, { { "gb151", TieRodRule::Gb151 }, { "tema", TieRodRule::Tema } })) {
            in.tieRods = *table;
        } else {
            const bool digits = text->size() <= 6
                && std::all_of(
                    text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; });
            if (digits) {
                // 0 is none, as a centre tube of 0 is.
                in.tieRodCount = std::stoi(*text);
                in.tieRods = in.tieRodCount > 0 ? TieRodRule::Count : TieRodRule::None;
            } else {
                found.add(
                    "--tie-rods takes a whole number, gb151 or tema, not " + text::quote(*text),
                    Problem::NotWhole, Field::TieRods);
            }
        }
    } else if (in.gb151) {
        in.tieRods = TieRodRule::Gb151;
    }

    if (const std::string *text = value("baffle-cut")) {
        for (const std::string &part : text::split(*text, ',')) {
            const auto cut = lengthOf(normalised(part), "baffle-cut", Field::BaffleCut, found);
            if (!cut)
                break;
            in.baffleCuts.push_back(*cut);
        }
        if (reading.passes.size() > 1)
            found.add("--baffle-cut in a sweep takes one pass count: its figures are a column each",
                Problem::Conflict, Field::BaffleCut);
    }

    for (const InputError &problem : problemsOf(in, found.unknown))
        found.add(problem.what(), problem.problem(), problem.field());

    // A clearance as wide as the shell leaves nothing to lay tubes in: a plain mistake in one
    // layout, though a sweep may well start below it.
    if (diameter == Diameter::Typed && in.given == Given::Shell && !found.has(Field::Diameter)
        && !found.has(Field::Tube) && !found.has(Field::Clearance)) {
        const Length b = clearanceOf(in), circle = layoutCircleOf(in);
        if (circle.units <= 0) {
            const std::string dl = " (DL " + lengthText(circle) + " mm)";
            if (in.clearance)
                found.add("the clearance " + lengthText(b) + " mm leaves no layout circle in a "
                        + lengthText(in.diameter) + " mm shell" + dl,
                    Problem::NoLayoutCircle, Field::Clearance);
            else
                found.add("a " + lengthText(in.diameter)
                        + " mm shell leaves no layout circle after the clearance b " + lengthText(b)
                        + " mm on each side" + dl,
                    Problem::NoLayoutCircle, Field::Diameter);
        }
    }
    reading.problems = found.sorted();
    return reading;
}

} // namespace layout
