#pragma once

#include <sys/types.h>

#include <cstdint>
#include <utility>
#include <vector>

struct stat;

namespace platform {

// Which files running processes hold open or mapped, and which Unix sockets
// are listening, read once from /proc and the kernel's socket diagnostics. Files are told apart by device and
// inode, never by path, so a file reached by another name still counts.
// Processes whose entries cannot be read (other users') contribute nothing.
class InUseSnapshot {
public:
    static InUseSnapshot Take();

    bool Contains(const struct stat& status) const;
    bool Contains(dev_t device, ino_t inode) const;

private:
    using FileId = std::pair<dev_t, ino_t>;
    using SocketId = std::pair<dev_t, std::uint32_t>;  // the low 32 bits of the inode

    void AddProcess(int procFd, const char* pid);
    void AddOpenFiles(int processFd);
    void AddMappedFiles(int processFd);
    void AddListeningSockets(int procFd);

    std::vector<FileId> ids_;  // sorted once taken
    std::vector<SocketId> sockets_;  // listening socket files, sorted once taken
};

}  // namespace platform
