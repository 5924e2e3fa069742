#include <QtTest>

#include "setup/Tformlanguageselect.h"

// The agreement as the dialog builds it, on a dialog that is never shown.
class AgreementtextTest : public QObject {
    Q_OBJECT

    static QStringList Build(const QString& productName, int language, QStringList lines = {}) {
        TFormLanguageSelect dialog(nullptr, productName, QStringLiteral("\\Software\\Vellimor"));
        dialog.BuildAgreementText(&lines, language);
        return lines;
    }

    static int SentenceCount(const QString& line) {
        return line.count(QStringLiteral(". ")) + (line.endsWith(u'.') ? 1 : 0);
    }

private slots:
    void layout_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QList<int>>("emptyLines");  // 1-based
        QTest::addColumn<QList<int>>("namesPerLine");
        QTest::addColumn<QString>("heading");
        QTest::newRow("English") << 0 << QList<int>{2, 4, 6, 9, 11, 13, 15}
                                 << QList<int>{1, 0, 2, 0, 1, 0, 1, 2, 0, 1, 0, 1, 0, 3, 0, 0}
                                 << QStringLiteral("End-User License Agreement (EULA) for Quorn Tidy:");
        QTest::newRow("German") << 1 << QList<int>{2, 4, 6, 9, 11, 13, 16}
                                << QList<int>{1, 0, 2, 0, 1, 0, 1, 2, 0, 1, 0, 1, 0, 2, 1, 0, 0}
                                << QStringLiteral("Endbenutzerlizenzvereinbarung (EULA) für Quorn Tidy:");
    }
    void layout() {
        QFETCH(int, language);
        QFETCH(QList<int>, emptyLines);
        QFETCH(QList<int>, namesPerLine);
        QFETCH(QString, heading);
        const QString name = QStringLiteral("Quorn Tidy");
        const QStringList lines = Build(name, language);
        QCOMPARE(lines.size(), namesPerLine.size());
        QCOMPARE(lines.first(), heading);
        QVERIFY(!lines.last().isEmpty());
        QCOMPARE(lines.join(u'\n').count(name), 12);
        for (int number = 1; number <= lines.size(); ++number) {
            const QString& line = lines.at(number - 1);
            const QByteArray where = "line " + QByteArray::number(number);
            QCOMPARE(line.isEmpty(), emptyLines.contains(number));
            QVERIFY2(line.count(name) == namesPerLine.at(number - 1), where);
            if (number == 1 || line.isEmpty())
                continue;
            QVERIFY2(line.size() >= 100 && line.size() <= 600, where);
            QVERIFY2(SentenceCount(line) >= 1 && SentenceCount(line) <= 4, where);
            QVERIFY2(line.trimmed() == line && line.endsWith(u'.'), where);
        }
    }

    void productNameStandsFirstWhereItOpensAParagraph_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("German") << 1;
    }
    void productNameStandsFirstWhereItOpensAParagraph() {
        QFETCH(int, language);
        const QStringList lines = Build(QStringLiteral("Quorn Tidy"), language);
        QVERIFY(lines.at(4).startsWith(QStringLiteral("Quorn Tidy ")));
        QVERIFY(lines.at(7).contains(QStringLiteral(". Quorn Tidy ")));
        QVERIFY(lines.at(13).contains(QStringLiteral(". Quorn Tidy ")));
    }

    void otherLanguagesAndANullListChangeNothing_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("2") << 2;
        QTest::newRow("-1") << -1;
    }
    void otherLanguagesAndANullListChangeNothing() {
        QFETCH(int, language);
        const QStringList before{QStringLiteral("kept"), QString()};
        QCOMPARE(Build(QStringLiteral("Vellimor"), language, before), before);
        TFormLanguageSelect dialog(nullptr, QStringLiteral("Vellimor"), QStringLiteral("\\Software\\Vellimor"));
        dialog.BuildAgreementText(nullptr, 0);
        dialog.BuildAgreementText(nullptr, 1);
        QStringList lines;
        dialog.BuildAgreementText(&lines, 0);
        QCOMPARE(lines.size(), 16);
    }

    void existingLinesStayAndTheAgreementFollows() {
        const QStringList before{QStringLiteral("first"), QString(), QStringLiteral("third")};
        const QStringList lines = Build(QStringLiteral("Vellimor"), 1, before);
        QCOMPARE(lines.size(), 3 + 17);
        QCOMPARE(lines.mid(0, 3), before);
        QCOMPARE(lines.mid(3), Build(QStringLiteral("Vellimor"), 1));
    }

    void anEmptyProductNameKeepsTheLines_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("heading");
        QTest::newRow("English") << 0 << 16 << QStringLiteral("End-User License Agreement (EULA) for :");
        QTest::newRow("German") << 1 << 17 << QStringLiteral("Endbenutzerlizenzvereinbarung (EULA) für :");
    }
    void anEmptyProductNameKeepsTheLines() {
        QFETCH(int, language);
        QFETCH(int, count);
        QFETCH(QString, heading);
        const QStringList lines = Build(QString(), language);
        QCOMPARE(lines.size(), count);
        QCOMPARE(lines.first(), heading);
        QCOMPARE(lines.count(QString()), 7);
    }

    void eachLanguageHasItsOwnText() {
        const QStringList english = Build(QStringLiteral("Vellimor"), 0);
        const QStringList german = Build(QStringLiteral("Vellimor"), 1);
        for (const QString& line : english)
            QVERIFY(line.isEmpty() || !german.contains(line));
        QVERIFY(german.join(u' ').contains(u'ü') && german.join(u' ').contains(u'ß'));
    }
};

QTEST_MAIN(AgreementtextTest)
#include "Agreementtext_test.moc"
