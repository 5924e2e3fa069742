// The start-up sequence, run once from TimerStartup shortly after the window shows.
#include <QCoreApplication>
#include <QStringList>

#include "mainwindow/Programidentity.h"
#include "mainwindow/Tformmain.h"
#include "platform/Standarderror.h"
#include "setup/Tformlanguageselect.h"
#include "ui_Tformmain.h"

namespace {

QStringList InstructionLines(const TFormMain& window) {
    return {window.Translate(QStringLiteral("Instructions_L1")), QString(),
            window.Translate(QStringLiteral("Instructions_L2")), QString(),
            window.Translate(QStringLiteral("Instructions_L3")), window.Translate(QStringLiteral("Instructions_L4"))};
}

}  // namespace

void TFormMain::TimerStartupTimer() {
    TimerStartup.stop();  // first, so that it never runs again, not even from the dialog's loop
    bool confirmed = false;
    if (Registry->KeyExists(RegistryKeyPath)) confirmed = Registry->ReadBool(QStringLiteral("DisclaimerConfirmed"));

    if (!confirmed && !SetupDialogAvailable) {
        WriteLineToStandardError(QStringLiteral(
            "Vellimor: the settings hold no accepted licence agreement. Start Vellimor once on a desktop and "
            "accept it there; nothing was deleted."));
        QCoreApplication::exit(1);
        return;
    }

    QStringList lines;
    {
        TFormLanguageSelect dialog(this, ProgramName, RegistryKeyPath);
        if (confirmed) {
            // A stored language other than 0 or 1 leaves English; the stored value stays as it is.
            const int stored = dialog.ReadStoredLanguage();
            if (stored == 0 || stored == 1) Language = stored;
        } else {
            const qint32 remembered = Language;
            Language = 0;
            lines = InstructionLines(*this);
            dialog.SetInstructions(0, lines);
            Language = 1;
            lines = InstructionLines(*this);
            dialog.SetInstructions(1, lines);
            Language = remembered;
            dialog.ResetDialog();
            if (dialog.exec() == QDialog::Accepted) Language = dialog.GetSelectedLanguage();
        }
        ApplyLanguage();
    }
    RefreshFileList();
    if (Registry->ReadBool(QStringLiteral("AutoClear"))) {
        TimerAutoStart.start();
        Form->cmdClear->setText(Translate(QStringLiteral("cmdClear2")));
    }
}
