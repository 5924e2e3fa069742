#include <QtTest>

#include "setup/Setupdialogtesting.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace SetupDialogTesting;

namespace {

// The language buttons pressed before looking at the texts.
QStringList ButtonsFor(int language) {
    if (language == 0)
        return {QStringLiteral("cmdGerman"), QStringLiteral("cmdEnglish")};
    if (language == 1)
        return {QStringLiteral("cmdGerman")};
    return {};
}

QString TextOf(TFormLanguageSelect& dialog, const QString& target) {
    auto* pages = Find<QTabWidget>(dialog, "PageControl1");
    if (target == "caption")
        return dialog.windowTitle();
    if (target.startsWith("TabSheet"))
        return pages->tabText(pages->indexOf(Find<QWidget>(dialog, qPrintable(target))));
    if (target.startsWith("Label"))
        return Find<QLabel>(dialog, qPrintable(target))->text();
    return Find<QAbstractButton>(dialog, qPrintable(target))->text();
}

QStringList MemoLines(QWidget& dialog, const char* name) {
    return Find<QPlainTextEdit>(dialog, name)->toPlainText().split(u'\n');
}

}  // namespace

// Every text the setup dialog shows, in both of its languages.
class TformlanguageselecttextsTest : public QObject {
    Q_OBJECT

private slots:
    void texts_data() {
        QTest::addColumn<int>("language");  // -1: freshly reset, no button pressed
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("expected");
        const auto row = [](int language, const char* target, const QString& expected) {
            const char* names[] = {"English", "German", "reset"};
            QTest::addRow("%s %s", names[language < 0 ? 2 : language], target) << language << target << expected;
        };
        row(0, "caption", "Setup application: Vellimor");
        row(1, "caption", "Anwendung einrichten: Vellimor");
        row(0, "cmdOk", "&Ok");
        row(1, "cmdOk", "&Ok");
        row(0, "cmdCancel", "&Cancel");
        row(1, "cmdCancel", "&Abbrechen");
        row(0, "TabSheet1", "Select language");
        row(1, "TabSheet1", "Sprache wählen");
        row(0, "TabSheet2", "EULA");
        row(1, "TabSheet2", "EULA");
        row(0, "TabSheet3", "Usage instructions");
        row(1, "TabSheet3", "Bedienungshinweise");
        row(0, "CheckBox1", "Accept EULA");
        row(1, "CheckBox1", "EULA akzeptieren");
        row(0, "Label1", "English");
        row(1, "Label1", "English");
        row(0, "Label2", "Deutsch");
        row(1, "Label2", "Deutsch");
        row(0, "Label3", "You selected English as program language.");
        row(1, "Label3", "Sie haben Deutsch als Programmsprache gewählt.");
        row(-1, "Label3", "");
        row(-1, "caption", "Setup application: Vellimor");
        row(-1, "cmdCancel", "&Cancel");
    }
    void texts() {
        QFETCH(int, language);
        QFETCH(QString, target);
        QFETCH(QString, expected);
        auto dialog = PreparedDialog();
        for (const QString& button : ButtonsFor(language))
            Find<QAbstractButton>(*dialog, qPrintable(button))->click();
        QCOMPARE(TextOf(*dialog, target), expected);
    }

    void memos_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("instructions");
        QTest::newRow("English") << 0 << EnglishInstructions();
        QTest::newRow("German") << 1 << GermanInstructions();
    }
    void memos() {
        QFETCH(int, language);
        QFETCH(QStringList, instructions);
        auto dialog = PreparedDialog();
        for (const QString& button : ButtonsFor(language))
            Find<QAbstractButton>(*dialog, qPrintable(button))->click();
        const QStringList prompt{
            QStringLiteral("Select the program language by clicking the corrensponding button."), QString(),
            QStringLiteral("Wählen Sie die Programmsprache durch einen Klick auf die entsprechende Schaltfläche.")};
        QCOMPARE(MemoLines(*dialog, "Memo1"), prompt);
        QStringList agreement;
        dialog->BuildAgreementText(&agreement, language);
        QCOMPARE(MemoLines(*dialog, "Memo2"), agreement);
        QCOMPARE(MemoLines(*dialog, "Memo3"), instructions);
        for (const char* memo : {"Memo1", "Memo2", "Memo3"}) {
            QVERIFY(Find<QPlainTextEdit>(*dialog, memo)->isReadOnly());
            QCOMPARE(Find<QPlainTextEdit>(*dialog, memo)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        }
    }

    void flagButtonsCarryTheirPictures() {
        auto dialog = PreparedDialog();
        for (const char* name : {"cmdEnglish", "cmdGerman"}) {
            auto* button = Find<QAbstractButton>(*dialog, name);
            QVERIFY2(!button->icon().isNull(), name);
            QCOMPARE(button->icon().availableSizes().value(0), QSize(16, 11));
        }
        const QImage english = Find<QAbstractButton>(*dialog, "cmdEnglish")->icon().pixmap(16, 11).toImage();
        const QImage german = Find<QAbstractButton>(*dialog, "cmdGerman")->icon().pixmap(16, 11).toImage();
        QVERIFY(english != german);
        QCOMPARE(QColor(german.pixel(8, 1)), QColor(Qt::black));
    }

    void setInstructionsKeepsACopyForLanguagesZeroAndOne() {
        TFormLanguageSelect dialog(nullptr, ProgramName, RegistryKeyPath);
        QStringList lines{QStringLiteral("first")};
        dialog.SetInstructions(0, lines);
        lines << QStringLiteral("added by the caller later");
        dialog.SetInstructions(2, {QStringLiteral("ignored")});
        dialog.SetInstructions(-1, {QStringLiteral("ignored")});
        dialog.SetInstructions(1, {QStringLiteral("erste")});
        dialog.SetInstructions(1, {QStringLiteral("ersetzt"), QStringLiteral("zweite")});
        dialog.ResetDialog();
        QCOMPARE(MemoLines(dialog, "Memo3"), QStringList{QStringLiteral("first")});
        Find<QAbstractButton>(dialog, "cmdGerman")->click();
        QCOMPARE(MemoLines(dialog, "Memo3"), (QStringList{QStringLiteral("ersetzt"), QStringLiteral("zweite")}));
    }
};

QTEST_MAIN(TformlanguageselecttextsTest)
#include "Tformlanguageselecttexts_test.moc"
