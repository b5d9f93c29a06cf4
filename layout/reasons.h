#pragma once

// Why an input cannot be taken, in one short Chinese line under its box: the same words in
// korvane-sheet (which translates them) and on the page. Header-only, so that the window's
// translation tools read the texts here.

#include "layout/length.h"

// The marker the translation tools look for; it leaves the text as it is.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, text) text
#endif

namespace layout {

/// The reason for an input error, in Chinese (UTF-8), in the context "layout_ui::SheetWindow".
inline const char *reasonOf(const InputError &error)
{
    switch (error.problem()) {
    case Problem::NotANumber:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "不是数字");
    case Problem::TooManyDecimals:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "小数不能超过 6 位");
    case Problem::TooLarge:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "不能大于 100000 mm");
    case Problem::NotPositive:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "须大于 0");
    case Problem::Negative:
        return error.field() == Field::CentreTube
            ? QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "不能为负（0 为无中心管）")
            : QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "不能为负");
    case Problem::PitchBelowTube:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "小于管子外径：管子会重叠");
    case Problem::PassCount:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "须为 1、2、4、6 或 8");
    case Problem::VerticalWithoutHorizontal:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "竖直隔板槽须与水平隔板槽一同给出");
    case Problem::ClearanceWithoutShell:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "给定布管限定圆时不用边缘间隙");
    case Problem::TooManyPitches:
        return QT_TRANSLATE_NOOP(
            "layout_ui::SheetWindow", "布管限定圆半径超过 100 万个管心距，行数太多");
    case Problem::Empty:
    case Problem::Missing:
        return error.field() == Field::LaneSpacing
            ? QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "GB/T 151 没有此管径的 Sn，请输入数值")
            : QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "请输入数值");
    case Problem::SpacingBelowTube:
        return QT_TRANSLATE_NOOP(
            "layout_ui::SheetWindow", "移位时 Sn 不能小于管子外径：槽两侧的管子会重叠");
    case Problem::NotInTable:
        return QT_TRANSLATE_NOOP(
            "layout_ui::SheetWindow", "GB/T 151 没有此管径的管心距，请输入数值");
    case Problem::NeedsOnTube:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "移位且有竖直隔板槽时只能对中");
    case Problem::NotWithBundle:
        return error.field() == Field::CentreTube
            ? QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "U形管束不能有中心管")
            : QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "U形管束只能为 2 或 4 管程");
    case Problem::NeedsShell:
        return error.field() == Field::Standard
            ? QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "按 GB/T 151 取值须给定壳体内径")
            : error.field() == Field::BaffleCut
            ? QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "折流板缺口须给定壳体内径")
            : QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "拉杆须给定壳体内径");
    case Problem::OutsideTable:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "超出拉杆表的范围，请输入根数");
    case Problem::TooManyTieRods:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "拉杆过多：管束边缘的管子不够");
    case Problem::NotWhole:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "须为整数根数、gb151 或 tema");
    case Problem::NeedsUTube:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "弯管半径只用于 U形管束");
    case Problem::CutOutOfRange:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "须在 15% 到 45% 之间");
    case Problem::CutMissesTubes:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "切线在所有管子之外：缺口内没有管子");
    case Problem::OddTieRods:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "U形管束的拉杆须成对：根数须为偶数");
    case Problem::NotAChoice:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "不是可选的值");
    case Problem::Conflict:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "壳体内径与布管限定圆只能给定一个");
    case Problem::Repeated:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "重复给出");
    case Problem::UnknownOption:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "未知选项");
    case Problem::SpacingForm:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "须为一个数值，或“水平,竖直”两个");
    case Problem::NoLanes:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "单管程没有隔板槽，不用 Sn");
    case Problem::NoVerticalLane:
        return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "此管程数没有竖直隔板槽，不用第二个值");
    case Problem::NoLayoutCircle:
        return error.field() == Field::Clearance
            ? QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "边缘间隙过大：布管限定圆 DL 不大于 0")
            : QT_TRANSLATE_NOOP(
                "layout_ui::SheetWindow", "壳体内径过小：扣除边缘间隙后布管限定圆 DL 不大于 0");
    case Problem::Other:
        break;
    }
    return QT_TRANSLATE_NOOP("layout_ui::SheetWindow", "输入有误");
}

} // namespace layout
