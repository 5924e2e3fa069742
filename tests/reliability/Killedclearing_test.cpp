// The built program killed with SIGKILL in the middle of clearing a
// directory of very many files: the next run starts, lists what is left and
// clears it, and the totals count each file once.
#include <QtTest>

#include <csignal>
#include <thread>

#include "support/Hostiletree.h"
#include "support/Programsandbox.h"
#include "support/Treelisting.h"

class KilledclearingTest : public QObject {
    Q_OBJECT

private slots:
    void nextRunClearsWhatAKilledRunLeft() {
        ProgramSandbox sandbox(VELLIMOR_BINARY);
        sandbox.WriteHive(std::string(kConfirmedAutomatic) +
                          "\"DeletedFiles\"=dword:00000007\n\"DeletedDirectories\"=dword:00000003\n");
        const QByteArray hiveBefore = sandbox.Hive();
        ManyFiles(sandbox.Tree(), "tmp/many", kFilesInOneDirectory);
        sandbox.Tree().File("tmp/nested/a/b/file", "nested");
        sandbox.Tree().File("tmp/nested/c/file", "nested");
        sandbox.Tree().File("tmp/top", "top");

        // Killed once about a quarter of the files are gone.
        const std::string many = sandbox.Temp() + "many";
        const auto killed = sandbox.Start();
        QVERIFY(killed->Started());
        QDeadlineTimer deadline(kProgramTimeoutMs);
        while (!killed->Finished() && !deadline.hasExpired() &&
               CountEntries(many) > std::size_t(kFilesInOneDirectory) / 4 * 3)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        killed->Kill();
        QVERIFY2(killed->TerminationSignal() == SIGKILL, "the clearing had ended before the kill");

        const std::vector<TreeEntry> left = ListTree(sandbox.Temp());
        const auto directoriesLeft = qint32(CountDirectories(left));
        const auto filesLeft = qint32(left.size()) - directoriesLeft;
        QVERIFY2(filesLeft > 0 && filesLeft < kFilesInOneDirectory, "the kill did not come in the middle");
        QCOMPARE(sandbox.Hive(), hiveBefore);  // its totals were to be stored after the clearing

        const ProgramRun next = sandbox.Run();
        QVERIFY2(next.Finished, "the next run did not end in time");
        QVERIFY2(next.ExitCode == 0, next.Output.constData());
        QVERIFY2(next.Output.isEmpty(), next.Output.constData());
        const std::string difference = DescribeDifference(Paths(ListTree(sandbox.Temp())), {});
        QVERIFY2(difference.empty(), difference.c_str());
        const QByteArray hive = sandbox.Hive();
        QCOMPARE(HiveInteger(hive, "DeletedFiles"), std::optional<qint32>(7 + filesLeft));
        QCOMPARE(HiveInteger(hive, "DeletedDirectories"), std::optional<qint32>(3 + directoriesLeft));
    }
};

QTEST_GUILESS_MAIN(KilledclearingTest)
#include "Killedclearing_test.moc"
