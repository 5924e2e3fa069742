#include <QtTest>

#include "platform/Hivetext.h"
#include "settings/Tregistrywrapper.h"
#include "support/Hivefixture.h"
#include "support/Messagerecorder.h"

#include <cstdio>
#include <grp.h>
#include <iostream>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// Two running copies of the program, a copy killed in the middle of a write,
// a full disk and an account that may not read the hive. The test program
// starts copies of itself in the roles below (its first argument names the
// role) to play the other processes.

namespace {

const QString kPath = QStringLiteral("\\Software\\Vellimor");
const QByteArray kEmptyKey =
    "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Vellimor]\n";

void Say(const QString& line) {
    std::cout << line.toStdString() << std::endl;  // one write per line, flushed
}

// Role: counts "Counter" up, one write at a time, until it is killed.
int CounterChild() {
    TRegistryWrapper store(nullptr);
    store.SetKeyPath(kPath);
    qint32 value = store.ReadInteger("Counter");
    Say(QStringLiteral("start %1").arg(value));
    for (;;) {
        if (!store.WriteInteger("Counter", ++value)) return 1;
        Say(QStringLiteral("wrote %1").arg(value));
    }
}

// Role: on a line from standard input, writes <prefix>1 .. <prefix><count>.
int BatchChild(const QString& prefix, int count) {
    TRegistryWrapper store(nullptr);
    store.SetKeyPath(kPath);
    Say("ready");
    std::string go;
    std::getline(std::cin, go);
    for (int i = 1; i <= count; ++i) {
        const QString name = prefix + QString::number(i);
        if (!store.WriteString(name, "value of " + name)) return 1;
    }
    return 0;
}

int Skip(const char* what) {
    Say(QStringLiteral("skip %1: %2").arg(what, qt_error_string(errno)));
    return 0;
}

// Role: the settings directory on a tiny file system of a private mount
// namespace, filled up between two writes.
int FullDiskChild() {
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    if (unshare(CLONE_NEWNS) != 0) return Skip("no private mount namespace");
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return Skip("mounts not private");
    if (mount("tmpfs", configHome.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0)
        return Skip("no tmpfs");
    const MessageRecorder messages;
    TRegistryWrapper store(nullptr);
    store.SetKeyPath(kPath);
    Say(QStringLiteral("first write %1").arg(store.WriteInteger("DeletedFiles", 1)));
    const QString hive = configHome + "/vellimor/user.reg";
    QFile file(hive);
    file.open(QIODevice::ReadOnly);
    const QByteArray before = file.readAll();
    file.close();
    QFile filler(configHome + "/filler");
    filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    while (filler.write(QByteArray(4096, 'x')) > 0) {
    }
    Say(QStringLiteral("second write %1").arg(store.WriteInteger("DeletedFiles", 2)));
    file.open(QIODevice::ReadOnly);
    Say(QStringLiteral("hive unchanged %1").arg(file.readAll() == before && before.contains("dword:00000001")));
    Say(QStringLiteral("temporary file left %1").arg(QFileInfo::exists(hive + ".tmp")));
    Say(QStringLiteral("read %1").arg(store.ReadInteger("DeletedFiles")));
    for (const QString& text : messages.Texts()) Say("message " + text);
    return 0;
}

// Role: the store run by an account that may not read the hive.
int NobodyChild() {
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) return Skip("cannot become nobody");
    const MessageRecorder messages;
    TRegistryWrapper store(nullptr);
    store.SetKeyPath(kPath);
    const QList<qint32> results{store.ReadBool("AutoClear"),          store.WriteBool("AutoClear", false),
                                store.WriteString("ConfirmedUser", "x"), store.WriteFloat("ConfirmedDate", 1),
                                store.ReadInteger("DeletedFiles"),     store.WriteInteger("DeletedFiles", 1),
                                store.KeyExists(kPath)};
    for (qint32 result : results) Say(QStringLiteral("result %1").arg(result));
    for (const QString& text : messages.Texts()) Say("message " + text);
    return 0;
}

QStringList Lines(const QByteArray& output) {
    QStringList lines = QString::fromUtf8(output).split(u'\n');
    lines.removeLast();  // after the last line end: nothing, or a line cut short
    return lines;
}

// Runs a role to its end; its output lines.
QStringList RunRole(const QStringList& arguments) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(120000) || child.exitCode() != 0) qWarning() << child.readAllStandardError();
    return Lines(child.readAllStandardOutput());
}

// The stored counter, read straight from the hive file, which must parse.
std::optional<qint32> StoredCounter(const HiveFixture& fixture) {
    const auto hive = HiveText::Read(fixture.HiveBytes());
    const HiveKey* key = hive ? hive->FindKey({"Software", "Vellimor"}) : nullptr;
    if (!key) return std::nullopt;
    const RegistryValue* value = key->FindValue("Counter");
    return value ? qFromLittleEndian<qint32>(value->Data.constData()) : 0;
}

void WaitForLine(QProcess& child, const QByteArray& text, QByteArray& output) {
    while (!output.contains(text) && child.waitForReadyRead(60000)) output += child.readAllStandardOutput();
}

}  // namespace

