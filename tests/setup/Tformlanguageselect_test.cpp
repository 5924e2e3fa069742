#include <QtTest>

#include "platform/Datetime.h"
#include "platform/Showmessage.h"
#include "platform/Username.h"
#include "platform/ui/Application.h"
#include "settings/Tregistrywrapper.h"
#include "setup/Setupdialogtesting.h"
#include "support/Hivefixture.h"
#include "support/Messagerecorder.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtEndian>

#include <cstring>
#include <stdexcept>

using namespace SetupDialogTesting;

namespace {

std::optional<QString> NoUserName() { return std::nullopt; }
std::optional<QString> FiftyCharacterName() { return QString(50, u'n'); }
std::optional<QString> FortyNineCharacterName() { return QString(49, u'n'); }
std::optional<QString> FailingLookup() { throw std::runtime_error("no passwd database"); }

const QStringList ConfirmationValues{QStringLiteral("ProgramLanguage"), QStringLiteral("DisclaimerConfirmed"),
                                     QStringLiteral("ConfirmedDate"), QStringLiteral("ConfirmedUser")};

// The user reading the agreement: keys go to its memo first, as typing does.
QWidget* FocusedPart(QWidget& dialog) {
    auto* memo = Find<QPlainTextEdit>(dialog, "Memo2");
    memo->setFocus();
    return memo;
}

double StoredDouble(const QString& name) {
    const QByteArray data = StoredData(name);
    if (data.size() != 8)
        return -1;
    const quint64 bits = qFromLittleEndian<quint64>(data.constData());
    double number = 0;
    std::memcpy(&number, &bits, sizeof number);
    return number;
}

}  // namespace

// The setup dialog's behaviour: pages, acceptance, what Ok stores, and how
// each way of closing it ends.
class TformlanguageselectTest : public QObject {
    Q_OBJECT

    // Each test starts without a hive and with its own message recorder.
    std::unique_ptr<HiveFixture> Settings;
    std::unique_ptr<MessageRecorder> Messages;

    static TRegistryWrapper& Store() {
        static TRegistryWrapper store(nullptr);
        store.SetKeyPath(RegistryKeyPath);
        return store;
    }

    static bool KeyStored() { return Store().KeyExists(RegistryKeyPath); }

private slots:
    void init() {
        // A quit queued by an earlier test must not end a later test's loop.
        QCoreApplication::sendPostedEvents();
        Settings = std::make_unique<HiveFixture>();
        Messages = std::make_unique<MessageRecorder>();
        QVERIFY(!KeyStored());
        ResetApplicationTerminateRequest();
        TFormLanguageSelect::SetUserNameSource(nullptr);
    }

    void cleanup() {
        TFormLanguageSelect::SetUserNameSource(nullptr);
        Messages.reset();
        Settings.reset();
    }

    void constructionReadsNothingAndAppliesNoText() {
        TFormLanguageSelect dialog(nullptr, ProgramName, RegistryKeyPath);
        QVERIFY(!KeyStored());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Setup application"));
        QCOMPARE(Find<QAbstractButton>(dialog, "CheckBox1")->text(), QStringLiteral("CheckBox1"));
        QCOMPARE(Find<QLabel>(dialog, "Label3")->text(), QStringLiteral("Label3"));
        QCOMPARE(dialog.GetSelectedLanguage(), 0);
        QCOMPARE(dialog.size(), QSize(450, 324));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    }

    void aFreshDialogShowsTheLanguagePageWithNothingToAccept() {
        auto dialog = PreparedDialog();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto* box = Find<QCheckBox>(*dialog, "CheckBox1");
        QCOMPARE(Find<QTabWidget>(*dialog, "PageControl1")->currentIndex(), 0);
        QVERIFY(!Find<QPushButton>(*dialog, "cmdOk")->isEnabled());
        QVERIFY(!box->isEnabled());
        box->click();
        QVERIFY(!box->isChecked());
        QVERIFY(Find<QLabel>(*dialog, "Label3")->text().isEmpty());
    }

    void resettingTurnsBackToTheFirstPageWithoutOpeningTheAgreement() {
        TFormLanguageSelect dialog(nullptr, ProgramName, RegistryKeyPath);
        auto* pages = Find<QTabWidget>(dialog, "PageControl1");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        TurnToPage(dialog, 2);
        QCOMPARE(pages->currentIndex(), 2);
        QSignalSpy turns(pages, &QTabWidget::currentChanged);
        dialog.ResetDialog();
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(turns.count(), 0);
        QVERIFY(!Find<QCheckBox>(dialog, "CheckBox1")->isEnabled());
    }

