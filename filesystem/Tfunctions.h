#pragma once

#include <string>

#include "filesystem/Pathlist.h"

class QObject;

// Directory walkers. They only append to the caller's lists. Paths are the
// directory (with one '/' added when it lacks one) followed by the entry's name.
// Symbolic links are listed as files and never followed; other file systems
// mounted below the directory are not entered.
class TFunctions {
public:
    explicit TFunctions(QObject* mainWindow) : MainWindow(mainWindow) {}

    // Every file of the directory matching `mask` ("*.*" or empty: all); when
    // recursive, each subdirectory's files (recursively) come before the
    // directory's own. Subdirectories are always entered, whatever the mask.
    void FindFiles(PathList& list, std::string directory, std::string mask, bool recursive) const;
    // As FindFiles, with each file's size appended to `sizes`.
    void FindFilesAndSizes(PathList& files, SizeList& sizes, std::string directory, std::string mask,
                           bool recursive) const;
    // Every subdirectory, each before all directories below it.
    void FindDirectories(PathList& list, std::string directory, bool recursive) const;

private:
    QObject* MainWindow;  // not owned, not used
};
