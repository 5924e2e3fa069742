#include "platform/Tempdirectoryguard.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {

namespace {

using DirectoryId = std::pair<dev_t, ino_t>;

// `directory` and every directory above it, up to and including the root.
void AddWithAncestors(const char* directory, std::vector<DirectoryId>& ids) {
    int fd = open(directory, O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat status {};
    while (fd >= 0 && fstat(fd, &status) == 0) {
        const DirectoryId id{status.st_dev, status.st_ino};
        if (std::find(ids.begin(), ids.end(), id) != ids.end())
            break;  // the root is its own parent; an ancestor met before ends the climb too
        ids.push_back(id);
        const int parent = openat(fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = parent;
    }
    if (fd >= 0)
        close(fd);
}

std::vector<DirectoryId> ProtectedDirectories() {
    std::vector<DirectoryId> ids;
    AddWithAncestors("/", ids);
    const char* home = std::getenv("HOME");
    if (home && *home)
        AddWithAncestors(home, ids);
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir && *user->pw_dir)
        AddWithAncestors(user->pw_dir, ids);
    return ids;
}

}  // namespace

std::optional<QString> TempDirectoryRefusal(const std::string& tempDirectory) {
    struct stat status {};
    if (tempDirectory.empty() || stat(tempDirectory.c_str(), &status) != 0)
        return std::nullopt;
    const std::vector<DirectoryId> ids = ProtectedDirectories();
    if (std::find(ids.begin(), ids.end(), DirectoryId{status.st_dev, status.st_ino}) == ids.end())
        return std::nullopt;
    return QStringLiteral("The temporary directory \"%1\" is the root directory, your home directory or one of "
                          "its ancestors; Vellimor will not list or clear it.")
        .arg(QFile::decodeName(QByteArray::fromStdString(tempDirectory)));
}

}  // namespace platform
