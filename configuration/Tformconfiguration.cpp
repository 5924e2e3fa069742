#include "configuration/Tformconfiguration.h"

#include "mainwindow/Programidentity.h"
#include "mainwindow/Tformmain.h"
#include "platform/Showmessage.h"
#include "setup/Tformlanguageselect.h"
#include "ui_Tformconfiguration.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

#include <memory>

#ifndef VELLIMOR_HOMEPAGE
#error "VELLIMOR_HOMEPAGE must name the installed documentation (set by the build)"
#endif

namespace {

TFormConfiguration::HomepageOpener Opener = &QDesktopServices::openUrl;

QString Text(const char* key) { return FormMain->Translate(QString::fromLatin1(key)); }

TRegistryWrapper& Store() { return *FormMain->Registry; }

}  // namespace

TFormConfiguration::TFormConfiguration(QWidget* owner)
    : QDialog(owner), Form(std::make_unique<Ui::FormConfiguration>()) {
    Form->setupUi(this);
    SetupComponents();
    ConnectEvents();
    Form->PageControl1->setCurrentWidget(Form->TabSheet1);
    Form->Label4->setText(ProgramName);
    Form->Label7->setText(ProgramCopyright);
    // Any other language leaves English checked, as designed.
    if (FormMain->Language == 0)
        SetChecked(Form->RadioButton1, true, &TFormConfiguration::RadioButton1Click);
    else if (FormMain->Language == 1)
        SetChecked(Form->RadioButton2, true, &TFormConfiguration::RadioButton2Click);
    ApplyLanguage();  // reading the totals creates the key when it can
    if (Store().KeyExists(RegistryKeyPath)) {
        Form->cmdClean->setEnabled(true);
        SetChecked(Form->CheckBox1, Store().ReadBool(QStringLiteral("AutoClear")),
                   &TFormConfiguration::CheckBox1Click);
    }
}

TFormConfiguration::~TFormConfiguration() = default;

void TFormConfiguration::SetupComponents() {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(475, 308);
    QFont formFont = font();
    formFont.setPixelSize(11);
    setFont(formFont);
    QFont titleFont = Form->Label4->font();
    titleFont.setPixelSize(19);
    Form->Label4->setFont(titleFont);
    Form->Label3->setText(HomepageAddress());
    Form->Label13->installEventFilter(this);
    Form->Label3->installEventFilter(this);
}

void TFormConfiguration::ConnectEvents() {
    connect(Form->cmdClean, &QPushButton::clicked, this, &TFormConfiguration::cmdCleanClick);
    RunOnUserChange(Form->CheckBox1, &TFormConfiguration::CheckBox1Click);
    RunOnUserChange(Form->RadioButton1, &TFormConfiguration::RadioButton1Click);
    RunOnUserChange(Form->RadioButton2, &TFormConfiguration::RadioButton2Click);
}

// A click on the radio button already checked emits clicked() too, yet
// changes nothing, so the handler runs only when the click changed the state.
void TFormConfiguration::RunOnUserChange(QAbstractButton* button, Handler handler) {
    auto checkedAtPress = std::make_shared<bool>(false);
    connect(button, &QAbstractButton::pressed, this,
            [button, checkedAtPress] { *checkedAtPress = button->isChecked(); });
    connect(button, &QAbstractButton::clicked, this, [this, handler, checkedAtPress](bool checked) {
        if (checked != *checkedAtPress)
            (this->*handler)();
    });
}

// Setting a state from code counts as the user's click: the handler runs
// when the state changes, and only then.
void TFormConfiguration::SetChecked(QAbstractButton* button, bool checked, Handler handler) {
    if (button->isChecked() == checked)
        return;
    button->setChecked(checked);
    (this->*handler)();
}

