#include "layout/options.h"

#include "layout/impingement.h"

#include "text/full_width.h"
#include "text/quote.h"
#include "text/split.h"

#include <algorithm>
#include <cctype>
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
        { "passes", Field::Passes }, { "arrangement", Field::Arrangement },
        { "centre", Field::Centring }, { "lane-spacing", Field::LaneSpacing },
        { "clearance", Field::Clearance }, { "centre-tube", Field::CentreTube },
        { "lanes", Field::LaneModel }, { "gb151", Field::Standard }, { "bundle", Field::Bundle },
        { "head", Field::Head }, { "bend-radius", Field::BendRadius },
        { "tie-rods", Field::TieRods }, { "baffle-cut", Field::BaffleCut },
        { "impingement", Field::Impingement } };

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
            // A baffle cut is a share of the shell, never in inches.
            return parseLength(text, "--" + option, field != Field::BaffleCut);
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

namespace {

    /// One reading of typed options, option by option, in the order their values depend on.
    class Reader
    {
    public:
        Reader(Reading &reading, Diameter diameter, bool passList, const char *study)
            : m_reading(reading)
            , m_in(reading.inputs)
            , m_diameter(diameter)
            , m_passList(passList)
            , m_study(study)
        {
        }

        void read(const std::vector<TypedOption> &typed)
        {
            collect(typed);
            readDiameter();
            readStandard();
            readTubeAndPitch();
            readPattern();
            readPasses();
            readChoice<PassArrangement>("arrangement", Field::Arrangement,
                { { "standard", PassArrangement::Standard },
                    { "quadrant", PassArrangement::Quadrant }, { "mixed", PassArrangement::Mixed },
                    { "ribbon", PassArrangement::Ribbon } },
                m_in.arrangement);
            readCentring();
            readLaneSpacing();
            readClearanceAndCentreTube();
            readModelAndBundle();
            readTieRods();
            readBaffleCuts();
            if (const std::string *text = value("impingement")) {
                try {
                    m_in.impingement = parseImpingement(*text);
                } catch (const InputError &error) {
                    m_found.add(error.what(), error.problem(), Field::Impingement);
                }
            }
            for (const InputError &problem : problemsOf(m_in, m_found.unknown))
                m_found.add(problem.what(), problem.problem(), problem.field());
            checkLayoutCircle();
            noteInches();
            m_reading.problems = m_found.sorted();
        }

    private:
        const std::string *value(const char *name) const
        {
            const auto at = m_given.find(name);
            return at == m_given.end() ? nullptr : &at->second;
        }

        /// Each option once, known and not empty, its text as it is meant.
        void collect(const std::vector<TypedOption> &typed)
        {
            for (const TypedOption &option : typed) {
                const Field field = fieldOf(option.name);
                if (field == Field::None) {
                    m_found.add(
                        "unknown option --" + option.name, Problem::UnknownOption, Field::None);
                    continue;
                }
                if (m_given.count(option.name)) {
                    m_found.add("--" + option.name + " is given twice", Problem::Repeated, field);
                    continue;
                }
                const std::string text = normalised(option.value);
                // A study names the diameter it varies by its option alone.
                const bool naming = m_diameter == Diameter::Varied && field == Field::Diameter;
                if (text.empty() && field != Field::Standard && !naming) {
                    m_found.add("--" + option.name + " is empty", Problem::Empty, field);
                    continue;
                }
                m_given[option.name] = text;
            }
        }

        /// The diameter, and which one it is.
        void readDiameter()
        {
            const std::string *shell = value("shell"), *otl = value("otl");
            if (m_diameter == Diameter::Varied) {
                m_in.given = otl ? Given::LayoutCircle : Given::Shell;
                m_found.unknown.push_back(Field::Diameter);
                if (shell && otl)
                    m_found.add(
                        "--shell and --otl exclude each other", Problem::Conflict, Field::Diameter);
                else if ((shell && !shell->empty()) || (otl && !otl->empty()))
                    m_found.add(std::string(m_study)
                            + " varies the diameter: give --shell or --otl without a value",
                        Problem::Conflict, Field::Diameter);
            } else if (m_diameter != Diameter::Typed) {
                m_in.given =
                    m_diameter == Diameter::VariedShell ? Given::Shell : Given::LayoutCircle;
                m_found.unknown.push_back(Field::Diameter);
                if (shell || otl)
                    m_found.add(
                        "the study varies the diameter: give --shell or --otl without a value",
                        Problem::Conflict, Field::Diameter);
            } else if (shell && otl) {
                m_found.add(
                    "--shell and --otl exclude each other", Problem::Conflict, Field::Diameter);
            } else if (!shell && !otl) {
                if (!m_found.has(Field::Diameter))
                    m_found.add("give --shell DI or --otl DL", Problem::Missing, Field::Diameter);
            } else {
                m_in.given = shell ? Given::Shell : Given::LayoutCircle;
                if (auto length = lengthOf(
                        shell ? *shell : *otl, shell ? "shell" : "otl", Field::Diameter, m_found))
                    m_in.diameter = *length;
            }
        }

