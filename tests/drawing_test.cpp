// Drawings: the layout's scene against its counts, and the writers' files.

#include "report/drawing.h"
#include "report/summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <tuple>

namespace {

using layout::Centring;
using layout::Pattern;

layout::Inputs inputs(const char *shell, const char *tube, const char *pitch, Pattern pattern,
    int passes, Centring centring, const char *centreTube = nullptr)
{
    layout::Inputs in;
    in.diameter = layout::parseLength(shell, "shell");
    in.tube = layout::parseLength(tube, "tube");
    in.pitch = layout::parseLength(pitch, "pitch");
    in.pattern = pattern;
    in.passes = passes;
    in.centring = centring;
    if (centreTube)
        in.centreTube = layout::parseLength(centreTube, "centre tube");
    return in;
}

std::map<std::string, int> circlesByLayer(const sheet::Scene &scene)
{
    std::map<std::string, int> circles;
    for (const sheet::Circle &circle : scene.circles)
        ++circles[scene.layers.at(circle.layer).name];
    return circles;
}

TEST(LayoutScene, ShapesMatchTheCountsAndTheNumbersRunRowByRow)
{
    const std::vector<layout::Inputs> cases = {
        inputs("600", "25", "32", Pattern::Triangular, 4, Centring::OnTube, "57"),
        inputs("600", "25", "32", Pattern::Triangular, 1, Centring::Straddle),
        inputs("1184", "28", "36", Pattern::RotatedTriangular, 2, Centring::Best, "40"),
        inputs("900", "25", "32", Pattern::Square, 6, Centring::Straddle),
        inputs("1200", "19.05", "25.4", Pattern::RotatedSquare, 8, Centring::Best, "100"),
        inputs("40", "19", "25", Pattern::Square, 2, Centring::OnTube),
    };
    for (const layout::Inputs &in : cases) {
        const layout::Layout layout = layout::study(in);
        const layout::Counts &c = layout.counts;
        const sheet::Scene scene = report::layoutScene(layout, true);
        SCOPED_TRACE(report::plainText(layout));

        auto circles = circlesByLayer(scene);
        EXPECT_EQ(circles["SHELL"], 1);
        EXPECT_EQ(circles["LAYOUT"], 1);
        for (int i = 0; i < c.passes; ++i)
            EXPECT_EQ(circles["PASS_" + std::to_string(i + 1)], c.perPass[i]);
        EXPECT_EQ(circles["REMOVED"], c.laneRemoved + c.centreRemoved);
        EXPECT_EQ(circles["CENTRE"], in.centreTube ? 2 : 0);
        EXPECT_EQ(scene.legend.size(), static_cast<std::size_t>(c.passes));

        // Read top to bottom and left to right, the labels count 1, 2, 3... and each stands
        // on a tube that is left.
        std::vector<sheet::Label> labels = scene.labels;
        ASSERT_EQ(static_cast<std::int64_t>(labels.size()), c.total);
        std::sort(labels.begin(), labels.end(),
            [](const auto &a, const auto &b) { return a.y != b.y ? a.y > b.y : a.x < b.x; });
        std::map<std::pair<double, double>, std::string> kept;
        for (const sheet::Circle &circle : scene.circles)
            if (scene.layers.at(circle.layer).name.rfind("PASS_", 0) == 0)
                kept[{ circle.x, circle.y }] = scene.layers.at(circle.layer).name;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].text, std::to_string(i + 1));
            EXPECT_EQ(kept.count({ labels[i].x, labels[i].y }), 1u) << labels[i].text;
        }

        // Three lines a lane, each a chord of the layout circle.
        const double r = layout::millimetres(layout.layoutCircle) / 2;
        EXPECT_LE(scene.lines.size(), static_cast<std::size_t>(3 * layout.laneCount));
        for (const sheet::Line &line : scene.lines) {
            EXPECT_NEAR(std::hypot(line.x1, line.y1), r, 1e-9 * r);
            EXPECT_NEAR(std::hypot(line.x2, line.y2), r, 1e-9 * r);
            EXPECT_TRUE(line.x1 == line.x2 || line.y1 == line.y2);
        }
    }
}

// --- The writers ---------------------------------------------------------------------------

sheet::Scene tinyScene()
{
    sheet::Scene scene;
    scene.extent = 100;
    const int layer = scene.addLayer({ "PASS_1", 3, {}, sheet::Colour { 1, 2, 3 }, 1 });
    scene.textLayer = scene.addLayer({ "TEXT", 7, {}, std::nullopt, 1 });
    scene.circles = { { 1e-7, -1234567.125, 25, layer }, { 0, 0, 25, layer, true, true } };
    scene.lines = { { -50, 0, 50, 0, layer, true } };
    scene.labels = { { 0, 0, 5, "7", scene.textLayer } };
    scene.caption = { "总管数 7 管 <&> 30°", "a\nb 😀" };
    return scene;
}

