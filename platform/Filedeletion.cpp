#include "platform/Filedeletion.h"

#include "platform/Listedpath.h"
#include "platform/Tempdirectoryguard.h"

#include <algorithm>
#include <cerrno>
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
std::size_t DescriptorWindow() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 16;
    return std::clamp<std::size_t>(limit.rlim_cur / 16, 2, 16);
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

}  // namespace

FileDeleter::FileDeleter(std::string tempDirectory)
    : tempDirectory_(WithClosingSlash(std::move(tempDirectory))),
      rootFd_(OpenTempDirectory(tempDirectory_)),
      window_(DescriptorWindow()),
      chain_(rootFd_, window_) {}

FileDeleter::~FileDeleter() {
    if (rootFd_ >= 0)
        close(rootFd_);
}

bool FileDeleter::FileExists(std::string_view path) {
    if (path.empty())
        return false;
    const auto listed = SplitListedPath(tempDirectory_, path);
    if (!listed)
        return true;
    if (listed->name.empty())
        return false;  // the temporary directory itself
    const auto parent = chain_.Resolve(listed->parent);
    if (parent.fd < 0)
        return !parent.absent;
    struct stat status {};
    if (fstatat(parent.fd, std::string(listed->name).c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno != ENOENT;
    return !S_ISDIR(status.st_mode);
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
    const auto parent = chain_.Resolve(listed->parent);
    struct stat status {};
    return parent.fd >= 0
        && fstatat(parent.fd, std::string(listed->name).c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISDIR(status.st_mode);
}

bool FileDeleter::RemoveDirectory(std::string_view path) {
    const auto listed = SplitListedPath(tempDirectory_, path);
    if (!listed || listed->name.empty())
        return false;
    const auto parent = chain_.Resolve(listed->parent);
    return parent.fd >= 0 && unlinkat(parent.fd, std::string(listed->name).c_str(), AT_REMOVEDIR) == 0;
}

// A directory in the way counts as no file, as the clearing treats it as gone.
FileDeleter::Outcome FileDeleter::Delete(DirectoryChain& chain, std::string_view path, bool retryWritable) {
    const auto listed = SplitListedPath(tempDirectory_, path);
    if (!listed || listed->name.empty())
        return Outcome::Kept;
    const auto parent = chain.Resolve(listed->parent);
    if (parent.fd < 0)
        return parent.absent ? Outcome::Absent : Outcome::Kept;
    const std::string name(listed->name);
    struct stat status {};
    if (fstatat(parent.fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Outcome::Absent : Outcome::Kept;
    if (S_ISDIR(status.st_mode))
        return Outcome::Absent;
    if (!MayDelete(status, *inUse_))
        return Outcome::Kept;
    if (unlinkat(parent.fd, name.c_str(), 0) == 0)
        return Outcome::Removed;
    const int error = errno;
    if (error == ENOENT)
        return Outcome::Absent;
    const bool retry = retryWritable && (error == EACCES || error == EPERM) && GrantOwnerWrite(parent.fd);
    return retry && unlinkat(parent.fd, name.c_str(), 0) == 0 ? Outcome::Removed : Outcome::Kept;
}

void FileDeleter::TakeSnapshotOnce() {
    if (!inUse_)
        inUse_ = InUseSnapshot::Take();
}

}  // namespace platform
