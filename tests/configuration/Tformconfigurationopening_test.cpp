// The configure button: it stops a running countdown and shows the dialog modally.
#include "Configurationtesting.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <functional>

using namespace ConfigurationTesting;

namespace {

struct Opening {
    bool Found = false;              // the dialog was the active modal window, owned by the main window
    QPointer<TFormConfiguration> Dialog;
};

// Presses the configure button; once the dialog's loop runs, `act` works on
// it, then the dialog is closed with its close button's request.
Opening PressConfigure(ConfigurationFixture& f, const std::function<void(TFormConfiguration&)>& act) {
    Opening opening;
    QTimer::singleShot(0, f.Window.get(), [&] {
        opening.Dialog = qobject_cast<TFormConfiguration*>(QApplication::activeModalWidget());
        opening.Found = opening.Dialog && opening.Dialog->parentWidget() == f.Window.get();
        if (QWidget* shown = QApplication::activeModalWidget()) {
            if (opening.Dialog) act(*opening.Dialog);
            shown->close();
        }
    });
    f.Main().cmdConfigure->click();
    return opening;
}

}  // namespace

class TformconfigurationopeningTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        // A dialog left open by a failed test would block the next one.
        while (QWidget* left = QApplication::activeModalWidget()) left->close();
    }

    void openingStopsARunningCountdownForGood() {
        ConfigurationFixture f;
        f.Window->TimerAutoStart.start();
        f.Main().cmdClear->setText(QStringLiteral("Stop countdown"));
        f.Window->TimerAutoStartTimer();  // one tick: "4 seconds" in the status bar
        QVERIFY(!f.Main().StatusBar1->currentMessage().isEmpty());
        f.Temp.File("leftover", "x");
        f.Window->RefreshFileList();
        QApplication::setApplicationName(QStringLiteral("something else"));

        bool countdownRan = true;
        QString caption;
        QString status;
        QString title;
        const Opening opening = PressConfigure(f, [&](TFormConfiguration&) {
            countdownRan = f.Window->TimerAutoStart.isActive();
            caption = f.Main().cmdClear->text();
            status = f.Main().StatusBar1->currentMessage();
            title = QApplication::applicationName();
        });
        QVERIFY(opening.Found);
        QVERIFY(opening.Dialog.isNull());  // freed once closed
        QVERIFY(!countdownRan);
        QCOMPARE(caption, QStringLiteral("Delete files"));
        QCOMPARE(status, QString());
        QCOMPARE(title, QStringLiteral("Vellimor 1.0"));
        QVERIFY(!f.Window->TimerAutoStart.isActive());
        QCOMPARE(f.Window->CountdownSeconds, 4u);

        f.Main().cmdClear->click();  // clears, as it does without a countdown
        QVERIFY(!QFile::exists(QString::fromStdString(f.Temp.Path("leftover"))));
        QCOMPARE(f.Main().StatusBar1->currentMessage(), QStringLiteral("Deleted: 1 files, 0 directories"));
    }

    void openingWithoutCountdownLeavesTheMainWindowAlone() {
        ConfigurationFixture f;
        f.Main().StatusBar1->showMessage(QStringLiteral("Deleted: 2 files, 0 directories"));
        const Opening opening = PressConfigure(f, [](TFormConfiguration&) {});
        QVERIFY(opening.Found);
        QCOMPARE(f.Main().StatusBar1->currentMessage(), QStringLiteral("Deleted: 2 files, 0 directories"));
        QCOMPARE(f.Main().cmdClear->text(), QStringLiteral("Delete files"));
    }

    void eachOpeningStartsOnTheSettingsPageWithWhatIsStoredNow() {
        ConfigurationFixture f;
        f.Store(QStringLiteral("DeletedFiles"), 3);
        bool firstOnSettings = false;
        QString firstTotal;
        QVERIFY(PressConfigure(f, [&](TFormConfiguration& dialog) {
                    Ui::FormConfiguration& c = dialog.Components();
                    firstOnSettings = c.PageControl1->currentWidget() == c.TabSheet1;
                    firstTotal = c.Label11->text();
                    c.RadioButton2->click();  // German
                    c.PageControl1->setCurrentWidget(c.TabSheet2);
                }).Found);
        QVERIFY(firstOnSettings);
        QCOMPARE(firstTotal, QStringLiteral("Deleted files: 3"));
        QCOMPARE(f.Window->Language, 1);
        QCOMPARE(f.Main().cmdClear->text(), QStringLiteral("Dateien löschen"));

        f.Store(QStringLiteral("DeletedFiles"), 8);
        bool secondOnSettings = false;
        bool germanChecked = false;
        QString secondTotal;
        QVERIFY(PressConfigure(f, [&](TFormConfiguration& dialog) {
                    Ui::FormConfiguration& c = dialog.Components();
                    secondOnSettings = c.PageControl1->currentWidget() == c.TabSheet1;
                    germanChecked = c.RadioButton2->isChecked() && !c.RadioButton1->isChecked();
                    secondTotal = c.Label11->text();
                }).Found);
        QVERIFY(secondOnSettings);
        QVERIFY(germanChecked);
        QCOMPARE(secondTotal, QStringLiteral("Gelöschte Dateien: 8"));
        QCOMPARE(StoredNumber(QStringLiteral("ProgramLanguage")), 1);
        QVERIFY(f.Messages.Texts().isEmpty());
    }
};

QTEST_MAIN(TformconfigurationopeningTest)
#include "Tformconfigurationopening_test.moc"
