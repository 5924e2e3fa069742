#include "mainwindow/Vellimorapplication.h"

#include <exception>

#include "platform/Showmessage.h"

bool VellimorApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(&error);
    } catch (...) {
        ShowException(nullptr);
    }
    exit(1);
    return false;
}

void VellimorApplication::ShowException(const std::exception* error) {
    ShowMessage(error ? QString::fromLocal8Bit(error->what())
                      : QStringLiteral("An unexpected error ended Vellimor."));
}
