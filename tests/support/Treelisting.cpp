#include "support/Treelisting.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool IsDotOrDotDot(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// Appends the entries of the directory open as `fd`; returns its subdirectories' names.
std::vector<std::string> ReadDirectory(int fd, const std::string& prefix, std::vector<TreeEntry>& entries) {
    std::vector<std::string> subdirectories;
    DIR* directory = fdopendir(dup(fd));
    if (!directory) return subdirectories;
    while (const dirent* entry = readdir(directory)) {
        struct stat status;
        if (IsDotOrDotDot(entry->d_name) || fstatat(fd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        const bool isDirectory = S_ISDIR(status.st_mode);
        entries.push_back({prefix + entry->d_name + (isDirectory ? "/" : ""), status.st_mode, status.st_size});
        if (isDirectory) subdirectories.push_back(entry->d_name);
    }
    closedir(directory);
    return subdirectories;
}

struct Level {
    std::string Prefix;
    std::vector<std::string> Subdirectories;
    std::size_t Next = 0;
};

// Only the deepest directory is held open, so any depth is fine; the way back
// up goes through "..", as nothing moves the tree while a test looks at it.
void Walk(int fd, std::vector<TreeEntry>& entries) {
    std::vector<Level> stack;
    stack.push_back({std::string(), ReadDirectory(fd, std::string(), entries)});
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.Next == top.Subdirectories.size()) {
            stack.pop_back();
            const int parent = stack.empty() ? -1 : openat(fd, "..", kDirectoryFlags);
            close(fd);
            fd = parent;
            if (!stack.empty() && fd < 0) return;
            continue;
        }
        const std::string& name = top.Subdirectories[top.Next++];
        const int child = openat(fd, name.c_str(), kDirectoryFlags);
        if (child < 0) continue;
        close(fd);
        fd = child;
        std::string prefix = top.Prefix + name + "/";
        std::vector<std::string> subdirectories = ReadDirectory(fd, prefix, entries);
        stack.push_back({std::move(prefix), std::move(subdirectories)});
    }
    if (fd >= 0) close(fd);
}

void AddFileBytes(QCryptographicHash& hash, const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    char buffer[65536];
    ssize_t count;
    while (fd >= 0 && (count = read(fd, buffer, sizeof buffer)) > 0) hash.addData(QByteArrayView(buffer, count));
    if (fd >= 0) close(fd);
}

// One entry: its name below the checksum's root, its kind and permission
// bits, and its bytes or link target.
void AddEntry(QCryptographicHash& hash, const std::string& path, const std::string& relative) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) {
        hash.addData("missing");
        return;
    }
    hash.addData(QByteArray::fromStdString(relative + '\0' + std::to_string(status.st_mode) + '\0'));
    if (S_ISREG(status.st_mode)) AddFileBytes(hash, path);
    if (S_ISLNK(status.st_mode)) {
        char target[4096];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        hash.addData(QByteArrayView(target, std::max<ssize_t>(length, 0)));
    }
    hash.addData(QByteArrayView("\0", 1));
}

std::string Readable(const std::string& path) {
    std::string text;
    for (const unsigned char c : path) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
        text += c >= 0x20 && c < 0x7f && c != '\\' ? std::string(1, char(c)) : std::string(escaped);
    }
    return "\"" + text + "\"";
}

// Up to a few paths of `paths` that `others` lacks (both sorted).
std::string Missing(const std::vector<std::string>& paths, const std::vector<std::string>& others) {
    std::vector<std::string> missing;
    std::set_difference(paths.begin(), paths.end(), others.begin(), others.end(), std::back_inserter(missing));
    std::string text = std::to_string(missing.size());
    for (std::size_t i = 0; i < missing.size() && i < 12; ++i) text += " " + Readable(missing[i]);
    return text;
}

}  // namespace

std::vector<TreeEntry> ListTree(const std::string& root) {
    std::vector<TreeEntry> entries;
    const int fd = open(root.c_str(), kDirectoryFlags);
    if (fd >= 0) Walk(fd, entries);
    std::sort(entries.begin(), entries.end(), [](const TreeEntry& a, const TreeEntry& b) { return a.Path < b.Path; });
    return entries;
}

std::vector<std::string> Paths(const std::vector<TreeEntry>& entries) {
    std::vector<std::string> paths;
    for (const TreeEntry& entry : entries) paths.push_back(entry.Path);
    return paths;
}

std::size_t CountDirectories(const std::vector<TreeEntry>& entries) {
    return std::count_if(entries.begin(), entries.end(), [](const TreeEntry& entry) { return S_ISDIR(entry.Mode); });
}

std::string DescribeDifference(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    if (actual == expected) return std::string();
    return "unexpected: " + Missing(actual, expected) + "; missing: " + Missing(expected, actual);
}

std::size_t CountEntries(const std::string& directory) {
    const int fd = open(directory.c_str(), kDirectoryFlags);
    if (fd < 0) return 0;
    std::size_t count = 0;
    alignas(dirent64) char buffer[65536];
    for (long length; (length = syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0;) {
        for (long offset = 0; offset < length;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            if (!IsDotOrDotDot(entry->d_name)) ++count;
        }
    }
    close(fd);
    return count;
}

QByteArray TreeChecksum(const std::string& path) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::string root = path;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    AddEntry(hash, root, std::string());
    for (const TreeEntry& entry : ListTree(root)) AddEntry(hash, root + '/' + entry.Path, entry.Path);
    return hash.result();
}