        void readStandard()
        {
            if (const std::string *text = value("gb151")) {
                if (const auto on = switchOf(*text))
                    m_in.gb151 = *on;
                else
                    m_found.add("--gb151 is a switch: give it alone, not " + text::quote(*text),
                        Problem::NotAChoice, Field::Standard);
            }
        }

        void readTubeAndPitch()
        {
            for (const auto &[name, field, target] :
                { std::tuple { "tube", Field::Tube, &m_in.tube },
                    { "pitch", Field::Pitch, &m_in.pitch } }) {
                if (const std::string *text = value(name)) {
                    if (auto length = lengthOf(*text, name, field, m_found))
                        *target = *length;
                } else if (field == Field::Pitch && m_in.gb151) {
                    readStandardPitch();
                } else if (!m_found.has(field)) {
                    m_found.add(std::string("--") + name + " is required", Problem::Missing, field);
                }
            }
        }

        /// The standard's pitch for the tube, when its table has the tube.
        void readStandardPitch()
        {
            if (m_found.has(Field::Tube))
                m_found.unknown.push_back(Field::Pitch);
            else if (const auto standard = gb151Pitch(m_in.tube, m_in.pattern)) {
                m_in.pitch = standard->pitch;
                m_in.fromStandard.push_back(Field::Pitch);
            } else
                m_found.add("--gb151 has no pitch for a " + lengthText(m_in.tube)
                        + " mm tube (GB/T 151 lists " + gb151Diameters() + " mm): give --pitch",
                    Problem::NotInTable, Field::Pitch);
        }

        /// A choice's option, one of its values, read into `target`; whether it was given.
        template <class T>
        bool readChoice(const char *name, Field field,
            std::initializer_list<std::pair<const char *, T>> choices, T &target)
        {
            const std::string *text = value(name);
            if (!text)
                return false;
            if (const auto chosen = choiceOf<T>(*text, choices)) {
                target = *chosen;
                return true;
            }
            std::string listed;
            std::size_t i = 0;
            for (const auto &choice : choices) {
                listed += i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ";
                listed += choice.first;
                ++i;
            }
            m_found.add(
                std::string("--") + name + " must be " + listed + ", not " + text::quote(*text),
                Problem::NotAChoice, field);
            return true;
        }

        void readPattern()
        {
            readChoice<Pattern>("pattern", Field::Pattern,
                { { "30", Pattern::Triangular }, { "60", Pattern::RotatedTriangular },
                    { "90", Pattern::Square }, { "45", Pattern::RotatedSquare } },
                m_in.pattern);
        }

        void readPasses()
        {
            std::vector<int> &passes = m_reading.passes;
            passes = { 1 };
            if (const std::string *text = value("passes")) {
                passes.clear();
                for (const std::string &part : text::split(*text, ',')) {
                    if (part != "1" && part != "2" && part != "4" && part != "6" && part != "8") {
                        m_found.add("--passes must be 1, 2, 4, 6 or 8"
                                + std::string(m_passList ? " (or a list of them)" : "") + ", not "
                                + text::quote(*text),
                            Problem::PassCount, Field::Passes);
                        break;
                    }
                    passes.push_back(part[0] - '0');
                }
                if (!m_found.has(Field::Passes) && passes.size() > 1 && !m_passList)
                    m_found.add(
                        "a list of pass counts needs --sweep", Problem::PassCount, Field::Passes);
                if (m_found.has(Field::Passes))
                    passes = { 1 };
            }
            m_in.passes = passes.front();
        }

        void readCentring()
        {
            readChoice<Centring>("centre", Field::Centring,
                { { "on-tube", Centring::OnTube }, { "straddle", Centring::Straddle },
                    { "best", Centring::Best } },
                m_in.centring);
        }

