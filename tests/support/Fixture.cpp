#include "support/Fixture.h"

#include <QDir>
#include <QProcess>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

#include <stdexcept>

namespace {

void Fail(const std::string& what) {
    throw std::runtime_error(what);
}

void MakeParents(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) Fail("mkdir " + prefix);
    }
}

}  // namespace

FixtureTree::FixtureTree() {
    path_ = QDir(root_.path()).absolutePath().toStdString() + "/";
}

FixtureTree::~FixtureTree() {
    // rm copes with trees deeper than PATH_MAX and with unwritable directories.
    QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("u+rwx"), root_.path()});
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), root_.path()});
}

void FixtureTree::File(std::string_view relative, std::string_view content) const {
    const std::string path = Path(relative);
    MakeParents(path);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail("create " + path);
    if (!content.empty() && write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
        Fail("write " + path);
    close(fd);
}

void FixtureTree::Directory(std::string_view relative) const {
    MakeParents(Path(relative) + "/");
}

void FixtureTree::Symlink(std::string_view relative, const std::string& target) const {
    const std::string path = Path(relative);
    MakeParents(path);
    if (symlink(target.c_str(), path.c_str()) != 0) Fail("symlink " + path);
}

void FixtureTree::SparseFile(std::string_view relative, long long size) const {
    File(relative);
    if (truncate(Path(relative).c_str(), size) != 0) Fail("truncate");
}

void FixtureTree::DeepChain(std::string_view relative, int depth) const {
    Directory(relative);
    int fd = open(Path(relative).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level < depth && fd >= 0; ++level) {
        mkdirat(fd, "d", 0755);
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = next;
    }
    if (fd < 0) Fail("deep chain");
    const int leaf = openat(fd, "leaf", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    close(leaf);
    close(fd);
}

int RunInChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string Printable(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) text += "[" + path + "] ";
    return text;
}

HeldOpenFile::HeldOpenFile(const std::string& path, bool mapOnly) {
    int ready[2];
    if (pipe(ready) != 0) return;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        char ok = fd >= 0 ? '1' : '0';
        if (fd >= 0 && mapOnly) {
            ok = mmap(nullptr, 1, PROT_READ, MAP_SHARED, fd, 0) != MAP_FAILED ? '1' : '0';
            close(fd);
        }
        if (write(ready[1], &ok, 1) != 1) _exit(1);
        for (;;) pause();
    }
    close(ready[1]);
    char ok = '0';
    if (pid > 0 && read(ready[0], &ok, 1) == 1 && ok == '1') child_ = pid;
    else if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    close(ready[0]);
}

void HeldOpenFile::Release() {
    if (child_ <= 0) return;
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
    child_ = -1;
}
