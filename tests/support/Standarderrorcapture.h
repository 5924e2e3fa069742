#pragma once

#include <QByteArray>
#include <QTemporaryFile>

// Sends what the process writes to standard error into a file while it
// lives; Text() tells what was written so far.
class StandardErrorCapture {
public:
    StandardErrorCapture();
    ~StandardErrorCapture();
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    QByteArray Text();

private:
    QTemporaryFile File;
    int SavedDescriptor = -1;
};