class TregistrywrapperprocessesTest : public QObject {
    Q_OBJECT

private slots:
    // Killed at any moment of its writes, a copy of the program leaves a hive
    // that parses and holds the last value it had written or the one it was
    // writing.
    void killedWriterLeavesTheOldOrTheNewHive() {
        const HiveFixture fixture;
        QRandomGenerator random(1234);
        qint32 stored = 0;
        for (int round = 0; round < 100; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {"--child-counter"});
            QByteArray output;
            WaitForLine(child, "wrote", output);
            QThread::usleep(random.bounded(20000));
            child.kill();
            child.waitForFinished();
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);  // killed, not ended by itself
            output += child.readAllStandardOutput();
            QCOMPARE(child.readAllStandardError(), QByteArray());
            const QStringList lines = Lines(output);
            QCOMPARE(lines.first(), QStringLiteral("start %1").arg(stored));
            const qint32 confirmed = lines.last().section(u' ', 1).toInt();
            const auto counter = StoredCounter(fixture);
            QVERIFY2(counter, qPrintable(QStringLiteral("round %1: the hive does not parse").arg(round)));
            QVERIFY2(*counter == confirmed || *counter == confirmed + 1,
                     qPrintable(QStringLiteral("round %1: %2 after %3").arg(round).arg(*counter).arg(confirmed)));
            stored = *counter;
        }
        QVERIFY(stored > 100);
    }

    // Two copies write 500 values each at the same time; the lock around
    // every read-modify-write keeps all 1,000.
    void twoCopiesWritingAtOnceLoseNothing() {
        const HiveFixture fixture;
        QProcess a, b;
        a.start(QCoreApplication::applicationFilePath(), {"--child-batch", "A", "500"});
        b.start(QCoreApplication::applicationFilePath(), {"--child-batch", "B", "500"});
        QByteArray outputA, outputB;
        WaitForLine(a, "ready", outputA);
        WaitForLine(b, "ready", outputB);
        a.write("go\n");
        b.write("go\n");
        QVERIFY(a.waitForBytesWritten() && b.waitForBytesWritten());  // both start now, not one after the other
        QVERIFY(a.waitForFinished(300000) && b.waitForFinished(300000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        QCOMPARE(a.readAllStandardError() + b.readAllStandardError(), QByteArray());
        const auto hive = HiveText::Read(fixture.HiveBytes());
        QVERIFY(hive);
        const HiveKey* key = hive->FindKey({"Software", "Vellimor"});
        QVERIFY(key);
        QCOMPARE(key->Values.size(), 1000);
        for (const QString prefix : {"A", "B"}) {
            for (int i = 1; i <= 500; ++i) {
                const QString name = prefix + QString::number(i);
                const RegistryValue* value = key->FindValue(name);
                QVERIFY2(value, qPrintable(name));
                QCOMPARE(value->Type, RegistryType::REG_SZ);
                QCOMPARE(value->Data, ("value of " + name).toUtf8() + '\0');
            }
        }
    }

    void fullDiskKeepsTheOldHiveAndShowsTheEvenCode() {
        const HiveFixture fixture;
        QVERIFY(QDir().mkpath(fixture.ConfigHome()));
        const QStringList lines = RunRole({"--child-full-disk"});
        if (!lines.isEmpty() && lines.first().startsWith("skip")) QSKIP(qPrintable(lines.first()));
        QCOMPARE(lines, QStringList({"first write 1", "second write 0", "hive unchanged 1", "temporary file left 0",
                                     "read 1", "message [ERW014] Konnte Daten für 'DeletedFiles' nicht setzen"}));
    }

    void hiveTheAccountMayNotReadIsAKeyThatCannotBeOpened() {
        const HiveFixture fixture;
        const QByteArray hive = kEmptyKey + "\"AutoClear\"=dword:00000001\n";
        fixture.WriteHive(hive);
        QFile::setPermissions(fixture.HivePath(), QFile::ReadOwner | QFile::WriteOwner);
        for (const QString& directory : {fixture.Root(), fixture.ConfigHome(), fixture.VellimorDirectory()})
            QFile::setPermissions(directory, QFile::permissions(directory) | QFile::ReadOther | QFile::ExeOther);
        const QStringList lines = RunRole({"--child-as-nobody"});
        if (!lines.isEmpty() && lines.first().startsWith("skip")) QSKIP(qPrintable(lines.first()));
        QStringList expected;
        for (int result = 0; result < 7; ++result) expected << "result 0";
        for (int code : {1, 3, 5, 7, 11, 13})
            expected << QStringLiteral("message [ERW%1] Cannot get registry information!").arg(code, 3, 10, QChar('0'));
        QCOMPARE(lines, expected);
        QCOMPARE(fixture.HiveBytes(), hive);
        QCOMPARE(QDir(fixture.VellimorDirectory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"user.reg"});
    }
};

int main(int argc, char* argv[]) {
    const QString role = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // The full-disk role must enter its mount namespace while single-threaded.
    if (role == "--child-full-disk") return FullDiskChild();
    if (role == "--child-as-nobody") return NobodyChild();
    if (role == "--child-counter") return CounterChild();
    if (role == "--child-batch" && argc > 3) return BatchChild(argv[2], QByteArray(argv[3]).toInt());
    QCoreApplication application(argc, argv);
    TregistrywrapperprocessesTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "Tregistrywrapperprocesses_test.moc"
