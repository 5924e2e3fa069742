#pragma once

#include "support/Fixture.h"
#include "support/Programsandbox.h"

#include <memory>
#include <string>
#include <vector>

// Sizes of the hostile tree. Listing and deleting are mostly the kernel's
// work, so a sanitized build copes with the same sizes.
constexpr int kFilesInOneDirectory = 200000;
constexpr int kDeepTreeLevels = 3000;

// `count` empty files named f000000, f000001, ... in the directory `relative`.
void ManyFiles(const FixtureTree& tree, const std::string& relative, int count);

// A temporary directory built to trip a clearing up, inside a sandbox:
// links that loop or lead to "/" and to the sandbox's outside directory, a
// hard link to a file there, a very deep tree, very many files in one
// directory, names no shell quotes easily, a FIFO without a writer, Unix
// sockets that running processes listen on, files held open or mapped, and
// a directory without write permission for its owner. The outside directory
// gets files for the links to reach.
class HostileTree {
public:
    HostileTree(const ProgramSandbox& sandbox, int filesInOneDirectory = kFilesInOneDirectory);
    ~HostileTree();
    HostileTree(const HostileTree&) = delete;
    HostileTree& operator=(const HostileTree&) = delete;

    // Whether every process that uses the tree's files runs.
    bool Ready() const;
    // What a clearing must leave below the temporary directory: the entries
    // that processes use or that are never opened, and their directories
    // (paths as ListTree gives them).
    std::vector<std::string> Remains() const;

private:
    // Without the kernel's socket diagnostics, no program can tell which
    // socket a process bound by a relative name or one holding a line break
    // listens on; such sockets are left out then.
    bool hiddenSockets_ = true;
    std::unique_ptr<HeldOpenFile> open_;
    std::unique_ptr<HeldOpenFile> mapped_;
    int listener_ = -1;
};
