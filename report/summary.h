#pragma once

// What a counted layout says in words, composed once: the lines korvane-layout prints (and a
// drawing's caption), and the summary the window and the page show: the counts, the
// arrangement, the defaults a box stands for, the baffle figures, the legend paired with the
// drawing's layers and what a tube under the pointer is, as messages each translates.

#include "layout/study.h"
#include "report/message.h"

#include <optional>
#include <string>
#include <vector>

namespace report {

/// The inputs as understood (circle, pattern, centring, lanes with their spacings), then the
/// counts, one a line, as messages: a drawing's caption in the language wanted.
std::vector<Line> captionOf(const layout::Layout &layout);

/// The same in Chinese, a line each, as korvane-layout prints it.
std::string plainText(const layout::Layout &layout);

/// The default pass-lane spacings of a layout as the rules write them, each with its value
/// rounded down to what can be typed ("√3·p = 55.425625"), horizontal lanes first, each text
/// once: typed back, they lay the same tubes.
std::vector<std::string> laneDefaults(const layout::Layout &layout);

/// The words the window and the page say about what they show.
inline constexpr const char *kBafflesName = QT_TR_NOOP("折流板缺口");
inline constexpr const char *kStaleNote = QT_TR_NOOP("输入有误：为上次有效布置的数值");
inline constexpr const char *kStaleDrawing = QT_TR_NOOP("输入有误：图为上次有效的布置");
inline constexpr const char *kCounting = QT_TR_NOOP("计算中…");

/// One count shown under the drawing, in the order shown.
struct CountField
{
    const char *id; ///< the page's element id
    const char *objectName; ///< the window's
    const char *label; ///< in the window's words, with its key
    bool wide; ///< a line of its own
};
const std::vector<CountField> &countFields();

/// A box's text while it is empty: the default it stands for.
struct Hint
{
    const char *control; ///< the control's id (layout::Field's box in report/form.h)
    Message text; ///< empty for none
};

/// A legend line: its words and the drawing's layer whose swatch it has.
struct LegendItem
{
    Message text;
    int layer = 0;
};

struct Summary
{
    std::vector<Message> counts; ///< one for each of countFields(), in order
    Line arrangement; ///< the layout circle, the centring and what the bundle holds
    std::vector<Hint> hints;
    std::vector<Message> baffles; ///< one for each cut, the formulas' values as Formula
    Message baffleNote; ///< what the grey values are
    std::vector<LegendItem> legend;
    /// Why there is no drawing of a layout this large, when there is none.
    std::optional<Message> notDrawn;
};

/// What the window and the page show of a counted layout.
Summary summarise(const layout::Layout &layout);

/// The legend of the layout's drawing, each line with its layer in layoutScene()'s layers.
std::vector<LegendItem> legendOf(const layout::Layout &layout);

/// What a tube of the drawing is, for the pointer over it: its number in the hole list, where
/// it is and its pass, or why it was removed.
Message describeTube(const layout::Tube &tube, std::int64_t number);

/// A name for a layout's files without their extension: "korvane-600-25-32-2", the diameter
/// given, the tube, the pitch and the passes.
std::string fileStem(const layout::Layout &layout);

/// The summary for the page, with its messages.
nlohmann::ordered_json summaryJson(const Summary &summary);

} // namespace report
