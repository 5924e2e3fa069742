// The configure button.
#include <QApplication>

#include "configuration/Tformconfiguration.h"
#include "mainwindow/Programidentity.h"
#include "mainwindow/Tformmain.h"
#include "ui_Tformmain.h"

void TFormMain::cmdConfigureClick() {
    if (TimerAutoStart.isActive()) {  // the countdown stops for good
        TimerAutoStart.stop();
        Form->cmdClear->setText(Translate(QStringLiteral("cmdClear")));
        SetSimpleText(QString());
    }
    QApplication::setApplicationName(ProgramName + QLatin1Char(' ') + ProgramVersion);
    // Every change in the dialog is stored and applied at once: its result says nothing.
    TFormConfiguration dialog(this);
    dialog.exec();
}
