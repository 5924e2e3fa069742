#include <QtTest>

#include "platform/Filedeletion.h"
#include "support/Fixture.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

namespace {

std::string Text(const QByteArray& bytes) {
    return bytes.toStdString();
}

bool Exists(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

std::string MakeFile(const std::string& path, std::string_view content = "content") {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0 || write(fd, content.data(), content.size()) != ssize_t(content.size()) || close(fd) != 0)
        qFatal("cannot create %s", path.c_str());
    return path;
}

std::string Content(const std::string& path) {
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<unreadable>";
}

mode_t Mode(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Every entry below `directory`, relative to it, sorted.
QStringList Entries(const std::string& directory) {
    const QString base = QFile::decodeName(QByteArray::fromStdString(directory));
    QStringList entries;
    QDirIterator it(base, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next().mid(base.size());
    entries.sort();
    return entries;
}

}  // namespace

// Deleting listed files and removing emptied directories touches exactly the
// listed entries below the temporary directory, and nothing outside it.
class FiledeletionTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FixtureTree> fixture_;
    std::string root_;     // the fixture, ending in '/'
    std::string temp_;     // the temporary directory the deleter clears, ending in '/'
    std::string outside_;  // beside it

    // "T/x" names x below the temporary directory, "R/x" below the fixture.
    std::string Path(const QByteArray& spelt) const {
        if (spelt.startsWith("T/"))
            return temp_ + Text(spelt.mid(2));
        if (spelt.startsWith("R/"))
            return root_ + Text(spelt.mid(2));
        return Text(spelt);
    }

    // Files of 40 directories in a mixed order, with a FIFO, missing, refused,
    // repeated and linked paths among them.
    void BuildMixedTree(const std::string& temp, std::vector<std::string>& paths) {
        QVERIFY(mkdir(temp.c_str(), 0755) == 0);
        for (int d = 0; d < 40; ++d) {
            const std::string directory = temp + "d" + std::to_string((d * 17) % 40) + "/";
            QVERIFY(mkdir(directory.c_str(), 0755) == 0);
            for (int f = 0; f < 5; ++f)
                paths.push_back(MakeFile(directory + "f" + std::to_string(f)));
        }
        QVERIFY(mkfifo((temp + "d7/fifo").c_str(), 0600) == 0);
        QVERIFY(symlink("d3", (temp + "link").c_str()) == 0);
        paths.insert(paths.begin() + 37, temp + "d7/fifo");
        paths.insert(paths.begin() + 80, temp + "d13/missing");
        paths.insert(paths.begin() + 81, temp + "d13/../d14/f0");
        paths.insert(paths.begin() + 120, temp + "gone/f0");
        paths.insert(paths.begin() + 150, temp + "d20");
        paths.insert(paths.begin() + 151, "");
        paths.push_back(paths[3]);
        paths.push_back(temp + "d7/fifo");
        paths.push_back(temp + "link/f1");
    }

    // Directories in the walker's order, parents first: emptied trees, one
    // that still holds a file, a link to a directory, a missing one and enough
    // leaves to share among threads.
    void BuildDirectoryTree(const std::string& temp, bool listedTwice, std::vector<std::string>& paths) {
        QVERIFY(mkdir(temp.c_str(), 0755) == 0);
        QVERIFY(mkdir((outside_ + "empty").c_str(), 0755) == 0 || errno == EEXIST);
        for (const char* directory : {"a", "a/b", "a/b/c", "a/b/d", "a/e", "f", "f/g", "h", "i", "i/j", "i/j/k",
                                      "m", "p"}) {
            paths.push_back(temp + directory);
            if (std::string_view(directory) == "h")
                QVERIFY(symlink((outside_ + "empty").c_str(), paths.back().c_str()) == 0);
            else if (std::string_view(directory) != "m")
                QVERIFY(mkdir(paths.back().c_str(), 0755) == 0);
            if (listedTwice && std::string_view(directory) == "a/b/c")
                paths.push_back(paths.back());
        }
        MakeFile(temp + "f/g/file");
        for (int leaf = 0; leaf < 30; ++leaf) {
            paths.push_back(temp + "p/n" + std::to_string(leaf));
            QVERIFY(mkdir(paths.back().c_str(), 0755) == 0);
        }
    }

private slots:
    void init() {
        fixture_ = std::make_unique<FixtureTree>();
        QVERIFY(fixture_->IsValid());
        root_ = fixture_->Root();
        temp_ = root_ + "temp/";
        outside_ = root_ + "outside/";
        for (const std::string& directory : {temp_, outside_, temp_ + "sub"})
            QVERIFY(mkdir(directory.c_str(), 0755) == 0);
    }
    void cleanup() { fixture_.reset(); }

    void namesAreDeletedExactly_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QList<QByteArray>>("neighbours");
        QTest::newRow("trailing blank") << QByteArray("a ") << QList<QByteArray>{"a"};
        QTest::newRow("leading blank") << QByteArray(" a") << QList<QByteArray>{"a", "a "};
        QTest::newRow("only blanks") << QByteArray("  ") << QList<QByteArray>{" "};
        QTest::newRow("newline") << QByteArray("a\nb") << QList<QByteArray>{"a", "b"};
        QTest::newRow("control character") << QByteArray("a\x01") << QList<QByteArray>{"a"};
        QTest::newRow("invalid UTF-8") << QByteArray("\xff\xfe") << QList<QByteArray>{"\xff", "\xef\xbf\xbd"};
        QTest::newRow("backslash") << QByteArray("a\\b") << QList<QByteArray>{"a", "b"};
        QTest::newRow("dots") << QByteArray("...") << QList<QByteArray>{"..a"};
    }
    void namesAreDeletedExactly() {
        QFETCH(QByteArray, name);
        QFETCH(QList<QByteArray>, neighbours);
        // Once as a file beside its neighbours, once inside a directory of that name.
        const std::string inDirectory = temp_ + Text(name) + "-dir/";
        QVERIFY(mkdir(inDirectory.c_str(), 0755) == 0);
        const std::string listed = MakeFile(temp_ + "sub/" + Text(name));
        const std::string nested = MakeFile(inDirectory + Text(name));
        for (const QByteArray& neighbour : neighbours)
            MakeFile(temp_ + "sub/" + Text(neighbour));

        platform::FileDeleter deleter(temp_);
        QVERIFY(deleter.FileExists(listed));
        QVERIFY(deleter.DeleteListedFile(listed));
        QVERIFY(deleter.DeleteFile(nested));
        QVERIFY(!Exists(listed));
        QVERIFY(!Exists(nested));
        for (const QByteArray& neighbour : neighbours)
            QVERIFY2(Exists(temp_ + "sub/" + Text(neighbour)), neighbour.toHex().constData());
        QVERIFY(deleter.RemoveDirectory(inDirectory.substr(0, inDirectory.size() - 1)));
    }

