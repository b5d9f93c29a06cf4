#pragma once

// How the reports write numbers worked out in floating point: exactly, to what a designer
// reads off a drawing, or to a figure's own decimals.

#include <cstdint>
#include <optional>
#include <string>

namespace report {

/// The shortest text that reads back as the same double ("27.712812921102035", "12.5", "0").
std::string numberText(double value);

/// A length worked out in floating point (a lane at m·p·√3/2), to a tenth of a micrometre.
std::string roundedText(double value);

/// A length in mm as a pointer over a drawing shows it: to 0.001 mm, trailing zeros dropped
/// ("-110.851").
std::string millimetresText(double value);

/// A figure to `digits` decimals ("0.6489").
std::string fixedText(double value, int digits);

/// How far the passes are from equal: (largest − smallest) / (total / passes), in tenths of a
/// percent rounded half up, in whole numbers; none for one pass or no tubes.
struct Balance
{
    std::int64_t spread = 0, passes = 0, total = 0;
    double ratio() const
    {
        return static_cast<double>(spread * passes) / static_cast<double>(total);
    }
    /// "4.2": the percentage to one decimal.
    std::string percentText() const;
};
std::optional<Balance> balanceOf(const std::int64_t *perPass, int passes, std::int64_t total);

} // namespace report
