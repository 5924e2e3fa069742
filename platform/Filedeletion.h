#pragma once

#include "platform/Directorychain.h"
#include "platform/Inusesnapshot.h"
#include "platform/Listedpath.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What deleting a listed file and removing an emptied directory mean on Linux.
// Only entries below the temporary directory are touched, each reached one
// component at a time without following links, and removed by name from the
// directory that holds it: a listed link goes itself, never its target, and a
// directory swapped for a link makes the deletion fail instead of reaching
// elsewhere. Paths are the exact listed bytes, never trimmed.
//
// Make one FileDeleter per clearing: it reads which files are in use once,
// before its first deletion, and keeps the last directories it used open.
// When the temporary directory is refused (see TempDirectoryRefusal) or cannot
// be opened, nothing is deleted or removed.
class FileDeleter {
public:
    explicit FileDeleter(std::string tempDirectory);
    ~FileDeleter();
    FileDeleter(const FileDeleter&) = delete;
    FileDeleter& operator=(const FileDeleter&) = delete;

    // False only when, looked at safely inside the temporary directory, nothing
    // or a directory is there. Anything else (a file, a link even dangling, a
    // FIFO, a socket, a device) counts, and so does a path that cannot be looked
    // at safely (outside, with "." or "..", through a link), so that it is never
    // mistaken for a file that is already gone. The empty path names nothing.
    bool FileExists(std::string_view path);
    // One attempt to delete the entry; true when it was removed. Files held open
    // or mapped by a process, listening sockets, FIFOs and devices stay.
    bool DeleteFile(std::string_view path);
    // The clearing of one listed file: true when it is gone, also when it was
    // gone already. When the attempt fails because the user's own directory that
    // holds it lacks write permission, that permission is given and the deletion
    // tried once more; nothing else is ever changed.
    bool DeleteListedFile(std::string_view path);
    // DeleteListedFile for each path, spread over a few threads by directory;
    // the results, in list order, are those of deleting the paths one by one.
    std::vector<bool> DeleteListedFiles(const std::vector<std::string_view>& paths);
    std::vector<bool> DeleteListedFiles(const std::vector<std::string>& paths);

    // A real directory (not a link to one) inside, or the temporary directory itself.
    bool DirectoryExists(std::string_view path);
    // Removes an empty directory below the temporary directory, never the
    // temporary directory itself nor a link; true when it was removed.
    bool RemoveDirectory(std::string_view path);
    // RemoveDirectory for each of a list in which parents come before their
    // subdirectories, walked from its end: each directory is tried after every
    // listed directory below it, so emptied trees go completely. Spread over a
    // few threads; the results, in list order, are those of that walk.
    std::vector<bool> RemoveDirectories(const std::vector<std::string_view>& paths);
    std::vector<bool> RemoveDirectories(const std::vector<std::string>& paths);

private:
    enum class Outcome { Removed, Absent, Kept };
    struct Lookup {
        enum State { Found, Absent, Unknown } state;
        int parentFd;
    };
    Lookup Find(DirectoryChain& chain, const ListedPath& listed, const std::string& name, struct stat& status);
    Outcome Delete(DirectoryChain& chain, std::string_view path, bool retryWritable);
    bool Remove(DirectoryChain& chain, std::string_view path);
    void TakeSnapshotOnce();
    std::size_t ThreadsFor(std::size_t tasks) const;
    // Runs `work` on `threads` threads at once (this one included), each with a chain of its own.
    void RunOnThreads(std::size_t threads, const std::function<void(DirectoryChain&)>& work);

    std::string tempDirectory_;
    int rootFd_ = -1;
    std::size_t chainDescriptors_;
    DirectoryChain chain_;
    std::optional<InUseSnapshot> inUse_;
};

}  // namespace platform