    void refusedPathsTouchNothing_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("outside") << QByteArray("R/outside/victim");
        QTest::newRow("stepping out") << QByteArray("T/sub/../../outside/victim");
        QTest::newRow("stepping up inside") << QByteArray("T/sub/../victim");
        QTest::newRow("current directory") << QByteArray("T/./victim");
        QTest::newRow("empty component") << QByteArray("T/sub//victim");
        QTest::newRow("closing slash") << QByteArray("T/sub/victim/");
        QTest::newRow("NUL byte") << QByteArray("T/victim\0.tmp", 13);
        QTest::newRow("sibling sharing the prefix") << QByteArray("R/temp-other/victim");
        QTest::newRow("temporary directory without its slash") << QByteArray("R/temp");
        QTest::newRow("temporary directory") << QByteArray("T/");
    }
    void refusedPathsTouchNothing() {
        QFETCH(QByteArray, path);
        QVERIFY(mkdir((root_ + "temp-other").c_str(), 0755) == 0);
        const std::vector<std::string> victims{MakeFile(outside_ + "victim"), MakeFile(temp_ + "victim"),
                                               MakeFile(temp_ + "sub/victim"), MakeFile(root_ + "temp-other/victim")};
        const std::string listed = Path(path);

        platform::FileDeleter deleter(temp_);
        QVERIFY(!deleter.DeleteListedFile(listed));
        QVERIFY(!deleter.DeleteFile(listed));
        QCOMPARE(deleter.DeleteListedFiles(std::vector<std::string>{listed}), std::vector<bool>{false});
        QVERIFY(!deleter.RemoveDirectory(listed));
        // Never taken for a file that is already gone.
        QCOMPARE(deleter.FileExists(listed), !listed.empty() && listed != temp_);
        for (const std::string& victim : victims)
            QVERIFY2(Exists(victim), victim.c_str());
        QVERIFY(Exists(temp_));
    }

    void linksGoThemselves_data() {
        QTest::addColumn<QByteArray>("target");
        QTest::newRow("outside directory") << QByteArray("R/outside/directory");
        QTest::newRow("outside file") << QByteArray("R/outside/file");
        QTest::newRow("dangling") << QByteArray("R/outside/missing");
        QTest::newRow("directory inside") << QByteArray("T/sub");
    }
    void linksGoThemselves() {
        QFETCH(QByteArray, target);
        QVERIFY(mkdir((outside_ + "directory").c_str(), 0755) == 0);
        MakeFile(outside_ + "directory/file", "kept");
        MakeFile(outside_ + "file", "kept");
        MakeFile(temp_ + "sub/file", "kept");
        const std::string link = temp_ + "link";
        QVERIFY(symlink(Path(target).c_str(), link.c_str()) == 0);

        platform::FileDeleter deleter(temp_);
        QVERIFY(deleter.FileExists(link));
        QVERIFY(!deleter.DirectoryExists(link));
        QVERIFY(deleter.DeleteListedFile(link));
        QVERIFY(!Exists(link));
        for (const std::string& kept : {outside_ + "directory/file", outside_ + "file", temp_ + "sub/file"})
            QCOMPARE(Content(kept), "kept");
    }

    // A directory replaced by a link after the listing: whatever is found through
    // the link stays, whether or not the directory was in use by the deleter.
    void directorySwappedForLinkReachesNothingOutside_data() {
        QTest::addColumn<bool>("heldBefore");
        QTest::newRow("fresh deleter") << false;
        QTest::newRow("directory held by the deleter") << true;
    }
    void directorySwappedForLinkReachesNothingOutside() {
        QFETCH(bool, heldBefore);
        QVERIFY(mkdir((temp_ + "d").c_str(), 0755) == 0);
        QVERIFY(mkdir((outside_ + "e").c_str(), 0755) == 0);
        const std::string listed = MakeFile(temp_ + "d/f");
        MakeFile(temp_ + "d/g");
        MakeFile(outside_ + "f", "outside");
        platform::FileDeleter deleter(temp_);
        if (heldBefore)
            QVERIFY(deleter.DeleteListedFile(temp_ + "d/g"));

        QVERIFY(rename((temp_ + "d").c_str(), (temp_ + "d-moved").c_str()) == 0);
        QVERIFY(symlink(outside_.c_str(), (temp_ + "d").c_str()) == 0);
        const bool deleted = deleter.DeleteListedFile(listed);
        QVERIFY(!deleter.RemoveDirectory(temp_ + "d/e"));
        QVERIFY(!deleter.DirectoryExists(temp_ + "d/e"));
        QVERIFY(!deleter.DirectoryExists(temp_ + "d"));
        QVERIFY(!deleter.RemoveDirectory(temp_ + "d"));

        QCOMPARE(Content(outside_ + "f"), "outside");
        QVERIFY(Exists(outside_ + "e"));
        QVERIFY(Exists(temp_ + "d"));
        if (!heldBefore) {
            QVERIFY(!deleted);
            QVERIFY(!deleter.DeleteFile(listed));
            QCOMPARE(deleter.DeleteListedFiles(std::vector<std::string>{listed}), std::vector<bool>{false});
            QVERIFY(deleter.FileExists(listed));  // reached through a link: not known to be gone
            QCOMPARE(Content(outside_ + "f"), "outside");
        }
    }

    void fileExists_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("exists");
        QTest::newRow("file") << QByteArray("T/sub/file") << true;
        QTest::newRow("empty file") << QByteArray("T/empty") << true;
        QTest::newRow("dangling link") << QByteArray("T/dangling") << true;
        QTest::newRow("link to a directory") << QByteArray("T/link-to-sub") << true;
        QTest::newRow("FIFO") << QByteArray("T/fifo") << true;
        QTest::newRow("directory") << QByteArray("T/sub") << false;
        QTest::newRow("missing") << QByteArray("T/missing") << false;
        QTest::newRow("in a missing directory") << QByteArray("T/missing/file") << false;
        QTest::newRow("below a file") << QByteArray("T/empty/file") << false;
        QTest::newRow("through a link") << QByteArray("T/link-to-sub/file") << true;
        QTest::newRow("temporary directory") << QByteArray("T/") << false;
        QTest::newRow("empty path") << QByteArray("") << false;
    }
    void fileExists() {
        QFETCH(QByteArray, path);
        QFETCH(bool, exists);
        MakeFile(temp_ + "sub/file");
        MakeFile(temp_ + "empty", "");
        QVERIFY(symlink("missing", (temp_ + "dangling").c_str()) == 0);
        QVERIFY(symlink("sub", (temp_ + "link-to-sub").c_str()) == 0);
        QVERIFY(mkfifo((temp_ + "fifo").c_str(), 0600) == 0);
        platform::FileDeleter deleter(temp_);
        QCOMPARE(deleter.FileExists(Path(path)), exists);
    }

    void directoryExists_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("exists");
        QTest::newRow("directory") << QByteArray("T/sub") << true;
        QTest::newRow("nested directory") << QByteArray("T/sub/inner") << true;
        QTest::newRow("temporary directory") << QByteArray("T/") << true;
        QTest::newRow("link to a directory") << QByteArray("T/link-to-sub") << false;
        QTest::newRow("through a link") << QByteArray("T/link-to-sub/inner") << false;
        QTest::newRow("file") << QByteArray("T/file") << false;
        QTest::newRow("missing") << QByteArray("T/missing") << false;
        QTest::newRow("outside") << QByteArray("R/outside") << false;
        QTest::newRow("closing slash") << QByteArray("T/sub/") << false;
    }
    void directoryExists() {
        QFETCH(QByteArray, path);
        QFETCH(bool, exists);
        QVERIFY(mkdir((temp_ + "sub/inner").c_str(), 0755) == 0);
        MakeFile(temp_ + "file");
        QVERIFY(symlink("sub", (temp_ + "link-to-sub").c_str()) == 0);
        platform::FileDeleter deleter(temp_);
        QCOMPARE(deleter.DirectoryExists(Path(path)), exists);
    }

    void removesOnlyEmptyDirectoriesBelowTheTemporaryDirectory() {
        for (const char* directory : {"a", "a/b", "a/b/c", "full"})
            QVERIFY(mkdir((temp_ + directory).c_str(), 0755) == 0);
        MakeFile(temp_ + "full/file");
        QVERIFY(mkdir((outside_ + "empty").c_str(), 0755) == 0);
        QVERIFY(symlink((outside_ + "empty").c_str(), (temp_ + "link").c_str()) == 0);

        platform::FileDeleter deleter(temp_);
        QVERIFY(!deleter.RemoveDirectory(temp_));
        QVERIFY(!deleter.RemoveDirectory(temp_ + "full"));
        QVERIFY(!deleter.RemoveDirectory(temp_ + "full/file"));
        QVERIFY(!deleter.RemoveDirectory(temp_ + "link"));
        QVERIFY(!deleter.RemoveDirectory(temp_ + "a"));
        for (const char* directory : {"a/b/c", "a/b", "a", "sub"})
            QVERIFY2(deleter.RemoveDirectory(temp_ + directory), directory);
        QVERIFY(!deleter.RemoveDirectory(temp_ + "a"));
        QCOMPARE(Entries(temp_), (QStringList{"full", "full/file", "link"}));
        QVERIFY(Exists(outside_ + "empty"));
        QVERIFY(deleter.DirectoryExists(temp_));
    }

    // The deleter keeps directories open between calls; a directory removed or
    // replaced meanwhile is looked up again, never reached through what was held.
    void replacedDirectoryIsLookedUpAgain() {
        for (const char* directory : {"a", "a/b", "c"})
            QVERIFY(mkdir((temp_ + directory).c_str(), 0755) == 0);
        MakeFile(temp_ + "a/b/x");
        MakeFile(temp_ + "c/x");
        platform::FileDeleter deleter(temp_);
        QVERIFY(deleter.DeleteListedFile(temp_ + "a/b/x"));
        QVERIFY(deleter.RemoveDirectory(temp_ + "a/b"));
        QVERIFY(mkdir((temp_ + "a/b").c_str(), 0755) == 0);
        const std::string again = MakeFile(temp_ + "a/b/y");
        QVERIFY(deleter.FileExists(again));
        QVERIFY(deleter.DeleteListedFile(again));
        QVERIFY(!Exists(again));

        QVERIFY(deleter.DeleteListedFile(temp_ + "c/x"));
        QVERIFY(rename((temp_ + "c").c_str(), (temp_ + "c-old").c_str()) == 0);
        QVERIFY(mkdir((temp_ + "c").c_str(), 0755) == 0);
        const std::string replaced = MakeFile(temp_ + "c/y");
        MakeFile(temp_ + "c-old/z");
        QVERIFY(deleter.FileExists(replaced));
        QVERIFY(deleter.DeleteListedFile(replaced));
        QVERIFY(!Exists(replaced));
        QVERIFY(!deleter.DirectoryExists(temp_ + "c/z"));
        QVERIFY(Exists(temp_ + "c-old/z"));
    }

    void batchGivesTheResultsOfOneByOne() {
        std::vector<std::string> one, batch;
        BuildMixedTree(root_ + "one/", one);
        BuildMixedTree(root_ + "batch/", batch);
        QVERIFY(!QTest::currentTestFailed());

        std::vector<bool> oneByOne;
        platform::FileDeleter single(root_ + "one/");
        for (const std::string& path : one)
            oneByOne.push_back(single.DeleteListedFile(path));
        platform::FileDeleter batched(root_ + "batch/");
        QCOMPARE(batched.DeleteListedFiles(batch), oneByOne);
        QCOMPARE(std::count(oneByOne.begin(), oneByOne.end(), false), 5);
        QCOMPARE(Entries(root_ + "batch/"), Entries(root_ + "one/"));
        QVERIFY(batched.DeleteListedFiles(std::vector<std::string>{}).empty());
    }

    void directoryBatchGivesTheResultsOfTheWalk_data() {
        QTest::addColumn<bool>("listedTwice");
        QTest::newRow("each directory once") << false;
        QTest::newRow("a directory listed twice") << true;
    }
    void directoryBatchGivesTheResultsOfTheWalk() {
        QFETCH(bool, listedTwice);
        std::vector<std::string> one, batch;
        BuildDirectoryTree(root_ + "one/", listedTwice, one);
        BuildDirectoryTree(root_ + "batch/", listedTwice, batch);
        QVERIFY(!QTest::currentTestFailed());

        std::vector<bool> walked(one.size());
        platform::FileDeleter single(root_ + "one/");
        for (std::size_t i = one.size(); i-- > 0;)
            walked[i] = single.RemoveDirectory(one[i]);
        platform::FileDeleter batched(root_ + "batch/");
        QCOMPARE(batched.RemoveDirectories(batch), walked);
        // Kept: f and f/g (a file), the link h, the missing m, and the repeat.
        QCOMPARE(std::count(walked.begin(), walked.end(), false), listedTwice ? 5 : 4);
        QCOMPARE(Entries(root_ + "batch/"), Entries(root_ + "one/"));
        QCOMPARE(Entries(root_ + "batch/"), (QStringList{"f", "f/g", "f/g/file", "h"}));
        QVERIFY(batched.RemoveDirectories(std::vector<std::string>{}).empty());
    }

    // Root is not stopped by permissions, so the user is played by an
    // unprivileged account in a child process.
    void readOnlyDirectoryIsMadeWritableOnlyWhenOwned() {
        if (geteuid() != 0)
            QSKIP("needs root, to let an unprivileged account own the fixture");
        const uid_t user = 65534;  // nobody
        const gid_t group = 65534;
        QVERIFY(chmod(root_.c_str(), 0711) == 0);
        QVERIFY(chown(temp_.c_str(), user, group) == 0);
        for (const char* directory : {"own", "foreign", "single", "writable"}) {
            const std::string path = temp_ + directory;
            QVERIFY(mkdir(path.c_str(), 0755) == 0);
            MakeFile(path + "/f");
            QVERIFY(chown((path + "/f").c_str(), user, group) == 0);
            if (std::string_view(directory) != "foreign")
                QVERIFY(chown(path.c_str(), user, group) == 0);
        }
        QVERIFY(chmod((temp_ + "own").c_str(), 0500) == 0 && chmod((temp_ + "single").c_str(), 0500) == 0);
        QVERIFY(chmod((temp_ + "foreign").c_str(), 0555) == 0 && chmod((temp_ + "writable").c_str(), 0700) == 0);
        QVERIFY(chmod((temp_ + "writable/f").c_str(), 0400) == 0);

        const int code = RunInChild([&] {
            if (setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0)
                return 100;
            if (access(temp_.c_str(), X_OK) != 0)
                return 101;
            platform::FileDeleter deleter(temp_);
            return int(deleter.DeleteListedFile(temp_ + "own/f")) | int(deleter.DeleteListedFile(temp_ + "foreign/f")) << 1
                | int(deleter.DeleteFile(temp_ + "single/f")) << 2 | int(deleter.DeleteListedFile(temp_ + "writable/f")) << 3;
        });
        if (code == 100 || code == 101)
            QSKIP("an unprivileged account cannot be played here, or cannot reach the fixture");
        QCOMPARE(code, 0b1001);  // own and writable deleted
        QVERIFY(!Exists(temp_ + "own/f"));
        QCOMPARE(Mode(temp_ + "own"), mode_t(0700));
        QVERIFY(Exists(temp_ + "foreign/f"));
        QCOMPARE(Mode(temp_ + "foreign"), mode_t(0555));
        QVERIFY(Exists(temp_ + "single/f"));
        QCOMPARE(Mode(temp_ + "single"), mode_t(0500));
        QVERIFY(!Exists(temp_ + "writable/f"));
        QCOMPARE(Mode(temp_ + "writable"), mode_t(0700));
        QCOMPARE(Mode(temp_), mode_t(0755));
    }

    // An emptied directory inside the user's own read-only directory goes the
    // same way; a directory that still holds something changes no permission.
    void emptiedDirectoryInAReadOnlyDirectoryIsRemoved() {
        if (geteuid() != 0)
            QSKIP("needs root, to let an unprivileged account own the fixture");
        const uid_t user = 65534;  // nobody
        const gid_t group = 65534;
        QVERIFY(chmod(root_.c_str(), 0711) == 0);
        QVERIFY(chown(temp_.c_str(), user, group) == 0);
        for (const char* directory : {"outer", "outer/inner", "kept", "kept/full"}) {
            QVERIFY(mkdir((temp_ + directory).c_str(), 0755) == 0);
            QVERIFY(chown((temp_ + directory).c_str(), user, group) == 0);
        }
        MakeFile(temp_ + "kept/full/f");
        QVERIFY(chmod((temp_ + "outer").c_str(), 0500) == 0 && chmod((temp_ + "kept").c_str(), 0500) == 0);

        const int code = RunInChild([&] {
            if (setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0)
                return 100;
            platform::FileDeleter deleter(temp_);
            return int(deleter.RemoveDirectory(temp_ + "outer/inner")) | int(deleter.RemoveDirectory(temp_ + "kept/full")) << 1;
        });
        if (code == 100)
            QSKIP("an unprivileged account cannot be played here");
        QCOMPARE(code, 0b01);
        QVERIFY(!Exists(temp_ + "outer/inner"));
        QCOMPARE(Mode(temp_ + "outer"), mode_t(0700));
        QVERIFY(Exists(temp_ + "kept/full/f"));
        QCOMPARE(Mode(temp_ + "kept"), mode_t(0500));
    }

    // Paths over four times PATH_MAX long, cleared with 64 descriptors in all.
    void deepTreeUnderALowDescriptorLimit() {
        constexpr int depth = 3000;
        std::vector<std::string> files;        // as listed: deepest first
        std::vector<std::string> directories;  // as removed: deepest first
        std::string path = temp_;
        int fd = open(temp_.c_str(), O_RDONLY | O_DIRECTORY);
        for (int level = 0; level < depth && fd >= 0; ++level) {
            const int next = mkdirat(fd, "level", 0755) == 0 ? openat(fd, "level", O_RDONLY | O_DIRECTORY) : -1;
            close(fd);
            fd = next;
            path += "level";
            directories.insert(directories.begin(), path);
            path += '/';
            close(openat(fd, "f", O_WRONLY | O_CREAT, 0644));
            files.insert(files.begin(), path + "f");
        }
        QVERIFY(fd >= 0);
        close(fd);
        QVERIFY(files.front().size() > 4 * PATH_MAX);

        const int code = RunInChild([&] {
            const rlimit limit{64, 64};
            if (setrlimit(RLIMIT_NOFILE, &limit) != 0)
                return 100;
            platform::FileDeleter deleter(temp_);
            if (!deleter.FileExists(files.front()) || !deleter.DirectoryExists(directories.front()))
                return 1;
            const std::size_t half = files.size() / 2;
            for (std::size_t i = 0; i < half; ++i)
                if (!deleter.DeleteListedFile(files[i]))
                    return 2;
            const std::vector<bool> rest
                = deleter.DeleteListedFiles(std::vector<std::string_view>(files.begin() + half, files.end()));
            if (std::count(rest.begin(), rest.end(), true) != std::ptrdiff_t(files.size() - half))
                return 3;
            if (deleter.FileExists(files.front()))
                return 4;
            for (std::size_t i = 0; i < half; ++i)
                if (!deleter.RemoveDirectory(directories[i]))
                    return 5;
            // The rest as the clearing lists them: parents first.
            const std::vector<std::string_view> parentsFirst(directories.rbegin(), directories.rend() - half);
            const std::vector<bool> removed = deleter.RemoveDirectories(parentsFirst);
            if (std::count(removed.begin(), removed.end(), true) != std::ptrdiff_t(parentsFirst.size()))
                return 6;
            return deleter.DirectoryExists(directories.back()) ? 7 : 0;
        });
        QCOMPARE(code, 0);
        QCOMPARE(Entries(temp_), QStringList{"sub"});
    }
};

QTEST_GUILESS_MAIN(FiledeletionTest)
#include "Filedeletion_test.moc"
