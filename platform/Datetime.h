#pragma once

#include <QDateTime>

// The date-time number in which the program stores a moment: whole days since
// 30 December 1899, 00:00, plus the elapsed fraction of the day, to the
// millisecond (milliseconds since midnight / 86,400,000). The date and time of
// the given moment are taken as they stand, without any time-zone conversion.
double DateTimeNumber(const QDateTime& moment);

// The current local date and time as a date-time number.
double CurrentDateTimeNumber();
