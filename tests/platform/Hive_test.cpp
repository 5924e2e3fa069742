#include <QtTest>

#include "platform/Hive.h"

namespace {

QStringList Paths(const Hive& hive) {
    QStringList paths;
    for (const HiveKey& key : hive.Keys()) paths << key.Path.join(u'\\');
    return paths;
}

RegistryValue Dword(const QString& name, char low) {
    return RegistryValue{name, RegistryType::REG_DWORD, QByteArray(1, low) + QByteArray(3, '\0')};
}

}  // namespace

class HiveTest : public QObject {
    Q_OBJECT

private slots:
    void createKeyAddsMissingParentsFirst() {
        Hive hive;
        hive.CreateKey({"Software", "Vellimor"});
        QCOMPARE(Paths(hive), QStringList({"Software", "Software\\Vellimor"}));
        hive.CreateKey({"software", "VELLIMOR"});
        hive.CreateKey({"Software", "Other"});
        QCOMPARE(Paths(hive), QStringList({"Software", "Software\\Vellimor", "Software\\Other"}));
    }

    void keyExistsThroughItsSubkeysAndWithoutRegardToCase() {
        Hive hive;
        QVERIFY(hive.AppendKey({"Software", "Vellimor"}));
        QVERIFY(!hive.AppendKey({"SOFTWARE", "vellimor"}));
        QVERIFY(hive.KeyExists({"Software"}));
        QVERIFY(hive.KeyExists({"software", "vellimor"}));
        QVERIFY(hive.KeyExists({}));
        QVERIFY(!hive.KeyExists({"Software", "Velli"}));
        QVERIFY(!hive.KeyExists({"Software", "Vellimor", "Sub"}));
        QVERIFY(!hive.FindKey({"Software"}));
        // Values need an entry of its own for a key known only through a subkey.
        hive.CreateKey({"Software"});
        QCOMPARE(Paths(hive), QStringList({"Software\\Vellimor", "Software"}));
    }

    void deleteKeyTakesEverythingBelow() {
        Hive hive;
        hive.CreateKey({"Software", "Vellimor", "Sub"});
        hive.CreateKey({"Software", "Vellimorx"});
        QVERIFY(hive.DeleteKey({"software", "vellimor"}));
        QCOMPARE(Paths(hive), QStringList({"Software", "Software\\Vellimorx"}));
        QVERIFY(!hive.DeleteKey({"Software", "Vellimor"}));
        QVERIFY(!hive.DeleteKey({}));
        QCOMPARE(hive.Keys().size(), 2);
    }

    void setValueReplacesInPlaceKeepingTheFirstSpelling() {
        HiveKey key;
        key.SetValue(Dword("AutoClear", 1));
        key.SetValue(Dword("DeletedFiles", 2));
        key.SetValue(RegistryValue{"autoclear", RegistryType::REG_SZ, QByteArray("x\0", 2)});
        QCOMPARE(key.Values.size(), 2);
        QCOMPARE(key.Values[0].Name, QString("AutoClear"));
        QCOMPARE(key.Values[0].Type, RegistryType::REG_SZ);
        QCOMPARE(key.Values[0].Data, QByteArray("x\0", 2));
        QCOMPARE(key.Values[1].Name, QString("DeletedFiles"));
        QVERIFY(key.FindValue("DELETEDFILES"));
        QVERIFY(!key.FindValue("Deleted"));
    }
};

QTEST_GUILESS_MAIN(HiveTest)
#include "Hive_test.moc"
