#pragma once

// Lengths of the layout study: exact decimals, held as whole numbers.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace layout {

/// What is wrong with an input, for a program that words the message itself.
enum class Problem {
    Other,
    NotANumber,
    TooManyDecimals,
    TooLarge,
    NotPositive,
    Negative,
    PitchBelowTube,
    PassCount,
    VerticalWithoutHorizontal,
    ClearanceWithoutShell,
    TooManyPitches,
    Empty, ///< an option given with nothing in it
    Missing, ///< a value the layout needs, not given
    NotAChoice, ///< not one of an option's choices
    Conflict, ///< two options that exclude each other
    Repeated, ///< an option given twice
    UnknownOption,
    SpacingForm, ///< more than H,V
    NoLanes, ///< a lane spacing for a layout without lanes
    NoVerticalLane, ///< a vertical spacing for a layout without a vertical lane
    NoLayoutCircle, ///< the clearance leaves no layout circle in the shell
    SpacingBelowTube, ///< a lane under shift narrower than the tube
    NotInTable, ///< a value a standard's table does not have
    NeedsOnTube, ///< a centring other than on-tube where a vertical lane fixes it
    NotWithBundle, ///< passes or a centre tube a U-tube bundle cannot have
    NeedsShell, ///< tie rods or the standard without the shell diameter
    OutsideTable, ///< a diameter outside the range of a tie-rod table
    TooManyTieRods, ///< more tie rods than the bundle's edge takes
    NotWhole, ///< a count that is not a whole number
    NeedsUTube, ///< a bend radius for a bundle without U-tubes
    OddTieRods, ///< tie rods a U-tube bundle cannot take in mirror pairs
    CutOutOfRange, ///< a baffle cut outside 15 to 45 %
    CutMissesTubes, ///< a baffle cut whose line lies beyond every tube
    TooManyCuts, ///< more baffle cuts than one study compares
    NotWithPasses, ///< an arrangement the pass count lacks
    NozzleWidth, ///< a nozzle of no bore, or as wide as the shell
    PlateBelowNozzle, ///< an impingement plate narrower than its nozzle
    PlateBelowCentre, ///< an impingement plate reaching below the centre line
};

/// The input a problem lies in; its values are the inputs' (layout/inputs.h), 0 for none.
enum class Field : int;

/// Input the study cannot take: not a number, outside the exact range, or a combination the
/// rules do not allow. The message is one line for the user.
class InputError : public std::invalid_argument
{
public:
    explicit InputError(
        const std::string &message, Problem problem = Problem::Other, Field field = Field {})
        : std::invalid_argument(message)
        , m_problem(problem)
        , m_field(field)
    {
    }
    Problem problem() const noexcept { return m_problem; }
    Field field() const noexcept { return m_field; }

private:
    Problem m_problem;
    Field m_field;
};

/// Lengths are whole multiples of a quarter of 1e-6 mm: every value typed with up to six
/// decimals is whole, and so are the halves and quarters the rules take of one (ρ, d/4, p/4).
constexpr std::int64_t kUnitsPerMm = 4'000'000;
/// A typed value is a whole multiple of this (1e-6 mm).
constexpr std::int64_t kTypedStep = 4;
constexpr int kMaxDecimals = 6;
/// The largest length taken, 100 m. It keeps every squared product of the study well inside
/// 128 bits.
constexpr std::int64_t kMaxUnits = 100'000 * kUnitsPerMm;

struct Length
{
    std::int64_t units = 0;

    friend bool operator==(Length a, Length b) { return a.units == b.units; }
    friend bool operator!=(Length a, Length b) { return a.units != b.units; }
    friend bool operator<(Length a, Length b) { return a.units < b.units; }
};

/// A whole number of millimetres.
constexpr Length mm(std::int64_t whole)
{
    return { whole * kUnitsPerMm };
}

/// Reads a decimal length in mm: an optional sign, digits with an optional point, and an
/// optional exponent ("25", "31.25", ".5", "1e3"); or, where `inches` allows, in inches: a
/// decimal, a fraction or a whole number and a fraction, then `in` or `"` ("0.75in", `23.25"`,
/// "15/16in", "1-1/4in", "1 1/4 in"), 25.4 mm each, exactly. Throws InputError naming `what`
/// for anything else, for more than six decimals in mm, and for more than 100 m either way.
Length parseLength(std::string_view text, std::string_view what, bool inches = true);

/// The inches a length was typed in, as the output shows them beside the mm ("3/4 in"), or
/// empty when it was typed in mm.
std::string inchesTyped(std::string_view text);

/// The exact decimal text of a length in mm, without trailing zeros ("493.65", "-8").
std::string lengthText(Length length);

/// The nearest double to a length, in mm.
double millimetres(Length length);

} // namespace layout
