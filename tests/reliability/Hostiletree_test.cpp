// The built program, started as a process of its own in automatic mode,
// clearing a temporary directory built to trip it up: it must end, delete
// exactly what may go, keep what running programs use, count what it did and
// touch nothing outside, also under tight limits of open files and stack.
#include <QtTest>

#include <sys/stat.h>

#include "support/Hostiletree.h"
#include "support/Programsandbox.h"
#include "support/Treelisting.h"

class HostiletreeTest : public QObject {
    Q_OBJECT

private slots:
    void clearsWhatMayGoAndKeepsTheRest_data() {
        QTest::addColumn<int>("openFiles");
        QTest::addColumn<int>("stackKilobytes");
        QTest::newRow("the usual limits") << 0 << 0;
        QTest::newRow("64 open files and a stack of 512 KiB") << 64 << 512;
    }

    void clearsWhatMayGoAndKeepsTheRest() {
        QFETCH(int, openFiles);
        QFETCH(int, stackKilobytes);
        // Without root's override, the directory of mode 0500 stops the first attempt as it stops any user.
        const bool permissionBitsApply = CanApplyPermissionBits();
        if (!permissionBitsApply) qInfo("root's override of permission bits stays: the locked directory is no obstacle");

        ProgramSandbox sandbox(VELLIMOR_BINARY);
        sandbox.WriteHive(std::string(kConfirmedAutomatic) +
                          "\"DeletedFiles\"=dword:00000007\n\"DeletedDirectories\"=dword:00000003\n");
        const HostileTree hostile(sandbox);
        QVERIFY(hostile.Ready());
        const QByteArray outside = TreeChecksum(sandbox.Outside());
        const std::vector<TreeEntry> before = ListTree(sandbox.Temp());

        ChildSetup setup;
        setup.OpenFiles = rlim_t(openFiles);
        setup.StackBytes = rlim_t(stackKilobytes) * 1024;
        setup.PermissionBitsApply = permissionBitsApply;
        const ProgramRun run = sandbox.Run(setup);
        QVERIFY2(run.Finished, "the program did not end in time");
        QVERIFY2(run.ExitCode == 0, run.Output.constData());
        QVERIFY2(run.Output.isEmpty(), run.Output.constData());

        const std::vector<TreeEntry> after = ListTree(sandbox.Temp());
        const std::string difference = DescribeDifference(Paths(after), hostile.Remains());
        QVERIFY2(difference.empty(), difference.c_str());
        QCOMPARE(TreeChecksum(sandbox.Outside()), outside);
        struct stat temp;
        QVERIFY(lstat(sandbox.Temp().c_str(), &temp) == 0 && S_ISDIR(temp.st_mode));

        // Every listed file that went, and every directory, counted once.
        const QByteArray hive = sandbox.Hive();
        const auto directoriesRemoved = qint32(CountDirectories(before) - CountDirectories(after));
        const auto filesDeleted = qint32(before.size() - after.size()) - directoriesRemoved;
        QCOMPARE(HiveInteger(hive, "DeletedFiles"), std::optional<qint32>(7 + filesDeleted));
        QCOMPARE(HiveInteger(hive, "DeletedDirectories"), std::optional<qint32>(3 + directoriesRemoved));
    }
};

QTEST_GUILESS_MAIN(HostiletreeTest)
#include "Hostiletree_test.moc"
