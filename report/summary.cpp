#include "report/summary.h"

#include "report/drawing.h"
#include "report/form.h"
#include "report/numbers.h"
#include "report/standard_values.h"

#include "layout/impingement.h"

#include <algorithm>

namespace report {

using layout::Centring;
using layout::Field;
using layout::Given;
using layout::Layout;
using layout::lengthText;

namespace {

    /// A pattern or centring in the window's words, as the form names its choice.
    const char *patternText(layout::Pattern pattern)
    {
        return choiceLabel(layout::Field::Pattern, layout::patternName(pattern));
    }

    const char *centringText(Centring centring)
    {
        return choiceLabel(layout::Field::Centring, layout::centringName(centring));
    }

    std::string list(const layout::Counts &counts)
    {
        std::string text;
        for (int i = 0; i < counts.passes; ++i)
            text += (i ? ", " : "") + std::to_string(counts.perPass[i]);
        return text;
    }

    Message literalLength(layout::Length length)
    {
        return Message::literal(lengthText(length));
    }

    /// A typed length in mm, and in the inches it was typed in, if it was.
    Message typedLength(const layout::Inputs &in, layout::Field field, layout::Length length)
    {
        std::string text = lengthText(length) + " mm";
        for (const auto &[typed, inches] : in.inches)
            if (typed == field)
                text += " (" + inches + ")";
        return Message::literal(text);
    }

    /// What was typed in inches, each in the millimetres it was read as: "，d = 19.05 mm (3/4 in)".
    void addInches(Line &line, const Layout &layout)
    {
        const layout::Inputs &in = layout.inputs;
        const struct
        {
            Field field;
            const char *symbol;
            std::optional<layout::Length> length; ///< none for a centre tube of none
        } lengths[] = { { Field::Diameter, in.given == Given::Shell ? "Di" : "DL", in.diameter },
            { Field::Tube, "d", in.tube }, { Field::Pitch, "p", in.pitch },
            { Field::Clearance, "b", layout.clearance }, { Field::CentreTube, "d0", in.centreTube },
            { Field::BendRadius, "R", layout::bendRadiusOf(in) } };
        for (const auto &[field, inches] : in.inches)
            for (const auto &one : lengths)
                if (one.field == field && one.length)
                    line.push_back(Message(QT_TR_NOOP("，%1 = %2"),
                        { Message::literal(one.symbol), typedLength(in, field, *one.length) }));
    }

    Line arrangementOf(const Layout &layout)
    {
        Line line { Message(QT_TR_NOOP("布管限定圆 DL %1 mm，%2"),
            { literalLength(layout.layoutCircle), Message(centringText(layout.centring)) }) };
        if (layout.otherTotal)
            line.push_back(Message(
                QT_TR_NOOP("（另一种布置 %1 管）"), { Message::number(*layout.otherTotal) }));
        const layout::TieRodCount &rods = layout.tieRods;
        if (rods.count > 0)
            line.push_back(rods.diameter
                    ? Message(QT_TR_NOOP("，拉杆 %1 根，直径 %2 mm"),
                        { Message::number(rods.count), literalLength(*rods.diameter) })
                    : Message(QT_TR_NOOP("，拉杆 %1 根"), { Message::number(rods.count) }));
        if (layout.inputs.bundle == layout::Bundle::UTube)
            line.push_back(
                Message(QT_TR_NOOP("，U形管 %1 根"), { Message::number(layout.uTubes) }));
        if (!layout.fromStandard.empty())
            line.push_back(Message(QT_TR_NOOP("，按 GB/T 151 取值")));
        addInches(line, layout);
        if (layout::isRibbon(layout.inputs))
            line.push_back(Message(QT_TR_NOOP("，带状式")));
        if (layout::headSetsCircle(layout.inputs))
            line.push_back(Message(QT_TR_NOOP("，%1"),
                { Message(
                    choiceLabel(layout::Field::Head, layout::headName(layout.inputs.head))) }));
        return line;
    }

