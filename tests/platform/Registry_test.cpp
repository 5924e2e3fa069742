#include <QtTest>

#include "platform/Hivefile.h"
#include "platform/Registry.h"
#include "platform/Registryexception.h"
#include "support/Hivefixture.h"

#include <sys/stat.h>

namespace {

const QString kPath = QStringLiteral("\\Software\\Vellimor");
const QByteArray kEmptyKey =
    "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Vellimor]\n";

QByteArray WithValue(const QByteArray& line) {
    return kEmptyKey + line + "\n";
}

// The message of the accessor's exception, or an empty text when none.
template <typename Call>
QString Raised(Call call) {
    try {
        call();
    } catch (const ERegistryException& exception) {
        return exception.Message();
    }
    return QString();
}

mode_t Mode(const QString& path) {
    struct stat status {};
    lstat(QFile::encodeName(path).constData(), &status);
    return status.st_mode;
}

}  // namespace

class RegistryTest : public QObject {
    Q_OBJECT

private slots:
    void hiveLocation_data() {
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("set") << QByteArray("/somewhere/conf") << "/somewhere/conf/vellimor/user.reg";
        QTest::newRow("trailing slash") << QByteArray("/somewhere/conf/") << "/somewhere/conf/vellimor/user.reg";
        QTest::newRow("unset") << QByteArray() << "/home/person/.config/vellimor/user.reg";
        QTest::newRow("relative") << QByteArray("conf") << "/home/person/.config/vellimor/user.reg";
    }
    void hiveLocation() {
        QFETCH(QByteArray, configHome);
        QFETCH(QString, expected);
        const HiveFixture fixture;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", "/home/person");
        if (configHome.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", configHome);
        }
        const QString location = HiveFile::Location();
        qputenv("HOME", home);
        QCOMPARE(location, expected);
    }

    void openKeyCreatesTheKeyAndItsParentsOnlyWhenAllowed() {
        const HiveFixture fixture;
        TRegistry registry;
        QCOMPARE(registry.RootKey(), HKEY_CURRENT_USER);
        QVERIFY(!registry.KeyExists(kPath));
        QVERIFY(!registry.OpenKey(kPath, false));
        QVERIFY(!QFileInfo::exists(fixture.VellimorDirectory()));
        QVERIFY(registry.OpenKey(kPath, true));
        QCOMPARE(fixture.HiveBytes(), kEmptyKey);
        QCOMPARE(Mode(fixture.HivePath()) & 0777, mode_t(0600));
        QVERIFY(registry.KeyExists(kPath));
        QVERIFY(registry.KeyExists("\\software\\VELLIMOR\\"));
        QVERIFY(registry.KeyExists("\\Software"));
        QVERIFY(!registry.KeyExists("\\Software\\\\Vellimor"));
    }

    void pathsWithoutLeadingBackslashStartAtTheOpenKey() {
        const HiveFixture fixture;
        TRegistry registry;
        QVERIFY(registry.OpenKey("Software", true));
        QVERIFY(registry.OpenKey("Vellimor", true));
        registry.WriteInteger("DeletedFiles", 3);
        QCOMPARE(fixture.HiveBytes(), WithValue("\"DeletedFiles\"=dword:00000003"));
        QVERIFY(registry.KeyExists("\\Software\\Vellimor"));
        QVERIFY(!registry.KeyExists("\\Vellimor"));
    }

