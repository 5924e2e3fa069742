#include "Mainwindowtesting.h"

#include <QApplication>
#include <QSignalSpy>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/Hive.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

}  // namespace

class TformmainclearingTest : public QObject {
    Q_OBJECT

private slots:
    void clearingDeletesListedFilesThenEmptiedDirectoriesAndRelists() {
        MainWindowFixture f;
        f.Temp.File("A/B/C/deep");
        f.Temp.File("A/one");
        f.Temp.File("top");
        f.Temp.File(".hidden");
        QVERIFY(chmod(f.Temp.Path("top").c_str(), 0444) == 0);
        f.Window->RefreshFileList();
        f.Temp.File("late");  // created after the listing: stays, and is listed afterwards
        f.Window->ClearListedFiles();
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 4 files, 3 directories"));
        QVERIFY(!Exists(f.Temp.Path("A")));
        QVERIFY(Exists(f.Temp.Root()));  // the temporary directory itself stays
        QCOMPARE(f.Listed(), std::vector<std::string>{f.Temp.Path("late")});
        QCOMPARE(f.Summary(), QStringLiteral("Files: 1 (0.0 MB)"));
        QCOMPARE(f.Window->StatusTicks, 0);
    }

    void clearingAnEmptyListStillRemovesEmptyDirectoriesAndCountsZero() {
        MainWindowFixture f;
        f.Window->ClearListedFiles();
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 0 files, 0 directories"));
        f.Temp.Directory("E/F");
        f.Window->ClearListedFiles();
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 0 files, 2 directories"));
        QVERIFY(Exists(f.Temp.Root()));
        // Both totals are written on every clearing, also when nothing went.
        QCOMPARE(f.Window->Registry->ReadInteger("DeletedFiles"), 0);
        QCOMPARE(f.Window->Registry->ReadInteger("DeletedDirectories"), 2);
    }

    void totalsAreAddedToTheStoredOnes() {
        MainWindowFixture f;
        f.Window->Registry->WriteInteger("DeletedFiles", 10);
        f.Window->Registry->WriteInteger("DeletedDirectories", 2);
        for (int i = 0; i < 5; ++i) f.Temp.File("D/f" + std::to_string(i));
        f.Window->RefreshFileList();
        f.Window->ClearListedFiles();
        QCOMPARE(f.Window->Registry->ReadInteger("DeletedFiles"), 15);
        QCOMPARE(f.Window->Registry->ReadInteger("DeletedDirectories"), 3);
        QVERIFY(f.Messages.Texts().isEmpty());
    }

    void aFileInUseStaysIsNotCountedAndGoesOnceReleased() {
        MainWindowFixture f;
        f.Temp.File("A/B/C/busy");
        f.Temp.File("A/B/free");
        f.Temp.File("mapped", "some bytes");
        HeldOpenFile holder(f.Temp.Path("A/B/C/busy"));
        HeldOpenFile mapper(f.Temp.Path("mapped"), true);
        QVERIFY(holder.Holding() && mapper.Holding());
        f.Window->RefreshFileList();
        f.Window->ClearListedFiles();
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 1 files, 0 directories"));
        std::vector<std::string> listed = f.Listed();
        std::sort(listed.begin(), listed.end());
        QCOMPARE(listed, (std::vector<std::string>{f.Temp.Path("A/B/C/busy"), f.Temp.Path("mapped")}));
        QCOMPARE(f.Window->Registry->ReadInteger("DeletedFiles"), 1);

        holder.Release();
        mapper.Release();
        f.Window->ClearListedFiles();
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 2 files, 3 directories"));
        QVERIFY(f.Listed().empty());
    }

    void socketsAndFifosStay() {
        MainWindowFixture f;
        const std::string fifo = f.Temp.Path("pipe");
        QVERIFY(mkfifo(fifo.c_str(), 0600) == 0);
        const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string socketPath = f.Temp.Path("sock");
        QVERIFY(socketPath.size() < sizeof(address.sun_path));
        std::strcpy(address.sun_path, socketPath.c_str());
        QVERIFY(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0);
        QVERIFY(listen(listening, 1) == 0);
        f.Window->RefreshFileList();
        f.Window->ClearListedFiles();
        QVERIFY(Exists(fifo));
        QVERIFY(Exists(socketPath));
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 0 files, 0 directories"));
        close(listening);  // no one listens any more: the socket file is just a leftover
        f.Window->ClearListedFiles();
        QVERIFY(!Exists(socketPath));
        QVERIFY(Exists(fifo));
    }

    void aFileGoneAfterTheListingCountsAsDeleted() {
        MainWindowFixture f;
        f.Temp.File("vanishing");
        f.Window->RefreshFileList();
        QVERIFY(unlink(f.Temp.Path("vanishing").c_str()) == 0);
        f.Window->ClearListedFiles();
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 1 files, 0 directories"));
    }

