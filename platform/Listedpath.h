#pragma once

#include <optional>
#include <string_view>

namespace platform {

// A listed path taken apart below the temporary directory: the directory that
// holds the entry, relative to the temporary directory ("" for the temporary
// directory itself, else "a/b"), and the entry's name. Both the parent and the
// name are empty for the temporary directory itself.
struct ListedPath {
    std::string_view parent;
    std::string_view name;
};

// Nothing when `path` does not start with `tempDirectory` (which ends in '/'),
// or when a component below it is empty, ".", ".." or holds a NUL byte; such a
// path could name something other than the listed entry.
std::optional<ListedPath> SplitListedPath(std::string_view tempDirectory, std::string_view path);

// Whether `component` is a plain name (not empty, not "." or "..", no '/' or NUL).
bool IsPlainName(std::string_view component);

}  // namespace platform
