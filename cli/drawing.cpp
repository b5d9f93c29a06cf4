#include "cli/drawing.h"

#include "cli/calculation.h"

#include "engine/tube_count.h"
#include "runtime/cstr.h"

#include <algorithm>

namespace cli {
namespace {

    using namespace sheet::palette;

    // Colours: each kind of circle has its own, so a reader (or a test) tells them apart.
    constexpr sheet::Colour kTube { 0xf2, 0xf2, 0xf2 };
    constexpr sheet::Colour kKnifeEdge { 0xff, 0x8c, 0x00 };

    std::string mm(const char *caption, double value)
    {
        return std::string(caption) + " " + runtime::CStr(value) + " mm";
    }

} // namespace

sheet::Scene countScene(const Drawing &drawing)
{
    sheet::Scene scene;
    scene.title = "Korvane tube sheet";
    const int shell = scene.addLayer({ "SHELL", 7, kInk, std::nullopt, 2 });
    const int layoutCircle = scene.addLayer({ "LAYOUT", 5, kLayoutCircle, std::nullopt, 1 });
    const int tubes = scene.addLayer({ "TUBES", 7, kInk, kTube, 0.5 });
    const int removed = scene.addLayer({ "REMOVED", 1, kRemovedInk, kRemovedTube, 0.5 });
    const int centre = scene.addLayer({ "CENTRE", 6, kInk, kCentreTube, 0.5 });
    const int knifeEdge = scene.addLayer({ "KNIFE_EDGE", 30, kKnifeEdge, std::nullopt, 1 });
    scene.textLayer = scene.addLayer({ "TEXT", 7, kInk, std::nullopt, 1 });

    // The centre circle as the centre count drew it: the tube and its clearance.
    const double DX = drawing.zxg != 0 ? engine::centreCircle(drawing.zxg) : 0.0;
    scene.extent = std::max({ drawing.di, drawing.Dl, DX, drawing.d });

    scene.circles.push_back({ 0, 0, drawing.di, shell });
    scene.circles.push_back({ 0, 0, drawing.Dl, layoutCircle });
    for (const bool wanted : { false, true })
        for (const engine::Tube &tube : drawing.sheet.tubes)
            if (tube.removed == wanted)
                scene.circles.push_back({ tube.x, tube.y, drawing.d, wanted ? removed : tubes });
    if (drawing.zxg != 0) {
        scene.circles.push_back({ 0, 0, drawing.zxg, centre });
        scene.circles.push_back({ 0, 0, DX, centre, true, true });
    }
    // A ring a little wider than the tube, whatever the picture's scale.
    const auto &edges = drawing.sheet.knifeEdges;
    for (std::size_t i = 0; i < std::min(edges.size(), kMostKnifeEdgesListed); ++i)
        scene.circles.push_back({ edges[i].tube.x, edges[i].tube.y, drawing.d + scene.extent / 64,
            knifeEdge, false, true });

    scene.caption.push_back(mm("壳内经", drawing.di) + "    " + mm("管心距", drawing.gxj) + "    "
        + mm("管外经", drawing.d) + "    " + mm("中心管外径", drawing.zxg));
    std::string counts = "总的管束" + drawing.total;
    if (drawing.zxg != 0)
        counts += "    中心去掉的管束" + drawing.removed + "    最后管束" + drawing.final;
    scene.caption.push_back(counts);
    if (!drawing.sheet.knifeEdges.empty())
        scene.caption.push_back(std::to_string(drawing.sheet.knifeEdges.size())
            + " tube positions within 1e-6 mm of a circle, ringed: rounding decides them");
    return scene;
}

} // namespace cli
