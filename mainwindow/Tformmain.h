#pragma once

#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filesystem/Tfunctions.h"
#include "filesystem/Tfunctionswindows.h"
#include "settings/Tregistrywrapper.h"

class FileListModel;
namespace platform {
class FileDeleter;
}
namespace Ui {
class FormMain;
}

// The main window: lists every file below the temporary directory with a
// summary line, clears them on request, runs the automatic countdown and the
// start-up sequence.
class TFormMain : public QWidget {
    Q_OBJECT

public:
    explicit TFormMain(QWidget* owner = nullptr);
    ~TFormMain() override;

    void ApplyLanguage();
    void RefreshFileList();
    QString Translate(const QString& key) const;

    void TimerStartupTimer();
    void cmdConfigureClick();
    void TimerAutoStartTimer();
    void cmdClearClick();
    void Timer1Timer();

    void ClearListedFiles();
    bool DeleteListedFile(std::string_view path);
    qint32 RemoveEmptyDirectories();

    // Where no one can see a dialog (the offscreen platform), the setup dialog
    // cannot be answered: start-up then ends the program instead of showing it.
    void SetSetupDialogAvailable(bool available) { SetupDialogAvailable = available; }

    // The listed paths, as the exact bytes the file system gave.
    const PathList& ListedFiles() const;

    // Components, named as on the form.
    Ui::FormMain& Components() { return *Form; }
    QTimer TimerStartup;
    QTimer TimerAutoStart;
    QTimer Timer1;

    quint32 CountdownSeconds = 5;
    qint32 StatusTicks = 0;
    qint32 FileCount = 0;
    double TotalMegabytes = 0.0;
    std::unique_ptr<TFunctionsWindows> FunctionsWindows;
    std::unique_ptr<TFunctions> Functions;
    std::unique_ptr<std::vector<std::string>> RootDirectories;
    std::unique_ptr<TRegistryWrapper> Registry;
    qint32 Language = 0;

private:
    void SetupComponents();
    QString SimpleText() const;
    void SetSimpleText(const QString& text);
    QString SummaryText() const;
    platform::FileDeleter& Deleter();
    void AddToTotals(qint32 files, qint32 directories);

    std::unique_ptr<Ui::FormMain> Form;
    FileListModel* Files;
    std::unique_ptr<platform::FileDeleter> ClearingDeleter;  // lives for one clearing
    bool SetupDialogAvailable = true;
};

// The application's one main window.
extern TFormMain* FormMain;