    void writesEachKindWithTheTypeAndDataOfItsEncoding() {
        const HiveFixture fixture;
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath, true));
        registry.WriteBool("AutoClear", true);
        registry.WriteBool("DisclaimerConfirmed", false);
        registry.WriteInteger("DeletedFiles", -2);
        registry.WriteString("ConfirmedUser", "Jürgen \"J\" C:\\x");
        registry.WriteFloat("ConfirmedDate", 1.0);
        registry.WriteInteger("AUTOCLEAR", 0x12345678);  // replaces in place, keeps the first spelling
        QCOMPARE(fixture.HiveBytes(), WithValue("\"AutoClear\"=dword:12345678\n"
                                                "\"DisclaimerConfirmed\"=dword:00000000\n"
                                                "\"DeletedFiles\"=dword:fffffffe\n"
                                                "\"ConfirmedUser\"=\"J\xc3\xbcrgen \\\"J\\\" C:\\\\x\"\n"
                                                "\"ConfirmedDate\"=hex:00,00,00,00,00,00,f0,3f"));
        registry.WriteFloat("AutoClear", 45000.5);
        QVERIFY(fixture.HiveBytes().contains("\"AutoClear\"=hex:00,00,00,00,10,f9,e5,40\n\"Disclaimer"));
    }

    // An integer read needs a REG_DWORD; data that fit four bytes have the
    // wrong type, longer data cannot be fetched at all.
    void readInteger_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("raised");
        const QString wrongType = "Ungültiger Datentyp für 'V'";
        const QString notFetched = "Konnte Daten für 'V' nicht holen";
        QTest::newRow("all bits") << QByteArray("\"V\"=dword:ffffffff") << -1 << "";
        QTest::newRow("largest") << QByteArray("\"V\"=dword:7fffffff") << 2147483647 << "";
        QTest::newRow("smallest") << QByteArray("\"V\"=dword:80000000") << int(-2147483648LL) << "";
        QTest::newRow("other spelling") << QByteArray("\"v\"=dword:00000002") << 2 << "";
        QTest::newRow("empty text") << QByteArray("\"V\"=\"\"") << 0 << wrongType;
        QTest::newRow("three characters") << QByteArray("\"V\"=\"123\"") << 0 << wrongType;
        QTest::newRow("four characters") << QByteArray("\"V\"=\"1234\"") << 0 << notFetched;
        QTest::newRow("two UTF-8 bytes") << QByteArray("\"V\"=\"\xc3\xa4\"") << 0 << wrongType;
        QTest::newRow("two letters of four UTF-8 bytes") << QByteArray("\"V\"=\"\xc3\xa4\xc3\xb6\"") << 0 << notFetched;
        QTest::newRow("four binary bytes") << QByteArray("\"V\"=hex:01,00,00,00") << 0 << wrongType;
        QTest::newRow("no binary bytes") << QByteArray("\"V\"=hex:") << 0 << wrongType;
        QTest::newRow("eight binary bytes") << QByteArray("\"V\"=hex:00,00,00,00,00,00,f0,3f") << 0 << notFetched;
        QTest::newRow("absent") << QByteArray("\"W\"=dword:00000001") << 0 << notFetched;
    }
    void readInteger() {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        QFETCH(QString, raised);
        const HiveFixture fixture;
        fixture.WriteHive(WithValue(line));
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath, false));
        QCOMPARE(registry.ValueExists("V"), !line.startsWith("\"W\""));
        qint32 value = 0;
        QCOMPARE(Raised([&] { value = registry.ReadInteger("V"); }), raised);
        QCOMPARE(value, expected);
        QCOMPARE(Raised([&] { value = registry.ReadBool("V"); }), raised);
        QCOMPARE(value, qint32(expected != 0));
        QCOMPARE(fixture.HiveBytes(), WithValue(line));
    }

    void writeRaisesWhenTheValueCannotBeSet_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("line break in the text") << "ConfirmedUser" << "a\nb";
        QTest::newRow("line break in the name") << "Confirmed\nUser" << "a";
    }
    void writeRaisesWhenTheValueCannotBeSet() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        const HiveFixture fixture;
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath, true));
        QCOMPARE(Raised([&] { registry.WriteString(name, text); }),
                 QString("Konnte Daten für '%1' nicht setzen").arg(name));
        QCOMPARE(fixture.HiveBytes(), kEmptyKey);
    }

    void writeToAKeyDeletedSinceItWasOpenedRaises() {
        const HiveFixture fixture;
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath, true));
        QVERIFY(TRegistry().DeleteKey(kPath));
        QCOMPARE(Raised([&] { registry.WriteBool("AutoClear", true); }), "Konnte Daten für 'AutoClear' nicht setzen");
        QCOMPARE(fixture.HiveBytes(), QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n"));
        QVERIFY(!registry.ValueExists("AutoClear"));
    }

    void deleteKeyTakesItsSubkeysAndReportsMissingKeys() {
        const HiveFixture fixture;
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath + "\\Sub\\Deeper", true));
        registry.WriteInteger("X", 1);
        QVERIFY(registry.OpenKey("\\Software\\Other", true));
        QVERIFY(registry.DeleteKey(kPath));
        QCOMPARE(fixture.HiveBytes(),
                 QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Other]\n"));
        QVERIFY(!registry.DeleteKey(kPath));
        QVERIFY(!registry.DeleteKey("\\"));
    }

    // The new hive is written beside the old one and renamed over it; when
    // that cannot be done, the old hive stays as it was.
    void failedWriteKeepsTheOldHive() {
        const HiveFixture fixture;
        fixture.WriteHive(WithValue("\"DeletedFiles\"=dword:00000001"));
        QVERIFY(QDir().mkpath(fixture.HivePath() + ".tmp/inside"));
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath, true));
        QCOMPARE(Raised([&] { registry.WriteInteger("DeletedFiles", 2); }),
                 "Konnte Daten für 'DeletedFiles' nicht setzen");
        QCOMPARE(fixture.HiveBytes(), WithValue("\"DeletedFiles\"=dword:00000001"));
        QCOMPARE(registry.ReadInteger("DeletedFiles"), 1);
    }

    void leftoverTemporaryFileIsReplaced() {
        const HiveFixture fixture;
        fixture.WriteHive(kEmptyKey);
        QFile leftover(fixture.HivePath() + ".tmp");
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.write("REGEDIT4\n\nhalf a hi");
        leftover.close();
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath, true));
        registry.WriteBool("AutoClear", true);
        QCOMPARE(fixture.HiveBytes(), WithValue("\"AutoClear\"=dword:00000001"));
        QVERIFY(!leftover.exists());
    }

    void rewriteKeepsTheHiveFilesPermissions() {
        const HiveFixture fixture;
        fixture.WriteHive(kEmptyKey);
        QVERIFY(chmod(QFile::encodeName(fixture.HivePath()).constData(), 0640) == 0);
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath, true));
        registry.WriteBool("AutoClear", true);
        QCOMPARE(Mode(fixture.HivePath()) & 07777, mode_t(0640));
    }

    // A person who keeps the hive elsewhere and links to it keeps the link.
    void linkedHiveStaysLinked() {
        const HiveFixture fixture;
        const QString target = fixture.Root() + "/dotfiles/user.reg";
        QVERIFY(QDir().mkpath(fixture.Root() + "/dotfiles"));
        QVERIFY(QDir().mkpath(fixture.VellimorDirectory()));
        QVERIFY(QFile::link(target, fixture.HivePath()));
        TRegistry registry;
        QVERIFY(!registry.OpenKey(kPath, true));  // a broken link is not a missing hive
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kEmptyKey);
        file.close();
        QVERIFY(registry.OpenKey(kPath, true));
        registry.WriteInteger("DeletedFiles", 7);
        QVERIFY(S_ISLNK(Mode(fixture.HivePath())));
        QCOMPARE(fixture.HiveBytes(), WithValue("\"DeletedFiles\"=dword:00000007"));
        QVERIFY(!QFileInfo::exists(target + ".tmp"));
    }

    void editorLineEndsAreReadAndNormalisedByTheNextWrite() {
        const HiveFixture fixture;
        QByteArray edited = WithValue("\"AutoClear\"=dword:00000002");
        edited.replace("\n", "\r\n").chop(2);
        fixture.WriteHive(edited);
        TRegistry registry;
        QVERIFY(registry.OpenKey(kPath, false));
        QVERIFY(registry.ReadBool("AutoClear"));
        QCOMPARE(fixture.HiveBytes(), edited);
        registry.WriteInteger("DeletedFiles", 1);
        QCOMPARE(fixture.HiveBytes(), WithValue("\"AutoClear\"=dword:00000002\n\"DeletedFiles\"=dword:00000001"));
    }
};

QTEST_GUILESS_MAIN(RegistryTest)
#include "Registry_test.moc"
