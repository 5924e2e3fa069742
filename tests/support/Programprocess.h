#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <QByteArray>

#include <string>
#include <vector>

// Lets several children wait before their exec until the test opens the gate,
// so that they start at the same moment.
class StartGate {
public:
    StartGate();
    ~StartGate();
    StartGate(const StartGate&) = delete;
    StartGate& operator=(const StartGate&) = delete;

    void Open();
    // In a child: returns once the gate is open.
    void WaitInChild() const;

private:
    int read_ = -1;
    int write_ = -1;
};

// What the started program is subject to, set up in its process between fork
// and exec.
struct ChildSetup {
    rlim_t OpenFiles = 0;   // a lower RLIMIT_NOFILE (soft and hard), when not 0
    rlim_t StackBytes = 0;  // a lower RLIMIT_STACK (soft and hard), when not 0
    // Without root's overrides of permission bits, so that a directory of mode
    // 0500 or a file of mode 0000 stops the program as it stops any user.
    bool PermissionBitsApply = false;
    // A directory made read-only for the program alone: a read-only bind mount
    // in a mount namespace of its own.
    std::string ReadOnlyDirectory;
    const StartGate* Gate = nullptr;
};

// The exit code of a child whose setup could not be made (as env(1) uses).
constexpr int kSetupFailed = 125;

// A program started as a process of its own, with exactly the environment
// given ("NAME=value"); its standard output and error go to `outputPath`.
class ProgramProcess {
public:
    ProgramProcess(const std::string& program, const std::vector<std::string>& environment,
                   const std::string& outputPath, const ChildSetup& setup = {});
    ~ProgramProcess();  // kills the program if it still runs
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // Waits until the program ends, at most `timeoutMs`; true when it ended.
    bool WaitFinished(int timeoutMs);
    bool Finished();
    // Ends it at once with SIGKILL, if it still runs, and collects it.
    void Kill();
    // The exit code, or -1 when it did not exit by itself.
    int ExitCode() const;
    // The signal that ended it, or 0.
    int TerminationSignal() const;
    QByteArray Output() const;

private:
    bool Collect(int options);

    std::string outputPath_;
    pid_t pid_ = -1;
    int status_ = 0;
    bool ended_ = false;
};

// Whether children can be set up that way here (root may lack the rights).
bool CanApplyPermissionBits();
bool CanMountReadOnly(const std::string& directory);
