#include <QtTest>

#include "platform/Directorychain.h"
#include "support/Fixture.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int OpenDescriptors() {
    return int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

ino_t Inode(int fd) {
    struct stat status {};
    return fstat(fd, &status) == 0 ? status.st_ino : 0;
}

std::string Chain(int depth) {
    std::string relative;
    for (int level = 0; level < depth; ++level)
        relative += level ? "/l" : "l";
    return relative;
}

}  // namespace

// Directories below a root, reached one name at a time without following
// links, with a bounded number of descriptors whatever the depth.
class DirectorychainTest : public QObject {
    Q_OBJECT

private slots:
    // Down a chain of 300 directories and back up one level at a time, as the
    // clearing walks a deep tree: every level is the right directory and no
    // more than the allowed descriptors are ever held.
    void walksDeepTreesWithFewDescriptors() {
        constexpr int depth = 300;
        FixtureTree fixture;
        const int root = open(fixture.Root().c_str(), O_RDONLY | O_DIRECTORY);
        std::vector<ino_t> inodes{Inode(root)};
        int fd = dup(root);
        for (int level = 1; level <= depth; ++level) {
            QVERIFY(mkdirat(fd, "l", 0755) == 0);
            const int next = openat(fd, "l", O_RDONLY | O_DIRECTORY);
            close(fd);
            fd = next;
            inodes.push_back(Inode(fd));
        }
        close(fd);

        const int before = OpenDescriptors();
        {
            platform::DirectoryChain chain(root, 6);
            for (int level = depth; level >= 0; --level) {
                const auto resolved = chain.Resolve(Chain(level));
                QVERIFY(resolved.fd >= 0);
                QCOMPARE(Inode(resolved.fd), inodes[level]);
                QVERIFY2(OpenDescriptors() <= before + 6, qPrintable(QString::number(level)));
            }
            QCOMPARE(Inode(chain.Resolve(Chain(depth)).fd), inodes[depth]);
            QCOMPARE(Inode(chain.Resolve(Chain(depth / 2) + "/missing").fd), ino_t(0));
            QCOMPARE(Inode(chain.Resolve(Chain(depth / 3)).fd), inodes[depth / 3]);
        }
        QCOMPARE(OpenDescriptors(), before);
        close(root);
    }

    void failures_data() {
        QTest::addColumn<QByteArray>("relative");
        QTest::addColumn<bool>("absent");
        QTest::newRow("missing") << QByteArray("missing") << true;
        QTest::newRow("below a missing directory") << QByteArray("missing/deeper") << true;
        QTest::newRow("a file") << QByteArray("sub/file") << true;
        QTest::newRow("below a file") << QByteArray("sub/file/deeper") << true;
        QTest::newRow("a link to a directory") << QByteArray("link") << false;
        QTest::newRow("below a link to a directory") << QByteArray("link/sub") << false;
        QTest::newRow("a dangling link") << QByteArray("sub/dangling") << false;
    }
    void failures() {
        QFETCH(QByteArray, relative);
        QFETCH(bool, absent);
        FixtureTree fixture;
        fixture.File("sub/file");
        fixture.Symlink("link", fixture.Root());
        fixture.Symlink("sub/dangling", "nowhere");
        const int root = open(fixture.Root().c_str(), O_RDONLY | O_DIRECTORY);
        platform::DirectoryChain chain(root, 4);
        QVERIFY(chain.Resolve("sub").fd >= 0);
        const auto resolved = chain.Resolve(relative.toStdString());
        QCOMPARE(resolved.fd, -1);
        QCOMPARE(resolved.absent, absent);
        QCOMPARE(Inode(chain.Resolve("").fd), Inode(root));
        close(root);
    }

    void withoutRootNothingResolves() {
        platform::DirectoryChain chain(-1, 4);
        QCOMPARE(chain.Resolve("").fd, -1);
        QCOMPARE(chain.Resolve("a").fd, -1);
        QVERIFY(!chain.Resolve("a").absent);
    }
};

QTEST_GUILESS_MAIN(DirectorychainTest)
#include "Directorychain_test.moc"
