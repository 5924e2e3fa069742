#include "filesystem/Pathlist.h"

void PathList::Add(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        Add(std::string_view(), path);
    else
        Add(path.substr(0, slash + 1), path.substr(slash + 1));
}

void PathList::Add(std::string_view directory, std::string_view name) {
    if (directories_.empty() || directories_.back() != directory) directories_.emplace_back(directory);
    entries_.push_back({names_.size(), static_cast<std::uint32_t>(name.size()),
                        static_cast<std::uint32_t>(directories_.size() - 1)});
    names_.append(name);
}

void PathList::Clear() {
    directories_.clear();
    names_.clear();
    entries_.clear();
}

std::string PathList::operator[](std::size_t index) const {
    std::string path(Directory(index));
    path.append(Name(index));
    return path;
}

std::string_view PathList::Name(std::size_t index) const {
    const Entry& entry = entries_[index];
    return std::string_view(names_).substr(entry.nameOffset, entry.nameLength);
}

std::size_t PathList::MemoryUsed() const {
    std::size_t bytes = sizeof(*this) + entries_.capacity() * sizeof(Entry) + names_.capacity() +
                        directories_.capacity() * sizeof(std::string);
    for (const std::string& directory : directories_)
        if (directory.capacity() > 15) bytes += directory.capacity() + 1;
    return bytes;
}
