#include <QtTest>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "filesystem/Tfunctions.h"
#include "support/Fixture.h"

namespace {

std::vector<std::string> Paths(const PathList& list) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < list.Count(); ++i) paths.push_back(list[i]);
    return paths;
}

std::vector<std::string> Files(const std::string& directory, const std::string& mask = "*.*",
                               bool recursive = true) {
    PathList list;
    TFunctions(nullptr).FindFiles(list, directory, mask, recursive);
    return Paths(list);
}

std::vector<std::string> Directories(const std::string& directory) {
    PathList list;
    TFunctions(nullptr).FindDirectories(list, directory, true);
    return Paths(list);
}

#define COMPARE_PATHS(actual, expected)                                                     \
    QVERIFY2((actual) == (expected), ("got " + Printable(actual) + " expected " + Printable(expected)).c_str())

}  // namespace

class TfunctionsTest : public QObject {
    Q_OBJECT

private slots:
    void subdirectoryFilesComeBeforeTheirParentsFiles() {
        FixtureTree t;
        t.File("a");
        t.File("S/b");
        t.File("S/U/c");
        const std::vector<std::string> expected{t.Path("S/U/c"), t.Path("S/b"), t.Path("a")};
        COMPARE_PATHS(Files(t.Root()), expected);
        // Without the closing separator the paths are the same: one '/' between directory and name.
        std::string bare = t.Root();
        bare.pop_back();
        COMPARE_PATHS(Files(bare), expected);

        PathList files;
        SizeList sizes;
        TFunctions(nullptr).FindFilesAndSizes(files, sizes, bare, "*.*", true);
        COMPARE_PATHS(Paths(files), expected);
        QCOMPARE(sizes.size(), files.Count());
    }

    void directoriesComeBeforeTheDirectoriesBelowThem() {
        FixtureTree t;
        t.File("a");
        t.File("S/b");
        t.File("S/U/c");
        const std::vector<std::string> expected{t.Path("S"), t.Path("S/U")};
        COMPARE_PATHS(Directories(t.Root()), expected);
        std::string bare = t.Root();
        bare.pop_back();
        COMPARE_PATHS(Directories(bare), expected);

        PathList direct;
        TFunctions(nullptr).FindDirectories(direct, t.Root(), false);
        COMPARE_PATHS(Paths(direct), std::vector<std::string>{t.Path("S")});
    }

    void siblingSubtreesKeepTheirOrder() {
        FixtureTree t;
        t.File("P/x1");
        t.File("P/Q/x2");
        t.File("R/x3");
        t.File("top");
        const std::vector<std::string> files = Files(t.Root());
        QCOMPARE(files.size(), 4u);
        QCOMPARE(files.back(), t.Path("top"));
        // Whichever of P and R the directory gives first, each subtree stays together,
        // deeper files first.
        const auto at = [&](const std::string& p) { return std::find(files.begin(), files.end(), t.Path(p)) - files.begin(); };
        QVERIFY(at("P/Q/x2") + 1 == at("P/x1"));

        const std::vector<std::string> dirs = Directories(t.Root());
        QCOMPARE(dirs.size(), 3u);
        const auto dirAt = [&](const std::string& p) { return std::find(dirs.begin(), dirs.end(), t.Path(p)) - dirs.begin(); };
        QVERIFY(dirAt("P") + 1 == dirAt("P/Q"));
    }

