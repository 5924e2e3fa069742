// The configure button.
#include <QApplication>

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
}
