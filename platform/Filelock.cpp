#include "platform/Filelock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The lock this thread holds, so that an operation inside a longer locked
// step takes it again instead of waiting for itself.
struct HeldLock {
    QString Path;
    int Descriptor = -1;
    int Depth = 0;
};
thread_local HeldLock Held;

}  // namespace

FileLock::FileLock(const QString& path) {
    if (Held.Depth > 0 && Held.Path == path) {
        ++Held.Depth;
        Descriptor = Held.Descriptor;
        return;
    }
    const int descriptor = open(QFile::encodeName(path).constData(),
                                O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (descriptor < 0) return;
    int result;
    do {
        result = flock(descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        close(descriptor);
        return;
    }
    Descriptor = descriptor;
    if (Held.Depth == 0) Held = {path, descriptor, 1};
}

FileLock::~FileLock() {
    if (Descriptor < 0) return;
    if (Held.Depth > 0 && Held.Descriptor == Descriptor) {
        if (--Held.Depth > 0) return;
        Held = {};
    }
    close(Descriptor);  // closing releases the lock
}
