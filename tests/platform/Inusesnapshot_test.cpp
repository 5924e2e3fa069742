#include <QtTest>

#include "platform/Filedeletion.h"
#include "platform/Inusesnapshot.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace {

// A child process that takes hold of something, reports that it holds it and
// then waits (or becomes `sleep`) until stopped.
class HoldingChild {
public:
    ~HoldingChild() { Stop(); }

    bool Start(const std::function<bool()>& hold, bool becomeSleep = false) {
        int ready[2];
        if (pipe(ready) != 0)
            return false;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            const char held = hold() ? 'y' : 'n';
            (void)!write(ready[1], &held, 1);
            close(ready[1]);
            if (becomeSleep)
                execlp("sleep", "sleep", "1000", static_cast<char*>(nullptr));
            for (;;)
                pause();
        }
        close(ready[1]);
        char held = 'n';
        const bool ok = pid_ > 0 && read(ready[0], &held, 1) == 1 && held == 'y';
        close(ready[0]);
        return ok;
    }

    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
};

enum class Hold { Open, OpenThroughLink, OpenUnderAnotherName, StandardInputOfSleep, MappedOnly };

bool Exists(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

// Binds a socket in the calling (child) process, by its full name or by a name
// relative to the working directory. A socket address holds at most 107
// bytes; a longer path is reached through the process's own working
// directory, by a name that is absolute and valid while the process lives.
bool ListenAt(const std::string& directory, const std::string& name, bool listening, bool relative = false) {
    std::string path = directory + name;
    sockaddr_un address{};
    if (relative) {
        if (chdir(directory.c_str()) != 0)
            return false;
        path = name;
    } else if (path.size() >= sizeof address.sun_path) {
        if (chdir(directory.c_str()) != 0)
            return false;
        path = "/proc/" + std::to_string(getpid()) + "/cwd/" + name;
    }
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    return fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && (!listening || listen(fd, 1) == 0);
}

}  // namespace

Q_DECLARE_METATYPE(Hold)

// Files that running programs hold open or mapped, listening sockets, FIFOs
// and devices stay when the listed files are deleted.
class InusesnapshotTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> fixture_;
    std::string temp_;     // the temporary directory the deleter clears, ending in '/'
    std::string outside_;  // beside it

    std::string MakeFile(const std::string& path) {
        QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
        if (!file.open(QIODevice::WriteOnly) || file.write("content") != 7)
            qFatal("cannot create %s", path.c_str());
        return path;
    }

