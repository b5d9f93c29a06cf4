#pragma once

#include "runtime/error.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

// The figures must match to the last bit, so every step has to be rounded to double on its own.
#if defined(__FAST_MATH__)
#error "Korvane must not be built with -ffast-math"
#endif
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must not use wider intermediates");

namespace runtime {

/// A Double of the run time: IEEE double arithmetic, one rounding per step, and the
/// floating-point check after each step (a result beyond the Double range raises error 6).
class Double
{
public:
    /// Implicit so that literals and values read by Val enter the arithmetic as they are.
    constexpr Double(double value = 0.0) noexcept
        : m_value(value)
    {
    }

    constexpr double value() const noexcept { return m_value; }

    friend Double operator+(Double a, Double b) { return checked(a.m_value + b.m_value); }
    friend Double operator-(Double a, Double b) { return checked(a.m_value - b.m_value); }
    friend Double operator*(Double a, Double b) { return checked(a.m_value * b.m_value); }
    friend Double operator/(Double a, Double b)
    {
        if (b.m_value == 0)
            raise(a.m_value == 0 ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero);
        return checked(a.m_value / b.m_value);
    }
    friend Double operator-(Double a) noexcept { return -a.m_value; }

    friend bool operator==(Double a, Double b) noexcept { return a.m_value == b.m_value; }
    friend bool operator!=(Double a, Double b) noexcept { return a.m_value != b.m_value; }
    friend bool operator<(Double a, Double b) noexcept { return a.m_value < b.m_value; }
    friend bool operator<=(Double a, Double b) noexcept { return a.m_value <= b.m_value; }
    friend bool operator>(Double a, Double b) noexcept { return a.m_value > b.m_value; }
    friend bool operator>=(Double a, Double b) noexcept { return a.m_value >= b.m_value; }

private:
    // Operands are always finite, so a non-finite result can only be an overflow.
    static Double checked(double result)
    {
        if (!std::isfinite(result))
            raise(ErrorNumber::Overflow);
        return result;
    }

    double m_value;
};

namespace detail {
    Double powerGeneral(Double x, Double y);
} // namespace detail

/// x ^ y. A negative x with a non-integral y raises error 5; a result beyond the Double range
/// raises error 6. x ^ 2 and x ^ 0.5 are correctly rounded (x * x and the square root).
inline Double power(Double x, Double y)
{
    if (y.value() == 2)
        return x * x;
    if (y.value() == 0.5) {
        if (x.value() < 0)
            raise(ErrorNumber::InvalidCall);
        // sqrt(-0) is -0, while a power of -0 is +0.
        return x.value() == 0 ? 0.0 : std::sqrt(x.value());
    }
    return detail::powerGeneral(x, y);
}

/// A 16-bit signed Integer of the run time: every result outside -32768..32767 raises error 6.
class Int16
{
public:
    constexpr Int16() noexcept = default;
    /// Implicit so that `c + 1` reads as it does in the calculation; out of range raises error 6.
    constexpr Int16(int value)
        : m_value(narrow(value))
    {
    }

    constexpr std::int16_t value() const noexcept { return m_value; }
    constexpr Double toDouble() const noexcept { return static_cast<double>(m_value); }

    friend Int16 operator+(Int16 a, Int16 b) { return int(a.m_value) + int(b.m_value); }
    friend Int16 operator-(Int16 a, Int16 b) { return int(a.m_value) - int(b.m_value); }
    friend Int16 operator*(Int16 a, Int16 b) { return int(a.m_value) * int(b.m_value); }
    /// Mod: the remainder takes the sign of the dividend; Mod 0 raises error 11.
    friend Int16 operator%(Int16 a, Int16 b)
    {
        if (b.m_value == 0)
            raise(ErrorNumber::DivisionByZero);
        return int(a.m_value) % int(b.m_value);
    }

    friend bool operator==(Int16 a, Int16 b) noexcept { return a.m_value == b.m_value; }
    friend bool operator!=(Int16 a, Int16 b) noexcept { return a.m_value != b.m_value; }
    friend bool operator<(Int16 a, Int16 b) noexcept { return a.m_value < b.m_value; }
    friend bool operator<=(Int16 a, Int16 b) noexcept { return a.m_value <= b.m_value; }
    friend bool operator>(Int16 a, Int16 b) noexcept { return a.m_value > b.m_value; }
    friend bool operator>=(Int16 a, Int16 b) noexcept { return a.m_value >= b.m_value; }

private:
    static constexpr std::int16_t narrow(int value)
    {
        if (value < INT16_MIN || value > INT16_MAX)
            raise(ErrorNumber::Overflow);
        return static_cast<std::int16_t>(value);
    }

    std::int16_t m_value = 0;
};

/// The bounds check of an array access: an index outside lower..upper raises error 9.
inline void checkIndex(Int16 index, int lower, int upper)
{
    if (index.value() < lower || index.value() > upper)
        raise(ErrorNumber::SubscriptOutOfRange);
}

} // namespace runtime
