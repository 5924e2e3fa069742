#include <QtTest>

#include "platform/Tempdirectoryguard.h"

#include <pwd.h>
#include <unistd.h>

// The temporary directory is refused when clearing it could reach the user's
// own files: the root, the home directory or any directory above it.
class TempdirectoryguardTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir fixture_;
    QByteArray savedHome_;

    QString At(const QString& relative) const { return fixture_.path() + '/' + relative; }

private slots:
    void initTestCase() {
        QVERIFY(fixture_.isValid());
        QVERIFY(QDir().mkpath(At("home/user/documents")));
        QVERIFY(QDir().mkpath(At("other")));
        QVERIFY(QFile::link(At("home/user"), At("link-to-home")));
        QVERIFY(QFile::link(At("home"), At("link-to-parent")));
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(At("home/user")));
    }
    void cleanupTestCase() { qputenv("HOME", savedHome_); }

    void refusal_data() {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<bool>("refused");
        QTest::newRow("root") << "/" << true;
        QTest::newRow("home") << At("home/user/") << true;
        QTest::newRow("home without closing slash") << At("home/user") << true;
        QTest::newRow("home spelt with dots") << At("home/user/documents/..") << true;
        QTest::newRow("parent of home") << At("home/") << true;
        QTest::newRow("fixture above home") << At("") << true;
        QTest::newRow("link to home") << At("link-to-home/") << true;
        QTest::newRow("link to parent of home") << At("link-to-parent") << true;
        QTest::newRow("below home") << At("home/user/documents/") << false;
        QTest::newRow("ordinary directory") << At("other/") << false;
        QTest::newRow("missing directory") << At("missing/") << false;
    }
    void refusal() {
        QFETCH(QString, directory);
        QFETCH(bool, refused);
        const auto message = platform::TempDirectoryRefusal(QFile::encodeName(directory).toStdString());
        QCOMPARE(message.has_value(), refused);
        if (refused)
            QCOMPARE(*message, QString("The temporary directory \"%1\" is the root directory, your home directory "
                                       "or one of its ancestors; Vellimor will not list or clear it.")
                                   .arg(directory));
    }

    // $HOME may be changed or unset; the password database's home is protected too.
    void passwordDatabaseHome() {
        const passwd* user = getpwuid(getuid());
        if (!user || !user->pw_dir || !QFileInfo(QFile::decodeName(user->pw_dir)).isDir())
            QSKIP("the user has no existing home directory in the password database");
        const std::string home = std::string(user->pw_dir) + '/';
        QVERIFY(platform::TempDirectoryRefusal(home).has_value());
        qunsetenv("HOME");
        QVERIFY(platform::TempDirectoryRefusal(home).has_value());
        QVERIFY(!platform::TempDirectoryRefusal(At("other/").toStdString()).has_value());
        qputenv("HOME", QFile::encodeName(At("home/user")));
    }
};

QTEST_GUILESS_MAIN(TempdirectoryguardTest)
#include "Tempdirectoryguard_test.moc"
