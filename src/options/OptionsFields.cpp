#include "options/OptionsFields.h"

#include "app/core/NumberReading.h"

#include <limits>

namespace tracella {
namespace {

template <typename Whole>
std::optional<Whole> InRange(std::int64_t value)
{
    if (value < std::numeric_limits<Whole>::min() || value > std::numeric_limits<Whole>::max())
        return std::nullopt;
    return static_cast<Whole>(value);
}

Message OutOfRange(const QString& field)
{
    return {QStringLiteral("The number in %1 is out of range.\r\n"
                           "Enter a whole number between -2147483648 and 2147483647.")
                .arg(field),
            QStringLiteral("Options"), MessageIcon::Exclamation, MessageButtons::Ok};
}

} // namespace

std::optional<std::int32_t> WholeNumberOfText(const QString& text)
{
    return InRange<std::int32_t>(RoundHalfEven(LeadingNumber(text)));
}

std::optional<int> DotWidthOfText(const QString& text)
{
    const std::optional<std::int16_t> width = InRange<std::int16_t>(RoundHalfEven(LeadingNumber(text.trimmed())));
    if (!width || *width < 1)
        return std::nullopt;
    return *width;
}

std::variant<CountFields, Message> ReadCountFields(const QString& rows, const QString& cols, const QString& points)
{
    const std::optional<std::int32_t> r = WholeNumberOfText(rows);
    if (!r)
        return OutOfRange(QStringLiteral("Rows"));
    const std::optional<std::int32_t> c = WholeNumberOfText(cols);
    if (!c)
        return OutOfRange(QStringLiteral("Columns"));
    const std::optional<std::int32_t> p = WholeNumberOfText(points);
    if (!p)
        return OutOfRange(QStringLiteral("Total number of points"));
    return CountFields{*r, *c, *p};
}

SweepDensity GuidedDensity(const QSize& picture)
{
    return {picture.width() / 2, picture.height() / 2};
}

std::optional<QSizeF> SweepGridCell(const QSize& surface, const QString& rows, const QString& cols)
{
    const std::optional<std::int32_t> r = WholeNumberOfText(rows);
    const std::optional<std::int32_t> c = WholeNumberOfText(cols);
    if (!r || !c || *r <= 0 || *c <= 0)
        return std::nullopt;
    return QSizeF(static_cast<double>(surface.width()) / *c, static_cast<double>(surface.height()) / *r);
}

int NextTabIndex(int current, int count, bool backwards)
{
    if (count <= 0)
        return current;
    return ((backwards ? current - 1 : current + 1) % count + count) % count;
}

} // namespace tracella
