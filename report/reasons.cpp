#include "report/reasons.h"

#include "report/form.h"

namespace report {

using layout::Problem;

namespace {

    /// The reasons by problem, where the field does not change the words.
    constexpr struct
    {
        Problem problem;
        const char *reason;
    } kReasons[] = {
        { Problem::NotANumber, QT_TR_NOOP("不是数字") },
        { Problem::TooManyDecimals, QT_TR_NOOP("小数不能超过 6 位") },
        { Problem::TooLarge, QT_TR_NOOP("不能大于 100000 mm") },
        { Problem::NotPositive, QT_TR_NOOP("须大于 0") },
        { Problem::Negative, QT_TR_NOOP("不能为负") },
        { Problem::PitchBelowTube, QT_TR_NOOP("小于管子外径：管子会重叠") },
        { Problem::PassCount, QT_TR_NOOP("须为 1、2、4、6 或 8") },
        { Problem::VerticalWithoutHorizontal, QT_TR_NOOP("竖直隔板槽须与水平隔板槽一同给出") },
        { Problem::ClearanceWithoutShell, QT_TR_NOOP("给定布管限定圆时不用边缘间隙") },
        { Problem::TooManyPitches, QT_TR_NOOP("布管限定圆半径超过 100 万个管心距，行数太多") },
        { Problem::Empty, QT_TR_NOOP("请输入数值") },
        { Problem::Missing, QT_TR_NOOP("请输入数值") },
        { Problem::SpacingBelowTube, QT_TR_NOOP("移位时 Sn 不能小于管子外径：槽两侧的管子会重叠") },
        { Problem::NotInTable, QT_TR_NOOP("GB/T 151 没有此管径的管心距，请输入数值") },
        { Problem::NeedsOnTube, QT_TR_NOOP("移位且有竖直隔板槽时只能对中") },
        { Problem::NeedsShell, QT_TR_NOOP("须给定壳体内径") },
        { Problem::OutsideTable, QT_TR_NOOP("超出拉杆表的范围，请输入根数") },
        { Problem::TooManyTieRods, QT_TR_NOOP("拉杆过多：管束边缘的管子不够") },
        { Problem::NotWhole, QT_TR_NOOP("须为整数根数、gb151 或 tema") },
        { Problem::NeedsUTube, QT_TR_NOOP("弯管半径只用于 U形管束") },
        { Problem::CutOutOfRange, QT_TR_NOOP("须在 15% 到 45% 之间") },
        { Problem::CutMissesTubes, QT_TR_NOOP("切线在所有管子之外：缺口内没有管子") },
        { Problem::TooManyCuts, QT_TR_NOOP("最多比较 8 个缺口") },
        { Problem::OddTieRods, QT_TR_NOOP("U形管束的拉杆须成对：根数须为偶数") },
        { Problem::NotAChoice, QT_TR_NOOP("不是可选的值") },
        { Problem::Conflict, QT_TR_NOOP("壳体内径与布管限定圆只能给定一个") },
        { Problem::Repeated, QT_TR_NOOP("重复给出") },
        { Problem::UnknownOption, QT_TR_NOOP("未知选项") },
        { Problem::SpacingForm, QT_TR_NOOP("须为一个数值，或“水平,竖直”两个") },
        { Problem::NoLanes, QT_TR_NOOP("单管程没有隔板槽，不用 Sn") },
        { Problem::NoVerticalLane, QT_TR_NOOP("此管程数没有竖直隔板槽，不用第二个值") },
        { Problem::NoLayoutCircle, QT_TR_NOOP("布管限定圆 DL 不大于 0") },
    };

} // namespace

const char *reasonOf(const layout::InputError &error)
{
    if (const char *particular = fieldReason(error.field(), error.problem()))
        return particular;
    for (const auto &reason : kReasons)
        if (reason.problem == error.problem())
            return reason.reason;
    return QT_TR_NOOP("输入有误");
}

} // namespace report
