#include "platform/Hivefile.h"

#include "platform/Atomicfile.h"
#include "platform/Filelock.h"
#include "platform/Hivetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace {

// Far beyond any hive the program writes; a larger file is not its hive.
constexpr qint64 kMaximumSize = 16 * 1024 * 1024;

QString ConfigHome() {
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configured)) return QDir::cleanPath(configured);
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.config"));
}

QString Directory() {
    return QFileInfo(HiveFile::Location()).path();
}

// Where the hive's data are: its location, or the file a symbolic link there
// points to, so that a linked hive stays linked. Nothing for a broken link.
std::optional<QString> DataPath() {
    const QByteArray location = QFile::encodeName(HiveFile::Location());
    struct stat status;
    if (lstat(location.constData(), &status) != 0 || !S_ISLNK(status.st_mode)) return HiveFile::Location();
    char resolved[PATH_MAX];
    if (!realpath(location.constData(), resolved)) return std::nullopt;
    return QFile::decodeName(resolved);
}

struct Current {
    QString Path;
    std::optional<AtomicFile::Contents> Contents;  // nothing: no hive file yet
    Hive Parsed;
};

std::optional<Current> ReadCurrent() {
    const auto path = DataPath();
    if (!path) return std::nullopt;
    struct stat status;
    if (lstat(QFile::encodeName(*path).constData(), &status) != 0) {
        if (errno != ENOENT) return std::nullopt;  // e.g. the config directory is a file
        return Current{*path, std::nullopt, Hive()};
    }
    auto contents = AtomicFile::Read(*path, kMaximumSize);
    if (!contents) return std::nullopt;
    auto parsed = HiveText::Read(contents->Bytes);
    if (!parsed) return std::nullopt;
    return Current{*path, std::move(contents), std::move(*parsed)};
}

bool MakeDirectory() {
    const QString directory = Directory();
    const QFileInfo parent(QFileInfo(directory).path());
    return QDir().mkpath(parent.filePath()) &&
           (QDir().mkdir(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
            QFileInfo(directory).isDir());
}

}  // namespace

namespace HiveFile {

QString Location() {
    return ConfigHome() + QStringLiteral("/vellimor/user.reg");
}

QString LockLocation() {
    return Location() + QStringLiteral(".lock");
}

std::optional<Hive> Load() {
    auto current = ReadCurrent();
    if (!current) return std::nullopt;
    return std::move(current->Parsed);
}

UpdateResult Update(const std::function<bool(Hive&)>& change) {
    if (!MakeDirectory()) return UpdateResult::Unavailable;
    const FileLock lock(LockLocation());
    if (!lock.Locked()) return UpdateResult::WriteFailed;
    auto current = ReadCurrent();
    if (!current) return UpdateResult::Unavailable;
    if (!change(current->Parsed)) return UpdateResult::Declined;
    const QByteArray text = HiveText::Write(current->Parsed);
    if (current->Contents && current->Contents->Bytes == text) return UpdateResult::Done;
    const mode_t mode = current->Contents ? current->Contents->Mode : 0600;
    return AtomicFile::Replace(current->Path, text, mode) ? UpdateResult::Done : UpdateResult::WriteFailed;
}

}  // namespace HiveFile
