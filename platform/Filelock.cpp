#include "platform/Filelock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FileLock::FileLock(const QString& path) {
    const int descriptor = open(QFile::encodeName(path).constData(),
                                O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (descriptor < 0) return;
    int result;
    do {
        result = flock(descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        Descriptor = descriptor;
    } else {
        close(descriptor);
    }
}

FileLock::~FileLock() {
    if (Descriptor >= 0) close(Descriptor);  // closing releases the lock
}
