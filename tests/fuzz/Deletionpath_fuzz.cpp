// Feeds arbitrary paths to the splitting of listed paths and to the deleter's
// lookups, deletions and removals over a small fixture tree. Beside the
// temporary directory lies a tree that must never change, reachable by "..",
// by links inside the temporary directory and by its absolute path; after
// every input it is compared with how it was, and whatever the input deleted
// inside the temporary directory is put back.
//
// Input: lines; each line's first byte picks the call (bits 0-1: FileExists,
// DirectoryExists, DeleteListedFile, RemoveDirectory) and bit 2 puts the rest
// of the line below the fixture's root instead of below the temporary
// directory. Bit 4 of the input's first byte sends the deletions and removals
// through the batch calls. The whole input, split at its first line end, also
// goes to SplitListedPath as a temporary directory and a path.
#include "platform/Filedeletion.h"
#include "platform/Listedpath.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    fprintf(stderr, "violated: %s\n", what);
    abort();
}

enum class Kind { Directory, File, Link, Fifo };
struct Entry {
    const char* path;  // below the fixture's root
    Kind kind;
    const char* target = nullptr;
};

// Never touched: compared after every input.
const Entry kOutside[] = {
    {"outside", Kind::Directory},      {"outside/keep", Kind::File},
    {"outside/dir", Kind::Directory},  {"outside/dir/keep", Kind::File},
    {"outside/empty", Kind::Directory}, {"tempx", Kind::Directory},
    {"tempx/keep", Kind::File},
};
// The temporary directory's contents, put back after every input.
const Entry kInside[] = {
    {"temp/file", Kind::File},
    {"temp/.hidden", Kind::File},
    {"temp/a", Kind::Directory},
    {"temp/a/b", Kind::Directory},
    {"temp/a/b/file", Kind::File},
    {"temp/a/b/c", Kind::Directory},
    {"temp/a/b/c/deep", Kind::File},
    {"temp/empty", Kind::Directory},
    {"temp/empty2", Kind::Directory},
    {"temp/empty2/sub", Kind::Directory},
    {"temp/fifo", Kind::Fifo},
    {"temp/link-dir", Kind::Link, "../outside"},
    {"temp/link-file", Kind::Link, "../outside/keep"},
    {"temp/link-abs", Kind::Link, nullptr},  // the absolute path of outside/, set at start
    {"temp/a/up", Kind::Link, "../../outside/dir"},
    {"temp/a/link-empty", Kind::Link, "../../outside/empty"},
    {"temp/dangling", Kind::Link, "nowhere"},
};

// A chain of directories deeper than the deleter keeps open, with a file at
// the bottom, so that lookups walk up and down it.
constexpr int kChainDepth = 24;
std::vector<std::string> gChainPaths;
std::vector<Entry> gInside;

void PlanInside() {
    gInside.assign(std::begin(kInside), std::end(kInside));
    std::string path = "temp";
    for (int depth = 0; depth < kChainDepth; ++depth) gChainPaths.push_back(path += "/d");
    gChainPaths.push_back(path + "/leaf");
    for (std::size_t i = 0; i < gChainPaths.size(); ++i)
        gInside.push_back({gChainPaths[i].c_str(), i + 1 < gChainPaths.size() ? Kind::Directory : Kind::File});
}

std::string gRoot;  // the fixture's root, without a closing slash
std::string gTemp;  // the temporary directory, with its closing slash

struct Signature {
    ino_t inode;
    mode_t mode;
    nlink_t links;
    off_t size;
    timespec modified, changed;
};
std::vector<Signature> gOutside;

Signature Sign(const std::string& path) {
    struct stat status {};
    Require(lstat(path.c_str(), &status) == 0, "an entry outside the temporary directory is gone");
    return {status.st_ino, status.st_mode, status.st_nlink, status.st_size, status.st_mtim, status.st_ctim};
}

bool Same(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool Same(const Signature& a, const Signature& b) {
    return a.inode == b.inode && a.mode == b.mode && a.links == b.links && a.size == b.size
        && Same(a.modified, b.modified) && Same(a.changed, b.changed);
}

// The root and the temporary directory themselves, then everything outside.
std::vector<Signature> SignOutside() {
    std::vector<Signature> signatures{Sign(gRoot), Sign(gTemp)};
    for (const Entry& entry : kOutside) signatures.push_back(Sign(gRoot + "/" + entry.path));
    return signatures;
}

void Make(const Entry& entry) {
    const std::string path = gRoot + "/" + entry.path;
    struct stat status {};
    if (lstat(path.c_str(), &status) == 0) return;
    int made = -1;
    switch (entry.kind) {
    case Kind::Directory: made = mkdir(path.c_str(), 0755); break;
    case Kind::File: made = close(open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644)); break;
    case Kind::Fifo: made = mkfifo(path.c_str(), 0644); break;
    case Kind::Link:
        made = symlink(entry.target ? entry.target : (gRoot + "/outside").c_str(), path.c_str());
        break;
    }
    Require(made == 0, "cannot build the fixture");
}