private slots:
    void init() {
        fixture_ = std::make_unique<QTemporaryDir>();
        QVERIFY(fixture_->isValid());
        temp_ = QFile::encodeName(fixture_->path()).toStdString() + "/temp/";
        outside_ = QFile::encodeName(fixture_->path()).toStdString() + "/outside/";
        QVERIFY(mkdir(temp_.c_str(), 0700) == 0 && mkdir(outside_.c_str(), 0700) == 0);
        QVERIFY(mkdir((temp_ + "sub").c_str(), 0700) == 0);
    }

    void heldFileStaysUntilItsHolderEnds_data() {
        QTest::addColumn<Hold>("hold");
        QTest::newRow("open") << Hold::Open;
        QTest::newRow("open through a link") << Hold::OpenThroughLink;
        QTest::newRow("open under another name") << Hold::OpenUnderAnotherName;
        QTest::newRow("standard input of sleep") << Hold::StandardInputOfSleep;
        QTest::newRow("mapped, descriptor closed") << Hold::MappedOnly;
    }
    void heldFileStaysUntilItsHolderEnds() {
        QFETCH(Hold, hold);
        const std::string listed = temp_ + "sub/held";
        const std::string neighbour = MakeFile(temp_ + "sub/neighbour");
        std::string opened = listed;
        if (hold == Hold::OpenUnderAnotherName) {
            opened = MakeFile(outside_ + "original");
            QVERIFY(link(opened.c_str(), listed.c_str()) == 0);
        } else {
            MakeFile(listed);
        }
        if (hold == Hold::OpenThroughLink) {
            opened = outside_ + "link";
            QVERIFY(symlink(listed.c_str(), opened.c_str()) == 0);
        }
        HoldingChild child;
        QVERIFY(child.Start(
            [&] {
                const int fd = open(opened.c_str(), O_RDONLY);
                if (fd < 0)
                    return false;
                if (hold == Hold::StandardInputOfSleep)
                    return dup2(fd, 0) == 0 && close(fd) == 0;
                if (hold == Hold::MappedOnly)
                    return mmap(nullptr, 7, PROT_READ, MAP_SHARED, fd, 0) != MAP_FAILED && close(fd) == 0;
                return true;
            },
            hold == Hold::StandardInputOfSleep));

        struct stat status {};
        QVERIFY(lstat(listed.c_str(), &status) == 0);
        QVERIFY(platform::InUseSnapshot::Take().Contains(status));
        {
            platform::FileDeleter deleter(temp_);
            QVERIFY(deleter.FileExists(listed));
            QVERIFY(!deleter.DeleteFile(listed));
            QVERIFY(!deleter.DeleteListedFile(listed));
            QCOMPARE(deleter.DeleteListedFiles(std::vector<std::string>{neighbour, listed}),
                     (std::vector<bool>{true, false}));
            QVERIFY(Exists(listed));
            QVERIFY(!Exists(neighbour));
        }
        child.Stop();
        platform::FileDeleter nextClearing(temp_);
        QVERIFY(nextClearing.DeleteListedFile(listed));
        QVERIFY(!Exists(listed));
    }

    void listeningSocketStaysWhileItsProgramRuns_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("relative");
        QTest::newRow("bound by its full name") << QByteArray("socket") << false;
        QTest::newRow("a name with a line break") << QByteArray("new\nline") << false;
        QTest::newRow("bound by a relative name") << QByteArray("socket") << true;
    }
    void listeningSocketStaysWhileItsProgramRuns() {
        QFETCH(QByteArray, name);
        QFETCH(bool, relative);
        const std::string listed = temp_ + "sub/" + name.toStdString();
        const std::string bound = temp_ + "sub/bound";
        HoldingChild listener;
        QVERIFY(listener.Start([&] {
            return ListenAt(temp_ + "sub/", name.toStdString(), true, relative)
                && ListenAt(temp_ + "sub/", "bound", false);
        }));
        {
            platform::FileDeleter deleter(temp_);
            QVERIFY(deleter.FileExists(listed));
            QVERIFY(!deleter.DeleteListedFile(listed));
            QVERIFY(Exists(listed));
            // Bound but not listening: no program can connect to it.
            QVERIFY(deleter.DeleteListedFile(bound));
            QVERIFY(!Exists(bound));
        }
        listener.Stop();
        QVERIFY(Exists(listed));  // the socket file outlives its program
        platform::FileDeleter nextClearing(temp_);
        QVERIFY(nextClearing.FileExists(listed));
        QVERIFY(nextClearing.DeleteListedFile(listed));
        QVERIFY(!Exists(listed));
    }

    // Opening a FIFO would wait for a writer; it is never opened, and it stays.
    void fifoStays() {
        const std::string listed = temp_ + "sub/fifo";
        QVERIFY(mkfifo(listed.c_str(), 0600) == 0);
        platform::FileDeleter deleter(temp_);
        QVERIFY(deleter.FileExists(listed));
        QVERIFY(!deleter.DeleteFile(listed));
        QVERIFY(!deleter.DeleteListedFile(listed));
        QCOMPARE(deleter.DeleteListedFiles(std::vector<std::string>{listed}), std::vector<bool>{false});
        QVERIFY(Exists(listed));
    }

    void deviceNodeStays() {
        const std::string listed = temp_ + "sub/null";
        if (mknod(listed.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP("device nodes cannot be made here (needs CAP_MKNOD)");
        platform::FileDeleter deleter(temp_);
        QVERIFY(deleter.FileExists(listed));
        QVERIFY(!deleter.DeleteListedFile(listed));
        QVERIFY(Exists(listed));
    }

    // What a walker of this process holds open is directories, which never
    // make the files in them count as in use.
    void ownOpenDirectoriesHoldNothing() {
        const std::string listed = MakeFile(temp_ + "sub/file");
        const int temp = open(temp_.c_str(), O_RDONLY | O_DIRECTORY);
        const int sub = open((temp_ + "sub").c_str(), O_RDONLY | O_DIRECTORY);
        QVERIFY(temp >= 0 && sub >= 0);
        platform::FileDeleter deleter(temp_);
        QVERIFY(deleter.DeleteListedFile(listed));
        QVERIFY(!Exists(listed));
        close(sub);
        close(temp);
    }
};

QTEST_GUILESS_MAIN(InusesnapshotTest)
#include "Inusesnapshot_test.moc"
