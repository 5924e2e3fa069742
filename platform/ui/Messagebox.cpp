#include "platform/ui/Messagebox.h"

#include "platform/Showmessage.h"
#include "platform/Standarderror.h"

#include <QApplication>
#include <QMessageBox>

namespace {

bool CanShowBoxes() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) &&
           QGuiApplication::platformName() != QLatin1String("offscreen");
}

void ShowMessageBox(const QString& text) {
    if (!CanShowBoxes()) {
        WriteLineToStandardError(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace

void InstallMessageBoxSink() {
    SetMessageSink(ShowMessageBox);
}
