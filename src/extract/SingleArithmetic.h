#pragma once

#include "app/core/AppError.h"

#include <cmath>
#include <limits>
#include <optional>

namespace tracella {

// The errors of single-precision arithmetic.
AppError DivisionByZeroError();
AppError SingleOverflowError();   // a result beyond the single-precision range
AppError UndefinedResultError();  // a result that is no number (NaN)

// Magnitudes from here on round to infinity when stored in single precision.
inline constexpr double SingleOverflowBound = 0x1.ffffffp+127;

// The error of storing value in a single-precision variable, if any.
std::optional<AppError> SingleStoreError(double value);

// Rounds to single precision the IEEE way (beyond the range gives infinity)
// without the undefined behaviour of casting an out-of-range double.
inline float ToSingle(double value)
{
    constexpr float infinity = std::numeric_limits<float>::infinity();
    if (std::fabs(value) >= SingleOverflowBound)
        return std::signbit(value) ? -infinity : infinity;
    return static_cast<float>(value);
}

// Raised inside a chain of single-precision steps; the public function that
// runs the chain catches it and returns its error.
struct ArithmeticFault {
    AppError error;
};

[[noreturn]] void ThrowStoreFault(double value);
[[noreturn]] void ThrowDivisionByZero();

// value stored in a single-precision variable: faults when it does not fit.
inline float StoreSingle(double value)
{
    if (!(std::fabs(value) < SingleOverflowBound)) [[unlikely]]
        ThrowStoreFault(value);
    return static_cast<float>(value);
}

// A division that faults on a zero divisor, whatever the dividend.
inline double Quotient(double dividend, double divisor)
{
    if (divisor == 0) [[unlikely]]
        ThrowDivisionByZero();
    return dividend / divisor;
}

} // namespace tracella
