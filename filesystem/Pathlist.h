#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// An ordered list of full paths, kept as the exact bytes the file system gave.
// Paths of one directory usually follow each other, so each directory text is
// stored once and the names share one buffer: a million paths cost a few
// dozen bytes each instead of a string object per path.
class PathList {
public:
    void Add(std::string_view path);
    // The same as Add(directory + name) for a `directory` ending in '/'.
    void Add(std::string_view directory, std::string_view name);
    void Clear();

    std::size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    std::string operator[](std::size_t index) const;
    std::string_view Directory(std::size_t index) const { return directories_[entries_[index].directory]; }
    std::string_view Name(std::size_t index) const;

    // Bytes held, for measurements.
    std::size_t MemoryUsed() const;

private:
    struct Entry {
        std::uint64_t nameOffset;
        std::uint32_t nameLength;
        std::uint32_t directory;
    };
    std::vector<std::string> directories_;
    std::string names_;
    std::vector<Entry> entries_;
};

// Sizes in bytes, entry i belonging to path i of the matching PathList.
using SizeList = std::vector<std::int64_t>;
