#include "runtime/arithmetic.h"

namespace runtime::detail {

Double powerGeneral(Double x, Double y)
{
    const double base = x.value();
    const double exponent = y.value();
    if (base < 0 && std::trunc(exponent) != exponent)
        raise(ErrorNumber::InvalidCall);
    // 0 raised to a negative power has no value.
    if (base == 0 && exponent < 0)
        raise(ErrorNumber::InvalidCall);
    const double result = std::pow(base, exponent);
    if (!std::isfinite(result))
        raise(ErrorNumber::Overflow);
    return result;
}

} // namespace runtime::detail
