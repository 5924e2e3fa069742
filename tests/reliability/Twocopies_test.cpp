// Two copies of the built program started at the same moment in automatic
// mode, on the same settings and the same temporary directory: both end well,
// what may go is gone once, nothing outside is touched and the hive keeps
// every value it held. A listed file that the other copy deleted first counts
// as deleted, so each copy's totals may include the other's files.
#include <QtTest>

#include "platform/Hivetext.h"
#include "support/Hostiletree.h"
#include "support/Programsandbox.h"
#include "support/Treelisting.h"

namespace {

const QStringList kKey = {QStringLiteral("Software"), QStringLiteral("Vellimor")};

const std::string kValues = std::string(kConfirmedAutomatic) +
                            "\"ProgramLanguage\"=dword:00000001\n"
                            "\"ConfirmedDate\"=hex:00,00,00,00,80,e9,e6,40\n"
                            "\"ConfirmedUser\"=\"K\xc3\xb6nig \\\"root\\\"\"\n"
                            "\"DeletedFiles\"=dword:00000007\n"
                            "\"DeletedDirectories\"=dword:00000003\n";

bool IsTotal(const QString& name) {
    return name == QLatin1String("DeletedFiles") || name == QLatin1String("DeletedDirectories");
}

}  // namespace

class TwocopiesTest : public QObject {
    Q_OBJECT

private slots:
    void twoCopiesClearTogether() {
        ProgramSandbox sandbox(VELLIMOR_BINARY);
        sandbox.WriteHive(kValues);
        const auto hiveBefore = HiveText::Read(sandbox.Hive());
        QVERIFY(hiveBefore);
        const HostileTree hostile(sandbox);
        QVERIFY(hostile.Ready());
        const QByteArray outside = TreeChecksum(sandbox.Outside());
        const std::size_t filesBefore = [&] {
            const auto entries = ListTree(sandbox.Temp());
            return entries.size() - CountDirectories(entries);
        }();

        StartGate gate;
        ChildSetup setup;
        setup.PermissionBitsApply = CanApplyPermissionBits();
        setup.Gate = &gate;
        const auto first = sandbox.Start(setup);
        const auto second = sandbox.Start(setup);
        gate.Open();
        QVERIFY2(first->WaitFinished(kProgramTimeoutMs), "the first copy did not end in time");
        QVERIFY2(second->WaitFinished(kProgramTimeoutMs), "the second copy did not end in time");
        for (const auto* copy : {first.get(), second.get()}) {
            QVERIFY2(copy->ExitCode() == 0, copy->Output().constData());
            QVERIFY2(copy->Output().isEmpty(), copy->Output().constData());
        }

        const std::string difference = DescribeDifference(Paths(ListTree(sandbox.Temp())), hostile.Remains());
        QVERIFY2(difference.empty(), difference.c_str());
        QCOMPARE(TreeChecksum(sandbox.Outside()), outside);

        const QByteArray hive = sandbox.Hive();
        const auto hiveAfter = HiveText::Read(hive);
        QVERIFY2(hiveAfter, hive.constData());
        const HiveKey* after = hiveAfter->FindKey(kKey);
        QVERIFY(after);
        for (const RegistryValue& value : hiveBefore->FindKey(kKey)->Values) {
            const RegistryValue* kept = after->FindValue(value.Name);
            QVERIFY2(kept && kept->Type == value.Type, qPrintable(value.Name));
            if (!IsTotal(value.Name)) QCOMPARE(kept->Data, value.Data);
        }
        // Both copies listed the files before either began to delete, so each
        // counts them all; either may store its sum last. Directories count
        // only for the copy that removed them, which may store its sum first.
        const qint32 deletedFiles = HiveInteger(hive, "DeletedFiles").value_or(-1);
        QVERIFY2(deletedFiles > 7 && deletedFiles <= 7 + 2 * qint32(filesBefore), hive.constData());
        QVERIFY2(HiveInteger(hive, "DeletedDirectories").value_or(-1) >= 3, hive.constData());
    }
};

QTEST_GUILESS_MAIN(TwocopiesTest)
#include "Twocopies_test.moc"