    void masks_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty is all") << "" << QStringList{"S/one.txt", "S/noext", "two.log"};
        QTest::newRow("*.* matches names without a dot") << "*.*" << QStringList{"S/one.txt", "S/noext", "two.log"};
        QTest::newRow("extension") << "*.txt" << QStringList{"S/one.txt"};
        QTest::newRow("no match still descends") << "*.none" << QStringList{};
        QTest::newRow("question mark") << "two.?og" << QStringList{"two.log"};
    }
    void masks() {
        QFETCH(QString, mask);
        QFETCH(QStringList, expected);
        FixtureTree t;
        t.File("S/one.txt");
        t.File("S/noext");
        t.File("two.log");
        std::vector<std::string> actual = Files(t.Root(), mask.toStdString());
        std::sort(actual.begin(), actual.end());
        std::vector<std::string> want;
        for (const QString& e : expected) want.push_back(t.Path(e.toStdString()));
        std::sort(want.begin(), want.end());
        COMPARE_PATHS(actual, want);
    }

    void dotNamesAreOrdinaryExceptDotAndDotDot() {
        FixtureTree t;
        QVERIFY(Files(t.Root()).empty());
        QVERIFY(Directories(t.Root()).empty());
        t.File(".hidden");
        t.File("...x/inner");
        std::vector<std::string> files = Files(t.Root());
        std::sort(files.begin(), files.end());
        COMPARE_PATHS(files, (std::vector<std::string>{t.Path("...x/inner"), t.Path(".hidden")}));
        COMPARE_PATHS(Directories(t.Root()), std::vector<std::string>{t.Path("...x")});
    }

    void nonRecursiveFindFilesIgnoresSubdirectories() {
        FixtureTree t;
        t.File("S/b");
        t.Directory("E");
        QVERIFY(Files(t.Root(), "*.*", false).empty());
        t.File("own");
        COMPARE_PATHS(Files(t.Root(), "*.*", false), std::vector<std::string>{t.Path("own")});
    }

    void sizesAreFullSixtyFourBitByteCounts() {
        FixtureTree t;
        t.File("empty");
        t.File("small", std::string(1536, 'x'));
        t.SparseFile("four", 4294967296LL);
        t.SparseFile("five", 5368709120LL);
        PathList files;
        SizeList sizes;
        TFunctions(nullptr).FindFilesAndSizes(files, sizes, t.Root(), "*.*", true);
        QMap<QString, qint64> bySize;
        for (std::size_t i = 0; i < files.Count(); ++i) bySize[QString::fromStdString(std::string(files.Name(i)))] = sizes[i];
        QCOMPARE(bySize.value("empty", -1), 0);
        QCOMPARE(bySize.value("small", -1), 1536);
        QCOMPARE(QString::number(bySize.value("four")), QStringLiteral("4294967296"));
        QCOMPARE(QString::number(bySize.value("five")), QStringLiteral("5368709120"));
    }

    void symlinksAreListedAsFilesAndNeverFollowed() {
        FixtureTree outside;
        outside.File("secret");
        FixtureTree t;
        t.Symlink("to-dir", outside.Root());
        t.Symlink("to-file", outside.Path("secret"));
        t.Symlink("dangling", t.Path("nothing-here"));
        t.Symlink("loop", t.Path("loop"));
        t.Directory("S");
        t.Symlink("S/up", t.Root());

        PathList files;
        SizeList sizes;
        TFunctions(nullptr).FindFilesAndSizes(files, sizes, t.Root(), "*.*", true);
        std::vector<std::string> paths = Paths(files);
        std::sort(paths.begin(), paths.end());
        COMPARE_PATHS(paths, (std::vector<std::string>{t.Path("S/up"), t.Path("dangling"), t.Path("loop"),
                                                       t.Path("to-dir"), t.Path("to-file")}));
        for (std::size_t i = 0; i < files.Count(); ++i) {
            if (files.Name(i) == "to-file")  // a link's own size is the length of its target
                QCOMPARE(sizes[i], static_cast<std::int64_t>(outside.Path("secret").size()));
        }
        COMPARE_PATHS(Directories(t.Root()), std::vector<std::string>{t.Path("S")});
    }

    void namesAreKeptAsTheFileSystemGaveThem() {
        FixtureTree t;
        const std::vector<std::string> names{" both ", "new\nline", "back\\slash", "-leading", "bad\xff\xfe",
                                             "a ", "a", "*"};
        for (const std::string& name : names) t.File(name);
        std::vector<std::string> actual = Files(t.Root());
        std::vector<std::string> expected;
        for (const std::string& name : names) expected.push_back(t.Path(name));
        std::sort(actual.begin(), actual.end());
        std::sort(expected.begin(), expected.end());
        COMPARE_PATHS(actual, expected);
    }

    void unreadableDirectoryContributesNothing() {
        FixtureTree t;
        t.File("open/visible");
        t.File("closed/hidden");
        t.File("closed/sub/deeper");
        QVERIFY(chmod(t.Root().c_str(), 0755) == 0);
        QVERIFY(chmod(t.Path("closed").c_str(), 0700) == 0);
        // Root reads everything, so the walk runs as an unprivileged user.
        const int code = RunInChild([&] {
            if (setgid(65534) != 0 || setuid(65534) != 0) return 77;
            const std::vector<std::string> files = Files(t.Root());
            const std::vector<std::string> dirs = Directories(t.Root());
            const bool filesOk = files == std::vector<std::string>{t.Path("open/visible")};
            // The unreadable directory is still found in its parent; nothing below it is.
            const bool dirsOk = std::find(dirs.begin(), dirs.end(), t.Path("closed")) != dirs.end() &&
                                std::find(dirs.begin(), dirs.end(), t.Path("closed/sub")) == dirs.end();
            return filesOk && dirsOk ? 0 : 1;
        });
        if (code == 77) QSKIP("cannot drop privileges to an unprivileged user here");
        QCOMPARE(code, 0);
        QVERIFY(Files(t.Path("missing")).empty());
        QVERIFY(Files("").empty());
    }

    void otherFileSystemsMountedBelowAreNotEntered() {
        FixtureTree t;
        t.File("a");
        t.Directory("mnt");
        const int code = RunInChild([&] {
            if (unshare(CLONE_NEWNS) != 0) return 77;
            if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 77;
            if (mount("none", t.Path("mnt").c_str(), "tmpfs", 0, nullptr) != 0) return 77;
            t.File("mnt/inside");
            const bool ok = Files(t.Root()) == std::vector<std::string>{t.Path("a")} && Directories(t.Root()).empty();
            return ok ? 0 : 1;
        });
        if (code == 77) QSKIP("no private mount namespace available to mount a file system in");
        QCOMPARE(code, 0);
    }

    void deepTreeUnderALowDescriptorLimit() {
        FixtureTree t;
        const int depth = 3000;
        t.DeepChain("deep", depth);
        t.File("deep/d/side");
        const int code = RunInChild([&] {
            const rlimit limit{64, 64};
            if (setrlimit(RLIMIT_NOFILE, &limit) != 0) return 2;
            PathList files;
            SizeList sizes;
            TFunctions(nullptr).FindFilesAndSizes(files, sizes, t.Root(), "*.*", true);
            PathList dirs;
            TFunctions(nullptr).FindDirectories(dirs, t.Root(), true);
            if (files.Count() != 2 || dirs.Count() != static_cast<std::size_t>(depth + 1)) return 3;
            std::string leaf = t.Path("deep");
            for (int i = 0; i < depth; ++i) leaf += "/d";
            leaf += "/leaf";
            if (files[0] != leaf || files[1] != t.Path("deep/d/side")) return 4;  // deepest first
            return leaf.size() > 4096 ? 0 : 5;
        });
        QCOMPARE(code, 0);
    }

    void wideDirectory() {
        FixtureTree t;
        const int count = 200000;
        t.Directory("wide");
        const int fd = open(t.Path("wide").c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < count; ++i) close(openat(fd, std::to_string(i).c_str(), O_CREAT | O_WRONLY, 0644));
        close(fd);
        PathList files;
        SizeList sizes;
        TFunctions(nullptr).FindFilesAndSizes(files, sizes, t.Root(), "*.*", true);
        QCOMPARE(files.Count(), static_cast<std::size_t>(count));
        QCOMPARE(sizes.size(), static_cast<std::size_t>(count));
    }
};

QTEST_GUILESS_MAIN(TfunctionsTest)
#include "Tfunctions_test.moc"
