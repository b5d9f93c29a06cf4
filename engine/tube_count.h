#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

/// The result of one row scan over the triangular tube pattern.
struct RowScan
{
    /// Entry k: tubes in row k across the full width; one entry per scanned row, row 0 first.
    /// Rows k >= 1 stand for themselves and their mirror image below the axis.
    std::vector<double> rows;
    /// Entry 0 plus twice every other entry.
    double total = 0;
};

/// The highest row index of a row table; a scan that needs row 1001 fails with error 9.
constexpr int kLastRow = 1000;

/// The layout count: the tubes of diameter `d` on pitch `gxj` that lie wholly inside the layout
/// circle of diameter `Dl`. Raises error 5, 6 or 9 as the run time does.
RowScan layoutCount(double Dl, double d, double gxj);

/// The centre count: the tubes of diameter `d` on pitch `gxj` that reach into the centre circle
/// of diameter `DX`. Raises error 5, 6 or 9 as the run time does.
RowScan centreCount(double d, double DX, double gxj);

/// True when the centre circle of diameter `DX` is narrower than two row heights, so the centre
/// tube is too small for the pattern and the user is warned.
bool centreTubeTooSmall(double DX, double gxj);

/// The diameter of the centre circle around a centre tube of outer diameter `zxg`: the tube
/// plus the fixed 8 mm clearance on each side. Raises error 6 beyond the Double range.
double centreCircle(double zxg);

/// The warning shown before the centre count when the centre tube is too small for the pitch.
inline constexpr std::string_view kCentreTubeTooSmall = "中心管外径过小";

/// The text boxes of the window.
enum class Box { Text1, Text2, Text3, Text4, Text5 };

/// The input boxes in the window's tab order: shell inner diameter, pitch, tube outer diameter,
/// centre tube outer diameter.
constexpr std::array<Box, 4> kInputBoxes { Box::Text4, Box::Text3, Box::Text5, Box::Text1 };

/// Which count a RowScan comes from.
enum class Count { Layout, Centre };

/// What the Calculate command needs from the window; a test records every call.
class Host
{
public:
    virtual ~Host() = default;
    /// The whole text of a box, UTF-8.
    virtual std::string text(Box box) const = 0;
    /// Replaces the whole text of a box.
    virtual void setText(Box box, std::string_view utf8) = 0;
    /// A modal box with the prompt and an OK button; returns when it is dismissed.
    virtual void messageBox(std::string_view prompt) = 0;
    /// Told of each count as it completes, for hosts that report or draw the rows.
    virtual void counted(Count /*which*/, const RowScan & /*scan*/) { }
};

/// The calculation state of the window and its Calculate command.
///
/// A run-time error (runtime::RuntimeError) ends a calculation where it arises: the message
/// boxes already shown stay shown, `Text2` keeps its text, and the variables keep what was
/// assigned before it. The error goes to the caller, which reports it and carries on.
class Form1
{
public:
    explicit Form1(Host &host)
        : m_host(host)
    {
    }

    double Dl = 0; ///< layout circle diameter, `di` - 16
    double di = 0; ///< shell inner diameter, from Text4
    double d = 0; ///< tube outer diameter, from Text5
    double zxg = 0; ///< centre tube outer diameter, from Text1; 0 for none
    double zxg_n = 0; ///< tubes removed for the centre tube; kept by clicks without one
    double gxj = 0; ///< tube pitch, from Text3

    /// The Calculate button: reads the boxes, counts, shows the centre-tube boxes, writes Text2.
    void Command1_Click();

private:
    void zxg_calc(double &d0);

    Host &m_host;
};

} // namespace engine
