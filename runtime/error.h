#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace runtime {

/// The numbered run-time errors a calculation can raise.
enum class ErrorNumber : int {
    InvalidCall = 5,
    Overflow = 6,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
};

/// The standard description of an error, as the Chinese run time words it ("溢出" for 6).
std::string_view describe(ErrorNumber number) noexcept;

/// The report shown for an error: "实时错误 '6':", a blank line, then the description.
std::string report(ErrorNumber number);

/// A run-time error. what() is the report text.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(ErrorNumber number);

    ErrorNumber number() const noexcept { return m_number; }
    int code() const noexcept { return static_cast<int>(m_number); }
    std::string_view description() const noexcept { return describe(m_number); }

private:
    ErrorNumber m_number;
};

/// Throws RuntimeError. Kept out of line so that the checks on the hot paths stay small.
[[noreturn]] void raise(ErrorNumber number);

} // namespace runtime
