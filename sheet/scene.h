#pragma once

// A tube-sheet drawing as plain shapes on named layers, in millimetres from the shell centre
// with y up. The pictures (SVG, PNG, PDF) and the CAD file (DXF) are all written from one
// scene, so they show the same thing.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace sheet {

struct Colour
{
    unsigned char r = 0, g = 0, b = 0;
    unsigned char alpha = 255;
};

/// The colours both programs' drawings share, so the same thing looks the same in each.
namespace palette {
    constexpr Colour kInk { 0x2f, 0x3b, 0x47 };
    constexpr Colour kLayoutCircle { 0x1f, 0x6f, 0xb4 };
    constexpr Colour kRemovedTube { 0xf4, 0xa6, 0xa6 };
    constexpr Colour kRemovedInk { 0xb0, 0x30, 0x30 };
    /// See-through, so a removed tube under the centre tube still shows.
    constexpr Colour kCentreTube { 0x8b, 0x1a, 0x1a, 153 };
} // namespace palette

/// How a layer's shapes look: in a picture (ink, fill, pen) and in CAD (name, colour index).
struct Layer
{
    std::string name; ///< the CAD layer's name
    int aci = 7; ///< AutoCAD colour index
    Colour ink;
    std::optional<Colour> fill; ///< none: outlines only
    double pen = 1; ///< outline width in a picture, in its line units
};

struct Circle
{
    double x = 0, y = 0, diameter = 0;
    int layer = 0;
    bool dashed = false;
    bool hollow = false; ///< without the layer's fill
};

struct Line
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int layer = 0;
    bool dashed = false;
};

/// Text centred on a point of the sheet, such as a tube's number.
struct Label
{
    double x = 0, y = 0, height = 0;
    std::string text; ///< UTF-8
    int layer = 0;
};

/// A legend line: a swatch in the layer's colours, then the text.
struct LegendEntry
{
    std::string text;
    int layer = 0;
};

struct Scene
{
    std::string title;
    std::vector<Layer> layers;
    /// Drawn in this order, then the lines, then the labels.
    std::vector<Circle> circles;
    std::vector<Line> lines;
    std::vector<Label> labels;
    /// Lines of text above the sheet: the inputs and the counts.
    std::vector<std::string> caption;
    std::vector<LegendEntry> legend;
    int textLayer = 0; ///< where the caption and legend go in CAD
    /// CAD text as ASCII, anything beyond it escaped (English words), rather than GBK (Chinese).
    bool asciiText = false;
    /// The diameter of the region to show, centred on the shell's centre.
    double extent = 0;

    int addLayer(Layer layer)
    {
        layers.push_back(std::move(layer));
        return static_cast<int>(layers.size()) - 1;
    }
};

/// The most tubes a drawing takes; larger sheets are refused before any work. Measured in the
/// README: a picture of this many takes seconds and a few hundred MB.
constexpr std::size_t kMaxDrawnTubes = 200'000;

/// The formats a drawing is written in, told by the file name's extension in any case.
enum class Format { Svg, Png, Pdf, Dxf };

/// The format a file name's extension names, if it names one.
std::optional<Format> formatOf(const std::string &file);

/// The extensions formatOf() knows, for messages: ".svg, .png, .pdf or .dxf".
const char *formatList();

/// The scene as an AutoCAD R12 (AC1009) ASCII DXF file, in mm.
std::string dxf(const Scene &scene);

/// A colour as SVG and the page write it: "#rrggbb", without its alpha.
std::string colourText(const Colour &colour);

/// An upper bound of a UTF-8 text's width in ems, in the fonts the captions are set in.
inline double textEms(const std::string &utf8)
{
    double ems = 0;
    for (const char ch : utf8) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0xC0)
            ems += 1; // a Chinese character or a full-width sign: one em
        else if (byte >= 0x80)
            continue; // the rest of that character
        else if ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z')
            ems += 0.95; // wider than any sans-serif letter but W
        else
            ems += 0.62; // digits, spaces and signs
    }
    return ems;
}

/// The caption's font size and the legend's columns on a page `width` wide, with margins of
/// width/40: every caption line fits the page and every legend entry its column (fewer
/// columns for long entries, then a smaller font if one column is still too narrow).
struct TextFit
{
    double fontSize;
    int columns;
};
inline TextFit textFit(const Scene &scene, double width)
{
    // The swatch before an entry's text and the gap after it, in ems: the most a painter takes.
    constexpr double kSwatchEms = 1.6;
    const double side = width - 2 * (width / 40);
    TextFit fit { width / 48, 4 };
    for (const std::string &line : scene.caption)
        fit.fontSize = std::min(fit.fontSize, side / std::max(1.0, textEms(line)));
    double widest = 0;
    for (const LegendEntry &entry : scene.legend)
        widest = std::max(widest, textEms(entry.text) + kSwatchEms);
    while (fit.columns > 1 && side / fit.columns < fit.fontSize * widest)
        --fit.columns;
    if (widest > 0)
        fit.fontSize = std::min(fit.fontSize, side / fit.columns / widest);
    return fit;
}

/// Where things stand in the scene's SVG picture, in its units: the sheet's millimetre
/// (x, y) is at (centreX + scale·x, centreY − scale·y).
struct SvgFrame
{
    double width = 0, height = 0;
    double margin = 0, fontSize = 0, lineHeight = 0, legendTop = 0;
    double centreX = 0, centreY = 0, scale = 1;
    int columns = 4; ///< of the legend
};
SvgFrame svgFrame(const Scene &scene);

/// The scene as an SVG picture, the sheet in exact millimetres.
std::string svg(const Scene &scene);

/// The scene as the bytes of a PNG or PDF picture. The painting code is loaded only now,
/// so a program that draws nothing never loads a graphics stack. Throws std::runtime_error if
/// it cannot be loaded or cannot paint.
std::string picture(const Scene &scene, Format format);

/// The bytes of the scene's file in `format`.
std::string render(const Scene &scene, Format format);

} // namespace sheet
