#include "extract/Interpolation.h"

#include "extract/NaturalSpline.h"
#include "extract/SingleArithmetic.h"

namespace tracella {
namespace {

AppError PointCountError()
{
    return {ErrorNumber::InvalidArgument, QStringLiteral("Invalid number of points to be obtained")};
}

std::vector<float> Abscissae(float first, float last, std::int32_t count)
{
    const float spacing = StoreSingle(Quotient(static_cast<double>(last) - first, count));
    if (count < 1)
        throw ArithmeticFault{PointCountError()};
    std::vector<float> abscissae(static_cast<std::size_t>(count));
    float a = first;
    for (float& next : abscissae) {
        a = StoreSingle(static_cast<double>(a) + spacing);
        next = a;
    }
    return abscissae;
}

} // namespace

bool EnoughRowsToInterpolate(int dataRows)
{
    return dataRows >= MinimumSplineRows;
}

std::optional<AppError> SplinePointsError(std::int32_t splinePoints)
{
    if (splinePoints <= -2)
        return PointCountError();
    if (splinePoints > MaxSplinePoints)
        return AppError{ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")};
    return std::nullopt;
}

std::variant<std::vector<float>, AppError> SplineAbscissae(float first, float last, std::int32_t count)
{
    if (auto error = SplinePointsError(count))
        return *error;
    try {
        return Abscissae(first, last, count);
    } catch (const ArithmeticFault& fault) {
        return fault.error;
    }
}

Interpolation InterpolateRows(std::span<const SplineRow> rows, bool splineOnX, std::int32_t splinePoints)
{
    Interpolation result;
    if (auto error = SplinePointsError(splinePoints)) {
        result.error = error;
        return result;
    }
    std::vector<float> knots, values;
    try {
        for (const SplineRow& row : rows) {
            const float x = StoreSingle(row.x);
            const float y = StoreSingle(row.y);
            knots.push_back(splineOnX ? x : y);
            values.push_back(splineOnX ? y : x);
        }
    } catch (const ArithmeticFault& fault) {
        result.error = fault.error;
        return result;
    }

    auto fitted = NaturalSpline::Fit(std::move(knots), std::move(values));
    if (auto* error = std::get_if<AppError>(&fitted)) {
        result.error = *error;
        return result;
    }
    const auto& spline = std::get<NaturalSpline>(fitted);
    const auto& c = spline.Coefficients();

    auto abscissae = SplineAbscissae(c.knots.front(), c.knots.back(), splinePoints);
    if (auto* error = std::get_if<AppError>(&abscissae)) {
        result.error = *error;
        return result;
    }
    const auto& along = std::get<std::vector<float>>(abscissae);
    result.points.reserve(along.size());
    for (const float a : along) {
        const auto value = spline.ValueAt(a);
        if (auto* error = std::get_if<AppError>(&value)) {
            result.error = *error;
            return result;
        }
        const float v = std::get<float>(value);
        result.points.push_back(splineOnX ? SplinePoint{a, v} : SplinePoint{v, a});
    }
    return result;
}

} // namespace tracella