    /// The defaults the boxes left empty stand for, as they can be typed back.
    std::vector<Hint> hintsOf(const Layout &layout)
    {
        const layout::Field spacingField = layout::Field::LaneSpacing;
        std::vector<Message> spacings;
        for (const std::string &text : laneDefaults(layout))
            spacings.push_back(Message::literal(text));
        // Under shifted lanes the default is GB/T 151's, one value for every lane.
        if (layout.standardSpacing)
            spacings.push_back(
                Message(QT_TR_NOOP("GB/T 151 %1"), { literalLength(*layout.standardSpacing) }));
        Message spacing;
        if (layout.laneCount == 0)
            spacing = Message(QT_TR_NOOP("单管程无隔板槽"));
        else if (!spacings.empty())
            spacing = Message(QT_TR_NOOP("默认 %1 mm"), { Message::join(spacings, ", ") });
        const bool standardPitch =
            std::count(layout.fromStandard.begin(), layout.fromStandard.end(), layout::Field::Pitch)
            > 0;
        const Message pitch = standardPitch
            ? Message(QT_TR_NOOP("GB/T 151 %1 mm"), { literalLength(layout.inputs.pitch) })
            : Message();
        const Message clearance = layout.inputs.given == Given::Shell
            ? Message(QT_TR_NOOP("默认 %1 mm"), { literalLength(layout.clearance) })
            : Message(QT_TR_NOOP("给定布管限定圆时不用"));
        return { { controlOf(spacingField)->id, spacing },
            { controlOf(layout::Field::Pitch)->id, pitch },
            { controlOf(layout::Field::Clearance)->id, clearance } };
    }

    /// A value of the uniform-density formulas, shown apart from the exact figure before it.
    Message formulaValue(const std::optional<double> &value, int digits)
    {
        return Message::formula(" (" + (value ? fixedText(*value, digits) : "—") + ")");
    }

    Message baffleLine(const layout::Baffle &b)
    {
        return Message(QT_TR_NOOP("折流板缺口 %1%：缺口内管数 %2，切边管 %3；错流管数比 Fc %4%5；"
                                  "错流管排数 Nc %6%7；缺口内有效管排数 Ncw %8%9"),
            { literalLength(b.cut), Message::number(b.windowTubes), Message::number(b.edgeTubes),
                Message::literal(fixedText(b.fc, 4)), formulaValue(b.formula.fc, 4),
                Message::number(b.nc), formulaValue(b.formula.nc, 2),
                Message::literal(fixedText(b.ncw, 1)), formulaValue(b.formula.ncw, 2) });
    }

} // namespace

std::vector<std::string> laneDefaults(const Layout &layout)
{
    std::vector<std::string> shown;
    for (const bool horizontal : { true, false }) {
        for (int i = 0; i < layout.laneCount; ++i) {
            const layout::Lane &lane = layout.lanes[static_cast<std::size_t>(i)];
            if (lane.horizontal != horizontal || !lane.formula)
                continue;
            const std::string text = std::string(lane.formula) + " = " + lengthText(lane.typable);
            if (std::find(shown.begin(), shown.end(), text) == shown.end())
                shown.push_back(text);
        }
    }
    return shown;
}

namespace {

    /// One baffle cut's figures on two lines, the formulas' beside them.
    void addBaffleLines(std::vector<Line> &lines, const layout::Baffle &b)
    {
        const auto formula = [](const std::optional<double> &value, int digits) {
            return Message(QT_TR_NOOP("（公式 %1）"),
                { Message::literal(value ? fixedText(*value, digits) : std::string("—")) });
        };
        lines.push_back({ Message(QT_TR_NOOP("折流板缺口 %1%：切线 y = ±%2 mm；缺口内管数 %3 "
                                             "管，切边管 %4 管"),
            { literalLength(b.cut), Message::literal(roundedText(b.cutLine)),
                Message::number(b.windowTubes), Message::number(b.edgeTubes) }) });
        lines.push_back({ Message(QT_TR_NOOP("  错流管数比 Fc %1%2；错流管排数 Nc %3%4；"
                                             "缺口内有效管排数 Ncw %5%6"),
            { Message::literal(fixedText(b.fc, 4)), formula(b.formula.fc, 4), Message::number(b.nc),
                formula(b.formula.nc, 2), Message::literal(fixedText(b.ncw, 1)),
                formula(b.formula.ncw, 2) }) });
    }