/// A DXF file's groups: a code line and a value line each.
std::vector<std::pair<int, std::string>> groupsOf(const std::string &file)
{
    std::istringstream lines(file);
    std::string code, value;
    std::vector<std::pair<int, std::string>> groups;
    while (std::getline(lines, code) && std::getline(lines, value))
        groups.emplace_back(std::stoi(code), value);
    return groups;
}

TEST(Dxf, GroupsTextAndNumbers)
{
    // Chinese words go out as GBK; English ones as ASCII, every other character escaped.
    struct Case
    {
        bool ascii;
        std::vector<std::tuple<int, std::string, const char *>> expected;
    };
    const std::vector<Case> cases = {
        { false,
            { { 1, "AC1009", "version" }, { 3, "ANSI_936", "code page" },
                { 10, "0.0000001", "tiny coordinates in fixed point" },
                { 20, "-1234567.125", "large coordinates exactly" }, { 40, "12.5", "radius" },
                { 6, "DASHED", "dashed lines and circles" }, { 1, "7", "tube number" },
                // GBK bytes for the Chinese and the degree sign, an escape for what GBK lacks,
                // and no line break inside a value.
                { 1, "\xd7\xdc\xb9\xdc\xca\xfd 7 \xb9\xdc <&> 30\xa1\xe3", "GBK caption" },
                { 1, "a b \\U+1F600", "escaped caption" } } },
        { true,
            { { 3, "ANSI_1252", "code page" }, { 1, "7", "tube number" },
                { 1, "\\U+603B\\U+7BA1\\U+6570 7 \\U+7BA1 <&> 30\\U+00B0", "escaped caption" },
                { 1, "a b \\U+1F600", "escaped beyond the BMP" } } },
    };
    for (const Case &one : cases) {
        sheet::Scene scene = tinyScene();
        scene.asciiText = one.ascii;
        const std::string file = sheet::dxf(scene);
        const auto groups = groupsOf(file);
        ASSERT_GE(groups.size(), 4u);
        EXPECT_EQ(groups.front(), (std::pair<int, std::string>(0, "SECTION")));
        EXPECT_EQ(groups.back(), (std::pair<int, std::string>(0, "EOF")));
        for (const auto &[groupCode, text, what] : one.expected)
            EXPECT_NE(
                std::find(groups.begin(), groups.end(), std::pair(groupCode, text)), groups.end())
                << what << (one.ascii ? " (ASCII)" : " (GBK)");
        const bool allAscii = std::all_of(
            file.begin(), file.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        EXPECT_EQ(allAscii, one.ascii);
    }
}

TEST(Svg, ExactCoordinatesAndEscapedText)
{
    const std::string file = sheet::svg(tinyScene());
    EXPECT_EQ(file.rfind("<?xml", 0), 0u);
    EXPECT_NE(
        file.find("<circle cx=\"1e-07\" cy=\"-1234567.125\" r=\"12.5\"/>"), std::string::npos);
    EXPECT_NE(file.find("总管数 7 管 &lt;&amp;&gt; 30°"), std::string::npos);
    EXPECT_EQ(file.find("<&>"), std::string::npos);
    EXPECT_NE(file.find("fill=\"none\""), std::string::npos); // the hollow circle
    EXPECT_NE(file.find("stroke-dasharray"), std::string::npos);
    const auto count = [&file](const std::string &tag) {
        std::size_t n = 0;
        for (std::size_t at = file.find(tag); at != std::string::npos; at = file.find(tag, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("<circle"), 2u);
    EXPECT_EQ(count("<line"), 1u);
    EXPECT_EQ(count("<g"), count("</g>"));
}

TEST(Picture, PngAndPdfFromTheModule)
{
    const sheet::Scene scene = tinyScene();
    EXPECT_EQ(sheet::render(scene, sheet::Format::Png).substr(0, 4), "\x89PNG");
    EXPECT_EQ(sheet::render(scene, sheet::Format::Pdf).substr(0, 4), "%PDF");
}

TEST(Format, ToldByTheExtensionInAnyCase)
{
    const std::vector<std::pair<const char *, std::optional<sheet::Format>>> cases = {
        { "a.svg", sheet::Format::Svg },
        { "A.PNG", sheet::Format::Png },
        { "dir.x/sheet.Pdf", sheet::Format::Pdf },
        { "sheet.dxf", sheet::Format::Dxf },
        { "sheet.dxf.bak", std::nullopt },
        { "dxf", std::nullopt },
        { "a.dxf/sheet", std::nullopt },
        { "sheet.", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto &[file, format] : cases)
        EXPECT_EQ(sheet::formatOf(file), format) << file;
}

} // namespace