    void theBoxOpensWithTheAgreementPageAndOkFollowsTheBox() {
        auto dialog = PreparedDialog();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto* box = Find<QCheckBox>(*dialog, "CheckBox1");
        auto* ok = Find<QPushButton>(*dialog, "cmdOk");
        TurnToPage(*dialog, 2);
        QVERIFY(!box->isEnabled());
        TurnToPage(*dialog, 1);
        QCOMPARE(Find<QTabWidget>(*dialog, "PageControl1")->currentIndex(), 1);
        QVERIFY(box->isEnabled());
        QVERIFY(!ok->isEnabled());
        TurnToPage(*dialog, 0);
        QVERIFY(box->isEnabled());
        box->click();
        QVERIFY(box->isChecked());
        QVERIFY(ok->isEnabled());
        box->click();
        QVERIFY(!ok->isEnabled());
        // The language buttons change texts only.
        Find<QAbstractButton>(*dialog, "cmdGerman")->click();
        QVERIFY(box->isEnabled() && !box->isChecked() && !ok->isEnabled());
        QCOMPARE(Find<QTabWidget>(*dialog, "PageControl1")->currentIndex(), 0);
    }

    void okStoresTheConfirmationInOrderAndAccepts_data() {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("language");
        QTest::newRow("no language button") << QStringList() << 0;
        QTest::newRow("German") << QStringList{"cmdGerman"} << 1;
        QTest::newRow("German, then English") << QStringList{"cmdGerman", "cmdEnglish"} << 0;
        QTest::newRow("English, then German") << QStringList{"cmdEnglish", "cmdGerman"} << 1;
    }
    void okStoresTheConfirmationInOrderAndAccepts() {
        QFETCH(QStringList, buttons);
        QFETCH(int, language);
        auto dialog = PreparedDialog();
        const double before = CurrentDateTimeNumber();
        const ModalRun run = RunModal(*dialog, [&](QDialog& shown) {
            for (const QString& button : buttons)
                Find<QAbstractButton>(shown, qPrintable(button))->click();
            Accept(shown);
            Find<QPushButton>(shown, "cmdOk")->click();
        });
        const double after = CurrentDateTimeNumber();
        QVERIFY(run.ActedOnIt && !run.LeftOpen);
        QCOMPARE(run.Result, 1);
        QCOMPARE(dialog->GetSelectedLanguage(), language);
        QCOMPARE(StoredValueNames(), ConfirmationValues);
        QCOMPARE(Store().ReadInteger(QStringLiteral("ProgramLanguage")), language);
        QVERIFY(Store().ReadBool(QStringLiteral("DisclaimerConfirmed")));
        const double confirmed = StoredDouble(QStringLiteral("ConfirmedDate"));
        QVERIFY2(before <= confirmed && confirmed <= after, qPrintable(QString::number(confirmed, 'f', 9)));
        QCOMPARE(StoredData(QStringLiteral("ConfirmedUser")), CurrentUserName().value().toUtf8() + '\0');
        QVERIFY(!ApplicationTerminateRequested());
        QVERIFY(Messages->Texts().isEmpty());
        QCOMPARE(dialog->ReadStoredLanguage(), language);
    }

    void enterIsOkOnceTheBoxIsTicked() {
        auto dialog = PreparedDialog();
        const ModalRun refused = RunModal(*dialog, [](QDialog& shown) { QTest::keyClick(FocusedPart(shown), Qt::Key_Return); });
        QVERIFY(refused.LeftOpen);
        QVERIFY(!KeyStored());
        const ModalRun accepted = RunModal(*dialog, [](QDialog& shown) {
            Accept(shown);
            QTest::keyClick(FocusedPart(shown), Qt::Key_Return);
        });
        QVERIFY(!accepted.LeftOpen);
        QCOMPARE(accepted.Result, QDialog::Accepted);
        QCOMPARE(StoredValueNames(), ConfirmationValues);
        QVERIFY(!ApplicationTerminateRequested());
    }

    void theUserNameFallsBackToUndefined_data() {
        QTest::addColumn<TFormLanguageSelect::UserNameSource>("source");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("unavailable") << &NoUserName << "UNDEFINED" << QStringList();
        QTest::newRow("50 characters") << &FiftyCharacterName << "UNDEFINED" << QStringList();
        QTest::newRow("49 characters") << &FortyNineCharacterName << QString(49, u'n') << QStringList();
        QTest::newRow("lookup throws") << &FailingLookup << "UNDEFINED"
                                       << QStringList{"[ELS001] no passwd database"};
    }
    void theUserNameFallsBackToUndefined() {
        QFETCH(TFormLanguageSelect::UserNameSource, source);
        QFETCH(QString, stored);
        QFETCH(QStringList, messages);
        TFormLanguageSelect::SetUserNameSource(source);
        auto dialog = PreparedDialog();
        const ModalRun run = RunModal(*dialog, [](QDialog& shown) {
            Accept(shown);
            Find<QPushButton>(shown, "cmdOk")->click();
        });
        QCOMPARE(run.Result, QDialog::Accepted);
        QCOMPARE(StoredData(QStringLiteral("ConfirmedUser")), stored.toUtf8() + '\0');
        QCOMPARE(StoredValueNames(), ConfirmationValues);
        QCOMPARE(Messages->Texts(), messages);
    }

