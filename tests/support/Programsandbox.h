#pragma once

#include "support/Fixture.h"
#include "support/Programprocess.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <string>

// A sanitized build runs the program slower: it gets more time.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitizedBuild = true;
#else
constexpr bool kSanitizedBuild = false;
#endif
#else
constexpr bool kSanitizedBuild = false;
#endif

// How long a run may take: the program's own countdown of 5 seconds plus the
// work, with a wide margin for a loaded machine. It only stops a hang; two
// runs fit in the time CTest gives a test program.
constexpr int kProgramTimeoutMs = kSanitizedBuild ? 240000 : 120000;

// Hive values of a user who accepted the agreement and switched automatic mode on.
constexpr const char* kConfirmedAutomatic = "\"DisclaimerConfirmed\"=dword:00000001\n\"AutoClear\"=dword:00000001\n";

struct ProgramRun {
    bool Finished = false;
    int ExitCode = -1;
    QByteArray Output;  // standard output and error
};

// A place of its own for runs of the built program: its temporary directory
// (tmp/), its settings (config/), its runtime directory (runtime/) and,
// beside the temporary directory but not below it, a directory the program
// must never touch (outside/).
class ProgramSandbox {
public:
    // `program` is the built program (VELLIMOR_BINARY).
    explicit ProgramSandbox(std::string program);

    const FixtureTree& Tree() const { return tree_; }
    std::string Temp() const { return tree_.Path("tmp/"); }
    std::string Outside() const { return tree_.Path("outside/"); }
    std::string SettingsDirectory() const { return tree_.Path("config/vellimor/"); }
    std::string HivePath() const { return SettingsDirectory() + "user.reg"; }

    // The hive with the program's key and these value lines.
    void WriteHive(const std::string& values) const;
    QByteArray Hive() const;

    // The program started with the sandbox's environment, offscreen.
    std::unique_ptr<ProgramProcess> Start(const ChildSetup& setup = {});
    ProgramRun Run(const ChildSetup& setup = {});

private:
    std::string program_;
    FixtureTree tree_;
    int runs_ = 0;
};

// The integer value `name` of the program's key, if the hive parses and holds it.
std::optional<qint32> HiveInteger(const QByteArray& hive, const QString& name);
