// The built program, headless in automatic mode, with a hive it cannot use:
// corrupt, not a file it can read, or in a directory it cannot write. It
// reports its codes on standard error, goes on as far as it can, and leaves
// the hive exactly as it was. A hive it cannot read holds no accepted
// agreement, so it ends with exit code 1 and deletes nothing; one it cannot
// write does not stop the clearing, only the storing of the totals.
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include "support/Programsandbox.h"
#include "support/Treelisting.h"

namespace {

enum class Fault {
    Truncated, NotText, WrongType, Directory, Fifo, LinkLoop, Unreadable, ReadOnlyMount, ReadOnlyDirectory
};

const std::string kValues = std::string(kConfirmedAutomatic) + "\"DeletedFiles\"=dword:00000007\n";

const QByteArray kNotAccepted =
    "Vellimor: the settings hold no accepted licence agreement. Start Vellimor once on a desktop and accept it "
    "there; nothing was deleted.\n";
const QByteArray kAgreementOfWrongType = "[ERW002] Ung\xc3\xbcltiger Datentyp f\xc3\xbcr 'DisclaimerConfirmed'\n";
const QByteArray kTotalsNotStored = "[ERW014] Konnte Daten f\xc3\xbcr 'DeletedFiles' nicht setzen\n"
                                    "[ERW014] Konnte Daten f\xc3\xbcr 'DeletedDirectories' nicht setzen\n";

// Why the fault cannot be made here, or nothing.
const char* MissingPrerequisite(Fault fault, const ProgramSandbox& sandbox) {
    if ((fault == Fault::Unreadable || fault == Fault::ReadOnlyDirectory) && !CanApplyPermissionBits())
        return "root's override of permission bits cannot be dropped here";
    if (fault == Fault::ReadOnlyMount && !CanMountReadOnly(sandbox.SettingsDirectory()))
        return "no read-only bind mount in a private mount namespace here";
    return nullptr;
}

bool MakeFault(Fault fault, const ProgramSandbox& sandbox, ChildSetup& setup) {
    const std::string hive = sandbox.HivePath();
    switch (fault) {
    case Fault::Truncated:
        sandbox.WriteHive(kValues.substr(0, kValues.size() - 8));
        return true;
    case Fault::NotText:
        sandbox.WriteHive(kValues + "\"Note\"=\"\xff\xfe\"\n");
        return true;
    case Fault::WrongType:
        sandbox.WriteHive("\"DisclaimerConfirmed\"=\"1\"\n\"AutoClear\"=dword:00000001\n");
        return true;
    case Fault::Directory:
        sandbox.Tree().File("config/vellimor/user.reg/inside", kValues);
        return true;
    case Fault::Fifo:
        return mkfifo(hive.c_str(), 0600) == 0;
    case Fault::LinkLoop:
        return symlink("user.reg", hive.c_str()) == 0;
    case Fault::Unreadable:
        sandbox.WriteHive(kValues);
        setup.PermissionBitsApply = true;
        return chmod(hive.c_str(), 0) == 0;
    case Fault::ReadOnlyMount:
        sandbox.WriteHive(kValues);
        setup.ReadOnlyDirectory = sandbox.SettingsDirectory();
        return true;
    case Fault::ReadOnlyDirectory:
        sandbox.WriteHive(kValues);
        setup.PermissionBitsApply = true;
        return chmod(sandbox.SettingsDirectory().c_str(), 0500) == 0;
    }
    return false;
}

}  // namespace

Q_DECLARE_METATYPE(Fault)

class HivefaultsTest : public QObject {
    Q_OBJECT

private slots:
    void reportsGoesOnAndLeavesTheHive_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("truncated") << Fault::Truncated << 1 << kNotAccepted;
        QTest::newRow("bytes that are no UTF-8") << Fault::NotText << 1 << kNotAccepted;
        QTest::newRow("the agreement stored as text") << Fault::WrongType << 1 << kAgreementOfWrongType + kNotAccepted;
        QTest::newRow("a directory") << Fault::Directory << 1 << kNotAccepted;
        QTest::newRow("a FIFO without a writer") << Fault::Fifo << 1 << kNotAccepted;
        QTest::newRow("a link to itself") << Fault::LinkLoop << 1 << kNotAccepted;
        QTest::newRow("a file of mode 0000") << Fault::Unreadable << 1 << kNotAccepted;
        QTest::newRow("on a read-only mount") << Fault::ReadOnlyMount << 0 << kTotalsNotStored;
        QTest::newRow("in a directory of mode 0500") << Fault::ReadOnlyDirectory << 0 << kTotalsNotStored;
    }

    void reportsGoesOnAndLeavesTheHive() {
        QFETCH(Fault, fault);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        ProgramSandbox sandbox(VELLIMOR_BINARY);
        if (const char* missing = MissingPrerequisite(fault, sandbox)) QSKIP(missing);
        ChildSetup setup;
        QVERIFY(MakeFault(fault, sandbox, setup));
        sandbox.Tree().File("tmp/file", "listed");
        sandbox.Tree().File("tmp/sub/file", "listed");
        const QByteArray hive = TreeChecksum(sandbox.HivePath());
        const std::vector<std::string> listed = Paths(ListTree(sandbox.Temp()));

        const ProgramRun run = sandbox.Run(setup);
        QVERIFY2(run.Finished, "the program did not end in time");
        QCOMPARE(run.ExitCode, exitCode);
        QCOMPARE(run.Output, output);
        QCOMPARE(TreeChecksum(sandbox.HivePath()), hive);
        // Cleared when it could go on, else untouched.
        const std::vector<std::string> left = Paths(ListTree(sandbox.Temp()));
        QVERIFY(exitCode == 0 ? left.empty() : left == listed);
    }
};

QTEST_GUILESS_MAIN(HivefaultsTest)
#include "Hivefaults_test.moc"
