#include "setup/Tformlanguageselect.h"

#include "platform/Datetime.h"
#include "platform/Showmessage.h"
#include "platform/Username.h"
#include "platform/ui/Application.h"
#include "setup/Agreementtext.h"
#include "setup/Flagpictures.h"
#include "setup/Setuptexts.h"
#include "ui_Tformlanguageselect.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QScreen>
#include <QSignalBlocker>

#include <exception>

using namespace Qt::Literals::StringLiterals;

namespace {

// The name must fit a buffer of 50 bytes including its terminating zero.
constexpr qsizetype UserNameBufferSize = 50;

TFormLanguageSelect::UserNameSource NameSource = &CurrentUserName;

QString UndefinedUserName() { return u"UNDEFINED"_s; }

}  // namespace

TFormLanguageSelect::TFormLanguageSelect(QWidget* owner, const QString& productName,
                                         const QString& keyPath)
    : QDialog(owner), Form(std::make_unique<Ui::FormLanguageSelect>()), KeyPath(keyPath),
      ProductName(productName), Registry(this) {
    Form->setupUi(this);
    SetupComponents();
    ConnectEvents();
    Registry.SetKeyPath(keyPath);
}

TFormLanguageSelect::~TFormLanguageSelect() = default;

void TFormLanguageSelect::SetupComponents() {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(450, 324);
    const QFont memoFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    Form->Memo1->setFont(memoFont);
    Form->Memo2->setFont(memoFont);
    Form->Memo3->setFont(memoFont);
    Form->cmdEnglish->setIcon(QIcon(UnitedKingdomFlag()));
    Form->cmdGerman->setIcon(QIcon(GermanyFlag()));
}

void TFormLanguageSelect::ConnectEvents() {
    connect(Form->cmdOk, &QPushButton::clicked, this, &TFormLanguageSelect::cmdOkClick);
    connect(Form->cmdCancel, &QPushButton::clicked, this, &TFormLanguageSelect::cmdCancelClick);
    connect(Form->cmdEnglish, &QToolButton::clicked, this, &TFormLanguageSelect::cmdEnglishClick);
    connect(Form->cmdGerman, &QToolButton::clicked, this, &TFormLanguageSelect::cmdGermanClick);
    // toggled, not clicked: Ok follows every change of the box, also from code.
    connect(Form->CheckBox1, &QCheckBox::toggled, this, &TFormLanguageSelect::CheckBox1Click);
    connect(Form->PageControl1, &QTabWidget::currentChanged, this,
            &TFormLanguageSelect::PageControl1Change);
}

int TFormLanguageSelect::ReadStoredLanguage() {
    if (!Registry.KeyExists(KeyPath))
        return -1;
    const qint32 stored = Registry.ReadInteger(u"ProgramLanguage"_s);
    return stored == 0 || stored == 1 ? stored : -1;
}

void TFormLanguageSelect::SetInstructions(int language, const QStringList& lines) {
    if (language == 0)
        InstructionsEnglish = lines;
    else if (language == 1)
        InstructionsGerman = lines;
}

void TFormLanguageSelect::ResetDialog() {
    SelectedLanguage = 0;
    Form->Label3->clear();
    ApplyLanguage();
    // Only the user's turning of pages may open the agreement.
    const QSignalBlocker quiet(Form->PageControl1);
    Form->PageControl1->setCurrentIndex(0);
}

int TFormLanguageSelect::GetSelectedLanguage() const { return SelectedLanguage; }

void TFormLanguageSelect::BuildAgreementText(QStringList* lines, int language) const {
    if (lines == nullptr)
        return;
    if (language == 0)
        lines->append(AgreementText::English(ProductName));
    else if (language == 1)
        lines->append(AgreementText::German(ProductName));
}

void TFormLanguageSelect::SetUserNameSource(UserNameSource source) {
    NameSource = source != nullptr ? source : &CurrentUserName;
}

void TFormLanguageSelect::ApplyLanguage() {
    Form->Memo1->setPlainText(LanguagePrompt().join(u'\n'));
    Form->Memo3->clear();
    if (const SetupTexts* texts = SetupTextsFor(SelectedLanguage)) {
        setWindowTitle(texts->CaptionPrefix + ProductName);
        Form->cmdOk->setText(texts->Ok);
        Form->cmdCancel->setText(texts->Cancel);
        Form->PageControl1->setTabText(0, texts->LanguagePage);
        Form->PageControl1->setTabText(1, texts->AgreementPage);
        Form->PageControl1->setTabText(2, texts->InstructionsPage);
        Form->CheckBox1->setText(texts->Acceptance);
        const QStringList& instructions =
            SelectedLanguage == 0 ? InstructionsEnglish : InstructionsGerman;
        Form->Memo3->setPlainText(instructions.join(u'\n'));
    }
    QStringList agreement;
    BuildAgreementText(&agreement, SelectedLanguage);
    Form->Memo2->setPlainText(agreement.join(u'\n'));
}

QString TFormLanguageSelect::GetWindowsUserName() {
    try {
        const std::optional<QString> name = NameSource();
        if (name && name->toLocal8Bit().size() < UserNameBufferSize)
            return *name;
    } catch (const std::exception& error) {
        ShowMessage(u"[ELS001] "_s + QString::fromLocal8Bit(error.what()));
    }
    return UndefinedUserName();
}

void TFormLanguageSelect::cmdOkClick() {
    // The writes report their own failures; the dialog closes with Ok regardless.
    Registry.WriteInteger(u"ProgramLanguage"_s, SelectedLanguage);
    Registry.WriteBool(u"DisclaimerConfirmed"_s, true);
    Registry.WriteFloat(u"ConfirmedDate"_s, CurrentDateTimeNumber());
    Registry.WriteString(u"ConfirmedUser"_s, GetWindowsUserName());
    accept();
}

void TFormLanguageSelect::cmdCancelClick() {
    TerminateApplication();
    // The quit comes only once control is back in the application's loop;
    // end the modal run now so that its caller sees the refusal at once.
    if (isVisible())
        reject();
}

void TFormLanguageSelect::cmdEnglishClick() {
    SelectedLanguage = 0;
    Form->Label3->setText(EnglishSelectedNotice());
    ApplyLanguage();
}

void TFormLanguageSelect::cmdGermanClick() {
    SelectedLanguage = 1;
    Form->Label3->setText(GermanSelectedNotice());
    ApplyLanguage();
}

void TFormLanguageSelect::CheckBox1Click() { Form->cmdOk->setEnabled(Form->CheckBox1->isChecked()); }

void TFormLanguageSelect::PageControl1Change(int index) {
    if (index == 1)
        Form->CheckBox1->setEnabled(true);
}

void TFormLanguageSelect::FormClose() {
    if (!Form->CheckBox1->isChecked())
        TerminateApplication();
}

void TFormLanguageSelect::done(int result) {
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TFormLanguageSelect::keyPressEvent(QKeyEvent* event) {
    // Escape is the Cancel button, not a plain rejection.
    if (event->matches(QKeySequence::Cancel)) {
        Form->cmdCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormLanguageSelect::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());
}
