#pragma once

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// Shared by the benchmarks: where they may build their trees, how they build
// them, and how they time things.
namespace bench {

// A fresh directory inside $TMPDIR; refuses to run without a TMPDIR of the
// caller's own, so that a benchmark never fills the machine's shared one.
inline std::string WorkDirectory(const char* name) {
    const char* tmp = std::getenv("TMPDIR");
    char resolved[PATH_MAX];
    const bool usable = tmp && tmp[0] == '/' && realpath(tmp, resolved) &&
                        std::string(resolved) != "/" && std::string(resolved) != "/tmp";
    if (!usable) {
        std::fprintf(stderr, "Set TMPDIR to a scratch directory of your own (not /tmp itself).\n");
        std::exit(2);
    }
    std::string dir = std::string(tmp) + "/vellimor-bench-" + name + "-" + std::to_string(getpid());
    if (mkdir(dir.c_str(), 0755) != 0) {
        std::perror(dir.c_str());
        std::exit(2);
    }
    return dir;
}

// `directories` directories of `files / directories` files each, two levels
// deep (a tenth of the directories hold the rest), every file a few bytes.
inline void BuildTree(const std::string& root, int files, int directories) {
    mkdir(root.c_str(), 0755);
    const int perDirectory = files / directories;
    for (int d = 0; d < directories; ++d) {
        const std::string top = root + "/group" + std::to_string(d / 10);
        mkdir(top.c_str(), 0755);
        const std::string dir = d % 10 == 0 ? top : top + "/dir" + std::to_string(d);
        mkdir(dir.c_str(), 0755);
        const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
        for (int f = 0; f < perDirectory; ++f) {
            const int file = openat(fd, ("file-" + std::to_string(f) + ".tmp").c_str(), O_CREAT | O_WRONLY, 0644);
            if (write(file, "vellimor", 8) != 8) std::perror("write");
            close(file);
        }
        close(fd);
    }
}

inline double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline void RunShell(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
}

}  // namespace bench