        void readLaneSpacing()
        {
            const std::string *text = value("lane-spacing");
            if (!text)
                return;
            const std::vector<std::string> parts = text::split(*text, ',');
            if (parts.size() > 2) {
                m_found.add("--lane-spacing takes H or H,V, not " + text::quote(*text),
                    Problem::SpacingForm, Field::LaneSpacing);
            } else {
                m_in.laneSpacing =
                    lengthOf(normalised(parts[0]), "lane-spacing", Field::LaneSpacing, m_found);
                if (parts.size() == 2)
                    m_in.verticalSpacing = lengthOf(
                        normalised(parts[1]), "lane-spacing", Field::VerticalSpacing, m_found);
            }
            const auto any = [this](auto &&wanted) {
                return std::any_of(m_reading.passes.begin(), m_reading.passes.end(), wanted);
            };
            if (!m_found.has(Field::Passes) && !any([](int passes) { return passes > 1; }))
                m_found.add(
                    "--lane-spacing: 1 pass has no lanes", Problem::NoLanes, Field::LaneSpacing);
            else if (!m_found.has(Field::Passes) && parts.size() == 2
                && !any([](int passes) { return passes >= 4; }))
                m_found.add("--lane-spacing: V is the vertical lane's spacing, and only 4, 6 and 8 "
                            "passes have that lane",
                    Problem::NoVerticalLane, Field::VerticalSpacing);
        }

        void readClearanceAndCentreTube()
        {
            if (const std::string *text = value("clearance")) {
                if (m_in.given == Given::LayoutCircle)
                    m_found.add(
                        "--clearance needs --shell: the layout circle already allows for it",
                        Problem::ClearanceWithoutShell, Field::Clearance);
                else
                    m_in.clearance = lengthOf(*text, "clearance", Field::Clearance, m_found);
            }
            if (const std::string *text = value("centre-tube")) {
                if (auto length = lengthOf(*text, "centre-tube", Field::CentreTube, m_found)) {
                    // 0 is no centre tube, as in the window and korvane-count.
                    if (length->units < 0)
                        m_found.add("the centre tube diameter must be 0 (none) or more, not "
                                + lengthText(*length) + " mm",
                            Problem::Negative, Field::CentreTube);
                    else if (length->units > 0)
                        m_in.centreTube = length;
                }
            }
        }

        /// The lengths typed in inches, to be shown beside their millimetres.
        void noteInches()
        {
            for (const auto &[name, field] : { std::pair { "shell", Field::Diameter },
                     { "otl", Field::Diameter }, { "tube", Field::Tube }, { "pitch", Field::Pitch },
                     { "clearance", Field::Clearance }, { "centre-tube", Field::CentreTube },
                     { "bend-radius", Field::BendRadius } })
                if (const std::string *text = value(name))
                    if (std::string inches = inchesTyped(*text); !inches.empty())
                        m_in.inches.emplace_back(field, std::move(inches));
        }

        void readModelAndBundle()
        {
            if (!readChoice<LaneModel>("lanes", Field::LaneModel,
                    { { "remove", LaneModel::Remove }, { "shift", LaneModel::Shift } }, m_in.lanes)
                && m_in.gb151) {
                m_in.lanes = LaneModel::Shift;
                m_in.fromStandard.push_back(Field::LaneModel);
            }
            readChoice<Bundle>("bundle", Field::Bundle,
                { { "fixed", Bundle::Fixed }, { "u-tube", Bundle::UTube } }, m_in.bundle);
            if (readChoice<Head>("head", Field::Head,
                    { { "fixed", Head::Fixed }, { "u-tube", Head::UTube },
                        { "floating", Head::Floating }, { "pull-through", Head::PullThrough },
                        { "packed", Head::Packed } },
                    m_in.head)
                && m_in.head == Head::UTube) {
                if (value("bundle") && m_in.bundle == Bundle::Fixed)
                    m_found.add("--head u-tube is the U-tube bundle, not --bundle fixed",
                        Problem::Conflict, Field::Head);
                m_in.bundle = Bundle::UTube;
            }
            // The U-tube bundle is the U-tube head: either option names both.
            if (m_in.bundle == Bundle::UTube && m_in.head == Head::Fixed) {
                if (value("head"))
                    m_found.add("--bundle u-tube is the u-tube head, not --head fixed",
                        Problem::Conflict, Field::Head);
                m_in.head = Head::UTube;
            }
            if (const std::string *text = value("bend-radius"))
                m_in.bendRadius = lengthOf(*text, "bend-radius", Field::BendRadius, m_found);
        }

