#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Opens directories below a root one component at a time, never following a
// symbolic link, so a directory swapped for a link makes the lookup fail
// instead of reaching elsewhere. Part of the last chain of directories stays
// open: consecutive files of one directory, and its subdirectories and
// siblings, cost no further lookups. At most `descriptors` are held, whatever
// the depth: the deepest levels, and a few evenly spaced ones above them from
// which a walk back up a deep tree opens its way down again.
// Resolving a directory's parent releases the directory itself, so a directory
// removed after that is never reached through a stale descriptor.
class DirectoryChain {
public:
    struct Resolved {
        int fd = -1;          // borrowed; valid until the next call
        bool absent = false;  // on failure: the directory certainly does not exist
    };

    DirectoryChain(int rootFd, std::size_t descriptors);
    ~DirectoryChain();
    DirectoryChain(const DirectoryChain&) = delete;
    DirectoryChain& operator=(const DirectoryChain&) = delete;

    // The directory `relative` ("" or "a/b", plain names only) below the root.
    Resolved Resolve(std::string_view relative);
    // Whether any directory below the root is held open.
    bool Holds() const { return !open_.empty(); }
    // Closes everything held, so the next lookups start again from the root.
    void Release() { DropDeeperThan(0); }

private:
    struct Level {
        std::size_t depth;
        int fd;
    };
    std::size_t CommonDepth(std::string_view relative) const;
    void DropDeeperThan(std::size_t depth);
    bool Descend(std::size_t depth);
    int OpenBelow(int parentFd, const std::string& name);
    void Thin();
    Resolved Failure(int parentFd, const std::string& name) const;
    int DeepestFd() const { return open_.empty() ? rootFd_ : open_.back().fd; }

    int rootFd_;
    std::size_t window_;   // the deepest levels, always held
    std::size_t anchors_;  // at most this many levels above them
    std::size_t stride_ = 1;  // held levels above the window are multiples of it
    std::vector<std::string> names_;  // the chain, one name per depth
    std::vector<Level> open_;         // the held levels, shallowest first
};

}  // namespace platform