    void readStoredLanguage_data() {
        QTest::addColumn<bool>("createKey");
        QTest::addColumn<bool>("storeLanguage");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("key missing") << false << false << 0 << -1;
        QTest::newRow("key without the value") << true << false << 0 << 0;
        QTest::newRow("stored 0") << true << true << 0 << 0;
        QTest::newRow("stored 1") << true << true << 1 << 1;
        QTest::newRow("stored 2") << true << true << 2 << -1;
        QTest::newRow("stored -5") << true << true << -5 << -1;
    }
    void readStoredLanguage() {
        QFETCH(bool, createKey);
        QFETCH(bool, storeLanguage);
        QFETCH(int, stored);
        QFETCH(int, expected);
        if (createKey)
            Store().WriteBool(QStringLiteral("DisclaimerConfirmed"), true);
        if (storeLanguage)
            Store().WriteInteger(QStringLiteral("ProgramLanguage"), stored);
        TFormLanguageSelect dialog(nullptr, ProgramName, RegistryKeyPath);
        QCOMPARE(dialog.ReadStoredLanguage(), expected);
        QCOMPARE(KeyStored(), createKey);
        QVERIFY(!dialog.isVisible());
        QVERIFY(Messages->Texts().isEmpty());
    }

    void closingWithTheBoxTickedStoresNothingAndGoesOn() {
        auto dialog = PreparedDialog();
        const ModalRun run = RunModal(*dialog, [](QDialog& shown) {
            Find<QAbstractButton>(shown, "cmdGerman")->click();
            Accept(shown);
            shown.close();
        });
        QVERIFY(run.ActedOnIt && !run.LeftOpen);
        QVERIFY(run.Result != QDialog::Accepted);
        QVERIFY(!KeyStored());
        QVERIFY(!ApplicationTerminateRequested());
    }

    void refusingEndsTheApplicationAndStoresNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("close box") << "close" << false;
        QTest::newRow("Cancel") << "cmdCancel" << false;
        QTest::newRow("Cancel, box ticked") << "cmdCancel" << true;
        QTest::newRow("Escape") << "Escape" << false;
        QTest::newRow("Escape, box ticked") << "Escape" << true;
    }
    void refusingEndsTheApplicationAndStoresNothing() {
        QFETCH(QString, how);
        QFETCH(bool, ticked);
        auto dialog = PreparedDialog();
        const ModalRun run = RunModal(*dialog, [&](QDialog& shown) {
            if (ticked)
                Accept(shown);
            if (how == "close")
                shown.close();
            else if (how == "Escape")
                QTest::keyClick(FocusedPart(shown), Qt::Key_Escape);
            else
                Find<QPushButton>(shown, "cmdCancel")->click();
        });
        QVERIFY(run.ActedOnIt && !run.LeftOpen);
        QVERIFY(run.Result != QDialog::Accepted);
        QVERIFY(ApplicationTerminateRequested());
        QVERIFY(!KeyStored());
        QVERIFY(Messages->Texts().isEmpty());
    }

    void cancelInsideTheApplicationLoopEndsTheDialogAndTheLoop() {
        auto dialog = PreparedDialog();
        ModalRun run;
        bool watchdogFired = false;
        // Only a safety net against a hang; the quit is expected long before.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, this, [&] {
            watchdogFired = true;
            dialog->hide();
            QCoreApplication::exit(7);
        });
        QTimer::singleShot(0, this, [&] {
            watchdog.start(60'000);
            run = RunModal(*dialog, [](QDialog& shown) { Find<QPushButton>(shown, "cmdCancel")->click(); });
        });
        const int exitCode = QCoreApplication::exec();
        QVERIFY(!watchdogFired);
        QCOMPARE(exitCode, 0);
        QVERIFY(run.ActedOnIt && !run.LeftOpen);
        QCOMPARE(run.Result, QDialog::Rejected);
        QVERIFY(ApplicationTerminateRequested());
    }
};

QTEST_MAIN(TformlanguageselectTest)
#include "Tformlanguageselect_test.moc"
