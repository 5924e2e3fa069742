#include "platform/Directorychain.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Calls `visit(name)` for each component of a "", "a" or "a/b" text, stopping
// when it returns false; returns whether all components were visited.
template <typename Visit>
bool ForEachName(std::string_view relative, Visit visit) {
    if (relative.empty())
        return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = relative.find('/', start);
        if (!visit(relative.substr(start, slash - start)))
            return false;
        if (slash == std::string_view::npos)
            return true;
        start = slash + 1;
    }
}

}  // namespace

DirectoryChain::DirectoryChain(int rootFd, std::size_t window)
    : rootFd_(rootFd), window_(std::max<std::size_t>(window, 1)) {}

DirectoryChain::~DirectoryChain() {
    TruncateTo(0);
}

DirectoryChain::Resolved DirectoryChain::Resolve(std::string_view relative) {
    if (rootFd_ < 0)
        return {};
    const std::size_t common = CommonDepth(relative);
    const bool held = common == 0 || (!open_.empty() && open_.front().depth <= common);
    TruncateTo(held ? common : 0);
    Resolved result;
    std::size_t depth = 0;
    ForEachName(relative, [&](std::string_view name) {
        if (++depth <= names_.size())
            return true;
        const int parentFd = DeepestFd();
        if (Descend(name))
            return true;
        result = Failure(parentFd, std::string(name));
        return false;
    });
    if (depth == names_.size())
        result.fd = DeepestFd();
    return result;
}

std::size_t DirectoryChain::CommonDepth(std::string_view relative) const {
    std::size_t depth = 0;
    ForEachName(relative, [&](std::string_view name) {
        if (depth >= names_.size() || names_[depth] != name)
            return false;
        ++depth;
        return true;
    });
    return depth;
}

void DirectoryChain::TruncateTo(std::size_t depth) {
    while (!open_.empty() && open_.back().depth > depth) {
        close(open_.back().fd);
        open_.pop_back();
    }
    // Levels between the root and the shallowest held one cannot be reused.
    if (depth > 0 && open_.empty()) {
        names_.clear();
        return;
    }
    names_.resize(depth);
}

bool DirectoryChain::Descend(std::string_view name) {
    const std::string text(name);
    int fd = -1;
    if (!OpenBelow(DeepestFd(), text, fd))
        return false;
    names_.push_back(text);
    open_.push_back({names_.size(), fd});
    if (open_.size() > window_) {
        close(open_.front().fd);
        open_.pop_front();
    }
    return true;
}

// Out of descriptors, the window shrinks to what is left and the open is retried.
bool DirectoryChain::OpenBelow(int parentFd, const std::string& name, int& fd) {
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    fd = openat(parentFd, name.c_str(), flags);
    while (fd < 0 && errno == EMFILE && open_.size() > 1) {
        close(open_.front().fd);
        open_.pop_front();
        window_ = std::max<std::size_t>(open_.size(), 1);
        fd = openat(parentFd, name.c_str(), flags);
    }
    return fd >= 0;
}

DirectoryChain::Resolved DirectoryChain::Failure(int parentFd, const std::string& name) const {
    const int error = errno;
    Resolved result;
    if (error == ENOENT) {
        result.absent = true;
    } else if (error == ENOTDIR) {
        // A link may lead to the listed entry; anything else means it is not there.
        struct stat status {};
        result.absent = fstatat(parentFd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0
            && !S_ISLNK(status.st_mode);
    }
    errno = error;
    return result;
}

}  // namespace platform
