#include "sheet/scene.h"

#include "runtime/chars.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace sheet {
namespace {

    constexpr double kPageWidth = 1200;

    std::string number(double value)
    {
        return runtime::shortestText(value);
    }

    std::string escaped(const std::string &text)
    {
        std::string out;
        for (const char ch : text) {
            if (ch == '&')
                out += "&amp;";
            else if (ch == '<')
                out += "&lt;";
            else if (ch == '>')
                out += "&gt;";
            else if (static_cast<unsigned char>(ch) >= 0x20)
                out += ch;
        }
        return out;
    }

    /// The opening tag of a group of shapes in a layer's style; `unit` is the length of one
    /// line unit in the group's coordinates.
    std::string group(const Layer &layer, bool dashed, bool hollow, double unit)
    {
        std::string tag = "<g fill=\"";
        tag += layer.fill && !hollow ? colourText(*layer.fill) : "none";
        tag += "\"";
        if (layer.fill && !hollow && layer.fill->alpha != 255)
            tag += " fill-opacity=\"" + number(layer.fill->alpha / 255.0) + "\"";
        tag += " stroke=\"" + colourText(layer.ink) + "\" stroke-width=\""
            + number(layer.pen * unit) + "\"";
        if (dashed)
            tag += " stroke-dasharray=\"" + number(4 * unit) + " " + number(3 * unit) + "\"";
        return tag + ">\n";
    }

} // namespace

std::string colourText(const Colour &c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

SvgFrame svgFrame(const Scene &scene)
{
    SvgFrame frame;
    frame.width = kPageWidth;
    frame.margin = frame.width / 40;
    const double side = frame.width - 2 * frame.margin;
    const TextFit fit = textFit(scene, frame.width);
    frame.columns = fit.columns;
    frame.fontSize = fit.fontSize;
    frame.lineHeight = frame.fontSize * 1.4;
    frame.legendTop = frame.margin + frame.lineHeight * static_cast<double>(scene.caption.size());
    const auto columns = static_cast<std::size_t>(frame.columns);
    const auto legendRows = (scene.legend.size() + columns - 1) / columns;
    const double sheetTop =
        frame.legendTop + frame.lineHeight * static_cast<double>(legendRows) + frame.margin;
    frame.height = sheetTop + frame.width;
    frame.scale = scene.extent > 0 ? side / scene.extent : 1.0;
    frame.centreX = frame.width / 2;
    frame.centreY = sheetTop + side / 2;
    return frame;
}

std::string svg(const Scene &scene)
{
    const SvgFrame frame = svgFrame(scene);
    const double width = frame.width, height = frame.height;
    const double margin = frame.margin;
    const double fontSize = frame.fontSize;
    const double lineHeight = frame.lineHeight;
    const double legendTop = frame.legendTop;
    const double line = width / 800;

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""
        + number(width) + "\" height=\"" + number(height) + "\" viewBox=\"0 0 " + number(width)
        + " " + number(height) + "\">\n<title>" + escaped(scene.title) + "</title>\n<desc>";
    for (std::size_t i = 0; i < scene.caption.size(); ++i)
        out += (i ? "\n" : "") + escaped(scene.caption[i]);
    out += "</desc>\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";

    const std::string font = " font-family=\"WenQuanYi Micro Hei, Noto Sans CJK SC, sans-serif\"";
    out += "<g" + font + " font-size=\"" + number(fontSize) + "\" fill=\"black\">\n";
    for (std::size_t i = 0; i < scene.caption.size(); ++i)
        out += "<text x=\"" + number(margin) + "\" y=\""
            + number(margin + lineHeight * (static_cast<double>(i) + 0.8)) + "\">"
            + escaped(scene.caption[i]) + "</text>\n";
    out += "</g>\n";
    const auto columns = static_cast<std::size_t>(frame.columns);
    const double column = (width - 2 * margin) / static_cast<double>(columns);
    for (std::size_t i = 0; i < scene.legend.size(); ++i) {
        const LegendEntry &entry = scene.legend[i];
        const std::size_t row = i / columns;
        const double left = margin + column * static_cast<double>(i % columns);
        const double top = legendTop + lineHeight * static_cast<double>(row);
        const double swatch = fontSize * 0.8;
        out += group(scene.layers.at(static_cast<std::size_t>(entry.layer)), false, false, line)
            + "<circle cx=\"" + number(left + swatch / 2) + "\" cy=\""
            + number(top + lineHeight * 0.5) + "\" r=\"" + number(swatch / 2) + "\"/>\n</g>\n";
        out += "<text x=\"" + number(left + swatch * 1.5) + "\" y=\""
            + number(top + lineHeight * 0.8) + "\"" + font + " font-size=\"" + number(fontSize)
            + "\">" + escaped(entry.text) + "</text>\n";
    }

    // The sheet in its own millimetres, y up, with exact coordinates.
    const double scale = frame.scale;
    const double unit = line / scale;
    out += "<g transform=\"matrix(" + number(scale) + " 0 0 " + number(-scale) + " "
        + number(frame.centreX) + " " + number(frame.centreY) + ")\">\n";
    int layer = -1;
    bool dashed = false, hollow = false;
    for (const Circle &circle : scene.circles) {
        if (circle.layer != layer || circle.dashed != dashed || circle.hollow != hollow) {
            if (layer >= 0)
                out += "</g>\n";
            layer = circle.layer;
            dashed = circle.dashed;
            hollow = circle.hollow;
            out += group(scene.layers.at(static_cast<std::size_t>(layer)), dashed, hollow, unit);
        }
        out += "<circle cx=\"" + number(circle.x) + "\" cy=\"" + number(circle.y) + "\" r=\""
            + number(circle.diameter / 2) + "\"/>\n";
    }
    if (layer >= 0)
        out += "</g>\n";
    layer = -1;
    for (const Line &segment : scene.lines) {
        if (segment.layer != layer || segment.dashed != dashed) {
            if (layer >= 0)
                out += "</g>\n";
            layer = segment.layer;
            dashed = segment.dashed;
            out += group(scene.layers.at(static_cast<std::size_t>(layer)), dashed, true, unit);
        }
        out += "<line x1=\"" + number(segment.x1) + "\" y1=\"" + number(segment.y1) + "\" x2=\""
            + number(segment.x2) + "\" y2=\"" + number(segment.y2) + "\"/>\n";
    }
    if (layer >= 0)
        out += "</g>\n";
    out += "</g>\n";

    // Labels upright: the same placement without the flip, so y is negated.
    if (!scene.labels.empty()) {
        out += "<g transform=\"matrix(" + number(scale) + " 0 0 " + number(scale) + " "
            + number(frame.centreX) + " " + number(frame.centreY) + ")\"" + font
            + " text-anchor=\"middle\" dominant-baseline=\"central\">\n";
        layer = -1;
        double size = -1;
        for (const Label &label : scene.labels) {
            if (label.layer != layer || label.height != size) {
                if (layer >= 0)
                    out += "</g>\n";
                layer = label.layer;
                size = label.height;
                out += "<g fill=\""
                    + colourText(scene.layers.at(static_cast<std::size_t>(layer)).ink)
                    + "\" font-size=\"" + number(size * 1.3) + "\">\n";
            }
            // Digits stand about 0.7 of the font size tall: half of that below the centre.
            out += "<text x=\"" + number(label.x) + "\" y=\"" + number(0.35 * size * 1.3 - label.y)
                + "\">" + escaped(label.text) + "</text>\n";
        }
        out += "</g>\n</g>\n";
    }
    return out + "</svg>\n";
}

} // namespace sheet
