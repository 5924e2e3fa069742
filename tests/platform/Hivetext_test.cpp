#include <QtTest>

#include "platform/Hivetext.h"

namespace {

const QByteArray kKey = "[HKEY_CURRENT_USER\\Software\\Vellimor]\n";

QByteArray WithValue(const QByteArray& line) {
    return "REGEDIT4\n\n" + kKey + line + "\n";
}

QByteArray RandomBytes(qsizetype size) {
    QRandomGenerator generator(20240601);
    QByteArray bytes(size, '\0');
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

QByteArray SourceFile(const QString& relative) {
    QFile file(QStringLiteral(VELLIMOR_SOURCE_DIR "/") + relative);
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(file.fileName()));
    return file.readAll();
}

const RegistryValue& OnlyValue(const Hive& hive) {
    return hive.Keys().constLast().Values.constFirst();
}

}  // namespace

class HivetextTest : public QObject {
    Q_OBJECT

private slots:
    // Whatever is read is written back byte for byte.
    void writesBackWhatItReads_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty hive") << QByteArray("REGEDIT4\n\n");
        QTest::newRow("key alone") << QByteArray("REGEDIT4\n\n" + kKey);
        QTest::newRow("every type")
            << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n" + kKey +
                          "\"ProgramLanguage\"=dword:00000001\n"
                          "\"DeletedFiles\"=dword:ffffffff\n"
                          "\"ConfirmedUser\"=\"J\xc3\xbcrgen \\\"Q\\\" C:\\\\Temp\"\n"
                          "\"ConfirmedDate\"=hex:00,00,00,00,00,00,f0,3f\n");
        QTest::newRow("empty data") << WithValue("\"Empty\"=\"\"\n\"Nothing\"=hex:");
        QTest::newRow("default value") << WithValue("@=\"x\"");
        QTest::newRow("odd names") << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\a]b]\n\"=[x]\\\\\"=dword:0000000a\n");
        QTest::newRow("values at the root") << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER]\n\"A\"=dword:00000000\n");
        QTest::newRow("tab in text") << WithValue("\"T\"=\"a\tb\"");
        // U+FEFF at the start of a text is a character, not a byte-order mark to drop.
        QTest::newRow("text starting with U+FEFF, as the fuzzer found it")
            << SourceFile("tests/fuzz/corpus/Hivetext_fuzz/text-starting-with-feff");
        QTest::newRow("text of U+FEFF alone") << WithValue("\"ConfirmedUser\"=\"\xef\xbb\xbf\"");
    }
    void writesBackWhatItReads() {
        QFETCH(QByteArray, text);
        const auto hive = HiveText::Read(text);
        QVERIFY(hive);
        QCOMPARE(HiveText::Write(*hive), text);
    }

    void readsEachTypeAsTheRegistryStoresIt_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<RegistryType>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("dword") << QByteArray("\"AutoClear\"=dword:01020304") << "AutoClear"
                               << RegistryType::REG_DWORD << QByteArray("\x04\x03\x02\x01");
        QTest::newRow("text with terminating zero")
            << QByteArray("\"ConfirmedUser\"=\"\xc3\xa4\\\\\\\"\"") << "ConfirmedUser" << RegistryType::REG_SZ
            << QByteArray("\xc3\xa4\\\"\0", 5);
        QTest::newRow("binary") << QByteArray("\"ConfirmedDate\"=hex:ff,00,7a") << "ConfirmedDate"
                                << RegistryType::REG_BINARY << QByteArray("\xff\x00\x7a", 3);
        QTest::newRow("escaped name") << QByteArray("\"a\\\"b\"=hex:") << "a\"b" << RegistryType::REG_BINARY
                                      << QByteArray();
    }
    void readsEachTypeAsTheRegistryStoresIt() {
        QFETCH(QByteArray, line);
        QFETCH(QString, name);
        QFETCH(RegistryType, type);
        QFETCH(QByteArray, data);
        const auto hive = HiveText::Read(WithValue(line));
        QVERIFY(hive);
        QCOMPARE(hive->Keys().size(), 1);
        QCOMPARE(hive->Keys()[0].Path, QStringList({"Software", "Vellimor"}));
        QCOMPARE(OnlyValue(*hive).Name, name);
        QCOMPARE(OnlyValue(*hive).Type, type);
        QCOMPARE(OnlyValue(*hive).Data, data);
    }

    void writesValuesInTheOrderFirstWritten() {
        Hive hive;
        hive.CreateKey({"Software", "Vellimor"});
        HiveKey& key = *hive.FindKey({"Software", "Vellimor"});
        key.SetValue({"B", RegistryType::REG_DWORD, QByteArray("\x01\0\0\0", 4)});
        key.SetValue({"A", RegistryType::REG_SZ, QByteArray("x\0", 2)});
        key.SetValue({"B", RegistryType::REG_BINARY, QByteArray("\x10", 1)});
        QCOMPARE(HiveText::Write(hive), QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n" + kKey +
                                                   "\"B\"=hex:10\n\"A\"=\"x\"\n"));
    }

    // Line ends an editor may leave are read; the next write normalises them.
    void readsWhatAnEditorLeaves_data() {
        QTest::addColumn<QByteArray>("text");
        const QByteArray canonical = WithValue("\"A\"=dword:00000001\n\"B\"=\"x\"");
        QByteArray crlf = canonical;
        crlf.replace("\n", "\r\n");
        QTest::newRow("CR LF") << crlf;
        QTest::newRow("no final line end") << canonical.chopped(1);
        QTest::newRow("CR LF, no final line end") << crlf.chopped(2);
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf" + canonical);
        QTest::newRow("empty hive, no final line end") << QByteArray("REGEDIT4\n");
        QTest::newRow("empty hive, first line alone") << QByteArray("REGEDIT4");
    }
    void readsWhatAnEditorLeaves() {
        QFETCH(QByteArray, text);
        const auto hive = HiveText::Read(text);
        QVERIFY(hive);
        const QByteArray expected = text.contains("\"A\"") ? WithValue("\"A\"=dword:00000001\n\"B\"=\"x\"")
                                                           : QByteArray("REGEDIT4\n\n");
        QCOMPARE(HiveText::Write(*hive), expected);
    }

    void refusesAnythingElse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("garbage") << QByteArray("\x01\x02 this is not a hive \xff\xfe\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("other first line") << QByteArray("Windows Registry Editor Version 5.00\n\n" + kKey);
        QTest::newRow("no empty line after the first") << QByteArray("REGEDIT4\n" + kKey);
        QTest::newRow("truncated dword") << WithValue("\"AutoClear\"=dword:000");
        QTest::newRow("truncated text") << WithValue("\"ConfirmedUser\"=\"Jo");
        QTest::newRow("truncated name") << WithValue("\"Confirm");
        QTest::newRow("truncated hex") << WithValue("\"ConfirmedDate\"=hex:00,0");
        QTest::newRow("hex with trailing comma") << WithValue("\"ConfirmedDate\"=hex:00,");
        QTest::newRow("unknown type") << WithValue("\"AutoClear\"=qword:0000000000000001");
        QTest::newRow("expandable text type") << WithValue("\"Path\"=hex(2):41,00");
        QTest::newRow("capital hex digits") << WithValue("\"AutoClear\"=dword:0000000A");
        QTest::newRow("capital type") << WithValue("\"AutoClear\"=DWORD:00000001");
        QTest::newRow("blank around =") << WithValue("\"AutoClear\" = dword:00000001");
        QTest::newRow("unquoted name") << WithValue("AutoClear=dword:00000001");
        QTest::newRow("empty quoted name") << WithValue("\"\"=dword:00000001");
        QTest::newRow("unknown escape") << WithValue("\"ConfirmedUser\"=\"a\\nb\"");
        QTest::newRow("text after the text") << WithValue("\"ConfirmedUser\"=\"a\"b\"");
        QTest::newRow("value before any key") << QByteArray("REGEDIT4\n\n\"AutoClear\"=dword:00000001\n" + kKey);
        QTest::newRow("key without closing bracket")
            << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vellimor\n\"AutoClear\"=dword:00000001\n");
        QTest::newRow("other root") << QByteArray("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Vellimor]\n");
        QTest::newRow("empty key name") << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\\\Vellimor]\n");
        QTest::newRow("same value twice") << WithValue("\"AutoClear\"=dword:00000001\n\"AutoClear\"=dword:00000000");
        QTest::newRow("same value twice in other case") << WithValue("\"AutoClear\"=dword:00000001\n\"autoclear\"=hex:");
        QTest::newRow("same key twice") << QByteArray("REGEDIT4\n\n" + kKey + "\n" + kKey.toUpper());
        QTest::newRow("two empty lines between keys")
            << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n\n" + kKey);
        QTest::newRow("empty line after the last key") << QByteArray("REGEDIT4\n\n" + kKey + "\n");
        QTest::newRow("invalid UTF-8") << WithValue("\"ConfirmedUser\"=\"J\xfcrgen\"");
        QTest::newRow("zero byte") << WithValue(QByteArray("\"ConfirmedUser\"=\"a\0b\"", 20));
        QTest::newRow("two byte-order marks") << QByteArray("\xef\xbb\xbf\xef\xbb\xbfREGEDIT4\n\n");
        QTest::newRow("lone carriage return") << WithValue("\"ConfirmedUser\"=\"a\rb\"");
        QTest::newRow("10 MB of random bytes") << RandomBytes(10 * 1024 * 1024);
        QTest::newRow("random bytes after a good start") << QByteArray("REGEDIT4\n\n" + kKey + RandomBytes(4096));
    }
    void refusesAnythingElse() {
        QFETCH(QByteArray, text);
        QVERIFY(!HiveText::Read(text));
    }

    void representableTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("representable");
        QTest::newRow("plain") << "Jürgen \"the\" \\ user\t" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("line feed") << "a\nb" << false;
        QTest::newRow("carriage return") << "a\rb" << false;
        QTest::newRow("zero") << QString("a") + QChar(u'\0') << false;
    }
    void representableTexts() {
        QFETCH(QString, text);
        QFETCH(bool, representable);
        QCOMPARE(HiveText::Representable(text), representable);
    }
};

QTEST_GUILESS_MAIN(HivetextTest)
#include "Hivetext_test.moc"
