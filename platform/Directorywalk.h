#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Receives what a walk finds. `directory` is always the walked directory's
// path ending in '/', names are the exact bytes the file system gave.
class WalkVisitor {
public:
    virtual ~WalkVisitor() = default;
    // A subdirectory of `directory`, reported just before it is walked (so in
    // pre-order: a directory always before everything below it).
    virtual void Subdirectory(std::string_view directory, std::string_view name);
    // Anything that is not a directory, symbolic links included. A directory's
    // entries are reported after everything below its subdirectories.
    // `size` is the entry's own size, or -1 when sizes were not asked for.
    virtual void File(std::string_view directory, std::string_view name, std::int64_t size);
};

struct WalkOptions {
    bool recursive = true;
    bool sizes = false;
};

// Walks `directory` (ending in '/'). Symbolic links are never followed and
// other file systems mounted below it are not entered. Each directory is read
// once; a directory that cannot be read contributes nothing, entries that
// vanish meanwhile are skipped. Works for any depth and path length with a
// small, bounded number of open file descriptors and no recursion.
void WalkDirectory(const std::string& directory, WalkOptions options, WalkVisitor& visitor);

// Opens a directory for reading by a path of any length; -1 on failure.
int OpenDirectoryPath(const std::string& path);

}  // namespace platform