        void readTieRods()
        {
            const std::string *text = value("tie-rods");
            if (!text) {
                if (m_in.gb151)
                    m_in.tieRods = TieRodRule::Gb151;
                return;
            }
            // The standards' names are read in any case: GB151 is how the standard is written.
            std::string lower = *text;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (const auto table = choiceOf<TieRodRule>(
                    lower, { { "gb151", TieRodRule::Gb151 }, { "tema", TieRodRule::Tema } })) {
                m_in.tieRods = *table;
                return;
            }
            const bool digits = !text->empty()
                && std::all_of(
                    text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; });
            const std::size_t first = std::min(text->find_first_not_of('0'), text->size());
            if (!digits) {
                m_found.add(
                    "--tie-rods takes a whole number, gb151 or tema, not " + text::quote(*text),
                    Problem::NotWhole, Field::TieRods);
            } else if (text->size() - first > 6) {
                m_found.add("--tie-rods takes at most " + std::to_string(kMaxTieRods)
                        + " rods, not " + text->substr(first),
                    Problem::TooLarge, Field::TieRods);
            } else {
                // 0 is none, as a centre tube of 0 is.
                m_in.tieRodCount = std::stoi(*text);
                m_in.tieRods = m_in.tieRodCount > 0 ? TieRodRule::Count : TieRodRule::None;
            }
        }

        void readBaffleCuts()
        {
            const std::string *text = value("baffle-cut");
            if (!text)
                return;
            // A handful of cuts is what a designer compares; each is a pass over the rows.
            const auto cuts = std::count(text->begin(), text->end(), ',') + 1;
            if (cuts > kMaxBaffleCuts) {
                m_found.add("--baffle-cut compares at most " + std::to_string(kMaxBaffleCuts)
                        + " cuts, not " + std::to_string(cuts),
                    Problem::TooManyCuts, Field::BaffleCut);
                return;
            }
            for (const std::string &part : text::split(*text, ',')) {
                const auto cut =
                    lengthOf(normalised(part), "baffle-cut", Field::BaffleCut, m_found);
                if (!cut)
                    break;
                m_in.baffleCuts.push_back(*cut);
            }
            if (m_reading.passes.size() > 1)
                m_found.add(
                    "--baffle-cut in a sweep takes one pass count: its figures are a column each",
                    Problem::Conflict, Field::BaffleCut);
        }

        /// A clearance as wide as the shell leaves nothing to lay tubes in: a plain mistake in
        /// one layout, though a sweep may well start below it.
        void checkLayoutCircle()
        {
            if (m_diameter != Diameter::Typed || m_in.given != Given::Shell
                || m_found.has(Field::Diameter) || m_found.has(Field::Tube)
                || m_found.has(Field::Clearance))
                return;
            const Length b = clearanceOf(m_in), circle = layoutCircleOf(m_in);
            if (circle.units > 0)
                return;
            const std::string dl = " (DL " + lengthText(circle) + " mm)";
            if (headSetsCircle(m_in))
                m_found.add("a " + lengthText(m_in.diameter)
                        + " mm shell leaves no layout circle under a " + headName(m_in.head)
                        + " head" + dl,
                    Problem::NoLayoutCircle, Field::Diameter);
            else if (m_in.clearance)
                m_found.add("the clearance " + lengthText(b) + " mm leaves no layout circle in a "
                        + lengthText(m_in.diameter) + " mm shell" + dl,
                    Problem::NoLayoutCircle, Field::Clearance);
            else
                m_found.add("a " + lengthText(m_in.diameter)
                        + " mm shell leaves no layout circle after the clearance b " + lengthText(b)
                        + " mm on each side" + dl,
                    Problem::NoLayoutCircle, Field::Diameter);
        }

        Reading &m_reading;
        Inputs &m_in;
        Diameter m_diameter;
        bool m_passList;
        const char *m_study;
        Found m_found;
        std::map<std::string, std::string> m_given;
    };

} // namespace

Reading readLayout(
    const std::vector<TypedOption> &typed, Diameter diameter, bool passList, const char *study)
{
    Reading reading;
    Reader(reading, diameter, passList, study).read(typed);
    return reading;
}

} // namespace layout
