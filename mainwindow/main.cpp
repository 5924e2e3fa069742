// The application entry.
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "mainwindow/Tformmain.h"
#include "mainwindow/Vellimorapplication.h"
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
// say so in one line and end with exit code 1 instead. The offscreen
// platform's remark on window size hints says nothing to a user.
bool ApplicationStarted = false;

void HandleQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg && !ApplicationStarted) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(1);
    }
    // Before the display is open, Qt's own remarks would only precede the one line above.
    if (!ApplicationStarted || type == QtDebugMsg || message.contains(QLatin1String("propagateSizeHints"))) return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayMayBeReachable()) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    qInstallMessageHandler(HandleQtMessage);
    VellimorApplication application(argc, argv);
    ApplicationStarted = true;
    InstallMessageBoxSink();
    try {
        TFormMain window;
        window.SetSetupDialogAvailable(QGuiApplication::platformName() != QLatin1String("offscreen"));
        window.show();
        return application.exec();
    } catch (const std::exception& error) {
        VellimorApplication::ShowException(&error);
    } catch (...) {
        VellimorApplication::ShowException(nullptr);
    }
    return 1;
}
