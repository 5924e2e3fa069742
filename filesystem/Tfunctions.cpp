#include "filesystem/Tfunctions.h"

#include <fnmatch.h>

#include "platform/Directorywalk.h"

namespace {

void NormaliseDirectory(std::string& directory) {
    if (!directory.empty() && directory.back() != '/') directory.push_back('/');
}

// "*.*" matches every name, with or without a dot, as it always has for this
// program; other masks use the shell's wildcard matching.
class Mask {
public:
    explicit Mask(std::string mask) : mask_(std::move(mask)), all_(mask_.empty() || mask_ == "*.*" || mask_ == "*") {}
    bool Matches(std::string_view name) const {
        return all_ || fnmatch(mask_.c_str(), std::string(name).c_str(), 0) == 0;
    }

private:
    std::string mask_;
    bool all_;
};

class FileCollector : public platform::WalkVisitor {
public:
    FileCollector(PathList& files, SizeList* sizes, std::string mask)
        : files_(files), sizes_(sizes), mask_(std::move(mask)) {}
    void File(std::string_view directory, std::string_view name, std::int64_t size) override {
        if (!mask_.Matches(name)) return;
        files_.Add(directory, name);
        if (sizes_) sizes_->push_back(size);
    }

private:
    PathList& files_;
    SizeList* sizes_;
    Mask mask_;
};

class DirectoryCollector : public platform::WalkVisitor {
public:
    explicit DirectoryCollector(PathList& list) : list_(list) {}
    void Subdirectory(std::string_view directory, std::string_view name) override { list_.Add(directory, name); }

private:
    PathList& list_;
};

}  // namespace

void TFunctions::FindFiles(PathList& list, std::string directory, std::string mask, bool recursive) const {
    NormaliseDirectory(directory);
    FileCollector collector(list, nullptr, std::move(mask));
    platform::WalkDirectory(directory, {.recursive = recursive, .sizes = false}, collector);
}

void TFunctions::FindFilesAndSizes(PathList& files, SizeList& sizes, std::string directory, std::string mask,
                                   bool recursive) const {
    NormaliseDirectory(directory);
    FileCollector collector(files, &sizes, std::move(mask));
    platform::WalkDirectory(directory, {.recursive = recursive, .sizes = true}, collector);
}

void TFunctions::FindDirectories(PathList& list, std::string directory, bool recursive) const {
    NormaliseDirectory(directory);
    DirectoryCollector collector(list);
    platform::WalkDirectory(directory, {.recursive = recursive, .sizes = false}, collector);
}
