// The built program, started as a separate process the way a user or a
// scheduled job starts it.
#include <QtTest>

#include <sys/stat.h>

#include "support/Fixture.h"

namespace {

const QByteArray kKey = "[HKEY_CURRENT_USER\\Software\\Vellimor]\n";

struct ProgramRun {
    int ExitCode = -1;
    bool Finished = false;
    QByteArray Errors;
};

class ProgramFixture {
public:
    FixtureTree Temp;
    FixtureTree Settings;

    void WriteHive(const QByteArray& values) {
        Settings.File("vellimor/user.reg", ("REGEDIT4\n\n" + kKey + values).toStdString());
    }
    QByteArray Hive() {
        QFile file(QString::fromStdString(Settings.Path("vellimor/user.reg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ProgramRun Run(QProcessEnvironment environment, int timeoutMs = 15000) {
        environment.insert("TMPDIR", QString::fromStdString(Temp.Root()));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(Settings.Root()));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(Settings.Path("runtime")));
        mkdir(Settings.Path("runtime").c_str(), 0700);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VELLIMOR_BINARY), {});
        ProgramRun run;
        run.Finished = program.waitForFinished(timeoutMs);
        if (!run.Finished) program.kill();
        run.ExitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        run.Errors = program.readAllStandardError();
        return run;
    }

    static QProcessEnvironment Offscreen() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        return environment;
    }

    bool Exists(const char* relative) {
        struct stat st;
        return lstat(Temp.Path(relative).c_str(), &st) == 0;
    }
};

}  // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void headlessAutomaticModeClearsAndExits() {
        ProgramFixture f;
        f.WriteHive("\"DisclaimerConfirmed\"=dword:00000001\n\"AutoClear\"=dword:00000001\n"
                    "\"DeletedFiles\"=dword:0000000a\n\"DeletedDirectories\"=dword:00000002\n");
        f.Temp.File("a");
        f.Temp.File("sub/b");
        f.Temp.File("sub/deep/c");
        f.Temp.File("kept/held");
        HeldOpenFile holder(f.Temp.Path("kept/held"));
        QVERIFY(holder.Holding());
        const ProgramRun run = f.Run(ProgramFixture::Offscreen());
        QVERIFY2(run.Finished, "the program did not end within 15 seconds");
        QCOMPARE(run.ExitCode, 0);
        QVERIFY(!f.Exists("a") && !f.Exists("sub"));
        QVERIFY(f.Exists("kept/held"));
        const QByteArray hive = f.Hive();
        QVERIFY2(hive.contains("\"DeletedFiles\"=dword:0000000d\n"), hive.constData());        // 10 + 3
        QVERIFY2(hive.contains("\"DeletedDirectories\"=dword:00000004\n"), hive.constData());  // 2 + 2
    }

    void headlessWithoutAcceptedAgreementEndsWithoutDeleting() {
        ProgramFixture f;
        f.WriteHive("\"AutoClear\"=dword:00000001\n");
        f.Temp.File("stays");
        const ProgramRun run = f.Run(ProgramFixture::Offscreen());
        QVERIFY(run.Finished);
        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Errors.contains("licence agreement"), run.Errors.constData());
        QVERIFY(f.Exists("stays"));
    }

    void headlessMessagesGoToStandardErrorAndTheRunGoesOn() {
        ProgramFixture f;
        f.WriteHive("\"DisclaimerConfirmed\"=dword:00000001\n\"AutoClear\"=dword:00000001\n"
                    "\"DeletedFiles\"=\"not a number\"\n");
        f.Temp.File("goes");
        const ProgramRun run = f.Run(ProgramFixture::Offscreen());
        QVERIFY(run.Finished);
        QCOMPARE(run.ExitCode, 0);
        QVERIFY2(run.Errors.contains("[ERW012] Konnte Daten f\xc3\xbcr 'DeletedFiles' nicht holen\n"),
                 run.Errors.constData());
        QVERIFY(!f.Exists("goes"));
    }

    void withoutAnyDisplayItSaysSoInOneLine() {
        ProgramFixture f;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) environment.remove(name);
        const ProgramRun run = f.Run(environment);
        QVERIFY(run.Finished);
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(run.Errors.count('\n'), 1);
        QVERIFY(run.Errors.contains("QT_QPA_PLATFORM=offscreen"));

        environment.insert("DISPLAY", ":97");  // names a display that is not there
        const ProgramRun unreachable = f.Run(environment);
        QCOMPARE(unreachable.ExitCode, 1);
        QCOMPARE(unreachable.Errors.count('\n'), 1);
        QVERIFY(unreachable.Errors.contains("QT_QPA_PLATFORM=offscreen"));
    }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "Program_test.moc"
