#include "extract/ExtractMessages.h"

namespace tracella {
namespace {

const QString LineBreak = QStringLiteral("\r\n");

// A time format without its time-zone fields ("t" outside quotes).
QString WithoutTimeZone(const QString& format)
{
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            kept += c;
    }
    return kept.trimmed();
}

} // namespace

Message AutoReadReportMessage(std::int64_t found, const QString& startTime, const QString& endTime)
{
    return {QStringLiteral("The number of values found and stored is: ") + QString::number(found) + LineBreak +
                QStringLiteral("Starting time: ") + startTime + LineBreak + QStringLiteral("Ending time: ") + endTime,
            QStringLiteral("Auto Reading"), MessageIcon::Information, MessageButtons::Ok};
}

QString TimeOfDayText(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

Message InsufficientDataMessage()
{
    return {QStringLiteral("You need at least two values to perform any interpolation."),
            QStringLiteral("Insufficient Data"), MessageIcon::Information, MessageButtons::Ok};
}

Message InterpolationFailedMessage(const AppError& error)
{
    return {QStringLiteral("The interpolation method is failing with these data.") + LineBreak +
                QStringLiteral("Try againg changing the Independant Variable") + LineBreak +
                UnexpectedErrorText(error),
            QStringLiteral("Error"), MessageIcon::Exclamation, MessageButtons::Ok};
}

Message AddInterpolatedPointsMessage()
{
    return {QStringLiteral("You want to add these interpolated points to your current data?"), QString(),
            MessageIcon::Question, MessageButtons::YesNo};
}

Message GridCannotHoldMessage(int capacity, int dataRows, int adding)
{
    return {QStringLiteral("The data grid cannot hold %1 more points: it holds at most %2 points and already has %3.")
                .arg(adding)
                .arg(capacity)
                .arg(dataRows),
            QStringLiteral("Too Many Points"), MessageIcon::Exclamation, MessageButtons::Ok};
}

} // namespace tracella
