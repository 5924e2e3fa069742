#include <QtTest>

#include "platform/Procreading.h"

#include <fcntl.h>
#include <sys/sysmacros.h>

// The /proc formats the in-use snapshot reads.
class ProcreadingTest : public QObject {
    Q_OBJECT

private slots:
    void mappedFile_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("found");
        QTest::addColumn<uint>("major");
        QTest::addColumn<uint>("minor");
        QTest::addColumn<qulonglong>("inode");
        QTest::newRow("library") << QByteArray("7f3a1c000000-7f3a1c022000 r--p 00000000 fd:01 1312071    "
                                               "/usr/lib/x86_64-linux-gnu/libc.so.6")
                                 << true << 0xfdu << 0x01u << 1312071ull;
        QTest::newRow("large device numbers") << QByteArray("00400000-00452000 r-xp 00000000 103:1a 42 /a b")
                                              << true << 0x103u << 0x1au << 42ull;
        QTest::newRow("deleted file") << QByteArray("7f00-7f01 rw-s 00000000 00:05 77 /x (deleted)")
                                      << true << 0u << 5u << 77ull;
        QTest::newRow("anonymous") << QByteArray("7ffd0-7ffd1 rw-p 00000000 00:00 0                  [stack]")
                               << false << 0u << 0u << 0ull;
        QTest::newRow("truncated") << QByteArray("7f00-7f01 rw-s 00000000 fd:01") << false << 0u << 0u << 0ull;
        QTest::newRow("not numbers") << QByteArray("a b c dev ice") << false << 0u << 0u << 0ull;
        QTest::newRow("empty") << QByteArray() << false << 0u << 0u << 0ull;
    }
    void mappedFile() {
        QFETCH(QByteArray, line);
        QFETCH(bool, found);
        const auto id = platform::MappedFile(std::string_view(line.constData(), line.size()));
        QCOMPARE(id.has_value(), found);
        if (!found)
            return;
        QFETCH(uint, major);
        QFETCH(uint, minor);
        QFETCH(qulonglong, inode);
        QCOMPARE(id->first, makedev(major, minor));
        QCOMPARE(qulonglong(id->second), inode);
    }

    void listeningSocketPath_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("path");  // null: none
        QTest::newRow("listening")
            << QByteArray("0000000041ab0b6f: 00000002 00000000 00010000 0001 01 31825 /run/x.sock")
            << QByteArray("/run/x.sock");
        QTest::newRow("blanks in the path")
            << QByteArray("0000000041ab0b6f: 00000002 00000000 00010000 0005 01  9001 /a dir/s ")
            << QByteArray("/a dir/s ");
        QTest::newRow("connected, same path")
            << QByteArray("0000000041ab0b6f: 00000003 00000000 00000000 0001 03 31826 /run/x.sock") << QByteArray();
        QTest::newRow("abstract") << QByteArray("0000000041ab0b6f: 00000002 00000000 00010000 0001 01 1 @/tmp/.X")
                                  << QByteArray();
        QTest::newRow("relative") << QByteArray("0000000041ab0b6f: 00000002 00000000 00010000 0001 01 1 sock")
                                  << QByteArray();
        QTest::newRow("unbound") << QByteArray("0000000041ab0b6f: 00000002 00000000 00010000 0001 01   318")
                                 << QByteArray();
        QTest::newRow("header") << QByteArray("Num       RefCount Protocol Flags    Type St Inode Path")
                                << QByteArray();
    }
    void listeningSocketPath() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, path);
        const auto found = platform::ListeningSocketPath(std::string_view(line.constData(), line.size()));
        QCOMPARE(found.has_value(), !path.isNull());
        if (found)
            QCOMPARE(QByteArray(found->data(), qsizetype(found->size())), path);
    }

    void readsWholeFiles() {
        // Longer than one read, as the maps of a large process are.
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        QByteArray content;
        for (int line = 0; line < 5000; ++line)
            content += QByteArray::number(line) + " some mapping\n";
        QFile file(directory.filePath("maps"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
        file.close();
        const auto read = platform::ReadProcFile(AT_FDCWD, QFile::encodeName(file.fileName()).constData());
        QVERIFY(read.has_value());
        QCOMPARE(QByteArray::fromStdString(*read), content);
        QVERIFY(!platform::ReadProcFile(AT_FDCWD, "/proc/self/no-such-entry").has_value());
    }
};

QTEST_GUILESS_MAIN(ProcreadingTest)
#include "Procreading_test.moc"
