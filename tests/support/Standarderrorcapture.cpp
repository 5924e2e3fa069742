#include "support/Standarderrorcapture.h"

#include <cstdio>
#include <unistd.h>

StandardErrorCapture::StandardErrorCapture() {
    if (!File.open()) qFatal("cannot capture standard error");
    std::fflush(stderr);
    SavedDescriptor = dup(STDERR_FILENO);
    dup2(File.handle(), STDERR_FILENO);
}

StandardErrorCapture::~StandardErrorCapture() {
    std::fflush(stderr);
    dup2(SavedDescriptor, STDERR_FILENO);
    close(SavedDescriptor);
}

QByteArray StandardErrorCapture::Text() {
    std::fflush(stderr);
    File.seek(0);
    return File.readAll();
}
