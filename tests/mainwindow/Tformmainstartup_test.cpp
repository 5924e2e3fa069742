#include "Mainwindowtesting.h"

#include <QApplication>
#include <QPlainTextEdit>

#include "platform/ui/Application.h"
#include "setup/Setupdialogtesting.h"
#include "support/Standarderrorcapture.h"

using namespace SetupDialogTesting;

namespace {

const QByteArray kKey = "[HKEY_CURRENT_USER\\Software\\Vellimor]\n";

QByteArray HiveWith(const QByteArray& values) {
    return "REGEDIT4\n\n" + kKey + values;
}

// Runs the start-up sequence; `act` works on the setup dialog if one opens.
struct StartupRun {
    bool DialogShown = false;
    bool MainWindowVisibleBehindIt = false;
    QStringList EnglishInstructionLines;
};

StartupRun RunStartup(MainWindowFixture& f, const std::function<void(QDialog&)>& act = {}) {
    StartupRun run;
    f.Window->show();
    QTimer::singleShot(0, f.Window.get(), [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        run.DialogShown = true;
        run.MainWindowVisibleBehindIt = f.Window->isVisible() && dialog->parentWidget() == f.Window.get();
        run.EnglishInstructionLines = Find<QPlainTextEdit>(*dialog, "Memo3")->toPlainText().split('\n');
        if (act) act(*dialog);
        if (dialog->isVisible()) dialog->hide();
    });
    f.Window->TimerStartupTimer();
    return run;
}

}  // namespace

class TformmainstartupTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetApplicationTerminateRequest(); }

    void firstStartShowsTheSetupDialogOverTheWindowAndGermanOkGivesGerman() {
        MainWindowFixture f;
        f.Temp.File("listed");
        const StartupRun run = RunStartup(f, [](QDialog& dialog) {
            Find<QAbstractButton>(dialog, "cmdGerman")->click();
            Accept(dialog);
            Find<QAbstractButton>(dialog, "cmdOk")->click();
        });
        QVERIFY(run.DialogShown);
        QVERIFY(run.MainWindowVisibleBehindIt);
        QCOMPARE(f.Window->Language, 1);
        QCOMPARE(f.Form().cmdClear->text(), QStringLiteral("Dateien löschen"));
        QCOMPARE(f.Summary(), QStringLiteral("Dateien: 1 (0.0 MB)"));
        QVERIFY(!f.Window->TimerStartup.isActive());
        QCOMPARE(StoredValueNames(), (QStringList{"ProgramLanguage", "DisclaimerConfirmed", "ConfirmedDate",
                                                  "ConfirmedUser"}));
        QVERIFY(!ApplicationTerminateRequested());
        QVERIFY(f.Messages.Texts().isEmpty());
    }

    void instructionsHaveSixLinesWithEmptyLinesSecondAndFourth() {
        MainWindowFixture f;
        const StartupRun run = RunStartup(f);
        const QStringList& lines = run.EnglishInstructionLines;
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("This program is freeware. Use it at your own risk!"));
        QVERIFY(lines[1].isEmpty() && lines[3].isEmpty());
        QCOMPARE(lines[2], QStringLiteral("Usage instructions:"));
        QVERIFY(lines[4].startsWith("The program will clear temporary files"));
        QVERIFY(lines[5].startsWith("This information and the EULA"));
    }

    void storedConfirmationDecidesWhetherTheDialogOpens_data() {
        QTest::addColumn<QByteArray>("hive");
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<int>("language");
        QTest::newRow("no key") << QByteArray() << true << 0;
        QTest::newRow("key without confirmation") << HiveWith("\"ProgramLanguage\"=dword:00000001\n") << true << 0;
        QTest::newRow("confirmation false")
            << HiveWith("\"DisclaimerConfirmed\"=dword:00000000\n\"ProgramLanguage\"=dword:00000001\n") << true << 0;
        QTest::newRow("confirmed German")
            << HiveWith("\"DisclaimerConfirmed\"=dword:00000001\n\"ProgramLanguage\"=dword:00000001\n") << false << 1;
        QTest::newRow("confirmed, no language") << HiveWith("\"DisclaimerConfirmed\"=dword:00000001\n") << false << 0;
        QTest::newRow("confirmed, language 7")
            << HiveWith("\"DisclaimerConfirmed\"=dword:00000001\n\"ProgramLanguage\"=dword:00000007\n") << false << 0;
    }
    void storedConfirmationDecidesWhetherTheDialogOpens() {
        QFETCH(QByteArray, hive);
        QFETCH(bool, dialog);
        QFETCH(int, language);
        MainWindowFixture f;
        if (!hive.isEmpty()) f.Hive.WriteHive(hive);
        const StartupRun run = RunStartup(f);  // an opened dialog is closed unanswered
        QCOMPARE(run.DialogShown, dialog);
        QCOMPARE(f.Window->Language, language);
        if (language == 0) QCOMPARE(f.Form().cmdClear->text(), QStringLiteral("Delete files"));
        if (hive.contains("00000007")) QCOMPARE(StoredData("ProgramLanguage"), QByteArray("\x07\0\0\0", 4));
    }

    void cancelEndsTheProgramAfterOneListingAndStoresNothing() {
        MainWindowFixture f;
        f.Temp.File("stays");
        const StartupRun run = RunStartup(f, [](QDialog& dialog) {
            Accept(dialog);
            Find<QAbstractButton>(dialog, "cmdCancel")->click();
        });
        QVERIFY(run.DialogShown);
        QVERIFY(ApplicationTerminateRequested());
        QCOMPARE(f.Window->FileCount, 1);
        QVERIFY(QFile::exists(QString::fromStdString(f.Temp.Path("stays"))));
        QVERIFY(StoredValueNames().isEmpty());
    }

    void closingWithTheBoxTickedButNoOkGoesOnInEnglish() {
        MainWindowFixture f;
        f.Temp.File("listed");
        const StartupRun run = RunStartup(f, [](QDialog& dialog) {
            Find<QAbstractButton>(dialog, "cmdGerman")->click();
            Accept(dialog);
            dialog.close();
        });
        QVERIFY(run.DialogShown);
        QVERIFY(!ApplicationTerminateRequested());
        QCOMPARE(f.Window->Language, 0);
        QCOMPARE(f.Summary(), QStringLiteral("Files: 1 (0.0 MB)"));
        QVERIFY(StoredValueNames().isEmpty());
    }

    void autoClearArmsTheCountdownAfterTheListing() {
        MainWindowFixture f;
        f.Hive.WriteHive(HiveWith("\"DisclaimerConfirmed\"=dword:00000001\n\"AutoClear\"=dword:00000001\n"));
        RunStartup(f);
        QVERIFY(f.Window->TimerAutoStart.isActive());
        QCOMPARE(f.Form().cmdClear->text(), QStringLiteral("Stop countdown"));
        QCOMPARE(f.Status(), QString());
        f.Window->TimerAutoStart.stop();
    }

    void autoClearWaitsForTheAgreement() {
        MainWindowFixture f;
        f.Hive.WriteHive(HiveWith("\"AutoClear\"=dword:00000001\n"));
        bool countdownDuringDialog = true;
        RunStartup(f, [&](QDialog& dialog) {
            countdownDuringDialog = f.Window->TimerAutoStart.isActive();
            Accept(dialog);
            Find<QAbstractButton>(dialog, "cmdOk")->click();
        });
        QVERIFY(!countdownDuringDialog);
        QVERIFY(f.Window->TimerAutoStart.isActive());
        f.Window->TimerAutoStart.stop();
    }

    void withoutADesktopAnUnconfirmedStartEndsWithoutDeleting() {
        MainWindowFixture f;
        f.Temp.File("stays");
        f.Window->SetSetupDialogAvailable(false);
        StandardErrorCapture errors;
        const StartupRun run = RunStartup(f);
        QVERIFY(!run.DialogShown);
        QVERIFY(errors.Text().contains("accept"));
        QVERIFY(QFile::exists(QString::fromStdString(f.Temp.Path("stays"))));
        QVERIFY(!f.Window->TimerAutoStart.isActive());
    }
};

QTEST_MAIN(TformmainstartupTest)
#include "Tformmainstartup_test.moc"
