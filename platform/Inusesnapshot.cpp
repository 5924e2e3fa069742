#include "platform/Inusesnapshot.h"

#include "platform/Procreading.h"
#include "platform/Socketdiagnostics.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int DirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool IsNumber(const char* name) {
    return *name && std::all_of(name, name + std::char_traits<char>::length(name),
                                [](unsigned char c) { return std::isdigit(c); });
}

// Calls `visit(name)` for each entry of the directory `name` below `parentFd`.
template <typename Visit>
void ForEachEntry(int parentFd, const char* name, Visit visit) {
    const int fd = openat(parentFd, name, DirectoryFlags);
    if (fd < 0)
        return;
    DIR* directory = fdopendir(fd);
    if (!directory) {
        close(fd);
        return;
    }
    while (const dirent* entry = readdir(directory))
        visit(dirfd(directory), entry->d_name);
    closedir(directory);
}

template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        visit(text.substr(0, end));
        if (end == std::string_view::npos)
            return;
        text.remove_prefix(end + 1);
    }
}

}  // namespace

InUseSnapshot InUseSnapshot::Take() {
    InUseSnapshot snapshot;
    const int procFd = open("/proc", DirectoryFlags);
    if (procFd < 0)
        return snapshot;
    // Our own process is included: it holds only directories open while clearing,
    // and a listed file it did hold would be in use as much as any other's.
    ForEachEntry(procFd, ".", [&](int, const char* name) {
        if (IsNumber(name))
            snapshot.AddProcess(procFd, name);
    });
    snapshot.AddListeningSockets(procFd);
    close(procFd);
    std::sort(snapshot.ids_.begin(), snapshot.ids_.end());
    snapshot.ids_.erase(std::unique(snapshot.ids_.begin(), snapshot.ids_.end()), snapshot.ids_.end());
    std::sort(snapshot.sockets_.begin(), snapshot.sockets_.end());
    return snapshot;
}

bool InUseSnapshot::Contains(const struct stat& status) const {
    const SocketId socket{status.st_dev, static_cast<std::uint32_t>(status.st_ino)};
    return Contains(status.st_dev, status.st_ino)
        || (S_ISSOCK(status.st_mode) && std::binary_search(sockets_.begin(), sockets_.end(), socket));
}

bool InUseSnapshot::Contains(dev_t device, ino_t inode) const {
    return std::binary_search(ids_.begin(), ids_.end(), FileId{device, inode});
}

void InUseSnapshot::AddProcess(int procFd, const char* pid) {
    const int processFd = openat(procFd, pid, DirectoryFlags);
    if (processFd < 0)
        return;
    AddOpenFiles(processFd);
    AddMappedFiles(processFd);
    close(processFd);
}

// stat follows each /proc/<pid>/fd link to the open file itself; a FIFO is
// never opened this way, and sockets, pipes and directories add harmless ids.
void InUseSnapshot::AddOpenFiles(int processFd) {
    ForEachEntry(processFd, "fd", [&](int fdDirectory, const char* name) {
        struct stat status {};
        if (IsNumber(name) && fstatat(fdDirectory, name, &status, 0) == 0)
            ids_.emplace_back(status.st_dev, status.st_ino);
    });
}

void InUseSnapshot::AddMappedFiles(int processFd) {
    const auto maps = ReadProcFile(processFd, "maps");
    if (!maps)
        return;
    ForEachLine(*maps, [&](std::string_view line) {
        if (const auto id = MappedFile(line))
            ids_.push_back(*id);
    });
}

// The kernel's socket diagnostics know each listening socket's file; the paths
// in /proc/net/unix miss sockets bound by relative names or by names that
// hold a line break, so they only stand in where the diagnostics are missing.
void InUseSnapshot::AddListeningSockets(int procFd) {
    if (auto files = ListeningSocketFiles()) {
        sockets_ = std::move(*files);
        return;
    }
    const auto sockets = ReadProcFile(procFd, "net/unix");
    if (!sockets)
        return;
    ForEachLine(*sockets, [&](std::string_view line) {
        const auto path = ListeningSocketPath(line);
        struct stat status {};
        if (path && fstatat(AT_FDCWD, std::string(*path).c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISSOCK(status.st_mode))
            ids_.emplace_back(status.st_dev, status.st_ino);
    });
}

}  // namespace platform
