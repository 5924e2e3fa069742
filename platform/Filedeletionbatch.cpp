#include "platform/Filedeletion.h"

#include <algorithm>
#include <atomic>
#include <sys/resource.h>
#include <system_error>
#include <thread>

namespace platform {

namespace {

// Unlinking may wait on the device, so a few threads keep it busy; each holds
// its own chain of directory descriptors.
constexpr std::size_t MaxThreads = 4;
// Consecutive directories go to one thread together, so it reuses its chain.
constexpr std::size_t PathsPerChunk = 64;

std::size_t ThreadCount(std::size_t window) {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return MaxThreads;
    const std::size_t budget = limit.rlim_cur / 4;  // leave most descriptors to the rest of the program
    return std::clamp<std::size_t>(budget / (window + 1), 1, MaxThreads);
}

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
    DeleteGroups(paths, gone);
    return std::vector<bool>(gone.begin(), gone.end());
}

std::vector<bool> FileDeleter::DeleteListedFiles(const std::vector<std::string>& paths) {
    return DeleteListedFiles(std::vector<std::string_view>(paths.begin(), paths.end()));
}

// Deleting one path never changes whether another can be deleted, so the
// chunks may run in any order and the results are those of the list order.
void FileDeleter::DeleteGroups(const std::vector<std::string_view>& paths, std::vector<char>& gone) {
    const std::vector<std::size_t> starts = ChunkStarts(paths);
    const std::size_t chunks = starts.size() - 1;
    std::atomic<std::size_t> next{0};
    auto work = [&](DirectoryChain& chain) noexcept {
        try {
            for (std::size_t c; (c = next++) < chunks;)
                for (std::size_t i = starts[c]; i < starts[c + 1]; ++i)
                    gone[i] = Delete(chain, paths[i], true) != Outcome::Kept;
        } catch (...) {
            // Out of memory: what is left undone counts as not deleted.
        }
    };
    std::vector<std::thread> helpers;
    const std::size_t helperCount = std::clamp<std::size_t>(chunks, 1, ThreadCount(window_)) - 1;
    try {
        for (std::size_t t = 0; t < helperCount; ++t)
            helpers.emplace_back([&] {
                DirectoryChain chain(rootFd_, window_);
                work(chain);
            });
    } catch (const std::system_error&) {
        // Fewer helpers; this thread does the rest.
    }
    work(chain_);
    for (std::thread& helper : helpers)
        helper.join();
}

}  // namespace platform
