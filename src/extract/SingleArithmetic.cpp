#include "extract/SingleArithmetic.h"

namespace tracella {

AppError DivisionByZeroError()
{
    return {ErrorNumber::DivisionByZero, QStringLiteral("Division by zero")};
}

AppError SingleOverflowError()
{
    return {ErrorNumber::Overflow, QStringLiteral("Overflow")};
}

AppError UndefinedResultError()
{
    return {ErrorNumber::Overflow, QStringLiteral("Undefined result")};
}

std::optional<AppError> SingleStoreError(double value)
{
    if (std::isnan(value))
        return UndefinedResultError();
    if (std::fabs(value) >= SingleOverflowBound)
        return SingleOverflowError();
    return std::nullopt;
}

void ThrowStoreFault(double value)
{
    throw ArithmeticFault{*SingleStoreError(value)};
}

void ThrowDivisionByZero()
{
    throw ArithmeticFault{DivisionByZeroError()};
}

} // namespace tracella
