#include <QtTest>

#include "platform/Showmessage.h"
#include "platform/ui/Messagebox.h"
#include "support/Standarderrorcapture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <iostream>

namespace {

const QString kText = QStringLiteral("[ERW002] Ungültiger Datentyp für 'AutoClear'");

void Say(const QString& line) {
    std::cout << line.toStdString() << std::endl;
}

// Role, run on a platform that shows windows: describes the box that
// ShowMessage puts up, presses its OK button and tells when ShowMessage has
// returned.
int BoxChild(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallMessageBoxSink();
    QTimer finder;
    QObject::connect(&finder, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        finder.stop();
        Say("text " + box->text());
        Say(QStringLiteral("buttons %1").arg(box->buttons().size()));
        Say(QStringLiteral("ok %1").arg(box->standardButtons() == QMessageBox::Ok));
        Say("platform " + QGuiApplication::platformName());
        box->button(QMessageBox::Ok)->click();
    });
    finder.start(10);
    ShowMessage(kText);
    Say("returned");
    return 0;
}

}  // namespace

class MessageboxTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetMessageSink({}); }

    // Offscreen nobody could see or dismiss a box: the text goes to standard
    // error and ShowMessage returns as after OK.
    void offscreenTheTextGoesToStandardErrorAndShowMessageReturns() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
        InstallMessageBoxSink();
        StandardErrorCapture capture;
        ShowMessage(kText);
        QCOMPARE(capture.Text(), kText.toUtf8() + '\n');
        for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<QMessageBox*>(widget));
    }

    void elsewhereAModalBoxWaitsForItsOkButton() {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "minimal");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--child-box"});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray errors = child.readAllStandardError();
        if (child.exitCode() != 0) QSKIP(qPrintable("no platform that shows windows: " + errors));
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
                 QStringList({"text " + kText, "buttons 1", "ok 1", "platform minimal", "returned"}));
        QVERIFY(!errors.contains("ERW002"));  // shown in the box, not written out
    }
};

int main(int argc, char* argv[]) {
    if (argc > 1 && QByteArray(argv[1]) == "--child-box") return BoxChild(argc, argv);
    QApplication application(argc, argv);
    MessageboxTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "Messagebox_test.moc"
