#pragma once

#include <QByteArray>

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

// What a test sees of a tree on disk, read without following links and at any
// depth, independently of the program's own walkers.
struct TreeEntry {
    std::string Path;  // relative to the root; a directory's ends in '/'
    mode_t Mode = 0;   // kind and permission bits
    off_t Size = 0;
};

// Every entry below `root` (not the root itself), sorted by path.
std::vector<TreeEntry> ListTree(const std::string& root);
std::vector<std::string> Paths(const std::vector<TreeEntry>& entries);
std::size_t CountDirectories(const std::vector<TreeEntry>& entries);

// Empty when `actual` equals `expected`; otherwise the first few paths each
// lacks, readable whatever bytes the names hold.
std::string DescribeDifference(const std::vector<std::string>& actual, const std::vector<std::string>& expected);

// The entries directly in a directory, counted without looking at any.
std::size_t CountEntries(const std::string& directory);

// A digest of everything at `path` that a clearing could change: the names,
// kinds and permission bits of every entry below it, the bytes of each file
// and the target of each link. Works for a single file or link too; meant for
// trees of ordinary depth, as entries are reached by their full paths.
QByteArray TreeChecksum(const std::string& path);
