// The application entry.
#include <QApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "mainwindow/Tformmain.h"
#include "platform/Showmessage.h"
#include "platform/Standarderror.h"
#include "platform/ui/Messagebox.h"

namespace {

const char* const kNoDisplay =
    "vellimor: no display could be opened. Run it on a desktop, or headless with QT_QPA_PLATFORM=offscreen.\n";

bool DisplayMayBeReachable() {
    if (std::getenv("QT_QPA_PLATFORM")) return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// Qt ends the process with an abort when the display named cannot be opened;
// say so in one line and end with exit code 1 instead.
void ExitInsteadOfAborting(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(1);
    }
    if (type != QtDebugMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayMayBeReachable()) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    const QtMessageHandler previous = qInstallMessageHandler(ExitInsteadOfAborting);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    InstallMessageBoxSink();
    try {
        TFormMain window;
        window.SetSetupDialogAvailable(QGuiApplication::platformName() != QLatin1String("offscreen"));
        window.show();
        return application.exec();
    } catch (const std::exception& error) {
        ShowMessage(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowMessage(QStringLiteral("An unexpected error ended Vellimor."));
    }
    return 1;
}
