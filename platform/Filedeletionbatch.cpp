#include "platform/Filedeletion.h"

#include <algorithm>
#include <atomic>
#include <sys/resource.h>
#include <system_error>
#include <thread>

namespace platform {

namespace {

// Unlinking and removing directories may wait on the device, so a few threads
// keep it busy; each holds its own chain of directory descriptors.
constexpr std::size_t MaxThreads = 4;
// Consecutive directories go to one thread together, so it reuses its chain.
constexpr std::size_t PathsPerChunk = 64;

std::string_view ParentText(std::string_view path) {
    return path.substr(0, path.rfind('/'));
}

// Start indices of runs of paths, each run whole directories of about PathsPerChunk paths.
std::vector<std::size_t> ChunkStarts(const std::vector<std::string_view>& paths) {
    std::vector<std::size_t> starts;
    std::size_t chunkStart = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const bool newDirectory = i == 0 || ParentText(paths[i]) != ParentText(paths[i - 1]);
        if (i == 0 || (newDirectory && i - chunkStart >= PathsPerChunk)) {
            starts.push_back(i);
            chunkStart = i;
        }
    }
    starts.push_back(paths.size());
    return starts;
}

}  // namespace

std::vector<bool> FileDeleter::DeleteListedFiles(const std::vector<std::string_view>& paths) {
    TakeSnapshotOnce();
    std::vector<char> gone(paths.size(), 0);
    const std::vector<std::size_t> starts = ChunkStarts(paths);
    const std::size_t chunks = starts.size() - 1;
    std::atomic<std::size_t> next{0};
    // Deleting one path never changes whether another can be deleted, so the
    // chunks may run in any order and the results are those of the list order.
    RunOnThreads(ThreadsFor(chunks), [&](DirectoryChain& chain) {
        for (std::size_t c; (c = next++) < chunks;)
            for (std::size_t i = starts[c]; i < starts[c + 1]; ++i) {
                try {
                    gone[i] = Delete(chain, paths[i], true) != Outcome::Kept;
                } catch (const std::bad_alloc&) {
                    // counts as not deleted
                }
            }
    });
    return std::vector<bool>(gone.begin(), gone.end());
}

std::vector<bool> FileDeleter::DeleteListedFiles(const std::vector<std::string>& paths) {
    return DeleteListedFiles(std::vector<std::string_view>(paths.begin(), paths.end()));
}

std::size_t FileDeleter::ThreadsFor(std::size_t tasks) const {
    rlimit limit{};
    std::size_t threads = MaxThreads;
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        threads = limit.rlim_cur / 2 / (chainDescriptors_ + 1);  // half the limit for the rest of the program
    return std::clamp<std::size_t>(std::min(threads, tasks), 1, MaxThreads);
}

void FileDeleter::RunOnThreads(std::size_t threads, const std::function<void(DirectoryChain&)>& work) {
    std::vector<std::thread> helpers;
    try {
        for (std::size_t t = 1; t < threads; ++t)
            helpers.emplace_back([&] {
                DirectoryChain chain(rootFd_, chainDescriptors_);
                work(chain);
            });
    } catch (const std::system_error&) {
        // Fewer helpers: the others and this thread share the work.
    }
    work(chain_);
    for (std::thread& helper : helpers)
        helper.join();
}

}  // namespace platform
