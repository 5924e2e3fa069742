#include <QtTest>

#include "platform/Datetime.h"

class DatetimeTest : public QObject {
    Q_OBJECT

private slots:
    void number_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<double>("expected");
        const auto at = [](int y, int mo, int d, int h, int mi, int s = 0, int ms = 0) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
        };
        QTest::newRow("epoch") << at(1899, 12, 30, 0, 0) << 0.0;
        QTest::newRow("next day") << at(1899, 12, 31, 0, 0) << 1.0;
        QTest::newRow("noon 2000") << at(2000, 1, 1, 12, 0) << 36526.5;
        QTest::newRow("leap day 1900 does not exist") << at(1900, 3, 1, 0, 0) << 61.0;
        QTest::newRow("quarter past six") << at(2024, 2, 29, 6, 0) << 45351.25;
        QTest::newRow("one millisecond") << at(2000, 1, 1, 0, 0, 0, 1) << 36526.0 + 1.0 / 86'400'000.0;
        QTest::newRow("last millisecond")
            << at(2000, 1, 1, 23, 59, 59, 999) << 36526.0 + 86'399'999.0 / 86'400'000.0;
    }
    void number() {
        QFETCH(QDateTime, moment);
        QFETCH(double, expected);
        QCOMPARE(DateTimeNumber(moment), expected);
    }

    void theClockOfTheDayIsTakenAsItStands() {
        // No time-zone shift: 09:00 local is 0.375 of the day whatever the zone.
        const QDateTime local(QDate(2021, 6, 1), QTime(9, 0), Qt::LocalTime);
        const QDateTime utc(QDate(2021, 6, 1), QTime(9, 0), Qt::UTC);
        QCOMPARE(DateTimeNumber(local), 44348.375);
        QCOMPARE(DateTimeNumber(utc), 44348.375);
    }

    void currentIsTheLocalClock() {
        const double before = DateTimeNumber(QDateTime::currentDateTime());
        const double now = CurrentDateTimeNumber();
        const double after = DateTimeNumber(QDateTime::currentDateTime());
        QVERIFY(before <= now && now <= after);
    }
};

QTEST_GUILESS_MAIN(DatetimeTest)
#include "Datetime_test.moc"