int RemoveOne(const char* path, const struct stat*, int, FTW*) {
    return remove(path);
}

void RemoveFixture() {
    nftw(gRoot.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
}

// What a safe lookup below the temporary directory must find: every directory
// on the way a real one, then the entry itself.
enum class Truth { Absent, Directory, Fifo, Other, Unknown };

Truth Look(std::string_view relative) {
    std::string path = gTemp;
    for (std::size_t start = 0;;) {
        const std::size_t slash = relative.find('/', start);
        path += relative.substr(start, slash - start);
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0)
            return errno == ENOENT || errno == ENOTDIR ? Truth::Absent : Truth::Unknown;
        if (slash == std::string_view::npos) {
            if (S_ISDIR(status.st_mode)) return Truth::Directory;
            return S_ISFIFO(status.st_mode) ? Truth::Fifo : Truth::Other;
        }
        if (S_ISLNK(status.st_mode)) return Truth::Unknown;  // a link on the way is never followed
        if (!S_ISDIR(status.st_mode)) return Truth::Absent;
        path += '/';
        start = slash + 1;
    }
}

// Properties of SplitListedPath for any temporary directory and path.
void CheckSplit(std::string_view temp, std::string_view path) {
    const auto listed = platform::SplitListedPath(temp, path);
    const bool under = !temp.empty() && temp.back() == '/' && path.starts_with(temp);
    if (!under) {
        Require(!listed, "a path outside the temporary directory was split");
        return;
    }
    const std::string_view relative = path.substr(temp.size());
    bool plain = true;
    for (std::size_t start = 0; !relative.empty();) {
        const std::size_t slash = relative.find('/', start);
        plain = plain && platform::IsPlainName(relative.substr(start, slash - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    Require(listed.has_value() == plain, "a path was split although it had a component that is not a plain name, or was refused although all were");
    if (!listed) return;
    Require(relative.empty() == listed->name.empty(), "only the temporary directory itself has no name");
    const std::string joined = listed->parent.empty() ? std::string(listed->name)
                                                      : std::string(listed->parent) + "/" + std::string(listed->name);
    Require(joined == relative, "parent and name do not make up the path");
    Require(listed->name.empty() || listed->name.data() + listed->name.size() == path.data() + path.size(),
            "the name is not the end of the path");
}

struct Call {
    int op;
    std::string path;
    Truth before;
    bool inside;  // below the temporary directory as SplitListedPath sees it
    bool wasEmpty;
};

bool IsEmptyDirectory(const std::string& path) {
    DIR* directory = opendir(path.c_str());
    if (!directory) return false;
    int entries = 0;
    while (readdir(directory)) ++entries;
    closedir(directory);
    return entries == 2;  // "." and ".."
}

// The documented answers for paths that SplitListedPath refuses, and for the
// temporary directory itself.
void CheckRefused(platform::FileDeleter& deleter, const Call& call) {
    const auto listed = platform::SplitListedPath(gTemp, call.path);
    const bool self = listed && listed->name.empty();
    switch (call.op) {
    case 0: Require(deleter.FileExists(call.path) == (!self && !call.path.empty()), "FileExists outside"); break;
    case 1: Require(deleter.DirectoryExists(call.path) == self, "DirectoryExists outside"); break;
    case 2: Require(!deleter.DeleteListedFile(call.path), "deleted a path outside"); break;
    case 3: Require(!deleter.RemoveDirectory(call.path), "removed the temporary directory or a path outside"); break;
    }
}

void CheckResult(const Call& call, bool result) {
    const Truth truth = call.before;
    switch (call.op) {
    case 0:
        Require(result == (truth == Truth::Fifo || truth == Truth::Other || truth == Truth::Unknown), "FileExists");
        break;
    case 1: Require(result == (truth == Truth::Directory), "DirectoryExists"); break;
    case 2: {
        const Truth after = Look(call.path.substr(gTemp.size()));
        if (result) Require(after == Truth::Absent || after == Truth::Directory, "deleted but still there");
        Require(result == (truth == Truth::Absent || truth == Truth::Directory || truth == Truth::Other),
                "DeleteListedFile");
        break;
    }
    case 3:
        Require(!result || Look(call.path.substr(gTemp.size())) == Truth::Absent, "removed but still there");
        Require(result == (truth == Truth::Directory && call.wasEmpty), "RemoveDirectory");
        break;
    }
}

std::vector<Call> ParseCalls(const std::uint8_t* data, std::size_t size) {
    std::vector<Call> calls;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos) end = input.size();
        const std::string_view line = input.substr(start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        const int flags = static_cast<unsigned char>(line[0]);
        Call call{flags & 3, std::string(flags & 4 ? gRoot + "/" : gTemp) + std::string(line.substr(1)),
                  Truth::Unknown, false, false};
        calls.push_back(call);
    }
    return calls;
}

bool Batched(const std::uint8_t* data, std::size_t size) {
    return size > 0 && (data[0] & 16);
}

void RunCalls(std::vector<Call>& calls, bool batched) {
    platform::FileDeleter deleter(gTemp);
    std::vector<std::string> deletions, removals;
    for (Call& call : calls) {
        const auto listed = platform::SplitListedPath(gTemp, call.path);
        call.inside = listed && !listed->name.empty();
        if (!call.inside) {
            CheckRefused(deleter, call);
            continue;
        }
        if (call.path.size() >= PATH_MAX) continue;  // beyond what the lookup by full path can tell
        call.before = Look(call.path.substr(gTemp.size()));
        call.wasEmpty = call.before == Truth::Directory && IsEmptyDirectory(call.path);
        if (batched && call.op >= 2) {
            (call.op == 2 ? deletions : removals).push_back(call.path);
            continue;
        }
        bool result = false;
        switch (call.op) {
        case 0: result = deleter.FileExists(call.path); break;
        case 1: result = deleter.DirectoryExists(call.path); break;
        case 2: result = deleter.DeleteListedFile(call.path); break;
        case 3: result = deleter.RemoveDirectory(call.path); break;
        }
        CheckResult(call, result);
    }
    // What the batch calls report gone must be gone (or, for files, a directory);
    // whether they reached outside, the comparison after the input tells.
    // (No empty batch: its in-use snapshot alone would take longer than the rest.)
    const std::vector<bool> deleted = deletions.empty() ? std::vector<bool>() : deleter.DeleteListedFiles(deletions);
    for (std::size_t i = 0; i < deletions.size(); ++i) {
        const Truth after = Look(deletions[i].substr(gTemp.size()));
        Require(!deleted[i] || after == Truth::Absent || after == Truth::Directory, "batch deleted but still there");
    }
    const std::vector<bool> removed = removals.empty() ? std::vector<bool>() : deleter.RemoveDirectories(removals);
    for (std::size_t i = 0; i < removals.size(); ++i)
        Require(!removed[i] || Look(removals[i].substr(gTemp.size())) == Truth::Absent, "batch removed but still there");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* base = getenv("TMPDIR");
    if (!base || base[0] != '/') {
        fprintf(stderr, "Set TMPDIR to a scratch directory of your own: the fixture is built there.\n");
        exit(1);
    }
    std::string pattern = std::string(base) + "/vellimor-fuzz-XXXXXX";
    Require(mkdtemp(pattern.data()) != nullptr, "cannot make the fixture's root");
    gRoot = pattern;
    gTemp = gRoot + "/temp/";
    Require(mkdir(gTemp.c_str(), 0755) == 0, "cannot make the temporary directory");
    PlanInside();
    for (const Entry& entry : kOutside) Make(entry);
    for (const Entry& entry : gInside) Make(entry);
    gOutside = SignOutside();
    atexit(RemoveFixture);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = input.find('\n');
    if (lineEnd != std::string_view::npos) CheckSplit(input.substr(0, lineEnd), input.substr(lineEnd + 1));
    CheckSplit(gTemp, gTemp + std::string(input));

    std::vector<Call> calls = ParseCalls(data, size);
    RunCalls(calls, Batched(data, size));
    const std::vector<Signature> now = SignOutside();
    for (std::size_t i = 0; i < now.size(); ++i) {
        // The temporary directory's own times change as its entries are put back.
        Require(i == 1 ? now[i].inode == gOutside[i].inode : Same(now[i], gOutside[i]),
                "something outside the temporary directory changed, or the temporary directory went");
    }
    for (const Entry& entry : gInside) Make(entry);
    return 0;
}
