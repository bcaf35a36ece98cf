#include "calibration/LabelNumber.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace tracella {
namespace {

// Superscript digits, minus and plus, as the exponent they write.
std::optional<QChar> Superscript(QChar c)
{
    static const QString digits = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
    if (const qsizetype i = digits.indexOf(c); i >= 0)
        return QChar('0' + int(i));
    if (c == QChar(0x207B))
        return QChar('-');
    if (c == QChar(0x207A))
        return QChar('+');
    return std::nullopt;
}

// One spelling: blanks and thousands quotes dropped, every minus "-",
// every multiplication sign "x", a superscript exponent after "^".
QString Plain(const QString& text)
{
    QString out;
    bool inExponent = false;
    for (const QChar c : text) {
        if (const auto s = Superscript(c)) {
            if (!inExponent)
                out += '^';
            inExponent = true;
            out += *s;
            continue;
        }
        inExponent = false;
        if (c.isSpace() || c == '\'' || c == QChar(0x2019))
            continue;
        if (c == QChar(0x2212) || c == QChar(0x2013) || c == QChar(0x2012))
            out += '-';
        else if (c == QChar(0x00D7) || c == QChar(0x00B7) || c == QChar(0x22C5) || c == 'X' || c == '*')
            out += 'x';
        else
            out += c;
    }
    return out;
}

bool Grouped(const QStringList& groups)
{
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups[i].size() != 3)
            return false;
    return !groups.isEmpty() && !groups[0].isEmpty() && groups[0].size() <= 3;
}

// The digits with their separators, as one or two readings.
std::vector<LabelReading> Digits(const QString& digits)
{
    const qsizetype dot = digits.count('.'), comma = digits.count(',');
    auto number = [](const QString& whole, const QString& fraction) {
        return QString(whole + '.' + fraction).toDouble();
    };
    if (dot > 0 && comma > 0) {
        const QChar decimal = digits.lastIndexOf('.') > digits.lastIndexOf(',') ? '.' : ',';
        const QChar thousands = decimal == '.' ? ',' : '.';
        const QStringList parts = digits.split(decimal);
        if (parts.size() != 2 || !Grouped(parts[0].split(thousands)))
            return {};
        return {{number(QString(parts[0]).remove(thousands), parts[1])}};
    }
    if (dot + comma == 0)
        return {{digits.toDouble()}};
    const QChar mark = dot > 0 ? '.' : ',';
    const QStringList groups = digits.split(mark);
    if (groups.size() > 2)
        return Grouped(groups) ? std::vector<LabelReading>{{groups.join(QString()).toDouble()}}
                               : std::vector<LabelReading>{};
    if (groups[0].isEmpty() && groups[1].isEmpty())
        return {};
    const LabelReading decimal{number(groups[0], groups[1])};
    if (!Grouped(groups) || groups[0] == QStringLiteral("0"))
        return {decimal};
    const LabelReading thousands{(groups[0] + groups[1]).toDouble()};
    // "1,000" as one would be written "1".
    if (groups[1] == QStringLiteral("000"))
        return {thousands, {decimal.value, false}};
    return {decimal, {thousands.value, false}};
}

} // namespace

std::vector<LabelReading> ReadLabelNumber(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^([+-]?)(?:([0-9.,]+)(?:[eE]([+-]?[0-9]+))?|(?:([0-9.,]+)x)?10\^([+-]?[0-9]+))$)"));
    const QRegularExpressionMatch m = form.match(Plain(text));
    if (!m.hasMatch())
        return {};
    const bool powerOnly = m.capturedLength(2) == 0;
    const QString mantissa = powerOnly ? m.captured(4) : m.captured(2);
    const QString exponent = powerOnly ? m.captured(5) : m.captured(3);
    // No one writes "05": it is "0,5" or "0.5" with its mark lost in reading.
    if (mantissa.size() > 1 && mantissa[0] == '0' && mantissa[1].isDigit())
        return {};
    std::vector<LabelReading> readings =
        mantissa.isEmpty() ? std::vector<LabelReading>{{1.0}} : Digits(mantissa);
    const double scale = std::pow(10.0, exponent.isEmpty() ? 0 : exponent.toInt());
    for (LabelReading& r : readings)
        r.value *= (m.captured(1) == QStringLiteral("-") ? -scale : scale);
    return readings;
}

} // namespace tracella
