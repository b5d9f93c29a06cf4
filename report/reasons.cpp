#include "report/reasons.h"

#include "report/form.h"

namespace report {

using layout::Problem;

const char *reasonOf(const layout::InputError &error)
{
    if (const char *particular = fieldReason(error.field(), error.problem()))
        return particular;
    switch (error.problem()) {
    case Problem::NotANumber:
        return QT_TR_NOOP("不是数字");
    case Problem::TooManyDecimals:
        return QT_TR_NOOP("小数不能超过 6 位");
    case Problem::TooLarge:
        return QT_TR_NOOP("不能大于 100000 mm");
    case Problem::NotPositive:
        return QT_TR_NOOP("须大于 0");
    case Problem::Negative:
        return QT_TR_NOOP("不能为负");
    case Problem::PitchBelowTube:
        return QT_TR_NOOP("小于管子外径：管子会重叠");
    case Problem::PassCount:
        return QT_TR_NOOP("须为 1、2、4、6 或 8");
    case Problem::VerticalWithoutHorizontal:
        return QT_TR_NOOP("竖直隔板槽须与水平隔板槽一同给出");
    case Problem::ClearanceWithoutShell:
        return QT_TR_NOOP("给定布管限定圆时不用边缘间隙");
    case Problem::TooManyPitches:
        return QT_TR_NOOP("布管限定圆半径超过 100 万个管心距，行数太多");
    case Problem::Empty:
    case Problem::Missing:
        return QT_TR_NOOP("请输入数值");
    case Problem::SpacingBelowTube:
        return QT_TR_NOOP("移位时 Sn 不能小于管子外径：槽两侧的管子会重叠");
    case Problem::NotInTable:
        return QT_TR_NOOP("GB/T 151 没有此管径的管心距，请输入数值");
    case Problem::NeedsOnTube:
        return QT_TR_NOOP("移位且有竖直隔板槽时只能对中");
    case Problem::NotWithBundle:
        break;
    case Problem::NeedsShell:
        return QT_TR_NOOP("须给定壳体内径");
    case Problem::OutsideTable:
        return QT_TR_NOOP("超出拉杆表的范围，请输入根数");
    case Problem::TooManyTieRods:
        return QT_TR_NOOP("拉杆过多：管束边缘的管子不够");
    case Problem::NotWhole:
        return QT_TR_NOOP("须为整数根数、gb151 或 tema");
    case Problem::NeedsUTube:
        return QT_TR_NOOP("弯管半径只用于 U形管束");
    case Problem::CutOutOfRange:
        return QT_TR_NOOP("须在 15% 到 45% 之间");
    case Problem::CutMissesTubes:
        return QT_TR_NOOP("切线在所有管子之外：缺口内没有管子");
    case Problem::OddTieRods:
        return QT_TR_NOOP("U形管束的拉杆须成对：根数须为偶数");
    case Problem::NotAChoice:
        return QT_TR_NOOP("不是可选的值");
    case Problem::Conflict:
        return QT_TR_NOOP("壳体内径与布管限定圆只能给定一个");
    case Problem::Repeated:
        return QT_TR_NOOP("重复给出");
    case Problem::UnknownOption:
        return QT_TR_NOOP("未知选项");
    case Problem::SpacingForm:
        return QT_TR_NOOP("须为一个数值，或“水平,竖直”两个");
    case Problem::NoLanes:
        return QT_TR_NOOP("单管程没有隔板槽，不用 Sn");
    case Problem::NoVerticalLane:
        return QT_TR_NOOP("此管程数没有竖直隔板槽，不用第二个值");
    case Problem::NoLayoutCircle:
        return QT_TR_NOOP("布管限定圆 DL 不大于 0");
    case Problem::Other:
        break;
    }
    return QT_TR_NOOP("输入有误");
}

} // namespace report