    /// The head's rule for the layout circle with its numbers, for the designer to check.
    Message headRule(const Layout &layout)
    {
        const layout::Inputs &in = layout.inputs;
        const Message di = literalLength(in.diameter), dl = literalLength(layout.layoutCircle);
        if (in.head == layout::Head::Packed)
            return Message(QT_TR_NOOP("填料函式：DL = Di − 37.5 = %1 − 37.5 = %2 mm"), { di, dl });
        if (in.head == layout::Head::PullThrough)
            return Message(QT_TR_NOOP("拉出式浮头：DL = (Di − 85.6625) / 1.009375 = (%1 − 85.6625) "
                                      "/ 1.009375，舍至 0.001 mm = %2 mm"),
                { di, dl });
        const layout::FloatingAllowances a = *layout::floatingAllowances(in.diameter);
        return Message(
            QT_TR_NOOP("浮头式：DL = Di − 2(b1 + b2 + b) = %1 − 2(%2 + %3 + %4) = %5 mm"),
            { di, literalLength(a.b1), literalLength(a.b2), literalLength(a.b), dl });
    }

    /// The inputs as understood: circle, tube and pitch, pattern and centring, passes and lanes.
    void addInputLines(std::vector<Line> &lines, const Layout &layout)
    {
        const layout::Inputs &in = layout.inputs;
        if (layout::headSetsCircle(in)) {
            lines.push_back({ Message(QT_TR_NOOP("壳体内径 Di %1，布管限定圆 DL %2 mm"),
                { typedLength(in, Field::Diameter, in.diameter),
                    literalLength(layout.layoutCircle) }) });
            lines.push_back({ headRule(layout) });
        } else if (in.given == Given::Shell)
            lines.push_back(
                { Message(QT_TR_NOOP("壳体内径 Di %1，边缘间隙 b %2，布管限定圆 DL %3 mm"),
                    { typedLength(in, Field::Diameter, in.diameter),
                        typedLength(in, Field::Clearance, layout.clearance),
                        literalLength(layout.layoutCircle) }) });
        else
            lines.push_back({ Message(QT_TR_NOOP("布管限定圆 DL %1"),
                { typedLength(in, Field::Diameter, in.diameter) }) });
        Line tube { Message(QT_TR_NOOP("管子外径 d %1，管心距 p %2，布管方式 %3，"),
            { typedLength(in, Field::Tube, in.tube), typedLength(in, Field::Pitch, in.pitch),
                Message(patternText(in.pattern)) }) };
        if (in.centring == Centring::Best)
            tube.push_back(Message(QT_TR_NOOP("最佳：%1（%2 %3 管）"),
                { Message(centringText(layout.centring)),
                    Message(centringText(layout.centring == Centring::OnTube ? Centring::Straddle
                                                                             : Centring::OnTube)),
                    Message::number(*layout.otherTotal) }));
        else
            tube.push_back(Message(centringText(layout.centring)));
        lines.push_back(tube);
        Line passes { Message(QT_TR_NOOP("管程数 %1"), { Message::number(in.passes) }) };
        if (layout::isRibbon(in))
            passes.push_back(Message(QT_TR_NOOP("，带状式")));
        if (layout.laneCount == 0)
            passes.push_back(Message(QT_TR_NOOP("，无隔板槽")));
        for (int i = 0; i < layout.laneCount; ++i) {
            const layout::Lane &lane = layout.lanes[i];
            const char *first = lane.horizontal ? QT_TR_NOOP("，隔板槽 水平 y = %1 mm，Sn = %2 mm")
                                                : QT_TR_NOOP("，隔板槽 垂直 x = %1 mm，Sn = %2 mm");
            const char *next = lane.horizontal ? QT_TR_NOOP("；水平 y = %1 mm，Sn = %2 mm")
                                               : QT_TR_NOOP("；垂直 x = %1 mm，Sn = %2 mm");
            passes.push_back(Message(i ? next : first,
                { Message::literal(roundedText(lane.position)),
                    Message::literal(roundedText(lane.spacing)) }));
        }
        lines.push_back(passes);
        if (in.lanes == layout::LaneModel::Shift && layout.laneCount > 0)
            lines.push_back({ Message(QT_TR_NOOP("隔板槽方式 移位：Sn 为槽两侧管排的中心距")) });
    }

