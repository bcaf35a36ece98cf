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

Message TraceReportMessage(std::int64_t found, const QString& startTime, const QString& endTime)
{
    Message report = AutoReadReportMessage(found, startTime, endTime);
    report.title = QStringLiteral("Trace Curve");
    return report;
}

Message TraceRefusedMessage(const QString& reason)
{
    return {reason + LineBreak + QStringLiteral("Nothing was stored."), QStringLiteral("Trace Curve"),
            MessageIcon::Exclamation, MessageButtons::Ok};
}

Message TraceTooManyMessage(std::int64_t found, bool atLeast, std::int64_t room)
{
    return TraceRefusedMessage(
        QStringLiteral("The trace found %1%2 points, but the data grid has room for only %3 more.")
            .arg(atLeast ? QStringLiteral("at least ") : QString())
            .arg(found)
            .arg(room) +
        LineBreak + QStringLiteral("Search a smaller region, take a larger step or narrow the tolerance."));
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
