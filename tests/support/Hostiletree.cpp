#include "support/Hostiletree.h"

#include "platform/Socketdiagnostics.h"

#include <QtGlobal>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Names that a clearing which trims, splits lines, passes names to a shell or
// decodes them as text would get wrong.
const std::vector<std::string> kHostileNames = {
    "new\nline", "trailing blanks  ", " leading blank", "   ", "-dash", "--", "*", "\xff\xfe invalid UTF-8",
    "tab\there", ".hidden", "back\\slash", "dir\nwith newline/file", "\xc0\xaf bad dir /-",
};

void Check(bool done, const std::string& what) {
    if (!done) throw std::runtime_error("hostile tree: " + what);
}

void BuildOutside(const FixtureTree& tree) {
    tree.File("outside/file", "outside\n");
    tree.File("outside/secret", "secret\n");
    Check(chmod(tree.Path("outside/secret").c_str(), 0600) == 0, "chmod secret");
    tree.File("outside/hardlinked", "linked from the temporary directory\n");
    tree.File("outside/sub/nested", "nested\n");
    tree.Symlink("outside/sub/link", "../file");
    tree.Directory("outside/empty");
}

void BuildLinks(const FixtureTree& tree) {
    tree.Symlink("tmp/links/loop", "loop");
    tree.Symlink("tmp/links/ping", "pong");
    tree.Symlink("tmp/links/pong", "ping");
    tree.Symlink("tmp/links/root", "/");
    tree.Symlink("tmp/links/outside", tree.Path("outside"));
    tree.Symlink("tmp/links/outside-relative", "../../outside/");
    tree.Symlink("tmp/links/outside-file", tree.Path("outside/file"));
    tree.Symlink("tmp/links/dangling", tree.Path("missing"));
    Check(link(tree.Path("outside/hardlinked").c_str(), tree.Path("tmp/links/hard").c_str()) == 0, "hard link");
}

// Files in a directory of mode 0500: its owner may delete them only after
// giving it write permission back.
void BuildLocked(const FixtureTree& tree) {
    tree.File("tmp/locked/a", "a");
    tree.File("tmp/locked/b", "b");
    Check(chmod(tree.Path("tmp/locked").c_str(), 0500) == 0, "chmod locked");
}

bool Bind(const std::string& address, bool listening) {
    sockaddr_un socketAddress{};
    if (address.size() >= sizeof socketAddress.sun_path) return false;
    socketAddress.sun_family = AF_UNIX;
    address.copy(socketAddress.sun_path, address.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&socketAddress), sizeof socketAddress) == 0 &&
                       (!listening || listen(fd, 1) == 0);
    if (!listening && fd >= 0) close(fd);  // a socket file left behind by a program that ended
    return bound;
}

// In the listening child: sockets by absolute name (through the working
// directory when the name would be too long for a socket address), one by a
// name relative to the working directory, and a stale one nobody listens on.
bool BindSockets(const std::string& directory, bool hiddenSockets) {
    if (chdir(directory.c_str()) != 0) return false;
    const auto absolute = [&](const std::string& name) {
        const std::string path = directory + name;
        return path.size() < sizeof(sockaddr_un::sun_path) ? path
                                                           : "/proc/" + std::to_string(getpid()) + "/cwd/" + name;
    };
    return Bind(absolute("listening"), true) && Bind(absolute("stale"), false) &&
           (!hiddenSockets || (Bind(absolute("new\nline"), true) && Bind("relative", true)));
}

int StartListener(const std::string& directory, bool hiddenSockets) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const char ok = BindSockets(directory, hiddenSockets) ? '1' : '0';
        if (write(ready[1], &ok, 1) != 1) _exit(1);
        for (;;) pause();
    }
    close(ready[1]);
    char ok = '0';
    if (pid > 0 && (read(ready[0], &ok, 1) != 1 || ok != '1')) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    close(ready[0]);
    return ok == '1' ? pid : -1;
}

}  // namespace

void ManyFiles(const FixtureTree& tree, const std::string& relative, int count) {
    tree.Directory(relative);
    const int directory = open(tree.Path(relative).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    Check(directory >= 0, "open " + relative);
    char name[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "f%06d", i);
        const int fd = openat(directory, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        Check(fd >= 0, "create " + relative + "/" + name);
        close(fd);
    }
    close(directory);
}

HostileTree::HostileTree(const ProgramSandbox& sandbox, int filesInOneDirectory) {
    const FixtureTree& tree = sandbox.Tree();
    BuildOutside(tree);
    BuildLinks(tree);
    for (const std::string& name : kHostileNames) tree.File("tmp/names/" + name, "hostile");
    tree.DeepChain("tmp/deep", kDeepTreeLevels);
    ManyFiles(tree, "tmp/many", filesInOneDirectory);
    BuildLocked(tree);
    tree.Directory("tmp/special");
    Check(mkfifo(tree.Path("tmp/special/fifo").c_str(), 0600) == 0, "fifo");
    tree.Directory("tmp/sockets");
    hiddenSockets_ = platform::ListeningSocketFiles().has_value();
    if (!hiddenSockets_) qInfo("no socket diagnostics here: only sockets bound by plain full names listen");
    listener_ = StartListener(tree.Path("tmp/sockets/"), hiddenSockets_);
    tree.File("tmp/held/open", "held open");
    tree.File("tmp/held/mapped", "mapped");
    open_ = std::make_unique<HeldOpenFile>(tree.Path("tmp/held/open"));
    mapped_ = std::make_unique<HeldOpenFile>(tree.Path("tmp/held/mapped"), true);
}

HostileTree::~HostileTree() {
    if (listener_ > 0) {
        kill(listener_, SIGKILL);
        waitpid(listener_, nullptr, 0);
    }
}

bool HostileTree::Ready() const {
    return listener_ > 0 && open_->Holding() && mapped_->Holding();
}

std::vector<std::string> HostileTree::Remains() const {
    std::vector<std::string> remains = {
        "held/", "held/mapped", "held/open", "sockets/", "sockets/listening", "special/", "special/fifo",
    };
    if (hiddenSockets_) remains.insert(remains.end(), {"sockets/new\nline", "sockets/relative"});
    std::sort(remains.begin(), remains.end());
    return remains;
}
