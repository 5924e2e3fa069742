#include "support/Programsandbox.h"

#include "platform/Hivetext.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace {

const std::string kHiveStart = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vellimor]\n";

// The test's own environment with the sandbox's places in it. The runtime
// directory lies outside the temporary directory, where Qt would otherwise
// make one.
std::vector<std::string> Environment(const FixtureTree& tree) {
    const std::vector<std::pair<std::string, std::string>> replaced = {
        {"TMPDIR", tree.Path("tmp")},
        {"XDG_CONFIG_HOME", tree.Path("config")},
        {"XDG_RUNTIME_DIR", tree.Path("runtime")},
        {"QT_QPA_PLATFORM", "offscreen"},
    };
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (std::none_of(replaced.begin(), replaced.end(), [&](const auto& pair) { return pair.first == name; }))
            environment.push_back(text);
    }
    for (const auto& [name, value] : replaced) environment.push_back(name + "=" + value);
    return environment;
}

}  // namespace

ProgramSandbox::ProgramSandbox(std::string program) : program_(std::move(program)) {
    tree_.Directory("tmp");
    tree_.Directory("outside");
    tree_.Directory("config/vellimor");
    tree_.Directory("runtime");
    chmod(tree_.Path("runtime").c_str(), 0700);
}

void ProgramSandbox::WriteHive(const std::string& values) const {
    tree_.File("config/vellimor/user.reg", kHiveStart + values);
}

QByteArray ProgramSandbox::Hive() const {
    QFile file(QFile::decodeName(QByteArray::fromStdString(HivePath())));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<ProgramProcess> ProgramSandbox::Start(const ChildSetup& setup) {
    const std::string output = tree_.Path("output-" + std::to_string(++runs_));
    return std::make_unique<ProgramProcess>(program_, Environment(tree_), output, setup);
}

ProgramRun ProgramSandbox::Run(const ChildSetup& setup) {
    const auto process = Start(setup);
    ProgramRun run;
    run.Finished = process->WaitFinished(kProgramTimeoutMs);
    process->Kill();
    run.ExitCode = process->ExitCode();
    run.Output = process->Output();
    return run;
}

std::optional<qint32> HiveInteger(const QByteArray& hive, const QString& name) {
    const auto parsed = HiveText::Read(hive);
    const HiveKey* key = parsed ? parsed->FindKey({QStringLiteral("Software"), QStringLiteral("Vellimor")}) : nullptr;
    const RegistryValue* value = key ? key->FindValue(name) : nullptr;
    if (!value || value->Type != RegistryType::REG_DWORD || value->Data.size() != 4) return std::nullopt;
    return qFromLittleEndian<qint32>(value->Data.constData());
}
