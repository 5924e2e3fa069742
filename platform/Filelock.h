#pragma once

#include <QString>

// An exclusive advisory lock (flock) on a lock file, held from construction
// to destruction. Other copies of the program wait for it; the lock goes with
// the process, so a killed holder never leaves it stuck. Taken again on the
// same thread while held, it is simply held longer.
class FileLock {
public:
    explicit FileLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Locked() const { return Descriptor >= 0; }

private:
    int Descriptor = -1;
};