void TFormConfiguration::ApplyLanguage() {
    setWindowTitle(Text("Configuration|Caption"));
    QTabWidget* pages = Form->PageControl1;
    pages->setTabText(pages->indexOf(Form->TabSheet1), Text("Configuration|TabSheet1"));
    pages->setTabText(pages->indexOf(Form->TabSheet2), Text("Configuration|TabSheet2"));
    Form->Label9->setText(Text("Configuration|Label9"));
    Form->Label10->setText(Text("Configuration|Label10"));
    Form->Label5->setText(Text("Configuration|CreatedBy"));
    Form->Label2->setText(Text("Configuration|Homepage"));
    Form->cmdClean->setText(Text("Configuration|cmdClean"));
    Form->Label1->setText(Text("Configuration|Label1"));
    Form->Label13->setText(Text("Configuration|Label13"));
    Form->Label8->setText(Text("Configuration|Label8"));
    Form->RadioButton1->setText(Text("Configuration|RadioButton1"));
    Form->RadioButton2->setText(Text("Configuration|RadioButton2"));
    Form->Label11->setText(TotalLine("Configuration|Label11", "DeletedFiles"));
    Form->Label12->setText(TotalLine("Configuration|Label12", "DeletedDirectories"));
    Form->Memo1->setPlainText(AboutLines().join(QLatin1Char('\n')));
}

QString TFormConfiguration::TotalLine(const char* key, const char* valueName) const {
    return Text(key) + QLatin1Char(' ') + QString::number(Store().ReadInteger(QString::fromLatin1(valueName)));
}

// The usage instructions, an empty line, then the licence agreement.
QStringList TFormConfiguration::AboutLines() {
    QStringList lines{Text("Instructions_L1"), QString(), Text("Instructions_L2"), QString(),
                      Text("Instructions_L3"), Text("Instructions_L4"), QString()};
    QStringList agreement;
    {
        // Never shown: it only knows how the agreement reads.
        const TFormLanguageSelect agreementSource(this, ProgramName, RegistryKeyPath);
        agreementSource.BuildAgreementText(&agreement, FormMain->Language);
    }
    return lines + agreement;
}

void TFormConfiguration::CheckBox1Click() {
    Store().WriteBool(QStringLiteral("AutoClear"), Form->CheckBox1->isChecked());
    Form->cmdClean->setEnabled(true);
}

void TFormConfiguration::Label13Click() {
    SetChecked(Form->CheckBox1, !Form->CheckBox1->isChecked(), &TFormConfiguration::CheckBox1Click);
}

void TFormConfiguration::RadioButton1Click() { SwitchLanguage(0); }

void TFormConfiguration::RadioButton2Click() { SwitchLanguage(1); }

// A failed write is reported by the store; the language changes all the same.
void TFormConfiguration::SwitchLanguage(qint32 language) {
    Store().WriteInteger(QStringLiteral("ProgramLanguage"), language);
    Form->cmdClean->setEnabled(true);
    FormMain->Language = language;
    ApplyLanguage();
    FormMain->ApplyLanguage();
}

void TFormConfiguration::cmdCleanClick() {
    ShowMessage(Text("Configuration|restoringSettings"));
    if (!Store().DeleteKey(RegistryKeyPath))
        return;  // the store has said why
    Form->cmdClean->setEnabled(false);
    // Resetting what differs from the defaults stores it again, which re-enables Clean.
    SetChecked(Form->RadioButton1, true, &TFormConfiguration::RadioButton1Click);
    SetChecked(Form->CheckBox1, false, &TFormConfiguration::CheckBox1Click);
}

// Whether the desktop could open the address is not reported.
void TFormConfiguration::Label3MouseUp() { Opener(QUrl(HomepageAddress())); }

QString TFormConfiguration::HomepageAddress() { return QStringLiteral(VELLIMOR_HOMEPAGE); }

void TFormConfiguration::SetHomepageOpener(HomepageOpener opener) {
    Opener = opener != nullptr ? opener : &QDesktopServices::openUrl;
}

bool TFormConfiguration::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Form->Label13)
        Label13MouseEvent(event);
    else if (watched == Form->Label3 && event->type() == QEvent::MouseButtonRelease)
        Label3MouseUp();
    return QDialog::eventFilter(watched, event);
}

// A click is a left press and release on the label. The second press of a
// double click is no click, so a double click toggles the box once.
void TFormConfiguration::Label13MouseEvent(const QEvent* event) {
    // The label gets every kind of event, most of them no mouse event.
    const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
    if (!mouse) return;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        Label13Pressed = mouse->button() == Qt::LeftButton;
        break;
    case QEvent::MouseButtonDblClick:
        Label13Pressed = false;
        break;
    case QEvent::MouseButtonRelease:
        if (Label13Pressed && mouse->button() == Qt::LeftButton
            && Form->Label13->rect().contains(mouse->position().toPoint()))
            Label13Click();
        Label13Pressed = false;
        break;
    default:
        break;
    }
}

void TFormConfiguration::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());
}
