#include "mainwindow/Tformmain.h"

#include <QApplication>

#include "localisation/Textcatalogue.h"
#include "mainwindow/Filelistmodel.h"
#include "mainwindow/Glyphs.h"
#include "mainwindow/Programidentity.h"
#include "mainwindow/Summaryline.h"
#include "platform/Filedeletion.h"
#include "platform/Showmessage.h"
#include "platform/Tempdirectoryguard.h"
#include "ui_Tformmain.h"

TFormMain* FormMain = nullptr;

TFormMain::TFormMain(QWidget* owner) : QWidget(owner), Form(std::make_unique<Ui::FormMain>()) {
    SetupComponents();
    setWindowTitle(ProgramName + QLatin1Char(' ') + ProgramVersion);
    QApplication::setApplicationName(windowTitle());
    QApplication::setApplicationDisplayName(windowTitle());
    Registry = std::make_unique<TRegistryWrapper>(this);
    Registry->SetKeyPath(RegistryKeyPath);
    CountdownSeconds = 5;
    FunctionsWindows = std::make_unique<TFunctionsWindows>(this);
    Functions = std::make_unique<TFunctions>(this);
    RootDirectories = std::make_unique<std::vector<std::string>>();
    StatusTicks = 0;
    FileCount = 0;
    TotalMegabytes = 0.0;
    Language = 0;
    ApplyLanguage();
    FormMain = this;
}

TFormMain::~TFormMain() {
    Registry.reset();
    FunctionsWindows.reset();
    Functions.reset();
    RootDirectories.reset();
    if (FormMain == this) FormMain = nullptr;
}

void TFormMain::SetupComponents() {
    Form->setupUi(this);
    setWindowIcon(ProgramIcon());
    Files = new FileListModel(this);
    Form->lb1->setModel(Files);
    Form->cmdConfigure->setIcon(ConfigureGlyph());

    TimerStartup.setObjectName(QStringLiteral("TimerStartup"));
    TimerStartup.setInterval(100);
    TimerAutoStart.setObjectName(QStringLiteral("TimerAutoStart"));
    TimerAutoStart.setInterval(1000);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(1000);
    connect(&TimerStartup, &QTimer::timeout, this, &TFormMain::TimerStartupTimer);
    connect(&TimerAutoStart, &QTimer::timeout, this, &TFormMain::TimerAutoStartTimer);
    connect(&Timer1, &QTimer::timeout, this, &TFormMain::Timer1Timer);
    connect(Form->cmdClear, &QPushButton::clicked, this, &TFormMain::cmdClearClick);
    connect(Form->cmdConfigure, &QToolButton::clicked, this, &TFormMain::cmdConfigureClick);
    TimerStartup.start();
    Timer1.start();
}

QString TFormMain::Translate(const QString& key) const {
    return TextCatalogue::Lookup(key, Language);
}

QString TFormMain::SummaryText() const {
    return SummaryLine(Translate(QStringLiteral("msg5")), FileCount, TotalMegabytes);
}

void TFormMain::ApplyLanguage() {
    Form->cmdClear->setText(Translate(QStringLiteral("cmdClear")));
    Form->Label1->setText(Translate(QStringLiteral("Label1")));
    Form->cmdConfigure->setToolTip(Translate(QStringLiteral("cmdConfigure|Hint")));
    Form->Label2->setText(SummaryText());
}

void TFormMain::RefreshFileList() {
    const std::string directory = FunctionsWindows->GetTempDirectory();
    RootDirectories->clear();
    RootDirectories->push_back(directory);
    PathList files;
    SizeList sizes;
    Files->Clear();
    FileCount = 0;
    TotalMegabytes = 0.0;
    if (const auto refusal = platform::TempDirectoryRefusal(directory)) {
        RootDirectories->clear();  // so that nothing below it is ever cleared either
        ShowMessage(*refusal);
    }
    for (const std::string& root : *RootDirectories) {
        sizes.clear();  // the files of every root are listed one after the other
        Functions->FindFilesAndSizes(files, sizes, root, "*.*", true);
        for (std::int64_t size : sizes) TotalMegabytes += static_cast<double>(size) * (1.0 / 1048576.0);
        FileCount += static_cast<qint32>(sizes.size());
    }
    Files->SetPaths(std::move(files));
    Form->Label2->setText(SummaryText());
}

const PathList& TFormMain::ListedFiles() const {
    return Files->Paths();
}

QString TFormMain::SimpleText() const {
    return Form->StatusBar1->currentMessage();
}

void TFormMain::SetSimpleText(const QString& text) {
    Form->StatusBar1->showMessage(text);
}

void TFormMain::Timer1Timer() {
    if (SimpleText().isEmpty()) {
        StatusTicks = 0;
        return;
    }
    if (++StatusTicks > 3) {
        SetSimpleText(QString());
        StatusTicks = 0;
    }
}
