#include <QtTest>

#include "platform/Username.h"

#include <sys/wait.h>
#include <unistd.h>

class UsernameTest : public QObject {
    Q_OBJECT

    static QString NameOf(const QStringList& idArguments) {
        QProcess id;
        id.start(QStringLiteral("id"), idArguments);
        if (!id.waitForFinished() || id.exitCode() != 0)
            return {};
        return QString::fromLocal8Bit(id.readAllStandardOutput()).trimmed();
    }

private slots:
    void isTheAccountTheProgramRunsAs() {
        const QString expected = NameOf({QStringLiteral("-un")});
        QVERIFY(!expected.isEmpty());
        QCOMPARE(CurrentUserName(), std::optional<QString>(expected));
    }

    void followsTheEffectiveUser() {
        if (geteuid() != 0)
            QSKIP("changing the effective user needs root");
        const QString nobody = NameOf({QStringLiteral("-un"), QStringLiteral("65534")});
        if (nobody.isEmpty())
            QSKIP("this system has no account with the id 65534");
        const pid_t child = fork();
        if (child == 0) {
            // Only the effective id changes; the real one stays root.
            const bool same = seteuid(65534) == 0 && CurrentUserName() == nobody;
            _exit(same ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QTEST_GUILESS_MAIN(UsernameTest)
#include "Username_test.moc"
