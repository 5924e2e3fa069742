#include "platform/Directorychain.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Calls `visit(name)` for each component of a "", "a" or "a/b" text, stopping
// when it returns false.
template <typename Visit>
void ForEachName(std::string_view relative, Visit visit) {
    if (relative.empty())
        return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = relative.find('/', start);
        if (!visit(relative.substr(start, slash - start)) || slash == std::string_view::npos)
            return;
        start = slash + 1;
    }
}

}  // namespace

DirectoryChain::DirectoryChain(int rootFd, std::size_t descriptors)
    : rootFd_(rootFd), window_(std::max<std::size_t>((descriptors + 1) / 2, 1)), anchors_(descriptors / 2) {}

DirectoryChain::~DirectoryChain() {
    Release();
}

DirectoryChain::Resolved DirectoryChain::Resolve(std::string_view relative) {
    if (rootFd_ < 0)
        return {};
    const std::size_t common = CommonDepth(relative);
    DropDeeperThan(common);
    names_.resize(common);
    const std::size_t start = open_.empty() ? 0 : open_.back().depth;
    Resolved result;
    bool failed = false;
    std::size_t depth = 0;
    ForEachName(relative, [&](std::string_view name) {
        if (++depth <= start)
            return true;
        if (depth > common)
            names_.emplace_back(name);
        const int parentFd = DeepestFd();
        if (Descend(depth))
            return true;
        result = Failure(parentFd, names_[depth - 1]);
        names_.resize(depth - 1);
        failed = true;
        return false;
    });
    if (!failed)
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

void DirectoryChain::DropDeeperThan(std::size_t depth) {
    while (!open_.empty() && open_.back().depth > depth) {
        close(open_.back().fd);
        open_.pop_back();
    }
}

bool DirectoryChain::Descend(std::size_t depth) {
    const int fd = OpenBelow(DeepestFd(), names_[depth - 1]);
    if (fd < 0)
        return false;
    open_.push_back({depth, fd});
    Thin();
    return true;
}

// Out of descriptors, the chain gives up its shallowest levels for good.
int DirectoryChain::OpenBelow(int parentFd, const std::string& name) {
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = openat(parentFd, name.c_str(), flags);
    while (fd < 0 && errno == EMFILE && open_.size() > 1) {
        close(open_.front().fd);
        open_.erase(open_.begin());
        window_ = std::max<std::size_t>(open_.size(), 1);
        anchors_ = 0;
        fd = openat(parentFd, name.c_str(), flags);
    }
    return fd;
}

// Above the deepest levels only multiples of the stride stay, and the stride
// doubles until few enough do.
void DirectoryChain::Thin() {
    for (;;) {
        const auto above = open_.end() - std::ptrdiff_t(std::min(window_, open_.size()));
        const auto off = std::stable_partition(open_.begin(), above, [&](const Level& level) {
            return level.depth % stride_ == 0;
        });
        std::for_each(off, above, [](const Level& level) { close(level.fd); });
        open_.erase(off, above);
        if (open_.size() <= window_ + anchors_)
            return;
        stride_ *= 2;
    }
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
