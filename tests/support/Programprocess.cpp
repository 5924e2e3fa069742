#include "support/Programprocess.h"

#include "support/Fixture.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Only system calls from here on: the child of a fork runs them before exec.
bool DropPermissionOverrides() {
    if (geteuid() != 0) return true;  // permission bits apply anyway
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
        if (prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0) return false;
    return true;
}

bool MountReadOnly(const char* directory) {
    return unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount(directory, directory, nullptr, MS_BIND, nullptr) == 0 &&
           mount(nullptr, directory, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool LowerLimit(int resource, rlim_t value) {
    const rlimit limit{value, value};
    return value == 0 || setrlimit(resource, &limit) == 0;
}

bool ApplySetup(const ChildSetup& setup) {
    return (setup.ReadOnlyDirectory.empty() || MountReadOnly(setup.ReadOnlyDirectory.c_str())) &&
           (!setup.PermissionBitsApply || DropPermissionOverrides()) &&
           LowerLimit(RLIMIT_NOFILE, setup.OpenFiles) && LowerLimit(RLIMIT_STACK, setup.StackBytes);
}

[[noreturn]] void ExecChild(const char* program, char* const envp[], int outputFd, const ChildSetup& setup) {
    const int input = open("/dev/null", O_RDONLY);
    if (input < 0 || dup2(input, 0) < 0 || dup2(outputFd, 1) < 0 || dup2(outputFd, 2) < 0) _exit(kSetupFailed);
    if (!ApplySetup(setup)) _exit(kSetupFailed);
    if (setup.Gate) setup.Gate->WaitInChild();
    close_range(3, ~0U, 0);  // nothing of the test reaches the program
    char* const argv[] = {const_cast<char*>(program), nullptr};
    execve(program, argv, envp);
    _exit(kSetupFailed);
}

}  // namespace

StartGate::StartGate() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) == 0) {
        read_ = ends[0];
        write_ = ends[1];
    }
}

StartGate::~StartGate() {
    Open();
    if (read_ >= 0) close(read_);
}

void StartGate::Open() {
    if (write_ >= 0) close(write_);
    write_ = -1;
}

void StartGate::WaitInChild() const {
    if (write_ >= 0) close(write_);
    char byte;
    while (read(read_, &byte, 1) < 0 && errno == EINTR) {
    }
}

ProgramProcess::ProgramProcess(const std::string& program, const std::vector<std::string>& environment,
                               const std::string& outputPath, const ChildSetup& setup)
    : outputPath_(outputPath) {
    std::vector<char*> envp;
    for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    const int outputFd = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (outputFd < 0) return;
    pid_ = fork();
    if (pid_ == 0) ExecChild(program.c_str(), envp.data(), outputFd, setup);
    close(outputFd);
}

ProgramProcess::~ProgramProcess() {
    Kill();
}

bool ProgramProcess::Collect(int options) {
    if (ended_ || pid_ <= 0) return true;
    pid_t got;
    do {
        got = waitpid(pid_, &status_, options);
    } while (got < 0 && errno == EINTR);
    ended_ = got == pid_ || got < 0;
    return ended_;
}

bool ProgramProcess::Finished() {
    return Collect(WNOHANG);
}

bool ProgramProcess::WaitFinished(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!Finished()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void ProgramProcess::Kill() {
    if (Finished()) return;
    kill(pid_, SIGKILL);
    Collect(0);
}

int ProgramProcess::ExitCode() const {
    return ended_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

int ProgramProcess::TerminationSignal() const {
    return ended_ && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0;
}

QByteArray ProgramProcess::Output() const {
    QFile file(QFile::decodeName(QByteArray::fromStdString(outputPath_)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool CanApplyPermissionBits() {
    return RunInChild([] { return DropPermissionOverrides() ? 0 : 1; }) == 0;
}

bool CanMountReadOnly(const std::string& directory) {
    return RunInChild([&] { return MountReadOnly(directory.c_str()) ? 0 : 1; }) == 0;
}
