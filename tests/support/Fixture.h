#pragma once

#include <QTemporaryDir>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A directory tree built by a test under its own temporary directory, removed
// afterwards even when it is deeper than any path the C library accepts.
class FixtureTree {
public:
    FixtureTree();
    ~FixtureTree();
    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    bool IsValid() const { return root_.isValid(); }
    // The root, ending in '/'.
    const std::string& Root() const { return path_; }
    std::string Path(std::string_view relative) const { return path_ + std::string(relative); }

    // Creates a file (and its missing parent directories) below the root.
    void File(std::string_view relative, std::string_view content = {}) const;
    void Directory(std::string_view relative) const;
    void Symlink(std::string_view relative, const std::string& target) const;
    // A file of `size` bytes that occupies almost no disk space.
    void SparseFile(std::string_view relative, long long size) const;
    // A chain of `depth` directories named "d" below `relative`, with a file
    // named "leaf" at the bottom, built without ever using a long path.
    void DeepChain(std::string_view relative, int depth) const;

private:
    QTemporaryDir root_;
    std::string path_;
};

// Runs `body` in a forked child and returns its exit code (or 128 + signal).
int RunInChild(const std::function<int()>& body);

// Paths as readable text for failure messages.
std::string Printable(const std::vector<std::string>& paths);

// A child process that holds a file open (or only mapped, with `mapOnly`)
// until Release() or destruction: the way another running program uses a file.
class HeldOpenFile {
public:
    explicit HeldOpenFile(const std::string& path, bool mapOnly = false);
    ~HeldOpenFile() { Release(); }
    HeldOpenFile(const HeldOpenFile&) = delete;
    HeldOpenFile& operator=(const HeldOpenFile&) = delete;

    bool Holding() const { return child_ > 0; }
    void Release();

private:
    int child_ = -1;
};
