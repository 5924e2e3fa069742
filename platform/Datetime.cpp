#include "platform/Datetime.h"

namespace {

constexpr double MillisecondsPerDay = 86'400'000.0;

QDate DateTimeEpoch() { return QDate(1899, 12, 30); }

}  // namespace

double DateTimeNumber(const QDateTime& moment) {
    const qint64 days = DateTimeEpoch().daysTo(moment.date());
    return static_cast<double>(days) + moment.time().msecsSinceStartOfDay() / MillisecondsPerDay;
}

double CurrentDateTimeNumber() {
    return DateTimeNumber(QDateTime::currentDateTime());
}
