#include <QtTest>

#include "filesystem/Tfunctionswindows.h"
#include "support/Fixture.h"

class TfunctionswindowsTest : public QObject {
    Q_OBJECT

private slots:
    void temporaryDirectory_data() {
        QTest::addColumn<QByteArray>("value");  // "<fixture>" stands for an existing directory
        QTest::addColumn<QByteArray>("expected");
        const QByteArray fallback = QByteArray("/") + "tmp/";
        QTest::newRow("unset") << QByteArray() << fallback;
        QTest::newRow("relative") << QByteArray("relative/dir") << fallback;
        QTest::newRow("missing") << QByteArray("/no/such/directory") << fallback;
        QTest::newRow("a file") << QByteArray("<fixture>file") << fallback;
        QTest::newRow("existing") << QByteArray("<fixture>dir") << QByteArray("<fixture>dir/");
        QTest::newRow("existing with slash") << QByteArray("<fixture>dir/") << QByteArray("<fixture>dir/");
    }
    void temporaryDirectory() {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        FixtureTree t;
        t.File("file");
        t.Directory("dir");
        const QByteArray root = QByteArray::fromStdString(t.Root());
        const QByteArray saved = qgetenv("TMPDIR");
        if (value.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", value.replace("<fixture>", root));
        const std::string actual = TFunctionsWindows(nullptr).GetTempDirectory();
        qputenv("TMPDIR", saved);
        QCOMPARE(QByteArray::fromStdString(actual), expected.replace("<fixture>", root));
    }
};

QTEST_GUILESS_MAIN(TfunctionswindowsTest)
#include "Tfunctionswindows_test.moc"
