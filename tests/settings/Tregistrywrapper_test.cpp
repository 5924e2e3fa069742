#include <QtTest>

#include "settings/Tregistrywrapper.h"
#include "support/Hivefixture.h"
#include "support/Messagerecorder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kPath = QStringLiteral("\\Software\\Vellimor");
const QByteArray kKey = "[HKEY_CURRENT_USER\\Software\\Vellimor]\n";
const QByteArray kEmptyKey = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n" + kKey;

QByteArray WithValue(const QByteArray& line) {
    return kEmptyKey + line + "\n";
}

// Every entry below `root` with its type and, for files and links, what they
// hold, so that a test can tell that nothing at all was changed.
QStringList Snapshot(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status {};
        lstat(QFile::encodeName(path).constData(), &status);
        QString entry = path + QStringLiteral(" mode %1").arg(status.st_mode, 0, 8);
        if (S_ISLNK(status.st_mode)) entry += " -> " + QFile::symLinkTarget(path);
        if (S_ISREG(status.st_mode)) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            entry += " sha1 " + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
        }
        entries << entry;
    }
    entries.sort();
    return entries;
}

QByteArray RandomBytes(qsizetype size) {
    QRandomGenerator generator(7);
    QByteArray bytes(size, '\0');
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

void MakeFile(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Puts one kind of hive in place that the store must refuse to open.
void MakeUnusableHive(const QString& kind, const HiveFixture& fixture) {
    const QByteArray hive = QFile::encodeName(fixture.HivePath());
    QDir().mkpath(fixture.VellimorDirectory());
    if (kind == "garbage") fixture.WriteHive("\x01\x02 no hive here \xff\n[HKEY");
    if (kind == "truncated line") fixture.WriteHive(WithValue("\"AutoClear\"=dword:0000"));
    if (kind == "unknown value type") fixture.WriteHive(WithValue("\"AutoClear\"=qword:0000000000000001"));
    if (kind == "value before any key") fixture.WriteHive("REGEDIT4\n\n\"AutoClear\"=dword:00000001\n" + kKey);
    if (kind == "key without closing bracket")
        fixture.WriteHive("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vellimor\n\"AutoClear\"=dword:00000001\n");
    if (kind == "same value twice")
        fixture.WriteHive(WithValue("\"AutoClear\"=dword:00000001\n\"AutoClear\"=dword:00000000"));
    if (kind == "10 MB of random bytes") fixture.WriteHive(RandomBytes(10 * 1024 * 1024));
    if (kind == "hive is a directory") MakeFile(fixture.HivePath() + "/inside");
    if (kind == "hive is a FIFO without writer") QCOMPARE(mkfifo(hive.constData(), 0600), 0);
    if (kind == "hive is a dangling link") QCOMPARE(symlink("nowhere/user.reg", hive.constData()), 0);
    if (kind == "hive is a looping link") QCOMPARE(symlink("user.reg", hive.constData()), 0);
    if (kind == "hive links to a device") QCOMPARE(symlink("/dev/null", hive.constData()), 0);
    if (kind == "config directory is a file") {
        QDir(fixture.VellimorDirectory()).removeRecursively();
        QDir(fixture.ConfigHome()).removeRecursively();
        MakeFile(fixture.ConfigHome());
    }
    if (kind == "program directory is a file") {
        QDir(fixture.VellimorDirectory()).removeRecursively();
        MakeFile(fixture.VellimorDirectory());
    }
}

}  // namespace

class TregistrywrapperTest : public QObject {
    Q_OBJECT

private slots:
    void firstReadCreatesTheKeyWithoutAMessage_data() {
        QTest::addColumn<bool>("readInteger");
        QTest::newRow("ReadBool") << false;
        QTest::newRow("ReadInteger") << true;
    }
    void firstReadCreatesTheKeyWithoutAMessage() {
        QFETCH(bool, readInteger);
        const HiveFixture fixture;
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        QVERIFY(!store.KeyExists(kPath));
        QVERIFY(!QFileInfo::exists(fixture.VellimorDirectory()));
        QCOMPARE(readInteger ? store.ReadInteger("DeletedFiles") : qint32(store.ReadBool("AutoClear")), 0);
        QVERIFY(store.KeyExists(kPath));
        QCOMPARE(fixture.HiveBytes(), kEmptyKey);
        QCOMPARE(messages.Texts(), QStringList());
    }

    void deletingAMissingKeyIsTrueAndShowsNothing() {
        const HiveFixture fixture;
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        QVERIFY(store.DeleteKey(kPath));
        QCOMPARE(messages.Texts(), QStringList());
        QVERIFY(!QFileInfo::exists(fixture.ConfigHome()));
    }

    void deletingTheKeyRemovesEveryValue() {
        const HiveFixture fixture;
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        QVERIFY(store.WriteInteger("DeletedFiles", 12));
        QVERIFY(store.WriteBool("AutoClear", true));
        QVERIFY(store.DeleteKey(kPath));
        QVERIFY(!store.KeyExists(kPath));
        QCOMPARE(fixture.HiveBytes(), QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n"));
        QCOMPARE(store.ReadInteger("DeletedFiles"), 0);
        QVERIFY(!store.ReadBool("AutoClear"));
        QCOMPARE(messages.Texts(), QStringList());
    }

    void writesUseTheRegistryEncodings() {
        const HiveFixture fixture;
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        QVERIFY(store.WriteInteger("ProgramLanguage", 1));
        QVERIFY(store.WriteBool("DisclaimerConfirmed", true));
        QVERIFY(store.WriteFloat("ConfirmedDate", 2.5));
        QVERIFY(store.WriteString("ConfirmedUser", "Jörg \"der\" C:\\"));
        QVERIFY(store.WriteBool("AutoClear", false));
        QVERIFY(store.WriteInteger("DeletedFiles", -1));
        QVERIFY(store.WriteInteger("DeletedDirectories", 0x7fffffff));
        QCOMPARE(fixture.HiveBytes(), WithValue("\"ProgramLanguage\"=dword:00000001\n"
                                                "\"DisclaimerConfirmed\"=dword:00000001\n"
                                                "\"ConfirmedDate\"=hex:00,00,00,00,00,00,04,40\n"
                                                "\"ConfirmedUser\"=\"J\xc3\xb6rg \\\"der\\\" C:\\\\\"\n"
                                                "\"AutoClear\"=dword:00000000\n"
                                                "\"DeletedFiles\"=dword:ffffffff\n"
                                                "\"DeletedDirectories\"=dword:7fffffff"));
        QCOMPARE(store.ReadInteger("DeletedFiles"), -1);
        QCOMPARE(store.ReadInteger("DeletedDirectories"), 0x7fffffff);
        QVERIFY(store.ReadBool("DisclaimerConfirmed"));
        QCOMPARE(messages.Texts(), QStringList());
    }

    void storedValuesRead_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("integer");
        QTest::addColumn<bool>("truth");
        QTest::newRow("all 32 bits") << QByteArray("\"V\"=dword:ffffffff") << -1 << true;
        QTest::newRow("two") << QByteArray("\"V\"=dword:00000002") << 2 << true;
        QTest::newRow("highest bit") << QByteArray("\"V\"=dword:80000000") << int(-2147483648LL) << true;
        QTest::newRow("zero") << QByteArray("\"V\"=dword:00000000") << 0 << false;
        QTest::newRow("absent") << QByteArray("\"W\"=dword:00000005") << 0 << false;
    }
    void storedValuesRead() {
        QFETCH(QByteArray, line);
        QFETCH(int, integer);
        QFETCH(bool, truth);
        const HiveFixture fixture;
        fixture.WriteHive(WithValue(line));
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        QCOMPARE(store.ReadInteger("V"), integer);
        QCOMPARE(store.ReadBool("V"), truth);
        QCOMPARE(messages.Texts(), QStringList());
        QCOMPARE(fixture.HiveBytes(), WithValue(line));
    }

    void readOfAnotherTypeShowsTheEvenCode_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("readInteger");
        QTest::addColumn<QString>("message");
        QTest::newRow("one-character text as truth value")
            << QByteArray("\"AutoClear\"=\"1\"") << false << "[ERW002] Ungültiger Datentyp für 'AutoClear'";
        QTest::newRow("longer text as integer")
            << QByteArray("\"DeletedFiles\"=\"1234\"") << true << "[ERW012] Konnte Daten für 'DeletedFiles' nicht holen";
        QTest::newRow("short text as integer")
            << QByteArray("\"DeletedFiles\"=\"12\"") << true << "[ERW012] Ungültiger Datentyp für 'DeletedFiles'";
        QTest::newRow("date as truth value") << QByteArray("\"AutoClear\"=hex:00,00,00,00,00,00,f0,3f") << false
                                             << "[ERW002] Konnte Daten für 'AutoClear' nicht holen";
        QTest::newRow("four bytes as integer") << QByteArray("\"DeletedFiles\"=hex:01,00,00,00") << true
                                               << "[ERW012] Ungültiger Datentyp für 'DeletedFiles'";
    }
    void readOfAnotherTypeShowsTheEvenCode() {
        QFETCH(QByteArray, line);
        QFETCH(bool, readInteger);
        QFETCH(QString, message);
        const HiveFixture fixture;
        fixture.WriteHive(WithValue(line));
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        const QString name = readInteger ? "DeletedFiles" : "AutoClear";
        QCOMPARE(readInteger ? store.ReadInteger(name) : qint32(store.ReadBool(name)), 0);
        QCOMPARE(messages.Texts(), QStringList{message});
        QCOMPARE(fixture.HiveBytes(), WithValue(line));
    }

    void writingTheSameValueTwiceLeavesTheSameBytes_data() {
        QTest::addColumn<int>("operation");
        QTest::newRow("WriteBool") << 0;
        QTest::newRow("WriteString") << 1;
        QTest::newRow("WriteFloat") << 2;
        QTest::newRow("WriteInteger") << 3;
    }
    void writingTheSameValueTwiceLeavesTheSameBytes() {
        QFETCH(int, operation);
        const HiveFixture fixture;
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        QVERIFY(store.WriteInteger("Before", 1));
        const auto write = [&] {
            switch (operation) {
            case 0: return store.WriteBool("V", true);
            case 1: return store.WriteString("V", "ä");
            case 2: return store.WriteFloat("V", 46000.25);
            default: return store.WriteInteger("V", -7);
            }
        };
        QVERIFY(write());
        QVERIFY(store.WriteInteger("After", 2));
        const QByteArray once = fixture.HiveBytes();
        QVERIFY(write());
        QCOMPARE(fixture.HiveBytes(), once);
        QCOMPARE(messages.Texts(), QStringList());
    }

    void storesShareAndCacheNothing() {
        const HiveFixture fixture;
        const MessageRecorder messages;
        TRegistryWrapper main(nullptr), setup(nullptr);
        main.SetKeyPath(kPath);
        setup.SetKeyPath(kPath);
        QVERIFY(setup.WriteInteger("ProgramLanguage", 1));
        QCOMPARE(main.ReadInteger("ProgramLanguage"), 1);
        fixture.WriteHive(WithValue("\"ProgramLanguage\"=dword:00000000"));
        QCOMPARE(setup.ReadInteger("ProgramLanguage"), 0);
        QCOMPARE(messages.Texts(), QStringList());
    }

    // A hive the program cannot use is the key that can be neither opened nor
    // created: every value operation shows its odd code and gives false or 0,
    // KeyExists is quietly false, and nothing on disk changes.
    void unusableHiveIsAKeyThatCannotBeOpened_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind :
             {"garbage", "truncated line", "unknown value type", "value before any key", "key without closing bracket",
              "same value twice", "10 MB of random bytes", "hive is a directory", "hive is a FIFO without writer",
              "hive is a dangling link", "hive is a looping link", "hive links to a device",
              "config directory is a file", "program directory is a file"})
            QTest::newRow(kind) << QString(kind);
    }
    void unusableHiveIsAKeyThatCannotBeOpened() {
        QFETCH(QString, kind);
        const HiveFixture fixture;
        MakeUnusableHive(kind, fixture);
        const QStringList before = Snapshot(fixture.Root());
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        QVERIFY(!store.ReadBool("AutoClear"));
        QVERIFY(!store.WriteBool("AutoClear", true));
        QVERIFY(!store.WriteString("ConfirmedUser", "someone"));
        QVERIFY(!store.WriteFloat("ConfirmedDate", 1.5));
        QCOMPARE(store.ReadInteger("DeletedFiles"), 0);
        QVERIFY(!store.WriteInteger("DeletedFiles", 3));
        QVERIFY(!store.KeyExists(kPath));
        QStringList expected;
        for (int code : {1, 3, 5, 7, 11, 13})
            expected << QStringLiteral("[ERW%1] Cannot get registry information!").arg(code, 3, 10, QChar('0'));
        QCOMPARE(messages.Texts(), expected);
        QCOMPARE(Snapshot(fixture.Root()), before);
    }

    // The new hive cannot take the place of the old one (here its temporary
    // file's name is taken by a directory): the old hive stays and the write
    // shows its even code.
    void failedWriteKeepsTheOldHive_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("message");
        QTest::newRow("WriteBool") << 0 << "[ERW004] Konnte Daten für 'AutoClear' nicht setzen";
        QTest::newRow("WriteString") << 1 << "[ERW006] Konnte Daten für 'ConfirmedUser' nicht setzen";
        QTest::newRow("WriteFloat") << 2 << "[ERW008] Konnte Daten für 'ConfirmedDate' nicht setzen";
        QTest::newRow("WriteInteger") << 3 << "[ERW014] Konnte Daten für 'DeletedFiles' nicht setzen";
    }
    void failedWriteKeepsTheOldHive() {
        QFETCH(int, operation);
        QFETCH(QString, message);
        const HiveFixture fixture;
        const QByteArray old = WithValue("\"AutoClear\"=dword:00000000\n\"DeletedFiles\"=dword:00000004");
        fixture.WriteHive(old);
        MakeFile(fixture.HivePath() + ".tmp/inside");
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        const bool written = operation == 0   ? store.WriteBool("AutoClear", true)
                             : operation == 1 ? store.WriteString("ConfirmedUser", "someone")
                             : operation == 2 ? store.WriteFloat("ConfirmedDate", 1.5)
                                              : store.WriteInteger("DeletedFiles", 5);
        QVERIFY(!written);
        QCOMPARE(messages.Texts(), QStringList{message});
        QCOMPARE(fixture.HiveBytes(), old);
        QCOMPARE(store.ReadInteger("DeletedFiles"), 4);
    }

    // A deletion that cannot be written is reported, not passed off as done.
    void failedKeyDeletionIsReportedAndKeepsTheHive() {
        const HiveFixture fixture;
        const QByteArray old = WithValue("\"AutoClear\"=dword:00000001");
        fixture.WriteHive(old);
        MakeFile(fixture.HivePath() + ".tmp/inside");
        const MessageRecorder messages;
        TRegistryWrapper store(nullptr);
        QVERIFY(!store.DeleteKey(kPath));
        QCOMPARE(messages.Texts(),
                 QStringList{QStringLiteral("[ERW010] Konnte Schlüssel '\\Software\\Vellimor' nicht löschen")});
        QCOMPARE(fixture.HiveBytes(), old);
        QVERIFY(store.KeyExists(kPath));
    }
};

QTEST_GUILESS_MAIN(TregistrywrapperTest)
#include "Tregistrywrapper_test.moc"
