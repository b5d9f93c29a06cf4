#pragma once

#include <string>

namespace runtime {

/// CStr: the text of a Double, with up to 15 significant digits.
///
/// A whole number below 10^15 prints as plain digits, with "-" when negative, without a point
/// or grouping; other values print like "0.5", "1.5E-05" or "1E+15". The point is always ".".
/// Negative zero prints as "0".
std::string CStr(double value);

} // namespace runtime
