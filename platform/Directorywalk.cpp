#include "platform/Directorywalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace platform {

void WalkVisitor::Subdirectory(std::string_view, std::string_view) {}
void WalkVisitor::File(std::string_view, std::string_view, std::int64_t) {}

namespace {

// Directories kept open at once; shallower ones are closed and reached again
// through ".." on the way back up.
constexpr std::size_t kMaxOpenDirectories = 16;
constexpr std::size_t kEntryBufferSize = 64 * 1024;
constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

struct Subdirectory {
    std::string name;
    ino_t inode;
};

struct Frame {
    std::string path;  // ends in '/'
    int fd = -1;
    ino_t inode = 0;
    std::vector<Subdirectory> subdirectories;
    std::size_t nextSubdirectory = 0;
    std::string fileNames;  // each name followed by a NUL, which no name holds
    std::vector<std::int64_t> fileSizes;

    void AddFile(std::string_view name, std::int64_t size) {
        fileNames.append(name);
        fileNames.push_back('\0');
        fileSizes.push_back(size);
    }
};

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

class TreeWalk {
public:
    TreeWalk(WalkOptions options, WalkVisitor& visitor)
        : options_(options), visitor_(visitor), buffer_(new char[kEntryBufferSize]) {}

    ~TreeWalk() {
        for (Frame& frame : stack_) CloseFrame(frame);
    }

    void Run(const std::string& directory) {
        const int fd = OpenDirectoryPath(directory);
        if (fd < 0) return;
        struct stat st;
        if (fstat(fd, &st) != 0) {
            close(fd);
            return;
        }
        rootDevice_ = st.st_dev;
        Push(directory, fd, st.st_ino);
        if (!options_.recursive) {
            const Frame& root = stack_.back();
            for (const Subdirectory& subdirectory : root.subdirectories)
                visitor_.Subdirectory(root.path, subdirectory.name);
            ReportFilesAndPop();
            return;
        }
        while (!stack_.empty()) {
            Frame& top = stack_.back();
            if (top.nextSubdirectory < top.subdirectories.size())
                Descend(top, top.subdirectories[top.nextSubdirectory++]);
            else
                ReportFilesAndPop();
        }
    }

private:
    void Descend(Frame& parent, const Subdirectory& subdirectory) {
        visitor_.Subdirectory(parent.path, subdirectory.name);
        if (parent.fd < 0) return;
        const int fd = openat(parent.fd, subdirectory.name.c_str(), kDirectoryFlags);
        if (fd < 0) return;  // cannot be read: contributes nothing
        std::string path;
        path.reserve(parent.path.size() + subdirectory.name.size() + 1);
        path.append(parent.path).append(subdirectory.name).push_back('/');
        Push(std::move(path), fd, subdirectory.inode);  // invalidates `parent`
    }

    void Push(std::string path, int fd, ino_t inode) {
        Frame& frame = stack_.emplace_back();
        frame.path = std::move(path);
        frame.fd = fd;
        frame.inode = inode;
        ReadEntries(frame);
        CloseShallowestIfTooMany();
    }

    void ReadEntries(Frame& frame) {
        char* const buffer = buffer_.get();
        for (;;) {
            const ssize_t length = getdents64(frame.fd, buffer, kEntryBufferSize);
            if (length <= 0) return;
            for (ssize_t offset = 0; offset < length;) {
                const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + offset);
                offset += entry->d_reclen;
                if (!IsDotOrDotDot(entry->d_name)) AddEntry(frame, entry->d_name, entry->d_type);
            }
        }
    }

    // One fstatat for each entry whose size or kind the directory entry does
    // not already tell; nothing else per file.
    void AddEntry(Frame& frame, const char* name, unsigned char type) {
        if (!options_.sizes && type != DT_UNKNOWN && type != DT_DIR) {
            frame.AddFile(name, -1);
            return;
        }
        struct stat st;
        if (fstatat(frame.fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return;  // vanished
        if (!S_ISDIR(st.st_mode))
            frame.AddFile(name, options_.sizes ? static_cast<std::int64_t>(st.st_size) : -1);
        else if (st.st_dev == rootDevice_)  // another file system mounted here is not ours to walk
            frame.subdirectories.push_back({name, st.st_ino});
    }

    void ReportFilesAndPop() {
        Frame& frame = stack_.back();
        const char* name = frame.fileNames.data();
        for (std::int64_t size : frame.fileSizes) {
            const std::string_view view(name);
            visitor_.File(frame.path, view, size);
            name += view.size() + 1;
        }
        if (stack_.size() >= 2) ReopenParent(frame, stack_[stack_.size() - 2]);
        CloseFrame(frame);
        stack_.pop_back();
        if (firstOpen_ > stack_.size()) firstOpen_ = stack_.size();
    }

    // A parent that was closed to bound the open descriptors is reached again
    // through "..", and only if it is still the directory that was walked.
    void ReopenParent(const Frame& child, Frame& parent) {
        if (parent.fd >= 0) return;
        if (child.fd >= 0) {
            const int fd = openat(child.fd, "..", kDirectoryFlags);
            struct stat st;
            if (fd >= 0 && fstat(fd, &st) == 0 && st.st_dev == rootDevice_ && st.st_ino == parent.inode) {
                parent.fd = fd;
                firstOpen_ = stack_.size() - 2;
                return;
            }
            if (fd >= 0) close(fd);
        }
        parent.nextSubdirectory = parent.subdirectories.size();  // moved away meanwhile
    }

    void CloseShallowestIfTooMany() {
        while (stack_.size() - firstOpen_ > kMaxOpenDirectories) CloseFrame(stack_[firstOpen_++]);
    }

    static void CloseFrame(Frame& frame) {
        if (frame.fd >= 0) close(frame.fd);
        frame.fd = -1;
    }

    WalkOptions options_;
    WalkVisitor& visitor_;
    std::unique_ptr<char[]> buffer_;
    std::vector<Frame> stack_;
    std::size_t firstOpen_ = 0;  // frames below this index have been closed
    dev_t rootDevice_ = 0;
};

}  // namespace

void WalkDirectory(const std::string& directory, WalkOptions options, WalkVisitor& visitor) {
    if (directory.empty()) return;
    TreeWalk(options, visitor).Run(directory);
}

int OpenDirectoryPath(const std::string& path) {
    if (path.size() < PATH_MAX) return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Too long for one call: open it a piece at a time, each piece shorter than PATH_MAX.
    int fd = AT_FDCWD;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.size();
        if (end - start >= PATH_MAX) {
            end = path.rfind('/', start + PATH_MAX - 1);
            if (end == std::string::npos || end <= start) end = start + 1;  // leading "/"
        }
        const std::string piece = path.substr(start, end - start);
        const int next = openat(fd, piece.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd != AT_FDCWD) close(fd);
        if (next < 0) return -1;
        fd = next;
        start = end;
        while (start < path.size() && path[start] == '/' && start != 0) ++start;
    }
    return fd;
}

}  // namespace platform
