#pragma once

#include <sys/types.h>

#include <utility>
#include <vector>

struct stat;

namespace platform {

// Which files running processes hold open or mapped, and which Unix sockets
// are listening, read once from /proc. Files are told apart by device and
// inode, never by path, so a file reached by another name still counts.
// Processes whose entries cannot be read (other users') contribute nothing.
class InUseSnapshot {
public:
    static InUseSnapshot Take();

    bool Contains(const struct stat& status) const;
    bool Contains(dev_t device, ino_t inode) const;

private:
    using FileId = std::pair<dev_t, ino_t>;

    void AddProcess(int procFd, const char* pid);
    void AddOpenFiles(int processFd);
    void AddMappedFiles(int processFd);
    void AddListeningSockets(int procFd);

    std::vector<FileId> ids_;  // sorted once taken
};

}  // namespace platform