    void linksGoThemselvesAndTheOutsideStays() {
        FixtureTree outside;  // made first, so not inside the temporary directory the window uses
        MainWindowFixture f;
        outside.File("keep/inner");
        outside.File("target");
        f.Temp.Symlink("to-dir", outside.Path("keep"));
        f.Temp.Symlink("to-file", outside.Path("target"));
        f.Window->RefreshFileList();
        f.Window->ClearListedFiles();
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 2 files, 0 directories"));
        QVERIFY(!Exists(f.Temp.Path("to-dir")) && !Exists(f.Temp.Path("to-file")));
        QVERIFY(Exists(outside.Path("keep/inner")) && Exists(outside.Path("target")));
    }

    void aDirectorySwappedForALinkAfterTheListingLeadsNowhere() {
        FixtureTree outside;  // made first, so not inside the temporary directory the window uses
        MainWindowFixture f;
        outside.File("victim");
        f.Temp.File("sub/victim");
        f.Window->RefreshFileList();
        QVERIFY(rename(f.Temp.Path("sub").c_str(), f.Temp.Path("moved").c_str()) == 0);
        f.Temp.Symlink("sub", outside.Root());
        f.Window->ClearListedFiles();
        QVERIFY(Exists(outside.Path("victim")));
        QCOMPARE(f.Window->Registry->ReadInteger("DeletedFiles"), 0);
    }

    void namesAreDeletedExactlyAsListed() {
        MainWindowFixture f;
        f.Temp.File("a ");
        f.Temp.File("new\nline");
        f.Temp.File("bad\xff");
        f.Temp.File("-dash");
        f.Window->RefreshFileList();
        f.Temp.File("a");  // a neighbour that was never listed
        f.Window->ClearListedFiles();
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 4 files, 0 directories"));
        QCOMPARE(f.Listed(), std::vector<std::string>{f.Temp.Path("a")});
        QVERIFY(!f.Window->DeleteListedFile(""));
    }

    void countdownCountsDownThenClearsAndCloses() {
        MainWindowFixture f;
        f.Temp.File("x");
        f.Window->show();
        f.Window->RefreshFileList();
        f.Window->TimerAutoStart.start();
        f.Form().cmdClear->setText(f.Window->Translate("cmdClear2"));
        f.Window->TimerAutoStart.stop();  // ticks are driven by hand
        const QStringList expected{"Deleting files in: 4 seconds", "Deleting files in: 3 seconds",
                                   "Deleting files in: 2 seconds", "Deleting files in: 1 second"};
        for (const QString& text : expected) {
            f.Window->TimerAutoStartTimer();
            QCOMPARE(f.Status(), text);
            QCOMPARE(f.Window->StatusTicks, 0);
        }
        QVERIFY(Exists(f.Temp.Path("x")));
        f.Window->TimerAutoStartTimer();
        QVERIFY(!Exists(f.Temp.Path("x")));
        QVERIFY(!f.Window->isVisible());
        QVERIFY(!f.Window->TimerAutoStart.isActive());
        QCOMPARE(f.Window->Registry->ReadInteger("DeletedFiles"), 1);
    }

    void countdownInGerman() {
        MainWindowFixture f;
        f.Window->Language = 1;
        f.Window->CountdownSeconds = 3;
        f.Window->TimerAutoStartTimer();
        QCOMPARE(f.Status(), QStringLiteral("Dateien werden gelöscht in: 2 Sekunden"));
        f.Window->TimerAutoStartTimer();
        QCOMPARE(f.Status(), QStringLiteral("Dateien werden gelöscht in: 1 Sekunde"));
    }

    void stopCountdownDeletesNothingAndTheNextClickClears() {
        MainWindowFixture f;
        f.Temp.File("x");
        f.Window->RefreshFileList();
        f.Window->TimerAutoStart.start();
        f.Form().cmdClear->setText(f.Window->Translate("cmdClear2"));
        f.Window->TimerAutoStartTimer();
        QCOMPARE(f.Form().cmdClear->text(), QStringLiteral("Stop countdown"));
        QTest::mouseClick(f.Form().cmdClear, Qt::LeftButton);
        QVERIFY(!f.Window->TimerAutoStart.isActive());
        QCOMPARE(f.Form().cmdClear->text(), QStringLiteral("Delete files"));
        QCOMPARE(f.Status(), QString());
        QVERIFY(Exists(f.Temp.Path("x")));
        QTest::mouseClick(f.Form().cmdClear, Qt::LeftButton);
        QVERIFY(!Exists(f.Temp.Path("x")));
        QCOMPARE(f.Status(), QStringLiteral("Deleted: 1 files, 0 directories"));
    }

    void statusAfterClearingExpiresOnTheFourthTick() {
        MainWindowFixture f;
        f.Window->ClearListedFiles();
        for (int tick = 0; tick < 3; ++tick) f.Window->Timer1Timer();
        QVERIFY(!f.Status().isEmpty());
        f.Window->Timer1Timer();
        QVERIFY(f.Status().isEmpty());
    }
};

QTEST_MAIN(TformmainclearingTest)
#include "Tformmainclearing_test.moc"
