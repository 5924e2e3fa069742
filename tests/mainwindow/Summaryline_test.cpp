#include <QtTest>

#include "mainwindow/Summaryline.h"

// Runs under German regional settings (set before Qt reads them, in main).
class SummarylineTest : public QObject {
    Q_OBJECT

private slots:
    void germanRegionalSettingsGiveAComma_data() {
        QTest::addColumn<double>("megabytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0.0 << "0,0";
        QTest::newRow("rounded") << 0.24 << "0,2";
        QTest::newRow("rounds up") << 56.75 << "56,8";
        QTest::newRow("large") << 5120.0 << "5120,0";
        QTest::newRow("eight digits") << 12345678.96 << "12345679,0";
        QTest::newRow("scientific from 10^8") << 123456789.0 << "1,2345679E+08";
    }
    void germanRegionalSettingsGiveAComma() {
        QFETCH(double, megabytes);
        QFETCH(QString, expected);
        QCOMPARE(FormatMegabytes(megabytes), expected);
    }

    void languageDoesNotChangeTheSeparator() {
        QCOMPARE(SummaryLine(QStringLiteral("Files:"), 3, 0.2), QStringLiteral("Files: 3 (0,2 MB)"));
        QCOMPARE(SummaryLine(QStringLiteral("Dateien:"), 3, 0.2), QStringLiteral("Dateien: 3 (0,2 MB)"));
    }
};

int main(int argc, char** argv) {
    qunsetenv("LC_ALL");
    qputenv("LC_NUMERIC", "de_DE.UTF-8");
    QCoreApplication application(argc, argv);
    SummarylineTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "Summaryline_test.moc"
