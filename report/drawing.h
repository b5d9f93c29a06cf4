#pragma once

// The drawing of a layout, as a scene that every picture and CAD format is written from.

#include "layout/study.h"
#include "sheet/scene.h"

#include "report/message.h"

#include <functional>
#include <string>
#include <vector>

namespace report {

/// Where each kind of shape goes among a drawing's layers, which depend on the passes alone.
struct Layers
{
    std::vector<sheet::Layer> layers;
    int shell = 0, circle = 0, tubes = 0;
    int pass[layout::kMaxPasses] = {};
    int lanes = 0, removed = 0, centre = 0, rods = 0, baffle = 0, window = 0, text = 0, plate = 0,
        dummy = 0;
};
Layers layersOf(int passes);

/// How a drawing's words are put: each message in the language wanted, and whether its CAD
/// text is ASCII (English) rather than GBK (Chinese).
struct Wording
{
    std::function<std::string(const Message &)> render = [](const Message &m) { return plain(m); };
    bool ascii = false;
};

/// The shell and layout circles, every tube that fits (those left filled by pass, those in a
/// lane as outlines, those the centre tube takes in red), each lane's centre line and its two
/// edges dashed, the centre tube with its clearance circle, an impingement plate with its
/// nozzle's bore, the caption and a legend. With
/// `numbers`, each tube left is labelled with its number in the tube list. The caption and the
/// legend are in `wording`'s words.
sheet::Scene layoutScene(
    const layout::Layout &layout, bool numbers, const Wording &wording = Wording());

} // namespace report
