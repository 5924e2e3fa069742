#include "platform/Atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int Value;
    ~Descriptor() {
        if (Value >= 0) close(Value);
    }
};

bool ReadAll(int descriptor, qint64 maximumSize, QByteArray& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count == 0) return true;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 || bytes.size() + count > maximumSize) return false;
        bytes.append(buffer, count);
    }
}

bool WriteAll(int descriptor, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t count = write(descriptor, bytes.constData() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        done += count;
    }
    return true;
}

// A complete, flushed copy of `bytes` at `path`, which must not exist yet.
bool WriteNewFile(const QByteArray& path, const QByteArray& bytes, mode_t mode) {
    const int descriptor = open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) return false;
    const bool written = fchmod(descriptor, mode) == 0 && WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
    return close(descriptor) == 0 && written;
}

// Makes the rename itself survive a power loss. The new file is already what
// every reader sees, so a failure here is not reported.
void SyncDirectory(const QString& directory) {
    const Descriptor descriptor{open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (descriptor.Value >= 0) fsync(descriptor.Value);
}

}  // namespace

namespace AtomicFile {

std::optional<Contents> Read(const QString& path, qint64 maximumSize) {
    const Descriptor descriptor{open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat status;
    if (descriptor.Value < 0 || fstat(descriptor.Value, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    Contents contents;
    contents.Mode = status.st_mode & 07777;
    if (!ReadAll(descriptor.Value, maximumSize, contents.Bytes)) return std::nullopt;
    return contents;
}

bool Replace(const QString& path, const QByteArray& bytes, mode_t mode) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".tmp";
    unlink(temporary.constData());  // left over from a write that was cut short
    if (!WriteNewFile(temporary, bytes, mode) || rename(temporary.constData(), target.constData()) != 0) {
        unlink(temporary.constData());
        return false;
    }
    SyncDirectory(QFileInfo(path).absolutePath());
    return true;
}

}  // namespace AtomicFile
