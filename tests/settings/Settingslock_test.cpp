#include <QtTest>

#include <unistd.h>

#include "settings/Settingslock.h"
#include "settings/Tregistrywrapper.h"
#include "support/Hivefixture.h"

// Two copies of the program adding to the same total at the same moment: with
// the read and the write held together under the settings lock, no addition
// is lost. The test program starts copies of itself to play the two copies.

namespace {

const QString kPath = QStringLiteral("\\Software\\Vellimor");
constexpr int kAdditions = 150;

int AddingChild() {
    alarm(120);  // a lock that waited for itself would hang here
    TRegistryWrapper store(nullptr);
    store.SetKeyPath(kPath);
    for (int i = 0; i < kAdditions; ++i) {
        const SettingsLock lock;
        const qint32 total = store.ReadInteger("DeletedFiles");
        if (!store.WriteInteger("DeletedFiles", total + 1)) return 1;
    }
    return 0;
}

}  // namespace

class SettingslockTest : public QObject {
    Q_OBJECT

private slots:
    void twoCopiesAddingAtOnceLoseNothing() {
        const HiveFixture fixture;
        TRegistryWrapper store(nullptr);
        store.SetKeyPath(kPath);
        QVERIFY(store.WriteInteger("DeletedFiles", 0));
        QProcess first, second;
        for (QProcess* copy : {&first, &second}) copy->start(QCoreApplication::applicationFilePath(), {"--child-add"});
        for (QProcess* copy : {&first, &second}) {
            QVERIFY(copy->waitForFinished(180000));
            QCOMPARE(copy->exitCode(), 0);
        }
        QCOMPARE(store.ReadInteger("DeletedFiles"), 2 * kAdditions);
    }
};

int main(int argc, char* argv[]) {
    if (argc > 1 && QByteArray(argv[1]) == "--child-add") return AddingChild();
    QCoreApplication application(argc, argv);
    SettingslockTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "Settingslock_test.moc"
