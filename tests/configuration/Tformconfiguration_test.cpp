#include "Configurationtesting.h"

#include "localisation/Textcatalogue.h"
#include "mainwindow/Programidentity.h"
#include "platform/Showmessage.h"
#include "setup/Agreementtext.h"

using namespace ConfigurationTesting;

namespace {

const QString kEnglishRestoring = QStringLiteral("The default settings will be applied now.");
const QString kGermanRestoring = QStringLiteral("Die Standardeinstellungen werden nun wiederhergestellt.");
const QString kKeyUnavailable = QStringLiteral("Cannot get registry information!");

QStringList Instructions(qint32 language) {
    if (language == 1)
        return {QStringLiteral("Dieses Programm ist Freeware. Benutzen Sie es auf eigene Gefahr!"), QString(),
                QStringLiteral("Anleitung:"), QString(), TextCatalogue::Lookup(QStringLiteral("Instructions_L3"), 1),
                QStringLiteral("Diese Informationen und die Lizenzbestimmungen werden nicht mehr erscheinen, "
                               "sobald Sie sie bestätigt haben."),
                QString()};
    return {QStringLiteral("This program is freeware. Use it at your own risk!"), QString(),
            QStringLiteral("Usage instructions:"), QString(), TextCatalogue::Lookup(QStringLiteral("Instructions_L3"), 0),
            QStringLiteral("This information and the EULA won't appear again, once you have confirmed it."), QString()};
}

std::unique_ptr<TFormConfiguration> Shown(ConfigurationFixture& f) {
    std::unique_ptr<TFormConfiguration> dialog = f.Open();
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) qFatal("the configuration dialog was not shown");
    return dialog;
}

// A click on the button's indicator, where every style takes it.
void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// What the home-page link handed on, through an opener that always fails.
QList<QUrl> OpenedAddresses;
bool FailingOpener(const QUrl& address) {
    OpenedAddresses << address;
    return false;
}

}  // namespace

