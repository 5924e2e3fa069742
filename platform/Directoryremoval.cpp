#include "platform/Filedeletion.h"

#include <condition_variable>
#include <mutex>
#include <unordered_map>

namespace platform {

namespace {

constexpr std::size_t None = static_cast<std::size_t>(-1);

// Hands out the directories of a parents-first list so that each is tried only
// after every listed directory directly below it; a thread that finishes the
// last of them goes on with the parent, keeping its chain of descriptors.
class RemovalSchedule {
public:
    explicit RemovalSchedule(const std::vector<std::string_view>& paths);
    // False when a path is listed twice; then only the plain walk gives the right results.
    bool Usable() const { return usable_; }
    // The next directory to try, once `finished` (or None) has been tried; None when all are done.
    std::size_t Next(std::size_t finished);

private:
    bool usable_ = true;
    std::vector<std::size_t> parent_;   // index of the listed parent, or None
    std::vector<std::size_t> pending_;  // listed subdirectories not yet tried
    std::vector<std::size_t> ready_;    // taken from the back: the walk's order
    std::size_t unfinished_;
    std::mutex mutex_;
    std::condition_variable allDone_;
};

RemovalSchedule::RemovalSchedule(const std::vector<std::string_view>& paths)
    : parent_(paths.size(), None), pending_(paths.size(), 0), unfinished_(paths.size()) {
    std::unordered_map<std::string_view, std::size_t> index;
    for (std::size_t i = 0; i < paths.size(); ++i)
        usable_ = index.emplace(paths[i], i).second && usable_;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const auto parent = index.find(paths[i].substr(0, paths[i].rfind('/')));
        if (parent != index.end() && parent->second != i) {
            parent_[i] = parent->second;
            ++pending_[parent->second];
        }
    }
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (pending_[i] == 0)
            ready_.push_back(i);
}

std::size_t RemovalSchedule::Next(std::size_t finished) {
    std::unique_lock lock(mutex_);
    if (finished != None) {
        --unfinished_;
        const std::size_t parent = parent_[finished];
        if (parent != None && --pending_[parent] == 0)
            return parent;
        if (unfinished_ == 0)
            allDone_.notify_all();
    }
    // Whatever another thread still holds can only make its own parent ready, which it takes itself.
    if (ready_.empty()) {
        allDone_.wait(lock, [&] { return unfinished_ == 0; });
        return None;
    }
    const std::size_t next = ready_.back();
    ready_.pop_back();
    return next;
}

}  // namespace

std::vector<bool> FileDeleter::RemoveDirectories(const std::vector<std::string_view>& paths) {
    std::vector<char> removed(paths.size(), 0);
    const auto tryOne = [&](DirectoryChain& chain, std::size_t i) {
        try {
            removed[i] = Remove(chain, paths[i]);
        } catch (const std::bad_alloc&) {
            // counts as not removed
        }
    };
    RemovalSchedule schedule(paths);
    if (!schedule.Usable() || ThreadsFor(paths.size()) == 1) {
        for (std::size_t i = paths.size(); i-- > 0;)
            tryOne(chain_, i);
    } else {
        RunOnThreads(ThreadsFor(paths.size()), [&](DirectoryChain& chain) {
            for (std::size_t i = schedule.Next(None); i != None; i = schedule.Next(i))
                tryOne(chain, i);
        });
    }
    return std::vector<bool>(removed.begin(), removed.end());
}

std::vector<bool> FileDeleter::RemoveDirectories(const std::vector<std::string>& paths) {
    return RemoveDirectories(std::vector<std::string_view>(paths.begin(), paths.end()));
}

}  // namespace platform
