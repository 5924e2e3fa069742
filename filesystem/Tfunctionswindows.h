#pragma once

#include <string>

class QObject;

// Locates the current user's temporary directory.
class TFunctionsWindows {
public:
    explicit TFunctionsWindows(QObject* mainWindow) : MainWindow(mainWindow) {}

    // The temporary directory, always ending in '/'.
    std::string GetTempDirectory() const;

private:
    QObject* MainWindow;  // not owned, not used
};
