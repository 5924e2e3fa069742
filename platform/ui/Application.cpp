#include "platform/ui/Application.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace {

bool TerminateRequested = false;

}  // namespace

void TerminateApplication() {
    TerminateRequested = true;
    if (QCoreApplication* application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool ApplicationTerminateRequested() { return TerminateRequested; }

void ResetApplicationTerminateRequest() { TerminateRequested = false; }