    /// The plate and the shell entrance area around it, as design practice checks it.
    void addPlateLines(std::vector<Line> &lines, const Layout &layout)
    {
        const layout::Impingement &plate = *layout.inputs.impingement;
        const layout::EntranceArea area = layout::entranceAreaOf(layout.inputs);
        lines.push_back(
            { Message(QT_TR_NOOP("防冲板：接管内径 Dn %1 mm，板宽 A %2 mm，板顶距壳体顶部 "
                                 "h %3 mm，板厚 t %4 mm"),
                { literalLength(plate.nozzle), literalLength(plate.plate),
                    literalLength(plate.height), literalLength(plate.thickness) }) });
        lines.push_back({ Message(
            QT_TR_NOOP("  壳程进口面积 π·Dn·(h1 + h2)/2 = %1 mm²（h1 %2 mm，h2 "
                       "%3 mm），接管面积 %4 mm²"),
            { Message::literal(fixedText(area.entrance, 1)),
                Message::literal(fixedText(area.h1, 3)), Message::literal(fixedText(area.h2, 3)),
                Message::literal(fixedText(area.nozzle, 1)) }) });
    }

    /// What the designer's edits took, and each edit not applied with its site and why.
    void addEditLines(std::vector<Line> &lines, const Layout &layout)
    {
        const layout::Counts &c = layout.counts;
        lines.push_back({ Message(QT_TR_NOOP("设计去掉 %1 管，假管 %2 根"),
            { Message::number(c.editRemoved), Message::number(c.dummyTubes) }) });
        for (const layout::EditResult &result : layout.edits) {
            const char *why = nullptr;
            switch (result.outcome) {
            case layout::EditOutcome::Applied:
                continue;
            case layout::EditOutcome::NotASite:
                why = QT_TR_NOOP("不是此排列的管位");
                break;
            case layout::EditOutcome::Outside:
                why = QT_TR_NOOP("在布管限定圆外");
                break;
            case layout::EditOutcome::InLane:
                why = QT_TR_NOOP("在隔板槽内");
                break;
            case layout::EditOutcome::CentreTube:
                why = QT_TR_NOOP("让位于中心管");
                break;
            case layout::EditOutcome::UnderPlate:
                why = QT_TR_NOOP("在防冲板下");
                break;
            }
            lines.push_back({ Message(QT_TR_NOOP("管位 %1 的编辑未用：%2"),
                { Message::literal(layout::siteText(result.edit.site)), Message(why) }) });
        }
    }

    /// A title as one line of a caption: a line break or another control character, which
    /// would break a DXF's text, is a space.
    std::string oneLine(std::string text)
    {
        for (char &c : text)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                c = ' ';
        return text;
    }

