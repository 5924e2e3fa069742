#include <QtTest>

#include "platform/ui/Application.h"

#include <QDialog>

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void theRequestIsRecordedUntilReset() {
        ResetApplicationTerminateRequest();
        QVERIFY(!ApplicationTerminateRequested());
        TerminateApplication();
        QVERIFY(ApplicationTerminateRequested());
        // Outside the application's loop the queued quit does nothing.
        QCoreApplication::sendPostedEvents();
        QVERIFY(ApplicationTerminateRequested());
        ResetApplicationTerminateRequest();
        QVERIFY(!ApplicationTerminateRequested());
    }

    void aModalRunInProgressEndsWithoutAcceptance() {
        QDialog dialog;
        int result = -1;
        bool watchdogFired = false;
        QTimer watchdog;  // a safety net against a hang only
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, this, [&] {
            watchdogFired = true;
            dialog.hide();
            QCoreApplication::exit(7);
        });
        QTimer::singleShot(0, this, [&] {
            watchdog.start(60'000);
            QTimer::singleShot(0, this, [] { TerminateApplication(); });
            result = dialog.exec();
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!watchdogFired);
        QCOMPARE(result, QDialog::Rejected);
        QVERIFY(!dialog.isVisible());
        QVERIFY(ApplicationTerminateRequested());
    }
};

QTEST_MAIN(ApplicationTest)
#include "Application_test.moc"
