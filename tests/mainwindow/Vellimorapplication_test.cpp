#include <QtTest>

#include <stdexcept>

#include "mainwindow/Vellimorapplication.h"
#include "support/Messagerecorder.h"

namespace {

class Throwing : public QObject {
public:
    bool event(QEvent*) override { throw std::runtime_error("the disk went away"); }
};

}  // namespace

class VellimorapplicationTest : public QObject {
    Q_OBJECT

private slots:
    void anEscapedExceptionIsShownAndEndsTheProgramWithAnError() {
        MessageRecorder messages;
        Throwing receiver;
        int exitCode = -1;
        QTimer::singleShot(0, &receiver, [&] { QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User)); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });  // only if the exception were lost
        exitCode = QCoreApplication::exec();
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral("the disk went away")});
        QCOMPARE(exitCode, 1);
    }
};

int main(int argc, char** argv) {
    VellimorApplication application(argc, argv);
    VellimorapplicationTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "Vellimorapplication_test.moc"
