#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Opens directories below a root one component at a time, never following a
// symbolic link, so a directory swapped for a link makes the lookup fail
// instead of reaching elsewhere. The last chain of directories stays open:
// consecutive files of one directory, and its subdirectories and siblings, cost
// no further lookups. At most `window` descriptors are held, whatever the depth.
// Resolving a directory's parent releases the directory itself, so a directory
// removed after that is never reached through a stale descriptor.
class DirectoryChain {
public:
    struct Resolved {
        int fd = -1;          // borrowed; valid until the next call
        bool absent = false;  // on failure: the directory certainly does not exist
    };

    DirectoryChain(int rootFd, std::size_t window);
    ~DirectoryChain();
    DirectoryChain(const DirectoryChain&) = delete;
    DirectoryChain& operator=(const DirectoryChain&) = delete;

    // The directory `relative` ("" or "a/b", plain names only) below the root.
    Resolved Resolve(std::string_view relative);

private:
    struct Level {
        std::size_t depth;
        int fd;
    };
    std::size_t CommonDepth(std::string_view relative) const;
    void TruncateTo(std::size_t depth);
    bool Descend(std::string_view name);
    bool OpenBelow(int parentFd, const std::string& name, int& fd);
    Resolved Failure(int parentFd, const std::string& name) const;
    int DeepestFd() const { return open_.empty() ? rootFd_ : open_.back().fd; }

    int rootFd_;
    std::size_t window_;
    std::vector<std::string> names_;  // the held chain, one name per depth
    std::deque<Level> open_;          // the deepest held levels, shallowest first
};

}  // namespace platform
