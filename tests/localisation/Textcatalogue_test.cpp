#include <QtTest>

#include "localisation/Textcatalogue.h"

class TextcatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void lookup_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("msg1 en") << "msg1" << 0 << "Deleting files in:";
        QTest::newRow("msg1 de") << "msg1" << 1 << "Dateien werden gelöscht in:";
        QTest::newRow("second en") << "second" << 0 << "second";
        QTest::newRow("second de") << "second" << 1 << "Sekunde";
        QTest::newRow("seconds de") << "seconds" << 1 << "Sekunden";
        QTest::newRow("hint de") << "cmdConfigure|Hint" << 1 << "Einstellungen";
        QTest::newRow("tab1 de") << "Configuration|TabSheet1" << 1 << "Einstellungen";
        QTest::newRow("Label1 vs Configuration|Label1")
            << "Configuration|Label1" << 0
            << "Deletes registry keys, that this program has created. (Run separately for each windows user account.)";
        QTest::newRow("Label1") << "Label1" << 0 << "Temporary files";
        QTest::newRow("capitals") << "MSG1" << 0 << "MSG1";
        QTest::newRow("trailing blank") << "msg1 " << 0 << "msg1 ";
        QTest::newRow("empty en") << "" << 0 << "";
        QTest::newRow("empty de") << "" << 1 << "";
        QTest::newRow("empty -1") << "" << -1 << "";
        QTest::newRow("msg6") << "msg6" << 1 << "msg6";
        QTest::newRow("Label9") << "Label9" << 0 << "Label9";
        QTest::newRow("Configuration|Label2") << "Configuration|Label2" << 1 << "Configuration|Label2";
        QTest::newRow("language -1") << "cmdClear" << -1 << "cmdClear";
        QTest::newRow("language 2") << "cmdClear" << 2 << "cmdClear";
    }
    void lookup() {
        QFETCH(QString, key);
        QFETCH(int, language);
        QFETCH(QString, expected);
        QCOMPARE(TextCatalogue::Lookup(key, language), expected);
    }

    void everyKeyHasItsOwnTextsInBothLanguages() {
        QSet<QString> keys;
        for (int i = 0; i < TextCatalogue::EntryCount; ++i) {
            const QString key = TextCatalogue::KeyAt(i);
            QVERIFY2(!keys.contains(key), qPrintable(key));
            keys.insert(key);
            QVERIFY2(TextCatalogue::Lookup(key, 1) != key, qPrintable(key));
            const bool unitKey = key == "second" || key == "seconds";
            QCOMPARE(TextCatalogue::Lookup(key, 0) == key, unitKey);
            for (int language : {0, 1}) {
                const QString text = TextCatalogue::Lookup(key, language);
                QVERIFY(!text.isEmpty());
                QVERIFY(text.trimmed() == text);
                QVERIFY(!text.contains('\n') && !text.contains('\t') && !text.contains('"'));
            }
        }
        QCOMPARE(keys.size(), 31);
    }

    void germanTextsAreUtf8WithTheirUmlauts() {
        QCOMPARE(TextCatalogue::Lookup("Configuration|TabSheet2", 1).toUtf8(), QByteArray("\xC3\x9C" "ber"));
        // The longest text is 230 characters; its umlauts are single letters, not bytes.
        QCOMPARE(TextCatalogue::Lookup("Instructions_L3", 1).size(), 230);
    }
};

QTEST_GUILESS_MAIN(TextcatalogueTest)
#include "Textcatalogue_test.moc"