    /// "a、b、c" in the words wanted, however many.
    Message listOf(const std::vector<Message> &items)
    {
        Message list = items.empty() ? Message() : items.front();
        for (std::size_t i = 1; i < items.size(); ++i)
            list = Message(QT_TR_NOOP("%1、%2"), { list, items[i] });
        return list;
    }

} // namespace

std::vector<Line> captionOf(const Layout &layout)
{
    const layout::Inputs &in = layout.inputs;
    std::vector<Line> lines;
    if (!in.title.empty())
        lines.push_back({ Message::literal(oneLine(in.title)) });
    addInputLines(lines, layout);
    if (in.bundle == layout::Bundle::UTube)
        lines.push_back({ Message(QT_TR_NOOP("管束 U形管，最小弯管半径 R %1"),
            { typedLength(in, Field::BendRadius, layout::bendRadiusOf(in)) }) });
    if (!layout.fromStandard.empty()) {
        std::vector<Message> names;
        for (const layout::Field field : layout.fromStandard)
            names.emplace_back(standardValue(field).text);
        lines.push_back({ Message(QT_TR_NOOP("按 GB/T 151 取值：%1"), { listOf(names) }) });
    }
    if (in.centreTube)
        lines.push_back({ Message(QT_TR_NOOP("中心管外径 d0 %1，去管圆直径 %2 mm"),
            { typedLength(in, Field::CentreTube, *in.centreTube),
                literalLength(layout::centreCircleOf(in)) }) });
    if (in.impingement)
        addPlateLines(lines, layout);
    const layout::Counts &c = layout.counts;
    const auto count = [&lines](const char *text, std::int64_t value) {
        lines.push_back({ Message(text, { Message::number(value) }) });
    };
    count(QT_TR_NOOP("布管限定圆内管数 %1 管"), c.inCircle);
    count(QT_TR_NOOP("隔板槽去掉 %1 管"), c.laneRemoved);
    count(QT_TR_NOOP("中心管去掉 %1 管"), c.centreRemoved);
    if (in.impingement)
        count(QT_TR_NOOP("防冲板去掉 %1 管"), c.impingementRemoved);
    if (!layout.edits.empty())
        addEditLines(lines, layout);
    if (layout.tieRods.count > 0)
        lines.push_back({ layout.tieRods.diameter
                ? Message(QT_TR_NOOP("拉杆 %1 根，直径 %2 mm"),
                    { Message::number(layout.tieRods.count),
                        literalLength(*layout.tieRods.diameter) })
                : Message(QT_TR_NOOP("拉杆 %1 根"), { Message::number(layout.tieRods.count) }) });
    count(QT_TR_NOOP("总管数 %1 管"), c.total);
    if (c.passes > 1) {
        const std::optional<Balance> balance = balanceOf(c.perPass.data(), c.passes, c.total);
        lines.push_back(
            { balance ? Message(QT_TR_NOOP("各管程管数 %1 管，最大偏差 %2%"),
                  { Message::literal(list(c)), Message::literal(balance->percentText()) })
                      : Message(QT_TR_NOOP("各管程管数 %1 管"), { Message::literal(list(c)) }) });
    }
    if (in.bundle == layout::Bundle::UTube)
        count(QT_TR_NOOP("U形管 %1 根"), layout.uTubes);
    for (const layout::Baffle &baffle : layout.baffles)
        addBaffleLines(lines, baffle);
    return lines;
}

std::string plainText(const Layout &layout)
{
    std::string text;
    for (const Line &line : captionOf(layout))
        text += plain(line) + "\n";
    return text;
}

const std::vector<CountField> &countFields()
{
    // The total has a key of its own, as the figure most often wanted.
    static const std::vector<CountField> fields = {
        { "in-circle", "inCircle", QT_TR_NOOP("布管限定圆内管数"), false },
        { "lane-removed", "laneRemoved", QT_TR_NOOP("隔板槽去掉"), false },
        { "centre-removed", "centreRemoved", QT_TR_NOOP("中心管去掉"), false },
        { "impingement-removed", "impingementRemoved", QT_TR_NOOP("防冲板去掉"), false },
        { "edit-removed", "editRemoved", QT_TR_NOOP("设计去掉"), false },
        { "dummy-tubes", "dummyTubes", QT_TR_NOOP("假管"), false },
        { "total", "total", QT_TR_NOOP("总管数(&L)"), false },
        { "per-pass", "perPass", QT_TR_NOOP("各管程管数"), true },
    };
    return fields;
}

std::vector<LegendItem> legendOf(const Layout &layout)
{
    const Layers layers = layersOf(layout.counts.passes);
    std::vector<LegendItem> legend;
    legend.reserve(static_cast<std::size_t>(layout.counts.passes) + 3 + layout.baffles.size());
    for (int i = 0; i < layout.counts.passes; ++i)
        legend.push_back(
            { Message(QT_TR_NOOP("第 %1 管程 %2 管"),
                  { Message::number(i + 1), Message::number(layout.counts.perPass[i]) }),
                layers.pass[i] });
    if (layout.tieRods.count > 0)
        legend.push_back(
            { Message(QT_TR_NOOP("拉杆 %1 根"), { Message::number(layout.tieRods.count) }),
                layers.rods });
    if (layout.inputs.impingement)
        legend.push_back({ Message(QT_TR_NOOP("防冲板去掉 %1 管"),
                               { Message::number(layout.counts.impingementRemoved) }),
            layers.plate });
    if (layout.counts.dummyTubes > 0)
        legend.push_back(
            { Message(QT_TR_NOOP("假管 %1 根"), { Message::number(layout.counts.dummyTubes) }),
                layers.dummy });
    for (const layout::Baffle &cut : layout.baffles)
        legend.push_back({ Message(QT_TR_NOOP("折流板缺口 %1%，切边管 %2"),
                               { literalLength(cut.cut), Message::number(cut.edgeTubes) }),
            layers.baffle });
    if (layout.inputs.bundle == layout::Bundle::UTube)
        legend.push_back({ Message(QT_TR_NOOP("U形管 %1 根，R = %2 mm"),
                               { Message::number(layout.uTubes),
                                   literalLength(layout::bendRadiusOf(layout.inputs)) }),
            layers.lanes });
    return legend;
}

Summary summarise(const Layout &layout)
{
    Summary summary;
    const layout::Counts &c = layout.counts;
    std::vector<Message> perPass;
    perPass.reserve(static_cast<std::size_t>(c.passes));
    for (int i = 0; i < c.passes; ++i)
        perPass.push_back(Message::number(c.perPass[i]));
    summary.counts = { Message::number(c.inCircle), Message::number(c.laneRemoved),
        Message::number(c.centreRemoved), Message::number(c.impingementRemoved),
        Message::number(c.editRemoved), Message::number(c.dummyTubes), Message::number(c.total),
        Message::join(perPass, " / ") };
    if (const std::optional<Balance> balance = balanceOf(c.perPass.data(), c.passes, c.total))
        summary.counts.back() = Message(QT_TR_NOOP("%1，最大偏差 %2%"),
            { summary.counts.back(), Message::literal(balance->percentText()) });
    summary.arrangement = arrangementOf(layout);
    summary.hints = hintsOf(layout);
    for (const layout::Baffle &baffle : layout.baffles)
        summary.baffles.push_back(baffleLine(baffle));
    summary.baffleNote = Message(QT_TR_NOOP("括号内灰色数值为均布公式的估算"));
    summary.legend = legendOf(layout);
    if (c.inCircle > static_cast<std::int64_t>(sheet::kMaxDrawnTubes))
        summary.notDrawn = Message(QT_TR_NOOP("布管限定圆内 %1 管，超过 %2 管，不再绘图"),
            { Message::number(c.inCircle),
                Message::number(static_cast<std::int64_t>(sheet::kMaxDrawnTubes)) });
    return summary;
}

Message describeTube(const layout::Tube &tube, std::int64_t number)
{
    const Message x = Message::literal(millimetresText(tube.x)),
                  y = Message::literal(millimetresText(tube.y));
    if (tube.pass == 0)
        return Message(QT_TR_NOOP("x = %1 mm，y = %2 mm\n%3"),
            { x, y,
                tube.removed == layout::Removed::Lane ? Message(QT_TR_NOOP("在隔板槽内，已去掉"))
                    : tube.removed == layout::Removed::Plate
                    ? Message(QT_TR_NOOP("在防冲板下，已去掉"))
                    : tube.removed == layout::Removed::Edit ? Message(QT_TR_NOOP("设计去掉"))
                    : tube.removed == layout::Removed::Dummy
                    ? Message(QT_TR_NOOP("假管"))
                    : Message(QT_TR_NOOP("让位于中心管，已去掉")) });
    return Message(tube.tieRod ? QT_TR_NOOP("管 %1：拉杆\nx = %2 mm，y = %3 mm\n第 %4 管程")
                               : QT_TR_NOOP("管 %1\nx = %2 mm，y = %3 mm\n第 %4 管程"),
        { Message::number(number), x, y, Message::number(tube.pass) });
}

std::string fileStem(const Layout &layout)
{
    const layout::Inputs &in = layout.inputs;
    return "korvane-" + lengthText(in.diameter) + "-" + lengthText(in.tube) + "-"
        + lengthText(in.pitch) + "-" + std::to_string(in.passes);
}

nlohmann::ordered_json summaryJson(const Summary &summary)
{
    using Json = nlohmann::ordered_json;
    Json counts = Json::array(), hints = Json::array(), baffles = Json::array(),
         legend = Json::array();
    for (const Message &count : summary.counts)
        counts.push_back(messageJson(count));
    for (const Hint &hint : summary.hints)
        hints.push_back({ { "control", hint.control }, { "text", messageJson(hint.text) } });
    for (const Message &baffle : summary.baffles)
        baffles.push_back(messageJson(baffle));
    for (const LegendItem &item : summary.legend)
        legend.push_back({ { "text", messageJson(item.text) }, { "layer", item.layer } });
    return { { "counts", counts }, { "arrangement", lineJson(summary.arrangement) },
        { "hints", hints }, { "baffles", baffles },
        { "baffle_note", messageJson(summary.baffleNote) }, { "legend", legend },
        { "not_drawn", summary.notDrawn ? messageJson(*summary.notDrawn) : Json(nullptr) } };
}

} // namespace report
