#pragma once

#include "app/core/AppError.h"
#include "app/core/Message.h"

#include <QLocale>
#include <QTime>

#include <cstdint>

namespace tracella {

// The end of a colour sweep: how many values were stored and when.
Message AutoReadReportMessage(std::int64_t found, const QString& startTime, const QString& endTime);

// The end of a curve trace, worded as the colour sweep's report.
Message TraceReportMessage(std::int64_t found, const QString& startTime, const QString& endTime);

// Why a trace stored nothing.
Message TraceRefusedMessage(const QString& reason);

// A trace that found more points than the grid has room for.
Message TraceTooManyMessage(std::int64_t found, bool atLeast, std::int64_t room);

// A time of day in the locale's long time format without its time zone.
QString TimeOfDayText(const QTime& time, const QLocale& locale = QLocale::system());

// Too few rows to interpolate.
Message InsufficientDataMessage();

// A failure of the interpolation after the rows were counted.
Message InterpolationFailedMessage(const AppError& error);

// Whether to append the previewed points.
Message AddInterpolatedPointsMessage();

// The grid holds at most capacity points, already has dataRows and cannot
// take adding more.
Message GridCannotHoldMessage(int capacity, int dataRows, int adding);

} // namespace tracella
