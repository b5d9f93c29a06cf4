#include "report/form.h"

// The form's words for the command line: its options' help and usage lines, and the sketches
// of the patterns the choices show.

#include <cmath>

namespace report {

namespace {

    /// Text wrapped at `width` columns of ASCII, the lines after the first indented.
    std::string wrapped(
        const std::string &text, std::size_t first, std::size_t indent, std::size_t width = 100)
    {
        std::string out, line;
        std::size_t column = first;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(' ', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string word = text.substr(start, end - start);
            if (!line.empty() && column + line.size() + 1 + word.size() > width) {
                out += line + "\n" + std::string(indent, ' ');
                line.clear();
                column = indent;
            }
            line += (line.empty() ? "" : " ") + word;
            start = end + 1;
        }
        return out + line;
    }

    std::string optionText(const Option &option)
    {
        return std::string("--") + option.name + (option.hint[0] ? " " : "") + option.hint;
    }

} // namespace

std::vector<std::pair<double, double>> patternSketch(const std::string &value)
{
    const bool square = value == "90" || value == "45";
    const double turn = value == "60" ? 90 : value == "45" ? 45 : 0;
    const double c = std::cos(turn * std::acos(-1.0) / 180),
                 s = std::sin(turn * std::acos(-1.0) / 180);
    std::vector<std::pair<double, double>> centres;
    for (int row = -1; row <= 1; ++row) {
        for (int col = -2; col <= 2; ++col) {
            double x = col, y = row;
            if (!square) {
                if ((col + row) % 2 != 0)
                    continue;
                x = col / 2.0;
                y = row * 0.866;
            }
            if (std::hypot(x, y) <= 1.2)
                centres.emplace_back(x * c - y * s, x * s + y * c);
        }
    }
    return centres;
}

std::string optionsHelp()
{
    constexpr std::size_t kColumn = 28;
    std::string text = "Layout options (lengths in mm, decimals with up to 6 places, at most "
                       "100000; or in inches, 3/4in):\n";
    for (const Option &option : options()) {
        std::string line = "  " + optionText(option);
        line += line.size() + 2 <= kColumn ? std::string(kColumn - line.size(), ' ')
                                           : "\n" + std::string(kColumn, ' ');
        text += line + wrapped(option.help, kColumn, kColumn) + "\n";
    }
    return text;
}

std::string usageOptions(std::size_t indent)
{
    std::string out;
    std::size_t column = indent;
    for (const Option &option : options()) {
        const std::string item = "[" + optionText(option) + "]";
        if (column > indent && column + 1 + item.size() > 100) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (column > indent) {
            out += ' ';
            ++column;
        }
        out += item;
        column += item.size();
    }
    return out;
}

} // namespace report
