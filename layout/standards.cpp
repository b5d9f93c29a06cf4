#include "layout/standards.h"

namespace layout {

namespace {

    /// GB/T 151's pitch and groove spacing by tube diameter, in whole mm.
    constexpr struct
    {
        int tube, pitch, spacing;
    } kGb151[] = { { 10, 14, 28 }, { 12, 16, 30 }, { 14, 19, 32 }, { 16, 22, 35 }, { 19, 25, 38 },
        { 20, 26, 40 }, { 22, 28, 42 }, { 25, 32, 44 }, { 30, 38, 50 }, { 32, 40, 52 },
        { 35, 44, 56 }, { 38, 48, 60 }, { 45, 57, 68 }, { 50, 64, 76 }, { 55, 70, 78 },
        { 57, 72, 80 } };

    /// GB/T 151's least number of tie rods for DN below each bound (mm), by rod diameter 10,
    /// 12 and 16 mm.
    constexpr int kGbBounds[] = { 400, 700, 900, 1300, 1500, 1800, 2000, 2300, 2600 };
    constexpr int kGbRods[3][9] = { { 4, 6, 10, 12, 16, 18, 24, 32, 40 },
        { 4, 4, 8, 10, 12, 14, 18, 24, 28 }, { 4, 4, 6, 6, 8, 10, 12, 14, 16 } };

    /// TEMA class R: nominal diameters in inches from each bound up, the rod diameter in
    /// thousandths of a mm and the least number. The last row runs to 100 inches inclusive.
    constexpr struct
    {
        int from, rod, count;
    } kTema[] = { { 6, 9525, 4 }, { 16, 9525, 6 }, { 28, 12700, 6 }, { 34, 12700, 8 },
        { 49, 12700, 10 }, { 61, 15875, 12 } };
    constexpr int kTemaLast = 100;

    /// n inches in units: 25.4 mm each.
    constexpr std::int64_t inches(std::int64_t n)
    {
        return n * 254 * kUnitsPerMm / 10;
    }

    /// GB/T 151's rod diameter for a tube: 10 for 10 to 14 mm, 12 above 14 and below 25, 16
    /// for 25 to 57; the index of its column, or -1 outside.
    int gbRodColumn(Length tube)
    {
        if (tube < mm(10) || mm(57) < tube)
            return -1;
        return !(mm(14) < tube) ? 0 : tube < mm(25) ? 1 : 2;
    }

    constexpr int kGbRodDiameters[] = { 10, 12, 16 };

} // namespace

std::optional<StandardPitch> gb151Pitch(Length tube, Pattern pattern)
{
    for (const auto &row : kGb151)
        if (tube == mm(row.tube)) {
            // The standard's note for 25 mm tubes on the rotated square.
            const Length spacing = row.tube == 25 && pattern == Pattern::RotatedSquare
                ? Length { 4525 * kUnitsPerMm / 100 }
                : mm(row.spacing);
            return StandardPitch { mm(row.pitch), spacing };
        }
    return std::nullopt;
}

std::string gb151Diameters()
{
    std::string text;
    for (const auto &row : kGb151)
        text += (text.empty() ? "" : ", ") + std::to_string(row.tube);
    return text;
}

TieRodCount tieRodCountOf(const Inputs &in)
{
    TieRodCount rods;
    const int column = gbRodColumn(in.tube);
    const auto outside = [](const std::string &message) {
        return InputError(message, Problem::OutsideTable, Field::TieRods);
    };
    switch (in.tieRods) {
    case TieRodRule::None:
        return rods;
    case TieRodRule::Count:
        rods.count = in.tieRodCount;
        if (in.gb151 && column >= 0)
            rods.diameter = mm(kGbRodDiameters[column]);
        return rods;
    case TieRodRule::Gb151: {
        if (column < 0)
            throw outside("GB/T 151's tie rods are for tubes of 10 to 57 mm, not "
                + lengthText(in.tube) + " mm: give --tie-rods N");
        for (int i = 0; i < 9; ++i)
            if (in.diameter < mm(kGbBounds[i]))
                return { kGbRods[column][i], mm(kGbRodDiameters[column]) };
        throw outside("GB/T 151's tie-rod table ends below DN 2600, not at "
            + lengthText(in.diameter) + " mm: give --tie-rods N");
    }
    case TieRodRule::Tema:
        break;
    }
    if (in.diameter.units < inches(kTema[0].from) || inches(kTemaLast) < in.diameter.units)
        throw outside("TEMA's tie-rod table covers shells of 6 to 100 inches (152.4 to 2540 mm), "
                      "not "
            + lengthText(in.diameter) + " mm: give --tie-rods N");
    for (int i = 5; i >= 0; --i)
        if (inches(kTema[i].from) <= in.diameter.units)
            return { kTema[i].count, Length { kTema[i].rod * (kUnitsPerMm / 1000) } };
    return rods;
}

std::vector<RodBand> rodBands(const Inputs &in)
{
    constexpr Int128 kAll = Int128(1) << 100;
    switch (in.tieRods) {
    case TieRodRule::None:
        return { { 0, kAll, 0 } };
    case TieRodRule::Count:
        return { { 0, kAll, in.tieRodCount } };
    case TieRodRule::Gb151: {
        const int column = gbRodColumn(in.tube);
        std::vector<RodBand> bands;
        for (int i = 0; i < 9 && column >= 0; ++i)
            bands.push_back(
                { i ? mm(kGbBounds[i - 1]).units : 0, mm(kGbBounds[i]).units, kGbRods[column][i] });
        return bands;
    }
    case TieRodRule::Tema:
        break;
    }
    std::vector<RodBand> bands;
    bands.reserve(6);
    for (int i = 0; i < 6; ++i)
        bands.push_back({ inches(kTema[i].from),
            i < 5 ? inches(kTema[i + 1].from) : inches(kTemaLast) + 1, kTema[i].count });
    return bands;
}

} // namespace layout