class TformconfigurationTest : public QObject {
    Q_OBJECT

private slots:
    void formHasItsDesignedShape() {
        ConfigurationFixture f;
        auto dialog = f.Open();
        QCOMPARE(dialog->size(), QSize(475, 308));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->parentWidget(), f.Window.get());
        Ui::FormConfiguration& c = dialog->Components();
        QCOMPARE(c.PageControl1->count(), 2);
        QCOMPARE(c.PageControl1->widget(0), c.TabSheet1);
        QCOMPARE(c.PageControl1->widget(1), c.TabSheet2);
        QCOMPARE(c.cmdClean->geometry(), QRect(160, 112, 97, 22));
        QCOMPARE(c.CheckBox1->geometry(), QRect(160, 8, 17, 17));
        QCOMPARE(c.Label13->geometry(), QRect(184, 8, 273, 49));
        QCOMPARE(c.Memo1->geometry(), QRect(8, 104, 449, 129));
        QCOMPARE(c.RadioButton2->parentWidget(), c.Panel1);
        QVERIFY(c.Label13->wordWrap() && c.Label1->wordWrap());
        QVERIFY(c.Memo1->isReadOnly());
        QCOMPARE(c.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(c.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(c.Bevel1->frameShape(), QFrame::HLine);
        QVERIFY(c.Label4->font().bold());
        QVERIFY(c.Label9->font().underline() && c.Label8->font().underline() && c.Label10->font().underline());
        QVERIFY(c.Label3->font().underline());
        QCOMPARE(c.Label3->cursor().shape(), Qt::PointingHandCursor);
    }

    void eachOpeningShowsTheSettingsPageWithTheLanguageCheckedAndFreshTotals_data() {
        QTest::addColumn<qint32>("language");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("directories");
        QTest::newRow("English") << 0 << "Deleted files:" << "Deleted directories:";
        QTest::newRow("German") << 1 << "Gelöschte Dateien:" << "Gelöschte Verzeichnisse:";
    }
    void eachOpeningShowsTheSettingsPageWithTheLanguageCheckedAndFreshTotals() {
        QFETCH(qint32, language);
        QFETCH(QString, files);
        QFETCH(QString, directories);
        ConfigurationFixture f(language);
        f.Store(QStringLiteral("DeletedFiles"), 12);
        f.Store(QStringLiteral("DeletedDirectories"), 3);
        for (const qint32 total : {12, 40}) {
            f.Store(QStringLiteral("DeletedFiles"), total);
            auto dialog = f.Open();
            Ui::FormConfiguration& c = dialog->Components();
            QCOMPARE(c.PageControl1->currentWidget(), c.TabSheet1);
            QCOMPARE(c.RadioButton1->isChecked(), language == 0);
            QCOMPARE(c.RadioButton2->isChecked(), language == 1);
            QCOMPARE(c.Label11->text(), files + QLatin1Char(' ') + QString::number(total));
            QCOMPARE(c.Label12->text(), directories + QStringLiteral(" 3"));
            c.PageControl1->setCurrentWidget(c.TabSheet2);  // the next opening starts afresh
        }
        QVERIFY(f.Messages.Texts().isEmpty());
    }

    void textsFollowTheLanguage_data() {
        QTest::addColumn<qint32>("language");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English") << 0
            << QStringList{"Configuration", "Settings", "About", "Automatic mode",
                           "After the program has started, wait 5 seconds, then delete the listed files and quit the program.",
                           "Program language", "English", "German", "Registry", "Clean",
                           "Deletes registry keys, that this program has created. (Run separately for each windows user account.)",
                           "Created by", "Visit my homepage to find information about my other programs.",
                           "Deleted files: 0", "Deleted directories: 0"};
        QTest::newRow("German") << 1
            << QStringList{"Konfiguration", "Einstellungen", "Über", "Automatik-Modus",
                           "Nach Programmstart 5 Sekunden warten, dann die aufgelisteten Dateien löschen und das Programm beenden.",
                           "Programmsprache", "Englisch", "Deutsch", "Registrierung", "Säubern",
                           "Entfernt Registrierungsschlüssel, die dieses Programm angelegt hat. (Pro Windows Benutzeraccount auszuführen.)",
                           "Erstellt von", "Besuchen Sie meine Homepage für Informationen zu meinen anderen Programmen.",
                           "Gelöschte Dateien: 0", "Gelöschte Verzeichnisse: 0"};
    }
    void textsFollowTheLanguage() {
        QFETCH(qint32, language);
        QFETCH(QStringList, texts);
        ConfigurationFixture f(language);
        auto dialog = f.Open();
        Ui::FormConfiguration& c = dialog->Components();
        const QStringList shown{dialog->windowTitle(), TabText(*dialog, c.TabSheet1), TabText(*dialog, c.TabSheet2),
                                c.Label9->text(), c.Label13->text(), c.Label8->text(), c.RadioButton1->text(),
                                c.RadioButton2->text(), c.Label10->text(), c.cmdClean->text(), c.Label1->text(),
                                c.Label5->text(), c.Label2->text(), c.Label11->text(), c.Label12->text()};
        QCOMPARE(shown, texts);
        QCOMPARE(c.Label4->text(), QStringLiteral("Vellimor"));
        QCOMPARE(c.Label6->text(), QStringLiteral("The Vellimor developers"));
        QCOMPARE(c.Label7->text(), ProgramCopyright);
        QCOMPARE(MemoLines(*dialog).first(), Instructions(language).first());
    }

    void openingInGermanStoresTheLanguageAgainAndSwitchesBothWindows() {
        ConfigurationFixture f(1);
        f.Main().cmdClear->setText(QStringLiteral("stale"));  // shows whether the main window applied its texts
        QVERIFY(!KeyExists());
        auto dialog = f.Open();
        QCOMPARE(StoredNames(), QStringList{QStringLiteral("ProgramLanguage")});
        QCOMPARE(StoredNumber(QStringLiteral("ProgramLanguage")), 1);
        QCOMPARE(f.Window->Language, 1);
        QCOMPARE(f.Main().cmdClear->text(), QStringLiteral("Dateien löschen"));
        QCOMPARE(f.Main().Label1->text(), QStringLiteral("Temporäre Dateien"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Konfiguration"));
        QVERIFY(dialog->Components().cmdClean->isEnabled());
        QVERIFY(f.Messages.Texts().isEmpty());
    }

    void languageOutsideEnglishAndGermanLeavesEnglishCheckedAndNoAgreement_data() {
        QTest::addColumn<qint32>("language");
        QTest::newRow("-1") << -1;
        QTest::newRow("2") << 2;
    }
    void languageOutsideEnglishAndGermanLeavesEnglishCheckedAndNoAgreement() {
        QFETCH(qint32, language);
        ConfigurationFixture f(language);
        auto dialog = f.Open();
        Ui::FormConfiguration& c = dialog->Components();
        QVERIFY(c.RadioButton1->isChecked());
        QVERIFY(!c.RadioButton2->isChecked());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Configuration|Caption"));
        QCOMPARE(c.cmdClean->text(), QStringLiteral("Configuration|cmdClean"));
        QCOMPARE(c.Label11->text(), QStringLiteral("Configuration|Label11 0"));
        QCOMPARE(MemoLines(*dialog), (QStringList{"Instructions_L1", "", "Instructions_L2", "", "Instructions_L3",
                                                  "Instructions_L4", ""}));
        QCOMPARE(f.Window->Language, language);
        QVERIFY(StoredNames().isEmpty());  // no language was stored
        QVERIFY(c.cmdClean->isEnabled());
    }

    void accountWithoutStoredSettingsGetsAnEmptyKey() {
        ConfigurationFixture f;
        QVERIFY(!QFile::exists(f.Hive.HivePath()));
        auto dialog = f.Open();
        Ui::FormConfiguration& c = dialog->Components();
        QCOMPARE(c.Label11->text(), QStringLiteral("Deleted files: 0"));
        QCOMPARE(c.Label12->text(), QStringLiteral("Deleted directories: 0"));
        QVERIFY(!c.CheckBox1->isChecked());
        QVERIFY(c.cmdClean->isEnabled());
        QVERIFY(KeyExists());
        QVERIFY(StoredNames().isEmpty());
        QVERIFY(f.Messages.Texts().isEmpty());
    }

    void storedAutomaticModeChecksTheBoxAndStoresItAgain() {
        ConfigurationFixture f;
        f.Store(QStringLiteral("DeletedFiles"), 1);
        f.Window->Registry->WriteBool(QStringLiteral("AutoClear"), true);
        f.Hive.WriteHive(f.Hive.HiveBytes().replace("\"AutoClear\"=dword:00000001", "\"AutoClear\"=dword:00000007"));
        auto dialog = f.Open();
        QVERIFY(dialog->Components().CheckBox1->isChecked());
        QCOMPARE(StoredNumber(QStringLiteral("AutoClear")), 1);  // the box's click stored true again
        QVERIFY(dialog->Components().cmdClean->isEnabled());
    }

    void clickingTheSelectedLanguageChangesNothing_data() {
        QTest::addColumn<qint32>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("German") << 1;
    }
    void clickingTheSelectedLanguageChangesNothing() {
        QFETCH(qint32, language);
        ConfigurationFixture f(language);
        f.Store(QStringLiteral("DeletedFiles"), 5);
        auto dialog = Shown(f);
        Ui::FormConfiguration& c = dialog->Components();
        f.Store(QStringLiteral("DeletedFiles"), 6);
        const QByteArray before = f.Hive.HiveBytes();
        Click(language == 0 ? c.RadioButton1 : c.RadioButton2);
        QCOMPARE(c.RadioButton1->isChecked(), language == 0);
        QCOMPARE(f.Hive.HiveBytes(), before);
        QVERIFY(c.Label11->text().endsWith(QStringLiteral(" 5")));  // no texts applied, no totals read
        QCOMPARE(f.Window->Language, language);
    }

    void clickingTheOtherLanguageSwitchesBothWindows_data() {
        QTest::addColumn<qint32>("from");
        QTest::addColumn<qint32>("to");
        QTest::addColumn<QString>("clearCaption");
        QTest::addColumn<QString>("files");
        QTest::newRow("to German") << 0 << 1 << "Dateien löschen" << "Gelöschte Dateien: 9";
        QTest::newRow("to English") << 1 << 0 << "Delete files" << "Deleted files: 9";
    }
    void clickingTheOtherLanguageSwitchesBothWindows() {
        QFETCH(qint32, from);
        QFETCH(qint32, to);
        QFETCH(QString, clearCaption);
        QFETCH(QString, files);
        ConfigurationFixture f(from);
        auto dialog = Shown(f);
        Ui::FormConfiguration& c = dialog->Components();
        f.Store(QStringLiteral("DeletedFiles"), 9);
        f.Main().cmdClear->setText(QStringLiteral("stale"));
        Click(to == 0 ? c.RadioButton1 : c.RadioButton2);
        QCOMPARE(c.RadioButton2->isChecked(), to == 1);
        QCOMPARE(StoredNumber(QStringLiteral("ProgramLanguage")), to);
        QCOMPARE(f.Window->Language, to);
        QCOMPARE(f.Main().cmdClear->text(), clearCaption);
        QCOMPARE(c.Label11->text(), files);
        QCOMPARE(MemoLines(*dialog),
                 Instructions(to) + (to == 0 ? AgreementText::English(ProgramName) : AgreementText::German(ProgramName)));
        QVERIFY(f.Messages.Texts().isEmpty());
    }

    void label13TogglesLikeTheBox_data() {
        QTest::addColumn<bool>("onTheLabel");
        QTest::newRow("box") << false;
        QTest::newRow("label") << true;
    }
    void label13TogglesLikeTheBox() {
        QFETCH(bool, onTheLabel);
        ConfigurationFixture f;
        auto dialog = Shown(f);
        Ui::FormConfiguration& c = dialog->Components();
        c.cmdClean->click();  // the defaults are in force: Clean leaves no key and disables itself
        QVERIFY(!c.cmdClean->isEnabled() && !KeyExists());
        f.Messages.Clear();
        const auto toggle = [&] {
            if (onTheLabel)
                QTest::mouseClick(c.Label13, Qt::LeftButton);
            else
                Click(c.CheckBox1);
        };
        toggle();
        QVERIFY(c.CheckBox1->isChecked());
        QCOMPARE(StoredNames(), QStringList{QStringLiteral("AutoClear")});
        QCOMPARE(StoredNumber(QStringLiteral("AutoClear")), 1);
        QVERIFY(c.cmdClean->isEnabled());
        toggle();
        QVERIFY(!c.CheckBox1->isChecked());
        QCOMPARE(StoredNumber(QStringLiteral("AutoClear")), 0);
        QVERIFY(f.Messages.Texts().isEmpty());
    }

    void label13TakesOnlyLeftClicksOnItself() {
        ConfigurationFixture f;
        auto dialog = Shown(f);
        QLabel* label = dialog->Components().Label13;
        QTest::mouseClick(label, Qt::RightButton);
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 20, 5));  // let go elsewhere
        QVERIFY(!dialog->Components().CheckBox1->isChecked());
        QVERIFY(!StoredNumber(QStringLiteral("AutoClear")));
        // A double click: press, release, a second press that arrives as the double click, release.
        QTest::mouseClick(label, Qt::LeftButton);
        QTest::mouseDClick(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton);
        QVERIFY(dialog->Components().CheckBox1->isChecked());  // toggled once
        QCOMPARE(StoredNumber(QStringLiteral("AutoClear")), 1);
    }

    void cleanShowsTheMessageThenResetsWhatDiffersFromTheDefaults_data() {
        QTest::addColumn<qint32>("language");
        QTest::addColumn<bool>("autoClear");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("English, automatic mode off") << 0 << false << QStringList{};
        QTest::newRow("German, automatic mode off") << 1 << false << QStringList{"ProgramLanguage"};
        QTest::newRow("English, automatic mode on") << 0 << true << QStringList{"AutoClear"};
        QTest::newRow("German, automatic mode on") << 1 << true << QStringList{"ProgramLanguage", "AutoClear"};
    }
    void cleanShowsTheMessageThenResetsWhatDiffersFromTheDefaults() {
        QFETCH(qint32, language);
        QFETCH(bool, autoClear);
        QFETCH(QStringList, stored);
        ConfigurationFixture f(language);
        f.Window->Registry->WriteBool(QStringLiteral("DisclaimerConfirmed"), true);
        f.Store(QStringLiteral("ProgramLanguage"), language);
        f.Window->Registry->WriteBool(QStringLiteral("AutoClear"), autoClear);
        f.Store(QStringLiteral("DeletedFiles"), 7);
        auto dialog = Shown(f);
        Ui::FormConfiguration& c = dialog->Components();
        QCOMPARE(c.CheckBox1->isChecked(), autoClear);

        QStringList messages;
        bool keyWhenTold = false;
        const MessageSink recorder = CurrentMessageSink();
        SetMessageSink([&](const QString& text) {
            if (messages.isEmpty()) keyWhenTold = KeyExists();
            messages << text;
        });
        c.cmdClean->click();
        SetMessageSink(recorder);

        QCOMPARE(messages, QStringList{language == 1 ? kGermanRestoring : kEnglishRestoring});
        QVERIFY(keyWhenTold);  // told before anything was deleted
        QCOMPARE(KeyExists(), !stored.isEmpty());
        QCOMPARE(StoredNames(), stored);
        for (const QString& name : stored) QCOMPARE(StoredNumber(name), 0);
        QCOMPARE(c.cmdClean->isEnabled(), !stored.isEmpty());
        QVERIFY(c.RadioButton1->isChecked() && !c.CheckBox1->isChecked());
        QCOMPARE(f.Window->Language, 0);
        QCOMPARE(f.Main().cmdClear->text(), QStringLiteral("Delete files"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Configuration"));
        // Only a change of language reads the totals again.
        QCOMPARE(c.Label11->text(), language == 1 ? QStringLiteral("Deleted files: 0") : QStringLiteral("Deleted files: 7"));
    }

    void failedDeletionChangesNothingElse() {
        ConfigurationFixture f(1);
        f.Window->Registry->WriteBool(QStringLiteral("AutoClear"), true);
        auto dialog = Shown(f);
        Ui::FormConfiguration& c = dialog->Components();
        f.BlockWrites();
        f.Messages.Clear();
        c.cmdClean->click();
        QCOMPARE(f.Messages.Texts(),
                 (QStringList{kGermanRestoring, QStringLiteral("[ERW010] Konnte Schlüssel '\\Software\\Vellimor' nicht löschen")}));
        QVERIFY(c.RadioButton2->isChecked() && c.CheckBox1->isChecked() && c.cmdClean->isEnabled());
        QCOMPARE(f.Window->Language, 1);
        QVERIFY(KeyExists());
    }

    // Clean first leaves no key and disables itself; then no write can make the key again.
    void failedWritesAreReportedAndTheChangeStillApplies_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("messages");
        const QString unavailable = QStringLiteral("] ") + kKeyUnavailable;
        QTest::newRow("German") << "RadioButton2"
            << QStringList{"[ERW013" + unavailable, "[ERW011" + unavailable, "[ERW011" + unavailable};
        QTest::newRow("box") << "CheckBox1" << QStringList{"[ERW003" + unavailable};
        QTest::newRow("label") << "Label13" << QStringList{"[ERW003" + unavailable};
    }
    void failedWritesAreReportedAndTheChangeStillApplies() {
        QFETCH(QString, control);
        QFETCH(QStringList, messages);
        ConfigurationFixture f;
        auto dialog = Shown(f);
        Ui::FormConfiguration& c = dialog->Components();
        c.cmdClean->click();
        QVERIFY(!c.cmdClean->isEnabled());
        f.BlockWrites();
        f.Messages.Clear();
        QWidget* target = dialog->findChild<QWidget*>(control);
        if (auto* button = qobject_cast<QAbstractButton*>(target))
            Click(button);
        else
            QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(f.Messages.Texts(), messages);  // each handler ran once
        QVERIFY(c.cmdClean->isEnabled());
        QVERIFY(!KeyExists());
        if (control == QLatin1String("RadioButton2")) {
            QCOMPARE(f.Window->Language, 1);
            QCOMPARE(f.Main().cmdClear->text(), QStringLiteral("Dateien löschen"));
        } else {
            QVERIFY(c.CheckBox1->isChecked());
        }
    }

    void unavailableKeyIsReportedAndTheDialogGoesOn_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("hive that does not parse") << "text";
        QTest::newRow("hive that is a directory") << "directory";
    }
    void unavailableKeyIsReportedAndTheDialogGoesOn() {
        QFETCH(QString, kind);
        ConfigurationFixture f;
        if (kind == QLatin1String("text"))
            f.Hive.WriteHive("this is not a hive\n");
        else
            QVERIFY(QDir().mkpath(f.Hive.HivePath() + QStringLiteral("/inside")));
        const QByteArray before = f.Hive.HiveBytes();
        auto dialog = Shown(f);
        Ui::FormConfiguration& c = dialog->Components();
        const QString unavailable = QStringLiteral("[ERW011] ") + kKeyUnavailable;
        QCOMPARE(f.Messages.Texts(), (QStringList{unavailable, unavailable}));
        QCOMPARE(c.Label11->text(), QStringLiteral("Deleted files: 0"));
        QCOMPARE(c.Label12->text(), QStringLiteral("Deleted directories: 0"));
        QVERIFY(!c.cmdClean->isEnabled());
        QVERIFY(!c.CheckBox1->isChecked());
        f.Messages.Clear();
        Click(c.CheckBox1);
        QCOMPARE(f.Messages.Texts(), QStringList{QStringLiteral("[ERW003] ") + kKeyUnavailable});
        QVERIFY(c.cmdClean->isEnabled());
        QCOMPARE(f.Hive.HiveBytes(), before);  // never overwritten
    }

    void aboutPageShowsTheInstructionsThenTheAgreement() {
        ConfigurationFixture f;
        auto dialog = Shown(f);
        Ui::FormConfiguration& c = dialog->Components();
        QCOMPARE(MemoLines(*dialog), Instructions(0) + AgreementText::English(ProgramName));
        Click(c.RadioButton2);
        QCOMPARE(MemoLines(*dialog), Instructions(1) + AgreementText::German(ProgramName));
        Click(c.RadioButton1);
        QCOMPARE(MemoLines(*dialog), Instructions(0) + AgreementText::English(ProgramName));
    }

    void homePageLinkHandsTheAddressOnAndReportsNothing_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }
    void homePageLinkHandsTheAddressOnAndReportsNothing() {
        QFETCH(Qt::MouseButton, button);
        ConfigurationFixture f;
        auto dialog = Shown(f);
        QLabel* link = dialog->Components().Label3;
        QCOMPARE(link->text(), TFormConfiguration::HomepageAddress());
        QVERIFY(link->text().startsWith(QStringLiteral("file:///")));
        QVERIFY(link->text().endsWith(QStringLiteral("/share/doc/vellimor/README.md")));

        OpenedAddresses.clear();
        TFormConfiguration::SetHomepageOpener(&FailingOpener);
        QTest::mouseClick(link, button);
        QTest::mouseClick(dialog->Components().Label2, button);  // the line above is no link
        TFormConfiguration::SetHomepageOpener(nullptr);
        QCOMPARE(OpenedAddresses, QList<QUrl>{QUrl(link->text())});
        QVERIFY(OpenedAddresses.first().isLocalFile());
        QVERIFY(f.Messages.Texts().isEmpty());
    }
};

QTEST_MAIN(TformconfigurationTest)
#include "Tformconfiguration_test.moc"
