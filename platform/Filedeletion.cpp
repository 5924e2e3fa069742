#include "platform/Filedeletion.h"

#include "platform/Tempdirectoryguard.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string WithClosingSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

int OpenTempDirectory(const std::string& directory) {
    if (TempDirectoryRefusal(directory))
        return -1;
    return open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Directory descriptors each chain may hold: a few, fewer under a low limit.
std::size_t ChainDescriptors() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 16;
    return std::clamp<std::size_t>(limit.rlim_cur / 4, 2, 16);
}

bool MayDelete(const struct stat& status, const InUseSnapshot& inUse) {
    if (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return false;
    return !inUse.Contains(status);
}

// The stand-in for clearing a read-only attribute: only the user's own
// directory, only its owner write bit.
bool GrantOwnerWrite(int directoryFd) {
    struct stat status {};
    if (fstat(directoryFd, &status) != 0 || status.st_uid != geteuid() || (status.st_mode & S_IWUSR))
        return false;
    return fchmod(directoryFd, (status.st_mode & 07777) | S_IWUSR) == 0;
}

bool IsEmptyDirectory(int parentFd, const std::string& name) {
    const int fd = openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR* directory = fdopendir(fd);
    if (directory == nullptr) {
        close(fd);
        return false;
    }
    bool empty = true;
    while (const dirent* entry = readdir(directory)) {
        const std::string_view entryName(entry->d_name);
        if (entryName != "." && entryName != "..") {
            empty = false;
            break;
        }
    }
    closedir(directory);
    return empty;
}

}  // namespace

FileDeleter::FileDeleter(std::string tempDirectory)
    : tempDirectory_(WithClosingSlash(std::move(tempDirectory))),
      rootFd_(OpenTempDirectory(tempDirectory_)),
      chainDescriptors_(ChainDescriptors()),
      chain_(rootFd_, chainDescriptors_) {}

FileDeleter::~FileDeleter() {
    chain_.Release();
    if (rootFd_ >= 0)
        close(rootFd_);
}

bool FileDeleter::FileExists(std::string_view path) {
    const auto listed = SplitListedPath(tempDirectory_, path);
    if (!listed)
        return !path.empty();
    if (listed->name.empty())
        return false;  // the temporary directory itself
    struct stat status {};
    const Lookup found = Find(chain_, *listed, std::string(listed->name), status);
    return found.state == Lookup::Found ? !S_ISDIR(status.st_mode) : found.state == Lookup::Unknown;
}

bool FileDeleter::DeleteFile(std::string_view path) {
    TakeSnapshotOnce();
    return Delete(chain_, path, false) == Outcome::Removed;
}

bool FileDeleter::DeleteListedFile(std::string_view path) {
    TakeSnapshotOnce();
    return Delete(chain_, path, true) != Outcome::Kept;
}

bool FileDeleter::DirectoryExists(std::string_view path) {
    const auto listed = SplitListedPath(tempDirectory_, path);
    if (!listed)
        return false;
    if (listed->name.empty())
        return rootFd_ >= 0;
    struct stat status {};
    return Find(chain_, *listed, std::string(listed->name), status).state == Lookup::Found
        && S_ISDIR(status.st_mode);
}

bool FileDeleter::RemoveDirectory(std::string_view path) {
    return Remove(chain_, path);
}

bool FileDeleter::Remove(DirectoryChain& chain, std::string_view path) {
    const auto listed = SplitListedPath(tempDirectory_, path);
    if (!listed || listed->name.empty())
        return false;
    const std::string name(listed->name);
    struct stat status {};
    const Lookup found = Find(chain, *listed, name, status);
    if (found.state != Lookup::Found || !S_ISDIR(status.st_mode))
        return false;
    if (unlinkat(found.parentFd, name.c_str(), AT_REMOVEDIR) == 0)
        return true;
    // As for files: an emptied directory inside the user's own read-only
    // directory goes once that directory has owner write permission.
    const bool retry = (errno == EACCES || errno == EPERM) && IsEmptyDirectory(found.parentFd, name)
        && GrantOwnerWrite(found.parentFd);
    return retry && unlinkat(found.parentFd, name.c_str(), AT_REMOVEDIR) == 0;
}

// An entry not found below held directories is looked up once more from the
// temporary directory: another program may have replaced one of them.
FileDeleter::Lookup FileDeleter::Find(DirectoryChain& chain, const ListedPath& listed, const std::string& name,
                                      struct stat& status) {
    for (bool again = chain.Holds();; again = false) {
        const auto parent = chain.Resolve(listed.parent);
        if (parent.fd >= 0 && fstatat(parent.fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0)
            return {Lookup::Found, parent.fd};
        const bool absent = parent.fd >= 0 ? errno == ENOENT : parent.absent;
        if (!absent)
            return {Lookup::Unknown, -1};
        if (!again)
            return {Lookup::Absent, -1};
        chain.Release();
    }
}

// A directory in the way counts as no file, as the clearing treats it as gone.
FileDeleter::Outcome FileDeleter::Delete(DirectoryChain& chain, std::string_view path, bool retryWritable) {
    const auto listed = SplitListedPath(tempDirectory_, path);
    if (!listed || listed->name.empty())
        return Outcome::Kept;
    const std::string name(listed->name);
    struct stat status {};
    const Lookup found = Find(chain, *listed, name, status);
    if (found.state != Lookup::Found)
        return found.state == Lookup::Absent ? Outcome::Absent : Outcome::Kept;
    if (S_ISDIR(status.st_mode))
        return Outcome::Absent;
    if (!MayDelete(status, *inUse_))
        return Outcome::Kept;
    if (unlinkat(found.parentFd, name.c_str(), 0) == 0)
        return Outcome::Removed;
    const int error = errno;
    if (error == ENOENT)
        return Outcome::Absent;
    const bool retry = retryWritable && (error == EACCES || error == EPERM) && GrantOwnerWrite(found.parentFd);
    return retry && unlinkat(found.parentFd, name.c_str(), 0) == 0 ? Outcome::Removed : Outcome::Kept;
}

void FileDeleter::TakeSnapshotOnce() {
    if (!inUse_)
        inUse_ = InUseSnapshot::Take();
}

}  // namespace platform
