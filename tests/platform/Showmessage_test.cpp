#include <QtTest>

#include "platform/Showmessage.h"
#include "support/Messagerecorder.h"
#include "support/Standarderrorcapture.h"

class ShowmessageTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetMessageSink({}); }

    void withoutASinkTheTextGoesToStandardErrorAsOneLine() {
        StandardErrorCapture capture;
        ShowMessage("[ERW002] Ungültiger Datentyp für 'AutoClear'");
        ShowMessage("");
        QCOMPARE(capture.Text(), QByteArray("[ERW002] Ung\xc3\xbcltiger Datentyp f\xc3\xbcr 'AutoClear'\n\n"));
    }

    void anInstalledSinkTakesEveryTextUntilItIsRemoved() {
        QStringList shown;
        StandardErrorCapture capture;
        SetMessageSink([&](const QString& text) { shown << text; });
        QVERIFY(CurrentMessageSink());
        ShowMessage("one");
        ShowMessage("two");
        SetMessageSink({});
        QVERIFY(!CurrentMessageSink());
        ShowMessage("three");
        QCOMPARE(shown, QStringList({"one", "two"}));
        QCOMPARE(capture.Text(), QByteArray("three\n"));
    }

    void recorderPutsBackTheSinkThatWasThere() {
        QStringList outer;
        SetMessageSink([&](const QString& text) { outer << text; });
        {
            const MessageRecorder recorder;
            ShowMessage("a");
            {
                const MessageRecorder inner;
                ShowMessage("b");
                QCOMPARE(inner.Texts(), QStringList{"b"});
            }
            ShowMessage("c");
            QCOMPARE(recorder.Texts(), QStringList({"a", "c"}));
        }
        ShowMessage("d");
        QCOMPARE(outer, QStringList{"d"});
        SetMessageSink({});
        { const MessageRecorder recorder; }
        QVERIFY(!CurrentMessageSink());
    }

    void aSinkMayRemoveItselfWhileItRuns() {
        QStringList shown;
        SetMessageSink([&shown](const QString& text) {
            SetMessageSink({});
            shown << text;  // the sink's captures must still be there
        });
        StandardErrorCapture capture;
        ShowMessage("first");
        ShowMessage("second");
        QCOMPARE(shown, QStringList{"first"});
        QCOMPARE(capture.Text(), QByteArray("second\n"));
    }
};

QTEST_GUILESS_MAIN(ShowmessageTest)
#include "Showmessage_test.moc"
