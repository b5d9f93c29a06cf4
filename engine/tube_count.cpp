#include "engine/tube_count.h"

#include "engine/row_scan.h"

namespace engine {

RowScan layoutCount(double Dl, double d, double gxj)
{
    detail::NoTrace quiet;
    return detail::layoutScan(Dl, d, gxj, quiet);
}

RowScan centreCount(double d, double DX, double gxj)
{
    detail::NoTrace quiet;
    return detail::centreScan(d, DX, gxj, quiet);
}

bool centreTubeTooSmall(double DX, double gxj)
{
    return detail::rowHeight(gxj) > runtime::Double(DX) / 2;
}

double centreCircle(double zxg)
{
    return (runtime::Double(zxg) + 16).value();
}

} // namespace engine
